#include <gtest/gtest.h>

#include <QAction>
#include <QListWidget>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "link/CommPort.h"
#include "link/Session.h"
#include "platform/ProgramFolder.h"
#include "sim/SimFlash.h"
#include "support/AppFixture.h"
#include "support/FactoryCalibration.h"
#include "support/LinkFixture.h"
#include "support/ProgramFiles.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/PictureBox.h"

namespace tirmo::app {
namespace {

using Texts = std::vector<std::string>;

Texts entries(const std::string& relative)
{
    Texts names;
    for (const auto& e : std::filesystem::directory_iterator(platform::ProgramPath(relative)))
        names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

Texts comboItems(const ui::ComboBox* box)
{
    Texts items;
    for (int i = 0; i < box->ListCount(); ++i) items.push_back(box->List(i));
    return items;
}

Texts listItems(const QListWidget* list)
{
    Texts items;
    for (int i = 0; i < list->count(); ++i) items.push_back(list->item(i)->text().toStdString());
    return items;
}

class StartupSequenceTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        useFakeClock();
        QObject::connect(window->txt_status, &QLineEdit::textChanged,
                         [this](const QString& t) { statusLog.push_back(t.toStdString()); });
    }
    // The simulator as instrument sn on COM4, its memory holding the backup of a factory's
    // calibration files (written outside the program folder).
    void instrumentWithMemory(int sn)
    {
        platform::SetProgramFolder(factoryFolder.path());
        factory = test::WriteFactoryCalibration("factory");
        platform::SetProgramFolder(folder.path());
        attachSimulator(4, sn);
        sim->with([this](sim::SimState& s) { return sim::LoadFlashImage(s.flash, factoryFolder.path() + "/factory"); });
    }
    Texts gettingTexts() const
    {
        Texts out;
        for (const std::string& t : statusLog)
            if (t.rfind("Getting Factory file", 0) == 0) out.push_back(t);
        return out;
    }
    bool statusShown(const std::string& text) const
    {
        return std::find(statusLog.begin(), statusLog.end(), text) != statusLog.end();
    }
    // A second program start on the same folder and link.
    void restart()
    {
        link::CommCloseAll();
        window->unloaded = true;
        restartProgram();
        statusLog.clear();
        QObject::connect(window->txt_status, &QLineEdit::textChanged,
                         [this](const QString& t) { statusLog.push_back(t.toStdString()); });
        sim->clearLog();
        window->Form_Load();
    }

    test::TempFolder factoryFolder;
    test::FactoryCalibration factory;
    Texts statusLog;
};

const Texts kGetting{"Getting Factory file: [Well_Format]", "Getting Factory file: [Light_Cal]",
                     "Getting Factory file: [Temp_factor]", "Getting Factory file: [Int_Factor]",
                     "Getting Factory file: [Blank_Factor]"};

TEST_F(StartupSequenceTest, FirstStartWithAnInstrumentRestoresItsMemoryAndTheSecondReadsNothing)
{
    instrumentWithMemory(12);
    window->Form_Load();

    EXPECT_EQ(entries(""), (Texts{"config", "config.txt", "config_SN12", "reports"}));
    EXPECT_EQ(entries("reports"), (Texts{"_internal_blank_measurementSN12", "_internal_referenceSN12",
                                         "default_project", "pj_sn12.dat"}));
    EXPECT_EQ(gettingTexts(), kGetting);
    const auto restored = factory.Restored("20260314 15:09");
    for (const std::string& name : test::CalibrationFileNames())
        EXPECT_EQ(test::ReadProgramFile("config_SN12/" + name), restored.at(name)) << name;
    EXPECT_EQ(entries("config_SN12").size(), 14u) << "nothing but the restored files";
    EXPECT_EQ(window->txt_status->Text(), "OK. Connected to TIRMO SN12");
    EXPECT_EQ(window->containers.lbl_myserial->Caption(), "SN12");
    EXPECT_EQ(window->containers.lbl_myserial->font().pointSize(), 16);
    EXPECT_FALSE(sim->framesOf('F').empty());

    restart();
    EXPECT_TRUE(sim->framesOf('F').empty()) << "the instrument's folder exists: its memory is not read again";
    EXPECT_TRUE(gettingTexts().empty());
    EXPECT_EQ(window->txt_status->Text(), "OK. Connected to TIRMO SN12");
}

TEST_F(StartupSequenceTest, ARecordThatFailsItsCheckKeepsTheSharedFileAndIsNamed)
{
    instrumentWithMemory(12);
    sim->with([](sim::SimState& s) { s.flash.fault(1, 4, sim::FlashFault::BadXor); });
    test::WriteProgramFile("config/tempfactor.dat", "\"Temperature sensor parameters\"\r\nOFFSET=-10.00\r\nSLOPE=1.50\r\n");
    window->Form_Load();

    EXPECT_EQ(gettingTexts(), kGetting) << "the sets after the failed one are still read";
    EXPECT_TRUE(statusShown("Temperature Calibration not found at TIRMO memory"));
    EXPECT_EQ(test::ReadProgramFile("config_SN12/tempfactor.dat"),
              "\"Temperature sensor parameters\"\r\nOFFSET=-10.00\r\nSLOPE=1.50\r\n");
    EXPECT_EQ(test::ReadProgramFile("config_SN12/ledxy.dat"), factory.sources.at("ledxy.dat"));
    EXPECT_EQ(entries("config_SN12").size(), 14u) << "no temporary file is left behind";
    EXPECT_EQ(window->txt_status->Text(), "OK. Connected to TIRMO SN12. Not read from TIRMO memory: [Temp_factor]");
}

TEST_F(StartupSequenceTest, AReportFolderThatCannotBeMadeStillLetsTheFirstStartRestoreTheMemory)
{
    instrumentWithMemory(12);
    test::WriteProgramFile("reports/_internal_referenceSN12", "a file where the folder belongs");
    window->Form_Load();

    EXPECT_EQ(gettingTexts(), kGetting);
    const auto restored = factory.Restored("20260314 15:09");
    for (const std::string& name : test::CalibrationFileNames())
        EXPECT_EQ(test::ReadProgramFile("config_SN12/" + name), restored.at(name)) << name;
    const std::string problem = "Cannot create the folder " + platform::ProgramPath("reports/_internal_referenceSN12");
    EXPECT_EQ(window->txt_status->Text(), "OK. Connected to TIRMO SN12. " + problem);

    restart();
    EXPECT_TRUE(sim->framesOf('F').empty());
    EXPECT_EQ(window->txt_status->Text(), "OK. Connected to TIRMO SN12. " + problem) << "still in sight";
}

TEST_F(StartupSequenceTest, ADamagedSharedFileIsReportedAndTheStartUpGoesOn)
{
    instrumentWithMemory(12);
    sim->with([](sim::SimState& s) { s.flash.fault(3, 4, sim::FlashFault::BadXor); });
    test::WriteProgramFile("config/ledxy.dat", "not a led map\r\n");
    window->Form_Load();

    EXPECT_FALSE(platform::FileExists(platform::ProgramPath("config_SN12/ledxy.dat")));
    EXPECT_EQ(window->txt_status->Text(), "OK. Connected to TIRMO SN12. Not read from TIRMO memory: [Light_Cal]; "
                                          "Not installed: config/ledxy.dat is damaged");
    EXPECT_EQ(gettingTexts(), kGetting);
    const auto fan = sim->framesOf('T');
    ASSERT_EQ(fan.size(), 2u) << "the start-up reached its last step";
    EXPECT_EQ(fan[0].a, 2);
    EXPECT_EQ(fan[0].b, 128);
}

TEST_F(StartupSequenceTest, SerialNumberZeroMakesNoInstrumentFolderAndReadsNoMemory)
{
    attachSimulator(4, 0);
    window->Form_Load();
    EXPECT_EQ(window->txt_status->Text(), "OK. Connected to TIRMO SN0");
    for (const std::string& name : entries("")) EXPECT_NE(name.rfind("config_", 0), 0u) << name;
    for (const std::string& name : entries("reports")) EXPECT_EQ(name.find("SN"), std::string::npos) << name;
    EXPECT_TRUE(sim->framesOf('F').empty());
    EXPECT_EQ(window->containers.lbl_myserial->Caption(), "SN0");
}

TEST_F(StartupSequenceTest, OfflineStartWritesNothingToAPortAndMakesTheDefaultProject)
{
    test::WriteRecorder writes;
    boxes.expectInput("PORT ERROR", "");
    test::WriteProgramFile("reports/lastread00.csv.tmp999999999", "A1,4");  // a killed run's
    window->Form_Load();

    EXPECT_TRUE(writes.writes.empty());
    EXPECT_EQ(entries(""), (Texts{"config", "reports"}));
    EXPECT_EQ(entries("reports"), (Texts{"default_project", "pj_sn0.dat"}));
    EXPECT_EQ(test::ReadProgramFile("reports/default_project/pjsetup.dat"),
              "acq_time=30\r\nplate_format=w6\r\ntemperature=20\r\n");
    EXPECT_EQ(window->project->current_project, "default_project");
    EXPECT_EQ(window->containers.lbl_myserial->Caption(), "Offline");
    EXPECT_EQ(window->containers.lbl_myserial->font().pointSize(), 12);
    EXPECT_FALSE(window->containers.lbl_myserial->isHidden());
    EXPECT_EQ(window->session().hardware_generation, 1);
    EXPECT_FALSE(window->containers.frame_main->isHidden()) << "the working window is revealed at the end";
    EXPECT_FALSE(window->containers.Frame_menu->isHidden());
    EXPECT_TRUE(window->containers.frameblank->isHidden());
    EXPECT_TRUE(window->camera->Picact2->isHidden());
}

TEST_F(StartupSequenceTest, TheRunBoxesShowAndEditTheSharedRunSettings)
{
    boxes.expectInput("PORT ERROR", "");
    window->Form_Load();
    link::RunSettings& settings = window->session().run_settings;
    const int clicksBefore = int(boxes.shown().size());

    // Set on the shared state alone: the boxes follow, and the format box asks nothing.
    settings.SetAcquisitionTime("45");
    settings.SetPlateFormat("w24");
    EXPECT_EQ(window->txtlapse->Text(), "45");
    EXPECT_EQ(window->cmb_well->Text(), "w24");
    EXPECT_EQ(window->cmb_well->ListIndex(), 1);
    EXPECT_EQ(int(boxes.shown().size()), clicksBefore) << "a format set elsewhere is only shown";
    settings.SetPlateFormat("w96f");  // a format the box does not list is shown as it is
    EXPECT_EQ(window->cmb_well->Text(), "w96f");
    // Over the run's longest time: the run's own check corrects it, in the state and the box.
    boxes.expectMessage("Maximum time");
    settings.SetAcquisitionTime("40000");
    EXPECT_EQ(settings.AcquisitionTime(), "32000");
    EXPECT_EQ(window->txtlapse->Text(), "32000");

    // Typed and chosen in the boxes: the state follows; a refused change leaves both as they were.
    window->txtlapse->SetText("12");
    EXPECT_EQ(settings.AcquisitionTime(), "12");
    boxes.expectMessage("Change Plate to w24?", ui::MsgResult::Yes);
    window->cmb_well->SetListIndex(1);
    EXPECT_EQ(settings.PlateFormat(), "w24");
    EXPECT_EQ(window->plate->current_format, "w24");
    boxes.expectMessage("Change Plate to w6?", ui::MsgResult::No);
    window->cmb_well->SetListIndex(0);
    EXPECT_EQ(settings.PlateFormat(), "w24");
    EXPECT_EQ(window->cmb_well->Text(), "w24");

    // The camera entries and the raw-data switch, both ways.
    settings.SetCameraInUse(2, false);
    EXPECT_TRUE(window->plate->cam_disabled[2]->isChecked());
    window->plate->cam_disabled[2]->trigger();
    EXPECT_TRUE(settings.CameraInUse(2));
    EXPECT_FALSE(window->plate->cam_disabled[2]->isChecked());
    window->chk_saveraw->trigger();
    EXPECT_TRUE(settings.SaveRawData());
    settings.SetSaveRawData(false);
    EXPECT_FALSE(window->chk_saveraw->isChecked());
}

// The run and the autoreference round send the camera set-up and schedule the pulses from the
// shared state: each box must follow the state and the state each box.
TEST_F(StartupSequenceTest, TheCameraAndPulseBoxesShowAndEditTheSharedState)
{
    boxes.expectInput("PORT ERROR", "");
    window->Form_Load();
    link::CameraSettings& camera = window->session().camera;
    camera::MainCameraControls& c = *window->camera;
    ui::TextBox* shown[] = {c.txt_cam, c.txt_gain, c.txt_exposure, c.txt_speed, c.txt_xini,
                            c.txt_xfin, c.txt_yini, c.txt_yfin, c.txt_lines, c.txt_pix};
    for (size_t i = 0; i < std::size(shown); ++i) {
        const auto box = link::CameraSettings::Box(i);
        camera.SetNumber(box, long(100 + i));
        EXPECT_EQ(shown[i]->Text(), std::to_string(100 + i)) << i;
        shown[i]->SetText("7" + std::to_string(i));
        EXPECT_EQ(camera.Text(box), "7" + std::to_string(i)) << i;
    }
    lighting::LightControls& l = *window->lighting;
    l.txt_pulsetimes->SetText("3");
    l.txt_pulseon->SetText("4");
    l.txt_pulseoff->SetText("5");
    l.txt_power->SetText("6");
    l.Chk_lenabled->SetValue(1);
    const lighting::PulseBoxes& pulse = l.pulse_boxes;
    EXPECT_EQ((std::vector<std::string>{pulse.times, pulse.on, pulse.off, pulse.power}),
              (std::vector<std::string>{"3", "4", "5", "6"}));
    EXPECT_TRUE(pulse.enabled);
    l.Chk_lenabled->SetValue(0);
    EXPECT_FALSE(pulse.enabled);
}

TEST_F(StartupSequenceTest, AnExistingDefaultProjectKeepsItsSetUp)
{
    const std::string setup = "acq_time=45\r\nplate_format=w24\r\ntemperature=25\r\n";
    test::WriteProgramFile("reports/default_project/pjsetup.dat", setup);
    boxes.expectInput("PORT ERROR", "");
    window->Form_Load();
    EXPECT_EQ(test::ReadProgramFile("reports/default_project/pjsetup.dat"), setup);
    // The last project is applied at the end of the start-up: its time, format and set point.
    EXPECT_EQ(window->txtlapse->Text(), "45");
    EXPECT_EQ(window->plate->current_format, "w24");
    EXPECT_EQ(window->thermal->txttemp->Text(), "25");
}

// The last project is applied once, at the end: a set-up file it cannot read is said once.
TEST_F(StartupSequenceTest, TheLastProjectsSetUpIsReadOnce)
{
    test::WriteProgramFile("reports/default_project/pjsetup.dat", "acq_time=45\r\nplate_format=w24\r\n");
    boxes.expectInput("PORT ERROR", "");
    boxes.expectMessage("error reading project setup file");
    window->Form_Load();
    EXPECT_EQ(boxes.pending(), 0u);
    EXPECT_EQ(window->txtlapse->Text(), "45");
    EXPECT_EQ(window->plate->current_format, "w24");
}

TEST_F(StartupSequenceTest, TheLastProjectIsReopenedOnlyWhenItsFolderIsThere)
{
    struct Case {
        const char* last;
        bool folder;
        const char* expected;
        bool message;
    };
    // A file that names no project at all (empty, or a path) falls back without a word; a
    // project whose folder is gone is announced.
    for (const Case& c : {Case{"mine", true, "mine", false}, Case{"gone", false, "default_project", true},
                          Case{"", false, "default_project", false},
                          Case{"../outside", true, "default_project", false}}) {
        SCOPED_TRACE(c.last);
        test::WriteProgramFile("reports/pj_sn0.dat", std::string(c.last) + "\r\n");
        if (c.folder) platform::MakeFolder(platform::ProgramPath(std::string("reports/") + c.last));
        boxes.expectInput("PORT ERROR", "");
        if (c.message) boxes.expectMessage("Last project folder Not found!. setting default...");
        const size_t before = boxes.shown().size();
        window->Form_Load();
        EXPECT_EQ(window->project->current_project, c.expected);
        EXPECT_EQ(boxes.shown().size() - before, c.message ? 2u : 1u);
        window->unloaded = true;
        restartProgram();
    }
}

TEST_F(StartupSequenceTest, GenerationAndCameraDefaultsFollowTheSerialNumber)
{
    struct Case {
        int sn, generation, gain, exposure;
    };
    for (const Case& c : {Case{49, 1, 10, 20}, Case{50, 2, 15, 20}, Case{56, 2, 15, 20}, Case{57, 2, 20, 28},
                          Case{59, 2, 20, 28}, Case{60, 2, 15, 20}}) {
        SCOPED_TRACE(c.sn);
        // A known instrument: its folder exists, so its memory is not read.
        platform::MakeFolder(platform::ProgramPath("config_SN" + std::to_string(c.sn)));
        attachSimulator(4, c.sn);
        window->Form_Load();
        EXPECT_EQ(window->session().hardware_generation, c.generation);
        EXPECT_EQ(window->camera->txt_gain->Text(), std::to_string(c.gain));
        EXPECT_EQ(window->camera->txt_exposure->Text(), std::to_string(c.exposure));
        EXPECT_EQ(window->thermal->stage.analog_stage, c.generation == 1);
        link::CommCloseAll();
        window->unloaded = true;
        restartProgram();
    }
}

TEST_F(StartupSequenceTest, Instrument58SendsItsDefaultsAtTheNextCameraSetUp)
{
    platform::MakeFolder(platform::ProgramPath("config_SN58"));
    attachSimulator(4, 58);
    window->Form_Load();
    EXPECT_EQ(window->camera->txt_gain->Text(), "20");
    EXPECT_EQ(window->camera->txt_exposure->Text(), "28");
    window->camera->plate_view_shown = true;
    sim->clearLog();
    window->camera->cmd_camselect_Click(1);
    const Texts frames = frameList();
    ASSERT_GE(frames.size(), 4u);
    EXPECT_EQ(frames[2], "G,0,40");
    EXPECT_EQ(frames[3], "E,0,42");
}

TEST_F(StartupSequenceTest, TheBlockMenuOffersTheBlocksThatDivideThePlate)
{
    const std::string tail = " [RowsxColumn]";
    struct Case {
        const char* format;
        Texts blocks;
    };
    const Case cases[] = {
        {"w24", {"01x01", "02x01", "04x01", "01x02", "02x02", "04x02", "01x03", "02x03", "04x03", "01x06", "02x06", "04x06"}},
        {"w6", {"01x01", "02x01", "01x03", "02x03"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        // The format box as the window was left showing it (no entry chosen, no handler run).
        window->cmb_well->Clear();
        window->cmb_well->SetText(c.format);
        test::WriteProgramFile("reports/default_project/pjsetup.dat",
                               std::string("acq_time=30\r\nplate_format=") + c.format + "\r\ntemperature=20\r\n");
        boxes.expectInput("PORT ERROR", "");
        window->Form_Load();
        Texts shown;
        for (QAction* entry : window->plate->mnopciongrup)
            if (entry->isVisible()) shown.push_back(entry->text().toStdString());
        Texts expected;
        for (const std::string& b : c.blocks) expected.push_back(b + tail);
        EXPECT_EQ(shown, expected);
        EXPECT_EQ(window->plate->current_format, c.format);
        EXPECT_EQ(window->cmb_well->Text(), c.format);
        EXPECT_EQ(window->plate->cmb_formatplate->Text(), c.format);
        window->unloaded = true;
        restartProgram();
    }
}

TEST_F(StartupSequenceTest, EveryFixedListHoldsItsItemsAndSelection)
{
    boxes.expectInput("PORT ERROR", "");
    window->Form_Load();

    Texts wells;
    for (char row = 'A'; row <= 'H'; ++row)
        for (int column = 0; column <= 11; ++column) wells.push_back(std::string(1, row) + std::to_string(column));
    EXPECT_EQ(listItems(window->lstwell), wells);
    EXPECT_EQ(window->lstwell->currentRow(), 0);
    EXPECT_EQ(listItems(window->lstchannel), Texts{"0"});
    EXPECT_EQ(window->lstchannel->currentRow(), 0);

    struct Case {
        const char* name;
        const ui::ComboBox* box;
        Texts items;
        std::string text;
        bool enabled;
    };
    Texts setPoints, columns;
    for (int t = 20; t <= 37; ++t) setPoints.push_back(std::to_string(t));
    for (int k = 1; k <= 12; ++k) columns.push_back(std::to_string(k));
    const Case cases[] = {
        {"txttemp", window->thermal->txttemp, setPoints, "20", true},
        {"cmb_mode", window->cmb_mode, {"Global activity", "Population distribution", "Track single animal"},
         "Global activity", false},
        {"cmb_acqmode", window->cmb_acqmode,
         {"1_Fast speed(low resolution)", "2_Dynamic mode(well multiplexing)", "3_Full plate scanning"},
         "2_Dynamic mode(well multiplexing)", false},
        {"cmb_set1", window->cmb_set1, {"A", "B", "C", "D", "E", "F", "G", "H"}, "A", true},
        {"cmb_set2", window->cmb_set2, columns, "1", true},
        {"cmb_well", window->cmb_well, {"w6", "w24"}, "w6", true},
        {"cmb_formatplate", window->plate->cmb_formatplate, {"w6", "w24"}, "w6", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(comboItems(c.box), c.items);
        EXPECT_EQ(c.box->Text(), c.text);
        EXPECT_EQ(c.box->isEnabled(), c.enabled);
    }
    // The lists nothing shows are kept out of sight; the mask tools' boxes are in their frame.
    for (QWidget* hidden : std::initializer_list<QWidget*>{window->lstwell, window->lstchannel, window->cmb_mode,
                                                           window->cmb_acqmode})
        EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
    EXPECT_EQ(window->cmb_set1->parentWidget(), window->containers.Frame_select);
}

TEST_F(StartupSequenceTest, AProgramFolderThatCannotBeWrittenEndsTheStartUpWithAMessage)
{
    // Folders that refuse files whoever runs the program (no permission stops the superuser):
    // a file where the reports folder belongs, and a reports folder that exists but in which
    // nobody may add a file (the kernel's process folder).
    const std::string reports = platform::ProgramPath("reports");
    const std::function<void()> refusals[] = {
        [] { test::WriteProgramFile("reports", ""); },
        [&reports] { std::filesystem::create_directory_symlink("/proc", reports); },
    };
    for (const auto& refuse : refusals) {
        std::filesystem::remove(reports);
        refuse();
        restartProgram();
        const size_t before = boxes.shown().size();
        boxes.expectMessage("cannot be written");
        window->Form_Load();
        EXPECT_TRUE(window->unloaded) << "the program ends";
        EXPECT_EQ(boxes.shown().size(), before + 1) << "no port search, no question";
        EXPECT_FALSE(window->session().port_open);
    }
}

}  // namespace
}  // namespace tirmo::app
