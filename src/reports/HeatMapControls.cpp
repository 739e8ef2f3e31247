#include "reports/HeatMapControls.h"

#include <QAction>
#include <QCoreApplication>
#include <QCursor>
#include <QFrame>
#include <QMenu>
#include <QScrollBar>
#include <QSignalBlocker>

#include "platform/Clock.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "reports/HeatMapAreaFile.h"
#include "reports/HeatMapPicture.h"
#include "reports/PixelActivityFile.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Make.h"
#include "ui/PictureFile.h"
#include "ui/PictureBox.h"
#include "ui/Timer.h"

namespace tirmo::reports {

namespace {
constexpr const char* kColourCaptions[] = {"B&&W", "Grey", "Colour"};
}

HeatMapControls::HeatMapControls(QWidget* client, HeatMapNeeds needs) : QObject(client), needs_(std::move(needs))
{
    cmd_plotheat = ui::MakeButton(client, "cmd_plotheat", "Load HeatMAP", [this] { cmd_plotheat_Click(); });
    txt_cframe = ui::MakeTextBox(client, "txt_cframe", "00");
    txt_cframe->setReadOnly(true);
    frame_heatmap = new QFrame(client);
    frame_heatmap->setObjectName("frame_heatmap");
    cmd_plotheatsum = ui::MakeButton(frame_heatmap, "cmd_plotheatsum", "[SUM]", [this] { cmd_plotheatsum_Click(); });
    cmd_plotheatkin = ui::MakeButton(frame_heatmap, "cmd_plotheatkin", "[KINETICS]", [this] { cmd_plotheatkin_Click(); });
    for (int i = 0; i < 3; ++i) {
        auto* option = new ui::OptionButton(frame_heatmap);
        option->setObjectName(QString("opt_hetmap_color_%1").arg(i));
        option->SetCaption(kColourCaptions[i]);
        opt_hetmap_color[size_t(i)] = option;
    }
    opt_hetmap_color[size_t(HeatMapColours::Colour)]->SetValue(true);
    HScroll_time = new QScrollBar(Qt::Horizontal, client);
    HScroll_time->setObjectName("HScroll_time");
    HScroll_time->setRange(0, 0);
    HScroll_time->setPageStep(1);  // a click beside the handle moves one scan
    connect(HScroll_time, &QScrollBar::valueChanged, this, [this] { HScroll_time_Change(); });
    lbl_scan = ui::MakeLabel(client, "lbl_scan", "Scan[0]: 0m");

    mn_exporta = new QMenu(client);
    mn_exporta->setObjectName("mn_exporta");
    bmpexporta = mn_exporta->addAction("Export .BMP", this, [this] { bmpexporta_Click(); });
    bmpexporta->setObjectName("bmpexporta");
    bmpexporta_seq = mn_exporta->addAction("Export .BMP sequence", this, [this] { bmpexporta_seq_Click(); });
    bmpexporta_seq->setObjectName("bmpexporta_seq");
    bmpexporta_csvseq = mn_exporta->addAction("Export %ACTIVITY AREA .csv ", this, [this] { bmpexporta_csvseq_Click(); });
    bmpexporta_csvseq->setObjectName("bmpexporta_csvseq");

    kinetic_timer = new ui::Timer(this);
    kinetic_timer->SetEnabled(false);
    kinetic_timer->SetInterval(1);
    kinetic_timer->onTick([this] { kineticTick(); });
    process_events = [] { QCoreApplication::processEvents(); };

    if (ui::PictureBox* picture = needs_.picture ? needs_.picture() : nullptr)
        picture->onMouseDown([this](int button, int shift, double x, double y) { Picreal_MouseDown(button, shift, x, y); });
    HideControls();
}

void HeatMapControls::HideControls()
{
    stopKinetic();
    for (QWidget* w : {static_cast<QWidget*>(cmd_plotheat), static_cast<QWidget*>(cmd_plotheatkin),
                       static_cast<QWidget*>(frame_heatmap), static_cast<QWidget*>(HScroll_time),
                       static_cast<QWidget*>(lbl_scan), static_cast<QWidget*>(txt_cframe)})
        w->hide();
    bmpexporta_seq->setVisible(false);
    bmpexporta_csvseq->setVisible(false);
}

void HeatMapControls::RecordingLoaded()
{
    HideControls();
    // A new recording: what was loaded of the one before must not be drawn for it.
    store = HeatMapStore{};
    cmd_plotheat->show();
    cmd_plotheatkin->show();
    setBold(cmd_plotheat, false);
    setBold(cmd_plotheatkin, false);
}

void HeatMapControls::BarPlotShown()
{
    stopKinetic();
    heatmap_running = false;
    frame_heatmap->hide();
    HScroll_time->hide();
    lbl_scan->hide();
    txt_cframe->hide();
    setBold(cmd_plotheat, false);
    setBold(cmd_plotheatkin, false);
    bmpexporta_seq->setVisible(false);
    bmpexporta_csvseq->setVisible(false);
}

void HeatMapControls::setBold(ui::CommandButton* button, bool bold)
{
    QFont font = button->font();
    font.setBold(bold);
    button->setFont(font);
}

// ---------------------------------------------------------------- load

void HeatMapControls::cmd_plotheat_Click()
{
    if (heatmap_loading) {
        // Stop: the load sees the flag at its next block and ends; nothing is drawn.
        cmd_plotheat->SetCaption("Load Heatmap");
        heatmap_running = false;
        heatmap_loading = false;
        stopLoad_ = true;
        return;
    }
    const HeatMapRecording recording = needs_.recording ? needs_.recording() : HeatMapRecording{};
    if (!HeatMapPlateOf(recording.format)) {
        ui::dialogs().messageBox(kHeatMapFormats);
        return;
    }
    stopKinetic();
    // A new load is a new outcome: what an earlier load or export said goes.
    if (needs_.status) needs_.status("");
    heatmap_loading = true;
    cmd_plotheat->SetCaption("Stop");
    frame_heatmap->hide();
    setBold(cmd_plotheat, true);
    setBold(cmd_plotheatsum, true);
    setBold(cmd_plotheatkin, false);
    if (needs_.heat_map_shown) needs_.heat_map_shown();
    HScroll_time->hide();
    lbl_scan->hide();
    txt_cframe->show();
    store = HeatMapStore{};
    heatmap_running = true;
    stopLoad_ = false;
    if (ui::PictureBox* picture = needs_.picture ? needs_.picture() : nullptr) {
        picture->Cls();
        picture->Refresh();
    }

    HeatMapLoad load = LoadHeatMap(recording.folder, recording.format, stopLoad_, [this](int percent) {
        txt_cframe->SetText(std::to_string(percent) + "% Read");
        txt_cframe->Refresh();
        if (process_events) process_events();
    });
    txt_cframe->hide();
    if (load.outcome == HeatMapOutcome::Stopped || !heatmap_loading) return;
    heatmap_loading = false;
    heatmap_running = false;
    cmd_plotheat->SetCaption("Load Heatmap");
    if (load.outcome == HeatMapOutcome::Failed) {
        // Nothing is drawn of a load that did not end: the picture stays empty.
        tell(load.where);
        ui::dialogs().messageBox(load.message);
        return;
    }
    tell(NegativeCountsNote(load.negative_counts));
    txt_cframe->SetText("100% OK");
    store = std::move(load.store);
    int scan = 1;
    DrawHeatmapFrame(0, scan);
    frame_heatmap->show();
}

// ---------------------------------------------------------------- views

void HeatMapControls::DrawHeatmapFrame(int mode, int& scan)
{
    const long last = std::max(1L, store.last_position());
    scan = mode == 0 ? 1 : int(std::clamp<long>(scan, 1, last));
    if (needs_.heat_map_shown) needs_.heat_map_shown();
    HeatMapFrame frame;
    frame.summed = mode == 0;
    frame.scan = store.ScanAt(scan);
    if (mode != 0)
        lbl_scan->SetCaption("Scan(" + std::to_string(scan) + ") " +
                             std::to_string(platform::RoundHalfEven(store.Minutes(frame.scan))) + "m");
    if (percent_recording || opt_hetmap_color[0]->Value()) frame.colours = HeatMapColours::BlackWhite;
    else if (opt_hetmap_color[1]->Value()) frame.colours = HeatMapColours::Grey;
    const HeatMapRecording recording = needs_.recording ? needs_.recording() : HeatMapRecording{};
    frame.highlight = recording.highlight;
    ui::PictureBox* picture = needs_.picture ? needs_.picture() : nullptr;
    if (!picture) return;
    picture->Scale(0, 0, store.plate.columns * 100, store.plate.rows * 100);
    picture->image() = DrawHeatMap(store, frame, QSize(picture->PixelWidth(), picture->PixelHeight()));
    picture->Refresh();
}

void HeatMapControls::cmd_plotheatsum_Click()
{
    stopKinetic();
    setBold(cmd_plotheatsum, true);
    setBold(cmd_plotheatkin, false);
    HScroll_time->hide();
    lbl_scan->hide();
    int scan = 1;
    DrawHeatmapFrame(0, scan);
    heatmap_running = false;
    bmpexporta_seq->setVisible(false);
    bmpexporta_csvseq->setVisible(false);
}

void HeatMapControls::cmd_plotheatkin_Click()
{
    // Nothing loaded (none yet, or the last load was refused): no view, and no exports that
    // would write empty pictures and tables over what the folder holds.
    if (store.empty() && !heatmap_running) return tell(kHeatMapNotLoaded);
    bmpexporta_seq->setVisible(true);
    bmpexporta_csvseq->setVisible(true);
    if (heatmap_running) {
        // Stop; a slider moved by hand leaves the flag set as well, so that click only stops.
        heatmap_running = false;
        stopKinetic();
        return;
    }
    setBold(cmd_plotheatsum, false);
    setBold(cmd_plotheatkin, true);
    heatmap_running = true;
    {
        const QSignalBlocker quiet(HScroll_time);
        HScroll_time->setMaximum(int(store.last_position()));
    }
    HScroll_time->show();
    lbl_scan->SetCaption("Scan[1]");
    lbl_scan->show();
    if (ui::PictureBox* picture = needs_.picture ? needs_.picture() : nullptr) picture->Cls();
    cmd_plotheatkin->SetCaption("[STOP]");
    if (needs_.heat_map_shown) needs_.heat_map_shown();
    kineticNext_ = 1;
    kineticLast_ = int(store.last_position());
    kinetic_timer->SetEnabled(true);
}

void HeatMapControls::kineticTick()
{
    if (!heatmap_running || kineticNext_ > kineticLast_) {
        heatmap_running = false;
        stopKinetic();
        return;
    }
    putSlider(kineticNext_++);
}

void HeatMapControls::stopKinetic()
{
    if (!kinetic_timer->Enabled()) return;
    kinetic_timer->SetEnabled(false);
    cmd_plotheatkin->SetCaption("[Kinetic]");
}

void HeatMapControls::putSlider(int position)
{
    {
        const QSignalBlocker quiet(HScroll_time);
        HScroll_time->setValue(position);
    }
    HScroll_time_Change();
}

void HeatMapControls::HScroll_time_Change()
{
    heatmap_running = true;
    int scan = HScroll_time->value();
    DrawHeatmapFrame(1, scan);
}

// ---------------------------------------------------------------- exports

void HeatMapControls::Picreal_MouseDown(int button, int, double, double)
{
    if (button == 2) mn_exporta->popup(QCursor::pos());
}

bool HeatMapControls::savePicture(const std::string& path) const
{
    ui::PictureBox* picture = needs_.picture ? needs_.picture() : nullptr;
    return picture && ui::WritePicture(picture->image(), path);
}

void HeatMapControls::tell(const std::string& text) const
{
    if (needs_.status && !text.empty()) needs_.status(text);
}

void HeatMapControls::opened(const std::string& path, const ui::ExportTexts& texts)
{
    ui::OpenExported(this, path, texts, [this](const std::string& text) { tell(text); });
}

bool HeatMapControls::nothingToExport(bool sequence) const
{
    if (store.empty()) {
        tell(kHeatMapNotLoaded);
        return true;
    }
    if (!sequence) return false;
    if (HScroll_time->isHidden()) return true;  // the sequences belong to the kinetic view
    if (HScroll_time->maximum() < 1) {
        tell(kNoScanToExport);
        return true;
    }
    return false;
}

void HeatMapControls::bmpexporta_Click()
{
    if (nothingToExport(false)) return;
    const std::string path = platform::ProgramPath(kPictureFileName);
    if (!savePicture(path)) return tell(kPictureNotWritten + path);
    opened(path, {kPictureSaved, kPictureNotOpened});
}

void HeatMapControls::bmpexporta_seq_Click()
{
    if (nothingToExport(true)) return;
    const std::string folder = needs_.recording().folder + "/" + kSequenceFolder;
    if (!platform::FolderExists(folder) && !platform::MakeFolder(folder)) return tell(kSequenceNotWritten + folder);
    const int last = HScroll_time->maximum();
    for (int n = 1; n <= last; ++n) {
        putSlider(n);
        const std::string path = folder + "/" + std::to_string(n) + ".bmp";
        if (!savePicture(path)) return tell(kPictureNotWritten + path);
    }
    opened(folder + "/", {kSequenceSaved, kSequenceNotOpened});
}

void HeatMapControls::bmpexporta_csvseq_Click()
{
    if (nothingToExport(true)) return;
    const HeatMapRecording recording = needs_.recording();
    const std::string path = recording.folder + "/" + kAreaFileName;
    // The shares come from the store, scan by scan, as the black-and-white frames count them;
    // the picture is left on the last position in black and white.
    const auto lines = AreaFileLines(store, {recording.folder, recording.project, recording.title, platform::WallNow()});
    if (!platform::WriteLines(path, lines)) {
        ui::dialogs().messageBox(kAreaFileError);
        return;
    }
    percent_recording = true;
    putSlider(HScroll_time->maximum());
    percent_recording = false;
    opened(path, {kAreaSaved, kAreaNotOpened});
}

}  // namespace tirmo::reports
