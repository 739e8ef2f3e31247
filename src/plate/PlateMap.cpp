#include "plate/PlateMap.h"

#include <cmath>

#include "platform/Convert.h"
#include "ui/PictureBox.h"

namespace tirmo::plate {
namespace {

constexpr const char* kMapFont = "Arial";
// The counts, group labels and "[OFF]" marks in the cells, and on the 96-well plate's smaller
// cells; bold, so that they read at a glance.
constexpr double kCellPoints = 10;
constexpr double kSmallCellPoints = 8;
constexpr double kMarkerRadius = 0.3;

// The wells of the six camera fields of a "w24" plate.
constexpr int kW24Wells[6][4] = {{0, 1, 4, 5},     {2, 3, 6, 7},     {8, 9, 12, 13},
                                 {10, 11, 14, 15}, {16, 17, 20, 21}, {18, 19, 22, 23}};

double evenRound(double v) { return double(platform::RoundHalfEven(v)); }

template <class T>
T entry(const std::vector<T>* table, long index, T fallback)
{
    if (!table || index < 0 || index >= long(table->size())) return fallback;
    return (*table)[size_t(index)];
}

}  // namespace

std::array<uint32_t, 7> BuildColorScale(int count)
{
    std::array<uint32_t, 7> table{};
    if (count < 2 || count > 6) count = kColourCount;
    const double half = count / 2.0;
    const int m = int(half);
    table[0] = ui::RGB(210, 0, 0);
    table[size_t(count - 1)] = ui::RGB(0, 210, 0);
    for (int i = 1; i < count - 1; ++i) {
        if (i <= m)
            table[size_t(i)] = ui::RGB(255, int(platform::RoundHalfEven(255.0 * i / half)), 0);
        else
            table[size_t(i)] = ui::RGB(int(platform::RoundHalfEven(255.0 - 255.0 * (i - m) / half)), 255, 0);
    }
    return table;
}

uint32_t GroupColour(int group)
{
    switch (((group % 10) + 10) % 10 % 5) {
    case 1:
        return ui::colour::Green;
    case 2:
        return ui::colour::Blue;
    case 3:
        return ui::colour::Red;
    case 4:
        return ui::colour::Yellow;
    default:
        return ui::colour::Black;
    }
}

std::vector<int> FixedCameraWells(int camera, const std::string& format)
{
    if (camera < 0 || camera > 5) return {};
    if (format == "p35" || format == "w6") return {camera};
    if (format == "w24") return {std::begin(kW24Wells[camera]), std::end(kW24Wells[camera])};
    return {};
}

int CameraOfWell(int well, const std::string& format, const WellTable& table)
{
    if (format == "p35" || format == "w6" || format == "w24") {
        for (int camera = 0; camera < 6; ++camera)
            for (int w : FixedCameraWells(camera, format))
                if (w == well) return camera;
        return -1;
    }
    for (int camera = 0; camera < kTableCameras; ++camera)
        for (int column = 0; column < kLocalColumns; ++column)
            for (int row = 0; row < kLocalRows; ++row) {
                const WellCell& cell = table.at(camera, column, row);
                if (!cell.name.empty() && cell.dataindex == well) return camera;
            }
    return -1;
}

PlateMap::PlateMap(ui::PictureBox& picture, PlateMapTables tables) : pic_(picture), t_(tables) {}

double PlateMap::CellWidth() const { return t_.plate_columns > 0 ? kPlateWidth / t_.plate_columns : 0; }
double PlateMap::CellHeight() const { return t_.plate_rows > 0 ? kPlateHeight / t_.plate_rows : 0; }
double PlateMap::CellX(int column) const { return evenRound(column * CellWidth()); }
double PlateMap::CellY(int row) const { return evenRound(row * CellHeight()); }

void PlateMap::setSize(const std::string& format)
{
    const PlateSize size = FormatSize(format);
    t_.plate_rows = size.rows;
    t_.plate_columns = size.columns;
}

void PlateMap::DrawPlateLayout(const std::string& format, const std::string& wellFormat)
{
    pic_.Cls();
    pic_.Scale(kMapLeft, kMapTop, kMapRight, kMapBottom);
    pic_.SetAutoRedraw(true);
    pic_.Refresh();
    pic_.Cls();
    setSize(format);
    const int rows = t_.plate_rows, columns = t_.plate_columns;

    pic_.SetDrawWidth(3);
    pic_.SetFillColor(ui::colour::White);
    pic_.Box(0, 0, kPlateWidth, kPlateHeight, kPlateOutline);
    pic_.SetDrawWidth(1);
    const double w = CellWidth(), h = CellHeight();
    for (int j = 1; j < columns; ++j) pic_.Line(j * w, 0, j * w, kPlateHeight, kPlateGrid);
    for (int i = 1; i < rows; ++i) pic_.Line(0, i * h, kPlateWidth, i * h, kPlateGrid);

    pic_.SetForeColor(kPlateLabels);
    pic_.SetFontSize(10);
    pic_.SetFontBold(true);
    pic_.SetFontName(kMapFont);
    // Column numbers over the middle of their columns, row letters beside the middle of their
    // rows, each in the middle of its margin.
    for (int c = 0; c < columns; ++c) printCentred(std::to_string(c + 1), CellX(c) + 0.5 * w, kMapTop / 2, true);
    for (int r = 0; r < rows; ++r) printCentred(std::string(1, char('A' + r)), kMapLeft / 2, CellY(r) + 0.5 * h, true);
    for (int camera = 0; camera < 6; ++camera) {
        if (t_.camera_in_use[size_t(camera)]) continue;
        for (int well : FixedCameraWells(camera, format)) DrawDisabledWells(well, wellFormat);
    }
    pic_.SetFontSize(8);
    pic_.SetFontBold(false);
}

void PlateMap::DrawDisabledWells(int well, const std::string& wellFormat)
{
    if (!hasPlate() || well < 0 || well >= t_.plate_rows * t_.plate_columns) return;
    pic_.SetFontName(kMapFont);
    pic_.SetForeColor(ui::colour::Black);
    const int camera = CameraOfWell(well, wellFormat, t_.well_table);
    if (camera < 0 || t_.camera_in_use[size_t(camera)]) return;
    const int rows = t_.plate_rows;
    printCentred(kOffMark, CellX(well / rows) + 0.5 * CellWidth(), CellY(well % rows) + 0.4 * CellHeight());
}

void PlateMap::DrawWell(int well, const std::string& plateFormat)
{
    if (!hasPlate() || well < 0 || well >= t_.plate_rows * t_.plate_columns) return;
    const int rows = t_.plate_rows;
    const double x = CellX(well / rows), y = CellY(well % rows), w = CellWidth(), h = CellHeight();
    const int camera = CameraOfWell(well, plateFormat, t_.well_table);
    pic_.SetFontName(kMapFont);
    const int group = well < kGroupEntries ? t_.groups.well_group[size_t(well)] : kNoGroup;
    if (group > kNoGroup) pic_.SetForeColor(GroupColour(group));
    cellType(plateFormat);
    pic_.FilledBox(x + 0.1 * w, y + 0.2 * h, x + 0.9 * w, y + 0.9 * h, ui::colour::White);
    if (group > kNoGroup) printCentred("G" + std::to_string(group), x + 0.5 * w, y + 0.6 * h);
    pic_.SetForeColor(ui::colour::Black);
    if (camera >= 0 && !t_.camera_in_use[size_t(camera)]) printCentred(kOffMark, x + 0.5 * w, y + 0.4 * h);
    pic_.SetFontBold(false);
}

void PlateMap::printCentred(const std::string& text, double x, double y, bool centreY)
{
    pic_.SetCurrentX(x - pic_.TextWidth(text) / 2);
    pic_.SetCurrentY(centreY ? y - pic_.TextHeight(text) / 2 : y);
    pic_.Print(text);
}

void PlateMap::cellType(const std::string& plateFormat)
{
    pic_.SetFontSize(plateFormat == "w96f" ? kSmallCellPoints : kCellPoints);
    pic_.SetFontBold(true);
}

void PlateMap::RedrawAllWells(const std::string& plateFormat)
{
    for (int r = 0; r < t_.plate_rows; ++r)
        for (int c = 0; c < t_.plate_columns; ++c) DrawWell(c * t_.plate_rows + r, plateFormat);
}

void PlateMap::marker(int camera, int window, uint32_t fill)
{
    if (!ColumnBands::InBounds(camera, 0) || !RowBands::InBounds(camera, window)) return;
    const int first = t_.column_bands.first[size_t(camera)];
    const int last = t_.column_bands.last[size_t(camera)];
    const int firstRow = t_.row_bands.first[size_t(camera)];
    if (first < 0 || firstRow < 0 || !hasPlate()) return;
    const int r = firstRow + window;
    for (int c = first; c <= last && c < t_.plate_columns; ++c) {
        if (r >= t_.plate_rows) break;
        pic_.SetFontSize(10);
        pic_.SetFontName(kMapFont);
        pic_.SetFillStyle(0);
        pic_.SetFillColor(fill);
        pic_.Circle(CellX(c) + 0.8 * CellWidth(), CellY(r) + 0.1 * CellHeight(), kMarkerRadius, fill);
    }
}

void PlateMap::DrawPlateWells(int camera, int window, const std::string& wellFormat)
{
    setSize(wellFormat);
    marker(camera, window, ui::colour::Black);
    pic_.SetForeColor(kMapGrey);
}

void PlateMap::DrawPlateActivity(const WindowActivity& run, int camera, int window, int mode,
                                 const std::string& wellFormat, const std::string& plateFormat)
{
    if (camera < 0 || camera > 6 || !t_.camera_in_use[size_t(camera)]) return;
    setSize(wellFormat);
    if (mode == 1) {
        marker(camera, window, ui::colour::Black);
        pic_.SetForeColor(kMapGrey);
        return;
    }
    if (!ColumnBands::InBounds(camera, 0) || !RowBands::InBounds(camera, window) || !hasPlate()) return;
    const int first = t_.column_bands.first[size_t(camera)];
    const int last = t_.column_bands.last[size_t(camera)];
    const int firstRow = t_.row_bands.first[size_t(camera)];
    if (first < 0 || firstRow < 0) return;
    const int rows = t_.plate_rows;
    const int r = firstRow + window;
    const double w = CellWidth(), h = CellHeight();
    const double rowStart = t_.row_bands.startOf(camera, window);
    const double rowSpan = t_.row_bands.endOf(camera, window) - rowStart;
    std::vector<ui::PictureBox::Segment> active;  // the active pixels of a well, one point each
    for (int c = first; c <= last && c < t_.plate_columns && r < rows; ++c) {
        const int k = c - first;
        if (!ColumnBands::InBounds(camera, k)) break;
        const double columnSpan = t_.column_bands.endOf(camera, k) - t_.column_bands.startOf(camera, k);
        // A band of no width holds no pixel place to scale; the well keeps what it shows.
        if (columnSpan == 0 || rowSpan == 0) continue;
        const double x = CellX(c), y = CellY(r);
        const int well = c * rows + r;
        pic_.SetFillStyle(0);
        pic_.SetFillColor(ui::colour::White);
        pic_.Circle(x + 0.8 * w, y + 0.1 * h, kMarkerRadius, ui::colour::White);
        pic_.FilledBox(x + 0.05 * w, y + 0.05 * h, x + 0.9 * w, y + 0.9 * h, ui::colour::White);
        active.clear();
        for (long p = 1; p <= run.window_pixel_count; ++p) {
            if (entry(run.pixel_well, p, -1) != well || entry(run.pixel_activity, p, 0L) <= 0) continue;
            const double px = x + entry(run.pixel_column, p, 0) / columnSpan * w;
            const double py = y + entry(run.pixel_row, p, 0) / rowSpan * h;
            active.push_back({px, py, px + 1, py + 1});
        }
        pic_.Lines(active, colour_table[1]);
        double value = 0;
        if (WellTable::InBounds(camera, k, window)) {
            const int n = t_.well_table.at(camera, k, window).dataindex;
            double blank = 0;
            if (run.blank_lapse >= 1 && run.blank_run == 0)
                blank = entry(run.blank_values, n, 0) / double(run.blank_lapse) * run.minutes;
            value = (entry(run.well_activity, n, 0.0) - blank) * entry(run.reference_factor, n, 1.0);
            if (value < 0) value = 0;
        }
        cellType(plateFormat);
        pic_.SetForeColor(ui::colour::Black);
        printCentred(platform::Format(value, "0"), x + 0.5 * w, y + 0.05 * h);
        pic_.SetFontBold(false);
    }
    pic_.SetForeColor(kMapGrey);
}

bool PlateMap::Shown() const
{
    return pic_.HasUserScale() && pic_.ScaleLeft() == kMapLeft && pic_.ScaleTop() == kMapTop &&
           pic_.ScaleWidth() == kMapRight - kMapLeft && pic_.ScaleHeight() == kMapBottom - kMapTop;
}

void PlateMap::ResetPlatePicture(long pixels, long lines)
{
    pic_.Cls();
    pic_.Scale(0, 0, 4.0 * pixels, 4.0 * lines);
    pic_.SetAutoRedraw(true);
}

void PlateMap::DrawActivityChart(ui::PictureBox& chart, int camera, int window)
{
    pic_.SetFontSize(8);
    pic_.SetFontBold(false);
    if (!ColumnBands::InBounds(camera, 0) || !RowBands::InBounds(camera, window)) return;
    const double height = t_.row_bands.endOf(camera, window) - t_.row_bands.startOf(camera, window);
    const int bands = t_.column_bands.count(camera);
    auto widthOf = [&](int k) { return double(t_.column_bands.endOf(camera, k) - t_.column_bands.startOf(camera, k)); };
    double total = 0;
    for (int k = 0; k < bands; ++k) total += widthOf(k);

    chart.Cls();
    chart.Scale(-5, -2, 1.4 * height, total + 3);
    chart.SetAutoRedraw(true);
    chart.Refresh();
    chart.Cls();
    chart.SetDrawWidth(2);
    chart.Box(-1, 0, height + 2, total + 2, kChartLines);
    double s = 0;
    for (int k = 0; k + 1 < bands; ++k) {
        s += widthOf(k);
        chart.Line(-1, s, height + 3, s, kChartLines);
    }
    chart.SetDrawWidth(1);
    s = 0;
    for (int k = 0; k < bands; ++k) {
        s += widthOf(k);
        chart.SetForeColor(ui::colour::Red);
        chart.SetCurrentX(height + 3);
        chart.SetCurrentY(s - 8);
        chart.Print(t_.row_labels[size_t(camera)][size_t(window)] + t_.column_labels[size_t(camera)][size_t(k)]);
    }
}

}  // namespace tirmo::plate
