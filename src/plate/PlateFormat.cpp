#include "plate/PlateFormat.h"

#include <cctype>

namespace tirmo::plate {

bool IsPlateFormat(std::string_view code) { return FormatSize(code).rows > 0; }

PlateSize FormatSize(std::string_view code)
{
    if (code == "w96f" || code == "w96u") return {8, 12};
    if (code == "w48") return {6, 8};
    if (code == "w24") return {4, 6};
    if (code == "w12") return {3, 4};
    if (code == "w6" || code == "p35") return {2, 3};
    return {};
}

std::string WellName(int row, int column)
{
    if (row < 0 || row > 25 || column < 0) return {};
    return std::string(1, char('A' + row)) + std::to_string(column + 1);
}

std::optional<std::pair<int, int>> ParseWellName(std::string_view name)
{
    if (name.size() < 2 || name[0] < 'A' || name[0] > 'Z') return std::nullopt;
    int column = 0;
    for (size_t i = 1; i < name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i])) || column > 1000) return std::nullopt;
        column = column * 10 + (name[i] - '0');
    }
    if (column < 1) return std::nullopt;
    return std::make_pair(name[0] - 'A', column - 1);
}

std::string LastWell(std::string_view code)
{
    if (code == "w96u") return {};
    const PlateSize s = FormatSize(code);
    if (s.rows == 0) return {};
    return WellName(s.rows - 1, s.columns - 1);
}

FieldPlace DefaultField(const PlateSize& size, int row, int column)
{
    const int fieldRows = size.rows / 2;
    const int fieldColumns = size.columns / 3;
    FieldPlace p;
    if (fieldRows < 1 || fieldColumns < 1) return p;
    const int half = row / fieldRows;
    const int third = column / fieldColumns;
    p.camera = third * 2 + half;
    p.localRow = row % fieldRows;
    p.localColumn = column % fieldColumns;
    return p;
}

}  // namespace tirmo::plate
