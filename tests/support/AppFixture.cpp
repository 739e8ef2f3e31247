#include "support/AppFixture.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "link/Session.h"
#include "link/CommPort.h"
#include "platform/ProgramFolder.h"
#include "support/ProgramFiles.h"

namespace tirmo::test {

void AppFixture::SetUp()
{
    platform::SetProgramFolder(folder.path());
    installed = std::make_unique<ScopedDialogs>(boxes);
    restartProgram();
}

void AppFixture::restartProgram()
{
    auto state = std::make_unique<app::InstrumentState>();
    window = std::make_unique<app::Frm_acquire>(*state);
    instrument = std::move(state);
}

void AppFixture::TearDown()
{
    window->unloaded = true;  // a test that did not close the window does not want the shutdown
    window.reset();
    link::CommCloseAll();
    installed.reset();
    if (simCom) ::setenv(("TIRMO_COM" + std::to_string(simCom)).c_str(), "", 1);
    sim.reset();
    fakeClock.reset();
}

void AppFixture::attachSimulator(int com, int serialNumber)
{
    sim = std::make_unique<sim::InstrumentSimulator>();
    sim->with([serialNumber](sim::SimState& s) { return s.serialNumber = serialNumber; });
    sim->attachAsCom(com);
    simCom = com;
}

std::string AppFixture::readFile(const std::string& relative) const { return ReadProgramFile(relative); }

std::vector<std::string> AppFixture::frameList() const
{
    std::vector<std::string> out;
    for (const auto& f : sim->frames())
        out.push_back(std::string(1, char(f.letter)) + "," + std::to_string(f.a) + "," + std::to_string(f.b));
    return out;
}

}  // namespace tirmo::test
