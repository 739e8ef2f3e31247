#include "support/FactoryCalibration.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "plate/BandFiles.h"
#include "platform/ProgramFolder.h"
#include "sim/InstrumentSimulator.h"
#include "sim/SimFlash.h"
#include "support/ProgramFiles.h"

namespace tirmo::test {
namespace {

std::string text(const std::vector<std::string>& lines)
{
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}

std::vector<std::string> lines(const std::string& bytes)
{
    std::vector<std::string> out;
    size_t at = 0;
    while (at < bytes.size()) {
        const size_t end = bytes.find("\r\n", at);
        out.push_back(bytes.substr(at, end - at));
        at = end == std::string::npos ? bytes.size() : end + 2;
    }
    return out;
}

std::string hundredths(int value)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s%d.%02d", value < 0 ? "-" : "", std::abs(value) / 100, std::abs(value) % 100);
    return buf;
}

struct Factors {
    const char* format;
    std::vector<std::string> wells;
    std::vector<int> codes;  // factor x 100
};

struct Blank {
    const char* format;
    int lapse;
    std::vector<int> values;  // the plate's wells; the other rows up to 383 hold 0
};

const std::vector<Factors>& factors()
{
    static const std::vector<Factors> f = [] {
        std::vector<Factors> all{{"w6", {"A1", "B1", "A2", "B2", "A3", "B3"}, {100, 95, 110, 255, 0, 123}},
                                 {"p35", {"A1", "B1", "A2", "B2", "A3", "B3"}, {50, 75, 100, 125, 150, 175}},
                                 {"w24", {}, {}}};
        for (int k = 0; k < 24; ++k) {
            all[2].wells.push_back(std::string(1, char('A' + k % 4)) + std::to_string(k / 4 + 1));
            all[2].codes.push_back(80 + 2 * k);
        }
        return all;
    }();
    return f;
}

const std::vector<Blank>& blanks()
{
    static const std::vector<Blank> b = [] {
        std::vector<Blank> all{{"w6", 60, {12, 0, 7, 255, 33, 1}}, {"p35", 120, {5, 6, 7, 8, 9, 10}}, {"w24", 30, {}}};
        for (int k = 0; k < 24; ++k) all[2].values.push_back(200 - 3 * k);
        return all;
    }();
    return b;
}

std::string lapseText(int lapse)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04d", lapse);
    return buf;
}

}  // namespace

const std::vector<std::string>& CalibrationFileNames()
{
    static const std::vector<std::string> names{
        "w6_col.dat",      "w6_row.dat",        "p35_col.dat",       "p35_row.dat",   "w24_col.dat",
        "w24_row.dat",     "ledxy.dat",         "tempfactor.dat",    "intfactor_w6.dat", "intfactor_p35.dat",
        "intfactor_w24.dat", "blank_w6.dat",    "blank_p35.dat",     "blank_w24.dat"};
    return names;
}

FactoryCalibration WriteFactoryCalibration(const std::string& folder)
{
    FactoryCalibration f;
    const std::string slashed = "\\" + folder;
    plate::WriteW6ColumnFile(slashed);
    plate::WriteW6RowFile(slashed);
    plate::WriteP35ColumnFile(slashed);
    plate::WriteP35RowFile(slashed);
    plate::WriteW24ColumnFile(slashed);
    plate::WriteW24RowFile(slashed);
    for (const char* name : {"w6_col.dat", "w6_row.dat", "p35_col.dat", "p35_row.dat", "w24_col.dat", "w24_row.dat"})
        f.sources[name] = ReadProgramFile(folder + "/" + name);

    std::vector<std::string> led{"\"Led control: 16rows x  26col. Per cam: 8 x 9+8+9\"", "\"led\",\"x1\",\"x2\",\"y1\",\"y2\""};
    for (int n = 0; n < 416; ++n) {
        // Within the frame's positions 0..192; a later board's blocks' eighth row lights nothing: no band (-1).
        const int x1 = (n * 7) % 173, y1 = n % 64 == 63 ? -1 : (n * 3) % 140, y2 = y1 < 0 ? -1 : y1 + 15;
        led.push_back(std::to_string(n) + "," + std::to_string(x1) + "," + std::to_string(x1 + 20) + "," +
                      std::to_string(y1) + "," + std::to_string(y2));
    }
    f.sources["ledxy.dat"] = text(led);
    f.sources["tempfactor.dat"] = text({"\"Temperature sensor parameters\"", "OFFSET=-15.87", "SLOPE=1.69"});
    for (const Factors& fa : factors()) {
        std::string wells = "well", mult = "mult_factor";
        for (size_t k = 0; k < fa.wells.size(); ++k) {
            wells += " " + fa.wells[k];
            mult += " " + hundredths(fa.codes[k]);
        }
        f.sources[std::string("intfactor_") + fa.format + ".dat"] =
            text({"\"2026/03/01_10:00:00_FACTORYDEFAULT\"", wells, mult, ""});
    }
    for (const Blank& b : blanks()) {
        std::vector<std::string> rows{"\"20260301_100000_blank\"", "acqlapse=" + std::to_string(b.lapse),
                                      "\"#well\",\"Value\""};
        for (int i = 0; i < 384; ++i)
            rows.push_back(std::to_string(i) + "," + std::to_string(i < int(b.values.size()) ? b.values[size_t(i)] : 0));
        f.sources[std::string("blank_") + b.format + ".dat"] = text(rows);
    }
    for (const auto& [name, bytes] : f.sources) WriteProgramFile(folder + "/" + name, bytes);
    return f;
}

std::map<std::string, std::string> FactoryCalibration::Restored(const std::string& stamp) const
{
    std::map<std::string, std::string> out;
    const std::pair<const char*, const char*> bands[] = {{"w6_col", "column"}, {"w6_row", "row"},
                                                         {"p35_col", "col"},    {"p35_row", "row"},
                                                         {"w24_col", "col"},    {"w24_row", "row"}};
    for (const auto& [name, word] : bands) {
        auto rows = lines(sources.at(std::string(name) + ".dat"));
        rows.erase(rows.begin(), rows.begin() + 2);
        rows.insert(rows.begin(), {"\"" + std::string(name) + " format\"",
                                   "\"camera\",\"" + std::string(word) + "\",\"start\",\"end\""});
        out[std::string(name) + ".dat"] = text(rows);
    }
    out["ledxy.dat"] = sources.at("ledxy.dat");
    out["tempfactor.dat"] = sources.at("tempfactor.dat");
    for (const Factors& fa : factors()) {
        auto l = lines(sources.at(std::string("intfactor_") + fa.format + ".dat"));
        out[std::string("intfactor_") + fa.format + ".dat"] = text({"\"" + stamp + "\"", l[1], l[2]});
    }
    for (const Blank& b : blanks()) {
        std::vector<std::string> rows{"\"" + stamp + "\"", "acqlapse=" + lapseText(b.lapse), "\"#well\",\"Value\""};
        for (size_t i = 0; i < b.values.size(); ++i) rows.push_back(std::to_string(i) + "," + std::to_string(b.values[i]));
        out[std::string("blank_") + b.format + ".dat"] = text(rows);
    }
    return out;
}

FactoryCalibration PreloadFactoryCalibration(sim::InstrumentSimulator& sim, int serialNumber)
{
    FactoryCalibration factory = WriteFactoryCalibration("factory");
    sim.with([serialNumber](sim::SimState& s) {
        s.serialNumber = serialNumber;
        return sim::LoadFlashImage(s.flash, platform::ProgramPath("factory"));
    });
    return factory;
}

}  // namespace tirmo::test
