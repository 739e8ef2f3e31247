// The main window's temperature controls and its temperature stage commands.
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "app/Frm_acquire.h"
#include "ui/Controls.h"

namespace tirmo::app {

void Frm_acquire::buildThermalControls()
{
    auto* frame = new QGroupBox(this);
    auto* grid = new QGridLayout(frame);
    txttemp = new ui::TextBox(frame);
    txttemp->setObjectName("txttemp");
    txttemp->SetText("20");
    grid->addWidget(new QLabel("Temperature", frame), 0, 0);
    grid->addWidget(txttemp, 0, 1);
    panels_->addWidget(frame);
}

int Frm_acquire::PeltierOff() { return stage.PeltierOff(*this); }

int Frm_acquire::SetFan(int level) { return stage.SetFan(level, *this); }

double Frm_acquire::SetPowerReadTemperature(int& power) { return stage.SetPowerReadTemperature(power, *this); }

void Frm_acquire::TemperatureTimerStep() {}

}  // namespace tirmo::app
