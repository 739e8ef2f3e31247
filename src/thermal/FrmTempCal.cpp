#include "thermal/FrmTempCal.h"

#include <QGridLayout>
#include <QLabel>

#include "ui/Controls.h"
#include "ui/Make.h"

namespace tirmo::thermal {

FrmTempCal::FrmTempCal(QWidget* parent) : QGroupBox(parent)
{
    setObjectName("frmtempcal");
    setTitle("Temperature Calibration");
    auto* grid = new QGridLayout(this);
    txt_temp1 = ui::MakeTextBox(this, "txt_temp1", "22");
    cmd_sett1 = ui::MakeButton(this, "cmd_sett1", "Set T1");
    txt_temp2 = ui::MakeTextBox(this, "txt_temp2", "35");
    cmd_set2 = ui::MakeButton(this, "cmd_set2", "Set T2");
    cmd_closetmpcal = ui::MakeButton(this, "cmd_closetmpcal", "Save");
    cmd_canceltemp = ui::MakeButton(this, "cmd_canceltemp", "Cancel");

    grid->addWidget(new QLabel("Reference T1 (\xC2\xB0" "C)", this), 0, 0);
    grid->addWidget(txt_temp1, 0, 1);
    grid->addWidget(cmd_sett1, 0, 2);
    grid->addWidget(new QLabel("Reference T2 (\xC2\xB0" "C)", this), 1, 0);
    grid->addWidget(txt_temp2, 1, 1);
    grid->addWidget(cmd_set2, 1, 2);
    grid->addWidget(cmd_closetmpcal, 2, 1);
    grid->addWidget(cmd_canceltemp, 2, 2);
    hide();
}

}  // namespace tirmo::thermal
