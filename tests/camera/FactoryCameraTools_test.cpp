// The factory window's camera tools, full frames, pictures and live view against the simulator.
#include <gtest/gtest.h>

#include <QImage>

#include "camera/CameraWindowFixture.h"
#include "camera/FrameTransfer.h"
#include "platform/Clock.h"
#include "platform/Convert.h"
#include "platform/Launcher.h"
#include "platform/ProgramFolder.h"
#include "support/FakeClock.h"
#include "support/TempFolder.h"
#include "ui/Controls.h"
#include "ui/PictureBox.h"

namespace tirmo::camera {
namespace {

using ui::MsgResult;

class FactoryCameraToolsTest : public test::CameraWindowFixture {
protected:
    void SetUp() override
    {
        CameraWindowFixture::SetUp();
        platform::SetProgramFolder(folder.path());
        tools = factoryWindow().camera.get();
        sim->clearLog();
    }
    void TearDown() override
    {
        platform::setLauncher({});
        platform::setEventPump({});
        CameraWindowFixture::TearDown();
    }
    test::FakeClock clock;
    test::TempFolder folder;
    FactoryCameraTools* tools = nullptr;
};

TEST_F(FactoryCameraToolsTest, RegisterWriteSendsTwoWellFormedFramesOrNothing)
{
    struct Case {
        const char *reg, *value;
        MsgResult answer;
        const char* message;  // after the question; empty for none
        std::vector<std::string> frames;
    } cases[] = {
        {"201", "7", MsgResult::Ok, "", {"c,201,7", "c,201,7"}},
        {"0", "255", MsgResult::Ok, "", {"c,0,255", "c,0,255"}},
        {"202", "7", MsgResult::Ok, "Invalid register number", {}},
        {"201", "7", MsgResult::Cancel, "", {}},
        {"12", "256", MsgResult::Ok, "error", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.reg) + "=" + c.value);
        sim->clearLog();
        tools->txt_ov1->SetText(c.reg);
        tools->txt_ov2->SetText(c.value);
        boxes.expectMessage("Sure to write ov7670?", c.answer);
        if (*c.message) boxes.expectMessage(c.message);
        tools->cmd_ov7670->Click();
        sim->settle();
        EXPECT_EQ(frameList(), c.frames);
        boxes.verifyAllShown();
    }
    EXPECT_EQ(factory->txt_in->Text(), "c;0;255");
}

TEST_F(FactoryCameraToolsTest, PutCameraAndIdentificationSendTheirFramesOnceAndTheOverlayToggles)
{
    tools->cmd_putcamera->Click();
    sim->settle();
    EXPECT_EQ(frameList(), (std::vector<std::string>{"C,0,42"})) << "answered at once: sent once";
    EXPECT_EQ(factory->txt_in->Text(), std::string("C;0;0"));

    sim->clearLog();
    sim->with([](sim::SimState& s) { return s.identification = 0x0102; });
    tools->cmd_mnid->Click();
    sim->settle();
    EXPECT_EQ(frameList(), (std::vector<std::string>{"I,0,0"}));
    EXPECT_EQ(factory->txt_in->Text(), "in:I;1;2");
    EXPECT_EQ(factory->txt_status->Text(), "Serial Number = SN258");
    for (const char* caption : {"setON", "setOFF"}) EXPECT_EQ((tools->cmdset->Click(), tools->cmdset->Caption()), caption);
    EXPECT_FALSE(tools->grid_overlay);
}

TEST_F(FactoryCameraToolsTest, RawConsoleReadsAWindowBlockByTheTransferLengthRule)
{
    // 10 lines of 20 pixels and 2 extra bytes: (20 + 2) x 10 + 1 bytes, whatever the window says.
    tools->txt_lines->SetText("10");
    tools->txt_pix->SetText("20");
    tools->txt_crc->SetText("2");
    sim->with([](sim::SimState& s) { return s.cameras.windows[0] = sim::SimWindow{0, 9, 0, 21}; });
    // The frame, then its mode again as the last character: the reply is read as a window.
    sim->allowUnframedBytes(true);
    tools->txtprogram->SetText(CameraRequest(0, '+') + "+");
    tools->cmd_transmit->Click();
    EXPECT_EQ(factory->lbl_lenrx->Caption(), "LEN(Rx) = 221");
    const std::string block = sim->with([](sim::SimState& s) { return s.cameras.lastBlock; });
    EXPECT_EQ(tools->frame_store.Value(0, 0, 21), (unsigned char)block[0]) << "line 0, first byte at the line's end";
    EXPECT_EQ(tools->frame_store.Value(0, 9, 3), (unsigned char)block[22 * 9 + 18]);

    // A line count beyond the frame table sends nothing.
    sim->clearLog();
    tools->txt_lines->SetText("400");
    tools->cmd_transmit->Click();
    sim->settle();
    EXPECT_TRUE(frameList().empty());
}

// Each after a refused read, whose message and any "Reading..." it replaces.
TEST_F(FactoryCameraToolsTest, FullAndHalfFramesSetTheCountsAndReadAGoodBlock)
{
    struct Case {
        int half;
        const char *lines, *pix, *mode;
        std::string length;
        std::function<void()> refuse; std::string says;
    } cases[] = {{0, "143", "183", "+", "26170", [&] { session.port_open = false, factory->Command_fullframe->Click(); }, link::kNotConnected},
                 {1, "72", "92", "-", "6625", [&] { tools->txt_lines->SetText("400"), tools->cmd_transmit->Click(); }, WindowTooLargeText(400, 183)}};
    for (const Case& c : cases) {
        c.refuse();
        EXPECT_EQ(factory->txt_status->Text() + (factory->lbl_lenrx->Caption() == "Reading..." ? " Reading..." : ""), c.says);
        session.port_open = true, tools->chk_halfpixel->SetValue(c.half);
        factory->Command_fullframe->Click();
        EXPECT_EQ(factory->txt_status->Text(), "") << c.mode;
        EXPECT_EQ(tools->txt_lines->Text(), c.lines);
        EXPECT_EQ(tools->txt_pix->Text(), c.pix);
        EXPECT_EQ(tools->txtprogram->Text(), c.mode);
        EXPECT_EQ(factory->lbl_lenrx->ForeColor(), ui::colour::Black) << c.mode;
        EXPECT_EQ(factory->lbl_lenrx->Caption().find("LEN(Rx) = " + c.length + "/" + c.length + " "), 0u);
    }
}

TEST_F(FactoryCameraToolsTest, AnExportedFrameIsAPictureNamedByTheStampAndOpenedAsOneArgument)
{
    std::vector<std::vector<std::string>> launched;
    platform::setLauncher([&](const std::vector<std::string>& argv, platform::ExitHandler) {
        launched.push_back(argv);
        return true;
    });
    session.dummy_mode = 1;
    factory->Picact->SetPixelSize(143, 183);
    tools->chk_exportbmp->SetValue(1);
    ASSERT_FALSE(platform::FolderExists(platform::ProgramPath("bmp_exp")));
    factory->Command_fullframe->Click();
    const std::string path = platform::ProgramPath("bmp_exp/c0_" + platform::FormatDate(platform::WallNow(), "yyyymmddhhmmss") + ".bmp");
    const QImage saved(QString::fromStdString(path));
    ASSERT_FALSE(saved.isNull()) << path;
    ASSERT_EQ(saved.size(), factory->Picact->image().size());
    for (int y = 0; y < saved.height(); y += 7)
        for (int x = 0; x < saved.width(); x += 5) ASSERT_EQ(saved.pixel(x, y), factory->Picact->image().pixel(x, y)) << x << "," << y;
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0].back(), path);
    EXPECT_EQ(launched[0].size(), 2u) << "the program and the path, nothing split";

    // A bad last read marks the name.
    factory->lbl_lenrx->SetForeColor(ui::colour::Red);
    factory->Command_fullframe->Click();
    EXPECT_TRUE(platform::FileExists(platform::ProgramPath(
        "bmp_exp/c0_" + platform::FormatDate(platform::WallNow(), "yyyymmddhhmmss") + "b.bmp")));
}

TEST_F(FactoryCameraToolsTest, TheLiveViewEndsWhenUntickedPressedAgainOrClosedAndNeverNests)
{
    session.dummy_mode = 1;
    struct Case {
        const char* what;
        std::function<void()> act;
        const char* caption;  // unticking the box sets its own caption
    } cases[] = {
        {"unticked", [&] { tools->chk_video->SetValue(0); }, "Full_frame"},
        {"pressed again", [&] { factory->Command_fullframe->Click(); }, "Video=ON"},
        {"window closed", [&] { factory->close(); }, "Video=ON"},
    };
    for (const Case& c : cases) {
        tools->chk_video->SetValue(1);
        int pumps = 0, grabs = 0;
        // Each grab writes its mode into txtprogram; the view yields once after each grab.
        platform::setEventPump([&] {
            grabs += tools->txtprogram->Text() == "+";
            tools->txtprogram->SetText("");
            if (++pumps == 2) c.act();
        });
        factory->Command_fullframe->Click();
        EXPECT_EQ(grabs, 2) << c.what;
        EXPECT_EQ(tools->txtprogram->Text(), "") << c.what << ": no grab after the test";
        EXPECT_FALSE(tools->VideoRunning()) << c.what;
        EXPECT_EQ(factory->Command_fullframe->Caption(), c.caption) << c.what;
    }
}

}  // namespace
}  // namespace tirmo::camera
