// The temperature-sensor calibration of the main window against the simulated analog stage, and
// the saved line in tempfactor.dat.
#include <gtest/gtest.h>

#include <QLocale>
#include <cstdio>
#include <fstream>

#include "link/Session.h"
#include "link/CommPort.h"
#include "platform/ProgramFolder.h"
#include "support/AppFixture.h"
#include "support/ProcessLocale.h"
#include "thermal/FrmTempCal.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/Timer.h"

namespace tirmo::app {
namespace {

using ui::MsgResult;

class TempCalibrationWindowTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        useFakeClock();
    }
    // A generation-1 instrument whose sensor follows the line given (the nominal one by default).
    void connect(int serialNumber, double sensorSlope = 1.732, double sensorOffset = -16.34)
    {
        attachSimulator(4, serialNumber);
        sim->with([=](sim::SimState& s) {
            s.thermal.sensorSlope = sensorSlope;
            return s.thermal.sensorOffset = sensorOffset;
        });
        ASSERT_EQ(link::CommOpen(4, "COM4", kLinkSettings), 0);
        window->session().port_slot = 4;
        window->session().port_open = true;
        window->session().serial_number = serialNumber;
        link::ApplyInstrumentDefaults(window->session());
        window->thermal->stage.analog_stage = window->session().hardware_generation == 1;
    }
    // Starts a calibration with the stage held at 25 (the plate stays where the test puts it).
    void startCalibration()
    {
        window->thermal->mncalibratetemp_Click();
        window->thermal->txttemp->SetText("25");
        boxes.expectMessage("pre-heat/pre-cool to 25?", MsgResult::Yes);
        window->thermal->chk_temp->SetValue(1);
    }
    // The stage at this temperature, read by two thermostat steps (the first may still use the
    // reading that came back with the last drive command).
    void plateAt(double celsius)
    {
        sim->with([celsius](sim::SimState& s) { return s.thermal.temperatureC = celsius; });
        window->Timer3_Timer();
        window->Timer3_Timer();
    }
    void setPoint1(const std::string& typed)
    {
        window->thermal->frmtempcal->txt_temp1->SetText(typed);
        window->thermal->frmtempcal->cmd_sett1->Click();
    }
    void setPoint2(const std::string& typed)
    {
        window->thermal->frmtempcal->txt_temp2->SetText(typed);
        window->thermal->frmtempcal->cmd_set2->Click();
    }
    void writeFactors(const std::string& folderName, const std::string& text)
    {
        platform::MakeFolder(platform::ProgramPath(folderName));
        std::ofstream(platform::ProgramPath(folderName + "/tempfactor.dat"), std::ios::binary) << text;
    }
};

TEST_F(TempCalibrationWindowTest, TwoPointsOnASensorOffTheNominalLineAreAcceptedSavedAndReadBack)
{
    test::ScopedDecimalSeparator point(".");
    connect(12, 1.8, -18);
    startCalibration();
    EXPECT_FALSE(window->thermal->frmtempcal->isHidden());
    EXPECT_FALSE(window->thermal->frmtempcal->cmd_closetmpcal->isEnabled());
    plateAt(22);
    setPoint1("22");
    EXPECT_FALSE(window->thermal->frmtempcal->cmd_sett1->isEnabled());
    EXPECT_TRUE(window->thermal->frmtempcal->cmd_set2->isEnabled());
    plateAt(35);
    boxes.expectMessage("Parameters:\n[m=1.80];[b=-18.00]\nDELTA20=0.30\nDELTA37=-0.86");
    setPoint2("35");
    ASSERT_TRUE(window->thermal->frmtempcal->cmd_closetmpcal->isEnabled());
    EXPECT_DOUBLE_EQ(window->thermal->thermostat.working_temp_slope, 1.8);

    window->thermal->frmtempcal->cmd_closetmpcal->Click();
    EXPECT_TRUE(window->thermal->frmtempcal->isHidden());
    EXPECT_EQ(readFile("config_SN12/tempfactor.dat"), "\"Temperature sensor parameters\"\r\nOFFSET=-18\r\nSLOPE=1.8\r\n");
    EXPECT_TRUE(window->Timer3->Enabled()) << "temperature control is still on";

    window->session().temp_offset = window->session().temp_slope = 0;
    window->thermal->ReadTempCalibration();
    EXPECT_DOUBLE_EQ(window->session().temp_offset, -18);
    EXPECT_DOUBLE_EQ(window->session().temp_slope, 1.8);
    window->Timer3_Timer();
    window->Timer3_Timer();
    EXPECT_EQ(window->thermal->txt_current->Text(), "35.0") << "the stage now reads what the reference showed";
}

TEST_F(TempCalibrationWindowTest, AnAccurateSensorIsAcceptedBecauseThePointsUseTheRawReading)
{
    connect(12);
    startCalibration();
    plateAt(22);
    setPoint1("22");
    plateAt(35);
    boxes.expectMessage("Parameters:\n[m=1.73];[b=-16.34]");
    setPoint2("35");
    EXPECT_TRUE(window->thermal->frmtempcal->cmd_closetmpcal->isEnabled());
}

TEST_F(TempCalibrationWindowTest, EqualReadingsAtBothPointsAreRefusedWithoutDividingByZero)
{
    connect(12);
    startCalibration();
    plateAt(25);
    setPoint1("22");
    boxes.expectMessage("The sensor reading did not change between the two points");
    setPoint2("35");
    EXPECT_FALSE(window->thermal->frmtempcal->cmd_closetmpcal->isEnabled());
}

TEST_F(TempCalibrationWindowTest, PointsOutOfRangeOrTooCloseAreRefused)
{
    connect(12);
    window->thermal->mncalibratetemp_Click();
    boxes.expectMessage("Please, Write a valid number");
    setPoint1("22");  // nothing read yet

    startCalibration();
    plateAt(25);
    boxes.expectMessage("Please, Write a valid number (15 to 40)");
    setPoint1("40.5");
    EXPECT_EQ(window->thermal->frmtempcal->txt_temp1->Text(), "22");
    setPoint1("22,5");
    EXPECT_DOUBLE_EQ(window->thermal->cal_t1, 22.5) << "a comma is read as the decimal point";
    boxes.expectMessage("Valid Values between8-51\xB0" "C");
    setPoint2("52");
    EXPECT_EQ(window->thermal->frmtempcal->txt_temp2->Text(), "35");
    plateAt(30);
    boxes.expectMessage("Difference between temperatures must be >5 degrees");
    setPoint2("27.4");
    EXPECT_FALSE(window->thermal->frmtempcal->cmd_closetmpcal->isEnabled());
}

TEST_F(TempCalibrationWindowTest, CalibrationNeedsALinkAndNoRun)
{
    boxes.expectMessage("Operation not possible in OFFLINE Mode");
    window->thermal->mncalibratetemp_Click();
    EXPECT_TRUE(window->thermal->frmtempcal->isHidden());
    connect(12);
    window->session().run_state = 1;
    window->thermal->mncalibratetemp_Click();
    EXPECT_EQ(window->txt_status->Text(), "Temperature Calibration not possible in playMode");
    EXPECT_TRUE(window->thermal->frmtempcal->isHidden());
}

TEST_F(TempCalibrationWindowTest, CancelGoesBackToTheSavedLine)
{
    connect(12);
    writeFactors("config_SN12", "\"Temperature sensor parameters\"\r\nOFFSET=-16\r\nSLOPE=1.75\r\n");
    window->thermal->mncalibratetemp_Click();
    EXPECT_DOUBLE_EQ(window->thermal->thermostat.working_temp_slope, 1.732) << "the nominal line while calibrating";
    boxes.expectMessage("Exit without Saving changes?", MsgResult::Yes);
    window->thermal->frmtempcal->cmd_canceltemp->Click();
    EXPECT_TRUE(window->thermal->frmtempcal->isHidden());
    EXPECT_DOUBLE_EQ(window->thermal->thermostat.working_temp_slope, 1.75);
    EXPECT_DOUBLE_EQ(window->session().temp_offset, -16);
}

TEST_F(TempCalibrationWindowTest, ACorruptFileGivesTheDefaultsWithAMessage)
{
    window->session().serial_number = 57;
    writeFactors("config_SN57", "\"Temperature sensor parameters\"\r\nOFFSET=-12.1\r\n");
    window->session().temp_offset = 0;
    boxes.expectMessage("Error in tempfactor file. Using defaults");
    window->thermal->ReadTempCalibration();
    EXPECT_DOUBLE_EQ(window->session().temp_offset, -16.34);
    EXPECT_DOUBLE_EQ(window->session().temp_slope, 1.732);
    EXPECT_DOUBLE_EQ(window->thermal->thermostat.working_temp_offset, -16.34);
}

TEST_F(TempCalibrationWindowTest, AnImplausibleLineIsReportedInTheStatus)
{
    writeFactors("config", "\"Temperature sensor parameters\"\r\nOFFSET=0\r\nSLOPE=1.732\r\n");
    window->thermal->ReadTempCalibration();
    EXPECT_EQ(window->txt_status->Text(),
              "[#T001]: Temperature Calibration factors out of limit. Using default parameters");
    EXPECT_DOUBLE_EQ(window->session().temp_offset, -16.34);
}

TEST_F(TempCalibrationWindowTest, AMissingFileIsWrittenWithTheDefaults)
{
    test::ScopedDecimalSeparator point(".");
    platform::MakeFolder(platform::ProgramPath("config"));
    window->thermal->ReadTempCalibration();
    EXPECT_EQ(readFile("config/tempfactor.dat"), "\"Temperature sensor parameters\"\r\nOFFSET=-16.34\r\nSLOPE=1.73\r\n");
    EXPECT_DOUBLE_EQ(window->session().temp_slope, 1.732) << "the rounded file value is used from the next start";
}

TEST_F(TempCalibrationWindowTest, StartUpLoadsTheInstrumentsLine)
{
    attachSimulator(2, 58);
    writeFactors("config_SN58", "\"Temperature sensor parameters\"\r\nOFFSET=-16,5\r\nSLOPE=1,74\r\n");
    window->Form_Load();
    EXPECT_DOUBLE_EQ(window->session().temp_offset, -16.5);
    EXPECT_DOUBLE_EQ(window->session().temp_slope, 1.74);
    EXPECT_DOUBLE_EQ(window->thermal->thermostat.working_temp_slope, 1.74);
}

// The program started by a user whose locale writes "2,5": the file carries that user's commas,
// and the same numbers come back, as they do from a file written with points.
TEST_F(TempCalibrationWindowTest, UnderACommaLocaleTheFileIsWrittenWithCommasAndReadsBackTheSame)
{
    test::ScopedProcessLocale german(test::kCommaLocale);
    if (!german.active()) GTEST_SKIP() << test::kCommaLocale << " is not installed (scripts/install-deps.sh makes it)";
    char c[16];
    std::snprintf(c, sizeof c, "%.2f", -16.34);
    ASSERT_STREQ(c, "-16,34") << "the C library follows the switch";
    ASSERT_EQ(QLocale().decimalPoint(), QStringLiteral(","));

    platform::MakeFolder(platform::ProgramPath("config"));
    window->thermal->ReadTempCalibration();  // no file yet: the defaults are written
    EXPECT_EQ(readFile("config/tempfactor.dat"), "\"Temperature sensor parameters\"\r\nOFFSET=-16,34\r\nSLOPE=1,73\r\n");
    window->session().temp_offset = window->session().temp_slope = 0;
    window->thermal->ReadTempCalibration();
    EXPECT_DOUBLE_EQ(window->session().temp_offset, -16.34);
    EXPECT_DOUBLE_EQ(window->session().temp_slope, 1.73);
    EXPECT_DOUBLE_EQ(window->thermal->thermostat.working_temp_slope, 1.73);

    window->session().temp_offset = -17.5;
    window->session().temp_slope = 1.776;
    ASSERT_TRUE(window->thermal->WriteTempCalibration());
    EXPECT_EQ(readFile("config/tempfactor.dat"), "\"Temperature sensor parameters\"\r\nOFFSET=-17,5\r\nSLOPE=1,78\r\n");
    window->session().temp_offset = window->session().temp_slope = 0;
    window->thermal->ReadTempCalibration();
    EXPECT_DOUBLE_EQ(window->session().temp_offset, -17.5);
    EXPECT_DOUBLE_EQ(window->session().temp_slope, 1.78);

    writeFactors("config", "\"Temperature sensor parameters\"\r\nOFFSET=-16.5\r\nSLOPE=1.74\r\n");
    window->thermal->ReadTempCalibration();
    EXPECT_DOUBLE_EQ(window->session().temp_offset, -16.5);
    EXPECT_DOUBLE_EQ(window->session().temp_slope, 1.74);
    EXPECT_EQ(boxes.shown().size(), 0u) << "no file was taken for corrupt";
    EXPECT_EQ(window->txt_status->Text().find("[#T001]"), std::string::npos);
}

TEST_F(TempCalibrationWindowTest, UnderACommaLocaleTypedPointsAndCommasAreBothNumbers)
{
    test::ScopedProcessLocale german(test::kCommaLocale);
    if (!german.active()) GTEST_SKIP() << test::kCommaLocale << " is not installed (scripts/install-deps.sh makes it)";
    connect(12);
    startCalibration();
    plateAt(25);
    setPoint1("22.5");
    EXPECT_DOUBLE_EQ(window->thermal->cal_t1, 22.5);
    boxes.expectMessage("Difference between temperatures must be >5 degrees");
    setPoint2("27,4");
    EXPECT_DOUBLE_EQ(window->thermal->cal_t2, 27.4);
    EXPECT_FALSE(window->thermal->frmtempcal->cmd_closetmpcal->isEnabled());
}

}  // namespace
}  // namespace tirmo::app
