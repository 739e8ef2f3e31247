#include "thermal/FrmTempCal.h"

#include <QGridLayout>
#include <QLabel>

#include "ui/Controls.h"

namespace tirmo::thermal {

FrmTempCal::FrmTempCal(QWidget* parent) : QGroupBox(parent)
{
    setObjectName("frmtempcal");
    setTitle("Temperature Calibration");
    auto* grid = new QGridLayout(this);
    auto named = [](QWidget* w, const char* name) {
        w->setObjectName(name);
        return w;
    };
    txt_temp1 = new ui::TextBox(this);
    named(txt_temp1, "txt_temp1");
    txt_temp1->SetText("22");
    cmd_sett1 = new ui::CommandButton(this);
    named(cmd_sett1, "cmd_sett1");
    cmd_sett1->SetCaption("Set T1");
    txt_temp2 = new ui::TextBox(this);
    named(txt_temp2, "txt_temp2");
    txt_temp2->SetText("35");
    cmd_set2 = new ui::CommandButton(this);
    named(cmd_set2, "cmd_set2");
    cmd_set2->SetCaption("Set T2");
    cmd_closetmpcal = new ui::CommandButton(this);
    named(cmd_closetmpcal, "cmd_closetmpcal");
    cmd_closetmpcal->SetCaption("Save");
    cmd_canceltemp = new ui::CommandButton(this);
    named(cmd_canceltemp, "cmd_canceltemp");
    cmd_canceltemp->SetCaption("Cancel");

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
