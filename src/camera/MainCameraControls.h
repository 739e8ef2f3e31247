#pragma once
// The main window's camera: the "Setup CAM" boxes it shares with the factory window, and what
// only the main window has of the camera: the pictures Picact, Picact2 and Picrealtime, the frame
// store with the transfers that fill it, and the well-calibration panel's set-up sequence with
// its camera buttons and band selectors. What it needs of lighting, of the plate panel and of the
// window comes through MainCameraNeeds, handed over at construction.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "camera/CameraControls.h"
#include "camera/FrameStore.h"
#include "camera/ImageDisplay.h"
#include "camera/PixelMask.h"
#include "plate/PlateState.h"

class QGroupBox;

namespace tirmo::camera {

// The colour of a camera button that is not the one chosen.
inline constexpr uint32_t kCameraButton = 0xFFFFFF;

struct MainCameraNeeds {
    // Lighting: every LED to one power level (the set-up lights the plate, then darkens it).
    std::function<void(int level)> all_leds;
    // Plate: the band editor's format, made the format in use.
    std::function<std::string()> take_editor_format;
    // The window: the status row's transfer label (lbl_lenrx).
    std::function<ui::Label*()> transfer_label;
};

// A panel made on the client area takes the size it asks for and keeps the visibility it was
// made with.
void placePanel(QWidget* panel);

class MainCameraControls : public CameraControls {
public:
    // The boxes go in a "Setup CAM" frame, the pictures and the calibration panel on client.
    // The set-up reads the band files into the shared plate state, and the grid and the band
    // selectors show its tables; the live picture shows the run's camera window. Frames go into
    // the instrument's frame store, which the light calibrations and the autoreference read.
    MainCameraControls(link::Console& console, plate::PlateState& plate, const LiveWindow& live, FrameStore& frames,
                       QWidget* client, MainCameraNeeds needs);
    ~MainCameraControls();

    // Frame transfer: frames go into frame_store; the run's fetches return the block, "Error"
    // or an empty text for no result.
    void ReadCameraImage(const std::string& frame, bool draw);
    std::string ReadCameraActivity(int camera);
    std::string ReadCameraScan(int camera, int window);
    void AcquireCalibrationFrame();
    void GrabFrame();
    // Image display on Picact, Picact2 and Picrealtime.
    void SetFrameScale();
    void DrawGrayImage(int camera, int lines, int pixels);
    void DrawCameraImage();
    void DrawCameraGrid(int camera);
    void ClearRealtimeBar(int slot);
    void DrawLiveActivity(int camera, int window, const std::string& frame, const std::string& difference,
                          int have_difference);
    // Start-up: Picrealtime cleared and scaled (0, 0)-(100, 100).
    void ResetRealtimePicture();

    QGroupBox* frame_setupcam = nullptr;  // "Setup CAM"
    ui::TextBox* txtprogram = nullptr;    // mode letter of the last frame request
    ui::PictureBox* Picact = nullptr;       // plate map or camera picture
    ui::PictureBox* Picact2 = nullptr;      // live activity picture
    ui::PictureBox* Picrealtime = nullptr;  // per-frame progress bar

    FrameStore& frame_store;
    int camera_index = 0;           // the camera shown or scanned, 0..5
    bool plate_view_shown = false;  // the plate map, not a camera picture, is on Picact

    // Camera set-up sequence and the well-calibration panel: choosing a camera sets it up from
    // the instrument's defaults, grabs its window twice, reads the format's bands and fills the
    // band selectors. A click while a set-up is running is refused: the running one yields to
    // the window between commands, and a second sequence would interleave its frames with it.
    void cmd_camselect_Click(int Index);
    bool CameraSetupRunning() const { return camselect_running_; }
    // What a click refused during the running set-up asks the user to know; the set-up shows it
    // again as it ends.
    std::string setup_notice;
    void GrabCameraImage(bool& draw);
    // Resends the camera settings as they stand in the boxes, the session's camera set-up (no
    // status, no yield).
    void ApplyCameraSettings();
    std::string InitRowColumnSelectors(int& camera, int& column, int& row);
    void SetColumnRange(int& camera, int& column);
    void SetRowRange(int& camera, int& row);
    void cmb_column_Click();
    void cmb_row_Click();

    QGroupBox* Frame_calibration = nullptr;  // "Well Calibration"
    std::array<ui::CommandButton*, 6> cmd_camselect{};  // "C0" .. "C5"
    ui::ComboBox* cmb_column = nullptr;
    ui::ComboBox* cmb_row = nullptr;
    ui::TextBox* txt_column_start = nullptr;
    ui::TextBox* txt_column_end = nullptr;
    ui::TextBox* txt_row_start = nullptr;
    ui::TextBox* txt_row_end = nullptr;

private:
    void buildSetupFrame();
    void buildPictures(QWidget* client);
    void buildCalibrationPanel(QWidget* client);
    // The "Setup CAM" boxes show and edit the session's camera set-up.
    void bindSettings();
    std::array<ui::TextBox*, link::CameraSettings::kBoxes> settingBoxes() const;
    int settings_watch_ = 0;
    // The plate's band and well tables, read-only, for the grid and the selectors.
    GridTables bandTables() const;
    plate::PlateState& plate_;
    const LiveWindow& live_;
    MainCameraNeeds needs_;
    bool camselect_running_ = false;
};

}  // namespace tirmo::camera
