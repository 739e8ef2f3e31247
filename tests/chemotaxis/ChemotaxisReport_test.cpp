// The chemotaxis report of two synthetic wells against its stored text.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "chemotaxis/ChemotaxisReport.h"

namespace tirmo::chemotaxis {
namespace {

std::string Golden(const std::string& name)
{
    std::ifstream in(std::string(TIRMO_TESTS_DIR) + "/chemotaxis/golden/" + name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Two wells over scans 0..3: A1 moves from the top left to the bottom right, B1 has activity in
// scan 2 only and no value at scan 3, which its file lacks. The report sums three scans.
ChemotaxisReportInputs TwoWells(const SideSumStore& sums)
{
    ChemotaxisReportInputs in;
    in.date_text = "2025/01/31_14:05:12";
    in.folder = "/data/reports/proj/20250131_140000_chemo";
    in.wells = 2;
    in.rows = 2;
    in.times = {0, 0.5, 1.25, 2};
    in.labels = {"001_Attract \"x\"", ""};
    in.sums = &sums;
    in.window = 2;
    in.divider = ";";
    in.decimal = ",";
    return in;
}

TEST(ChemotaxisReportTest, TwoWellsMatchTheStoredReport)
{
    SideSumStore sums(2, 3);
    sums.Set(0, 0, {40, 0, 0, 40, 40, 0, 0, 0});
    sums.Set(0, 1, {30, 10, 10, 30, 30, 0, 0, 10});
    sums.Set(0, 2, {10, 30, 30, 10, 10, 0, 0, 30});
    sums.Set(0, 3, {0, 70000, 70000, 0, 0, 0, 0, 70000});
    sums.Set(1, 0, {});
    sums.Set(1, 1, {});
    sums.Set(1, 2, {5, 15, 12, 8, 3, 5, 2, 10});

    struct Case {
        std::optional<IndexKind> chosen;
        const char* golden;
    };
    for (const Case& c : {Case{IndexKind::QuadRight, "two_wells_quadrant_right.csv"},
                          Case{std::nullopt, "two_wells_no_kind.csv"}}) {
        ChemotaxisReportInputs in = TwoWells(sums);
        in.chosen = c.chosen;
        const std::string expected = Golden(c.golden);
        ASSERT_FALSE(expected.empty()) << c.golden;
        EXPECT_EQ(BuildChemotaxisReport(in), expected) << c.golden;
    }
}

}  // namespace
}  // namespace tirmo::chemotaxis
