// Internal-reference factors from the reference runs of an instrument, with the factory and the
// default fall-backs, written as factor_correction.txt.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "project/InternalReference.h"
#include "support/FakeClock.h"
#include "support/RunFiles.h"
#include "support/TempFolder.h"

namespace tirmo::project {
namespace {

void Spill(const std::string& path, const std::string& text)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> Lines(const std::string& path)
{
    return platform::ReadLines(path).value_or(std::vector<std::string>{});
}

const char* const kW6Wells[] = {"A1", "B1", "A2", "B2", "A3", "B3"};

// One scan of a w6 plate at the given time, wells in well-number order (B3, the reference well,
// closes it).
std::vector<test::ActivityRow> W6Scan(double minutes, const std::vector<double>& counts)
{
    std::vector<test::ActivityRow> rows;
    for (size_t w = 0; w < counts.size(); ++w) rows.push_back({minutes, kW6Wells[w], counts[w]});
    return rows;
}

std::vector<test::ActivityRow> operator+(std::vector<test::ActivityRow> a, const std::vector<test::ActivityRow>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class InternalReferenceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::SetProgramFolder(program.path());
        acquisition = program.path() + "/reports/p/20250201_090000_a";
        std::filesystem::create_directories(acquisition);
        notices.message = [this](const std::string& m) { messages.push_back(m); };
        notices.status = [this](const std::string& s) { statuses.push_back(s); };
    }
    // A reference run of instrument 57 as the run start files it (the project folder reached
    // through its lower-cased safe name).
    void ReferenceRun(const std::string& name, const std::vector<test::ActivityRow>& rows, int serial = 57)
    {
        const std::string project =
            serial >= 1 ? "_internal_referencesn" + std::to_string(serial) : "_internal_reference";
        Spill(program.path() + "/reports/" + project + "/" + name + "/current_activity.txt",
              test::ActivityFileText(rows));
    }
    InternalReferenceResult Compute(const std::string& format, int serial = 57, bool announce = false)
    {
        std::string folder = acquisition;
        return ComputeInternalReference(folder, format, serial, announce, factors, notices);
    }
    std::vector<std::string> FactorLines() { return Lines(acquisition + "/factor_correction.txt"); }
    std::string Stamp(const std::string& source) { return "\"2026/03/14_15:09:26_" + source + "\""; }

    test::FakeClock clock;
    test::TempFolder program;
    std::string acquisition;
    ReferenceFactors factors;
    CorrectionNotices notices;
    std::vector<std::string> messages, statuses;
};

TEST_F(InternalReferenceTest, WeightsOfTheRunsAverageIntoOneFactorPerWell)
{
    // Listed in name order whatever order the folder gives; the later, unfinished scan and the
    // scan before 10 minutes do not count.
    ReferenceRun("20250102_100000w6_reference",
                 W6Scan(5.0, {1, 1, 1, 1, 1, 1}) + W6Scan(12.0, {12, 8, 10, 10, 20, 0}) + W6Scan(13.0, {50, 50}));
    ReferenceRun("20250101_100000w6_reference", W6Scan(10.5, {8, 12, 10, 10, 20, 0}));
    ReferenceRun("20250103_100000w24_reference", W6Scan(11.0, {1, 1, 1, 1, 1, 1}));  // another format
    Spill(program.path() + "/reports/_internal_referencesn57/20250104_100000w6_file", "a file, not a run");

    const InternalReferenceResult r = Compute("w6", 57, true);
    EXPECT_EQ(r.source, FactorSource::ReferenceRuns);
    EXPECT_EQ(r.runs, (std::vector<std::string>{"20250101_100000w6_reference", "20250102_100000w6_reference"}));
    // Run means 10: weights 0.8 and 1.2 give 1.00; 2.0 gives 0.50; a weight of 0 gives 2.55.
    EXPECT_EQ(r.codes, (FactorCodeString{100, 100, 100, 100, 50, 254}));
    EXPECT_EQ(std::vector<double>(factors.begin(), factors.begin() + 7),
              (std::vector<double>{1.0, 1.0, 1.0, 1.0, 0.5, 2.55, 1.0}));
    const std::string source = program.path() + "/reports/_internal_referenceSN57";
    EXPECT_EQ(FactorLines(), (std::vector<std::string>{
                                 Stamp(source),
                                 "well A1 B1 A2 B2 A3 B3",
                                 "mult_factor 1.00 1.00 1.00 1.00 0.50 2.55",
                                 "",
                                 "<internal_reference_weight>",
                                 "20250101_100000w6_reference 0.80 1.20 1.00 1.00 2.00 0.00",
                                 "20250102_100000w6_reference 1.20 0.80 1.00 1.00 2.00 0.00",
                                 "",
                                 "<internal_reference_raw_values>",
                                 "20250101_100000w6_reference 8 12 10 10 20 0",
                                 "20250102_100000w6_reference 12 8 10 10 20 0",
                             }));
    EXPECT_EQ(messages, std::vector<std::string>{"Internal Reference loaded from:\n" + source});
    EXPECT_TRUE(statuses.empty());
}

TEST_F(InternalReferenceTest, FactorTextsAreNotLimitedButStoredFactorsAre)
{
    // Mean 4: weights 0.25, 1.25, 1.0.
    ReferenceRun("20250101_100000w6_reference", W6Scan(10.0, {1, 5, 5, 5, 4, 4}));
    const InternalReferenceResult r = Compute("w6");
    EXPECT_EQ(FactorLines().at(2), "mult_factor 4.00 0.80 0.80 0.80 1.00 1.00");
    EXPECT_EQ(factors[0], 2.55);
    EXPECT_EQ(r.codes, (FactorCodeString{254, 80, 80, 80, 100, 100}));
    EXPECT_TRUE(messages.empty()) << "the run start asks for no message";
}

TEST_F(InternalReferenceTest, ARunWithoutActivityGivesTheTopFactorEverywhere)
{
    ReferenceRun("20250101_100000w6_reference", W6Scan(30.0, {0, 0, 0, 0, 0, 0}));
    const InternalReferenceResult r = Compute("w6");
    EXPECT_EQ(FactorLines().at(2), "mult_factor 2.55 2.55 2.55 2.55 2.55 2.55");
    EXPECT_EQ(FactorLines().at(5), "20250101_100000w6_reference 0.00 0.00 0.00 0.00 0.00 0.00");
    EXPECT_EQ(r.codes, FactorCodeString(6, 254));
    EXPECT_EQ(factors[5], 2.55);
}

TEST_F(InternalReferenceTest, TenMinutesQualifyARunAndMoreThanTenAcceptIt)
{
    struct Case {
        double last;  // time of the run's last scan
        FactorSource source;
        int accepted;
    };
    const Case cases[] = {
        {9.9, FactorSource::Defaults, 0},       {10.0, FactorSource::ReferenceRuns, 0},
        {10.2, FactorSource::ReferenceRuns, 0}, {10.5, FactorSource::ReferenceRuns, 0},  // halves to even
        {10.6, FactorSource::ReferenceRuns, 1},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(program.path() + "/reports/_internal_referencesn57");
        ReferenceRun("20250101_100000w6_reference", W6Scan(c.last, {5, 5, 5, 5, 5, 5}));
        const InternalReferenceResult r = Compute("w6");
        EXPECT_EQ(r.source, c.source) << c.last;
        // A qualifying run's scan is the one its equal counts come from.
        EXPECT_EQ(r.codes, c.source == FactorSource::ReferenceRuns ? FactorCodeString(6, 100) : FactorCodeString{})
            << c.last;
        EXPECT_EQ(HasInternalReference("w6", 57), c.accepted) << c.last;
        EXPECT_EQ(HasInternalReference("w24", 57), 0) << c.last;
    }
    // The first row counts as any other: a run holding only its reference well's row.
    std::filesystem::remove_all(program.path() + "/reports/_internal_referencesn57");
    ReferenceRun("20250101_100000w6_reference", {{10.0, "B3", 6}});
    EXPECT_EQ(Compute("w6").codes, (FactorCodeString{254, 254, 254, 254, 254, 16})) << "weight 6: factor 0.1667";
}

TEST_F(InternalReferenceTest, TheLengthCheckReadsTheLastRowOnly)
{
    const std::string path = program.path() + "/activity.txt";
    const std::pair<std::string, int> cases[] = {
        {test::ActivityFileText({{12.0, "A1", 1}, {10.5, "B1", 1}}), 0},
        {test::ActivityFileText({{10.6, "A1", 1}}, ","), 1},
        {test::ActivityFileText({{12.0, "A1", 1}}) + "12\r\n", 0},  // a row without a blank is time 0
        {test::ActivityFileText({{10.6, "A1", 1}}) + "1", 1},          // a row cut short is left out
        {test::ActivityFileText({}), 0},
        {"\"2025/01/31_14:05:12\"\r\n", 0},
    };
    for (const auto& [text, result] : cases) {
        Spill(path, text);
        EXPECT_EQ(CheckReferenceLength(path), result) << text;
    }
    EXPECT_EQ(CheckReferenceLength(program.path() + "/none.txt"), 0);
}

TEST_F(InternalReferenceTest, WithoutRunsTheFactoryFactorsServeAndWithoutThemOnePointZero)
{
    factors.fill(3.0);
    InternalReferenceResult r = Compute("w6");
    EXPECT_EQ(r.source, FactorSource::Defaults);
    EXPECT_TRUE(r.codes.empty());
    EXPECT_EQ(factors, NeutralFactors());
    EXPECT_EQ(FactorLines(), (std::vector<std::string>{Stamp("DEFAULT=1.0"), "well A1 B1 A2 B2 A3 B3",
                                                       "mult_factor 1.00 1.00 1.00 1.00 1.00 1.00", ""}));

    // Held to 0..2.55; a well the factory file gives no value keeps 1.0.
    Spill(
        program.path() + "/config_SN57/intfactor_w6.dat",
        "\"2024/11/30_08:00:00_FACTORYDEFAULT\"\r\nwell A1 B1 A2 B2 A3 B3\r\nmult_factor 0.90 3.00 -1 1,10 x\r\n\r\n");
    r = Compute("w6");
    EXPECT_EQ(r.source, FactorSource::Factory);
    EXPECT_EQ(r.codes, (FactorCodeString{90, 254, 0, 110, 100, 100}));
    EXPECT_EQ(std::vector<double>(factors.begin(), factors.begin() + 6),
              (std::vector<double>{0.9, 2.55, 0, 1.1, 1, 1}));
    EXPECT_EQ(FactorLines(), (std::vector<std::string>{Stamp("FACTORYDEFAULT[SN57]"), "well A1 B1 A2 B2 A3 B3",
                                                       "mult_factor 0.90 2.55 0.00 1.10 1.00 1.00", ""}));
    EXPECT_EQ(Lines(acquisition + "/20260314150926_factor_correction.txt").at(0), Stamp("DEFAULT=1.0"))
        << "the rewrite kept the old file";

    // A factory file shorter than its three lines is no factory file.
    Spill(program.path() + "/config_SN57/intfactor_w6.dat", "\"x\"\r\nwell A1\r\n");
    EXPECT_EQ(Compute("w6").source, FactorSource::Defaults);
    EXPECT_TRUE(messages.empty());
}

TEST_F(InternalReferenceTest, OfflineTheTaglessFoldersServe)
{
    Spill(program.path() + "/config/intfactor_w6.dat", "s\r\nwell\r\nmult_factor 0.50 0.50 0.50 0.50 0.50 0.50\r\n");
    EXPECT_EQ(Compute("w6", 0).source, FactorSource::Factory);
    EXPECT_EQ(FactorLines().at(0), Stamp("FACTORYDEFAULT[]"));

    ReferenceRun("20250101_100000w6_reference", W6Scan(11.0, {5, 5, 5, 5, 5, 5}), 0);
    EXPECT_EQ(Compute("w6", 0).source, FactorSource::ReferenceRuns);
    EXPECT_EQ(FactorLines().at(0), Stamp(program.path() + "/reports/_internal_reference"));
    EXPECT_EQ(HasInternalReference("w6", 0), 1);
    EXPECT_EQ(HasInternalReference("w6", 57), 0) << "another instrument's runs";
}

TEST_F(InternalReferenceTest, AFormatWithoutWellsWritesEmptyLinesAndNoCorrection)
{
    ReferenceRun("20250101_100000w96u_reference", {{11.0, "H12", 5}});
    const InternalReferenceResult r = Compute("w96u");
    EXPECT_EQ(r.source, FactorSource::Defaults);
    EXPECT_EQ(FactorLines(), (std::vector<std::string>{Stamp("DEFAULT=1.0"), "well", "mult_factor", ""}));
    EXPECT_EQ(factors, NeutralFactors());
}

TEST_F(InternalReferenceTest, AnEmptyFolderMeansTheProgramFolder)
{
    std::string folder;
    ComputeInternalReference(folder, "w6", 57, false, factors, notices);
    EXPECT_EQ(folder, platform::ProgramFolder());
    EXPECT_EQ(Lines(program.path() + "/factor_correction.txt").at(0), Stamp("DEFAULT=1.0"));
}

TEST_F(InternalReferenceTest, AFailedBackupKeepsTheOldFileButTheFactorsStillApply)
{
    Spill(acquisition + "/factor_correction.txt", "\"2025/01/31_14:05:12_DEFAULT=1.0\"\r\nwell\r\nmult_factor\r\n\r\n");
    std::filesystem::create_directories(acquisition + "/20250131140512_factor_correction.txt/x");
    ReferenceRun("20250101_100000w6_reference", W6Scan(11.0, {8, 12, 10, 10, 10, 10}));
    const InternalReferenceResult r = Compute("w6");
    EXPECT_EQ(r.write, FactorWrite::BackupFailed);
    EXPECT_EQ(statuses,
              std::vector<std::string>{"factor_correction.txt not replaced: its backup failed in " + acquisition});
    EXPECT_EQ(FactorLines().at(2), "mult_factor");
    EXPECT_DOUBLE_EQ(factors[0], 1.25);
}

TEST(ReferenceFormats, KnowTheirWellsAndTheirLastWell)
{
    EXPECT_EQ(ReferenceFormatOf("w96f").reference_well, "H12");
    EXPECT_EQ(ReferenceFormatOf("w48").wells, 48);
    EXPECT_EQ(ReferenceFormatOf("w12").reference_well, "C4");
    EXPECT_EQ(ReferenceFormatOf("p35").reference_well, "B3");
    EXPECT_EQ(ReferenceFormatOf("w96u").wells, 0);
    EXPECT_EQ(ReferenceWellName(4, 3), "A2");
    EXPECT_EQ(ReferenceWellName(24, 4), "D6");
}

}  // namespace
}  // namespace tirmo::project
