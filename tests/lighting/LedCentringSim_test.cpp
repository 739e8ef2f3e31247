#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "link/Session.h"
#include "camera/CameraCommands.h"
#include "camera/CameraSelect.h"
#include "camera/FrameTransfer.h"
#include "lighting/LedCentring.h"
#include "lighting/LedCommands.h"
#include "lighting/LedPowerApply.h"
#include "lighting/LedTestMaps.h"
#include "plate/BandFiles.h"
#include "platform/ProgramFolder.h"
#include "sim/SimLitPlate.h"
#include "support/FakeClock.h"
#include "support/LinkFixture.h"
#include "support/TempFolder.h"

namespace tirmo::lighting {
namespace {

constexpr double kGreyPerPower = 25;
constexpr int kStartPower = 6;

// The centring of "w6" wells on the simulated plate: the real band files, the window fetched
// through the run's transfer, the powers saved and sent back as the round does.
class CentringOnPlateTest : public ::tirmo::test::LinkFixture {
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        platform::SetProgramFolder(folder.path());
        session.hardware_generation = 2;
        ASSERT_TRUE(WriteLedSetup2File("\\config"));
        ASSERT_TRUE(plate::WriteW6ColumnFile("\\config"));
        ASSERT_TRUE(plate::WriteW6RowFile("\\config"));
        plate::ReadBandFile(plate::ColumnFilePath("config", "w6"), columns);
        plate::ReadBandFile(plate::RowFilePath("config", "w6"), rows);
        LoadLedTables(map, platform::ProgramPath("config/ldsetup2.dat"), "config");
        map.power.fill(kStartPower);
        // Each LED of a 9 x 7 block lights its share of its camera's well: colcam 1..4 the first
        // half of the column band, 5..9 the second; filcam 1..4 and 5..7 the halves of the row band.
        std::vector<sim::SimLed> leds;
        for (int led = 0; led < kLedCount; ++led) {
            const test::Rect r = test::W6LedRect(map.colcam[size_t(led)], map.filcam[size_t(led)]);
            if (r.x1 >= 0) leds.push_back({led, map.camera[size_t(led)], r.x1, r.x2, r.y1, r.y2});
        }
        wells = sim::DefaultWells("w6");
        plateSource = sim->with([&](sim::SimState& s) { return sim::InstallLitPlate(s, wells, leds, kGreyPerPower); });
        SendAllLedPower(kStartPower, console);
    }

    // The window of the camera's one well row, fetched and cut to its well columns.
    std::string fetchWindow(int camera)
    {
        const int xini = columns.startOf(camera, 0), xfin = columns.endOf(camera, 0);
        const int yini = 183 - rows.endOf(camera, 0), yfin = 183 - rows.startOf(camera, 0);
        camera::SelectCamera(std::to_string(camera), console);
        camera::SendWindowPair('y', xini, xfin, console);
        camera::SendWindowPair('x', yini, yfin, console);
        const auto fetch = camera::FetchWindowBlock(camera, yfin - yini + 1, xfin - xini + 1, console, {});
        EXPECT_EQ(fetch.outcome, camera::BlockFetch::Outcome::Good);
        return camera::ExtractWellColumns(fetch.block, columns, rows, camera, 0);
    }

    // The run's pixel map of that window: pixel p is line (p - 1) div W of the column band and
    // pixel (p - 1) mod W of the line, W the row band's width; the row offset counts from the
    // band's start, which the mirrored window sends last. Pixels outside the well's disc are in
    // no well.
    CentringWindow windowOf(int camera, const std::string& frame)
    {
        const int w = rows.endOf(camera, 0) - rows.startOf(camera, 0) + 1;
        const int lineStart = columns.startOf(camera, 0), rowEnd = rows.endOf(camera, 0);
        const int rowStart = rows.startOf(camera, 0);
        const int well = columns.first[size_t(camera)] * 2 + rows.first[size_t(camera)];
        const sim::SimWell disc = wellOf(camera);
        CentringWindow window;
        window.camera = camera;
        window.window = 0;
        window.frame = frame;
        window.pixelCount = long(w) * (columns.endOf(camera, 0) - lineStart);
        window.place = [=](long p) {
            const int t = int((p - 1) / w), i = int((p - 1) % w);
            const int line = lineStart + t, y = rowEnd - i, pixel = 183 - y;
            PixelPlace at;
            at.columnOffset = t;
            at.rowOffset = y - rowStart;
            at.well = std::hypot(line - disc.line, pixel - disc.pixel) <= disc.radius ? well : -1;
            return at;
        };
        return window;
    }

    sim::SimWell wellOf(int camera) const
    {
        for (const auto& w : wells)
            if (w.camera == camera) return w;
        return {};
    }

    // One centring of the camera's window, then the powers saved and the camera's sent.
    CentringReport centreOnce(int camera)
    {
        const std::string frame = fetchWindow(camera);
        const CentringReport report = CentreLedMap(map, {"w6", 2, columns, rows}, windowOf(camera, frame));
        EXPECT_TRUE(WriteLedPower(map, "config"));
        ApplyLedPowerFile(
            platform::ProgramPath("config/ledpower.dat"), [&](int led) { return map.camera[size_t(led)] == camera; }, {},
            [this](int led, int power, const std::string&) { SendLedCommand(led, power, console); });
        return report;
    }

    ::tirmo::test::FakeClock clock;
    ::tirmo::test::TempFolder folder;
    plate::ColumnBands columns;
    plate::RowBands rows;
    LedMap map;
    std::vector<sim::SimWell> wells;
    std::shared_ptr<sim::LitPlate> plateSource;
};

TEST_F(CentringOnPlateTest, EvenLightChangesNothing)
{
    const CentringReport report = centreOnce(0);
    ASSERT_EQ(report.wells.size(), 1u);
    EXPECT_TRUE(report.wells[0].measured);
    EXPECT_NEAR(report.wells[0].columnShare, 0.5, 0.01);
    EXPECT_NEAR(report.wells[0].rowShare, 0.5, 0.01);
    EXPECT_TRUE(report.wells[0].calls.empty());
    for (int p : map.power) ASSERT_EQ(p, kStartPower);
}

TEST_F(CentringOnPlateTest, SkewedLightLowersThatSidesZoneUntilTheWellIsCentred)
{
    struct Case {
        const char* side;
        sim::LightSkew skew;
        std::function<bool(int colcam, int filcam)> dimmed;
    };
    const Case cases[] = {
        {"first column half", {1.5, 1, 1, 1}, [](int c, int) { return c >= 1 && c <= 4; }},
        {"second column half", {1, 1.5, 1, 1}, [](int c, int) { return c >= 5; }},
        {"first row half", {1, 1, 1.5, 1}, [](int c, int f) { return c >= 1 && f >= 1 && f <= 4; }},
        {"second row half", {1, 1, 1, 1.5}, [](int c, int f) { return c >= 1 && f >= 5; }},
    };
    for (int camera : {0, 3}) {
        for (const Case& c : cases) {
            map.power.fill(kStartPower);
            SendAllLedPower(kStartPower, console);
            sim->with([&](sim::SimState&) {
                plateSource->setSkew(camera, c.skew);
                return 0;
            });
            const CentringReport first = centreOnce(camera);
            ASSERT_EQ(first.wells.size(), 1u);
            EXPECT_EQ(first.wells[0].calls.size(), 2u) << c.side << ": one half dims its two quarters";
            for (int led = 0; led < kLedCount; ++led) {
                const size_t i = size_t(led);
                const bool dimmed = map.camera[i] == camera && c.dimmed(map.colcam[i], map.filcam[i]);
                // Step 1 (shares 0.6 / 0.5): each zone LED loses 2.
                ASSERT_EQ(map.power[i], dimmed ? kStartPower - 2 : kStartPower)
                    << c.side << " camera " << camera << " LED " << led;
            }
            // 1.5 x 4 against 6 on the other side: the light is centred, the next pass leaves it.
            const CentringReport second = centreOnce(camera);
            EXPECT_NEAR(second.wells.at(0).columnShare, 0.5, 0.01) << c.side;
            EXPECT_NEAR(second.wells.at(0).rowShare, 0.5, 0.01) << c.side;
            EXPECT_TRUE(second.wells.at(0).calls.empty()) << c.side;
            sim->with([&](sim::SimState&) {
                plateSource->setSkew(camera, {});
                return 0;
            });
        }
    }
}

TEST_F(CentringOnPlateTest, ADarkWellIsSkippedAndLeavesThePowersAlone)
{
    SendAllLedPower(0, console);  // every LED off: the wells read black
    const CentringReport report = centreOnce(0);
    EXPECT_EQ(report.SkippedWells(), std::vector<int>{0});
    for (int p : map.power) ASSERT_EQ(p, kStartPower);
}

}  // namespace
}  // namespace tirmo::lighting
