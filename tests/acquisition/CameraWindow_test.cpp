#include <gtest/gtest.h>

#include <vector>

#include "acquisition/CameraWindow.h"
#include "acquisition/RunGeometryFixture.h"
#include "acquisition/RunPreparation.h"

namespace tirmo::acquisition {
namespace {

class RecordingDevices : public RunDevices {
public:
    void SendLightPulse(int level) override { levels.push_back(level); }
    void ApplyCameraSettings(const CameraWindowGeometry& window) override { applied.push_back(window); }
    std::vector<int> levels;
    std::vector<CameraWindowGeometry> applied;
};

TEST(CameraWindow, DefaultWindowsGiveTheirBoxesAndPixelCount)
{
    struct Case {
        const char* format;
        int camera, window;
        int xini, xfin, yini, yfin, lines, pix, count;
    };
    const Case cases[] = {
        {"w6", 0, 0, 5, 140, 18, 173, 136, 156, 156 * 135},
        {"w24", 4, 1, 5, 142, 13, 93, 138, 81, 81 * 137},
        {"w24", 4, 0, 5, 142, 93, 173, 138, 81, 81 * 137},
        {"w48", 1, 1, 5, 141, 13, 93, 137, 81, 81 * 136},  // four column slots, two windows
    };
    for (const Case& c : cases) {
        test::DefaultPlate plate(c.format);
        const CameraWindowGeometry g = WindowGeometry(plate.geometry, c.camera, c.window);
        EXPECT_EQ(g.xini, c.xini) << c.format;
        EXPECT_EQ(g.xfin, c.xfin) << c.format;
        EXPECT_EQ(g.yini, c.yini) << c.format;
        EXPECT_EQ(g.yfin, c.yfin) << c.format;
        EXPECT_EQ(g.lines, c.lines) << c.format;
        EXPECT_EQ(g.pix, c.pix) << c.format;
        EXPECT_EQ(g.window_pixel_count, c.count) << c.format << ": one line fewer than lines x pix";
        EXPECT_EQ(g.line_width, c.pix);
    }
}

TEST(CameraWindow, SetUpClearsTheWindowTablesAndSendsTheCameraUnlessInDummyMode)
{
    test::DefaultPlate plate("w24");
    RunTables tables;
    ASSERT_TRUE(PrepareAcquisition(plate.geometry, PreparationSettings{2, 20, 30}, tables).ok());
    WindowTables window;
    window.pixel_events.assign(5, 7);

    for (bool dummy : {false, true}) {
        RecordingDevices devices;
        window.pixel_activity.assign(3, 9);
        const CameraWindowGeometry g = SetCameraWindow(tables, window, 2, 1, dummy, devices);
        EXPECT_EQ(window.camera_index, 2);
        EXPECT_EQ(window.window_index, 1);
        EXPECT_EQ(window.window_pixel_count, 81 * 137);
        EXPECT_EQ(window.frame_history.pixel_count(), 81 * 137);
        ASSERT_EQ(window.pixel_events.size(), size_t(81 * 137 + 1));
        ASSERT_EQ(window.pixel_activity.size(), size_t(81 * 137 + 1));
        EXPECT_EQ(window.pixel_events[0], 0);
        EXPECT_EQ(window.pixel_activity[2], 0);
        EXPECT_EQ(g.yini, 13);
        if (dummy) {
            EXPECT_TRUE(devices.applied.empty()) << "dummy mode sends nothing";
        } else {
            ASSERT_EQ(devices.applied.size(), 1u);
            EXPECT_EQ(devices.applied[0].camera, 2);
            EXPECT_EQ(devices.applied[0].yfin, 93);
        }
        EXPECT_TRUE(devices.levels.empty());
    }
}

}  // namespace
}  // namespace tirmo::acquisition
