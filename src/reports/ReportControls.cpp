#include "reports/ReportControls.h"

#include <QGridLayout>
#include <QGroupBox>

#include "link/Session.h"
#include "platform/Clock.h"
#include "platform/Locale.h"
#include "platform/ProgramFolder.h"
#include "project/BlankFile.h"
#include "project/InternalReference.h"
#include "reports/AcquisitionFiles.h"
#include "reports/JointReexport.h"
#include "reports/ReportWriter.h"
#include "reports/RunFileLoader.h"
#include "reports/SavedAcquisitions.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Make.h"
#include "ui/OpenExported.h"
#include "ui/Twips.h"

namespace tirmo::reports {

namespace {

constexpr const char* kBinItems[] = {kScanTime, "15", "30", "60", "120", "240", "480", "1440"};
constexpr const char* kOutputCaptions[] = {"Rows", "Array", "MapPlot", ".bmp"};

ui::OptionButton* MakeOption(QWidget* parent, int index)
{
    auto* option = new ui::OptionButton(parent);
    option->setObjectName(QString("Option_output_%1").arg(index));
    option->SetCaption(kOutputCaptions[index]);
    return option;
}

}  // namespace

ReportControls::ReportControls(link::Console& console, QWidget* client, ReportNeeds needs)
    : console_(console), needs_(std::move(needs))
{
    Frm_report = new QGroupBox(client);
    Frm_report->setObjectName("Frm_report");
    auto* grid = new QGridLayout(Frm_report);
    label_binsize = ui::MakeLabel(Frm_report, "label_binsize", "BinSize");
    Combo_reportbin = ui::MakeComboBox(Frm_report, "Combo_reportbin");
    Combo_reportbin->setEditable(true);  // another number of minutes may be typed
    lblintref = ui::MakeLabel(Frm_report, "lblintref", "Internal Reference:");
    combo_intref = ui::MakeComboBox(Frm_report, "combo_intref");
    Combo_reportdivider = ui::MakeComboBox(Frm_report, "Combo_reportdivider");
    Combo_reportdivider->setEditable(true);
    Combo_reportdivider->setToolTip("column divider");
    Combo_reportfile = ui::MakeComboBox(Frm_report, "Combo_reportfile");
    Combo_reportfile->setToolTip("report file type");
    chk_blank = ui::MakeCheckBox(Frm_report, "chk_blank", "Apply_Blank");
    chk_blank->setToolTip("apply blank correction if available");
    chk_noise = ui::MakeCheckBox(Frm_report, "chk_noise", "NoiseFilter");
    chk_noise->setToolTip("apply filter to outlier activity values (10x)");
    chk_movingavrg = ui::MakeCheckBox(Frm_report, "chk_movingavrg", "3point_movingavrg");
    for (int i = 0; i < 4; ++i) Option_output[size_t(i)] = MakeOption(Frm_report, i);
    Option_output[0]->SetValue(true);
    txt_welltype = ui::MakeTextBox(Frm_report, "txt_welltype", "w96f");
    cmd_generatereport = ui::MakeButton(Frm_report, "cmd_generatereport", "Generate",
                                        [this] { cmd_generatereport_Click(); });
    Cmd_closereport = ui::MakeButton(Frm_report, "Cmd_closereport", "Close", [this] { Cmd_closereport_Click(); });
    chk_blank->onClick([this] { chk_blank_Click(); });

    grid->addWidget(label_binsize, 0, 0);
    grid->addWidget(Combo_reportbin, 0, 1);
    grid->addWidget(Combo_reportdivider, 0, 2);
    grid->addWidget(Combo_reportfile, 0, 3);
    grid->addWidget(lblintref, 1, 0);
    grid->addWidget(combo_intref, 1, 1);
    grid->addWidget(txt_welltype, 1, 3);
    grid->addWidget(chk_blank, 2, 0);
    grid->addWidget(chk_noise, 2, 1);
    grid->addWidget(chk_movingavrg, 2, 2, 1, 2);
    for (int i = 0; i < 4; ++i) grid->addWidget(Option_output[size_t(i)], 3, i);
    grid->addWidget(cmd_generatereport, 4, 0, 1, 2);
    grid->addWidget(Cmd_closereport, 4, 2, 1, 2);
    // Ends above the real-time bar under the plate map, at the size the window opens with.
    ui::setGeometryTwips(Frm_report, 0, 0, 7500, 5700);
    Frm_report->hide();

}

// ---------------------------------------------------------------- the panel

void ReportControls::fillBinList()
{
    Combo_reportbin->Clear();
    for (const char* item : kBinItems) Combo_reportbin->AddItem(item);
    Combo_reportbin->SetText(kScanTime);
}

void ReportControls::FillReportLists()
{
    fillBinList();
    combo_intref->Clear();
    for (const char* item : {"No", "Apply", "Update"}) combo_intref->AddItem(item);
    combo_intref->SetListIndex(1);
    Combo_reportfile->Clear();
    for (const char* item : {".csv", ".txt"}) Combo_reportfile->AddItem(item);
    Combo_reportfile->SetListIndex(0);
    Combo_reportdivider->Clear();
    for (const char* item : {",", ";"}) Combo_reportdivider->AddItem(item);
    Combo_reportdivider->SetText(platform::ListSeparator());
}

void ReportControls::PrepareFor(const std::string& format)
{
    txt_welltype->SetText(format);
    txt_welltype->Refresh();
    joint_mode = false;
    // A joint report leaves the options that do not apply to it disabled; every ordinary
    // report may use them again.
    for (ui::OptionButton* option : Option_output) option->setEnabled(true);
    combo_intref->setEnabled(true);
    chk_blank->setEnabled(true);
    fillBinList();
    label_binsize->SetCaption("Binsize");
    cmd_generatereport->SetCaption("Generate");
    combo_intref->SetListIndex(1);
}

void ReportControls::openPanel(const std::string& format, bool copyGroups)
{
    if (copyGroups && needs_.shared_groups && needs_.report_groups) {
        const plate::WellGroups& shared = needs_.shared_groups();
        plate::WellGroups& report = needs_.report_groups();
        for (size_t i = 0; i < size_t(plate::kGroupedWells); ++i) {
            report.well_group[i] = shared.well_group[i];
            report.group_names[i] = shared.group_names[i];
        }
    }
    PrepareFor(format);
    Frm_report->setVisible(true);
    Frm_report->raise();
}

void ReportControls::EnterJointMode(const std::string& fileName)
{
    joint_file_name = fileName;
    joint_mode = true;
    Option_output[0]->SetValue(true);
    for (size_t i = 1; i < Option_output.size(); ++i) Option_output[i]->setEnabled(false);
    combo_intref->setEnabled(false);
    combo_intref->SetListIndex(1);
    chk_blank->setEnabled(false);
    Combo_reportbin->Clear();
    Combo_reportbin->AddItem(kScanTime);
    Combo_reportbin->SetText(kScanTime);
    label_binsize->SetCaption("Joining time:");
    cmd_generatereport->SetCaption("Generate Joint Report");
    Frm_report->setVisible(true);
    Frm_report->raise();
}

void ReportControls::cmdreport_Click() { openPanel(console_.session().run_settings.PlateFormat(), true); }

void ReportControls::Cmd_closereport_Click() { Frm_report->setVisible(false); }

AcquisitionData ReportControls::DataSet(std::string* refusal) const
{
    const link::Session& s = console_.session();
    AcquisitionData d;
    // The run recorded last is read from its files like a recording loaded from them: the
    // files are its record, and a lab gets one report of one run, however it was opened.
    if (const AcquisitionData* own = needs_.window_data ? needs_.window_data() : nullptr) {
        d = *own;
    } else {
        LoadedAcquisition run = LoadAcquisition(s.acquisition_folder, console_.session().run_settings.PlateFormat());
        if (refusal) *refusal = run.refusal;
        d = std::move(run.data);
    }
    d.plate_format = txt_welltype->Text();
    if (needs_.report_groups) d.groups = needs_.report_groups();
    return d;
}

void ReportControls::cmd_generatereport_Click()
{
    link::Session& s = console_.session();
    // The last report's "Report: " line would name it as this click's outcome.
    console_.SetStatus("");
    ReportOptions o;
    o.divider = Combo_reportdivider->Text();
    o.extension = Combo_reportfile->Text() == ".csv" ? ".csv" : ".txt";
    o.bin_text = Combo_reportbin->Text();
    const int intref = combo_intref->ListIndex();
    o.intref = intref == 2 ? InternalReference::Update : intref == 1 ? InternalReference::Apply : InternalReference::No;
    o.blank = chk_blank->Value() == 1;
    o.noise = chk_noise->Value() == 1;
    for (int i = 0; i < 4; ++i)
        if (Option_output[size_t(i)]->Value()) o.layout = ReportLayout(i);
    o.decimal = platform::DecimalSeparator();
    o.charset = platform::UserCharset();

    ReportEnvironment env;
    env.now = platform::WallNow();
    env.serial_number = s.serial_number;
    env.message = [](const std::string& text) { ui::dialogs().messageBox(text); };
    env.compute_internal_reference = [this](const std::string& folder, const std::string& format, int serial)
        -> std::optional<std::array<double, kCorrectionEntries>> {
        std::string target = folder;
        project::ReferenceFactors factors = project::NeutralFactors();
        project::CorrectionNotices notices;
        notices.message = [](const std::string& text) { ui::dialogs().messageBox(text); };
        notices.status = [this](const std::string& text) { console_.SetStatus(text); };
        project::ComputeInternalReference(target, format, serial, true, factors, notices);
        std::array<double, kCorrectionEntries> out;
        std::copy(factors.begin(), factors.end(), out.begin());
        return out;
    };

    std::string refusal;
    const AcquisitionData data = joint_mode ? AcquisitionData{} : DataSet(&refusal);
    if (!refusal.empty()) {
        // No report is made of a run whose files were not read; the panel stays.
        ui::dialogs().messageBox(refusal);
        return;
    }
    if (!joint_mode && data.scans() == 0) {
        ui::dialogs().messageBox(kNoScans + s.acquisition_folder);
        return;
    }
    const ReportOutcome outcome = joint_mode ? ReexportJoint(joint_file_name, s.acquisition_folder, o, env)
                                             : GenerateReport(data, s.acquisition_folder, o, env);
    if (!outcome.folder.empty()) s.acquisition_folder = outcome.folder;
    if (!outcome.bin_text.empty()) Combo_reportbin->SetText(outcome.bin_text);
    switch (outcome.result) {
    case ReportOutcome::Result::Written:
        platform::DoEvents();
        // Where the report is stays in sight, also when no program could show it, with a default
        // the report took for a file that gave nothing beside it.
        ui::OpenExported(Frm_report, outcome.path, {kReportWritten, kReportNotOpened},
                         [this](const std::string& text) { console_.SetStatus(text); }, outcome.note);
        Frm_report->setVisible(false);
        break;
    case ReportOutcome::Result::Nothing:
        Frm_report->setVisible(false);
        break;
    case ReportOutcome::Result::MapPlot:
        Frm_report->setVisible(false);
        if (needs_.open_map_plot) needs_.open_map_plot(txt_welltype->Text());
        break;
    case ReportOutcome::Result::Refused:
    case ReportOutcome::Result::Failed:
        break;
    }
}

void ReportControls::chk_blank_Click()
{
    if (chk_blank->Value() != 1) return;
    const std::string folder = console_.session().acquisition_folder;
    const std::string date = ReadCurrentActivityDate(folder);
    const std::string format = txt_welltype->Text();
    if (platform::FileExists(platform::ResolvePath(InFolder(folder, project::BlankFileName(format))))) {
        ui::dialogs().messageBox("Using blank file available on " + date, ui::MsgButtons::OkCancel, kBlankTitle);
        return;
    }
    ui::dialogs().messageBox("Not blank for this experiment dated " + date);
    chk_blank->SetValue(0);
}

}  // namespace tirmo::reports
