#include "acquisition/RunControls.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "acquisition/AcquisitionTick.h"
#include "acquisition/RunFiles.h"
#include "acquisition/RunPreparation.h"
#include "camera/CameraCommands.h"
#include "camera/CameraSelect.h"
#include "camera/FrameTransfer.h"
#include "lighting/LedCommands.h"
#include "link/Exchange.h"
#include "link/Session.h"
#include "platform/Locale.h"
#include "platform/Clock.h"
#include "platform/Convert.h"
#include "thermal/TemperatureStage.h"
#include "ui/Dialogs.h"

namespace tirmo::acquisition {

namespace {
using Box = link::CameraSettings::Box;
constexpr int kStopPauseMs = 10;
constexpr int kWindow96Bright = 3;  // the w96f window taken at full exposure
constexpr int kFullExposure = 255;

// The live picture's copy of the run's well-shape mask: every pixel of every window the run has,
// and nothing of an earlier run.
void FillWindowPixelMask(const RunTables& tables, camera::WindowPixelMask& mask)
{
    mask = camera::WindowPixelMask{};
    const int last = tables.pixel_slots() - 1;
    for (int c = 0; c < kRunCameras; ++c)
        for (int w = 0; w < std::min(tables.windows(), camera::WindowPixelMask::kWindows); ++w) {
            mask.Resize(c, w, last);
            for (int p = 1; p <= last; ++p) mask.Set(c, w, p, tables.pixel_in_well(c, w, p));
        }
}
}  // namespace

RunControls::RunControls(link::Console& console, RunWindow& window, RunShared shared, QWidget* client)
    : frame_counter(shared.live.frame_counter), window_pixel_mask(shared.live.pixel_mask),
      random_(unsigned(platform::MonotonicMs())), console_(console), window_(window), shared_(shared)
{
    Timer2.SetEnabled(false);
    Timer2.onTick([this] { Timer2_Timer(); });
    buildRunButtons(client);
}

int RunControls::ArmRun(const std::string& folder, const std::string& title)
{
    link::Session& s = console_.session();
    s.acquisition_folder = folder;
    if (PrepareAcquisition() != 1) return -1;
    StartingFiles files;
    files.serial_number = s.serial_number;
    files.title = title;
    files.lapse = settings().AcquisitionTime();
    files.format = settings().PlateFormat();
    if (!WriteStartingFiles(folder, files)) {
        console_.SetStatus(kRecordsNotWritten + folder);
        return -1;
    }
    s.run_state = 1;
    return StartTicking() ? 1 : -1;
}

bool RunControls::StartTicking()
{
    link::Session& s = console_.session();
    // The first window's camera boxes; the camera set-up below sends them as they stand.
    cameraSettings().SetNumber(Box::Camera, 0);
    cameraSettings().SetNumber(Box::Speed, tables.run_speed);
    cameraSettings().SetNumber(Box::Exposure, tables.run_exposure);
    cameraSettings().SetNumber(Box::Gain, s.default_gain);
    window_.DrawPlateLayout(shared_.plate.current_format);
    frame_store = RunFrameStore{};
    Timer2.SetInterval(kTickIntervalMs);
    frame_counter = 0;
    // A Stop pressed while the instrument answered ends the start here.
    if (s.run_state != 1) return false;
    SetCameraWindow(0, 0);
    window_.DrawActivityChart(0, 0);
    if (s.run_state != 1) return false;
    fetchWindowBlock(0);  // the read-out that opens a window; its block is not used

    time_up = false;
    s.elapsed_seconds = 0;
    run_start_ms_ = platform::MonotonicMs();
    random_.seed(unsigned(run_start_ms_));
    scan_counter = 0;
    frame_counter = 0;
    tables.scan_start_seconds_ref(0) = 0;
    failed_frames = 0;
    if (!CreateLightLog(s.acquisition_folder)) {
        // The run does not start without its files; the instrument goes back to rest.
        StopPlayRun();
        RefuseStart(kStartingFileNotWritten + s.acquisition_folder);
        return false;
    }
    Timer2.SetEnabled(true);
    return true;
}

void RunControls::Timer2_Timer()
{
    Timer2.SetEnabled(false);
    link::Session& s = console_.session();
    if (s.run_state != 1) return;
    // A STOP or the close box during one of the tick's waits ends the tick there.
    const link::StoppableOperation tick;

    // The monotonic clock: a clock change during the run neither shortens nor stretches it.
    s.elapsed_seconds = (platform::MonotonicMs() - run_start_ms_) / 1000.0;
    window_.ShowElapsedTime(ElapsedText(s.elapsed_seconds));
    if (platform::Val(settings().AcquisitionTime()) * 60 < s.elapsed_seconds) time_up = true;

    if (frame_counter < kWindowFrames) FrameStep();
    if (s.run_state != 1) return;
    // Settings are sent again only over a link: a hung-up one would only earn a message box.
    if (failed_frames == kResendAfterFailures && s.dummy_mode != 1 && s.port_open) camera::SendCameraSettings(cameraSettings(), console_);
    if (failed_frames > kMaxFailedFrames) {
        // Nothing more is sent once the instrument is at rest.
        CommunicationError();
        return;
    }
    if (frame_counter % 3 == 0) {
        // Towards the set point while the temperature box is ticked, else a reading only.
        const thermal::ThermostatStepResult step = shared_.temperature.Step(shared_.temperature.RunSetPoint());
        window_.ShowThermostatStep(step);
        stage_temperature = step.conversion.temperature;
    }
    if (frame_counter >= kWindowFrames) {
        // A run that can no longer keep its records would go on measuring for nothing.
        if (!CompleteWindow()) {
            RecordsNotWritten();
            return;
        }
        // The wells of the run's very last window are read too: a report's time base needs it.
        RecordWindowSeconds();
        const int lastWindow = tables.geometry.RowSlots(camera_index) - 1;
        if (window_index >= lastWindow && time_up && camera_index == kRunCameras - 1) {
            EndRun();
            return;
        }
        AdvanceWindow();
    }
    if (s.run_state == 1) Timer2.SetEnabled(true);
}

void RunControls::FrameStep()
{
    const link::Session& s = console_.session();
    const int c = camera_index;
    if (!settings().CameraInUse(c)) {
        ++frame_counter;
        failed_frames = 0;
        return;
    }
    std::string frame;
    if (s.dummy_mode == 1) {
        const int pixels = window_tables.window_pixel_count;
        frame = dummy_frames ? dummy_frames(c, window_index, pixels) : RandomFrame(random_, pixels);
    } else if (s.port_open) {
        frame = FetchFrame(c, window_index);
    }
    // A link that hung up during the run brings no frame: the frame fails quietly (the fetch
    // would ask for a box on every tick) and the run stops as after any other failed frames.
    console_.SetMonitor(std::to_string(frame.size()) + "bytes");
    if (FrameFailed(frame)) {
        ++failed_frames;
        return;
    }
    WindowFrames& frames = frame_store[size_t(c)];
    const size_t k = size_t(frame_counter);
    frames[k] = std::move(frame);
    const std::string difference = k > 0 ? DifferenceImage(frames[k - 1], frames[k]) : std::string();
    window_.ShowLiveFrame(c, window_index, frames[k], difference, k > 0, frame_counter);
    console_.SetStatus(FrameStatus(scan_counter, c, window_index, frame_counter));
    ++frame_counter;
    failed_frames = 0;
}

std::string RunControls::fetchWindowBlock(int camera)
{
    // The window as the run set it up, not as the camera boxes may since have been edited.
    return camera::FetchWindowBlock(camera, window_geometry.pix, window_geometry.lines, console_,
                                    [this](const std::string& caption, bool matches) {
                                        window_.ShowTransferTrace(caption, matches);
                                    })
        .Result();
}

std::string RunControls::FetchFrame(int camera, int window)
{
    const std::string block = fetchWindowBlock(camera);
    if (block.empty() || block.compare(0, 5, "Error") == 0) return block;
    // The bands the run was prepared with: the plate panel's may be edited while it runs.
    return camera::ExtractWellColumns(block, tables.geometry.column_bands, tables.geometry.row_bands, camera, window);
}

void RunControls::RecordWindowSeconds()
{
    const RunGeometry& g = tables.geometry;
    const int32_t seconds = int32_t(std::lround(console_.session().elapsed_seconds));
    for (int i = 0; i < g.ColumnSlots(camera_index); ++i) {
        const int well = g.well_table.at(camera_index, i, window_index).dataindex;
        if (well >= 0 && well < kWellSlots) tables.well_scan_seconds_ref(well, scan_counter) = seconds;
    }
}

void RunControls::AdvanceWindow()
{
    link::Session& s = console_.session();
    const RunGeometry& g = tables.geometry;
    const int32_t seconds = int32_t(std::lround(s.elapsed_seconds));
    int c = camera_index;
    int w = window_index + 1;
    if (w > g.RowSlots(c) - 1) {
        w = 0;
        ++c;
        if (c > kRunCameras - 1) {
            c = 0;
            ++scan_counter;
            tables.scan_start_seconds_ref(scan_counter) = seconds;
        }
    }
    if (c != camera_index) {
        SelectCamera(c);
        platform::Sleep(1);
    }
    const bool bright = settings().PlateFormat() == "w96f" && w == kWindow96Bright;
    cameraSettings().SetNumber(Box::Exposure, bright ? kFullExposure : tables.run_exposure);
    cameraSettings().SetNumber(Box::Gain, s.default_gain);
    SetCameraWindow(c, w);
    window_.DrawActivityChart(c, w);
    frame_counter = 0;
    if (settings().CameraInUse(c)) fetchWindowBlock(c);  // opens the window; its block is not used
}

void RunControls::EndRun()
{
    link::Session& s = console_.session();
    StopTemperatureTick();
    console_.SetStatus(kRunDone);
    s.run_state = 0;
    SetPlayCaption("New");
    window_.UnlockRunBoxes();
    SetFan(thermal::kFanHalf);
    SelectCamera(camera::kNoCamera);
    if (settings().BlankRun()) {
        const std::string format = settings().PlateFormat();
        if (shared_.project.SaveBlankMeasurement(s.acquisition_folder, format, Minutes(s.elapsed_seconds)))
            window_.ShowBlankOf(format);
    } else {
        window_.OpenRunReport();
    }
    settings().SetBlankRun(false);
}

void RunControls::StopPlayRun()
{
    // The rest sequence: it acts even in the middle of the run's wait for a silent instrument,
    // which then ends without waiting out its time-outs.
    const link::Exchange rest{link::Exchange::Takeover{}};
    link::Session& s = console_.session();
    SetPlayCaption("Play");
    s.run_state = 0;
    Timer2.SetEnabled(false);
    StopTemperatureTick();
    PeltierOff();
    platform::Sleep(kStopPauseMs);
    SetFan(thermal::kFanHalf);
    platform::Sleep(kStopPauseMs);
    SendLightPulse(0);
    window_.UnlockPulseFields();
    // The temperature control goes off with the run, as unticking its box does.
    if (shared_.temperature.Settings().box_ticked) shared_.temperature.SwitchOff();
    window_.ResetTemperatureBox();
    platform::Sleep(kStopPauseMs);
    SelectCamera(camera::kNoCamera);
    // A stopped blank run is no blank: the next run must not be saved as one.
    settings().SetBlankRun(false);
}

void RunControls::CommunicationError()
{
    const int camera = camera_index;
    const std::string elapsed = ElapsedText(console_.session().elapsed_seconds);
    StopPlayRun();
    window_.ShowRunPanelsAfterError();
    ui::dialogs().messageBox(kCommunicationError + std::to_string(camera) + " " + elapsed, ui::MsgButtons::Ok);
}

void RunControls::RecordsNotWritten()
{
    const std::string message = kRecordsNotWritten + console_.session().acquisition_folder + kRunStopped;
    StopPlayRun();
    window_.UnlockRunBoxes();
    window_.ShowRunPanelsAfterError();
    // The status line alone would be gone at the next message; the box waits for the user.
    console_.SetStatus(message);
    ui::dialogs().messageBox(message, ui::MsgButtons::Ok);
}

RunGeometry RunControls::ReadPlateGeometry()
{
    const std::string format = settings().PlateFormat();
    plate::PlateState& plate = shared_.plate;
    plate::ReadPlateSpec(plate, format, console_);
    plate::ReadFormatFiles(plate, format, console_);
    RunGeometry g;
    g.well_table = plate.well_table;
    g.column_bands = plate.column_bands;
    g.row_bands = plate.row_bands;
    g.column_band_label = plate.column_labels;
    g.row_band_label = plate.row_labels;
    return g;
}

int RunControls::PrepareAcquisition()
{
    console_.SetStatus(kSettingUpCamera);
    const RunGeometry geometry = ReadPlateGeometry();
    const link::Session& s = console_.session();
    PreparationSettings prepared;
    prepared.hardware_generation = s.hardware_generation;
    prepared.default_exposure = s.default_exposure;
    prepared.acquisition_minutes = platform::Val(s.run_settings.AcquisitionTime());
    const PreparationResult result = acquisition::PrepareAcquisition(geometry, prepared, tables);
    if (!result.ok()) {
        ui::dialogs().messageBox(result.message, ui::MsgButtons::Ok);
        return -1;
    }
    FillWindowPixelMask(tables, window_pixel_mask);
    cameraSettings().SetNumber(Box::Speed, tables.run_speed);
    cameraSettings().SetNumber(Box::Exposure, tables.run_exposure);
    return 1;
}

int RunControls::SetCameraWindow(int camera, int window)
{
    camera_index = camera;
    window_index = window;
    window_.MarkCameraButton(camera);
    // The boxes first: the camera set-up sends the window as they stand.
    window_geometry = WindowGeometry(tables.geometry, camera, window);
    const CameraWindowGeometry& g = window_geometry;
    for (const auto& [box, value] : {std::pair{Box::Xini, g.xini}, {Box::Xfin, g.xfin}, {Box::Yini, g.yini},
                                     {Box::Yfin, g.yfin}, {Box::Lines, g.lines}, {Box::Pix, g.pix}})
        cameraSettings().SetNumber(box, value);
    acquisition::SetCameraWindow(tables, window_tables, camera, window, console_.session().dummy_mode == 1, *this);
    window_.ClearRealtimePicture();
    window_.DrawPlateWells(camera, window);
    return 1;
}

bool RunControls::CompleteWindow()
{
    const link::Session& s = console_.session();
    const int c = window_tables.camera_index;
    CompletionInputs in;
    in.scan_counter = scan_counter;
    in.elapsed_seconds = s.elapsed_seconds;
    in.stage_temperature = stage_temperature;
    in.camera_in_use = settings().CameraInUse(c);
    in.save_raw = settings().SaveRawData();
    in.reference_factors = shared_.project.ReferenceFactors();
    in.pulse = shared_.pulse_boxes;
    const std::string decimal = platform::DecimalSeparator();
    in.decimal = decimal.empty() ? '.' : decimal[0];

    // A window outside the six cameras has no frames: it is completed on empty ones.
    WindowFrames none;
    WindowFrames& frames = c >= 0 && c < kRunCameras ? frame_store[size_t(c)] : none;
    last_completion = acquisition::CompleteWindow(tables, window_tables, frames, in, shared_.pulse, *this);
    if (in.camera_in_use)
        window_.DrawPlateActivity(ActivityView(Minutes(in.elapsed_seconds)), c, window_tables.window_index, 0);

    if (WriteWindowRecords(s.acquisition_folder, last_completion.records)) return true;
    console_.SetStatus(kRecordsNotWritten + s.acquisition_folder);
    return false;
}

plate::WindowActivity RunControls::ActivityView(double minutes)
{
    return ActivityView(minutes, window_tables.camera_index, window_tables.window_index);
}

plate::WindowActivity RunControls::ActivityView(double minutes, int c, int w)
{
    const WindowTables& win = window_tables;
    const size_t n = size_t(win.window_pixel_count) + 1;
    viewPixelActivity_.assign(n, 0);
    viewPixelWell_.assign(n, -1);
    viewPixelColumn_.assign(n, 0);
    viewPixelRow_.assign(n, 0);
    for (size_t p = 0; p < n; ++p) {
        if (p < win.pixel_activity.size()) viewPixelActivity_[p] = win.pixel_activity[p];
        viewPixelWell_[p] = tables.pixel_well(c, w, int(p));
        viewPixelColumn_[p] = tables.pixel_column_offset(c, w, int(p));
        viewPixelRow_[p] = tables.pixel_row_offset(c, w, int(p));
    }
    viewWellActivity_.assign(tables.well_accumulated_activity.begin(), tables.well_accumulated_activity.end());

    plate::WindowActivity run;
    run.minutes = minutes;
    run.window_pixel_count = win.window_pixel_count;
    run.pixel_activity = &viewPixelActivity_;
    run.pixel_well = &viewPixelWell_;
    run.pixel_column = &viewPixelColumn_;
    run.pixel_row = &viewPixelRow_;
    run.well_activity = &viewWellActivity_;
    return run;
}

void RunControls::SendLightPulse(int level)
{
    lighting::SendLightPulse(level, shared_.pulse.countdown, console_, [this](const std::string& caption, uint32_t fill) {
        window_.ShowPulseIndicator(caption, fill);
    });
}

void RunControls::SelectCamera(int camera)
{
    cameraSettings().SetNumber(Box::Camera, camera);
    camera::SelectCamera(std::to_string(camera), console_);
}

void RunControls::PeltierOff() { shared_.stage.PeltierOff(console_); }

void RunControls::SetFan(int level) { shared_.stage.SetFan(level, console_); }

void RunControls::StopTemperatureTick() { shared_.temperature_tick.SetEnabled(false); }

void RunControls::ApplyCameraSettings(const CameraWindowGeometry&) { camera::SendCameraSettings(cameraSettings(), console_); }

}  // namespace tirmo::acquisition
