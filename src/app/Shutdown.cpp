// The shutdown: the settings record and the last project are saved, and the instrument is left
// at rest (Peltier off, fan off, blue light off, no camera selected) before the link closes.
#include <exception>
#include <functional>

#include "app/Frm_acquire.h"
#include "thermal/ThermalControls.h"
#include "link/CommPort.h"
#include "link/Exchange.h"
#include "platform/Clock.h"
#include "project/LastProject.h"
#include "ui/Controls.h"

namespace tirmo::app {
namespace {
constexpr int kStepPauseMs = 10;
constexpr int kParkPauseMs = 100;

// Every step is attempted: a failing one must not leave the Peltier or the fan running.
void attempt(const std::function<void()>& step)
{
    try {
        step();
    } catch (const std::exception&) {
    }
}
}  // namespace

void Frm_acquire::Form_Unload()
{
    if (unloaded) return;  // the close box and a signal may both ask
    unloaded = true;
    // The instrument is left at rest even when the window closes in the middle of an exchange,
    // a silent instrument's wait included; that exchange stops at its next step.
    const link::Exchange exchange{link::Exchange::Takeover{}};
    // A run ends with the window: its round or tick, stopped in the middle of a wait, must not
    // go on to ask the closed link for anything.
    session().run_state = 0;
    attempt([this] { SaveConfigTxt(); });
    attempt([this] { project::SaveLastProject(project->current_project, session().serial_number); });
    attempt([this] {
        thermal->PeltierOff();
        platform::Sleep(kStepPauseMs);
    });
    attempt([this] {
        thermal->SetFan(0);
        platform::Sleep(kStepPauseMs);
    });
    attempt([this] {
        lighting->SendLightPulse(0);
        platform::Sleep(kStepPauseMs);
    });
    attempt([this] {
        camera->txt_cam->SetText("6");
        camera->txt_cam->Refresh();
        camera->cmd_camera_Click();
    });
    platform::Sleep(kParkPauseMs);
    // Close the link's own slot: the port box may have been edited since the link was opened.
    session().port_open = false;
    if (session().port_slot >= 1) attempt([this] { link::CommClose(session().port_slot); });
}

}  // namespace tirmo::app
