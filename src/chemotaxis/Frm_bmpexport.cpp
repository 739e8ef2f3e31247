#include "chemotaxis/Frm_bmpexport.h"

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPointer>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

#include "chemotaxis/ChemotaxisProcessing.h"
#include "chemotaxis/ChemotaxisReport.h"
#include "chemotaxis/RawFrameExport.h"
#include "link/Session.h"
#include "platform/Clock.h"
#include "platform/Locale.h"
#include "platform/ProgramFolder.h"
#include "reports/AcquisitionFiles.h"
#include "reports/ReportControls.h"
#include "reports/ReportNumbers.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Make.h"
#include "ui/OpenExported.h"
#include "ui/PictureBox.h"
#include "ui/Timer.h"

namespace tirmo::chemotaxis {

namespace {

constexpr const char* kProcessCaption = "Process Files";
constexpr const char* kStopCaption = "Stop processing";
constexpr const char* kAxisCaptions[] = {"", "X.Right", "X.Left", "Y.Top", "Y.Bottom", "QLeft", "Qright"};

int NumberIn(const std::string& text) { return int(reports::LeadingNumber(text)); }

// Shows a picture the processing made in a picture box, at the picture's size.
void ShowImage(ui::PictureBox* box, const QImage& image)
{
    box->SetPixelSize(image.width(), image.height());
    box->image() = image.convertToFormat(box->image().format());
    box->Refresh();
}

QPointer<Frm_bmpexport>& TheWindow()
{
    static QPointer<Frm_bmpexport> window;
    return window;
}

}  // namespace

Frm_bmpexport::Frm_bmpexport(link::Session& session, ReportChoice report, QWidget* parent)
    : QMainWindow(parent), report_choice(std::move(report)), session_(session)
{
    setWindowFlag(Qt::Window);
    build();
}

void Frm_bmpexport::build()
{
    setObjectName("Frm_bmpexport");
    setWindowTitle("BMP_export");
    mn_advanced = menuBar()->addMenu("Advanced");
    mn_advanced->setObjectName("mn_advanced");
    mn_export_rawbmp = mn_advanced->addAction("Export Raw files");
    mn_export_rawbmp->setObjectName("mn_export_rawbmp");
    connect(mn_export_rawbmp, &QAction::triggered, this, [this] { mn_export_rawbmp_Click(); });

    auto* client = new QWidget(this);
    setCentralWidget(client);
    auto* grid = new QGridLayout(client);

    lbl_name = ui::MakeLabel(client, "lbl_name", "Project");
    grid->addWidget(lbl_name, 0, 0, 1, 3);

    auto* viewer = new QHBoxLayout;
    Label3 = ui::MakeLabel(client, "Label3", "WELL:");
    cmb_well = ui::MakeComboBox(client, "cmb_well");
    cmb_well->ShowText("A1");
    cmb_well->onClick([this] { cmb_well_Click(); });
    txt_cframe = ui::MakeTextBox(client, "txt_cframe", "1");
    Label6 = ui::MakeLabel(client, "Label6", "/");
    txt_frame = ui::MakeTextBox(client, "txt_frame", "10");
    txt_formatowell = ui::MakeTextBox(client, "txt_formatowell", "w96f");
    for (ui::TextBox* box : {txt_cframe, txt_frame, txt_formatowell}) box->setMaximumWidth(60);
    cmd_menos = ui::MakeButton(client, "cmd_menos", "<<", [this] { cmd_menos_Click(); });
    cmd_loop = ui::MakeButton(client, "cmd_loop", "Play", [this] { cmd_loop_Click(); });
    cmd_mas = ui::MakeButton(client, "cmd_mas", ">>", [this] { cmd_mas_Click(); });
    for (QWidget* w : std::initializer_list<QWidget*>{Label3, cmb_well, txt_cframe, Label6, txt_frame, cmd_menos,
                                                     cmd_loop, cmd_mas, txt_formatowell})
        viewer->addWidget(w);
    viewer->addStretch();
    grid->addLayout(viewer, 1, 0, 1, 3);

    wellpicture = ui::MakePicture(client, "wellpicture", 200, 200);
    Picture_progress = ui::MakePicture(client, "Picture_progress", 320, 200);
    grid->addWidget(wellpicture, 2, 0, Qt::AlignTop | Qt::AlignLeft);
    grid->addWidget(Picture_progress, 2, 1, Qt::AlignTop | Qt::AlignLeft);

    auto* analysis = new QVBoxLayout;
    Label2 = ui::MakeLabel(client, "Label2", "Chemotaxis Index");
    cmb_analysis = ui::MakeComboBox(client, "cmb_analysis");
    cmb_analysis->onClick([this] { cmb_analysis_Click(); });
    frame_2sides = new QGroupBox(client);
    frame_2sides->setObjectName("frame_2sides");
    frame_4sides = new QGroupBox(client);
    frame_4sides->setObjectName("frame_4sides");
    auto* sides2 = new QVBoxLayout(frame_2sides);
    auto* sides4 = new QVBoxLayout(frame_4sides);
    for (int k = 1; k <= 6; ++k) {
        auto* option = new ui::OptionButton(k <= 4 ? frame_2sides : frame_4sides);
        option->setObjectName(QString("option_axis_%1").arg(k));
        option->SetCaption(kAxisCaptions[k]);
        option->onClick([this, k] { option_axis_Click(k); });
        (k <= 4 ? sides2 : sides4)->addWidget(option);
        option_axis[size_t(k)] = option;
    }
    option_axis[1]->SetValue(true);
    chk_3point = ui::MakeCheckBox(client, "chk_3point", "3 point Moving Avrg");
    chk_3point->onClick([this] { chk_3point_Click(); });
    chk_grey = ui::MakeCheckBox(client, "chk_grey", "grey_back");
    chk_redcross = ui::MakeCheckBox(client, "chk_redcross", "red_cross");
    chk_grey->SetValue(1);
    chk_redcross->SetValue(1);
    cmd_process = ui::MakeButton(client, "cmd_process", kProcessCaption, [this] { cmd_process_Click(); });
    for (QWidget* w : std::initializer_list<QWidget*>{Label2, cmb_analysis, frame_2sides, frame_4sides, chk_3point,
                                                     chk_grey, chk_redcross, cmd_process})
        analysis->addWidget(w);
    analysis->addStretch();
    grid->addLayout(analysis, 2, 2);

    Label5 = ui::MakeLabel(client, "Label5",
                           "CI = A - B / (A + B) where A is spot location. CI positive=atractant, CI negative= repelent");
    Label5->setWordWrap(true);
    grid->addWidget(Label5, 3, 0, 1, 3);
    txt_status = ui::MakeStatusLine(client, "txt_status");
    grid->addWidget(txt_status, 4, 0, 1, 3);
    grid->setColumnStretch(1, 1);

    Timer1 = new ui::Timer(this);
    Timer1->setObjectName("Timer1");
    Timer1->SetEnabled(false);
    Timer1->SetInterval(500);
    Timer1->onTick([this] { Timer1_Timer(); });
}

std::string Frm_bmpexport::imageFolder() const
{
    return platform::ResolvePath(ImageFolder(session_.acquisition_folder, chk_3point->Value() == 1));
}

std::string Frm_bmpexport::frameFile(int frame) const
{
    return reports::InFolder(imageFolder(), FrameFileName(cmb_well->Text(), frame));
}

std::string Frm_bmpexport::chartFile() const
{
    std::array<bool, 6> ticked{};
    for (int k = 1; k <= 6; ++k) ticked[size_t(k - 1)] = option_axis[size_t(k)]->Value();
    const auto kind = ChosenKind(cmb_analysis->ListIndex(), ticked);
    if (!kind) return {};
    return reports::InFolder(imageFolder(), ChartFileName(IndexCode(*kind), cmb_well->Text()));
}

bool Frm_bmpexport::showFrame(int frame)
{
    const std::string file = frameFile(frame);
    return platform::FileExists(file) && wellpicture->LoadPicture(file);
}

void Frm_bmpexport::Form_Load()
{
    playback_active = false;
    processing = false;
    cmd_loop->SetCaption("Play");
    cmb_well->ShowText("A1");

    int last = 0;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(imageFolder(), ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() < 11 || name.compare(0, 3, "A1_") != 0 || name.compare(name.size() - 4, 4, ".bmp") != 0)
            continue;
        last = std::max(last, NumberIn(name.substr(name.size() - 8, 4)));
    }
    txt_frame->SetText(std::to_string(last));

    cmb_analysis->Clear();
    cmb_analysis->AddItem("2 Sides");
    cmb_analysis->AddItem("Quadrant");
    cmb_analysis->SetListIndex(0);
    cmd_process->SetCaption(kProcessCaption);
    cmb_well_Click();
    lbl_name->SetCaption(session_.acquisition_folder);
    lbl_name->Refresh();
}

void Frm_bmpexport::Timer1_Timer()
{
    Timer1->SetEnabled(false);
    cmb_well->Clear();
    if (const auto plate = PlateOf(txt_formatowell ? txt_formatowell->Text() : "")) {
        for (int well = 0; well < plate->wells; ++well) cmb_well->AddItem(WellName(well, plate->rows));
    }
    cmb_well->ShowText("A1");
    cmb_well->repaint();
}

void Frm_bmpexport::cmb_well_Click()
{
    Picture_progress->Cls();
    wellpicture->Cls();
    txt_cframe->SetText("1");
    std::string chart;
    if (showFrame(NumberIn(txt_cframe->Text()))) chart = chartFile();
    if (!chart.empty() && platform::FileExists(chart)) Picture_progress->LoadPicture(chart);
}

void Frm_bmpexport::cmb_analysis_Click()
{
    const int index = cmb_analysis->ListIndex();
    if (index != 0 && index != 1) return;
    frame_2sides->setVisible(index == 0);
    frame_4sides->setVisible(index == 1);
    option_axis[index == 0 ? 1 : 5]->SetValue(true);
}

void Frm_bmpexport::option_axis_Click(int)
{
    const std::string chart = chartFile();
    if (!chart.empty() && platform::FileExists(chart)) Picture_progress->LoadPicture(chart);
}

void Frm_bmpexport::chk_3point_Click()
{
    if (chk_3point->Value() == 1) ui::dialogs().messageBox(kThreePointAdvice);
}

void Frm_bmpexport::cmd_loop_Click()
{
    if (playback_active) {
        playback_active = false;
        return;
    }
    wellpicture->Cls();
    playback_active = true;
    cmd_loop->SetCaption("Stop");
    // Frame numbers have four digits: the playback goes no further than 9999.
    for (int i = 0; playback_active && i <= std::min(NumberIn(txt_frame->Text()), 9999); ++i) {
        txt_cframe->SetText(std::to_string(i));
        if (!showFrame(i)) continue;
        platform::DoEvents();
        platform::Sleep(100);
    }
    playback_active = false;
    cmd_loop->SetCaption("Play");
}

void Frm_bmpexport::cmd_mas_Click()
{
    const int shown = NumberIn(txt_cframe->Text());
    if (NumberIn(txt_frame->Text()) <= shown) return;
    wellpicture->Cls();
    txt_cframe->SetText(std::to_string(shown + 1));
    showFrame(shown + 1);
}

void Frm_bmpexport::cmd_menos_Click()
{
    const int shown = NumberIn(txt_cframe->Text());
    if (shown < 1) return;
    wellpicture->Cls();
    txt_cframe->SetText(std::to_string(shown - 1));
    showFrame(shown - 1);
}

void Frm_bmpexport::mn_export_rawbmp_Click()
{
    const std::string folder = platform::ResolvePath(session_.acquisition_folder);
    if (!platform::FileExists(reports::InFolder(folder, "lastread00.csv"))) return;
    const auto target = ExportRawFrames(folder);
    if (!target) {
        ui::dialogs().messageBox(kErrorFile);
        return;
    }
    ui::dialogs().messageBox(kExportDone);
    ui::OpenExported(this, *target + "/", {kRawSaved, kRawNotOpened}, [this](const std::string& text) { tell(text); });
}

void Frm_bmpexport::cmd_process_Click()
{
    if (processing) {
        processing = false;
        cmd_process->SetCaption(kProcessCaption);
        return;
    }
    processing = true;
    cmd_process->SetCaption(kStopCaption);
    txt_status->SetText("");
    Picture_progress->Cls();
    wellpicture->Cls();
    wellpicture->Refresh();

    ProcessSettings s;
    s.folder = session_.acquisition_folder;
    s.format = txt_formatowell->Text();
    s.three_point = chk_3point->Value() == 1;
    s.red_cross = chk_redcross->Value() == 1;
    s.grey = chk_grey->Value() == 1;
    std::array<bool, 6> ticked{};
    for (int k = 1; k <= 6; ++k) ticked[size_t(k - 1)] = option_axis[size_t(k)]->Value();
    s.kind = ChosenKind(cmb_analysis->ListIndex(), ticked);
    s.frame_width = wellpicture->PixelWidth();
    s.frame_height = wellpicture->PixelHeight();
    s.chart_width = Picture_progress->PixelWidth();
    s.chart_height = Picture_progress->PixelHeight();
    s.extension = report_choice.extension ? report_choice.extension() : ".csv";
    s.divider = report_choice.divider ? report_choice.divider() : ",";
    s.decimal = platform::DecimalSeparator();
    s.charset = platform::UserCharset();
    s.now = platform::WallNow();

    ProcessView view;
    view.running = [this] { return processing; };
    view.frames = [this](int last) {
        txt_frame->SetText(std::to_string(last));
        txt_cframe->SetText("0");
    };
    view.well = [this](const std::string& well) {
        cmb_well->ShowText(well);
        cmb_well->repaint();
    };
    view.frame_done = [this](const QImage& frame, const QImage& chart, int next) {
        ShowImage(Picture_progress, chart);
        ShowImage(wellpicture, frame);
        platform::DoEvents();
        txt_cframe->SetText(std::to_string(next));
    };
    view.message = [](const std::string& text) { ui::dialogs().messageBox(text); };
    // What the reading had to say stays beside the report's path once the report is written.
    std::string readingNote;
    view.status = [this, &readingNote](const std::string& text) {
        readingNote = text;
        tell(text);
    };

    const ProcessResult result = ProcessAcquisition(s, view);
    if (result.end == ProcessResult::End::Done && processing) {
        platform::DoEvents();
        ui::OpenExported(this, result.report, {reports::kReportWritten, reports::kReportNotOpened},
                         [this](const std::string& text) { tell(text); }, readingNote);
        ui::dialogs().messageBox(kProcessDone);
    }
    processing = false;
    cmd_process->SetCaption(kProcessCaption);
}

void Frm_bmpexport::tell(const std::string& text)
{
    txt_status->SetText(text);
    txt_status->Refresh();
}

void Frm_bmpexport::closeEvent(QCloseEvent* event)
{
    // A loop running inside the window's events stops at its next step; the window itself stays
    // for the next hand-over, which loads it again.
    playback_active = false;
    processing = false;
    QMainWindow::closeEvent(event);
}

Frm_bmpexport* OpenChemotaxisWindow(QWidget* owner, link::Session& session, const std::string& format,
                                    ReportChoice report)
{
    QPointer<Frm_bmpexport>& window = TheWindow();
    const bool load = !window || !window->isVisible();
    if (!window) window = new Frm_bmpexport(session, {}, owner);
    window->report_choice = std::move(report);
    if (load) window->Form_Load();
    window->txt_formatowell->SetText(format);
    window->show();
    window->Timer1->SetEnabled(true);
    return window;
}

Frm_bmpexport* ChemotaxisWindow() { return TheWindow(); }

}  // namespace tirmo::chemotaxis
