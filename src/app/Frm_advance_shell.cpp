// The factory window's shell: its menu, the way back to the main window, the video switches
// beside the link console, and the subsystems' tools in the frame's column.
#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>

#include "app/Frm_acquire.h"
#include "app/Frm_advance.h"
#include "app/ProductInfo.h"
#include "platform/Launcher.h"
#include "platform/ProgramFolder.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Make.h"
#include "ui/Shape.h"

namespace tirmo::app {
namespace {

constexpr int kCircleFramePixels = 18;  // the circle selection beside the console's row

QAction* named(QAction* entry, const char* name)
{
    entry->setObjectName(name);
    return entry;
}

}  // namespace

void Frm_advance::buildShell()
{
    QMenu* tools = menuBar()->addMenu("Tools");
    tools->setObjectName("mntools");
    QMenu* advanced = tools->addMenu("Advanced");
    advanced->setObjectName("mnadvan");
    // The light calibrations come with their tools, which make these entries live.
    QMenu* wellcal = advanced->addMenu("Well Format Calibration");
    connect(named(wellcal->addAction("Calibrate position"), "mncalibratewell"), &QAction::triggered, this,
            [this] { mncalibratewell_Click(); });
    QMenu* lightcal = advanced->addMenu("Lighting Calibration");
    lightback_ = named(lightcal->addAction("Background light"), "mncalibralightback");
    named(lightcal->addAction("Well illumination"), "mncalibralight")->setEnabled(false);
    named(lightcal->addAction("Fast led calibration"), "mn_fastled")->setEnabled(false);
    QMenu* tempcal = advanced->addMenu("Temperature Calibration");
    tempcal->setObjectName("mntempcal");
    connect(tempcal->addAction("Calibrate"), &QAction::triggered, this, [this] { thermal->mncalibratetemp_Click(); });
    QMenu* fac = advanced->addMenu("Factory Tools");
    mn_internalref = named(fac->addAction("Enable Internal Reference "), "mn_internalref");
    mn_internalref->setCheckable(true);
    connect(mn_internalref, &QAction::triggered, this, [this] { mn_internalref_Click(); });
    QAction* adv = fac->addAction("Factory Tools(Require password)");
    adv->setObjectName("mnadvanced");
    connect(adv, &QAction::triggered, this, [this] { mnadvanced_Click(); });
    QMenu* help = menuBar()->addMenu("Help");
    QAction* helpIndex = help->addAction("Help Index");
    helpIndex->setObjectName("mnhelpindex");
    connect(helpIndex, &QAction::triggered, this,
            [this] { OpenHelpFile(this, [this](const std::string& text) { SetStatus(text); }); });
    connect(help->addAction("SoftVersion"), &QAction::triggered, this, [this] { mnversion_Click(); });
    help->addSeparator();
    connect(help->addAction("About"), &QAction::triggered, this, [this] { mnabout_Click(); });
    mndelblank_top = menuBar()->addMenu("blankmenu");
    mndelblank_top->setObjectName("mndelblank_top");
    connect(named(mndelblank_top->addAction("Delete blank read"), "mndelblank"), &QAction::triggered, this,
            [this] { mndelblank_Click(); });

    link = std::make_unique<FactoryLinkConsole>(*this, frame_advanced);
    QGroupBox* frame_link = link->frame_link;
    QGridLayout* grid = link->grid;
    chk_video = ui::MakeCheckBox(frame_link, "chk_video", "Video_mode");
    chk_video->onClick([this] { chk_video_Click(); });
    grid->addWidget(chk_video, 2, 0, 1, 2);
    chk_exportbmp = ui::MakeCheckBox(frame_link, "chk_exportbmp", "Export_videoBMP");
    grid->addWidget(chk_exportbmp, 3, 0, 1, 3);
    Command_fullframe = ui::MakeButton(frame_link, "Command_fullframe", "Full_frame", [this] { camera->Command_fullframe_Click(); });
    grid->addWidget(Command_fullframe, 2, 2);
    tools_->addWidget(frame_link);
}

void Frm_advance::buildTools()
{
    // The picture sits in the window's main frame; the layout gives it its place.
    Picact = ui::MakePicture(frame_main, "Picact", 330, 500);
    plate = std::make_unique<plate::FactoryPlateMap>(*Picact, groups_);
    camera = std::make_unique<camera::FactoryCameraTools>(
        *this, frame_advanced, *Picact, *lbl_lenrx,
        camera::GridTables{plate->column_bands, plate->row_bands, plate->column_labels, plate->row_labels,
                           plate->well_table});
    tools_->addWidget(camera->frame_camera);
    // The raw console's row and the circle selection make up the transmit panel.
    auto* transmit = new QHBoxLayout(Frame2);
    transmit->setContentsMargins(4, 1, 4, 1);
    transmit->addWidget(camera->frame_transmit, 1);
    transmit->addWidget(Frame8);
    Frame8->setFixedSize(kCircleFramePixels, kCircleFramePixels);
    Shape_circle_selection->setGeometry(3, 3, kCircleFramePixels - 6, kCircleFramePixels - 6);
    Frame2->show();
    link->grid->removeWidget(chk_exportbmp);
    link->grid->addWidget(chk_exportbmp, 3, 0, 1, 2);
    link->grid->addWidget(camera->chk_halfpixel, 3, 2);
    camera->AttachFrameSwitches(Command_fullframe, chk_video, chk_exportbmp);
    camera->reset_plate_picture = [this](long pixels, long lines) { plate->plate_map->ResetPlatePicture(pixels, lines); };
    // The factory window has no plate format of its own: the overlay follows the run's.
    camera->plate_format = [this] { return session().run_settings.PlateFormat(); };
    camera->open_picture = [this](const std::string& path) {
        if (!platform::OpenWithDesktop(path)) SetStatus("Could not open " + path);
    };
    masks = std::make_unique<plate::WellMaskTools>(
        *this, Frame_select,
        plate::WellMaskNeeds{cmb_set1, cmb_set2, Picact, [this] { return camera->txt_cam->Text(); },
                             [this](int c, int x, int y) { return camera->frame_store.Value(c, x, y); },
                             [this] { return circle_selection_mode; }});
    // The mask panel's boxes and buttons fill the picture column the layout gives it.
    auto* select = new QGridLayout(Frame_select);
    select->setContentsMargins(3, 14, 3, 3);
    select->addWidget(cmb_set1, 0, 0);
    select->addWidget(cmb_set2, 0, 1);
    select->addWidget(cmd_close_frame2, 0, 2);
    select->addWidget(masks->cmd_set_select, 1, 0);
    select->addWidget(masks->cmd_reset_set, 1, 1, 1, 2);
    select->addWidget(pixelmap->cmd_applyset, 2, 0, 1, 3);
    select->setRowStretch(3, 1);
    lighting = std::make_unique<lighting::FactoryLightTools>(*this, frame_advanced);
    tools_->addWidget(lighting->frame_blue);
    tools_->addWidget(lighting->frame_leds);
    // The light calibrations and the temperature console would overfill the column: they take
    // the room under it and the strip between the picture and the communication monitor.
    lighting->frame_ledcal->setParent(centralWidget());
    thermal = std::make_unique<thermal::FactoryThermalConsole>(*this, centralWidget());
    lightcal = std::make_unique<FactoryLightCalibration>(*this, lightback_);
}

void Frm_advance::Form_Load()
{
    frame_advanced->show();
    Frame_select->show();
    // The read-out speed code of the instrument's generation (offline the generation is 1).
    camera->txt_speed->SetText(session().hardware_generation < 2 ? "7" : "8");
    camera->txt_speed->Refresh();
    // The simulation switch shows what the session holds (the start clears it).
    link->chkdummy->blockSignals(true);
    link->chkdummy->SetValue(session().dummy_mode != 0 ? 1 : 0);
    link->chkdummy->blockSignals(false);
    link->ShowLink();
}

void Frm_advance::cmd_menu_Click()
{
    frame_advanced->hide();
    if (main_window) {
        main_window->show();
        main_window->raise();
    }
}

void Frm_advance::Form_Unload()
{
    // A drive test left running would go on heating or cooling with nobody watching.
    thermal->StopTests();
    camera->StopVideo();
    if (main_window) {
        main_window->show();
        main_window->raise();
    }
}

void Frm_advance::chk_video_Click()
{
    Command_fullframe->SetCaption(chk_video->Value() == 1 ? "Video_frame" : "Full_frame");
    if (chk_exportbmp->Value() != 1) return;
    const std::string folder = platform::ProgramPath("bmp_exp");
    if (!platform::FolderExists(folder) && !platform::MakeFolder(folder)) SetStatus("Could not create the folder " + folder);
}

void Frm_advance::mnversion_Click() { ui::dialogs().messageBox(VersionText()); }

void Frm_advance::mnabout_Click() { ui::dialogs().messageBox(AboutText()); }

void Frm_advance::mnadvanced_Click()
{
    if (!AdministratorPassword(ui::dialogs().inputBox("Enter password"))) {
        ui::dialogs().messageBox("Wrong password");
        return;
    }
    frame_advanced->show();
    cmd_menu->show();
}

// The well-position panel, the reference measurements and the blank list belong to the main
// window: this window's entries of the same names act there.
void Frm_advance::mncalibratewell_Click()
{
    auto* main = qobject_cast<Frm_acquire*>(main_window);
    if (!main) return;
    main->show();
    main->raise();
    main->autoref->mncalibratewell_Click();
}

void Frm_advance::mn_internalref_Click()
{
    auto* main = qobject_cast<Frm_acquire*>(main_window);
    if (main) main->mn_internalref_Click();
    mn_internalref->setChecked(main && main->mn_internalref->isChecked());
}

void Frm_advance::mndelblank_Click()
{
    if (auto* main = qobject_cast<Frm_acquire*>(main_window)) main->project->mndelblank_Click();
}

}  // namespace tirmo::app
