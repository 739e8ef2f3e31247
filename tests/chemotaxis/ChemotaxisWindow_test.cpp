// The chemotaxis window as a user drives it after a MapPlot hand-over: the well list, stepping,
// playback, the processing and its stop.
#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QWidget>

#include <filesystem>
#include <fstream>

#include "chemotaxis/Frm_bmpexport.h"
#include "link/Session.h"
#include "platform/Clock.h"
#include "platform/Launcher.h"
#include "support/FakeClock.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/PictureBox.h"
#include "ui/Timer.h"

namespace tirmo::chemotaxis {
namespace {

namespace fs = std::filesystem;

class ChemotaxisWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        session.acquisition_folder = dir.path();
        platform::setLauncher([this](const std::vector<std::string>& argv, platform::ExitHandler) {
            launched.push_back(argv.back());
            return true;
        });
    }
    void TearDown() override
    {
        platform::setEventPump({});
        platform::setLauncher({});
    }
    // A frame file of A1 whose top-left pixel tells its number.
    void frame(int n)
    {
        fs::create_directories(dir.path() + "/1scans_images");
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(qRgb(n, 0, 0));
        image.save(QString::fromStdString(dir.path() + "/1scans_images/A1_000" + std::to_string(n) + ".bmp"), "BMP");
    }
    Frm_bmpexport* open(const std::string& format)
    {
        Frm_bmpexport* w = OpenChemotaxisWindow(&owner, session, format, {});
        w->Timer1->Tick();
        return w;
    }
    // The number of the frame shown, -1 for none (the picture's colours have red in the low byte).
    static int shownFrame(Frm_bmpexport* w)
    {
        const uint32_t colour = w->wellpicture->PixelAt(0, 0);
        return colour == 0xFFFFFF || colour == ui::kNoPixel ? -1 : int(colour & 0xFF);
    }

    test::TempFolder dir;
    test::ScriptedDialogs boxes;
    test::ScopedDialogs installed{boxes};
    test::FakeClock clock;
    link::Session session;
    QWidget owner;
    std::vector<std::string> launched;
};

TEST_F(ChemotaxisWindowTest, TheHandOverListsTheWellsOfThePlate)
{
    struct Case {
        const char* format;
        int count;
        const char* last;
    };
    frame(0);
    frame(3);
    for (const Case c : {Case{"w6", 6, "B3"}, Case{"p35", 6, "B3"}, Case{"w24", 24, "D6"}}) {
        Frm_bmpexport* w = open(c.format);
        EXPECT_TRUE(w->isVisible());
        EXPECT_FALSE(w->Timer1->Enabled()) << "one tick per hand-over";
        ASSERT_EQ(w->cmb_well->ListCount(), c.count) << c.format;
        EXPECT_EQ(w->cmb_well->List(1), "B1");
        EXPECT_EQ(w->cmb_well->List(c.count - 1), c.last) << c.format;
        EXPECT_EQ(w->cmb_well->Text(), "A1");
        EXPECT_EQ(w->txt_frame->Text(), "3");
        EXPECT_EQ(w->lbl_name->Caption(), dir.path());
    }
}

TEST_F(ChemotaxisWindowTest, StepsStayBetweenTheFirstAndTheLastFrame)
{
    struct Case {
        const char* from;
        bool forward;
        const char* to;
        int shown;  // -1: no frame shown
    };
    for (int n : {0, 1, 2, 3}) frame(n);
    Frm_bmpexport* w = open("w6");
    const Case cases[] = {
        {"1", false, "0", 0}, {"0", false, "0", -2}, {"2", true, "3", 3}, {"3", true, "3", -2},
        {"7", true, "7", -2}, {"7", false, "6", -1},
    };
    for (const Case& c : cases) {
        w->cmb_well_Click();
        w->txt_cframe->SetText(c.from);
        const int before = shownFrame(w);
        (c.forward ? w->cmd_mas : w->cmd_menos)->Click();
        EXPECT_EQ(w->txt_cframe->Text(), c.to) << c.from << (c.forward ? " >>" : " <<");
        EXPECT_EQ(shownFrame(w), c.shown == -2 ? before : c.shown) << c.from << (c.forward ? " >>" : " <<");
    }
}

TEST_F(ChemotaxisWindowTest, PlaybackShowsEachFrameOnceAndASecondClickStopsIt)
{
    struct Case {
        int stop_at;  // the frame shown when the user clicks again; -1 never
        std::vector<int> shown;
    };
    for (int n : {0, 1, 3}) frame(n);
    Frm_bmpexport* w = open("w6");
    for (const Case& c : {Case{-1, {0, 1, 3}}, Case{1, {0, 1}}}) {
        std::vector<int> shown;
        platform::setEventPump([&] {
            shown.push_back(shownFrame(w));
            if (shown.back() == c.stop_at) w->cmd_loop->Click();
        });
        const double slept = clock.sleptMs();
        w->cmd_loop->Click();
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(clock.sleptMs() - slept, 100.0 * double(c.shown.size())) << "missing frames cost no pause";
        EXPECT_FALSE(w->playback_active);
        EXPECT_EQ(w->cmd_loop->Caption(), "Play");
    }
}

TEST_F(ChemotaxisWindowTest, TheRawExportNeedsTheRawFrameFile)
{
    Frm_bmpexport* w = open("w6");
    for (const bool source : {false, true}) {
        if (source) {
            std::ofstream(dir.path() + "/lastread00.csv", std::ios::binary) << "x,,,1,,,2\r\n";
            boxes.expectMessage("done");
        }
        launched.clear();
        w->mn_export_rawbmp->trigger();
        boxes.verifyAllShown();
        EXPECT_EQ(fs::exists(dir.path() + "/bmp_last/1.csv"), source);
        EXPECT_EQ(launched, source ? std::vector<std::string>{dir.path() + "/bmp_last/"} : std::vector<std::string>{});
    }
}

TEST_F(ChemotaxisWindowTest, ProcessingOpensTheReportUnlessItIsStopped)
{
    std::string scans;
    for (int s = 0; s < 3; ++s)
        scans += "scan," + std::to_string(s) + "\r\ntime[m],\"" + std::to_string(s) + ".0\"\r\nA1,0,0,9,0\r\nA1,1,0,-4,0\r\n\r\n";
    std::ofstream(dir.path() + "/wellactivity00.csv", std::ios::binary) << scans;
    Frm_bmpexport* w = open("w6");

    struct Case {
        bool stop;
        int reports;
    };
    for (const Case c : {Case{true, 0}, Case{false, 1}}) {
        platform::setEventPump([&] {
            EXPECT_EQ(w->cmd_process->Caption(), "Stop processing");
            if (c.stop) w->cmd_process->Click();
        });
        if (!c.stop) boxes.expectMessage("ok process");
        launched.clear();
        w->cmd_process->Click();
        boxes.verifyAllShown();
        EXPECT_EQ(w->cmd_process->Caption(), "Process Files");
        EXPECT_FALSE(w->processing);
        EXPECT_EQ(launched.size(), size_t(c.reports));
        EXPECT_EQ(fs::exists(dir.path() + "/1scans_images/A1_0002.bmp"), !c.stop);
        EXPECT_TRUE(fs::exists(dir.path() + "/1scans_images/A1_0000.bmp"));
        EXPECT_EQ(w->txt_frame->Text(), "2");
        const std::string note = "3 negative pixel counts read as no activity";
        EXPECT_EQ(w->txt_status->Text(), c.stop ? note : "Report: " + launched.at(0) + " (" + note + ")");
    }
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_NE(launched[0].find("_report.csv"), std::string::npos);
    platform::setEventPump({});  // the pump above looks at the loop's case, gone by now

    // The red-cross box decides whether the frames carry the block's red middle lines.
    for (const int ticked : {1, 0}) {
        w->chk_redcross->SetValue(ticked);
        boxes.expectMessage("ok process");
        w->cmd_process->Click();
        const QImage frame(QString::fromStdString(dir.path() + "/1scans_images/A1_0000.bmp"));
        int red = 0;
        for (int y = 0; y < frame.height(); ++y)
            for (int x = 0; x < frame.width(); ++x) red += (frame.pixel(x, y) & 0xFFFFFF) == (qRgb(255, 0, 0) & 0xFFFFFF);
        EXPECT_EQ(red > frame.height(), ticked == 1) << red;
    }
}

}  // namespace
}  // namespace tirmo::chemotaxis
