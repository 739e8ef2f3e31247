#pragma once
// The simulator with the link open to it, and the main and factory windows on that link, with
// scripted message boxes.
#include <memory>

#include "app/Frm_acquire.h"
#include "app/Frm_advance.h"
#include "support/LinkFixture.h"
#include "support/ScriptedDialogs.h"

namespace tirmo::test {

class CameraWindowFixture : public LinkFixture {
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        installed = std::make_unique<ScopedDialogs>(boxes);
        window = std::make_unique<app::Frm_acquire>(instrument);
        window->unloaded = true;  // no shutdown sequence when the test ends
    }
    void TearDown() override
    {
        factory.reset();
        window.reset();
        installed.reset();
        LinkFixture::TearDown();
    }
    app::Frm_advance& factoryWindow()
    {
        if (!factory) factory = std::make_unique<app::Frm_advance>(instrument);
        return *factory;
    }

    ScriptedDialogs boxes;
    std::unique_ptr<ScopedDialogs> installed;
    std::unique_ptr<app::Frm_acquire> window;
    std::unique_ptr<app::Frm_advance> factory;
};

}  // namespace tirmo::test
