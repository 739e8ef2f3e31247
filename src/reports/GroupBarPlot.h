#pragma once
// The saved-data window's bar plot: one bar per well group of the loaded recording (at most
// ten, in the order of the group list), its height the group's total activity over the whole
// recording, drawn into the window's picture Picreal. The group list (combogrup) chooses the
// bar drawn dark and which wells the heat maps mark. The picture's scale runs from the base
// line to 1.2 times the largest total (at least 50), with room below the line for the labels.
#include <QObject>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "reports/LoadedRecording.h"
#include "ui/Forward.h"

class QListWidget;
class QWidget;

namespace tirmo::reports {

inline constexpr int kPlotBars = 10;
inline constexpr int kLowestTop = 50;  // the scale reaches at least this count
// A bar's label starts this far below the base line, and a line of it keeps within this width
// (scale units; bars stand 10 apart).
inline constexpr double kLabelTop = 2;
inline constexpr double kLabelRoom = 9;
// A bar's total is printed inside its bar, half a unit clear of either edge, in the picture's type
// or down to this share of it; else it is left out.
inline constexpr double kCountRoom = 7;
inline constexpr double kSmallestCount = 0.6;

// A line of a bar's label, or a bar's total, as printed: its text, its top left in the plot's
// scale and the size of its type in points.
struct BarLabel {
    std::string text;
    double x = 0, y = 0;
    double points = 0;
};

class GroupBarPlot : public QObject {
    Q_OBJECT
public:
    // The list and its label and the plot button are made on client; the plot draws into
    // picture. recording is the window's loaded recording.
    GroupBarPlot(QWidget* client, ui::PictureBox& picture, const LoadedRecording& recording);

    ui::Label* Label_groupsname = nullptr;  // "Group Names:"
    QListWidget* combogrup = nullptr;       // "003_name" per group of the plate
    ui::CommandButton* cmd_plotbar = nullptr;  // "BarPLOT"
    ui::PictureBox& Picreal;

    int plot_shown = 1;  // 1 the bar plot, 2 a heat map
    // Per well, whether the heat maps mark it (the wells of the group double-clicked last).
    std::array<bool, 97> well_highlight{};
    GroupTotals totals;
    // The label lines of the last drawing, bar after bar.
    std::vector<BarLabel> labels;
    // The totals printed in their bars by the last drawing, bar after bar (a left-out one is not).
    std::vector<BarLabel> counts;
    // Runs the heat map's summed view again when a group is double-clicked on a heat map; set
    // by whoever shows the heat maps.
    std::function<void()> redraw_heat_map;
    // Runs before the bar plot is shown by its button: the heat map's controls step aside.
    std::function<void()> hide_heat_map;

    // The group list of the recording just loaded.
    void FillGroups();
    void DrawGroupBarPlot();
    void cmd_plotbar_Click();
    void combogrup_DblClick();

private:
    const LoadedRecording& recording_;
};

}  // namespace tirmo::reports
