#include <gtest/gtest.h>

#include "devicememory/MemoryImage.h"

namespace tirmo::devicememory {
namespace {

std::string bytes(std::initializer_list<int> codes)
{
    std::string s;
    for (int c : codes) s += char(c);
    return s;
}

TEST(MemoryImage, HundredthsEncodeAsSignedMagnitude)
{
    struct Case {
        double value;
        int high, low;
    };
    const Case cases[] = {
        {-16.34, 134, 98}, {1.732, 0, 173},  {1.73, 0, 173},   {16.349, 6, 98},  // cut, not rounded
        {0, 0, 0},         {-2.55, 128, 255}, {2.56, 1, 0},    {2.55, 0, 255},
        {320, 125, 0},     {400, 125, 0},     {-320, 253, 0},  {-1000, 253, 0},  // limited to +-320
        {-0.004, 128, 0},  {0.01, 0, 1},
    };
    for (const Case& c : cases) EXPECT_EQ(EncodeHundredths(c.value), bytes({c.high, c.low})) << c.value;
}

TEST(MemoryImage, HundredthsDecodeAndWriteWithTwoDecimals)
{
    struct Case {
        int high, low;
        long hundredths;
        const char* text;
    };
    const Case cases[] = {
        {134, 98, -1634, "-16.34"}, {0, 173, 173, "1.73"}, {128, 0, 0, "0.00"},   {0, 0, 0, "0.00"},
        {127, 255, 32767, "327.67"}, {255, 255, -32767, "-327.67"}, {0, 5, 5, "0.05"}, {128, 100, -100, "-1.00"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeHundredths(c.high, c.low), c.hundredths) << c.high << "," << c.low;
        EXPECT_EQ(HundredthsText(c.hundredths), c.text);
    }
}

TEST(MemoryImage, RecordLineHoldsKeyCheckAndSlash)
{
    const std::string data = bytes({1, 2, 4, 8});
    const std::string line = RecordLine("w6_col:1L_06x4/", data);
    EXPECT_EQ(line, "w6_col:1L_06x4/" + bytes({15}) + "/" + std::string(7, '\0'));
    // Zero padding does not change the check.
    EXPECT_EQ(RecordLine("w6_col:1L_06x4/", data + std::string(68, '\0')), line);

    // The longest key fills the line exactly: no zero byte follows.
    const std::string longest = RecordLine("w24_intfactor:1L_24x1/", std::string(24, char(100)));
    ASSERT_EQ(longest.size(), 24u);
    EXPECT_EQ(longest.substr(0, 22), "w24_intfactor:1L_24x1/");
    EXPECT_EQ(longest[22], '\0') << "24 bytes of 100 XOR to 0";
    EXPECT_EQ(longest[23], '/');
}

TEST(MemoryImage, RecordBlockIsTheLineAndSeventyTwoDataBytes)
{
    std::string data(100, '\0');
    for (size_t i = 0; i < data.size(); ++i) data[i] = char(i + 1);
    const std::string block = RecordBlock("Tempfactor:1L_2x1i/", data);
    ASSERT_EQ(block.size(), 96u);
    EXPECT_EQ(block.substr(24), data.substr(0, 72)) << "bytes after the 72nd are not stored";
    EXPECT_EQ(static_cast<unsigned char>(block[19]), CheckByte(data.substr(0, 72))) << "nor are they in the check";
    EXPECT_EQ(RecordBlock("w6_row:1L_06x4/", "ab").substr(26), std::string(70, '\0'));
}

TEST(MemoryImage, LightRecordFillsEighteenBlocks)
{
    const std::string values(1664, char(7));
    const std::string record = LightRecord("ledxy:70L416x4/", values);
    ASSERT_EQ(record.size(), size_t(kLightRecordBytes));
    EXPECT_EQ(record.substr(0, 17), "ledxy:70L416x4/" + bytes({0}) + "/") << "1664 sevens XOR to 0";
    EXPECT_EQ(record.substr(24, 1664), values);
    EXPECT_EQ(record.substr(24 + 1664), std::string(16 + 24, '\0')) << "16 pad bytes and the zero line";
}

TEST(MemoryImage, HeaderAndEndBlocks)
{
    const std::string header = HeaderBlock(kTemperatureTitle, "202603141509//");
    ASSERT_EQ(header.size(), 96u);
    EXPECT_EQ(header.substr(0, 24), "TIRMO2019v001f001//" + std::string(5, '\0'));
    EXPECT_EQ(header.substr(24, 24), "Dravolinex VOSTRELIA//" + std::string(2, '\0'));
    EXPECT_EQ(header.substr(48, 24), "Blank_measure//" + std::string(9, '\0'));
    EXPECT_EQ(header.substr(72, 24), "202603141509//" + std::string(10, '\0'));
    EXPECT_EQ(HeaderBlock(kWellFormatTitle).substr(72), "//" + std::string(22, '\0'));
    EXPECT_EQ(EndBlock(), std::string("END//") + std::string(19, '\0') + "END//" + std::string(19, '\0') + "END//" +
                              std::string(19, '\0') + "END//" + std::string(19, '\0'));
}

TEST(MemoryImage, RecordsLieAtTheirFixedPlaces)
{
    struct Case {
        const char* name;
        const char* key;
        int bank, line;
    };
    const Case cases[] = {
        {"w6_col", "w6_col:1L_06x4/", 0, 4},          {"w6_row", "w6_row:1L_06x4/", 0, 8},
        {"p35_col", "p35_col:1L_06x4/", 0, 12},       {"p35_row", "p35_row:1L_06x4/", 0, 16},
        {"w24_col", "w24_col:2L_12x4/", 0, 20},       {"w24_row", "w24_row:2L_12x4/", 0, 24},
        {"Tempfactor", "Tempfactor:1L_2x1i/", 1, 4},  {"w6_intfactor", "w6_intfactor:1L_6x1/", 1, 8},
        {"p35_intfactor", "p35_intfactor:1L_6x1/", 1, 12}, {"w24_intfactor", "w24_intfactor:1L_24x1/", 1, 16},
        {"w6_blank", "w6_blank:[0030]6x1/", 2, 4},    {"p35_blank", "p35_blank:[0030]6x1/", 2, 8},
        {"w24_blank", "w24_blank:[0030]24x1/", 2, 12}, {"ledxy", "ledxy:70L416x4/", 3, 4},
    };
    ASSERT_EQ(Records().size(), std::size(cases));
    for (const Case& c : cases) {
        const RecordPlace* r = FindRecord(c.name);
        ASSERT_NE(r, nullptr) << c.name;
        EXPECT_EQ(RecordKey(*r, 30), c.key);
        EXPECT_EQ(r->bank, c.bank) << c.name;
        EXPECT_EQ(r->line, c.line) << c.name;
    }
    EXPECT_EQ(FindRecord("tempfactor"), nullptr) << "names are exact, case included";
    EXPECT_EQ(RecordKey(*FindRecord("p35_blank"), 120), "p35_blank:[0120]6x1/");
}

TEST(MemoryImage, OnlyByteValuesPack)
{
    EXPECT_EQ(PackBytes({0, 255, 100}), bytes({0, 255, 100}));
    EXPECT_EQ(PackBytes({256}), std::nullopt);
    EXPECT_EQ(PackBytes({-1}), std::nullopt);
    EXPECT_EQ(PackBytes({}), "");
}

}  // namespace
}  // namespace tirmo::devicememory
