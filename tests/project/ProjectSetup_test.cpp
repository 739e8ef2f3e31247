#include "project/ProjectSetup.h"

#include <gtest/gtest.h>

#include "platform/TextFile.h"
#include "support/TempFolder.h"

namespace tirmo::project {
namespace {

TEST(ProjectSetupFile, LinesAreTakenByPositionAndNeedTheirKey)
{
    test::TempFolder folder;
    const std::string path = folder.path() + "/pjsetup.dat";
    ASSERT_TRUE(WriteProjectSetupFile(path, "45", "w24", "30"));
    EXPECT_EQ(*platform::ReadLines(path), (std::vector<std::string>{"acq_time=45", "plate_format=w24", "temperature=30"}));
    auto values = ReadProjectSetupFile(path);
    ASSERT_TRUE(values);
    EXPECT_EQ(values->acq_time, "45");
    EXPECT_EQ(values->plate_format, "w24");
    EXPECT_EQ(values->temperature, "30");

    // Two lines: the third value is absent; a line without its key gives nothing.
    ASSERT_TRUE(platform::WriteLines(path, {"plate_format=w6", "plate_format=w12"}));
    values = ReadProjectSetupFile(path);
    ASSERT_TRUE(values);
    EXPECT_FALSE(values->acq_time);
    EXPECT_EQ(values->plate_format, "w12");
    EXPECT_FALSE(values->temperature);

    EXPECT_FALSE(ReadProjectSetupFile(folder.path() + "/missing.dat"));
}

}  // namespace
}  // namespace tirmo::project
