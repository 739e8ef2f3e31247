// The light-alignment calibration: a zero-lighting reference frame, then one frame per LED
// column and per LED row of the camera's block at power 8; where a column raises the frame's x
// profile above its threshold is the band x1..x2 of its LEDs, and likewise y1..y2 for a row.
#include <algorithm>

#include "lighting/LightCalibration.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"

namespace tirmo::lighting {
namespace {

constexpr int kLitPower = 8;
constexpr size_t kNoBandNamed = 12;  // LEDs named in the end text; the rest are counted

// The LEDs whose saved rectangle holds a -1 (no band found), named so that a column or row that
// lit nothing does not pass unnoticed. The whole file counts: after the last camera of a run it
// names every LED the run found no band for.
std::string noBandText(const LedMap& map)
{
    std::vector<int> leds;
    for (int led = 0; led < kLedCount; ++led) {
        const size_t i = size_t(led);
        for (int v : {map.x1[i], map.x2[i], map.y1[i], map.y2[i]})
            if (v == -1) {
                leds.push_back(led);
                break;
            }
    }
    if (leds.empty()) return {};
    std::string text = std::string("; no band in ledxy.dat for LED") + (leds.size() > 1 ? "s " : " ");
    for (size_t k = 0; k < leds.size() && k < kNoBandNamed; ++k) text += (k ? ", " : "") + std::to_string(leds[k]);
    if (leds.size() > kNoBandNamed) text += " and " + std::to_string(leds.size() - kNoBandNamed) + " more";
    return text;
}
constexpr int kSteps = 2 + kScanColumns + kScanRows;  // frames of one camera

class Alignment {
public:
    Alignment(LightCalibrationHost& host, LedMap& map, const LightCalibrationSetup& setup)
        : host_(host), map_(map), setup_(setup), c_(setup.camera)
    {}

    LightCalibrationEnd run()
    {
        const auto problems = LoadLedTables(map_, setup_.layoutPath, setup_.loadFolder);
        if (!problems.empty()) host_.Status(ProblemText(problems));
        // Without a layout naming LEDs of this camera (the factory's ledsetup.dat is nobody's
        // to write), nothing would be lit and every band would stay as loaded: saving that as
        // "OK" would pass an uncalibrated instrument.
        if (!hasLeds()) {
            steps_.end = LightCalibrationEnd::NoLeds;
            const size_t slash = setup_.layoutPath.find_last_of("/\\");
            const std::string layout = setup_.layoutPath.substr(slash + 1);
            // The factory's layout is provided, never written here: say where it was looked for.
            if (slash != std::string::npos && !platform::FileExists(setup_.layoutPath))
                return steps_.Fail(CameraTag(c_) + ": LED layout " + layout + " not found in " +
                                   setup_.layoutPath.substr(0, slash) + ": ledxy.dat unchanged");
            return steps_.Fail(CameraTag(c_) + ": no LED of this camera in the layout " + layout + ": ledxy.dat unchanged");
        }
        host_.Status("Setting Zero lighting reference");
        host_.SelectCamera();
        platform::Sleep(100);
        platform::Sleep(50);
        host_.SendAllLedPower(0);
        platform::Sleep(200);
        host_.Status(CameraTag(c_) + ": Setting Zero lighting reference...acquiring1");
        host_.SetDefaultCamera();
        platform::Sleep(200);
        if (!steps_.Grab()) return steps_.Fail();
        platform::DoEvents();
        platform::Sleep(100);
        host_.Status(CameraTag(c_) + ": Setting Zero lighting reference...acquiring2");
        if (!steps_.Grab()) return steps_.Fail();
        platform::DoEvents();
        platform::Sleep(100);

        // A window of no lines or pixels has nothing to walk and no mean to compare with.
        X_ = std::min(host_.LineCount(), kProfileSize - 1);
        Y_ = std::min(host_.PixelCount(), kProfileSize - 1);
        if (X_ < 1 || Y_ < 1) {
            steps_.end = LightCalibrationEnd::NoWindow;
            return steps_.Fail(CameraTag(c_) + ": the camera window has no lines or pixels: ledxy.dat unchanged");
        }
        const Profiles zero = FrameProfiles(host_.Frames(), c_, X_, Y_);

        std::vector<std::vector<double>> columnExcess(kScanColumns + 1, std::vector<double>(size_t(kProfileSize), 0.0));
        std::vector<std::vector<double>> rowExcess(kScanRows + 1, std::vector<double>(size_t(kProfileSize), 0.0));
        for (int k = 1; k <= kScanColumns; ++k) {
            if (host_.StopRequested()) return steps_.Fail();
            const bool lit = light(map_.colcam, k, "..col[");
            if (!lit) continue;  // a column with no LED of the camera: no frame, no band
            if (!litFrame(columnExcess[size_t(k)], zero.x, X_, true)) return steps_.Fail();
        }
        for (int k = 1; k <= kScanRows; ++k) {
            if (host_.StopRequested()) return steps_.Fail();
            light(map_.filcam, k, "..row[");
            if (!litFrame(rowExcess[size_t(k)], zero.y, Y_, false)) return steps_.Fail();
        }

        // The bands go into a copy: a Stop from here on leaves the window's map as loaded.
        // The factory loads from the instrument's folder but writes config, one camera at a
        // time: the other cameras' rows stay as config holds them, not as loaded (a new
        // instrument's folder has none), or each camera would undo the ones before it.
        LedMap result = map_;
        std::vector<std::string> ignored;  // unreadable rows are written back as they stand
        if (setup_.saveFolder != setup_.loadFolder) LoadLedPositions(result, setup_.saveFolder, ignored);
        for (int k = 1; k <= kScanRows; ++k) {
            const Band b = FindBand(rowExcess[size_t(k)], Y_, kRowBandFactor);
            forLeds(map_.filcam, k, [&](int led) {
                result.y1[size_t(led)] = b.start;
                result.y2[size_t(led)] = b.end;
            });
        }
        if (host_.StopRequested()) return steps_.Fail();
        for (int k = 1; k <= kScanColumns; ++k) {
            const Band b = FindBand(columnExcess[size_t(k)], X_, kColumnBandFactor);
            forLeds(map_.colcam, k, [&](int led) {
                result.x1[size_t(led)] = b.start;
                result.x2[size_t(led)] = b.end;
            });
        }
        if (host_.StopRequested()) return steps_.Fail();
        if (!WriteLedPositions(result, setup_.saveFolder)) {
            steps_.end = LightCalibrationEnd::NotSaved;
            return steps_.Fail("Could not write " + setup_.saveFolder + "/" + kLedPositionsName + ": ledxy.dat unchanged");
        }
        map_ = result;
        host_.Progress(100);
        host_.Status(CameraTag(c_) + ": OK" + noBandText(result));
        return LightCalibrationEnd::Done;
    }

private:
    bool hasLeds() const
    {
        for (int led = 0; led < kLedCount; ++led) {
            const size_t i = size_t(led);
            if (map_.camera[i] != c_) continue;
            if ((map_.colcam[i] >= 1 && map_.colcam[i] <= kScanColumns) || (map_.filcam[i] >= 1 && map_.filcam[i] <= kScanRows)) return true;
        }
        return false;
    }

    template <class F>
    void forLeds(const LedMap::Table& place, int k, F f) const
    {
        for (int led = 0; led < kLedCount; ++led)
            if (map_.camera[size_t(led)] == c_ && place[size_t(led)] == k) f(led);
    }

    bool light(const LedMap::Table& place, int k, const char* what)
    {
        bool any = false;
        forLeds(place, k, [&](int led) {
            host_.Status(CameraTag(c_) + ": Setting led power=" + std::to_string(led) + what + std::to_string(k) + "]");
            host_.SendLedPower(led, kLitPower);
            any = true;
        });
        return any;
    }

    // The frame of the lit column or row, the LEDs off again, and its profile above the zero.
    bool litFrame(std::vector<double>& excess, const std::vector<double>& zero, int last, bool alongX)
    {
        platform::Sleep(100);
        const bool good = steps_.Grab();
        platform::Sleep(100);
        platform::Sleep(50);
        host_.SendAllLedPower(0);
        platform::Sleep(100);
        if (!good) return false;
        const Profiles lit = FrameProfiles(host_.Frames(), c_, X_, Y_);
        const std::vector<double>& profile = alongX ? lit.x : lit.y;
        for (int i = 0; i <= last; ++i) excess[size_t(i)] = profile[size_t(i)] - zero[size_t(i)];
        return true;
    }

    LightCalibrationHost& host_;
    LedMap& map_;
    const LightCalibrationSetup& setup_;
    const int c_;
    int X_ = 0, Y_ = 0;
    LightCalibrationSteps steps_{host_, c_, kSteps, "ledxy.dat"};
};

}  // namespace

Band FindBand(const std::vector<double>& v, int n, double factor)
{
    Band b;
    n = std::min(n, int(v.size()) - 1);
    if (n < 1) return b;
    double sum = 0;
    for (int t = 0; t <= n; ++t) sum += v[size_t(t)];
    const double threshold = factor * sum / n;
    for (int t = 0; t <= n; ++t) {
        const double value = v[size_t(t)];
        if (value > threshold && b.start < 0) b.start = t;
        // A band may start at index 0: its fall is an end like any other.
        if (value < threshold && b.start >= 0 && b.end < 0) b.end = t;
        if (value > threshold && b.end >= 1) b.end = -1;
    }
    if (b.start >= 0 && b.end == -1) b.end = n;
    return b;
}

Profiles FrameProfiles(const camera::FrameStore& frames, int camera, int X, int Y)
{
    Profiles p;
    X = std::min(X, kProfileSize - 1);
    Y = std::min(Y, kProfileSize - 1);
    if (X < 1 || Y < 1) return p;
    for (int y = 0; y <= Y; ++y) {
        for (int x = 0; x <= X; ++x) {
            const int g = frames.Value(camera, x, y);
            if (g <= 0) continue;
            p.x[size_t(x)] += double(g) / Y;
            p.y[size_t(y)] += double(g) / X;
        }
    }
    return p;
}

LightCalibrationEnd CalibrateLightAlignment(LightCalibrationHost& host, LedMap& map, const LightCalibrationSetup& setup)
{
    return Alignment(host, map, setup).run();
}

}  // namespace tirmo::lighting
