#include <gtest/gtest.h>

#include <filesystem>

#include "devicememory/InternalFactors.h"
#include "devicememory/RecordSources.h"
#include "platform/ProgramFolder.h"
#include "support/FakeClock.h"
#include "support/ProgramFiles.h"
#include "support/RunFiles.h"
#include "support/TempFolder.h"

namespace tirmo::devicememory {
namespace {

using Bytes = std::vector<int>;

Bytes head(const std::string& value, size_t n)
{
    Bytes out;
    for (size_t i = 0; i < n && i < value.size(); ++i) out.push_back(static_cast<unsigned char>(value[i]));
    return out;
}

std::string rows(const std::string& header, int count, const std::function<std::string(int)>& row)
{
    std::string text = header;
    for (int i = 0; i < count; ++i) text += row(i) + "\r\n";
    return text;
}

// The calibration files of instrument 57 in a program folder of their own.
class RecordSourcesTest : public ::testing::Test {
protected:
    void SetUp() override { platform::SetProgramFolder(folder.path()); }
    static constexpr int kSerial = 57;
    test::TempFolder folder;
    test::FakeClock clock;
};

TEST_F(RecordSourcesTest, TemperatureRecord)
{
    struct Case {
        const char* file;  // nullptr: no file
        Bytes packed;
        bool error = false;
    };
    const std::string title = "\"Temperature sensor parameters\"\r\n";
    const Case cases[] = {
        {nullptr, {134, 98, 0, 173}},
        {"OFFSET=-50\r\nSLOPE=0\r\n", {134, 98, 0, 173}},
        {"OFFSET=50\r\nSLOPE=10\r\n", {134, 98, 0, 173}},
        {"OFFSET=-49.99\r\nSLOPE=9.99\r\n", {147, 135, 3, 231}},
        {"OFFSET=-2.55\r\nSLOPE=0.01\r\n", {128, 255, 0, 1}},
        {"OFFSET=2.56\r\nSLOPE=1.732\r\n", {1, 0, 0, 173}},
        {"OFFSET=-16,34\r\nSLOPE=abc\r\n", {134, 98, 0, 173}},
        {"OFFSET=abc\r\nSLOPE=2\r\n", {0, 0, 0, 200}},
        {"SLOPE=2\r\nOFFSET=1\r\n", {134, 98, 0, 173}},
        {"OFFSET=1\r\n", {}, true},
    };
    for (const Case& c : cases) {
        const std::string label = c.file ? c.file : "no file";
        if (c.file) test::WriteProgramFile("config_SN57/tempfactor.dat", title + c.file);
        const RecordSource s = ReadTemperatureFactorFile(kSerial);
        EXPECT_EQ(!s.ok(), c.error) << label;
        if (c.error) {
            EXPECT_TRUE(s.value.empty()) << label;
            continue;
        }
        EXPECT_EQ(head(s.value, 4), c.packed) << label;
        EXPECT_EQ(s.value, s.value.substr(0, 4) + std::string(68, '\0')) << label;
    }
}

TEST_F(RecordSourcesTest, BlankRecords)
{
    const std::string header = "\"20260301_100000_blank\"\r\nacqlapse=60\r\n\"#well\",\"Value\"\r\n";
    struct Case {
        const char* what;
        std::string file;  // empty: no file
        int lapse;
        size_t length;
        bool error = false;
        bool copied = false;
    };
    const Case cases[] = {
        {"no file", "", 30, 72},
        {"a full blank", rows(header, 384, [](int i) { return std::to_string(i) + "," + std::to_string(i % 256); }), 60, 384, false, true},
        {"rounded values", rows(header, 6, [](int i) { return std::to_string(i) + ",254.5"; }), 60, 72, false, true},
        {"fewer rows than wells", rows(header, 5, [](int i) { return std::to_string(i) + ",1"; }), 60, 0, true},
        {"a value of 256", rows(header, 6, [](int i) { return std::to_string(i) + "," + (i == 4 ? "256" : "1"); }), 60, 0, true},
        {"a negative value", rows(header, 6, [](int i) { return std::to_string(i) + "," + (i == 0 ? "-1" : "1"); }), 60, 0, true},
        {"no number", rows(header, 6, [](int i) { return std::to_string(i) + (i == 2 ? ",x" : ",1"); }), 60, 0, true},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(folder.path() + "/reports");
        std::filesystem::remove_all(folder.path() + "/config_SN57");
        platform::MakeFolder(folder.path() + "/config_SN57");
        if (!c.file.empty()) test::WriteProgramFile("reports/_internal_blank_measurementSN57/blank_w6.dat", c.file);
        EXPECT_EQ(ReadBlankMeasurementLapse("w6", kSerial).minutes, c.lapse) << c.what;
        const RecordSource s = ReadBlankMeasurementValues("w6", kSerial);
        EXPECT_EQ(!s.ok(), c.error) << c.what;
        EXPECT_EQ(s.value.size(), c.length) << c.what;
        EXPECT_EQ(platform::FileExists(folder.path() + "/config_SN57/blank_w6.dat"), c.copied) << c.what;
    }
    test::WriteProgramFile("reports/_internal_blank_measurementSN57/blank_w6.dat", "\"x\"\r\nacqlapse=\r\n");
    EXPECT_FALSE(ReadBlankMeasurementLapse("w6", kSerial).error.empty()) << "a lapse that is no number is refused";
}

// A row more or less, a row out of place or a value a record cannot hold is refused by file and line.
TEST_F(RecordSourcesTest, BandAndLightRecords)
{
    const std::string bandHeader = "\"w24_col format\"\r\n\"camera\",\"col\",\"start\",\"end\"\r\n";
    const std::string ledHeader = "\"Led control\"\r\n\"led\",\"x1\",\"x2\",\"y1\",\"y2\"\r\n";
    const auto leds = [&](int count, int odd, const std::string& oddRow) {
        return rows(ledHeader, count, [=](int i) { return i == odd ? oddRow : std::to_string(i) + ",1,2,3," + std::to_string(i % 193); });
    };
    const auto bands = [&](int count) { return rows(bandHeader, count, [](int i) { return "1," + std::to_string(i) + ",10,255"; }); };
    struct Case {
        const char* what;
        const char* file;
        std::string text;  // empty: no file
        Bytes first;       // the value's first bytes; with refused, the error's start
        std::string refused = "";
    };
    const Case cases[] = {
        {"12 bands", "w24_col.dat", bands(12), {1, 0, 10, 255, 1, 1}},
        {"11 bands", "w24_col.dat", bands(11), {}, "w24_col.dat line 14: the file ends after 11 of its 12"},
        {"13 bands", "w24_col.dat", bands(13), {}, "w24_col.dat line 15: more than 12 band rows"},
        {"7 bands", "w6_col.dat", bands(7), {}, "w6_col.dat line 9: more than 6"},
        {"no band file", "w24_row.dat", "", {0, 0, 0, 0}},
        {"a band of 256", "w6_col.dat", rows(bandHeader, 6, [](int i) { return i == 3 ? "0,1,2,256" : "0,1,2,3"; }), {}, "w6_col.dat line 6: \"256\""},
        {"random bytes", "p35_col.dat", "\x93\xfe\x01\x7f,\xc8\r\n\x04\x05\xff", {}, "p35_col.dat line 3: the file ends after 0"},
        {"416 LEDs", "ledxy.dat", leds(416, -1, ""), {1, 2, 3, 0, 1, 2, 3, 1}},
        {"no band", "ledxy.dat", leds(416, 1, "1,-1,-1,192,0"), {1, 2, 3, 0, 255, 255, 192, 0}},
        {"a coordinate of -2", "ledxy.dat", leds(416, 9, "9,-2,2,3,4"), {}, "ledxy.dat line 12: \"-2\""},
        {"a coordinate of 193", "ledxy.dat", leds(416, 9, "9,1,2,3,193"), {}, "ledxy.dat line 12: \"193\""},
        {"415 LEDs", "ledxy.dat", leds(415, -1, ""), {}, "ledxy.dat line 418: the file ends without LED 415 (1 LED missing)"},
        {"417 LEDs", "ledxy.dat", leds(417, -1, ""), {}, "ledxy.dat line 419: LED \"416\""},
        {"LED 0 twice", "ledxy.dat", leds(416, 5, "0,1,2,3,4"), {}, "ledxy.dat line 8: LED 0 a second time"},
        {"rows by LED number", "ledxy.dat", rows(ledHeader, 416, [](int i) { return std::to_string(415 - i) + ",1,2,3," + std::to_string(i % 7); }), {1, 2, 3, 2}},
        {"a short LED row", "ledxy.dat", leds(416, 2, "2,1,2,3"), {}, "ledxy.dat line 5: 5 fields"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(folder.path() + "/config_SN57/" + c.file);
        if (!c.text.empty()) test::WriteProgramFile(std::string("config_SN57/") + c.file, c.text);
        const RecordSource s = std::string(c.file) == "ledxy.dat" ? ReadLightCalibrationFileRecord(c.file, kSerial)
                                                                   : ReadWellFormatFileRecord(c.file, kSerial);
        EXPECT_EQ(s.error.substr(0, c.refused.size()), c.refused) << c.what;
        EXPECT_EQ(s.value.size(), c.refused.empty() ? (std::string(c.file) == "ledxy.dat" ? 1680u : 72u) : 0u) << c.what;
        EXPECT_EQ(head(s.value, c.first.size()), c.first) << c.what;
    }
    std::filesystem::remove(folder.path() + "/config_SN57/ledxy.dat");
    EXPECT_EQ(ReadLightCalibrationFileRecord("ledxy.dat", kSerial).value, "") << "no light file, no value";
}

TEST_F(RecordSourcesTest, FactoryDefaultFactors)
{
    struct Case {
        std::string format;
        int serial;
        std::string file;
        std::string wells;
        int factors;
    };
    const Case cases[] = {
        {"w24", kSerial, "config_SN57/intfactor_w24.dat",
         "well A1 B1 C1 D1 A2 B2 C2 D2 A3 B3 C3 D3 A4 B4 C4 D4 A5 B5 C5 D5 A6 B6 C6 D6", 24},
        {"w6", kSerial, "config_SN57/intfactor_w6.dat", "well A1 B1 A2 B2 A3 B3", 6},
        {"p35", 0, "config/intfactor_p35.dat", "well A1 B1 A2 B2 A3 B3", 6},
    };
    clock.setWall(test::LocalTime(2026, 3, 14, 15, 9, 26));
    for (const Case& c : cases) {
        platform::MakeFolder(folder.path() + "/" + c.file.substr(0, c.file.find('/')));
        const RecordSource s = RecalculateInternalFactors(c.format, c.serial, {});
        ASSERT_TRUE(s.ok()) << c.format;
        EXPECT_EQ(s.value, std::string(24, char(100)) + std::string(48, '\0')) << c.format;
        std::string mult = "mult_factor";
        for (int k = 0; k < c.factors; ++k) mult += " 1.00";
        EXPECT_EQ(test::ReadProgramFile(c.file),
                  "\"2026/03/14_15:09:26_FACTORYDEFAULT\"\r\n" + c.wells + "\r\n" + mult + "\r\n\r\n")
            << c.format;
    }
}

TEST_F(RecordSourcesTest, MeasuredFactorsAreACopyOfTheReferenceComputation)
{
    std::vector<test::ActivityRow> scan;
    const double counts[] = {10, 5, 10, 10, 20, 5};
    for (int k = 0; k < 6; ++k) scan.push_back({12.0, std::string(1, char('A' + k % 2)) + std::to_string(k / 2 + 1), counts[k]});
    test::WriteProgramFile("reports/_internal_referenceSN57/20250101_100000p35_reference/current_activity.txt",
                           test::ActivityFileText(scan));
    platform::MakeFolder(folder.path() + "/config_SN57");
    const RecordSource s = RecalculateInternalFactors("p35", kSerial, {});
    ASSERT_TRUE(s.ok());
    EXPECT_EQ(head(s.value, 7), (Bytes{100, 200, 100, 100, 50, 200, 0}));
    EXPECT_EQ(s.value.size(), 72u);
    EXPECT_EQ(test::ReadProgramFile("config_SN57/intfactor_p35.dat"), test::ReadProgramFile("config_SN57/factor_correction.txt"));
}

}  // namespace
}  // namespace tirmo::devicememory
