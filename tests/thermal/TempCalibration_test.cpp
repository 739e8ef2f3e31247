#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/ProgramFolder.h"
#include "support/TempFolder.h"
#include "thermal/TempCalibration.h"

namespace tirmo::thermal {
namespace {

class TempFactorFileTest : public ::testing::Test {
protected:
    std::string write(const std::string& text)
    {
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    test::TempFolder folder;
    std::string path = folder.path() + "/tempfactor.dat";
};

TEST_F(TempFactorFileTest, CommaDecimalSeparatorsReadAsPoints)
{
    const auto r = ReadTempFactorFile(write("\"Temperature sensor parameters\"\r\nOFFSET=-16,34\r\nSLOPE=1,732\r\n"));
    EXPECT_EQ(r.status, TempFactorStatus::Ok);
    EXPECT_DOUBLE_EQ(r.factors.offset, -16.34);
    EXPECT_DOUBLE_EQ(r.factors.slope, 1.732);
}

TEST_F(TempFactorFileTest, AValueOutOfItsRangeFallsBackAloneAnImplausiblePairEntirely)
{
    auto r = ReadTempFactorFile(write("\"t\"\r\nOFFSET=60\r\nSLOPE=1.732\r\n"));
    EXPECT_EQ(r.status, TempFactorStatus::Ok);
    EXPECT_DOUBLE_EQ(r.factors.offset, kDefaultOffset);

    r = ReadTempFactorFile(write("\"t\"\r\nOFFSET=-16\r\nSLOPE=1.75\r\n"));
    EXPECT_EQ(r.status, TempFactorStatus::Ok);
    EXPECT_DOUBLE_EQ(r.factors.offset, -16);
    EXPECT_DOUBLE_EQ(r.factors.slope, 1.75);

    r = ReadTempFactorFile(write("\"t\"\r\nOFFSET=0\r\nSLOPE=1.732\r\n"));
    EXPECT_EQ(r.status, TempFactorStatus::OutOfLimit);
    EXPECT_DOUBLE_EQ(r.factors.offset, kDefaultOffset);

    for (const char* slope : {"0", "10"}) {
        r = ReadTempFactorFile(write("\"t\"\r\nOFFSET=-16.34\r\nSLOPE=" + std::string(slope) + "\r\n"));
        EXPECT_DOUBLE_EQ(r.factors.slope, kDefaultSlope) << slope;
    }
    r = ReadTempFactorFile(write("\"t\"\r\nSLOPE=1.75\r\nOFFSET=-16\r\n"));
    EXPECT_DOUBLE_EQ(r.factors.offset, kDefaultOffset) << "keys must be on their own lines";
    EXPECT_DOUBLE_EQ(r.factors.slope, kDefaultSlope);
}

TEST_F(TempFactorFileTest, ShortMalformedOrMissingFilesGiveTheDefaults)
{
    for (const char* text : {"\"t\"\r\nOFFSET=-16.34\r\n", "\"t\"\r\nOFFSET -16.34\r\nSLOPE=1.732\r\n",
                             "\"t\"\r\nOFFSET=abc\r\nSLOPE=1.732\r\n", ""}) {
        const auto r = ReadTempFactorFile(write(text));
        EXPECT_EQ(r.status, TempFactorStatus::Corrupt) << text;
        EXPECT_DOUBLE_EQ(r.factors.offset, kDefaultOffset);
        EXPECT_DOUBLE_EQ(r.factors.slope, kDefaultSlope);
    }
    EXPECT_EQ(ReadTempFactorFile(folder.path() + "/none.dat").status, TempFactorStatus::Missing);
}

TEST_F(TempFactorFileTest, WriterRoundsToTwoDecimalsInTheSeparatorGivenAndReadsBack)
{
    const struct {
        const char* separator;
        TempFactors written;
        const char* offset;
        const char* slope;
        TempFactors read;
    } cases[] = {
        {".", {-16.34, 1.732}, "-16.34", "1.73", {-16.34, 1.73}},
        {",", {-16.34, 1.732}, "-16,34", "1,73", {-16.34, 1.73}},
        {",", {-16, 1.8}, "-16", "1,8", {-16, 1.8}},
        {",", {-14.005, 1.745}, "-14", "1,74", {-14, 1.74}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteTempFactorFile(path, c.written, c.separator));
        std::ifstream in(path, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
                  "\"Temperature sensor parameters\"\r\nOFFSET=" + std::string(c.offset) + "\r\nSLOPE=" + c.slope + "\r\n");
        const auto r = ReadTempFactorFile(path);
        EXPECT_EQ(r.status, TempFactorStatus::Ok) << c.offset;
        EXPECT_DOUBLE_EQ(r.factors.offset, c.read.offset);
        EXPECT_DOUBLE_EQ(r.factors.slope, c.read.slope);
    }
    EXPECT_FALSE(WriteTempFactorFile(folder.path() + "/missing/tempfactor.dat", {}, "."));
}

TEST(CalibrationFitTest, WorkedExampleIsAccepted)
{
    const CalibrationFit fit = FitTwoPoints({20, 20}, {30, 37}, 25);
    EXPECT_NEAR(fit.m, 1.7, 1e-12);
    EXPECT_NEAR(fit.b, -14, 1e-12);
    EXPECT_NEAR(fit.deltas.delta20, -1.7, 1e-9);
    EXPECT_NEAR(fit.deltas.delta37, -1.156, 1e-9);
    EXPECT_TRUE(fit.accepted);
    EXPECT_FALSE(FitTwoPoints({20, 20}, {30, 37}, 1000).accepted) << "far from the nominal line at the current reading";
}

TEST(CalibrationFitTest, ASensorOnTheNominalLineCalibratesToItFromItsRawReadings)
{
    // Raw readings of a sensor that follows the nominal line exactly at 22 and 35 degrees.
    const double r1 = (22 - kDefaultOffset) / kDefaultSlope, r2 = (35 - kDefaultOffset) / kDefaultSlope;
    const CalibrationFit fit = FitTwoPoints({r1, 22}, {r2, 35}, r2);
    EXPECT_TRUE(fit.accepted);
    EXPECT_NEAR(fit.m, kDefaultSlope, 1e-9);
    EXPECT_NEAR(fit.b, kDefaultOffset, 1e-9);
    // The same points taken from the converted value (already degrees) give slope 1, which the
    // plausibility check must refuse: that is why the calibration uses raw readings.
    EXPECT_FALSE(FitTwoPoints({22, 22}, {35, 35}, 35).accepted);
}

TEST(CalibrationFitTest, EqualReadingsAreReportedNotDividedBy)
{
    const CalibrationFit fit = FitTwoPoints({24, 20}, {24, 30}, 24);
    EXPECT_TRUE(fit.sameReading);
    EXPECT_FALSE(fit.accepted);
}

}  // namespace
}  // namespace tirmo::thermal
