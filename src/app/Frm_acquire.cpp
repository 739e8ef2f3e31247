#include "app/Frm_acquire.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QComboBox>
#include <QPushButton>
#include <QHBoxLayout>
#include <QResizeEvent>
#include <QVBoxLayout>

#include <algorithm>

#include "platform/ConfigFiles.h"
#include "app/Frm_advance.h"
#include "app/Frrm_offline.h"
#include "app/MainLayoutApply.h"
#include "app/RunWindowAdapter.h"
#include "camera/CameraCommands.h"
#include "chemotaxis/Frm_bmpexport.h"
#include "link/CommPort.h"
#include "link/Exchange.h"
#include "devicememory/FlashPanel.h"
#include "devicememory/PixelMapControls.h"
#include "thermal/FrmTempCal.h"
#include "thermal/ThermalControls.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/FitCaption.h"
#include "ui/Make.h"
#include "ui/PictureBox.h"
#include "ui/Twips.h"
#include "ui/Ticker.h"
#include "ui/Timer.h"

namespace tirmo::app {

Frm_acquire::Frm_acquire(InstrumentState& state, QWidget* parent)
    : QMainWindow(parent), TextBoxConsole(state.session), instrument(state)
{
    setObjectName("Frm_acquire");
    setWindowTitle("Acquisition Page");
    buildControls();
    watchForHangUp();
}

Frm_acquire::~Frm_acquire()
{
    link::SetHangUpObserver({});
    session().run_settings.Unwatch(settings_watch_);
    factory.reset();  // before the plate whose groups it shares
    offline.reset();
}

void Frm_acquire::watchForHangUp()
{
    // A port whose device went away is closed by the serial layer: the link counts as closed
    // from then on, so that nothing (a Play above all) takes it for an instrument.
    link::SetHangUpObserver([this](int port) {
        if (port == session().port_slot) session().port_open = false;
    });
}

void Frm_acquire::bindRunSettings()
{
    // The boxes edit the shared settings; a setting changed anywhere else shows in its box. The
    // setting is taken before the run checks the typed time, so the check reads what was typed.
    link::RunSettings& settings = session().run_settings;
    txtlapse->onChange([this, &settings] {
        settings.SetAcquisitionTime(txtlapse->Text());
        run->txtlapse_Change();
    });
    cmb_well->onTextChange([this, &settings] { settings.SetPlateFormat(cmb_well->Text()); });
    connect(chk_saveraw, &QAction::toggled, this, [&settings](bool on) { settings.SetSaveRawData(on); });
    auto show = [this, &settings] {
        // Set as the box's own code would: a time runs its check, a format its box's handler not.
        if (txtlapse->Text() != settings.AcquisitionTime()) txtlapse->SetText(settings.AcquisitionTime());
        if (cmb_well->Text() != settings.PlateFormat()) cmb_well->ShowText(settings.PlateFormat());
        // A camera's entry is ticked while the camera is left out.
        for (size_t i = 0; i < plate->cam_disabled.size(); ++i) plate->cam_disabled[i]->setChecked(!settings.CameraInUse(int(i)));
        chk_saveraw->setChecked(settings.SaveRawData());
    };
    show();
    settings_watch_ = settings.Watch(show);
}

void Frm_acquire::buildControls()
{
    client_ = new QWidget(this);
    client_->setObjectName("client");
    setCentralWidget(client_);
    hidden_controls = new QWidget(client_);
    hidden_controls->setObjectName("hidden_controls");
    hidden_controls->hide();
    auto* hiddenColumn = new QVBoxLayout(hidden_controls);

    txt_status = ui::MakeStatusLine(client_, "txt_status");

    // The run panel's own controls; the tree moves them into Frame_menu.
    ui::MakeLabel(client_, "Label_acqlapse", "Acquisition lapse:");
    txtlapse = ui::MakeTextBox(client_, "txtlapse", session().run_settings.AcquisitionTime());
    ui::MakeLabel(client_, "Label_minutes", "min");
    ui::MakeLabel(client_, "Label_microformat", "MicroPlate Format:");
    cmb_well = ui::MakeComboBox(client_, "cmb_well");
    cmb_well->AddItem("w6");
    cmb_well->AddItem("w24");
    cmb_well->ShowText(session().run_settings.PlateFormat());
    ui::MakeLabel(client_, "Label_grad", "\xB0" "C");  // texts are Latin-1 bytes

    auto* port = new QWidget(hidden_controls);
    auto* portRow = new QHBoxLayout(port);
    portRow->addWidget(new QLabel("COM", port));
    txtcom = ui::MakeTextBox(port, "txtcom", "3");
    portRow->addWidget(txtcom);
    hiddenColumn->addWidget(port);

    buildMenus();

    Timer3 = new ui::Timer(this);
    Timer3->SetInterval(1000);
    Timer3->SetEnabled(false);
    Timer3->onTick([this] { Timer3_Timer(); });
    // The tick's users, temperature first: each says when it starts needing ticks and, after each
    // of its steps, whether it still does.
    ticker = std::make_unique<ui::Ticker>(*Timer3);

    camera = std::make_unique<camera::MainCameraControls>(*this, instrument.plate_state, instrument.live_window,
                                                           instrument.frames, client_, NeedsOfCamera());
    plate = std::make_unique<plate::PlateControls>(*this, instrument.plate_state, client_, NeedsOfPlate());
    // Temperature first: the tick runs its users in the order they came.
    thermal = std::make_unique<thermal::ThermalControls>(*this, instrument.stage, *ticker, client_, menuBar());
    lighting = std::make_unique<lighting::LightControls>(*this, *ticker, client_, mntools);
    project = std::make_unique<project::ProjectControls>(*this, instrument.project_state, instrument.plate_state, client_, NeedsOfProject());
    run_window_ = std::make_unique<RunWindowAdapter>(*this);
    run = std::make_unique<acquisition::RunControls>(
        *this, *run_window_,
        acquisition::RunShared{instrument.stage, thermal->control, *Timer3,
                               {lighting->pulse_on, lighting->pulse_end, lighting->pulse_countdown}, lighting->pulse_boxes,
                               instrument.plate_state, project_actions, instrument.live_window},
        client_);
    report = std::make_unique<reports::ReportControls>(*this, client_, NeedsOfReport());
    Listpj = new QListWidget(client_);
    Listpj->setObjectName("Listpj");
    cmd_load_recording = ui::MakeButton(client_, "cmd_load_recording", "LOAD RECORDED EXPERIMENTS",
                                        [this] { cmd_load_recording_Click(); });
    cmd_closeoffline = ui::MakeButton(client_, "cmd_closeoffline", "Close",
                                      [this] { containers.frame_offline->hide(); });
    cmd_closeoffline->resize(cmd_closeoffline->sizeHint());
    bindRunSettings();
    orderToolsMenu();

    txt_in = ui::MakeTextBox(client_, "txt_in");
    txt_in->setReadOnly(true);
    txt_in->hide();
    lbl_lenrx = ui::MakeLabel(client_, "lbl_lenrx", "Len(Rx) = 0");
    lbl_lenrx->SetAutoSize(true);  // the reply lengths the transfers write are longer than its first caption
    lbl_lenrx->hide();

    containers = BuildMainContainers(client_);
    AdoptIntoContainers(client_);
    autoref = std::make_unique<AutoReferenceWindow>(*this, containers.frm_calibrate, mncalibratewell);
    autoreference =
        std::make_unique<acquisition::RunAutoReference>(*this, *run, lighting->led_map, instrument.frames, *autoref);
    run->UseAutoReference(*autoreference);
    lightcal = std::make_unique<MainLightCalibration>(*this, mncalibralightback);
    flash = std::make_unique<devicememory::FlashPanel>(*this, containers.frame_flash,
                                                       [this](const std::string& length) { lbl_lenrx->SetCaption(length); });
    flash->intref_announced = [this] { return report->combo_intref->ListIndex() >= 1; };
    pixelmap = std::make_unique<devicememory::PixelMapControls>(*this, containers.Frame_select,
                                                                [this](const std::string& length) { lbl_lenrx->SetCaption(length); });
    buildStartupLists();
    masks = std::make_unique<plate::WellMaskTools>(
        *this, cmb_set1->parentWidget(),
        plate::WellMaskNeeds{cmb_set1, cmb_set2, camera->Picact, [this] { return camera->txt_cam->Text(); },
                             [this](int c, int x, int y) { return instrument.frames.Value(c, x, y); }, [] { return 0; }});
    run->AttachNameFrame(containers.frm_confirmacq);
    connectShellButtons();
    // Captions stay whole however narrow the layout makes a button.
    for (QPushButton* button : client_->findChildren<QPushButton*>()) ui::KeepCaptionFitted(button);
    // And the text a combo box shows stays whole in it; its open list shows every entry whole.
    for (QComboBox* combo : client_->findChildren<QComboBox*>()) ui::KeepEntriesFitted(combo);
    // What no container is named for keeps its design place among the hidden controls.
    for (QWidget* loose : {static_cast<QWidget*>(camera->frame_setupcam), lighting->txt_led->parentWidget(), thermal->txt_current->parentWidget()})
        if (loose && loose->parentWidget() == client_) hiddenColumn->addWidget(loose);
    // A subsystem's frame whose every control went into the tree's containers is left empty.
    for (auto* frame : client_->findChildren<QGroupBox*>(QString(), Qt::FindDirectChildrenOnly))
        if (frame->objectName().isEmpty() && frame->findChildren<QWidget*>().isEmpty()) delete frame;
    // The panels that open over the working area lie above it, in the tree's order.
    for (QWidget* panel : {containers.Frame_calibration, containers.frameblank, containers.Frame_tcycle,
                           containers.frm_calibrate, containers.frmtempcal, containers.frame_flash, containers.Frm_report,
                           containers.frm_confirmacq, containers.frame_offline, static_cast<QWidget*>(containers.cmd_menu), static_cast<QWidget*>(containers.lbl_lenrx),
                           static_cast<QWidget*>(containers.txt_in)})
        if (panel) {
            panel->raise();
            panel->setAutoFillBackground(true);  // opaque over the plate map it opens on
        }
    // Panels the layout only moves keep their designed size.
    thermal->frmtempcal->resize(thermal->frmtempcal->sizeHint());

    // The window opens at its design size; the grid lets it shrink to nearly nothing.
    client_->setMinimumSize(1, 1);
    // The layout runs when the window gets its size (Form_Resize) and at the end of Form_Load.
    resize(ui::twipsToPixels(kMainDesignWidth), ui::twipsToPixels(kMainDesignHeight) + menuBar()->sizeHint().height());
}

camera::MainCameraNeeds Frm_acquire::NeedsOfCamera()
{
    camera::MainCameraNeeds needs;
    needs.all_leds = [this](int level) { lighting->SendAllLedPower(level); };
    needs.take_editor_format = [this] {
        plate->current_format = plate->cmb_formatplate->Text();
        return plate->current_format;
    };
    needs.transfer_label = [this] { return lbl_lenrx; };
    return needs;
}

plate::PlateNeeds Frm_acquire::NeedsOfPlate()
{
    plate::PlateNeeds needs;
    camera::MainCameraControls& cam = *camera;
    needs.map_picture = cam.Picact;
    needs.chart_picture = cam.Picact2;
    needs.calibration_panel = cam.Frame_calibration;
    needs.cmb_column = cam.cmb_column;
    needs.cmb_row = cam.cmb_row;
    needs.txt_column_start = cam.txt_column_start;
    needs.txt_column_end = cam.txt_column_end;
    needs.txt_row_start = cam.txt_row_start;
    needs.txt_row_end = cam.txt_row_end;
    needs.camera_index = [&cam] { return cam.camera_index; };
    needs.set_camera_index = [&cam](int index) { cam.camera_index = index; };
    needs.camera_setup = [&cam](int index) { cam.cmd_camselect_Click(index); };
    needs.setup_running = [&cam] { return cam.CameraSetupRunning(); };
    needs.set_setup_notice = [&cam](const std::string& notice) { cam.setup_notice = notice; };
    needs.init_band_selectors = [&cam](int& c, int& column, int& row) { cam.InitRowColumnSelectors(c, column, row); };
    needs.redraw_camera_view = [&cam] {
        cam.DrawCameraImage();
        cam.DrawCameraGrid(cam.camera_index);
    };
    needs.cmb_well = cmb_well;
    needs.menu_view = mn_fac;
    needs.show_blank_of = [this](const std::string& format) { project->ShowBlankOf(format); };
    needs.fill_activity = [this](plate::WindowActivity& run, int camera, int window) {
        run = this->run->ActivityView(run.minutes, camera, window);
        run.blank_values = &project->blank_values;
        run.blank_lapse = project->blank_lapse;
        run.blank_run = session().run_settings.BlankRun() ? -1 : 0;
        run.reference_factor = &project->reference_factor;
    };
    return needs;
}

reports::ReportNeeds Frm_acquire::NeedsOfReport()
{
    reports::ReportNeeds needs;
    needs.shared_groups = [this]() -> const plate::WellGroups& { return plate->groups; };
    needs.report_groups = [this]() -> plate::WellGroups& { return plate->report_groups; };
    needs.read_well_groups = [this](const std::string& folder) { plate->ReadWellGroups(folder); };
    needs.open_map_plot = [this](const std::string& format) {
        chemotaxis::OpenChemotaxisWindow(this, session(), format,
                                         {[this] { return report->Combo_reportfile->Text(); },
                                          [this] { return report->Combo_reportdivider->Text(); }});
    };
    return needs;
}

// ---------------------------------------------------------------- layout

void Frm_acquire::LayoutMainWindow()
{
    const LayoutResult result = app::LayoutMainWindow(client_, isMinimized(), session().run_state);
    // The calibration panel's own controls keep to the left of the well-area bar the layout
    // places in it.
    if (auto* grid = camera->Frame_calibration->layout(); grid && result.laid_out)
        grid->setContentsMargins(4, 20, std::max(4, camera->Frame_calibration->width() - plate->txt_well_percent->x() + 2), 6);
    // The grid puts the monitor's length label in the temperature-cycle panel's last rows; the
    // panel's controls keep above it.
    QWidget* cycles = containers.Frame_tcycle;
    if (auto* grid = cycles ? cycles->layout() : nullptr; grid && result.laid_out) {
        const QMargins m = grid->contentsMargins();
        grid->setContentsMargins(m.left(), m.top(), m.right(), std::max(6, cycles->geometry().bottom() - lbl_lenrx->y() + 2));
    }
    if (!result.laid_out || !result.redraw_plate) return;
    ++layout_plate_draws;
    plate->DrawPlateLayout(plate->current_format);
}

void Frm_acquire::Form_Resize()
{
    LayoutMainWindow();
    if (session().run_state == 0) plate->RedrawAllWells();
}

void Frm_acquire::resizeEvent(QResizeEvent* event)
{
    // The main window's own layout has already given the client area its new size.
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

// ---------------------------------------------------------------- console

bool Frm_acquire::ShowComm() const { return mn_showcomm->isChecked(); }

void Frm_acquire::mn_showcomm_Click()
{
    // The check mark (toggled by the entry itself) tells whether the serial monitor is shown.
    txt_in->setVisible(mn_showcomm->isChecked());
    lbl_lenrx->setVisible(mn_showcomm->isChecked());
}

// ---------------------------------------------------------------- shared timer

void Frm_acquire::Timer3_Timer()
{
    // A tick that comes while another exchange holds the port (it came during one of its yields)
    // is skipped whole: the thermostat, the cycle and the pulse go on at the next tick.
    const link::Exchange tick;
    if (!tick) return;
    ticker->RunSteps();
}

// ---------------------------------------------------------------- settings record and mask

void Frm_acquire::SaveConfigTxt()
{
    platform::ConfigRecord r{txtcom->Text(),  camera->txtprogram->Text(), camera->txt_gain->Text(), camera->txt_exposure->Text(),
                   lighting->txt_led->Text(), session().run_settings.AcquisitionTime(),
                   session().run_settings.PlateFormat(), thermal->txttemp->Text()};
    platform::WriteConfigTxt(r);  // a settings record that cannot be written is not worth stopping for
}

void Frm_acquire::ReadCameraMask(const std::string& path)
{
    auto inUse = platform::ReadCameraMaskFile(path);
    for (size_t i = 0; i < inUse.size(); ++i) session().run_settings.SetCameraInUse(int(i), inUse[i]);
}

bool Frm_acquire::WriteCameraConfig(const std::string& path)
{
    return acquisition::WriteCameraMask(path, session().run_settings, *this);
}

// ---------------------------------------------------------------- closing

void Frm_acquire::closeEvent(QCloseEvent* event)
{
    // The factory window ends with the program; it must not bring the closing window back.
    if (factory) {
        factory->main_window = nullptr;
        factory->close();
    }
    Form_Unload();
    event->accept();
}

}  // namespace tirmo::app
