// factor_correction.txt read back into the factors and their codes, and the backup that keeps
// the old file before each rewrite.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "project/FactorCorrectionFile.h"
#include "support/FakeClock.h"
#include "support/TempFolder.h"

namespace tirmo::project {
namespace {

void Spill(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::vector<std::string> Lines(const std::string& path)
{
    return platform::ReadLines(path).value_or(std::vector<std::string>{});
}

class FactorFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::SetProgramFolder(program.path());
        folder = program.path() + "/reports/p/20250131_140000_a";
        std::filesystem::create_directories(folder);
        notices.status = [this](const std::string& s) { statuses.push_back(s); };
    }
    test::FakeClock clock;  // now: 2026/03/14 15:09:26
    test::TempFolder program;
    std::string folder;
    CorrectionNotices notices;
    std::vector<std::string> statuses;
};

TEST_F(FactorFileTest, TheFactorLineBecomesFactorsHeldToTheirRangeAndTheirCodes)
{
    struct Case {
        std::string text;
        std::vector<double> factors;  // indexes 0.. (the rest must be 1.0)
        FactorCodeString codes;
    };
    const std::string head = "\"2025/01/31_14:05:12_DEFAULT=1.0\"\r\nwell A1 B1 A2\r\n";
    const Case cases[] = {
        {head + "mult_factor 1.00 3.10 0.50\r\n\r\n", {1.0, 2.55, 0.5}, {100, 254, 50}},
        {head + "mult_factor -0.20 2.55 2.56 0\r\n", {0.0, 2.55, 2.55, 0.0}, {0, 254, 254, 0}},
        {head + "mult_factor  0,90  1.10\r\n", {0.9, 1.1}, {90, 110}},  // a comma machine; doubled blanks
        {head + "mult_factor abc 1.5\r\n", {1.0, 1.5}, {100, 150}},     // no number: no correction
        {head + "mult_factor\r\n", {}, {}},
        {"\"s\"\r\nmult_factor 0.50\r\n", {}, {}},  // the factor line must be the third
        {head + "factors 0.50\r\n", {}, {}},
    };
    for (const auto& c : cases) {
        Spill(folder + "/factor_correction.txt", c.text);
        ReferenceFactors factors;
        factors.fill(7.0);
        EXPECT_EQ(ReadFactorCorrection(folder, factors), c.codes) << c.text;
        for (size_t i = 0; i < factors.size(); ++i)
            EXPECT_EQ(factors[i], i < c.factors.size() ? c.factors[i] : 1.0) << c.text << " index " << i;
    }
    std::filesystem::remove(folder + "/factor_correction.txt");
    ReferenceFactors factors;
    factors.fill(7.0);
    EXPECT_TRUE(ReadFactorCorrection(folder, factors).empty());
    EXPECT_EQ(factors, NeutralFactors()) << "a missing file means no correction";
}

TEST_F(FactorFileTest, AtMost383FactorsAreRead)
{
    std::string line = "mult_factor";
    for (int i = 0; i < 384; ++i) line += " 0.50";
    Spill(folder + "/factor_correction.txt", "\"s\"\r\nwell\r\n" + line + "\r\n");
    ReferenceFactors factors;
    EXPECT_EQ(ReadFactorCorrection(folder, factors).size(), 383u);
    EXPECT_EQ(factors[382], 0.5);
    EXPECT_EQ(factors[383], 1.0);
}

TEST_F(FactorFileTest, TheStampIsLineOneWithoutQuotes)
{
    EXPECT_EQ(ReadFactorCorrectionStamp(folder), "");
    Spill(folder + "/factor_correction.txt", "\"2025/01/31_14:05:12_FACTORYDEFAULT[SN57]\"\r\nwell\r\n");
    EXPECT_EQ(ReadFactorCorrectionStamp(folder), "2025/01/31_14:05:12_FACTORYDEFAULT[SN57]");
}

TEST_F(FactorFileTest, TheBackupIsNamedByTheOldStampOrElseByNow)
{
    const auto now = platform::WallNow();
    const std::string byNow = "factor_correction_bk20260314150926.txt";
    const std::pair<std::string, std::string> cases[] = {
        {"\"2025/01/31_14:05:12_DEFAULT=1.0\"", "20250131140512_factor_correction.txt"},
        {"\"2025/01/31_14:05:12", "20250131140512_factor_correction.txt"},  // 20 characters
        {"\"2025/01/31_14:05:1", byNow},                                    // 19
        {"", byNow},
        {"\"../../../etc/x/\\..\\ab_cd", byNow},  // no path is ever made of a stamp
        {"\"2025/01/31 14:05:12 x\"", byNow},
    };
    for (const auto& [first, name] : cases) EXPECT_EQ(FactorBackupName(first, now), name) << first;
}

TEST_F(FactorFileTest, ARewriteKeepsTheOldFileBesideIt)
{
    FactorFile file;
    file.stamp = DefaultStamp(platform::WallNow());
    file.wells = {"A1", "B1"};
    file.factor_texts = {"1.00", "1.00"};
    EXPECT_EQ(BackupFactorCorrection(folder), FactorBackup::NoFile);
    EXPECT_EQ(WriteFactorCorrection(folder, file, notices), FactorWrite::Written);
    const std::vector<std::string> first = {"\"2026/03/14_15:09:26_DEFAULT=1.0\"", "well A1 B1",
                                            "mult_factor 1.00 1.00", ""};
    EXPECT_EQ(Lines(folder + "/factor_correction.txt"), first);

    file.factor_texts = {"0.50", "2.00"};
    EXPECT_EQ(WriteFactorCorrection(folder, file, notices), FactorWrite::Written);
    EXPECT_EQ(Lines(folder + "/20260314150926_factor_correction.txt"), first);
    EXPECT_EQ(Lines(folder + "/factor_correction.txt").at(2), "mult_factor 0.50 2.00");

    // Rewritten twice within one second: the second backup replaces the first.
    file.factor_texts = {"0.70", "0.70"};
    EXPECT_EQ(WriteFactorCorrection(folder, file, notices), FactorWrite::Written);
    EXPECT_EQ(Lines(folder + "/20260314150926_factor_correction.txt").at(2), "mult_factor 0.50 2.00");
    EXPECT_TRUE(statuses.empty());
}

TEST_F(FactorFileTest, AFailedBackupIsReportedAndTheOldFileStays)
{
    Spill(folder + "/factor_correction.txt",
          "\"2025/01/31_14:05:12_DEFAULT=1.0\"\r\nwell A1\r\nmult_factor 1.00\r\n\r\n");
    // Something that is not a file stands where the backup has to go.
    std::filesystem::create_directories(folder + "/20250131140512_factor_correction.txt/x");
    FactorFile file;
    file.stamp = "new";
    file.wells = {"A1"};
    file.factor_texts = {"0.50"};
    EXPECT_EQ(BackupFactorCorrection(folder), FactorBackup::Failed);
    EXPECT_EQ(WriteFactorCorrection(folder, file, notices), FactorWrite::BackupFailed);
    EXPECT_EQ(statuses, std::vector<std::string>{"factor_correction.txt not replaced: its backup failed in " + folder});
    EXPECT_EQ(Lines(folder + "/factor_correction.txt").at(2), "mult_factor 1.00") << "the old file is kept";

    // A folder that cannot be written to is reported too.
    statuses.clear();
    EXPECT_EQ(WriteFactorCorrection(folder + "/missing", file, notices), FactorWrite::WriteFailed);
    EXPECT_EQ(statuses,
              std::vector<std::string>{"factor_correction.txt could not be written in " + folder + "/missing"});
}

TEST(FactorCode, IsTheWholePartOfTheLimitedFactorTimesAHundred)
{
    const std::pair<double, int> cases[] = {{0.0, 0},    {0.5, 50},  {1.0, 100}, {2.54, 254},
                                            {2.55, 254}, {9.0, 254}, {-1.0, 0}};
    for (const auto& [factor, code] : cases) EXPECT_EQ(FactorCode(LimitFactor(factor)), code) << factor;
}

}  // namespace
}  // namespace tirmo::project
