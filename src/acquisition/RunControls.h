#pragma once
// The main window's acquisition run as the window runs it: run preparation with its status line
// and message box, the camera window set-up with its boxes, buttons and plate map, and the
// completion of a camera window with its light pulses, plate drawing and run records. The run's
// own state (the tables, the current camera and window, the scan counter, the frames of the
// window being acquired with their good-frame count and the windows' pixel masks the live
// picture reads) lives here; the elapsed run time is the session's. Everything it needs
// of the window goes through one RunWindow, and everything it counts through the run engine.
//
// The Play button and the name frame start a run: the pre-run checks, the name of the run, its
// folder and starting files, the autoreference round, then window 0 of camera 0 and Timer2.
//
// The acquisition tick puts each good frame k of the current window into
// frame_store[camera_index][k], calls CompleteWindow once the eleventh is in, then advances
// camera_index / window_index (and scan_counter after the last window of the last camera) and
// calls SetCameraWindow for the next window.
#include <functional>
#include <random>
#include <string>

#include "acquisition/CameraWindow.h"
#include "acquisition/RunDevices.h"
#include "acquisition/RunFrameStore.h"
#include "acquisition/RunProject.h"
#include "acquisition/RunTables.h"
#include "acquisition/RunWindow.h"
#include "acquisition/WindowCompletion.h"
#include "camera/PixelMask.h"
#include "lighting/LightPulse.h"
#include "link/Protocol.h"
#include "plate/PlateFormat.h"
#include "plate/PlateState.h"
#include "plate/WellGroups.h"
#include "thermal/TemperatureControl.h"
#include "thermal/TemperatureStage.h"
#include "ui/FilterHandle.h"
#include "ui/Forward.h"
#include "ui/Timer.h"

class QWidget;

namespace tirmo::acquisition {

class RunAutoReference;

// The status line when a window's records could not all be written; the run then stops and
// says so in a message box too, with kRunStopped after the folder.
inline constexpr const char* kRecordsNotWritten = "Run records could not be written to ";
inline constexpr const char* kRunStopped = ". The run has been stopped.";

// The pre-run checks' messages, in the order the checks run.
inline constexpr const char* kInvalidAcquisitionTime = "invalid acquisition time";
using plate::kPlateFormatError;
inline constexpr const char* kPortNotFound = "COMPORT not found. Plug the equipment and restart the software";
inline constexpr const char* kLightCalibrationNeeded = "Light Calibration Needed before run!!";
inline constexpr const char* kReferenceMandatory =
    "Internal Reference (homogeneous plate) is mandatory for this plate format";
inline constexpr const char* kMaximumTime = "Maximum time limited to 32000 minutes";
// The status line when the name frame raised a shorter typed time to the shortest run.
inline constexpr const char* kShortestTimeRaised = "Acquisition time raised to the shortest run, 5 minutes";
inline constexpr const char* kConfirmReferenceRun = "Proceed to measure internal Reference(homogeneus plate)?";
inline constexpr const char* kStartingAutoreference = "Starting autoreference round";
// A run start that could not make its folders or starting files, with the path: the run does
// not start.
inline constexpr const char* kFolderNotCreated = "The acquisition folder could not be created: ";
inline constexpr const char* kStartingFileNotWritten = "The run could not write its starting files in ";

// What the run shares with the window's panels. The instrument objects it sends through itself:
// the stage keeps its own state between commands, and the one-second tick drives the thermostat
// and the light pulses, which the run stops while it starts and at its end.
struct RunShared {
    thermal::TemperatureStage& stage;
    // The thermostat step over the shared thermal settings, which the acquisition tick runs.
    thermal::TemperatureControl& temperature;
    ui::Timer& temperature_tick;
    // The light panel's pulse state: its countdown is what the pulse indicator shows; and the
    // pulse settings its boxes show, which the window completions schedule by.
    lighting::PulseState pulse;
    const lighting::PulseBoxes& pulse_boxes;
    // The plate: the run reads its geometry from the files of the run's format into it, and the
    // run start writes its well groups into the project and the acquisition.
    plate::PlateState& plate;
    // The project the run is made in, its blank and reference factors, and the files of them
    // the run start writes.
    RunProject& project;
    // The camera window being acquired, as the live picture shows it.
    camera::LiveWindow& live;
};

class RunControls : private RunDevices {
public:
    // The Play and Report buttons go on client, where the window's tree finds them.
    RunControls(link::Console& console, RunWindow& window, RunShared shared, QWidget* client);

    // The autoreference round the run start runs before its first window; without one the run
    // starts at once.
    void UseAutoReference(RunAutoReference& round) { autoreference_ = &round; }

    // ---- Play button, name frame and run start
    // Builds the name frame's controls in the window's frm_confirmacq.
    void AttachNameFrame(QWidget* frame);
    // "New" resets the window for the next run; otherwise, with the run idle, the pre-run checks
    // and the name frame; a running run stops and a light calibration is cancelled whatever
    // the checks would say.
    void cmdPlay_Click();
    // Closes the name frame and puts the instrument at rest.
    void cmd_cancelacq_Click();
    // The run start with the project box, the name box and the blank-run mark as they stand:
    // folders, starting files, internal reference, then the autoreference round and Timer2.
    // The blank-run dialog calls it too.
    void cmd_playacq_Click();
    // Ticked: the reference project and "<format>_reference" in the boxes, locked; else unlocked.
    void chk_internalref_Click();
    void txt_acqname_Click();
    void txt_acqname_KeyPress(int key);
    // Keeps the acquisition time at 32000 minutes at most.
    void txtlapse_Change();
    // The caption of cmdPlay ("Play", "STOP", "New", "STOP Setup"), repainted.
    void SetPlayCaption(const std::string& caption);

    ui::CommandButton* cmdPlay = nullptr;
    ui::CommandButton* cmdreport = nullptr;  // enabled by the run start; its click is the report panel's
    QWidget* frm_confirmacq = nullptr;
    ui::CheckBox* chk_internalref = nullptr;  // "Use as Internal Reference"
    ui::TextBox* txt_pjname = nullptr;
    ui::TextBox* txt_acqname = nullptr;
    ui::CommandButton* cmd_playacq = nullptr;
    ui::CommandButton* cmd_cancelacq = nullptr;
    // Set when a press stops a run or cancels a light calibration; cleared by every other press.
    bool stop_requested = false;
    // The folder names of the last run start: its project under reports and its acquisition.
    std::string project_folder;
    std::string acquisition_name;

    // Prepares the run's tables from the plate format in use: "Setting up IR Video-Camera", the
    // plate readers, the engine's preparation, then the run's speed and exposure into the camera
    // boxes. 1 on success; -1 after the message box with the engine's message (the camera boxes
    // are then left alone).
    int PrepareAcquisition();

    // Points the run at (camera, window): select buttons, window boxes, window tables, the camera
    // set-up unless in dummy mode, the live strip cleared and the plate map of the window. 1.
    // The frame of the current window, (camera, window), from the instrument: its well columns
    // by the bands the run was prepared with, "Error" or empty. The autoreference round reads
    // its frames with it as well.
    std::string FetchFrame(int camera, int window);
    int SetCameraWindow(int camera, int window);

    // Completes the current window from frame_store[camera_index]: counting, light pulse, plate
    // drawing and the records appended in the session's acquisition folder with the locale's
    // decimal separator. False, with a status line, when a record could not be written (the
    // counts stand).
    bool CompleteWindow();

    // Arms a run in folder without the name frame and the autoreference round (tests and
    // benchmarks): run preparation, the starting run files (title as the name box gives it), then
    // what the run start does after its round: the first window's camera boxes, window 0 of
    // camera 0, the run counters, the elapsed time from now on the monotonic clock, light.csv and
    // Timer2 at 200 ms. 1, or -1 when the preparation was refused or a file could not be written
    // (with a status line or message); nothing runs then.
    int ArmRun(const std::string& folder, const std::string& title);

    // The acquisition loop: one step of the run per tick (one frame of the current window, the
    // thermostat every third frame, the completion after the eleventh frame, then the next
    // window or the end of the run once the time is up and camera 5 is done). A window whose
    // records could not be written stops the run with a message box instead.
    ui::Timer Timer2;
    void Timer2_Timer();
    // Stops the run (by the user or on error) and puts the instrument at rest: Peltier off, fan
    // at half power, pulse light off, no camera selected; temperature control off; the blank-run
    // mark cleared.
    void StopPlayRun();

    int failed_frames = 0;
    bool time_up = false;
    // The temperature (degrees C) the last thermostat step returned; the window records carry it.
    double stage_temperature = 0;
    // Frames of dummy mode for (camera, window, pixels); random when not set.
    std::function<std::string(int camera, int window, int pixels)> dummy_frames;

    RunTables tables;
    WindowTables window_tables;
    RunFrameStore frame_store;
    CameraWindowGeometry window_geometry;  // of the window set up last
    int camera_index = 0;
    int window_index = 0;
    long scan_counter = 0;
    WindowCompletion last_completion;  // what the last completion counted and recorded

    // The good-frame count of the current camera window and its pixel mask: the shared live
    // window the live picture reads.
    long& frame_counter;
    camera::WindowPixelMask& window_pixel_mask;

    // What the plate map draws for the window just counted, in its own table types.
    plate::WindowActivity ActivityView(double minutes);
    // The same over (camera, window)'s pixel wells and places: the counts are always those of the
    // window just counted. Valid until the next view.
    plate::WindowActivity ActivityView(double minutes, int camera, int window);

private:
    ui::FilterHandle name_box_events_;
    // One block of the current window from the instrument (the block, "Error" or empty).
    std::string fetchWindowBlock(int camera);
    // The layout and band files of the run's format read into the plate state, as the run's
    // geometry.
    RunGeometry ReadPlateGeometry();
    bool PreRunChecks();
    void OpenNameFrame();
    void ApplyInternalReferenceRule();
    void StopByUser();
    void CancelCalibration();
    void RedrawPlateAfterStop();
    bool CreateRunFolders();
    bool WriteRunStartFiles();
    void RunAutoreferenceRound();
    bool StartTicking();
    void RefuseStart(const std::string& message);
    void GiveBackBlankRun();
    void buildRunButtons(QWidget* client);

    void FrameStep();
    // The elapsed whole seconds at which the current window's wells were read, this scan.
    void RecordWindowSeconds();
    void AdvanceWindow();
    void EndRun();
    void CommunicationError();
    // A window whose records could not be written: the run stops as a failed run, never "DONE!".
    void RecordsNotWritten();

    double run_start_ms_ = 0;
    std::mt19937 random_;

    void SendLightPulse(int level) override;
    void ApplyCameraSettings(const CameraWindowGeometry& window) override;
    // The camera set in the camera set-up and selected (camera::kNoCamera: none).
    void SelectCamera(int camera);
    void PeltierOff();
    void SetFan(int level);
    void StopTemperatureTick();

    link::Console& console_;
    RunAutoReference* autoreference_ = nullptr;
    // The time and format the run is made with, shared with every window that shows them.
    link::RunSettings& settings() { return console_.session().run_settings; }
    // The camera set-up the run sends for each window, shown by the window's camera boxes.
    link::CameraSettings& cameraSettings() { return console_.session().camera; }
    RunWindow& window_;
    RunShared shared_;
    std::vector<long> viewPixelActivity_;
    std::vector<int> viewPixelWell_, viewPixelColumn_, viewPixelRow_;
    std::vector<double> viewWellActivity_;
};

}  // namespace tirmo::acquisition
