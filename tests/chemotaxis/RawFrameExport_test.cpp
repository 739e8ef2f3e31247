// The raw frame export: segments between runs of three commas, one block per place in the line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "chemotaxis/RawFrameExport.h"
#include "support/TempFolder.h"

namespace tirmo::chemotaxis {
namespace {

TEST(RawFrameExportTest, SegmentsStandBetweenRunsOfThreeCommas)
{
    struct Case {
        const char* line;
        std::vector<std::string_view> segments;
    };
    const Case cases[] = {
        {"x,,,1,2,,,3,4", {"1,2", "3,4"}},
        {"no separator", {}},
        {",,,", {""}},
        {"a,,,b,,,", {"b", ""}},
    };
    for (const Case& c : cases) EXPECT_EQ(RawSegments(c.line), c.segments) << c.line;
}

TEST(RawFrameExportTest, EverySegmentOfALineIsWritten)
{
    struct Case {
        int segments;
        bool source;
    };
    for (const Case c : {Case{11, true}, Case{14, true}, Case{2, true}, Case{0, false}}) {
        test::TempFolder dir;
        std::string expected;
        if (c.source) {
            std::ofstream out(dir.path() + "/lastread00.csv", std::ios::binary);
            for (int line = 0; line < 2; ++line) {
                out << "t" << line;
                for (int k = 0; k < c.segments; ++k) out << ",,," << line << "." << k;
                out << "\r\n";
            }
            for (int k = 0; k < c.segments; ++k)
                expected += "\r\n0." + std::to_string(k) + "\r\n1." + std::to_string(k) + "\r\n\r\n\r\n";
        }

        const auto target = ExportRawFrames(dir.path());

        ASSERT_EQ(target.has_value(), c.source) << c.segments;
        EXPECT_EQ(std::filesystem::exists(dir.path() + "/bmp_last"), c.source);
        if (!c.source) continue;
        std::ifstream in(*target + "/1.csv", std::ios::binary);
        EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()), expected)
            << c.segments;
    }
}

}  // namespace
}  // namespace tirmo::chemotaxis
