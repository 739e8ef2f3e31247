#pragma once
// The chemotaxis window ("BMP_export"): for the acquisition in the session's acquisition folder
// it runs the processing that renders every well's frames, charts and report ("Process Files"),
// and views one well at a time: its frames played or stepped through, and its chart of the
// chosen index kind. A menu entry exports the raw camera frame.
//
// The window only shows and edits; the processing, the indexes and the export are the engines
// beside it. Long loops (processing, playback) let window events run once per frame, so a second
// click on their button, or closing the window, stops them at their next step.
#include <QMainWindow>

#include <array>
#include <functional>
#include <string>

#include "ui/Forward.h"

class QAction;
class QCloseEvent;
class QGroupBox;
class QMenu;

namespace tirmo::link {
struct Session;
}
namespace tirmo::ui {
class OptionButton;
}

namespace tirmo::chemotaxis {

inline constexpr const char* kThreePointAdvice = "It is reccomended > 3h acquisition to use this setup";
inline constexpr const char* kExportDone = "done";
// The status line after the raw frame export, followed by the folder it wrote.
inline constexpr const char* kRawSaved = "Raw files: ";
inline constexpr const char* kRawNotOpened = "No program could open the folder. The raw files are saved in ";

// The report panel's choices the chemotaxis report follows: the file type and the divider, read
// when the report is written.
struct ReportChoice {
    std::function<std::string()> extension;
    std::function<std::string()> divider;
};

class Frm_bmpexport : public QMainWindow {
    Q_OBJECT
public:
    Frm_bmpexport(link::Session& session, ReportChoice report, QWidget* parent = nullptr);

    ui::ComboBox* cmb_well = nullptr;
    ui::TextBox* txt_formatowell = nullptr;
    ui::TextBox* txt_frame = nullptr;
    ui::TextBox* txt_cframe = nullptr;
    ui::Label* Label6 = nullptr;  // "/"
    ui::PictureBox* wellpicture = nullptr;
    ui::PictureBox* Picture_progress = nullptr;
    ui::CommandButton* cmd_loop = nullptr;   // "Play" / "Stop"
    ui::CommandButton* cmd_menos = nullptr;  // "<<"
    ui::CommandButton* cmd_mas = nullptr;    // ">>"
    ui::CheckBox* chk_3point = nullptr;
    ui::ComboBox* cmb_analysis = nullptr;
    QGroupBox* frame_2sides = nullptr;
    QGroupBox* frame_4sides = nullptr;
    std::array<ui::OptionButton*, 7> option_axis{};  // elements 1 to 6
    ui::CheckBox* chk_grey = nullptr;
    ui::CheckBox* chk_redcross = nullptr;
    ui::CommandButton* cmd_process = nullptr;
    ui::Label* lbl_name = nullptr;
    ui::Label* Label2 = nullptr;
    ui::Label* Label3 = nullptr;
    ui::Label* Label5 = nullptr;
    // The status line: what the last processing run has to say of the files it read, and where
    // the report and the raw files went, and whether a program could open them.
    ui::TextBox* txt_status = nullptr;
    QMenu* mn_advanced = nullptr;
    QAction* mn_export_rawbmp = nullptr;
    ui::Timer* Timer1 = nullptr;

    bool playback_active = false;
    bool processing = false;
    ReportChoice report_choice;  // a processing run is going on

    void Form_Load();
    void Timer1_Timer();
    void cmb_well_Click();
    void cmb_analysis_Click();
    void option_axis_Click(int index);
    void chk_3point_Click();
    void cmd_loop_Click();
    void cmd_mas_Click();
    void cmd_menos_Click();
    void mn_export_rawbmp_Click();
    void cmd_process_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void build();
    std::string imageFolder() const;
    std::string frameFile(int frame) const;
    // The chart of the chosen kind for the well in cmb_well; empty when no kind is chosen.
    std::string chartFile() const;
    bool showFrame(int frame);
    void tell(const std::string& text);

    link::Session& session_;
};

// The MapPlot hand-over: the chemotaxis window (loaded when it is not open), given the plate
// format and shown; its well list is filled on Timer1's first tick. The window goes with owner.
Frm_bmpexport* OpenChemotaxisWindow(QWidget* owner, link::Session& session, const std::string& format,
                                    ReportChoice report);
// The window the hand-over made, or nullptr.
Frm_bmpexport* ChemotaxisWindow();

}  // namespace tirmo::chemotaxis
