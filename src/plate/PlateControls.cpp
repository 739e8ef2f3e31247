// The main window's plate object: the plate format and its tables (the plate layout file, the band files and
// the well labels of the format in use), the band editor of the well-calibration panel and the
// plate-format change.
#include "plate/PlateControls.h"

#include <QAction>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>

#include "plate/BandEditor.h"
#include "plate/BandFiles.h"
#include "plate/PlateFormat.h"
#include "plate/PlateSpecFile.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/FitCaption.h"
#include "ui/Make.h"
#include "ui/Timer.h"

namespace tirmo::plate {
namespace {

constexpr int kRedrawDelayMs = 250;  // the camera view is redrawn this long after the last press
constexpr int kFirstRedrawDelayMs = 500;  // the first time after the window opened
constexpr int kEnterKey = 13;
// A step button ("-", "+") beside a band box: as wide as its sign needs, so the boxes keep the
// room for their numbers.
constexpr int kStepButtonWidth = 18;

void put(ui::TextBox* box, const std::string& value)
{
    box->SetText(value);
    box->Refresh();
}

bool isStart(plate::BandButton b) { return b == plate::BandButton::StartDown || b == plate::BandButton::StartUp; }

// One press of a band button: the pending redraw is cancelled, the edge moved and shown, the
// redraw started again, and the well areas refreshed. Without a selected band nothing moves.
template <int N>
void pressBandButton(PlateControls& w, plate::Bands<N>& bands, ui::ComboBox* selector, ui::TextBox* startBox,
                     ui::TextBox* endBox, long count, plate::BandButton button)
{
    w.Timer5->SetEnabled(false);
    const int band = selector->ListIndex();
    if (band >= 0) {
        const auto value = plate::MoveBandEdge(bands, w.needs().camera_index(), band, button, count - 1);
        if (value) {
            put(isStart(button) ? startBox : endBox, std::to_string(*value));
            w.Timer5->SetEnabled(true);
        }
    }
    w.ShowWellAreaPercent();
}

void pressColumnButton(PlateControls& w, plate::BandButton button)
{
    const PlateNeeds& n = w.needs();
    pressBandButton(w, w.column_bands, n.cmb_column, n.txt_column_start, n.txt_column_end, w.FrameLines(), button);
}

void pressRowButton(PlateControls& w, plate::BandButton button)
{
    const PlateNeeds& n = w.needs();
    pressBandButton(w, w.row_bands, n.cmb_row, n.txt_row_start, n.txt_row_end, w.FramePixels(), button);
}

// Enter and leaving the column-start box apply the typed start, as the box's own key and focus
// events would; Enter still reaches the box. Only the operator leaving the box (by mouse, Tab or
// a shortcut) counts: focus lost to another window or a pop-up menu is not, nor focus cleared by
// code, which is also what the box gets while the window is being destroyed.
class ColumnStartEvents : public QObject {
public:
    ColumnStartEvents(PlateControls& window, QObject* parent) : QObject(parent), window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) window_.txt_column_start_KeyPress(kEnterKey);
        } else if (event->type() == QEvent::FocusOut) {
            switch (static_cast<QFocusEvent*>(event)->reason()) {
            case Qt::MouseFocusReason:
            case Qt::TabFocusReason:
            case Qt::BacktabFocusReason:
            case Qt::ShortcutFocusReason:
                window_.txt_column_start_LostFocus();
                break;
            default:
                break;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    PlateControls& window_;
};

// The stored start of the selected column band, shown again in the box; without a selected
// band there is none to show and the box is left as it is.
void showStoredColumnStart(PlateControls& w)
{
    const int band = w.needs().cmb_column->ListIndex();
    if (band < 0) return;
    put(w.needs().txt_column_start, std::to_string(w.column_bands.startOf(w.needs().camera_index(), band)));
}

}  // namespace

PlateControls::PlateControls(link::Console& console, PlateState& plate, QWidget* client, PlateNeeds needs)
    : state(plate), current_format(plate.current_format), well_table(plate.well_table), column_bands(plate.column_bands),
      row_bands(plate.row_bands), column_labels(plate.column_labels), row_labels(plate.row_labels),
      bands_format(plate.bands_format), groups(plate.groups), console_(console), needs_(std::move(needs))
{
    plate_map = std::make_unique<plate::PlateMap>(
        *needs_.map_picture, plate::PlateMapTables{plate_rows, plate_columns, console_.session().run_settings.CameraMask(), groups, well_table,
                                                   column_bands, row_bands, column_labels, row_labels});
    colour_table = plate_map->colour_table;
    needs_.cmb_well->onClick([this] { cmb_well_Click(); });
    buildBandEditor();

    Timer5 = new ui::Timer(client);
    Timer5->SetEnabled(false);
    Timer5->SetInterval(kFirstRedrawDelayMs);
    Timer5->onTick([this] { Timer5_Timer(); });

    buildGroupControls(client);
}

PlateControls::~PlateControls() = default;

void PlateControls::buildBandEditor()
{
    // The band editor, beside the camera buttons and band selectors of the calibration panel.
    QWidget* panel = needs_.calibration_panel;
    auto* grid = static_cast<QGridLayout*>(panel->layout());
    cmb_formatplate = ui::MakeComboBox(panel, "cmb_formatplate");
    cmb_formatplate->AddItem("w6");
    cmb_formatplate->AddItem("w24");
    cmb_formatplate->SetText("w6");
    cmb_formatplate->onClick([this] { cmb_formatplate_Click(); });
    col_start_menos = ui::MakeButton(panel, "col_start_menos", "-", [this] { col_start_menos_Click(); });
    col_start_mas = ui::MakeButton(panel, "col_start_mas", "+", [this] { col_start_mas_Click(); });
    col_end_menos = ui::MakeButton(panel, "col_end_menos", "-", [this] { col_end_menos_Click(); });
    col_end_mas = ui::MakeButton(panel, "col_end_mas", "+", [this] { col_end_mas_Click(); });
    row_start_menos = ui::MakeButton(panel, "row_start_menos", "-", [this] { row_start_menos_Click(); });
    row_start_mas = ui::MakeButton(panel, "row_start_mas", "+", [this] { row_start_mas_Click(); });
    row_end_menos = ui::MakeButton(panel, "row_end_menos", "-", [this] { row_end_menos_Click(); });
    row_end_mas = ui::MakeButton(panel, "row_end_mas", "+", [this] { row_end_mas_Click(); });
    cmd_grabarconfig =
        ui::MakeButton(panel, "cmd_grabarconfig", "Save->Next Area", [this] { cmd_grabarconfig_Click(); });
    txt_well_percent = ui::MakeTextArea(panel, "txt_well_percent");
    column_start_events_ = new ColumnStartEvents(*this, needs_.txt_column_start);
    needs_.txt_column_start->installEventFilter(column_start_events_.get());
    txt_nrow = ui::MakeTextBox(panel, "txt_nrow");
    txt_ncol = ui::MakeTextBox(panel, "txt_ncol");
    // The step buttons beside the band boxes, then the plate format and the save button.
    for (ui::CommandButton* step : {col_start_menos, col_start_mas, col_end_menos, col_end_mas, row_start_menos,
                                    row_start_mas, row_end_menos, row_end_mas})
        step->setFixedWidth(kStepButtonWidth);
    for (QWidget* w : {static_cast<QWidget*>(cmb_formatplate), static_cast<QWidget*>(txt_nrow), static_cast<QWidget*>(txt_ncol),
                       static_cast<QWidget*>(cmd_grabarconfig)})
        w->setMinimumWidth(1);
    const int steps = kColumnListRow + 1;
    grid->addWidget(col_start_menos, steps, 0);
    grid->addWidget(col_start_mas, steps, 2);
    grid->addWidget(col_end_menos, steps, 3);
    grid->addWidget(col_end_mas, steps, 5);
    grid->addWidget(row_start_menos, kRowListRow + 1, 0);
    grid->addWidget(row_start_mas, kRowListRow + 1, 2);
    grid->addWidget(row_end_menos, kRowListRow + 1, 3);
    grid->addWidget(row_end_mas, kRowListRow + 1, 5);
    grid->addWidget(new QLabel("Plate", panel), kPlateFormatRow, 0, 1, 2);
    grid->addWidget(cmb_formatplate, kPlateFormatRow, 2, 1, 4);
    grid->addWidget(txt_nrow, kPlateFormatRow + 1, 0, 1, 3);
    grid->addWidget(txt_ncol, kPlateFormatRow + 1, 3, 1, 3);
    grid->addWidget(cmd_grabarconfig, kPlateFormatRow + 2, 0, 1, kCalibrationColumns);
    grid->setRowStretch(kPlateFormatRow + 3, 1);  // the rows keep to the top of the column
    // The well-area list shows each well's line whole, in smaller type where the column is narrow.
    ui::KeepLinesFitted(txt_well_percent);
    // txt_well_percent is placed by the window layout, beside the grid.
}

void PlateControls::SetCurrentFormat(const std::string& format)
{
    current_format = format;
    const plate::PlateSize size = plate::FormatSize(format);
    plate_rows = size.rows;
    plate_columns = size.columns;
}

long PlateControls::FrameLines() const
{
    return platform::BoxWhole(console_.session().camera.Text(link::CameraSettings::Box::Lines));
}

long PlateControls::FramePixels() const
{
    return platform::BoxWhole(console_.session().camera.Text(link::CameraSettings::Box::Pix));
}

void PlateControls::ReadPlateSpec(const std::string& format) { plate::ReadPlateSpec(state, format, console_); }

void PlateControls::ReadFormatFiles(const std::string& format) { plate::ReadFormatFiles(state, format, console_); }

void PlateControls::WriteFormatFiles(const std::string& format)
{
    if (!plate::WriteFormatFiles(format, console_.session().serial_number, column_bands, row_bands))
        SetStatus("Could not write the band files of " + format + " in " + plate::BandFolder(console_.session().serial_number));
}

void PlateControls::WriteMissingSpecFiles()
{
    struct Default {
        const char* format;
        bool (*writer)(const std::string&);
    };
    for (const Default& d : {Default{"p35", plate::WriteP35SpecFile}, Default{"w6", plate::WriteW6SpecFile},
                             Default{"w24", plate::WriteW24SpecFile}}) {
        if (platform::FileExists(plate::SpecFilePath("\\config", d.format))) continue;
        if (!d.writer("\\config")) SetStatus(std::string("Could not write config\\") + d.format + "_spc.dat");
    }
}

// ---------------------------------------------------------------- band editor

void PlateControls::col_start_menos_Click() { pressColumnButton(*this, plate::BandButton::StartDown); }
void PlateControls::col_start_mas_Click() { pressColumnButton(*this, plate::BandButton::StartUp); }
void PlateControls::col_end_menos_Click() { pressColumnButton(*this, plate::BandButton::EndDown); }
void PlateControls::col_end_mas_Click() { pressColumnButton(*this, plate::BandButton::EndUp); }
void PlateControls::row_start_menos_Click() { pressRowButton(*this, plate::BandButton::StartDown); }
void PlateControls::row_start_mas_Click() { pressRowButton(*this, plate::BandButton::StartUp); }
void PlateControls::row_end_menos_Click() { pressRowButton(*this, plate::BandButton::EndDown); }
void PlateControls::row_end_mas_Click() { pressRowButton(*this, plate::BandButton::EndUp); }

void PlateControls::txt_column_start_KeyPress(int key)
{
    if (key != kEnterKey) return;
    Timer5->SetEnabled(false);
    const auto stored = plate::SetTypedColumnStart(column_bands, needs_.camera_index(), needs_.cmb_column->ListIndex(),
                                                   platform::Val(needs_.txt_column_start->Text()),
                                                   platform::Val(console_.session().camera.Text(link::CameraSettings::Box::Lines)));
    if (stored)
        Timer5->SetEnabled(true);
    else
        showStoredColumnStart(*this);
}

void PlateControls::txt_column_start_LostFocus()
{
    if (needs_.txt_column_start->Text().empty())
        showStoredColumnStart(*this);
    else
        txt_column_start_KeyPress(kEnterKey);
}

void PlateControls::Timer5_Timer()
{
    Timer5->SetInterval(kRedrawDelayMs);
    needs_.redraw_camera_view();
    Timer5->SetEnabled(false);
}

void PlateControls::ShowWellAreaPercent()
{
    txt_well_percent->SetText(plate::WellAreaPercentText(cmb_formatplate->Text(), column_bands, row_bands));
    txt_well_percent->Refresh();
}

void PlateControls::cmd_grabarconfig_Click()
{
    // While a set-up yields, a save would write the bands mid-sequence and step to a camera
    // whose own set-up is then refused. The user is told, then and when the set-up ends: the
    // set-up reads the band files again, so the edit just made is not kept.
    if (needs_.setup_running()) {
        const std::string notice = "Save->Next Area not done while a camera set-up runs: the bands were not saved";
        needs_.set_setup_notice(notice);
        SetStatus(notice);
        return;
    }
    current_format = cmb_formatplate->Text();
    // A project format change leaves the other format's bands in the tables until the next
    // set-up reads the new ones; saved now they would overwrite the new format's calibration.
    if (bands_format == current_format)
        WriteFormatFiles(current_format);
    else
        SetStatus("Band files of " + current_format + " not written: the band editor holds the bands of " +
                  (bands_format.empty() ? std::string("no format") : bands_format));
    const int next = needs_.camera_index() < 5 ? needs_.camera_index() + 1 : 0;
    needs_.set_camera_index(next);
    needs_.camera_setup(next);
}

// ---------------------------------------------------------------- plate format

void PlateControls::cmb_formatplate_Click()
{
    const std::string chosen = cmb_formatplate->Text();
    if (chosen == current_format) return;
    if (ui::dialogs().messageBox("Change Plate" + chosen + "?", ui::MsgButtons::YesNo) != ui::MsgResult::Yes) {
        // The editor goes on with the format it has: left showing the refused code, the next
        // save would write this format's bands into the refused format's files.
        cmb_formatplate->SetText(current_format);
        return;
    }
    current_format = chosen;
    needs_.cmb_well->SetText(current_format);
    needs_.cmb_well->repaint();
    DrawPlateLayout(current_format);
    // The block menu follows the plate size: left as it was it would offer the old format's
    // blocks, which need not divide the new plate.
    BuildGroupOptionMenu();
    ReadPlateSpec(current_format);
    needs_.camera_setup(0);
    ShowWellAreaPercent();
}

void PlateControls::cmb_well_Click()
{
    const std::string chosen = needs_.cmb_well->Text();
    if (chosen == current_format) return;
    if (ui::dialogs().messageBox("Change Plate to " + chosen + "?", ui::MsgButtons::YesNo) != ui::MsgResult::Yes) {
        for (int i = 0; i < needs_.cmb_well->ListCount(); ++i) {
            if (needs_.cmb_well->List(i) == current_format) {
                needs_.cmb_well->SetListIndex(i);
                return;
            }
        }
        needs_.cmb_well->AddItem(current_format);
        needs_.cmb_well->SetListIndex(needs_.cmb_well->ListCount() - 1);
        return;
    }
    current_format = chosen;
    DrawPlateLayout(current_format);
    ReadPlateSpec(current_format);
    cmb_formatplate->SetText(current_format);
    ClearGroups();
    BuildGroupOptionMenu();
    needs_.show_blank_of(current_format);
}

void PlateControls::cam_disabled_Click(int Index)
{
    if (Index < 0 || Index > 5) return;
    QAction* entry = cam_disabled[size_t(Index)];
    const bool takeOut = !entry->isChecked();
    entry->setChecked(takeOut);
    console_.session().run_settings.SetCameraInUse(Index, !takeOut);
    for (int well : plate::FixedCameraWells(Index, runFormat())) DrawWell(well);
}

}  // namespace tirmo::plate
