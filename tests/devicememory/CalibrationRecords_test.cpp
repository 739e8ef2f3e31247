#include <gtest/gtest.h>

#include <algorithm>

#include "devicememory/CalibrationRecords.h"
#include "devicememory/MemoryImage.h"

namespace tirmo::devicememory {
namespace {

std::string bytes(std::initializer_list<int> codes)
{
    std::string s;
    for (int c : codes) s += char(c);
    return s;
}

std::string block(const char* name, const std::string& data, int lapse = 30)
{
    return RecordBlock(RecordKey(*FindRecord(name), lapse), data);
}

TEST(RecordRecognition, NameOverItsFullLengthAndCheckByte)
{
    const std::string good = block("p35_intfactor", bytes({100, 90, 80, 70, 60, 50}));
    EXPECT_TRUE(RecordFound(good, "p35_intfactor"));
    EXPECT_FALSE(RecordFound(good, "P35_intfactor")) << "case counts";
    EXPECT_FALSE(RecordFound(block("w6_intfactor", bytes({100})), "w6_intfactor_")) << "the whole name is compared";

    std::string spoiled = good;
    spoiled[40] = char(spoiled[40] ^ 1);  // a data byte
    EXPECT_FALSE(RecordFound(spoiled, "p35_intfactor"));
    spoiled = good;
    spoiled[95] = char(1);  // a padding byte is in the check too
    EXPECT_FALSE(RecordFound(spoiled, "p35_intfactor"));

    EXPECT_FALSE(RecordFound(std::string(96, '\0'), "w6_col")) << "no reply: 96 zero bytes";
    EXPECT_FALSE(RecordFound(std::string(96, char(255)), "w6_col")) << "erased cells";
    EXPECT_FALSE(RecordFound("", "w6_col"));

    // A key without its "/" is no record, even where its first byte equals the check byte.
    std::string noSlash = block("w6_col", bytes({'w'}));
    ASSERT_TRUE(RecordFound(noSlash, "w6_col"));
    std::replace(noSlash.begin(), noSlash.begin() + kLineBytes, '/', ' ');
    EXPECT_FALSE(RecordFound(noSlash, "w6_col"));
}

TEST(RecordRecognition, CheckBytesThatAreSlashOrZeroStillVerify)
{
    // Data whose XOR is "/" (47) and 0: the check byte stands right after the key's "/".
    for (int code : {47, 0}) {
        const std::string b = block("w6_col", bytes({code}));
        ASSERT_EQ(static_cast<unsigned char>(b[15]), code);
        EXPECT_TRUE(RecordFound(b, "w6_col")) << code;
    }
}

TEST(RecordFiles, WellFormatFilesHaveTheirTitleHeaderAndBandRows)
{
    std::string data;
    for (int i = 0; i < 48; ++i) data += char(i * 5);
    struct Case {
        const char* name;
        const char* header;
        size_t rows;
    };
    const Case cases[] = {
        {"w6_col", "\"camera\",\"column\",\"start\",\"end\"", 6},
        {"w6_row", "\"camera\",\"row\",\"start\",\"end\"", 6},
        {"p35_col", "\"camera\",\"col\",\"start\",\"end\"", 6},
        {"p35_row", "\"camera\",\"row\",\"start\",\"end\"", 6},
        {"w24_col", "\"camera\",\"col\",\"start\",\"end\"", 12},
        {"w24_row", "\"camera\",\"row\",\"start\",\"end\"", 12},
    };
    for (const Case& c : cases) {
        const auto lines = WellFormatFileLines(*FindRecord(c.name), block(c.name, data));
        ASSERT_EQ(lines.size(), c.rows + 2) << c.name;
        EXPECT_EQ(lines[0], "\"" + std::string(c.name) + " format\"");
        EXPECT_EQ(lines[1], c.header);
        EXPECT_EQ(lines[2], "0,5,10,15");
        EXPECT_EQ(lines[c.rows + 1], std::to_string((c.rows - 1) * 20) + "," + std::to_string((c.rows - 1) * 20 + 5) +
                                         "," + std::to_string((c.rows - 1) * 20 + 10) + "," +
                                         std::to_string((c.rows - 1) * 20 + 15));
    }
}

TEST(RecordFiles, LedPositionsListAll416Leds)
{
    std::string values;
    for (int led = 0; led < 416; ++led) values += bytes({led % 256, 255, 254, led / 2});  // 255: no band
    const auto lines = LedPositionFileLines(LightRecord("ledxy:70L416x4/", values));
    ASSERT_EQ(lines.size(), 418u);
    EXPECT_EQ(lines[0], "\"Led control: 16rows x  26col. Per cam: 8 x 9+8+9\"");
    EXPECT_EQ(lines[1], "\"led\",\"x1\",\"x2\",\"y1\",\"y2\"");
    EXPECT_EQ(lines[2], "0,0,-1,254,0");
    EXPECT_EQ(lines[417], "415,159,-1,254,207");
}

TEST(RecordFiles, TemperatureValuesWithTwoDecimalsAndAPoint)
{
    EXPECT_EQ(TempFactorFileLines(block("Tempfactor", bytes({134, 98, 0, 173}))),
              (std::vector<std::string>{"\"Temperature sensor parameters\"", "OFFSET=-16.34", "SLOPE=1.73"}));
    EXPECT_EQ(TempFactorFileLines(block("Tempfactor", bytes({128, 0, 1, 0})))[1], "OFFSET=0.00");
    EXPECT_EQ(TempFactorFileLines(block("Tempfactor", bytes({128, 0, 1, 0})))[2], "SLOPE=2.56");
}

TEST(RecordFiles, InternalFactorsInTheRestoredForm)
{
    EXPECT_EQ(InternalFactorFileLines("w6", block("w6_intfactor", bytes({100, 0, 255, 1, 99, 150})), "20260314 15:09"),
              (std::vector<std::string>{"\"20260314 15:09\"", "well A1 B1 A2 B2 A3 B3",
                                        "mult_factor 1.00 0.00 2.55 0.01 0.99 1.50"}));
    std::string data(24, char(100));
    const auto w24 = InternalFactorFileLines("w24", block("w24_intfactor", data), "s");
    EXPECT_EQ(w24[1].substr(0, 28), "well A1 B1 C1 D1 A2 B2 C2 D2");
    EXPECT_EQ(w24[1].substr(w24[1].size() - 6), " C6 D6");
    EXPECT_EQ(w24[2].size(), std::string("mult_factor").size() + 24 * 5);
}

TEST(RecordFiles, BlankFilesTakeTheLapseFromTheKeyAndOneRowPerWell)
{
    EXPECT_EQ(RestoredBlankFileLines(*FindRecord("p35_blank"), block("p35_blank", bytes({1, 2, 3, 4, 5, 250}), 120),
                                     "20260314 15:09"),
              (std::vector<std::string>{"\"20260314 15:09\"", "acqlapse=0120", "\"#well\",\"Value\"", "0,1", "1,2", "2,3",
                                        "3,4", "4,5", "5,250"}));
    const auto w24 = RestoredBlankFileLines(*FindRecord("w24_blank"), block("w24_blank", std::string(384, char(9))), "s");
    ASSERT_EQ(w24.size(), 3u + 24u);
    EXPECT_EQ(w24[1], "acqlapse=0030");
    EXPECT_EQ(w24.back(), "23,9");
}

}  // namespace
}  // namespace tirmo::devicememory
