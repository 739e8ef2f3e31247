#include "reports/GroupBarPlot.h"

#include <QListWidget>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/Convert.h"
#include "ui/Colour.h"
#include "ui/Controls.h"
#include "ui/Make.h"
#include "ui/PictureBox.h"

namespace tirmo::reports {

namespace {

constexpr uint32_t kChosenBar = ui::RGB(200, 200, 200);
constexpr uint32_t kBar = ui::RGB(220, 220, 220);
constexpr uint32_t kAxis = ui::RGB(128, 128, 128);

void PrintAt(ui::PictureBox& p, double x, double y, const std::string& text)
{
    p.SetCurrentX(x);
    p.SetCurrentY(y);
    p.Print(text);
}

// A count as the plot prints it: whole, with no separators.
std::string Count(int64_t v) { return std::to_string(v); }

// A bar's label in lines that each fit room (user units) in the picture's type: whole when it
// fits, else the group number on a line of its own and "_" and the name below it, and any line
// still too wide broken where it must.
std::vector<std::string> LabelLines(const ui::PictureBox& p, const std::string& label, double room)
{
    if (p.TextWidth(label) <= room) return {label};
    std::vector<std::string> pieces;
    const size_t cut = label.find('_');
    if (cut != std::string::npos && cut > 0) pieces = {label.substr(0, cut), label.substr(cut)};
    else pieces = {label};
    std::vector<std::string> lines;
    for (std::string rest : pieces)
        while (!rest.empty()) {
            size_t n = rest.size();
            while (n > 1 && p.TextWidth(rest.substr(0, n)) > room) --n;
            lines.push_back(rest.substr(0, n));
            rest.erase(0, n);
        }
    return lines;
}

}  // namespace

GroupBarPlot::GroupBarPlot(QWidget* client, ui::PictureBox& picture, const LoadedRecording& recording)
    : Picreal(picture), recording_(recording)
{
    Label_groupsname = ui::MakeLabel(client, "Label_groupsname", "Group Names:");
    combogrup = new QListWidget(client);
    combogrup->setObjectName("combogrup");
    combogrup->setToolTip("Dblclick to Select");
    connect(combogrup, &QListWidget::itemDoubleClicked, this, [this] { combogrup_DblClick(); });
    cmd_plotbar = ui::MakeButton(client, "cmd_plotbar", "BarPLOT", [this] { cmd_plotbar_Click(); });
}

void GroupBarPlot::FillGroups()
{
    combogrup->clear();
    for (const std::string& item : GroupItems(recording_)) combogrup->addItem(ui::toQString(item));
}

void GroupBarPlot::DrawGroupBarPlot()
{
    plot_shown = 1;
    totals = FindMaxGroupActivity(recording_);
    // Totals are 64-bit counts: a day of activity in a group passes 32,767 long before any
    // scale would.
    const double top = double(std::max<int64_t>(totals.largest, kLowestTop));
    ui::PictureBox& p = Picreal;
    p.Scale(0, 1.2 * top, 120, -0.135 * top);

    // Each label keeps to its own bar's width, a unit short of the next label; the room below
    // the base line grows to hold the deepest one.
    std::vector<std::vector<std::string>> lines;
    size_t deepest = 1;
    for (int i = 0; i < combogrup->count() && i < kPlotBars; ++i) {
        lines.push_back(LabelLines(p, ui::toBytes(combogrup->item(i)->text()).substr(0, 10), kLabelRoom));
        deepest = std::max(deepest, lines.back().size());
    }
    if (p.PixelHeight() > 0) {
        const double pixelsPerUnit = p.PixelHeight() / (1.335 * top);
        const double need = double(deepest) * p.TextHeight("0") * pixelsPerUnit + 1;  // pixels
        const double bottom = (kLabelTop * p.PixelHeight() + 1.2 * top * need) / (p.PixelHeight() - need);
        if (need < p.PixelHeight() && bottom > 0.135 * top) p.Scale(0, 1.2 * top, 120, -bottom);
    }
    const double lineHeight = p.TextHeight("0");
    const double f = p.FontSize();
    labels.clear();
    counts.clear();
    p.Cls();
    p.SetDrawWidth(2);
    const int chosen = combogrup->currentItem() && combogrup->currentItem()->isSelected() ? combogrup->currentRow() : -1;
    int k = 1;
    for (int i = 0; i < combogrup->count() && k <= kPlotBars; ++i, ++k) {
        const std::string item = ui::toBytes(combogrup->item(i)->text());
        const int g = std::clamp(plate::WellGroups::ItemGroup(item), 0, int(totals.total.size()) - 1);
        const double v = double(totals.total[size_t(g)]);
        p.FilledBox(10 * k + 2, 0, 10 * k + 10, v, i == chosen ? kChosenBar : kBar);
        p.SetDrawWidth(i == chosen ? 2 : 1);
        p.Box(10 * k + 2, 0, 10 * k + 10, v, ui::colour::Black);
        p.SetDrawWidth(2);
        p.SetForeColor(ui::colour::Black);
        for (size_t n = 0; n < lines[size_t(i)].size(); ++n) {
            const BarLabel label{lines[size_t(i)][n], 10.0 * k + 3, -kLabelTop - double(n) * lineHeight, f};
            PrintAt(p, label.x, label.y, label.text);
            labels.push_back(label);
        }
        // A total running on into the next bar reads as one number with the next bar's.
        const std::string count = Count(totals.total[size_t(g)]);
        constexpr int kSteps = 20;
        for (long step = kSteps; step >= std::lround(kSmallestCount * kSteps); --step) {
            p.SetFontSize(f * double(step) / kSteps);
            if (p.TextWidth(count) > kCountRoom) continue;
            counts.push_back({count, 10.0 * k + 2.5, top / 3, p.FontSize()});
            PrintAt(p, counts.back().x, counts.back().y, count);
            break;
        }
        p.SetFontSize(f);
    }
    p.Line(10, 0, 119, 0, kAxis);
    p.Line(10, 0, 10, top, kAxis);
    p.Line(10, 0, 9, 0, kAxis);
    p.Line(10, 0.99 * top, 9, 0.99 * top, kAxis);
    p.SetDrawWidth(1);
    p.SetForeColor(ui::colour::Black);
    p.SetFontSize(0.75 * f);
    PrintAt(p, 6, 1.05 * top, Count(int64_t(top)));
    PrintAt(p, 6, 0.5 * f, "0");
    p.SetFontSize(f);
    PrintAt(p, 10, 1.18 * top,
            "Project: " + recording_.project_name + " -> " + recording_.recording_stamp + " " + recording_.recording_title);
    p.Refresh();
}

void GroupBarPlot::cmd_plotbar_Click()
{
    if (hide_heat_map) hide_heat_map();
    QFont bold = cmd_plotbar->font();
    bold.setBold(true);
    cmd_plotbar->setFont(bold);
    DrawGroupBarPlot();
}

void GroupBarPlot::combogrup_DblClick()
{
    QListWidgetItem* item = combogrup->currentItem();
    if (!item) return;
    const int group = plate::WellGroups::ItemGroup(ui::toBytes(item->text()));
    for (size_t w = 0; w < well_highlight.size(); ++w)
        well_highlight[w] = w < size_t(plate::kGroupEntries) && recording_.data.groups.well_group[w] == group;
    if (plot_shown == 1) {
        QFont bold = cmd_plotbar->font();
        bold.setBold(true);
        cmd_plotbar->setFont(bold);
        DrawGroupBarPlot();
    } else if (plot_shown == 2 && redraw_heat_map) {
        redraw_heat_map();
    }
}

}  // namespace tirmo::reports
