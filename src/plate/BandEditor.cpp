#include "plate/BandEditor.h"

#include <vector>

#include "platform/Convert.h"

namespace tirmo::plate {

template <int N>
std::optional<int> MoveBandEdge(Bands<N>& bands, int camera, int band, BandButton button, long endLimit)
{
    if (!Bands<N>::InBounds(camera, band)) return std::nullopt;
    // The move is made on a copy and kept only when every band it touched stays sound.
    Bands<N> moved = bands;
    auto& start = moved.start[size_t(camera)];
    auto& end = moved.end[size_t(camera)];
    const size_t b = size_t(band);
    switch (button) {
    case BandButton::StartDown:
        if (start[b] > 0) --start[b];
        break;
    case BandButton::StartUp:
        ++start[b];
        break;
    case BandButton::EndDown:
        --end[b];
        break;
    case BandButton::EndUp:
        if (end[b] >= endLimit) return std::nullopt;
        ++end[b];
        break;
    }
    const bool startMoved = button == BandButton::StartDown || button == BandButton::StartUp;
    size_t neighbour = b;
    if (startMoved && band > 0 && end[b - 1] > start[b]) end[neighbour = b - 1] = start[b];
    if (!startMoved && band + 1 < bands.count(camera) && band + 1 < N && start[b + 1] < end[b]) start[neighbour = b + 1] = end[b];
    // A band whose end lies before its start, or below the first pixel, holds no well.
    for (size_t k : {b, neighbour})
        if (start[k] < 0 || end[k] < start[k]) return std::nullopt;
    bands = moved;
    return startMoved ? start[b] : end[b];
}

template std::optional<int> MoveBandEdge<ColumnBands::kBands>(ColumnBands&, int, int, BandButton, long);
template std::optional<int> MoveBandEdge<RowBands::kBands>(RowBands&, int, int, BandButton, long);

std::optional<int> SetTypedColumnStart(ColumnBands& bands, int camera, int band, double typed, double lines)
{
    // Band edges are 16-bit values in the band files; a start beyond that is no sensor line.
    constexpr double kLargestEdge = 32767;
    if (!ColumnBands::InBounds(camera, band)) return std::nullopt;
    if (!(typed > 0 && typed < lines - 1 && typed <= kLargestEdge)) return std::nullopt;
    const int start = int(platform::RoundHalfEven(typed));
    bands.start[size_t(camera)][size_t(band)] = start;
    if (band > 0) bands.end[size_t(camera)][size_t(band - 1)] = start;
    return start;
}

namespace {

struct WellArea {
    const char* name;
    double area;
};

double width(const ColumnBands& bands, int camera, int band)
{
    return double(bands.endOf(camera, band) - bands.startOf(camera, band));
}

double width(const RowBands& bands, int camera, int band)
{
    return double(bands.endOf(camera, band) - bands.startOf(camera, band));
}

}  // namespace

std::string WellAreaPercentText(const std::string& format, const ColumnBands& column_bands, const RowBands& row_bands)
{
    static const char* const kW6[] = {"A1", "B1", "A2", "B2", "A3", "B3"};
    static const char* const kW24[] = {"A1", "B1", "A2", "B2", "C1", "D1", "C2", "D2", "A3", "B3", "A4", "B4",
                                       "C3", "D3", "C4", "D4", "A5", "B5", "A6", "B6", "C5", "D5", "C6", "D6"};
    std::vector<WellArea> wells;
    if (format == "w6") {
        for (int c = 0; c < 6; ++c) wells.push_back({kW6[c], width(column_bands, c, 0) * width(row_bands, c, 0)});
    } else if (format == "w24") {
        for (int c = 0; c < 6; ++c) {
            int i = 0;
            for (int column = 0; column < 2; ++column)
                for (int row = 0; row < 2; ++row, ++i)
                    wells.push_back({kW24[c * 4 + i], width(column_bands, c, column) * width(row_bands, c, row)});
        }
    } else {
        return {};
    }
    double sum = 0;
    for (const WellArea& w : wells) sum += w.area;
    const double mean = sum / double(wells.size());
    std::string text = format + "\r\n";
    for (const WellArea& w : wells)
        text += "Well(" + std::string(w.name) + ")=" + (mean == 0 ? std::string("-") : platform::Format(w.area / mean, "0.00")) +
                "\r\n";
    return text;
}

}  // namespace tirmo::plate
