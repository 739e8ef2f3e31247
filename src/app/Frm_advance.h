#pragma once
// The factory window: engineering tools of the instrument. It shares the link with the main
// window and reports into its own status line and communication monitor. Subsystems add their
// tools in their own folders (src/<subsystem>/Frm_advance_<name>.cpp), as for the main window.
#include <QMainWindow>

#include <string>

#include "link/Protocol.h"

class QGroupBox;
class QVBoxLayout;

namespace tirmo::ui {
class TextBox;
class Label;
class ComboBox;
class CheckBox;
class CommandButton;
class Shape;
class Timer;
}  // namespace tirmo::ui

namespace tirmo::app {

class Frm_advance : public QMainWindow, public link::Console {
    Q_OBJECT
public:
    explicit Frm_advance(QWidget* parent = nullptr);
    ~Frm_advance() override;

    void SetStatus(const std::string& text) override;
    void SetMonitor(const std::string& text) override;

    ui::TextBox* txt_status = nullptr;
    ui::TextBox* txt_in = nullptr;
    ui::Label* lbl_lenrx = nullptr;
    ui::TextBox* txtcom = nullptr;
    QGroupBox* frame_advanced = nullptr;  // "Advanced parameters"

    // ==== camera (camera) ====
    void buildCameraTools();
    // ==== end camera ====

    // ==== lighting (lighting) ====
    void buildLightingTools();
    // ==== end lighting ====

    // ==== temperature (thermal) ====
    void buildThermalTools();
    // ==== end temperature ====

protected:
    QVBoxLayout* tools_ = nullptr;  // each subsystem adds its frames here
};

}  // namespace tirmo::app
