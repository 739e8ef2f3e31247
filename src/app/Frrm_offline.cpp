#include "app/Frrm_offline.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>

#include "chemotaxis/Frm_bmpexport.h"
#include "link/Session.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "reports/AcquisitionFiles.h"
#include "reports/ReportWriter.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/FitCaption.h"
#include "ui/Line.h"
#include "ui/Make.h"
#include "ui/PictureBox.h"
#include "ui/Shape.h"

namespace tirmo::app {

namespace {

constexpr int kSmallestWidth = 640;
constexpr int kSmallestHeight = 480;

int Round(double v) { return int(platform::RoundHalfEven(v)); }

// Controls that live in a frame, and the frame.
const std::map<std::string, std::string> kInFrame = {
    {"Listpj", "frame_offline"},          {"cmd_report", "frame_offline"},      {"lblback", "frame_offline"},
    {"lbl_search", "frame_offline"},      {"txt_search", "frame_offline"},      {"cmd_lupa", "frame_offline"},
    {"cmd_plotheatsum", "frame_heatmap"}, {"cmd_plotheatkin", "frame_heatmap"}, {"opt_hetmap_color_0", "frame_heatmap"},
    {"opt_hetmap_color_1", "frame_heatmap"}, {"opt_hetmap_color_2", "frame_heatmap"},
};

}  // namespace

std::map<std::string, QRect> OfflineGeometry(int width, int height)
{
    // A main window smaller than the smallest layout in either direction gets that layout.
    if (width < kSmallestWidth || height < kSmallestHeight) width = kSmallestWidth, height = kSmallestHeight;
    const int L = Round(width * 0.05);
    const int T = Round(height * 0.025);
    const int cw = Round(Round(width * 0.9) / 6.0);
    const int rh = Round((Round(height * 0.9) - T) / 20.0);
    struct Place {
        const char* name;
        double left, top, width, height;  // in columns and rows
    };
    // The report button sits just below the list's lower edge (7.5 rows), not on it.
    const Place places[] = {
        {"lbl_status", 0.175, 0.275, 0.5, 0.66},   {"txt_status", 0.575, 0.275, 3.65, 0.66},
        {"cmd_closeoffline", 4.5, 0.275, 1.25, 0.66}, {"frame_offline", 0.125, 1.75, 4.3, 9},
        {"Listpj", 0.05, 1, 4.25, 6.5},            {"cmd_report", 3.3, 7.6, 1, 0.66},
        {"lblback", 0.05, 0.2, 1, 0.66},           {"Picreal", 1.125, 10.5, 3.3, 8},
        // The search row shares the row above the list with the back label.
        {"lbl_search", 1.5, 0.2, 0.55, 0.66},      {"txt_search", 2.05, 0.2, 1.45, 0.66},
        {"cmd_lupa", 3.55, 0.2, 0.7, 0.66},
        {"HScroll_time", 1.125, 18.6, 2.7, 0.5},   {"lbl_scan", 3.825, 18.6, 0.6, 0.5},
        {"cmd_plotbar", 4.5, 11, 0.5, 0.66},       {"cmd_plotheat", 4.5, 12, 0.5, 0.66},
        {"txt_cframe", 5.1, 12.1, 0.35, 0.66},     {"frame_heatmap", 4.5, 13, 1.2, 3.5},
        // The heat maps' frame reaches into the free room on its right, so that both its
        // buttons keep the window's type, bold as the view shown, beside each other.
        {"cmd_plotheatsum", 0.05, 0.25, 0.4, 0.66}, {"cmd_plotheatkin", 0.5, 0.25, 0.6, 0.66},
        {"opt_hetmap_color_0", 0.05, 2, 0.5, 0.5}, {"opt_hetmap_color_1", 0.05, 2.5, 0.5, 0.5},
        {"opt_hetmap_color_2", 0.05, 1.5, 0.5, 0.5}, {"Label_groupsname", 0.125, 11.25, 0.75, 0.66},
        {"combogrup", 0.125, 12, 0.75, 5},
    };
    std::map<std::string, QRect> out;
    for (const Place& p : places) {
        const bool inFrame = kInFrame.count(p.name) > 0;
        out[p.name] = QRect(Round(p.left * cw) + (inFrame ? 0 : L), Round(p.top * rh) + (inFrame ? 0 : T),
                            Round(p.width * cw), Round(p.height * rh));
    }
    out["Shape5"] = QRect(L - 2, T - 2, 6 * cw + 4, Round(19.5 * rh) + 4);
    const int ruleY = Round(1.4 * rh) + T + 2;
    out["Line5"] = QRect(QPoint(L, ruleY), QPoint(6 * cw + L - 8, ruleY));
    out["Frm_report"] = QRect(2 * cw + L, 3 * rh + T, 0, 0);  // moved only
    return out;
}

Frrm_offline::Frrm_offline(InstrumentState& state, QWidget* mainWindow)
    : QMainWindow(nullptr), TextBoxConsole(state.session), instrument(state), main_window(mainWindow)
{
    setObjectName("Frrm_offline");
    setWindowTitle("Saved Data Analysis");
    client_ = new QWidget(this);
    client_->setObjectName("client");
    setCentralWidget(client_);
    buildShell();

    browser = std::make_unique<reports::RecordingBrowser>(
        *this, frame_offline,
        reports::BrowserNeeds{[this] { projectToggled(); }, [this] { recordingLoaded(); },
                              [this] { recordingMissing(); },
                              [this](const reports::JointOutcome& outcome) { jointWritten(outcome); }});
    reports::ReportNeeds needs;
    needs.report_groups = [this]() -> plate::WellGroups& { return browser->recording.data.groups; };
    needs.window_data = [this]() -> const reports::AcquisitionData* {
        return browser->loaded ? &browser->recording.data : nullptr;
    };
    needs.open_map_plot = [this](const std::string& format) {
        chemotaxis::OpenChemotaxisWindow(this, session(), format,
                                         {[this] { return report->Combo_reportfile->Text(); },
                                          [this] { return report->Combo_reportdivider->Text(); }});
    };
    report = std::make_unique<reports::ReportControls>(*this, client_, std::move(needs));
    lbl_reportexport = ui::MakeLabel(report->Frm_report, "lbl_reportexport");
    if (auto* grid = qobject_cast<QGridLayout*>(report->Frm_report->layout())) grid->addWidget(lbl_reportexport, 5, 0, 1, 4);
    report->Frm_report->resize(report->Frm_report->sizeHint());
    barplot = std::make_unique<reports::GroupBarPlot>(client_, *Picreal, browser->recording);
    buildHeatMaps();
    for (QPushButton* button : client_->findChildren<QPushButton*>()) ui::KeepCaptionFitted(button);
    for (QComboBox* combo : client_->findChildren<QComboBox*>()) ui::KeepEntriesFitted(combo);
    Shape5->lower();
    report->Frm_report->raise();
    report->Frm_report->setAutoFillBackground(true);  // opaque over the list it opens on
    if (main_window) resize(main_window->size());
}

Frrm_offline::~Frrm_offline() = default;

void Frrm_offline::buildShell()
{
    Shape5 = ui::MakeShape(client_, "Shape5");
    Line5 = new ui::Line(client_);
    Line5->setObjectName("Line5");
    lbl_status = ui::MakeLabel(client_, "lbl_status", "Status:");
    txt_status = ui::MakeStatusLine(client_, "txt_status");
    cmd_closeoffline = ui::MakeButton(client_, "cmd_closeoffline", "<< Back", [this] { cmd_closeoffline_Click(); });
    frame_offline = new QWidget(client_);
    frame_offline->setObjectName("frame_offline");
    cmd_report = ui::MakeButton(frame_offline, "cmd_report", "Report...", [this] { cmd_report_Click(); });
    Picreal = ui::MakePicture(client_, "Picreal", 1, 1);
}

void Frrm_offline::buildHeatMaps()
{
    reports::HeatMapNeeds needs;
    needs.picture = [this] { return Picreal; };
    needs.status = [this](const std::string& text) { SetStatus(text); };
    needs.recording = [this] {
        const reports::LoadedRecording& r = browser->recording;
        reports::HeatMapRecording h{r.recording_folder, r.data.plate_format, r.project_name, r.recording_title, {}};
        h.highlight.assign(barplot->well_highlight.begin(), barplot->well_highlight.end());
        return h;
    };
    needs.heat_map_shown = [this] {
        barplot->plot_shown = 2;
        QFont plain = barplot->cmd_plotbar->font();
        plain.setBold(false);
        barplot->cmd_plotbar->setFont(plain);
    };
    heatmap = std::make_unique<reports::HeatMapControls>(client_, std::move(needs));
    // The window's names for the heat maps' controls, which its layout places.
    HScroll_time = heatmap->HScroll_time;
    lbl_scan = heatmap->lbl_scan;
    txt_cframe = heatmap->txt_cframe;
    cmd_plotheat = heatmap->cmd_plotheat;
    frame_heatmap = heatmap->frame_heatmap;
    cmd_plotheatsum = heatmap->cmd_plotheatsum;
    cmd_plotheatkin = heatmap->cmd_plotheatkin;
    opt_hetmap_color = heatmap->opt_hetmap_color;
    mn_exporta = heatmap->mn_exporta;
    bmpexporta = heatmap->bmpexporta;
    bmpexporta_seq = heatmap->bmpexporta_seq;
    bmpexporta_csvseq = heatmap->bmpexporta_csvseq;
    barplot->hide_heat_map = [this] { heatmap->BarPlotShown(); };
    barplot->redraw_heat_map = [this] { heatmap->cmd_plotheatsum_Click(); };
}

void Frrm_offline::Form_Load()
{
    barplot->plot_shown = 1;
    report->FillReportLists();
    for (QWidget* w : {static_cast<QWidget*>(cmd_report), static_cast<QWidget*>(barplot->cmd_plotbar),
                       static_cast<QWidget*>(cmd_plotheat), static_cast<QWidget*>(cmd_plotheatkin), frame_heatmap,
                       static_cast<QWidget*>(HScroll_time), static_cast<QWidget*>(lbl_scan),
                       static_cast<QWidget*>(txt_cframe)})
        w->hide();
    mn_exporta->menuAction()->setVisible(false);
    browser->expanded.clear();
    browser->FillProjectList();
    bmpexporta_csvseq->setVisible(false);
    bmpexporta_seq->setVisible(false);
    LayoutControls();
}

void Frrm_offline::LayoutControls()
{
    if (!main_window || main_window->isMinimized()) return;
    const std::map<std::string, QRect> places = OfflineGeometry(main_window->width(), main_window->height());
    for (const auto& [name, rect] : places) {
        QWidget* w = findChild<QWidget*>(QString::fromStdString(name));
        if (!w) continue;
        if (name == "Line5") {
            Line5->SetBorderWidth(4);
            Line5->SetEnds(rect.topLeft(), rect.bottomRight());
        } else if (name == "Frm_report") {
            w->move(rect.topLeft());
        } else {
            w->setGeometry(rect);
        }
    }
    Shape5->setLineWidth(4);
    Picreal->SetPixelSize(places.at("Picreal").width(), places.at("Picreal").height());
    if (browser->loaded && barplot->plot_shown == 1 && !barplot->cmd_plotbar->isHidden()) barplot->DrawGroupBarPlot();
}

void Frrm_offline::Form_Resize() { LayoutControls(); }

void Frrm_offline::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void Frrm_offline::cmd_report_Click()
{
    // The button is named after the loaded acquisition: after a joint report it opens that
    // acquisition's own report again, written into its own folder.
    if (report->joint_mode && browser->loaded) {
        report->PrepareFor(browser->recording.data.plate_format);
        lbl_reportexport->SetCaption(cmd_report->Caption());
        session().acquisition_folder = browser->recording.recording_folder;
    }
    report->Frm_report->setVisible(true);
    report->Frm_report->raise();
}

void Frrm_offline::cmd_closeoffline_Click()
{
    if (main_window) main_window->show();
    close();
}

void Frrm_offline::Form_Unload()
{
    if (unloaded_) return;
    unloaded_ = true;
    if (main_window) {
        main_window->show();
        main_window->raise();
    }
}

void Frrm_offline::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void Frrm_offline::projectToggled()
{
    // A joint report's mode ends with the next choice in the list.
    if (report->joint_mode) report->PrepareFor(report->txt_welltype->Text());
    for (QWidget* w : {static_cast<QWidget*>(cmd_report), static_cast<QWidget*>(barplot->cmd_plotbar),
                       static_cast<QWidget*>(cmd_plotheat), static_cast<QWidget*>(cmd_plotheatkin), frame_heatmap})
        w->hide();
}

void Frrm_offline::recordingMissing()
{
    // The report button, the panel and the plots would still show the acquisition loaded before,
    // whose report would be offered as if it were the one just chosen.
    projectToggled();
    heatmap->HideControls();
    report->Frm_report->hide();
    barplot->FillGroups();  // the acquisition chosen has none to list
    Picreal->Cls();
}

void Frrm_offline::recordingLoaded()
{
    const reports::LoadedRecording& r = browser->recording;
    report->PrepareFor(r.data.plate_format);
    const std::string caption = "Report [" + r.recording_stamp + "]";
    cmd_report->SetCaption(caption);
    lbl_reportexport->SetCaption(caption);
    barplot->FillGroups();
    cmd_report->show();
    barplot->cmd_plotbar->show();
    barplot->cmd_plotbar_Click();
    heatmap->RecordingLoaded();
}

void Frrm_offline::jointWritten(const reports::JointOutcome& outcome)
{
    lbl_reportexport->SetCaption("Joint Report");
    if (!outcome.written) {
        ui::dialogs().messageBox(outcome.refusal.empty() ? std::string(reports::kReportError) : outcome.refusal);
        return;
    }
    session().acquisition_folder = reports::InFolder(platform::ProgramPath("reports"), outcome.last_project);
    report->EnterJointMode(outcome.file_name);
}

}  // namespace tirmo::app
