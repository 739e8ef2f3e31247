#include "acquisition/RunControls.h"

#include "acquisition/RunFiles.h"
#include "acquisition/RunPreparation.h"
#include "link/Session.h"
#include "platform/Locale.h"
#include "platform/Convert.h"
#include "ui/Dialogs.h"

namespace tirmo::acquisition {

RunControls::RunControls(link::Console& console, RunWindow& window) : console_(console), window_(window) {}

int RunControls::PrepareAcquisition()
{
    console_.SetStatus(kSettingUpCamera);
    const RunGeometry geometry = window_.ReadPlateGeometry();
    const link::Session& s = console_.session();
    PreparationSettings settings;
    settings.hardware_generation = s.hardware_generation;
    settings.default_exposure = s.default_exposure;
    settings.acquisition_minutes = platform::Val(window_.AcquisitionTimeText());
    const PreparationResult result = acquisition::PrepareAcquisition(geometry, settings, tables);
    if (!result.ok()) {
        ui::dialogs().messageBox(result.message, ui::MsgButtons::Ok);
        return -1;
    }
    window_.ShowRunSettings(tables.run_speed, tables.run_exposure);
    return 1;
}

int RunControls::SetCameraWindow(int camera, int window)
{
    camera_index = camera;
    window_index = window;
    window_.MarkCameraButton(camera);
    // The boxes first: the camera set-up sends the window as they stand.
    window_geometry = WindowGeometry(tables.geometry, camera, window);
    window_.ShowWindowBoxes(window_geometry);
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
    in.stage_temperature = window_.StageTemperature();
    in.camera_in_use = window_.CameraInUse(c);
    in.save_raw = window_.SaveRawData();
    in.reference_factors = window_.ReferenceFactors();
    in.pulse = window_.PulseBoxTexts();
    const std::string decimal = platform::DecimalSeparator();
    in.decimal = decimal.empty() ? '.' : decimal[0];

    // A window outside the six cameras has no frames: it is completed on empty ones.
    WindowFrames none;
    WindowFrames& frames = c >= 0 && c < kRunCameras ? frame_store[size_t(c)] : none;
    last_completion = acquisition::CompleteWindow(tables, window_tables, frames, in, window_.PulseState(), *this);
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

void RunControls::SendLightPulse(int level) { window_.SendLightPulse(level); }

void RunControls::ApplyCameraSettings(const CameraWindowGeometry&) { window_.ApplyCameraSettings(); }

}  // namespace tirmo::acquisition
