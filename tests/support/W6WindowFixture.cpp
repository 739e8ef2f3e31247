#include "support/W6WindowFixture.h"

#include <QAction>

#include "acquisition/RunGeometryFixture.h"
#include "plate/PlateControls.h"
#include "plate/PlateSpecFile.h"
#include "plate/BandFiles.h"
#include "platform/ProgramFolder.h"
#include "ui/ComboBox.h"

namespace tirmo::test {

void W6WindowFixture::SetUp()
{
    LinkFixture::SetUp();
    platform::SetProgramFolder(folder.path());
    installed = std::make_unique<ScopedDialogs>(boxes);
    session.serial_number = 58;
    link::ApplyInstrumentDefaults(session);
    window = std::make_unique<app::Frm_acquire>(instrument);
    window->unloaded = true;
    ASSERT_TRUE(plate::WriteW6ColumnFile("\\config_SN58"));
    ASSERT_TRUE(plate::WriteW6RowFile("\\config_SN58"));
    ASSERT_TRUE(plate::WriteW6SpecFile("\\config"));
}

void W6WindowFixture::chooseW48()
{
    ASSERT_NO_FATAL_FAILURE(acquisition::test::WritePlateFiles(acquisition::test::W48Geometry(), "w48", 58));
    boxes.expectMessage("enable internal reference", ui::MsgResult::Yes);
    boxes.expectMessage("OK");
    window->mn_internalref->trigger();
    boxes.expectMessage("Change Plate to w48?", ui::MsgResult::Yes);
    window->cmb_well->SetText("w48");
    ASSERT_EQ(window->plate->current_format, "w48");
}

void W6WindowFixture::TearDown()
{
    window.reset();
    installed.reset();
    LinkFixture::TearDown();
}

}  // namespace tirmo::test
