// The plate object's map on the camera's picture (Picact) and its well groups: the group list, naming, the block
// menu, clearing, chgroup.dat, and grouping wells by dragging over the map.
#include "plate/PlateControls.h"

#include <QAction>
#include <QCursor>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>

#include <algorithm>
#include <cmath>

#include "plate/PlateSelection.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Make.h"
#include "ui/PictureBox.h"
#include "ui/SimpleComboBox.h"

namespace tirmo::plate {
namespace {

constexpr int kEnterKey = 13;

// Double-click (on the line or on the list) and Enter in the line name the group, as the list's
// own events would.
class GroupListEvents : public QObject {
public:
    GroupListEvents(PlateControls& window, QObject* parent) : QObject(parent), window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonDblClick) {
            window_.combogrup_DblClick();
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                window_.combogrup_KeyPress(kEnterKey);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    PlateControls& window_;
};

// "reports\<folder>\chgroup.dat", as the status line names the file.
void reportLoad(PlateControls& w, const std::string& folder, const plate::WellGroups::LoadResult& result)
{
    if (!result.error.empty()) {
        w.SetStatus(ShownGroupFile(folder) + " " + result.error);
        return;
    }
    if (result.skippedLines.empty()) return;
    std::string lines;
    for (int n : result.skippedLines) lines += (lines.empty() ? "" : ",") + std::to_string(n);
    w.SetStatus(ShownGroupFile(folder) + ": " + (result.skippedLines.size() == 1 ? "line " : "lines ") + lines +
                " skipped (not a well and group of the tables)");
}

}  // namespace

void PlateControls::buildGroupControls(QWidget* client)
{
    // The tree places these in the project column (Frame_project) inside frame_group.
    frame_group = new QWidget(client);
    frame_group->setObjectName("frame_group");
    ui::MakeLabel(frame_group, "Label_groupsname", "Group Names:");
    combogrup = ui::MakeSimpleComboBox(frame_group, "combogrup");
    group_list_events_ = new GroupListEvents(*this, combogrup);
    combogrup->editPart()->installEventFilter(group_list_events_.get());
    combogrup->listPart()->viewport()->installEventFilter(group_list_events_.get());
    Cmd_clear = ui::MakeButton(frame_group, "Cmd_clear", "CLEAR LIST", [this] { Cmd_clear_Click(); });
    cmd_goset = ui::MakeButton(frame_group, "cmd_goset", "AUTO-ARRANGE", [this] { cmd_goset_Click(); });
    frame_group->resize(frame_group->sizeHint());
    frame_group->setVisible(true);

    mngroup = new QMenu(client);
    mngroup->setObjectName("mngroup");
    for (int i = 0; i < int(mnopciongrup.size()); ++i) {
        QAction* item = mngroup->addAction(QString());
        item->setObjectName(QString("mnopciongrup_%1").arg(i));
        item->setCheckable(true);
        item->setVisible(false);
        QObject::connect(item, &QAction::triggered, mngroup, [this, i] { mnopciongrup_Click(i); });
        mnopciongrup[size_t(i)] = item;
    }

    needs_.menu_view->addSeparator();
    static const char* const kCaptions[] = {"DISABLE CAM0 (A1)", "DISABLE CAM1 (B1)", "DISABLE CAM2 (A2)",
                                            "DISABLE CAM3 (B2)", "DISABLE CAM4 (A3)", "DISABLE CAM5 (B3)"};
    for (int i = 0; i < int(cam_disabled.size()); ++i) {
        QAction* entry = needs_.menu_view->addAction(kCaptions[i]);
        entry->setObjectName(QString("cam_disabled_%1").arg(i));
        entry->setCheckable(true);
        // The handler sets the tick itself, from the tick the entry had before the click.
        QObject::connect(entry, &QAction::triggered, entry, [this, entry, i](bool checked) {
            entry->setChecked(!checked);
            cam_disabled_Click(i);
        });
        cam_disabled[size_t(i)] = entry;
    }

    needs_.map_picture->onMouseDown([this](int button, int shift, double x, double y) { Picact_MouseDown(button, shift, x, y); });
    needs_.map_picture->onMouseUp([this](int button, int shift, double x, double y) { Picact_MouseUp(button, shift, x, y); });
}

// ---------------------------------------------------------------- plate map

void PlateControls::DrawPlateLayout(const std::string& format)
{
    plate_map->DrawPlateLayout(format, runFormat());
    txt_ncol->SetText(std::to_string(plate_columns));
    txt_ncol->Refresh();
    txt_nrow->SetText(std::to_string(plate_rows));
    txt_nrow->Refresh();
}

void PlateControls::DrawDisabledWells(int well) { plate_map->DrawDisabledWells(well, runFormat()); }

void PlateControls::DrawWell(int well) { plate_map->DrawWell(well, cmb_formatplate->Text()); }

void PlateControls::RedrawAllWells() { plate_map->RedrawAllWells(cmb_formatplate->Text()); }

void PlateControls::DrawPlateWells(int camera, int window) { plate_map->DrawPlateWells(camera, window, runFormat()); }

void PlateControls::DrawPlateActivity(double minutes, int camera, int window, int mode)
{
    plate::WindowActivity run;
    run.minutes = minutes;
    needs_.fill_activity(run, camera, window);
    plate_map->DrawPlateActivity(run, camera, window, mode, runFormat(), cmb_formatplate->Text());
}

void PlateControls::BuildColorScale()
{
    colour_count = plate::kColourCount;
    colour_table = plate::BuildColorScale(colour_count);
    plate_map->colour_count = colour_count;
    plate_map->colour_table = colour_table;
}

void PlateControls::ResetPlatePicture()
{
    plate_map->ResetPlatePicture(FramePixels(), FrameLines());
}

void PlateControls::DrawActivityChart(int camera, int window) { plate_map->DrawActivityChart(*needs_.chart_picture, camera, window); }

// ---------------------------------------------------------------- well groups

void PlateControls::LoadWellGroups(const std::string& folder)
{
    reportLoad(*this, folder, groups.Load(plate::GroupFilePath(folder)));
}

void PlateControls::ReadWellGroups(const std::string& folder)
{
    reportLoad(*this, folder, report_groups.Load(plate::GroupFilePath(folder)));
}

bool PlateControls::SaveWellGroups(const std::string& folder)
{
    return plate::SaveWellGroups(groups, folder, console_);
}

void PlateControls::BuildGroupList(int group)
{
    const std::vector<std::string> items = groups.BuildList();
    combogrup->Clear();
    for (const std::string& item : items) combogrup->AddItem(item);
    int chosen = 0;
    for (int i = 0; i < combogrup->ListCount(); ++i) {
        if (plate::WellGroups::ItemGroup(combogrup->List(i)) == group) {
            chosen = i;
            break;
        }
    }
    combogrup->SetListIndex(chosen);
}

void PlateControls::BuildGroupOptionMenu()
{
    block_options.fill("");
    const auto options = plate::WellGroups::BlockOptions(plate_rows, plate_columns);
    std::copy(options.begin(), options.end(), block_options.begin());
    for (size_t i = 0; i < mnopciongrup.size(); ++i) {
        mnopciongrup[i]->setVisible(false);
        if (block_options[i].empty()) continue;
        mnopciongrup[i]->setText(QString::fromStdString(block_options[i]));
        mnopciongrup[i]->setVisible(true);
    }
}

bool PlateControls::GroupWellsInBlocks(const std::string& caption)
{
    if (!groups.GroupInBlocks(caption, plate_rows, plate_columns)) {
        // A block that does not tile the plate would wrap from one column into the next.
        SetStatus("Blocks of " + caption.substr(0, 5) + " do not divide the " + std::to_string(plate_rows) + " x " +
                  std::to_string(plate_columns) + " plate: the groups are left as they were");
        return false;
    }
    BuildGroupList(0);
    RedrawAllWells();
    return true;
}

void PlateControls::mnopciongrup_Click(int index)
{
    if (index < 0 || index >= int(mnopciongrup.size())) return;
    QAction* chosen = mnopciongrup[size_t(index)];
    if (!GroupWellsInBlocks(chosen->text().toStdString())) {
        chosen->setChecked(false);  // the tick the click gave it; the layout in use keeps its own
        return;
    }
    for (QAction* item : mnopciongrup) item->setChecked(false);
    chosen->setChecked(true);
}

void PlateControls::ClearGroups()
{
    groups.Clear();
    RedrawAllWells();
    BuildGroupList(0);
}

void PlateControls::Cmd_clear_Click()
{
    if (ui::dialogs().messageBox("Do you like to Clear Group lists?", ui::MsgButtons::YesNo) == ui::MsgResult::Yes)
        ClearGroups();
}

void PlateControls::cmd_goset_Click() { mngroup->popup(QCursor::pos()); }

void PlateControls::combogrup_DblClick()
{
    const std::string text = combogrup->Text();
    const int group = plate::WellGroups::ItemGroup(text);
    const std::string suggested = text.size() > 4 ? text.substr(4) : std::string();
    const std::string answer = ui::dialogs().inputBox("Enter Group Name", "", suggested);
    const std::string name = answer.empty() ? plate::kFreeName : answer;
    if (group < 0 || group >= plate::kGroupEntries) return;
    if (name.find('"') != std::string::npos) {
        ui::dialogs().messageBox(plate::kGroupNameQuote);
        return;
    }
    if (group < combogrup->ListCount()) combogrup->SetList(group, plate::WellGroups::ListItem(group, name));
    groups.group_names[size_t(group)] = name;
}

void PlateControls::combogrup_KeyPress(int key)
{
    if (key == kEnterKey) combogrup_DblClick();
}

namespace {

bool plateCell(const PlateControls& w, double x, double y, int& column, int& row)
{
    return plate::PlateCell(w.plate_rows, w.plate_columns, x, y, column, row);
}

}  // namespace

// A camera picture on Picact has its own coordinates: a click on it is no plate cell.
void PlateControls::Picact_MouseDown(int button, int /*shift*/, double x, double y)
{
    if (console_.session().run_state != 0 || (button != kLeftButton && button != kRightButton) || !plate_map->Shown()) return;
    int column = 0, row = 0;
    if (!plateCell(*this, x, y, column, row)) return;
    drag_start_column = column;
    drag_start_row = row;
    drag_active = true;
}

void PlateControls::Picact_MouseUp(int button, int /*shift*/, double x, double y)
{
    int column = 0, row = 0;
    if (console_.session().run_state != 0 || (button != kLeftButton && button != kRightButton) || !plate_map->Shown() ||
        !plateCell(*this, x, y, column, row)) {
        drag_active = false;
        return;
    }
    int firstRow = row, lastRow = row, firstColumn = column, lastColumn = column;
    if (drag_active) {
        firstRow = std::min(row, drag_start_row);
        lastRow = std::max(row, drag_start_row);
        firstColumn = std::min(column, drag_start_column);
        lastColumn = std::max(column, drag_start_column);
    }
    for (int r = firstRow; r <= lastRow; ++r) {
        for (int c = firstColumn; c <= lastColumn; ++c) {
            const int well = c * plate_rows + r;
            if (well < 0 || well >= plate::kGroupEntries) continue;
            if (button == kLeftButton) {
                const int group = plate::WellGroups::ItemGroup(combogrup->Text());
                if (group < 0 || group >= plate::kGroupEntries) continue;
                groups.well_group[size_t(well)] = group;
                BuildGroupList(group);
            } else {
                groups.well_group[size_t(well)] = plate::kNoGroup;
            }
            DrawWell(well);
        }
    }
    drag_active = false;
}

}  // namespace tirmo::plate
