// The saved-data window's bar plot of group totals, read back from its picture.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <map>

#include "reports/GroupBarPlot.h"
#include "ui/Colour.h"
#include "ui/PictureBox.h"

namespace tirmo::reports {
namespace {

TEST(GroupBarPlot, TotalsBeyondSixteenBitsAndGroupsAbove24AreDrawnAndTheChosenBarIsDarker)
{
    LoadedRecording rec;
    rec.plate_rows = 2;
    rec.plate_columns = 3;
    rec.data.Resize(1);
    for (int w = 0; w < 6; ++w) {
        const bool first = w < 3;
        rec.data.groups.well_group[size_t(w)] = first ? 1 : 30;
        rec.data.groups.group_names[size_t(w < 3 ? 1 : 30)] = first ? "Control" : "Treated";
        rec.data.well_activity[size_t(w)] = {0, 0};
    }
    // 40,000 and 10,000 in all; a value not measured counts nothing.
    rec.data.well_activity[0] = {20000, 20000};
    rec.data.well_activity[3] = {10000, -1};
    QWidget client;
    ui::PictureBox picture(&client);
    picture.SetPixelSize(400, 300);
    GroupBarPlot plot(&client, picture, rec);
    plot.FillGroups();
    ASSERT_EQ(plot.combogrup->count(), 2);
    EXPECT_EQ(plot.combogrup->item(1)->text().toStdString(), "030_Treated");
    plot.combogrup->setCurrentRow(1);
    plot.DrawGroupBarPlot();

    EXPECT_EQ(plot.totals.total[1], 40000);
    EXPECT_EQ(plot.totals.total[30], 10000);
    const uint32_t light = ui::RGB(220, 220, 220), chosen = ui::RGB(200, 200, 200);
    struct Probe {
        double x, y;
        uint32_t colour;
    };
    for (const Probe p : {Probe{16, 30000, light}, Probe{16, 39000, light}, Probe{16, 41000, ui::colour::White},
                          Probe{26, 5000, chosen}, Probe{26, 9500, chosen}, Probe{26, 10500, ui::colour::White}})
        EXPECT_EQ(picture.Point(p.x, p.y), p.colour) << p.x << ", " << p.y;
    // Each bar is outlined in black, the chosen one twice as thick: black pixels across an edge.
    for (const auto& [x, y, thickness] : {std::tuple{12, 20000, 1}, {20, 20000, 1}, {22, 5000, 2}, {30, 5000, 2}}) {
        const QPoint at = picture.toPixels(x, y).toPoint();
        int black = 0;
        for (int px = at.x() - 5; px <= at.x() + 5; ++px) black += picture.PixelAt(px, at.y()) == ui::colour::Black;
        EXPECT_EQ(black, thickness) << x;
    }

    plot.combogrup_DblClick();
    for (int w = 0; w < 8; ++w) EXPECT_EQ(plot.well_highlight[size_t(w)], w >= 3 && w < 6) << w;
}

// At every width, in any type: each bar's first ten characters whole, no label over another, all in the picture.
TEST(GroupBarPlot, EveryLabelReadsWholeBesideItsNeighboursAtEveryWidth)
{
    LoadedRecording rec;
    rec.plate_rows = 4, rec.plate_columns = 6;
    rec.data.Resize(1);
    for (int w = 0; w < 24; ++w) {  // twelve groups, ten bars
        rec.data.groups.well_group[size_t(w)] = 1 + w % 12;
        rec.data.groups.group_names[size_t(1 + w % 12)] = w % 2 ? "WWWWWWWWWW" : "Controlled";
        rec.data.well_activity[size_t(w)] = {double(100 * w * (w % 2 ? 10 : 1))};  // even groups: five digits
    }
    for (const QSize size : {QSize(317, 168), QSize(667, 248), QSize(1100, 400)}) {
        QWidget client;
        ui::PictureBox picture(&client);
        picture.SetPixelSize(size.width(), size.height());
        GroupBarPlot plot(&client, picture, rec);
        plot.FillGroups();
        plot.DrawGroupBarPlot();
        std::map<double, std::string> whole;  // by bar
        std::vector<QRectF> boxes;
        for (const BarLabel& l : plot.labels) {
            whole[l.x] += l.text;
            boxes.emplace_back(picture.toPixels(l.x, l.y), picture.toPixels(l.x + picture.TextWidth(l.text), l.y - picture.TextHeight(l.text)));
            EXPECT_TRUE(QRectF(0, 0, size.width(), size.height()).contains(boxes.back())) << l.text;
            for (size_t j = 0; j + 1 < boxes.size(); ++j) EXPECT_FALSE(boxes[j].adjusted(0, 0, -0.01, -0.01).intersects(boxes.back())) << l.text;
        }
        ASSERT_EQ(whole.size(), size_t(kPlotBars)) << size.width();
        for (int i = 0; i < kPlotBars; ++i) EXPECT_EQ(std::next(whole.begin(), i)->second, plot.combogrup->item(i)->text().toStdString().substr(0, 10));
        // Right of the axis and below the base line (two pixels wide), every dark pixel is a label's.
        const QPointF corner = picture.toPixels(10.5, 0);
        for (int y = int(corner.y()) + 2; y < size.height(); ++y)
            for (int x = int(std::ceil(corner.x())); x < size.width(); ++x)
                ASSERT_TRUE(qGray(picture.image().pixel(x, y)) >= 160 ||
                            std::any_of(boxes.begin(), boxes.end(), [&](const QRectF& b) { return b.adjusted(-1, -1, 1, 1).contains(x, y); }))
                    << "ink at " << x << "," << y;
        const double f = picture.FontSize(), top = double(plot.totals.largest), below = top / 3 - picture.TextHeight("0");
        for (int k = 1; k <= kPlotBars; ++k) {  // each total in its bar, left out only where too wide in the smallest type
            const QPointF gap = picture.toPixels(10.0 * k + 10, top / 3), end = picture.toPixels(10.0 * k + 12, below);
            for (int y = int(gap.y()); y <= int(end.y()); ++y)
                for (int x = int(gap.x()) + 2; x < int(end.x()) - 1; ++x) ASSERT_GE(qGray(picture.image().pixel(x, y)), 160) << x << "," << y;
            const std::string total = std::to_string(100 * (2 * k + 10) * (k % 2 ? 1 : 10));
            const auto n = std::find_if(plot.counts.begin(), plot.counts.end(), [&](const BarLabel& c) { return c.x == 10.0 * k + 2.5; });
            const bool shown = n != plot.counts.end() && n->text == total && n->points >= kSmallestCount * f - 1e-9;
            picture.SetFontSize(shown ? n->points : kSmallestCount * f);
            EXPECT_EQ(picture.TextWidth(total) <= (shown ? 10.0 * k + 9.5 - n->x : kCountRoom), shown) << total << " at " << size.width();
        }
    }
}

}  // namespace
}  // namespace tirmo::reports
