#pragma once
// The well groups of a plate: which group each well belongs to and what each group is called,
// as a project (and each acquisition) keeps them in chgroup.dat. Every window that keeps groups
// owns one of these tables; the group list, the block layouts and the file rules are the same
// for all of them.
//
// chgroup.dat: the header "#Well, Group, name", then one row per well 0..383: well number,
// group number (-1 for none), the group's name in double quotes; lines end in CR LF.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tirmo::link {
class Console;
}

namespace tirmo::plate {

inline constexpr int kGroupEntries = 385;  // entries 0..384 of each table
inline constexpr int kGroupedWells = 384;  // wells 0..383 are written, reset and listed
inline constexpr int kNoGroup = -1;
inline constexpr int kBlockOptions = 24;  // block layouts offered for a plate
inline constexpr const char* kFreeName = "Free";
inline constexpr const char* kGroupFileHeader = "#Well, Group, name";
// chgroup.dat quotes a name and its readers drop every double quote: a name typed with one would
// not read back as typed, so it is refused and the group keeps its name.
inline constexpr const char* kGroupNameQuote = "A group name cannot contain the double quote character (\")";

// <program folder>\reports\<folder>\chgroup.dat; folder is a project, or project\acquisition.
std::string GroupFilePath(const std::string& folder);
// The same file as the status line names it: reports\<folder>\chgroup.dat.
std::string ShownGroupFile(const std::string& folder);

class WellGroups {
public:
    WellGroups();

    std::array<std::string, kGroupEntries> group_names;  // "Free" for a group without a name
    std::array<int, kGroupEntries> well_group;           // -1: the well is in no group
    std::array<int, kGroupEntries> group_used;           // 1 used, -1 not (rebuilt by BuildList)

    // Every well of 0..383 out of its group and every name of 0..383 "Free" again.
    void Clear();

    // --- chgroup.dat ---
    struct Row {
        int well = 0;
        int group = kNoGroup;
        std::string name;
    };
    // A file row: the well is the leading number of the text up to the first comma, the group
    // that of the text between the first two commas (no number reads as 0), the name the rest
    // with its double quotes removed (commas in it survive). A group below -1 counts as -1.
    // nullopt for a row with fewer than two commas, or whose well or group lies outside the
    // tables (0..384).
    static std::optional<Row> ParseRow(std::string_view line);
    // The file as written: the header and the rows of wells 0..383.
    std::vector<std::string> FileLines() const;

    struct LoadResult {
        bool read = false;               // the file was there and was read
        bool created = false;            // it was missing and has been created empty
        std::vector<int> skippedLines;   // line numbers (from 1) that could not be taken
        std::string error;               // set when the file could neither be read nor created
        // The first line no SaveWellGroups writes, 0 when there is none: line 1 other than the
        // header (an empty file too), a skipped row, or a row whose well or group is not a whole
        // number, or a group below -1, which the rules above still read. A reader that must not
        // take a damaged file for groups refuses it by this.
        int damagedLine = 0;
    };
    // Resets the tables and loads the file; a missing file is created with every well free
    // (its folder is not created). Later rows for the same well or group override earlier ones.
    LoadResult Load(const std::string& path);
    // Writes the file whole or not at all; false when it could not be written.
    bool Save(const std::string& path) const;

    // --- the group list ---
    // "003_Group3": the group number in three digits, "_", the name.
    static std::string ListItem(int group, const std::string& name);
    // The group number an item (or any text) starts with: the number in its first three
    // characters, 0 when there is none.
    static int ItemGroup(std::string_view text);
    // Rebuilds group_used and returns the list's items: every group up to the highest one in
    // use and one spare number above it. A used group still named "Free" is named "Group<n>"
    // once its item has been made, so the list shows the new name from the next rebuild on.
    std::vector<std::string> BuildList();

    // --- block layouts ---
    // The 24 captions of the block menu for a plate of rows x columns: "02x03 [RowsxColumn]"
    // for each block size that divides the plate, columns outer, rows inner; "" for the rest.
    static std::array<std::string, kBlockOptions> BlockOptions(int rows, int columns);
    // Regroups the whole plate in blocks of the size a caption names ("02x02 ..."): block g gets
    // group g, named "Group<g>", numbered down the plate column by column. A plate of no wells
    // only clears the groups. False, with the tables untouched, when the caption names no block
    // size or one that does not divide the plate's rows and columns.
    bool GroupInBlocks(std::string_view caption, int rows, int columns);
};

// Writes the groups to the group file of folder; when it cannot, says so on the console's status
// line, since a run keeps the groups it was measured with only through this file.
bool SaveWellGroups(const WellGroups& groups, const std::string& folder, link::Console& console);

}  // namespace tirmo::plate
