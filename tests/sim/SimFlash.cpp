#include "sim/SimFlash.h"

#include <cmath>

#include "devicememory/MemoryImage.h"
#include "platform/Convert.h"
#include "platform/TextFile.h"
#include "sim/InstrumentSimulator.h"
#include "sim/SimDevices.h"

namespace tirmo::sim {
namespace dm = devicememory;
namespace {

long wholeField(const std::string& text)
{
    const auto v = platform::ParseNumber(text);
    return v ? long(std::lround(*v)) : -1;
}

// The numbers of every data row after the header lines, dropping the first `skip` fields.
// LED rectangles keep "no band" (-1) as its byte.
std::string packedRows(const std::vector<std::string>& lines, size_t headerLines, size_t fields, size_t skip,
                       bool leds = false)
{
    std::vector<long> values;
    for (size_t i = headerLines; i < lines.size(); ++i) {
        const auto f = platform::SplitFields(lines[i]);
        if (f.size() < fields) continue;
        for (size_t k = skip; k < fields; ++k)
            values.push_back(leds && wholeField(f[k]) == dm::kNoBand ? dm::kNoBandByte : wholeField(f[k]));
    }
    return dm::PackBytes(values).value_or("");
}

// "KEY=value" as a number; nullopt-like NAN when the line is not that.
double keyed(const std::string& line)
{
    const size_t eq = line.find('=');
    if (eq == std::string::npos) return NAN;
    return platform::ParseNumber(line.substr(eq + 1)).value_or(NAN);
}

int blankLapse(const std::string& path)
{
    const auto lines = platform::ReadLines(path);
    if (!lines || lines->size() < 2) return 30;
    const double v = keyed((*lines)[1]);
    return std::isnan(v) ? 30 : int(v);
}

}  // namespace

std::string RecordDataFromFile(const std::string& record, const std::string& path)
{
    const auto lines = platform::ReadLines(path);
    if (!lines) return {};
    if (record == "ledxy") return packedRows(*lines, 2, 5, 1, true);
    if (record == "Tempfactor") {
        if (lines->size() < 3) return {};
        return dm::EncodeHundredths(keyed((*lines)[1])) + dm::EncodeHundredths(keyed((*lines)[2]));
    }
    if (record.find("_intfactor") != std::string::npos) {
        if (lines->size() < 3) return {};
        // "mult_factor" and one factor per well: the whole hundredths of each.
        std::vector<long> codes;
        const std::string& line = (*lines)[2];
        for (size_t at = line.find(' '); at != std::string::npos;) {
            const size_t next = line.find(' ', at + 1);
            const double f = platform::ParseNumber(line.substr(at + 1, next - at - 1)).value_or(1.0);
            codes.push_back(long(std::floor(double(platform::RoundHalfEven(f * 100 * 100)) / 100)));
            at = next;
        }
        return dm::PackBytes(codes).value_or("");
    }
    if (record.find("_blank") != std::string::npos) return packedRows(*lines, 3, 2, 1);
    return packedRows(*lines, 2, 4, 0);  // band files
}

std::vector<std::string> LoadFlashImage(FlashSimState& flash, const std::string& folder, const std::string& timeLine)
{
    std::vector<std::string> loaded;
    std::array<bool, FlashSimState::kBanks> used{};
    bool internalFactors = false, temperature = false;
    for (const dm::RecordPlace& r : dm::Records()) {
        const std::string name(r.name);
        std::string file;
        if (name == "ledxy") file = "ledxy.dat";
        else if (name == "Tempfactor") file = "tempfactor.dat";
        else if (name.find("_intfactor") != std::string::npos) file = "intfactor_" + name.substr(0, name.find('_')) + ".dat";
        else if (name.find("_blank") != std::string::npos) file = "blank_" + name.substr(0, name.find('_')) + ".dat";
        else file = name + ".dat";
        const std::string path = folder + "/" + file;
        const std::string data = RecordDataFromFile(name, path);
        if (data.empty()) continue;
        const std::string key = dm::RecordKey(r, blankLapse(path));
        flash.put(r.bank, r.line, r.bank == dm::kLightBank ? dm::LightRecord(key, data) : dm::RecordBlock(key, data));
        used[size_t(r.bank)] = true;
        if (name == "Tempfactor") temperature = true;
        if (name.find("_intfactor") != std::string::npos) internalFactors = true;
        loaded.push_back(name);
    }
    // Bank 1's header is the one of the set written last: the internal reference follows the
    // temperature in a full backup.
    if (used[dm::kWellFormatBank]) {
        flash.put(dm::kWellFormatBank, 0, dm::HeaderBlock(dm::kWellFormatTitle));
        flash.put(dm::kWellFormatBank, dm::kWellFormatEndLine, dm::EndBlock());
    }
    if (internalFactors) flash.put(dm::kTemperatureBank, 0, dm::HeaderBlock(dm::kInternalFactorTitle));
    else if (temperature) flash.put(dm::kTemperatureBank, 0, dm::HeaderBlock(dm::kTemperatureTitle, timeLine));
    if (used[dm::kBlankBank]) flash.put(dm::kBlankBank, 0, dm::HeaderBlock(dm::kBlankTitle));
    if (used[dm::kLightBank]) flash.put(dm::kLightBank, 0, dm::HeaderBlock(dm::kLightTitle));
    return loaded;
}

void InstallFlashDevices(InstrumentSimulator& sim)
{
    sim.on('f', [](SimState& s, const ReceivedFrame& f) -> std::string {
        FlashSimState& m = s.flash;
        if (f.a < FlashSimState::kBlockBytes) m.buffer[f.a] = char(f.b);
        if (m.dropAfter > 0) --m.dropAfter;
        else if (m.dropCount != 0) {
            if (m.dropCount > 0) --m.dropCount;
            return {};
        }
        return Echo(f);
    });
    sim.on('F', [](SimState& s, const ReceivedFrame& f) -> std::string {
        FlashSimState& m = s.flash;
        if (f.a < dm::kReadRequestBase) {
            if (f.a >= FlashSimState::kBanks) return {};
            // A commit: the buffer's four lines from the line on.
            m.put(f.a, f.b, m.buffer);
            ++m.commits;
            return Echo(f);
        }
        const int bank = f.a - dm::kReadRequestBase;
        if (bank >= FlashSimState::kBanks) return {};
        ++m.reads;
        const std::string data = m.block(bank, f.b);
        std::string reply = Echo(f) + data + char(dm::CheckByte(data));
        auto it = m.faults.find({bank, f.b});
        if (it == m.faults.end() || it->second.remaining == 0) return reply;
        if (it->second.remaining > 0) --it->second.remaining;
        switch (it->second.kind) {
        case FlashFault::BadXor: reply[reply.size() - 2] = char(reply[reply.size() - 2] ^ 0x01); break;
        case FlashFault::WrongCheck: reply.back() = char(reply.back() ^ 0x5A); break;
        case FlashFault::Short: reply.pop_back(); break;
        }
        return reply;
    });
}

}  // namespace tirmo::sim
