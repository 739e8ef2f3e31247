#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <QApplication>

#include "platform/ConfigFiles.h"
#include "link/Session.h"
#include "app/SignalClose.h"
#include "link/CommPort.h"
#include "platform/ProgramFolder.h"
#include "support/AppFixture.h"
#include "support/LinkFixture.h"
#include "ui/Controls.h"

namespace tirmo::app {
namespace {

class ShutdownTest : public test::AppFixture {
protected:
    void connect()
    {
        attachSimulator(4, 57);
        window->ConnectDevice();
        ASSERT_TRUE(window->session().port_open);
        sim->clearLog();
    }
};

TEST_F(ShutdownTest, LeavesTheInstrumentAtRestInOrderAndClosesTheLink)
{
    connect();
    useFakeClock();
    test::WriteRecorder recorder;
    window->project->current_project = "screen_a";
    window->close();
    EXPECT_TRUE(window->unloaded);
    EXPECT_EQ(frameList(), (std::vector<std::string>{"T,1,0", "T,2,0", "T,15,0", "C,6,0"}));
    ASSERT_EQ(recorder.writes.size(), 3u + 5u) << "three whole frames, then the camera select byte by byte";
    for (size_t i = 4; i < recorder.writes.size(); ++i)
        EXPECT_GE(recorder.writes[i].atMs - recorder.writes[i - 1].atMs, 15.0);
    EXPECT_GE(recorder.writes[1].atMs - recorder.writes[0].atMs, 10.0);
    EXPECT_FALSE(window->session().port_open);
    EXPECT_FALSE(link::CommIsOpen(4));
    EXPECT_EQ(readFile("reports/pj_sn57.dat"), "screen_a\r\n");
    EXPECT_NE(readFile("config.txt").find("\"COM=4\""), std::string::npos);
}

// On the first or the last port the start-up's search tries as on any other: found, then closed.
TEST_F(ShutdownTest, ClosesTheLinksOwnSlotWhateverThePortBoxSays)
{
    useFakeClock();
    for (const int slot : {4, 1, 15}) {
        SCOPED_TRACE(slot);
        restartProgram();
        attachSimulator(slot, 57);
        window->ConnectDevice();
        ASSERT_EQ(std::pair(window->session().port_open, window->session().port_slot), std::pair(true, slot));
        window->txtcom->SetText("9");
        window->Form_Unload();
        EXPECT_FALSE(link::CommIsOpen(slot) || window->session().port_open);
        EXPECT_NE(readFile("config.txt").find("\"COM=9\""), std::string::npos);
        ::setenv(("TIRMO_COM" + std::to_string(slot)).c_str(), "", 1);
    }
}

TEST_F(ShutdownTest, OfflineShutdownStillSavesTheRecords)
{
    window->offline_mode = true;
    window->project->current_project = "default_project";
    window->Form_Unload();
    EXPECT_EQ(readFile("reports/pj_sn0.dat"), "default_project\r\n");
    EXPECT_FALSE(readFile("config.txt").empty());
    EXPECT_EQ(window->txt_status->Text(), "COMPORT not opened. Click Connect");
}

TEST_F(ShutdownTest, AFailingStepDoesNotSkipTheDeviceSteps)
{
    connect();
    // The reports folder cannot hold the last-project file: a file stands where the folder should be.
    std::filesystem::remove_all(platform::ProgramPath("reports"));
    std::ofstream(platform::ProgramPath("reports")) << "not a folder";
    window->Form_Unload();
    EXPECT_EQ(frameList(), (std::vector<std::string>{"T,1,0", "T,2,0", "T,15,0", "C,6,0"}));
}

TEST_F(ShutdownTest, TerminationSignalClosesTheWindowLikeItsCloseBox)
{
    connect();
    window->show();
    CloseOnTerminationSignals(window.get());
    ::raise(SIGTERM);
    for (int i = 0; i < 100 && !window->unloaded; ++i) QApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_TRUE(window->unloaded);
    EXPECT_FALSE(link::CommIsOpen(4));
    std::signal(SIGTERM, SIG_DFL);
}

// ---------------------------------------------------------------- camera mask and copies

class CameraMaskTest : public test::AppFixture {};

TEST_F(CameraMaskTest, OnlyAZeroTakesACameraOutOfUse)
{
    const std::string path = folder.path() + "/camconf.dat";
    auto readWith = [&](const std::string& content) {
        std::ofstream(path, std::ios::binary) << content;
        window->ReadCameraMask(path);
        std::string s;
        for (int i = 0; i < 6; ++i) s += window->session().run_settings.CameraInUse(i) ? '1' : '0';
        return s;
    };
    EXPECT_EQ(readWith("101111\r\n"), "101111");
    EXPECT_EQ(readWith("1\r\n"), "111111");
    EXPECT_EQ(readWith("x0"), "101111");
    EXPECT_EQ(readWith(""), "111111");
    EXPECT_EQ(readWith(std::string("\0\xff\x30\n", 4)), "110111");
    std::filesystem::remove(path);
    EXPECT_EQ(readWith("000000"), "000000");
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);  // unreadable as a file
    window->ReadCameraMask(path);
    for (int i = 0; i < 6; ++i) EXPECT_TRUE(window->session().run_settings.CameraInUse(i));
}

TEST_F(CameraMaskTest, MaskIsWrittenPerInstrumentOrInConfig)
{
    EXPECT_EQ(platform::CameraMaskPath(0), platform::ProgramPath("config/camconf.dat"));
    EXPECT_EQ(platform::CameraMaskPath(12), platform::ProgramPath("config_SN12/camconf.dat"));
    platform::MakeFolder(platform::ProgramPath("config"));
    window->session().run_settings.SetCameraInUse(2, false);
    window->session().run_settings.SetCameraInUse(4, false);
    window->WriteCameraConfig(platform::CameraMaskPath(0));
    EXPECT_EQ(readFile("config/camconf.dat"), "110101\r\n");
}

TEST_F(CameraMaskTest, CopyTextFileEndsEveryLineWithCrLf)
{
    std::ofstream(folder.path() + "/src.txt", std::ios::binary) << "a\nb";
    EXPECT_TRUE(platform::CopyTextFile(folder.path() + "/src.txt", folder.path() + "/dst.txt"));
    EXPECT_EQ(readFile("dst.txt"), "a\r\nb\r\n");
    std::ofstream(folder.path() + "/empty.txt", std::ios::binary) << "";
    EXPECT_TRUE(platform::CopyTextFile(folder.path() + "/empty.txt", folder.path() + "/dst.txt"));
    EXPECT_EQ(readFile("dst.txt"), "");
    EXPECT_FALSE(platform::CopyTextFile(folder.path() + "/missing.txt", folder.path() + "/dst.txt"));
}

}  // namespace
}  // namespace tirmo::app
