// The main window's light controls: the blue light and its pulses.
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "app/Frm_acquire.h"
#include "lighting/LedCommands.h"
#include "ui/Controls.h"
#include "ui/Shape.h"
#include "ui/Timer.h"

namespace tirmo::app {

void Frm_acquire::buildLightingControls()
{
    auto* frame = new QGroupBox(this);
    auto* grid = new QGridLayout(frame);
    txt_led = new ui::TextBox(frame);
    txt_led->setObjectName("txt_led");
    txt_led->SetText("7");
    Chk_lenabled = new ui::CheckBox(frame);
    Chk_lenabled->setObjectName("Chk_lenabled");
    Chk_lenabled->SetCaption("Pulse");
    Shape_light = new ui::Shape(frame);
    Shape_light->setObjectName("Shape_light");
    Shape_light->setFixedSize(16, 16);
    grid->addWidget(new QLabel("LED", frame), 0, 0);
    grid->addWidget(txt_led, 0, 1);
    grid->addWidget(Chk_lenabled, 1, 0);
    grid->addWidget(Shape_light, 1, 1);
    panels_->addWidget(frame);
}

void Frm_acquire::SendLightPulse(int level)
{
    lighting::SendLightPulse(level, pulse_countdown, *this, [this](const std::string& caption, uint32_t fill) {
        Chk_lenabled->SetCaption(caption);
        Shape_light->SetFillColor(fill);
    });
}

void Frm_acquire::PulseTimerStep()
{
    if (!temperature_control_on && !pulse_on) Timer3->SetEnabled(false);
}

}  // namespace tirmo::app
