// The main window's menu tree ("Tools" and "Help"), its help, version and About entries, the
// serial monitor switch and the two password-guarded factory entries.
#include <QAction>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>

#include "app/Frm_acquire.h"
#include "plate/PlateSpecFile.h"
#include "app/Frm_advance.h"
#include "app/Frrm_offline.h"
#include "app/ProductInfo.h"
#include "camera/MainCameraControls.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/SimpleComboBox.h"

namespace tirmo::app {
namespace {

QMenu* namedMenu(QMenu* menu, const char* name)
{
    menu->setObjectName(name);
    return menu;
}

QAction* namedEntry(QMenu* menu, const char* name, const char* caption, bool enabled = true)
{
    QAction* entry = menu->addAction(caption);
    entry->setObjectName(name);
    entry->setEnabled(enabled);
    return entry;
}

}  // namespace

void Frm_acquire::buildMenus()
{
    // The subsystems find these menus by name and add their own entries (thermal: "Calibrate"
    // and the cycle; lighting: the blue light; plate: the camera entries under "Factory Tools").
    mntools = namedMenu(menuBar()->addMenu("Tools"), "mntools");
    mnadvan = namedMenu(mntools->addMenu("Advanced"), "mnadvan");
    mnwellcal = namedMenu(mnadvan->addMenu("Well Format Calibration"), "mnwellcal");
    // The calibration routines, the internal reference, the raw-data switch and the pop-up
    // entries come with their subsystems' windows: in place, disabled until then.
    mncalibratewell = namedEntry(mnwellcal, "mncalibratewell", "Calibrate position", false);  // the autoreference window enables it
    mnlightcal = namedMenu(mnadvan->addMenu("Lighting Calibration"), "mnlightcal");
    mncalibralightback = namedEntry(mnlightcal, "mncalibralightback", "Background light", false);
    mncalibralight = namedEntry(mnlightcal, "mncalibralight", "Well illumination", false);
    mncalibralight->setVisible(false);
    mn_fastled = namedEntry(mnlightcal, "mn_fastled", "Fast led calibration", false);
    mn_fastled->setVisible(false);
    mntempcal = namedMenu(mnadvan->addMenu("Temperature Calibration"), "mntempcal");
    mn_fac = namedMenu(mnadvan->addMenu("Factory Tools"), "mn_fac");
    mn_internalref = namedEntry(mn_fac, "mn_internalref", "Enable Internal Reference ");
    mn_internalref->setCheckable(true);
    connect(mn_internalref, &QAction::triggered, this, [this] { mn_internalref_Click(); });
    mnadvanced = namedEntry(mn_fac, "mnadvanced", "Factory Tools(Require password)");
    connect(mnadvanced, &QAction::triggered, this, [this] { mnadvanced_Click(); });
    mnfactory_param = namedEntry(mn_fac, "mnfactory_param", "Factory Parameters(Require Password)");
    connect(mnfactory_param, &QAction::triggered, this, [this] { mnfactory_param_Click(); });
    mn_showcomm = namedEntry(mn_fac, "mn_showcomm", "Show Communication values");
    mn_showcomm->setCheckable(true);
    connect(mn_showcomm, &QAction::triggered, this, [this] { mn_showcomm_Click(); });
    // Off when the window opens; each raw frame record reads it.
    chk_saveraw = namedEntry(mntools, "chk_saveraw", "SaveRawData");
    chk_saveraw->setCheckable(true);

    mnhelp = namedMenu(menuBar()->addMenu("Help"), "mnhelp");
    mnhelpindex = namedEntry(mnhelp, "mnhelpindex", "Help Index");
    connect(mnhelpindex, &QAction::triggered, this, [this] { mnhelpindex_Click(); });
    mnversion = namedEntry(mnhelp, "mnversion", "SoftVersion");
    connect(mnversion, &QAction::triggered, this, [this] { mnversion_Click(); });
    mnhelp->addSeparator();
    mnabout = namedEntry(mnhelp, "mnabout", "About");
    connect(mnabout, &QAction::triggered, this, [this] { mnabout_Click(); });

    // Pop-up menus, never on the bar.
    mndelblank_top = namedMenu(new QMenu(this), "mndelblank_top");
    mndelblank = namedEntry(mndelblank_top, "mndelblank", "Delete blank read", false);
    mnrightclickmenu = namedMenu(new QMenu(this), "mnrightclickmenu");
    mnjointrep = namedEntry(mnrightclickmenu, "mnjointrep", "Joint Report...", false);
}

void Frm_acquire::connectShellButtons()
{
    containers.cmd_menu->onClick([this] { cmd_menu_Click(); });
    // The run panel's Report button opens the report panel on the run just made.
    run->cmdreport->onClick([this] { report->cmdreport_Click(); });
}

void Frm_acquire::cmd_menu_Click()
{
    camera->plate_view_shown = true;
    containers.Frame_menu->show();
    camera->Frame_calibration->hide();
    plate->cmb_formatplate->setEnabled(true);
    containers.cmd_menu->hide();
    plate->DrawPlateLayout(plate->current_format);
    plate->ReadPlateSpec(plate->current_format);
    plate->RedrawAllWells();  // rows outer, columns inner: every well once
}

void Frm_acquire::orderToolsMenu()
{
    // "Advanced", the blue light, the temperature cycle, raw data: whatever order the
    // subsystems were made in.
    const QList<QAction*> order{mnadvan->menuAction(), lighting->mn_bluelight, thermal->mn_tcycle, chk_saveraw};
    for (QAction* entry : order) mntools->removeAction(entry);
    for (QAction* entry : order) mntools->addAction(entry);
}

void Frm_acquire::mnhelpindex_Click()
{
    OpenHelpFile(this, [this](const std::string& text) { SetStatus(text); });
}

void Frm_acquire::mnversion_Click() { ui::dialogs().messageBox(VersionText()); }

void Frm_acquire::mnabout_Click() { ui::dialogs().messageBox(AboutText()); }

void Frm_acquire::mnfactory_param_Click()
{
    if (!AdministratorPassword(ui::dialogs().inputBox("Enter password"))) {
        ui::dialogs().messageBox("Wrong password");
        return;
    }
    if (containers.frame_flash) {
        containers.frame_flash->show();
        containers.frame_flash->raise();
    }
}

void Frm_acquire::mnadvanced_Click()
{
    if (!AdministratorPassword(ui::dialogs().inputBox("Enter password"))) {
        ui::dialogs().messageBox("Wrong password");
        return;
    }
    if (!factory) {
        factory = std::make_unique<Frm_advance>(instrument, instrument.plate_state.groups);
        factory->main_window = this;
        // The factory window has no group list: a left drag there gives the group the main
        // window's list shows.
        factory->plate->group_to_assign = [this] { return plate::WellGroups::ItemGroup(plate->combogrup->Text()); };
    }
    factory->show();
    factory->raise();
}

void Frm_acquire::cmd_load_recording_Click()
{
    hide();
    offline = std::make_unique<Frrm_offline>(instrument, this);
    offline->Form_Load();
    offline->show();
    offline->raise();
}

void Frm_acquire::mn_internalref_Click()
{
    const ui::MsgResult answer =
        ui::dialogs().messageBox("Do you like to enable internal reference Measurements?", ui::MsgButtons::YesNoCancel);
    if (answer != ui::MsgResult::Yes) {
        run->chk_internalref->hide();
        mn_internalref->setChecked(false);
        return;
    }
    run->chk_internalref->show();
    mn_internalref->setChecked(true);
    ui::dialogs().messageBox("OK");
    // Reference runs may be wanted for any plate with a layout file: both format lists now
    // offer every one of them, the format shown staying as it was.
    const std::string kept = cmb_well->Text();
    const std::vector<std::string> formats = plate::SpecFileFormats();
    for (ui::ComboBox* box : {cmb_well, plate->cmb_formatplate}) {
        box->Clear();
        for (const std::string& format : formats) box->AddItem(format);
        box->SetText(kept);
    }
}

}  // namespace tirmo::app
