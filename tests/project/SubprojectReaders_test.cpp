#include "project/SubprojectReaders.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/TextFile.h"
#include "support/TempFolder.h"

namespace tirmo::project {
namespace {

TEST(SubprojectReaders, ValuesByPositionAndTheirFailures)
{
    const struct {
        const char* what;
        std::optional<std::vector<std::string>> lines;  // nullopt: no subpj.dat at all
        std::string name, title, time, format;
    } cases[] = {
        {"missing file", std::nullopt, "", "", "", ""},
        {"empty file", std::vector<std::string>{}, "", "", "", ""},
        {"whole file", std::vector<std::string>{"_blank_mix1", "acq_time=60", "plate_format=w6"}, "_blank_mix1", "_blank_mix1", "60", "w6"},
        {"one line", std::vector<std::string>{"Test 1"}, "Test 1", "Test 1", "", ""},
        {"time rounded, halves to even", std::vector<std::string>{"t", "acq_time=30.5", "plate_format=w24"}, "t", "t", "30", "w24"},
        {"time 30.4", std::vector<std::string>{"t", "acq_time=30.4"}, "t", "t", "30", ""},
        {"leading blank", std::vector<std::string>{"t", "acq_time= 45"}, "t", "t", "45", ""},
        {"last 16-bit time", std::vector<std::string>{"t", "acq_time=32767", "plate_format=w6"}, "t", "t", "32767", "w6"},
        {"time beyond 16 bits", std::vector<std::string>{"t", "acq_time=32768", "plate_format=w6"}, "t", "", "", ""},
        {"time 70000", std::vector<std::string>{"t", "acq_time=70000", "plate_format=w6"}, "t", "", "", ""},
        {"time no number", std::vector<std::string>{"t", "acq_time=abc", "plate_format=w6"}, "t", "", "", ""},
        {"format without a time line", std::vector<std::string>{"t", "nothing here", "plate_format=w24"}, "t", "t", "", "w24"},
        {"format on line 2 is not seen", std::vector<std::string>{"t", "plate_format=w24"}, "t", "t", "", ""},
        {"title holding a key", std::vector<std::string>{"acq_time=99", "acq_time=5", "plate_format=p35"}, "acq_time=99", "acq_time=99", "5", "p35"},
        {"empty title", std::vector<std::string>{"", "acq_time=20", "plate_format=w12"}, "", "", "20", "w12"},
        {"one-character line", std::vector<std::string>{"t", "a", "p"}, "t", "t", "", ""},
    };
    for (const auto& c : cases) {
        test::TempFolder folder;
        if (c.lines) {
            ASSERT_TRUE(platform::WriteLines(folder.path() + "/subpj.dat", *c.lines));
        }
        EXPECT_EQ(ReadSubprojectName(folder.path()), c.name) << c.what;
        EXPECT_EQ(ReadSubprojectTitle(folder.path()), c.title) << c.what;
        EXPECT_EQ(ReadSubprojectTime(folder.path()), c.time) << c.what;
        EXPECT_EQ(ReadSubprojectFormat(folder.path()), c.format) << c.what;
    }
}

}  // namespace
}  // namespace tirmo::project
