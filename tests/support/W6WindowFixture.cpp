#include "support/W6WindowFixture.h"

#include "plate/PlateSpecFile.h"
#include "plate/BandFiles.h"
#include "platform/ProgramFolder.h"

namespace tirmo::test {

void W6WindowFixture::SetUp()
{
    LinkFixture::SetUp();
    platform::SetProgramFolder(folder.path());
    installed = std::make_unique<ScopedDialogs>(boxes);
    session.serial_number = 58;
    link::ApplyInstrumentDefaults(session);
    window = std::make_unique<app::Frm_acquire>(session);
    window->unloaded = true;
    ASSERT_TRUE(plate::WriteW6ColumnFile("\\config_SN58"));
    ASSERT_TRUE(plate::WriteW6RowFile("\\config_SN58"));
    ASSERT_TRUE(plate::WriteW6SpecFile("\\config"));
}

void W6WindowFixture::TearDown()
{
    window.reset();
    installed.reset();
    LinkFixture::TearDown();
}

}  // namespace tirmo::test
