#include "acquisition/RunAutoReference.h"

#include <chrono>

#include "acquisition/RunControls.h"
#include "camera/CameraCommands.h"
#include "camera/CameraSelect.h"
#include "camera/FrameTransfer.h"
#include "lighting/CalibrationFrame.h"
#include "lighting/LedCommands.h"
#include "lighting/LedPowerApply.h"
#include "plate/PlateFormat.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"

namespace tirmo::acquisition {

namespace {
using Box = link::CameraSettings::Box;
constexpr int kDefaultWindowPauseMs = 50;
constexpr int kCalibrationPauseMs = 10;
constexpr int kEndRoundPauseMs = 1500;
}  // namespace

RunAutoReference::RunAutoReference(link::Console& console, RunControls& run, lighting::LedMap& map,
                                   camera::FrameStore& frames, AutoReferenceView& view)
    : console_(console), run_(run), map_(map), frames_(frames), view_(view),
      random_(unsigned(std::chrono::steady_clock::now().time_since_epoch().count()))
{
}

bool RunAutoReference::AutoCalibrateCameras()
{
    const link::Session& s = console_.session();
    const std::string folder = platform::ResolvePath(s.acquisition_folder);
    last_round = lighting::AutoCalibrateCameras(*this, folder, platform::WallNow());
    // A stopped round skips its closing wait; its frame must not stay over the working area.
    view_.HideRoundPanel();
    if (StopRequested()) return false;
    // Each camera's power setting ended with every LED dark: the run lights all of them as saved.
    lighting::ApplyAllSavedLedPower(console_);
    return !StopRequested();
}

bool RunAutoReference::CameraInUse(int camera) const
{
    return camera >= 0 && camera < kRunCameras && console_.session().run_settings.CameraInUse(camera);
}

int RunAutoReference::WindowCount(int camera) const { return run_.tables.geometry.RowSlots(camera); }

void RunAutoReference::BeginRound()
{
    view_.ShowRoundPanel();
    cameraSettings().SetNumber(Box::Camera, 0);
    ShowRunSettings();
    view_.MarkRoundCamera(0);
    view_.DrawPlateLayout(format());
    run_.scan_counter = 0;
    run_.frame_counter = 0;
}

void RunAutoReference::ShowCamera(int camera) { cameraSettings().SetNumber(Box::Camera, camera); }

void RunAutoReference::ShowRunSettings()
{
    cameraSettings().SetNumber(Box::Speed, run_.tables.run_speed);
    cameraSettings().SetNumber(Box::Exposure, run_.tables.run_exposure);
    cameraSettings().SetNumber(Box::Gain, console_.session().default_gain);
}

lighting::LedCalibrationOutcome RunAutoReference::CalibrateLedPower(int camera)
{
    const link::Session& s = console_.session();
    lighting::LedCalibrationSetup setup;
    setup.camera = camera;
    setup.plateFormat = format();
    setup.sendPowers = false;
    setup.variant = lighting::CalibrationVariant::Main;
    if (s.hardware_generation == 1) setup.layoutPath = platform::ProgramPath(std::string("config/") + lighting::kLedSetup1Name);
    if (s.hardware_generation == 2) setup.layoutPath = platform::ProgramPath(std::string("config/") + lighting::kLedSetup2Name);
    setup.folder = lighting::InstrumentFolder(s.serial_number);
    return lighting::AutoCalibrateLedPower(*this, map_, setup);
}

lighting::RoundWindow RunAutoReference::ApplyCameraWindow(int camera, int window)
{
    run_.SetCameraWindow(camera, window);
    const CameraWindowGeometry& g = run_.window_geometry;
    return {g.xini, g.xfin, g.yini, g.yfin, g.window_pixel_count};
}

std::string RunAutoReference::ReadCameraScan(int camera, int window)
{
    // A Stop clicked since the last step is seen before the request goes out, not after it.
    platform::DoEvents();
    if (StopRequested()) return {};
    return run_.FetchFrame(camera, window);
}

lighting::CentringWindow RunAutoReference::centringWindow(int camera, int window, const std::string& frame) const
{
    lighting::CentringWindow cw;
    cw.camera = camera;
    cw.window = window;
    cw.frame = frame;
    cw.pixelCount = run_.window_geometry.window_pixel_count;
    const RunTables& t = run_.tables;
    cw.place = [&t, camera, window](long p) {
        const int pixel = int(p);
        return lighting::PixelPlace{t.pixel_well(camera, window, pixel), t.pixel_column_offset(camera, window, pixel),
                                    t.pixel_row_offset(camera, window, pixel)};
    };
    return cw;
}

lighting::CentringPlate RunAutoReference::centringPlate() const
{
    const RunGeometry& g = run_.tables.geometry;
    return {format(), console_.session().hardware_generation, g.column_bands, g.row_bands};
}

void RunAutoReference::DrawCalibrationWellGrid(int camera, int window, const std::string& frame)
{
    const plate::PlateSize size = plate::FormatSize(format());
    view_.DrawCalibrationDots(
        lighting::CalibrationGridDots(centringPlate(), centringWindow(camera, window, frame), size.rows, size.columns));
}

lighting::CentringReport RunAutoReference::CentreLedMap(int camera, int window, const std::string& frame)
{
    lighting::CentringReport report = lighting::CentreLedMap(map_, centringPlate(), centringWindow(camera, window, frame));
    const std::vector<int> skipped = report.SkippedWells();
    if (!skipped.empty()) {
        std::string wells;
        for (int well : skipped) wells += (wells.empty() ? "" : ", ") + std::to_string(well);
        Status("CAM[" + std::to_string(camera) + "]: no light in well(s) " + wells + ": not centred");
    }
    return report;
}

bool RunAutoReference::WriteLedPower()
{
    return lighting::WriteLedPower(map_, lighting::InstrumentFolder(console_.session().serial_number));
}

void RunAutoReference::EndRound()
{
    run_.camera_index = camera::kNoCamera;
    view_.HideRoundPanel();
    platform::DoEvents();
    platform::Sleep(kEndRoundPauseMs);
    platform::DoEvents();
}

int RunAutoReference::RandomGrey() { return std::uniform_int_distribution<int>(0, 255)(random_); }

// ---------------------------------------------------------------- the power setting's host

void RunAutoReference::SendAllLedPower(int level) { lighting::SendAllLedPower(level, console_); }

void RunAutoReference::SendLedPower(int led, int power) { lighting::SendLedPower(led, power, console_); }

void RunAutoReference::ApplyLedPower(int camera) { lighting::ApplySavedLedPower(camera, map_, console_); }

void RunAutoReference::SetCalibrationCamera()
{
    link::CameraSettings& settings = cameraSettings();
    camera::SetDefaultReadout(settings, console_.session().hardware_generation);
    platform::Sleep(kDefaultWindowPauseMs);
    settings.SetText(Box::Speed, "1");
    settings.SetText(Box::Exposure, "240");
    platform::Sleep(kCalibrationPauseMs);
    camera::SendCameraSettings(settings, console_);
}

bool RunAutoReference::GrabFrame()
{
    // After the user's Stop no frame is asked for (the settling frames come without a check).
    if (StopRequested()) return false;
    link::CameraSettings& settings = cameraSettings();
    const long lines = camera::BoxWhole(settings.Text(Box::Xfin)) - camera::BoxWhole(settings.Text(Box::Xini)) + 1;
    const long pix = camera::BoxWhole(settings.Text(Box::Yfin)) - camera::BoxWhole(settings.Text(Box::Yini)) + 1;
    const int c = int(camera::BoxWhole(settings.Text(Box::Camera)));
    settings.SetNumber(Box::Lines, lines);
    settings.SetNumber(Box::Pix, pix);
    if (DummyMode()) {
        if (!camera::WindowFitsFrameStore(lines, pix)) return false;
        camera::FillRandomFrame(frames_, c, lines, pix);
        return true;
    }
    const lighting::CalibrationGrab grab = lighting::GrabCheckedFrame(console_.session(), c, lines, pix, frames_);
    if (!grab.trace.empty()) view_.ShowGrabTrace(grab.trace);
    return grab.good();
}

bool RunAutoReference::PositionCounts(int camera, int x, int y) const
{
    return run_.tables.sensor_well_mask(camera, x, y);
}

}  // namespace tirmo::acquisition
