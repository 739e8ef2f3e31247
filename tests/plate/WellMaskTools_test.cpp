// The well-mask buttons of both windows: the well found from the w96f plate geometry in the
// camera's stored frame, the refusals that write nothing, and the reset shared by both windows.
#include <gtest/gtest.h>

#include <QGroupBox>

#include <cmath>
#include <filesystem>

#include "app/Frm_advance.h"
#include "plate/PlateSpecFile.h"
#include "plate/WellPixelMask.h"
#include "platform/ProgramFolder.h"
#include "support/AppFixture.h"
#include "support/ProgramFiles.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"

namespace tirmo::plate {
namespace {

using ui::MsgResult;

class WellMaskToolsTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        factory = std::make_unique<app::Frm_advance>(window->instrument, window->plate->groups);
        // Well B7 on camera 0: column band (plate column 7) lines 60..100, row band (row B)
        // pixels 50..90, so its centre is at (80, 70) on the picture.
        test::WriteProgramFile("config/w96f_spc.dat", "w96f specifications,,,,,,,,,\r\n" + std::string(kSpecHeader) +
                                                          "\r\n0,0,0,13,B7,13,0,100,0,100\r\n");
        test::WriteProgramFile("config/w96f_col.dat", "\"w96f column format\"\r\n\"camera\",\"column\",\"start\",\"end\"\r\n0,6,60,100\r\n");
        test::WriteProgramFile("config/w96f_row.dat", "\"w96f row format\"\r\n\"camera\",\"row\",\"start\",\"end\"\r\n0,1,50,90\r\n");
        for (int x = 0; x < 193; ++x)
            for (int y = 0; y < 143; ++y) factory->camera->frame_store.Set(0, x, y, std::hypot(x - 80, y - 70) <= 12 ? 200 : 20);
        factory->camera->txt_cam->SetText("0");
    }
    void TearDown() override
    {
        factory.reset();
        AppFixture::TearDown();
    }
    void name(const char* row, const char* column)
    {
        factory->cmb_set1->ShowText(row);
        factory->cmb_set2->ShowText(column);
    }
    bool written(const std::string& well) const
    {
        return platform::FileExists(platform::ProgramPath("w96f_c0full__" + well + ".dat")) &&
               platform::FileExists(platform::ProgramPath("w96f_c0__" + well + ".dat"));
    }
    std::unique_ptr<app::Frm_advance> factory;
};

TEST_F(WellMaskToolsTest, TheWellNamedInTheSetBoxesIsFoundFromThePlateGeometry)
{
    EXPECT_EQ(factory->cmb_set1->Text(), "A");
    EXPECT_EQ(factory->cmb_set2->Text(), "1");
    EXPECT_FALSE(factory->Frame_select->isHidden());
    name("B", "7");
    factory->masks->cmd_set_select->Click();
    EXPECT_TRUE(boxes.shown().empty()) << "a build shows no message";
    ASSERT_TRUE(written("B7"));
    const std::string full = readFile("w96f_c0full__B7.dat");
    EXPECT_NE(full.find("\r\n70,80,1\r\n"), std::string::npos);
    EXPECT_NE(full.find("\r\n70,100,0\r\n"), std::string::npos);
}

TEST_F(WellMaskToolsTest, ARefusedBuildWritesNothingAndSaysWhy)
{
    struct Case {
        const char *row, *column, *camera;
        int mode;
        std::string message;
        std::vector<const char*> absent = {};  // plate files taken away for the case
    } cases[] = {
        {"../x", "1", "0", 0, "is not a row A to H and a column 1 to 12"},
        {"B", "7", "0", 2, "no well region is set"},
        {"B", "7", "7", 0, "camera 7 is outside 0 to 6"},
        {"B", "7", "1", 0, "well B7 is seen by camera 0, not camera 1"},
        {"C", "7", "0", 0, "do not place well C7"},
        {"B", "7", "0", 0, "do not place well B7. Missing (the factory provides them): " + platform::ProgramPath("config/w96f_spc.dat") +
         ", " + platform::ProgramPath("config/w96f_row.dat"), {"config/w96f_spc.dat", "config/w96f_row.dat"}},
    };
    for (const Case& c : cases) {
        name(c.row, c.column);
        factory->camera->txt_cam->SetText(c.camera);
        factory->circle_selection_mode = c.mode;
        for (const char* file : c.absent) std::filesystem::rename(platform::ProgramPath(file), platform::ProgramPath(file) + "~");
        boxes.expectMessage(c.message);
        factory->masks->cmd_set_select->Click();
        boxes.verifyAllShown();
        EXPECT_TRUE(boxes.shown().back().ends_with(c.message)) << boxes.shown().back();
        for (const char* file : c.absent) std::filesystem::rename(platform::ProgramPath(file) + "~", platform::ProgramPath(file));
    }
    factory->circle_selection_mode = 0;
    factory->camera->txt_cam->SetText("0");
    factory->camera->frame_store.Clear();
    name("B", "7");
    boxes.expectMessage("no frame of camera 0 has been read");
    factory->masks->cmd_set_select->Click();
    EXPECT_EQ(MaskRemovalText(DeleteMaskFiles()), "0 bin files and 0well files deleted") << "nothing was written";
}

TEST_F(WellMaskToolsTest, ResetAllAsksFirstAndDeletesTheMasksOfBothWindowsWhateverTheirCase)
{
    name("B", "7");
    factory->masks->cmd_set_select->Click();
    ASSERT_TRUE(written("B7"));
    for (const char* other : {"W96F_C0__A1.dat", "w96f_c0full__A1.DAT", "w96f_c0__A1.txt"}) test::WriteProgramFile(other, "x");
    boxes.expectMessage("are you sure to Reinicialize?", MsgResult::No);
    window->masks->cmd_reset_set->Click();
    EXPECT_TRUE(written("B7"));
    boxes.expectMessage("are you sure to Reinicialize?", MsgResult::Yes);
    boxes.expectMessage("2 bin files and 2well files deleted");
    window->masks->cmd_reset_set->Click();
    EXPECT_FALSE(platform::FileExists(platform::ProgramPath("w96f_c0__B7.dat")));
    EXPECT_TRUE(platform::FileExists(platform::ProgramPath("w96f_c0__A1.txt")));
}

}  // namespace
}  // namespace tirmo::plate
