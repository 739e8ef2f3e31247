#include <gtest/gtest.h>

#include <fstream>

#include "link/Session.h"
#include "platform/ProgramFolder.h"
#include "support/AppFixture.h"
#include "ui/Controls.h"

namespace tirmo::app {
namespace {

class StartupPlateFilesTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        useFakeClock();
    }
};

TEST_F(StartupPlateFilesTest, AnEmptyConfigGetsTheThreeDefaultSpecificationFiles)
{
    boxes.expectInput("PORT ERROR", "");
    window->Form_Load();
    EXPECT_EQ(readFile("config/w6_spc.dat").substr(0, 29), "w6 specifications,,,,,,,,,\r\nc");
    EXPECT_NE(readFile("config/p35_spc.dat").find("\r\n5,0,0,5,B3,5,0,100,0,100\r\n"), std::string::npos);
    EXPECT_NE(readFile("config/w24_spc.dat").find("\r\n5,1,1,23,D6,23,0,100,0,100\r\n"), std::string::npos);
    EXPECT_EQ(window->plate->current_format, "w6");
    EXPECT_EQ(window->plate->plate_rows, 2);
    EXPECT_EQ(window->plate->plate_columns, 3);
    EXPECT_EQ(window->camera->txt_speed->Text(), "7");
    EXPECT_EQ(window->camera->txt_xfin->Text(), "142");
    EXPECT_EQ(window->camera->txt_yfin->Text(), "183");
    // Offline the band files are read from config, which holds none yet.
    EXPECT_EQ(window->plate->column_bands.first[0], -1);
    EXPECT_FALSE(platform::FileExists(platform::ProgramPath("config/w6_col.dat")));
}

TEST_F(StartupPlateFilesTest, TheFirstStartReadsTheLayoutItHasJustWritten)
{
    boxes.expectInput("PORT ERROR", "");
    window->Form_Load();
    EXPECT_EQ(window->plate->well_table.at(5, 0, 0).name, "B3");
    EXPECT_EQ(window->plate->well_table.at(5, 0, 0).dataindex, 5);
    EXPECT_EQ(window->plate->well_table.at(5, 0, 0).col_end, 100) << "the well outlines have their percentages";
}

TEST_F(StartupPlateFilesTest, AnExistingSpecificationFileIsNeverRewritten)
{
    platform::MakeFolder(platform::ProgramPath("config"));
    std::ofstream(platform::ProgramPath("config/w6_spc.dat"), std::ios::binary)
        << "t\r\nh\r\n0,0,0,0,A1,0,10,90,0,100\r\n";
    boxes.expectInput("PORT ERROR", "");
    window->Form_Load();
    EXPECT_EQ(readFile("config/w6_spc.dat"), "t\r\nh\r\n0,0,0,0,A1,0,10,90,0,100\r\n");
    EXPECT_EQ(window->plate->well_table.at(0, 0, 0).col_ini, 10) << "the project's format was read";
}

TEST_F(StartupPlateFilesTest, FirstStartWithInstrument12InstallsItsBandFiles)
{
    attachSimulator(4, 12);
    window->Form_Load();
    for (const char* f : {"w6_col.dat", "w6_row.dat", "p35_col.dat", "p35_row.dat", "w24_col.dat", "w24_row.dat"})
        EXPECT_TRUE(platform::FileExists(platform::ProgramPath(std::string("config_SN12/") + f))) << f;
    EXPECT_EQ(readFile("config_SN12/w6_col.dat").substr(0, 19), "\"w6 column format\"\r");
    EXPECT_EQ(window->plate->column_bands.first[4], 2);
    EXPECT_EQ(window->plate->row_bands.end[5][0], 165);
    EXPECT_EQ(window->camera->txt_speed->Text(), "7") << "generation 1";
}

TEST_F(StartupPlateFilesTest, LaterStartsLeaveTheInstrumentsBandFilesAlone)
{
    platform::MakeFolder(platform::ProgramPath("config_SN58"));
    attachSimulator(4, 58);
    window->Form_Load();
    EXPECT_FALSE(platform::FileExists(platform::ProgramPath("config_SN58/w6_col.dat")));
    EXPECT_EQ(window->camera->txt_speed->Text(), "8") << "generation 2";
}

}  // namespace
}  // namespace tirmo::app
