#include "devicememory/PixelMap.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "devicememory/MemoryImage.h"
#include "platform/Clock.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"

namespace tirmo::devicememory {
namespace {

constexpr int kUploadBlocks = 36;  // lines 0..143
constexpr int kFileBlocks = 35;    // lines 0..139
constexpr int kBlockPauseMs = 100;

std::string header()
{
    return platform::Quoted("line") + "," + platform::Quoted("pixel") + "," + platform::Quoted("enabled");
}

std::string codes(const std::string& reply)
{
    std::string out;
    for (char c : reply) out += std::to_string(static_cast<unsigned char>(c));
    return out;
}

// A whole number field; nullopt when it is not one.
std::optional<long> whole(const std::string& text)
{
    const auto v = platform::ParseNumber(text);
    if (!v || *v != std::floor(*v) || std::fabs(*v) > 1e9) return std::nullopt;
    return long(*v);
}

// The three fields of a row with at least two commas; the value is everything after the second.
bool splitRow(const std::string& row, std::string& line, std::string& pixel, std::string& value)
{
    const size_t first = row.find(',');
    const size_t second = first == std::string::npos ? first : row.find(',', first + 1);
    if (second == std::string::npos) return false;
    line = row.substr(0, first);
    pixel = row.substr(first + 1, second - first - 1);
    value = row.substr(second + 1);
    return true;
}

std::string head(int camera, int line) { return {'F', char(camera), char(line)}; }

enum class BlockOutcome { Answered, NoHeadAnswer, NoBodyAnswer };

// One block: head, answer, body, answer, then the closing flush and pauses. Which answer did not
// come, if one did not (the monitor says so too).
BlockOutcome sendBlock(FlashWritePort& port, int camera, int line, const std::string& body, const char* noBody)
{
    const std::string h = head(camera, line);
    port.ShowMonitor("snd:" + h);
    const auto first = port.Transfer(h, 1);
    if (!first || first->empty()) {
        port.ShowMonitor("Empty/No response Headline" + std::to_string(line));
        return BlockOutcome::NoHeadAnswer;
    }
    std::string monitor = "rcv(" + std::to_string(line) + "):" + codes(*first);
    port.ShowMonitor(monitor);
    platform::DoEvents();
    const auto second = port.Transfer(body, 1);
    if (!second || second->empty()) {
        // The map-file upload shows only the "/" it had begun; the table upload names the block.
        port.ShowMonitor(monitor + noBody + (std::string(noBody) == "/" ? std::string() : std::to_string(line)));
        return BlockOutcome::NoBodyAnswer;
    }
    monitor += "/" + codes(*second);
    port.ShowReply(monitor, "Len(Rx) = " + std::to_string(second->size()));
    port.Flush();
    platform::DoEvents();
    platform::Sleep(kBlockPauseMs);
    platform::DoEvents();
    platform::Sleep(kBlockPauseMs);
    return BlockOutcome::Answered;
}

bool isMaskFile(const std::string& name)
{
    const std::string lower = platform::ToLower(name);
    const std::string prefix = platform::ToLower(kMaskPrefix);
    return lower.size() > prefix.size() + 4 && lower.compare(0, prefix.size(), prefix) == 0 &&
           lower.compare(lower.size() - 4, 4, ".dat") == 0;
}

// A tag stands as the third field of a wells-file row: a comma or a line break in it would
// split the row.
bool fitsWellsFile(const std::string& tag) { return tag.find_first_of(",\r\n") == std::string::npos; }

}  // namespace

MaskMerge MergeWellMasks(const std::string& folder)
{
    MaskMerge merge;
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        if (entry.is_regular_file(ec) && isMaskFile(entry.path().filename().string())) names.push_back(entry.path().filename().string());
    // Name order: a well listed later wins a shared pixel, the same on every machine.
    std::sort(names.begin(), names.end());
    const size_t prefix = std::string(kMaskPrefix).size();
    for (const std::string& name : names) {
        const std::string tag = name.substr(prefix, name.size() - prefix - 4);
        if (!fitsWellsFile(tag)) {
            merge.refused.push_back(name + " (its name cannot be written into w96f_c0_wells.dat)");
            continue;
        }
        const auto lines = platform::ReadLines(folder + "/" + name);
        if (!lines) {
            merge.refused.push_back(name + " (could not be read)");
            continue;
        }
        bool gave = false;
        for (size_t i = 1; i < lines->size(); ++i) {
            std::string l, p, v;
            if (!splitRow((*lines)[i], l, p, v)) continue;
            const auto line = whole(l), pixel = whole(p), value = whole(v);
            if (!line || !pixel || !value || *value == 0) continue;
            if (*line < 0 || *line >= kMaskLines || *pixel < 0 || *pixel >= kMaskPixels) continue;
            merge.table[size_t(*line * kMaskPixels + *pixel)] = tag;
            gave = gave || tag != "0";
        }
        // Counted, such a file would promise its well while the well drops out of the map.
        if (gave)
            ++merge.files;
        else
            merge.refused.push_back(name + " (gave no pixel of a well)");
    }
    return merge;
}

std::vector<bool> GridFlags(const MaskMerge& merge)
{
    std::vector<bool> flags(size_t(kMaskLines * kMaskPixels), false);
    for (int line = 0; line < kMaskLines; line += kMaskGrid)
        for (int pixel = 0; pixel < kMaskPixels; pixel += kMaskGrid)
            flags[size_t(line * kMaskPixels + pixel)] = merge.at(line, pixel) != "0";
    return flags;
}

std::vector<std::string> WellsFileLines(const MaskMerge& merge)
{
    std::vector<std::string> out{header()};
    for (int line = 0; line < kMaskLines; ++line)
        for (int pixel = 0; pixel < kMaskPixels; ++pixel)
            out.push_back(std::to_string(line) + "," + std::to_string(pixel) + "," + merge.at(line, pixel));
    return out;
}

std::vector<std::string> GridFileLines(const std::vector<bool>& flags)
{
    std::vector<std::string> out{header()};
    for (int line = 0; line < kMaskLines; ++line)
        for (int pixel = 0; pixel < kMaskPixels; ++pixel)
            out.push_back(std::to_string(line) + "," + std::to_string(pixel) +
                          (flags[size_t(line * kMaskPixels + pixel)] ? ",1" : ",0"));
    return out;
}

std::vector<std::string> FlashFileLines(const PixelEnableMap& map, int camera)
{
    std::vector<std::string> out{header()};
    for (int line = 0; line < kMaskLines; ++line)
        for (int pixel = 0; pixel < kMaskPixels; ++pixel)
            out.push_back(std::to_string(line) + "," + std::to_string(pixel) +
                          (map.at(camera, line, pixel) == kEnabled ? ",1" : ",0"));
    return out;
}

std::string MapBlock(const PixelEnableMap& map, int camera, int line, long& enabled)
{
    std::string block(size_t(kBlockBytes), '\0');
    for (int g = 0; g < kBlockLines; ++g) {
        const int l = line + g;
        if (l >= PixelEnableMap::kSide) continue;
        for (int j = 0; j < kLineBytes; ++j)
            for (int m = 0; m < 8; ++m)
                if (map.at(camera, l, 8 * j + m) == kEnabled) {
                    block[size_t(g * kLineBytes + j)] = char(block[size_t(g * kLineBytes + j)] | (1 << m));
                    ++enabled;
                }
    }
    return block;
}

int SendFlashMap(FlashWritePort& port, const PixelEnableMap& map, int camera, const MemoryNotices& notices,
                 std::string* failure)
{
    long enabled = 0;
    for (int b = 0; b < kUploadBlocks; ++b) {
        const int line = b * kBlockLines;
        const BlockOutcome sent = sendBlock(port, camera, line, MapBlock(map, camera, line, enabled), "Empty/No response flashline");
        if (sent == BlockOutcome::Answered) continue;
        if (failure)
            *failure = "block " + std::to_string(b + 1) + " of " + std::to_string(kUploadBlocks) + " (lines " + std::to_string(line) +
                       " to " + std::to_string(line + kBlockLines - 1) + ") had no answer to its " +
                       (sent == BlockOutcome::NoHeadAnswer ? "head" : "pixels") +
                       (b > 0 ? "; the instrument took blocks 1 to " + std::to_string(b) : std::string());
        return -1;
    }
    notices.Message("quantity activated=" + std::to_string(enabled));
    return 0;
}

int SendFlashFile(FlashWritePort& port, int camera, int number, const MemoryNotices& notices)
{
    const std::string name = "flash" + std::to_string(camera) + "_" + std::to_string(number) + ".dat";
    notices.Message("file=" + name);
    if (!port.LinkOpen()) {
        notices.Message("COMPORT not opened. Click Connect");
        return -1;
    }
    port.Flush();
    // Lines 0..140 by pixels 0..192; lines 0..139 start on.
    constexpr int kLines = 141, kPixels = 193;
    std::vector<bool> on(size_t(kLines * kPixels), false);
    std::fill(on.begin(), on.begin() + kMaskLines * kPixels, true);
    const std::string path = platform::ProgramPath(name);
    if (!platform::FileExists(path)) {
        notices.Message("Flash" + std::to_string(camera) + "_" + std::to_string(number) + " not exist");
        return -1;
    }
    const auto lines = platform::ReadLines(path);
    bool bad = !lines || camera < 0 || camera > 255;
    for (size_t i = 1; !bad && i < lines->size(); ++i) {
        std::string l, p, v;
        if ((*lines)[i].empty() || !splitRow((*lines)[i], l, p, v)) continue;
        const auto line = whole(l), pixel = whole(p), value = whole(v);
        bad = !line || !pixel || !value || *line < 0 || *line >= kLines || *pixel < 0 || *pixel >= kPixels;
        if (!bad) on[size_t(*line * kPixels + *pixel)] = *value != 0;
    }
    if (bad) {
        notices.Message("error");
        return -1;
    }
    for (int b = 0; b < kFileBlocks; ++b) {
        const int first = b * kBlockLines;
        std::string body(size_t(kBlockBytes), '\0');
        for (int g = 0; g < kBlockLines; ++g)
            for (int pixel = 0; pixel < kLineBytes * 8; ++pixel)
                if (on[size_t((first + g) * kPixels + pixel)])
                    body[size_t(g * kLineBytes + pixel / 8)] = char(body[size_t(g * kLineBytes + pixel / 8)] | (1 << (pixel % 8)));
        if (sendBlock(port, camera, first, body, "/") != BlockOutcome::Answered) return -1;
    }
    return 1;
}

ApplyOutcome ApplyWellMasks(FlashWritePort& port, PixelEnableMap& map, const MemoryNotices& notices,
                            const std::function<bool(const std::string&)>& ask)
{
    ApplyOutcome out;
    if (!ask("are you sure to Apply configuration?")) return out;
    const std::string folder = platform::ProgramFolder();
    const MaskMerge merge = MergeWellMasks(folder);
    out.files = merge.files;
    const std::vector<bool> flags = GridFlags(merge);
    if (merge.files > 0) {
        platform::WriteLines(platform::ProgramPath("w96f_c0_wells.dat"), WellsFileLines(merge));
        platform::WriteLines(platform::ProgramPath("w96f_c0_flash.dat"), GridFileLines(flags));
    }
    if (!merge.refused.empty()) {
        std::string text = "Not integrated:";
        for (const std::string& file : merge.refused) text += "\n" + file;
        notices.Message(text);
    }
    if (!ask(std::to_string(merge.files) + " files integrated. Send to Flash?")) return out;
    notices.Status("Sending to flash...");
    for (int line = 0; line < kMaskLines; ++line)
        for (int pixel = 0; pixel < kMaskPixels; ++pixel) {
            const bool enabled = flags[size_t(line * kMaskPixels + pixel)];
            map.at(0, line, pixel) = enabled ? kEnabled : 0;
            out.channels += enabled ? 1 : 0;
        }
    notices.Message("Number of activated channels=" + std::to_string(out.channels));
    platform::WriteLines(platform::ProgramPath("flash0.dat"), FlashFileLines(map, 0));
    std::string failure;
    out.sent = SendFlashMap(port, map, 0, notices, &failure) == 0;
    // The status line would otherwise go on saying the upload is under way.
    notices.Status(out.sent ? "Sent to flash: all " + std::to_string(kUploadBlocks) + " blocks of camera 0"
                            : "Not sent to flash: " + failure);
    return out;
}

}  // namespace tirmo::devicememory
