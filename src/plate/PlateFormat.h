#pragma once
// The plate formats: how many rows and columns of wells a plate has, how its wells are named
// ("A1" to "H12", row letter then column number) and numbered (down each column first), and
// which camera field holds which well in the default files.
#include <optional>
#include <string>
#include <string_view>

namespace tirmo::plate {

inline constexpr int kCameraCount = 6;    // cameras 0..5; 6 selects none
inline constexpr int kWellNumbers = 384;  // well numbers 0..383 in every file
// What a run or a blank says of a format it cannot take.
inline constexpr const char* kPlateFormatError = "Microplate format error";

struct PlateSize {
    int rows = 0;
    int columns = 0;
    int wells() const { return rows * columns; }
};

// The format codes in the order the project files list them.
inline constexpr const char* kPlateFormats[] = {"w96f", "w96u", "w48", "w24", "w12", "w6", "p35"};

bool IsPlateFormat(std::string_view code);
// Rows and columns of a format; 0 x 0 for a text that is no format.
PlateSize FormatSize(std::string_view code);

// "A1" for row 0, column 0 (both from 0); empty outside 0..25 rows or below column 0.
std::string WellName(int row, int column);
// Row and column (from 0) of a well name, nullopt when the text is not one ("a1", "A0", "A").
std::optional<std::pair<int, int>> ParseWellName(std::string_view name);
// The well number: column x rows + row, both from 0 (on "w24" D1 = 3 and A2 = 4).
inline int WellNumber(int row, int column, int rows) { return column * rows + row; }
// The name of the format's last well ("B3" for "w6"); empty for "w96u" and non-formats.
std::string LastWell(std::string_view code);

// The camera fields of the default files: the plate is cut into two rows by three columns of
// fields, camera c seeing the row half c mod 2 and the column third c div 2.
struct FieldPlace {
    int camera = 0;
    int localColumn = 0;
    int localRow = 0;
};
// Where a well (row, column from 0) lies in the default camera fields of a format.
FieldPlace DefaultField(const PlateSize& size, int row, int column);

}  // namespace tirmo::plate
