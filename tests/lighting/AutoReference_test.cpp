#include <gtest/gtest.h>

#include <ctime>
#include <fstream>
#include <iterator>
#include <sstream>

#include "lighting/AutoReference.h"
#include "support/TempFolder.h"
#include "support/FakeClock.h"

namespace tirmo::lighting {
namespace {

// A window that records what the round asks of it: cameras with a number of windows, frames
// given per (camera, window) and read, and a Stop after a chosen step.
class FakeRoundHost : public AutoReferenceHost {
public:
    bool CameraInUse(int camera) const override { return inUse[size_t(camera)]; }
    int WindowCount(int camera) const override { return windows[size_t(camera)]; }
    bool DummyMode() const override { return dummy; }
    bool StopRequested() override { return stopAt >= 0 && int(steps.size()) >= stopAt; }
    void BeginRound() override { steps.push_back("begin"); }
    void ShowCamera(int camera) override { steps.push_back("cam" + std::to_string(camera)); }
    void ShowRunSettings() override {}
    LedCalibrationOutcome CalibrateLedPower(int camera) override
    {
        steps.push_back("calibrate" + std::to_string(camera));
        return {};
    }
    void ApplyLedPower(int camera) override { steps.push_back("apply" + std::to_string(camera)); }
    RoundWindow ApplyCameraWindow(int camera, int window) override
    {
        steps.push_back("window" + std::to_string(camera) + std::to_string(window));
        return {6, 141, 18 + window, 172, pixelCount};
    }
    std::string ReadCameraScan(int camera, int window) override
    {
        steps.push_back("scan" + std::to_string(camera) + std::to_string(window));
        return scan(camera, window, ++scans);
    }
    void DrawCalibrationWellGrid(int, int, const std::string&) override { ++draws; }
    CentringReport CentreLedMap(int camera, int, const std::string&) override
    {
        steps.push_back("centre");
        map.power[0] = 7 + camera;  // the centring's change shows in the second power line
        return {};
    }
    bool WriteLedPower() override
    {
        steps.push_back("save");
        return true;
    }
    const LedMap& Map() const override { return map; }
    void Status(const std::string& text) override { statuses.push_back(text); }
    void EndRound() override { steps.push_back("end"); }
    int RandomGrey() override { return 300; }  // out of range: the frame must still hold bytes 0..255

    std::array<bool, 6> inUse{};
    std::array<int, 6> windows{1, 1, 1, 1, 1, 1};
    bool dummy = false;
    long pixelCount = 4;
    int stopAt = -1;
    int scans = 0;
    int draws = 0;
    std::function<std::string(int camera, int window, int n)> scan = [](int, int, int) { return std::string("\x01\x02\xff\x00", 4); };
    LedMap map;
    std::vector<std::string> steps, statuses;
};

std::vector<std::string> fileLines(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    std::vector<std::string> out;
    size_t at = 0;
    for (size_t end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2) out.push_back(text.substr(at, end - at));
    EXPECT_EQ(at, text.size()) << "every line ends with CR LF";
    return out;
}

std::string powers(int first)
{
    std::string s = "\"led_power\"," + std::to_string(first);
    for (int led = 1; led < kLedCount; ++led) s += ",0";
    return s;
}

std::chrono::system_clock::time_point localTime(int year, int month, int day, int hour, int minute)
{
    return test::LocalTime(year, month, day, hour, minute, 0);
}

TEST(AutoReferenceRound, ResultsFileNameIsYearDayOfYearMonthDayHourMinute)
{
    EXPECT_EQ(CalibrationResultsName(localTime(2026, 12, 7, 9, 5)), "2634112070905_calibration.csv");
    EXPECT_EQ(CalibrationResultsName(localTime(2027, 1, 5, 23, 59)), "2750105" "2359_calibration.csv");
    EXPECT_EQ(CalibrationResultsName(localTime(2024, 12, 31, 0, 0)), "243661231" "0000_calibration.csv") << "leap year";
}

TEST(AutoReferenceRound, EachUsableWindowGetsItsFiveLinesInCameraAndWindowOrder)
{
    test::TempFolder folder;
    FakeRoundHost host;
    host.inUse = {false, true, false, true, false, false};
    host.windows[3] = 2;
    // Camera 3 window 0: the first scan only settles; its second scan failed: no lines for it.
    host.scan = [](int camera, int window, int n) {
        if (camera == 3 && window == 0 && n == 5) return std::string("Error");
        return std::string("\x01\x02\xff\x00", 4);
    };
    const AutoReferenceOutcome out = AutoCalibrateCameras(host, folder.path(), localTime(2026, 12, 7, 9, 5));
    EXPECT_FALSE(out.stopped);
    EXPECT_TRUE(out.fileWritten);
    EXPECT_EQ(out.windows, 2);
    EXPECT_EQ(out.path, folder.path() + "/2634112070905_calibration.csv");
    const std::string window1 = "\"X:\",6,141,\" Y:\",18,172", window2 = "\"X:\",6,141,\" Y:\",19,172";
    const std::string frame = ",1,2,255,0";
    EXPECT_EQ(fileLines(out.path),
              (std::vector<std::string>{"\"Calibration Results:\"", window1, powers(0), "\"C1R0\"" + frame, powers(8),
                                        "\"C1R0\"" + frame, window2, powers(8), "\"C3R1\"" + frame, powers(10),
                                        "\"C3R1\"" + frame}));
    EXPECT_EQ(host.steps,
              (std::vector<std::string>{"begin", "cam1", "calibrate1", "apply1", "window10", "scan10", "scan10", "centre",
                                        "save", "apply1", "scan10", "cam3", "calibrate3", "apply3", "window30", "scan30",
                                        "scan30", "window31", "scan31", "scan31", "centre", "save", "apply3", "scan31",
                                        "end"}));
    EXPECT_EQ(host.draws, 4);
}

TEST(AutoReferenceRound, NoCameraInUseLeavesOnlyTheTitle)
{
    test::TempFolder folder;
    FakeRoundHost host;
    const AutoReferenceOutcome out = AutoCalibrateCameras(host, folder.path(), localTime(2026, 1, 1, 0, 0));
    EXPECT_EQ(fileLines(out.path), (std::vector<std::string>{"\"Calibration Results:\""}));
    EXPECT_EQ(host.steps, (std::vector<std::string>{"begin", "end"}));
}

TEST(AutoReferenceRound, DummyFramesHoldTheWholeWindowAndTheSecondFrameLineOnlyItsItem)
{
    test::TempFolder folder;
    FakeRoundHost host;
    host.inUse[0] = true;
    host.dummy = true;
    host.pixelCount = 155 * 135;  // window_pixel_count of a w6 window
    const AutoReferenceOutcome out = AutoCalibrateCameras(host, folder.path(), localTime(2026, 1, 1, 0, 0));
    const auto lines = fileLines(out.path);
    ASSERT_EQ(lines.size(), 6u);
    std::stringstream items(lines[3]);
    std::string item;
    long values = -1;
    while (std::getline(items, item, ',')) {
        if (values >= 0) {
            EXPECT_EQ(item, "255");  // the random grey kept within 0..255
        }
        ++values;
    }
    EXPECT_EQ(values, host.pixelCount);
    EXPECT_EQ(lines[5], "\"C0R0\"");
    EXPECT_EQ(host.scans, 0) << "no frame is asked of the camera in dummy mode";
}

TEST(AutoReferenceRound, AStopAtAnyCheckEndsTheRoundKeepingTheLinesWritten)
{
    // The steps the full round of one camera with one window takes; stopping after each of them.
    const std::vector<std::string> full{"begin", "cam0", "calibrate0", "apply0", "window00", "scan00", "scan00",
                                        "centre", "save", "apply0", "scan00", "end"};
    for (int stopAt = 1; stopAt < int(full.size()) - 1; ++stopAt) {
        SCOPED_TRACE(stopAt);
        test::TempFolder folder;
        FakeRoundHost host;
        host.inUse[0] = true;
        host.stopAt = stopAt;
        const AutoReferenceOutcome out = AutoCalibrateCameras(host, folder.path(), localTime(2026, 1, 1, 0, 0));
        EXPECT_TRUE(out.stopped);
        EXPECT_NE(host.steps.back(), "end") << "a stopped round does not wait at its end";
        EXPECT_LE(host.steps.size(), size_t(stopAt + 1)) << "at most the step that was already under way";
        const auto lines = fileLines(out.path);
        EXPECT_EQ(lines.front(), "\"Calibration Results:\"");
        EXPECT_TRUE(lines.size() == 1 || lines.size() == 4 || lines.size() == 6) << lines.size();
    }
}

TEST(AutoReferenceRound, AResultsFileThatCannotBeCreatedIsSaidButTheRoundStillRuns)
{
    FakeRoundHost host;
    host.inUse[0] = true;
    const AutoReferenceOutcome out = AutoCalibrateCameras(host, "/nonexistent/folder", localTime(2026, 1, 1, 0, 0));
    EXPECT_FALSE(out.fileWritten);
    ASSERT_FALSE(host.statuses.empty());
    EXPECT_NE(host.statuses.front().find("calibration results file"), std::string::npos);
    EXPECT_EQ(host.steps.back(), "end");
}

// Grid dots: camera 0 of a 2 x 3 plate with two column bands (one of no width) and its row band.
TEST(AutoReferenceGrid, DotsFollowTheWellsAndBandsOfNoWidthDrawNothing)
{
    plate::ColumnBands columns;
    plate::RowBands rows;
    columns.first[0] = 0;
    columns.last[0] = 1;
    columns.start[0][0] = 10;
    columns.end[0][0] = 20;
    columns.start[0][1] = 20;
    columns.end[0][1] = 20;  // no width
    rows.first[0] = 1;
    rows.last[0] = 1;
    rows.start[0][0] = 50;
    rows.end[0][0] = 55;
    const std::string frame("\x10\x20\x30\x40", 4);
    CentringWindow window;
    window.camera = 0;
    window.window = 0;
    window.frame = frame;
    window.pixelCount = 6;  // two pixels beyond the frame's end are not read
    window.place = [](long p) {
        if (p == 1) return PixelPlace{1, 5, 0};   // column band 0, well 0 x 2 + 1
        if (p == 2) return PixelPlace{3, 0, 0};   // column band 1 (no width)
        if (p == 3) return PixelPlace{-1, 0, 0};  // no well
        return PixelPlace{1, 10, 5};
    };
    const CentringPlate plate{"w6", 2, columns, rows};
    const auto dots = CalibrationGridDots(plate, window, 2, 3);
    ASSERT_EQ(dots.size(), 2u);
    EXPECT_DOUBLE_EQ(dots[0].x, 5.0 / 10 * 100 / 3);
    EXPECT_DOUBLE_EQ(dots[0].y, 125);
    EXPECT_EQ(dots[0].grey, 0x10);
    EXPECT_DOUBLE_EQ(dots[1].x, 100.0 / 3);
    EXPECT_DOUBLE_EQ(dots[1].y, 250);
    EXPECT_EQ(dots[1].grey, 0x40);

    EXPECT_TRUE(CalibrationGridDots(plate, window, 0, 0).empty()) << "a text that is no format";
    rows.end[0][0] = 50;  // a row band of no width
    EXPECT_TRUE(CalibrationGridDots(plate, window, 2, 3).empty());
}

}  // namespace
}  // namespace tirmo::lighting
