#pragma once
// The factory window: engineering tools of the instrument. It shares the link with the main
// window and reports into its own status line and communication monitor. As the main window, it
// owns one object per subsystem, made in that subsystem's folder; the window itself keeps the
// frame, the menus, the layout and the way back to the main window.
#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "app/InstrumentState.h"
#include "app/TextBoxConsole.h"
#include "devicememory/PixelMapControls.h"
#include "camera/FactoryCameraTools.h"
#include "lighting/FactoryLightTools.h"
#include "app/FactoryLinkConsole.h"
#include "app/LightCalibrationWindows.h"
#include "plate/FactoryPlateMap.h"
#include "plate/WellMaskTools.h"
#include "plate/WellGroups.h"
#include "thermal/FactoryThermalConsole.h"
#include "ui/Forward.h"

class QAction;
class QMenu;
class QCloseEvent;
class QGroupBox;
class QResizeEvent;
class QShowEvent;
class QScrollArea;
class QVBoxLayout;

namespace tirmo::app {

class Frm_advance : public QMainWindow, public TextBoxConsole {
    Q_OBJECT
public:
    // The factory window works on the program's instrument state (its link and instrument), as
    // the main window does. Its plate map groups wells in the shared group tables (the main
    // window's); alone, in tables of its own.
    explicit Frm_advance(InstrumentState& state, QWidget* parent = nullptr);
    Frm_advance(InstrumentState& state, plate::WellGroups& shared_groups, QWidget* parent = nullptr);
    ~Frm_advance() override;

    // SetStatus and SetMonitor write txt_status and txt_in (TextBoxConsole).

    // The state every window shares; session() is instrument.session.
    InstrumentState& instrument;

    ui::Label* lbl_lenrx = nullptr;
    // "Advanced parameters": the tools, in a scroll area so that each stays reachable in the
    // frame's narrow column.
    QGroupBox* frame_advanced = nullptr;
    QScrollArea* frame_advanced_scroll = nullptr;

    // ==== window frame and layout (Frm_advance.cpp) ====
    ui::Shape* Shape5 = nullptr;
    ui::Line* Line5 = nullptr;
    ui::Label* lbl_status = nullptr;  // "Status:"
    ui::Label* lblrx = nullptr;       // "Rx", kept hidden by the layout
    ui::TextBox* txt_timepass = nullptr;
    QWidget* frame_main = nullptr;    // Picact2, Picact and Picrealtime
    ui::PictureBox* Picact2 = nullptr;
    ui::PictureBox* Picrealtime = nullptr;
    // Places the controls on the grid of the window's current client area.
    void ArrangeControls();
    void Form_Resize();
    // The tools in the frame's column: small type, tight grids, narrow boxes and buttons.
    void CompactTools(QWidget* toolsPanel);
    void CompactControls(QWidget* toolsPanel);  // small type, tight grids, short rows

    // The transmit panel with the circle-selection frame, and the pixel-mask panel "Select" on
    // Picact2 (shown at opening, hidden by its "X").
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame8 = nullptr;
    ui::Shape* Shape_circle_selection = nullptr;
    QGroupBox* Frame_select = nullptr;
    ui::CommandButton* cmd_close_frame2 = nullptr;  // "X"
    // The well the masks are named after: typed, the lists stay empty ("A" and "1" at opening).
    ui::ComboBox* cmb_set1 = nullptr;
    ui::ComboBox* cmb_set2 = nullptr;
    // 0 or 2; 2 while the circle selection is on (solid shape). The window's well-mask build
    // reads it.
    int circle_selection_mode = 0;
    void Frame8_Click();
    void cmd_close_frame2_Click();

    // ==== shell (Frm_advance_shell.cpp) ====
    // The window the "Close" button and closing go back to (shown modeless).
    QWidget* main_window = nullptr;
    ui::CommandButton* cmd_menu = nullptr;   // "Close"
    ui::CheckBox* chk_video = nullptr;       // "Video_mode"
    ui::CheckBox* chk_exportbmp = nullptr;   // "Export_videoBMP"
    ui::CommandButton* Command_fullframe = nullptr;
    void Form_Load();
    void cmd_menu_Click();
    void Form_Unload();
    void chk_video_Click();
    void mnversion_Click();
    void mnabout_Click();
    void mnadvanced_Click();
    // Entries whose panels and lists are the main window's: they act there.
    void mncalibratewell_Click();  // "Calibrate position"
    void mn_internalref_Click();   // "Enable Internal Reference ", ticked as the main window's
    void mndelblank_Click();       // "Delete blank read" of the main window's blank list
    QAction* mn_internalref = nullptr;
    QMenu* mndelblank_top = nullptr;  // "blankmenu"

    // ==== the subsystems' tools, one object each, as for the main window ====
    std::unique_ptr<FactoryLinkConsole> link;       // the "Link" frame
    std::unique_ptr<camera::FactoryCameraTools> camera;   // "Camera" and the frame transfers
    std::unique_ptr<lighting::FactoryLightTools> lighting;
    std::unique_ptr<thermal::FactoryThermalConsole> thermal;
    // The plate map and the camera pictures share Picact.
    ui::PictureBox* Picact = nullptr;
    std::unique_ptr<plate::FactoryPlateMap> plate;
    // "set" and "Reset all" of Frame_select, over this window's frames, picture and
    // circle_selection_mode.
    std::unique_ptr<plate::WellMaskTools> masks;
    // The light calibrations on this window's camera, LEDs and run_state (plate->run_state).
    std::unique_ptr<FactoryLightCalibration> lightcal;
    // "Apply to all" in Frame_select with this window's own pixel-enable table.
    std::unique_ptr<devicememory::PixelMapControls> pixelmap;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    QVBoxLayout* tools_ = nullptr;  // each subsystem adds its frames here
    QAction* lightback_ = nullptr;  // "Background light", live once the light calibrations are

private:
    void buildShell();
    void buildTools();
    plate::WellGroups own_groups_;
    plate::WellGroups& groups_;  // the plate map's: own_groups_ or the main window's
};

}  // namespace tirmo::app
