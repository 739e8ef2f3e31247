#pragma once
// The temperature-sensor calibration frame of the main window: a first point (the temperature a
// reference thermometer shows while the stage holds it), a second point at least 5 degrees away,
// Save and Cancel. The frame only holds the controls; the main window's handlers do the work.
#include <QGroupBox>

namespace tirmo::ui {
class TextBox;
class CommandButton;
}  // namespace tirmo::ui

namespace tirmo::thermal {

class FrmTempCal : public QGroupBox {
    Q_OBJECT
public:
    explicit FrmTempCal(QWidget* parent = nullptr);

    ui::TextBox* txt_temp1 = nullptr;         // reference temperature of point 1
    ui::CommandButton* cmd_sett1 = nullptr;   // "Set T1"
    ui::TextBox* txt_temp2 = nullptr;         // reference temperature of point 2
    ui::CommandButton* cmd_set2 = nullptr;    // "Set T2"
    ui::CommandButton* cmd_closetmpcal = nullptr;  // "Save"
    ui::CommandButton* cmd_canceltemp = nullptr;   // "Cancel"
};

}  // namespace tirmo::thermal
