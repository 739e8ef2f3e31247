#pragma once
// The LED maps: for every LED the camera it serves and its place in that camera's block (the
// layout), the band of the camera frame it lights (the position) and its drive level (the
// power), with the files that keep them:
//   ldsetup1.dat / ldsetup2.dat  layouts of generations 1 and 2, in config (written at start-up)
//   ledsetup.dat                 the factory window's layout, in config (never written here)
//   ledxy.dat                    positions, in the per-instrument folder
//   ledpower.dat                 powers, in the per-instrument folder
// Each window owns one LedMap; the two meet only through ledxy.dat and ledpower.dat.
#include <array>
#include <string>
#include <vector>

#include "lighting/LedCommands.h"

namespace tirmo::lighting {

// A row of ledxy.dat or ledpower.dat that a load could not read, as it stood in the file.
struct UnreadRow {
    int led = -1;  // the LED it names; -1 when not even that could be read
    std::string text;
};

struct LedMap {
    using Table = std::array<int, kLedCount>;
    Table camera{}, colcam{}, filcam{};  // layout
    Table x1{}, x2{}, y1{}, y2{};        // positions; -1 where no band was found
    Table power{};                       // 0..15
    // The rows the last load skipped. The zeros that stand in for them are no values of the
    // instrument: a save writes such a row back as it stood while its LED is still untouched.
    std::vector<UnreadRow> unread_positions, unread_powers;
};

inline constexpr const char* kLedSetup1Name = "ldsetup1.dat";
inline constexpr const char* kLedSetup2Name = "ldsetup2.dat";
inline constexpr const char* kFactoryLayoutName = "ledsetup.dat";
inline constexpr const char* kLedPositionsName = "ledxy.dat";
inline constexpr const char* kLedPowerName = "ledpower.dat";

// "config_SN<n>" when the serial number is 1 or more, else "config" (relative to the program
// folder), worked out anew at each access.
std::string InstrumentFolder(int serialNumber);

// The default layouts, line by line (title, header, rows).
std::vector<std::string> LedSetup1Lines();
std::vector<std::string> LedSetup2Lines();
// Write them into <program folder><folder> (start-up passes "\config"), creating that folder;
// false when the file could not be written (an earlier file is then left as it was).
bool WriteLedSetup1File(const std::string& folder);
bool WriteLedSetup2File(const std::string& folder);

// One row of an LED file that was read soundly.
struct LedRow {
    int line = 0;            // line number in the file, from 1
    std::string ledText;     // the LED field as it stands in the file
    std::vector<int> values; // every field as a number
};

enum class LedFileKind { Layout, Positions, Powers };

// What a reader got from one file. A row that is not sound (wrong field count, a field that is
// not a whole 16-bit number, a power outside 0..15) is skipped, kept in skipped, and the reading
// goes on: its LED keeps its default, the others are read. A row naming an LED outside 0..415
// is ignored. Every such problem, and a position or power file that does not name all 416
// LEDs, is described in problems; a missing file is no problem.
struct LedFileRead {
    bool found = false;
    std::vector<LedRow> rows;
    std::vector<UnreadRow> skipped;  // the unsound rows of LEDs that no sound row names
    std::vector<std::string> problems;
};

LedFileRead ReadLedFile(const std::string& path, LedFileKind kind);
// The LED number of a row (layout rows carry it in the second field).
int RowLed(const LedRow& row, LedFileKind kind);

// Fills map anew (all zero first) from the layout file at layoutPath (empty: no layout) and from
// ledxy.dat and ledpower.dat in the folder (relative to the program folder); the problems met,
// in file order.
std::vector<std::string> LoadLedTables(LedMap& map, const std::string& layoutPath, const std::string& folder);

// Replaces the map's positions and their unread rows by those of ledxy.dat in the folder (as
// LoadLedTables reads them) and adds its problems; false, and the map untouched, when the folder
// holds no ledxy.dat.
bool LoadLedPositions(LedMap& map, const std::string& folder, std::vector<std::string>& problems);

// Write ledxy.dat / ledpower.dat of all 416 LEDs into the folder (relative to the program
// folder, created when missing), values as the map holds them, except that a row the load
// skipped is written back as it stood while its LED's values are still the zeros the load left
// (rows that named no LED follow the 416). False when the file could not be written; an
// earlier file is then left whole.
bool WriteLedPositions(const LedMap& map, const std::string& folder);
bool WriteLedPower(const LedMap& map, const std::string& folder);

// The problems of a load joined into one status text ("" when there were none).
std::string ProblemText(const std::vector<std::string>& problems);

}  // namespace tirmo::lighting
