#pragma once
// The main window on the simulator as instrument SN 58 with the default w6 files and a plate lit
// by the instrument's LEDs, the light calibration done, the project default_project: runs are
// started as a user starts them, from the Play button.
#include <memory>
#include <string>
#include <vector>

#include "acquisition/RunControls.h"
#include "app/Frm_acquire.h"
#include "lighting/LedMap.h"
#include "project/ProjectControls.h"
#include "sim/SimLitPlate.h"
#include "support/FakeClock.h"
#include "support/LitW6Plate.h"
#include "support/W6WindowFixture.h"
#include "thermal/ThermalControls.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"

namespace tirmo::acquisition {

class RunStartTest : public ::tirmo::test::W6WindowFixture {
protected:
    void SetUp() override
    {
        W6WindowFixture::SetUp();
        if (HasFatalFailure()) return;
        lightSource = ::tirmo::test::InstallLitW6Plate(*sim, "config_SN58", kStartPower);
        window->project->current_project = "default_project";
        window->thermal->txttemp->SetText("25");
        sim->clearLog();
    }
    RunControls& run() { return *window->run; }
    void pressPlay() { run().cmdPlay->Click(); }
    bool nameFrameOpen() { return run().frm_confirmacq->isVisibleTo(window.get()); }
    // Play, the name typed, PLAY.
    void startRun(const std::string& name)
    {
        pressPlay();
        run().txt_acqname->SetText(name);
        run().cmd_playacq->Click();
    }
    // The plate format as a project selection leaves it: the project's format and the list.
    void usePlate(const std::string& format)
    {
        window->plate->current_format = format;
        window->cmb_well->SetText(format);
    }
    void tick()
    {
        clock.advanceMs(kTickMs);
        run().Timer2_Timer();
    }
    std::vector<int> savedPowers()
    {
        lighting::LedMap m;
        lighting::LoadLedTables(m, "", "config_SN58");
        return {m.power.begin(), m.power.end()};
    }

    static constexpr int kStartPower = 3;
    static constexpr double kTickMs = 2000;  // the test's clock moves faster than Timer2's
    ::tirmo::test::FakeClock clock;
    std::shared_ptr<sim::LitPlate> lightSource;
};

}  // namespace tirmo::acquisition
