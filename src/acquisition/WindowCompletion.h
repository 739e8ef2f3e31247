#pragma once
// Completion of a camera window: when the eleventh good frame of a window is in, its frames are
// scored and the bad ones replaced by a good neighbour, every in-well pixel bright enough is run
// through the activity counter, the counts are normalised and summed per well into the run's
// totals, the light pulses are stepped, and the window's records are made for the run files.
//
// The window calls CompleteWindow and then WriteWindowRecords (RunFiles.h) with the acquisition
// folder, redraws the plate map from the run tables, and moves on to the next window.
#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "acquisition/CameraWindow.h"
#include "acquisition/RunDevices.h"
#include "acquisition/RunFiles.h"
#include "acquisition/RunTables.h"
#include "acquisition/WindowBlocks.h"
#include "lighting/LightPulse.h"

namespace tirmo::acquisition {

// A frame is bad when its level score x 0.35 is below its change score.
inline constexpr double kBadFrameRatio = 0.35;
// A pixel's event count stops growing here.
inline constexpr int kPixelEventCap = 32000;

// Per frame 0..10: the mean change from the frame before and the mean grey level over the
// positions 3..window_pixel_count the frame reaches, and whether the frame is good. Frame 0
// takes frame 1's change score and keeps a level score of 0, so any change into frame 1 makes
// it bad. A frame that reaches no position keeps both scores at 0.
struct FrameScores {
    std::array<double, kWindowFrames> change{};
    std::array<double, kWindowFrames> level{};
    std::array<bool, kWindowFrames> good{};
    std::array<int, kWindowFrames> replaced_by{};  // the frame copied over it, -1 when it stayed
};
FrameScores ScoreFrames(const WindowFrames& frames, int windowPixelCount);
// In ascending order each bad frame takes the frame before it when that one is good, else the one
// after it (frame 0: frame 1, else 2; frame 10: frame 9, else 8); good flags stay as scored.
void RepairFrames(WindowFrames& frames, FrameScores& scores);

// What one completion counted.
struct WindowCounts {
    FrameScores scores;
    std::array<long, kWellSlots> well_level{};           // mean grey level of each well's pixels
    std::array<double, kWellSlots> well_activity_sum{};  // normalised events of each well
    std::array<bool, kWellSlots> seen{};                 // the well has pixels in this window
    std::array<double, kWellSlots> well_activity{};      // square root of the sum: what the totals gained
    long counted_pixels = 0;                             // pixels run through the counter
};

// The counting part of a completion for a camera in use: well levels (before repair), frame
// scoring and repair, frame history, pixel events and activity, and the per-well totals of the
// run (well_accumulated_activity, well_scan_activity of the scan, and during scan 0
// well_window_events).
WindowCounts CountWindow(RunTables& tables, WindowTables& window, WindowFrames& frames, long scanCounter);

using lighting::PulseBoxes;
// The run's pulse cycles when enabled; a cycle count that is not a whole number (or does not fit
// 16 bits) schedules no pulse.
std::optional<lighting::PulseSchedule> RunPulseSchedule(const PulseBoxes& boxes);
// The light power of a light.csv row: the whole-number value of the power box while a pulse is
// on, else 0; a box that is not a whole number counts as no pulse (0).
int LightLogPower(bool pulseOn, std::string_view powerText);

struct CompletionInputs {
    long scan_counter = 0;
    double elapsed_seconds = 0;
    double stage_temperature = 0;  // from the last thermostat step
    bool camera_in_use = true;
    bool save_raw = false;  // the SaveRawData mark
    // The run's internal-reference factors by well number; wells past the end count as 1.0.
    std::span<const double> reference_factors;
    PulseBoxes pulse;
    char decimal = '.';  // the locale's decimal separator
};

struct WindowCompletion {
    WindowCounts counts;
    WindowRecords records;
};

// Completes the current window (window.camera_index, window.window_index) in order: the scan
// temperature, the light.csv row (showing the pulse state the previous completion left), the
// pulse step (sending levels through devices), and for a camera in use the raw-frame record,
// the counting and the pixel-activity record; then the activity rows of each column band of the
// camera ("0" for a camera not in use) and the temperature row.
WindowCompletion CompleteWindow(RunTables& tables, WindowTables& window, WindowFrames& frames,
                                const CompletionInputs& inputs, lighting::PulseState pulse, RunDevices& devices);

}  // namespace tirmo::acquisition
