#include "chemotaxis/IndexChart.h"

#include "platform/Convert.h"

namespace tirmo::chemotaxis {

namespace {
constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kBlack = qRgb(0, 0, 0);
}  // namespace

void PlotIndexChart(Canvas& chart, const std::string& title, int steps)
{
    const double n = steps > 0 ? steps : 1;
    chart.Scale(-0.2 * n, 1.4, 1.04 * n, -1.4);
    chart.Clear();
    chart.Line(0, -1, 0, 1, kRed);
    chart.Line(0, 0, n, 0, kRed);
    chart.Print(-0.1 * n, 1.4, title, 8, true, kBlack);
    chart.Print(-0.1 * n, 1.0, "1", 8, false, kBlack);
    chart.Print(-0.1 * n, -0.8, "-1", 8, false, kBlack);
    chart.Print(-0.1 * n, 0, "0", 8, false, kBlack);
    chart.Print(n / 2, -1.1, "Time[m]", 5, false, kRed);
}

void DrawIndexStep(Canvas& chart, int step, double previous, double index)
{
    chart.Line(step - 1, previous, step, index, kBlack);
}

void DrawTimeMark(Canvas& chart, int step, double minutes)
{
    chart.Line(step, 0.05, step, -0.05, kRed);
    chart.Print(step, -0.075, platform::Format(minutes, "0"), 5, false, kRed);
}

}  // namespace tirmo::chemotaxis
