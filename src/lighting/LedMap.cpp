#include "lighting/LedMap.h"

#include <functional>
#include <set>

#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"

namespace tirmo::lighting {
namespace {

constexpr const char* kSetup1Title = "Led control v1.0: 16rows x  26col. Per cam: 8 x 9+8+9,,,";
constexpr const char* kSetup2Title = "Led control v1.2: 13rows x  19col. Per cam: 7 x 9 with overlaping";
constexpr const char* kLayoutHeader = "camera,led,colcam,filcam";
constexpr const char* kMapTitle = "Led control: 16rows x  26col. Per cam: 8 x 9+8+9";
constexpr int kHeaderLines = 2;

// A layout block: the camera, its first LED and its columns and rows.
struct Block {
    int camera, firstLed, columns, rows;
};

// Layout 1.0: two bands of eight rows (LEDs 0..207 for cameras 0, 2, 4 and 208..415 for
// cameras 1, 3, 5), 9, 8 and 9 columns per camera.
constexpr Block kLayout1[] = {{0, 0, 9, 8},   {1, 208, 9, 8}, {2, 72, 8, 8},
                              {3, 280, 8, 8}, {4, 136, 9, 8}, {5, 344, 9, 8}};
// Layout 1.2: blocks of 64 numbers, 9 columns of 7 rows and the block's 64th number.
constexpr Block kLayout2[] = {{0, 0, 9, 7},   {1, 192, 9, 7}, {2, 64, 9, 7},
                              {3, 256, 9, 7}, {4, 128, 9, 7}, {5, 320, 9, 7}};
constexpr int kLayout2LastColcam = 10;
constexpr int kLayout2LastFilcam = 8;

std::string row(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values) {
        if (!s.empty()) s += ',';
        s += std::to_string(v);
    }
    return s;
}

bool writeInto(const std::string& folder, const char* name, const std::vector<std::string>& lines)
{
    const std::string dir = platform::ProgramPath(folder);
    if (!platform::MakeFolder(dir)) return false;
    return platform::WriteLines(platform::ProgramPath(folder + "/" + name), lines);
}

std::string baseName(const std::string& path)
{
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

size_t fieldCount(LedFileKind kind)
{
    switch (kind) {
    case LedFileKind::Layout: return 4;
    case LedFileKind::Positions: return 5;
    case LedFileKind::Powers: return 2;
    }
    return 0;
}

bool blank(const std::string& line) { return platform::Trim(line).empty(); }

}  // namespace

std::string InstrumentFolder(int serialNumber)
{
    return serialNumber >= 1 ? "config_SN" + std::to_string(serialNumber) : "config";
}

std::vector<std::string> LedSetup1Lines()
{
    std::vector<std::string> lines{kSetup1Title, kLayoutHeader};
    for (const Block& b : kLayout1) {
        int led = b.firstLed;
        for (int colcam = 1; colcam <= b.columns; ++colcam)
            for (int filcam = 1; filcam <= b.rows; ++filcam) lines.push_back(row({b.camera, led++, colcam, filcam}));
    }
    return lines;
}

std::vector<std::string> LedSetup2Lines()
{
    std::vector<std::string> lines{kSetup2Title, kLayoutHeader};
    for (const Block& b : kLayout2) {
        int led = b.firstLed;
        for (int colcam = 1; colcam <= b.columns; ++colcam)
            for (int filcam = 1; filcam <= b.rows; ++filcam) lines.push_back(row({b.camera, led++, colcam, filcam}));
        lines.push_back(row({b.camera, b.firstLed + b.columns * b.rows, kLayout2LastColcam, kLayout2LastFilcam}));
    }
    return lines;
}

bool WriteLedSetup1File(const std::string& folder) { return writeInto(folder, kLedSetup1Name, LedSetup1Lines()); }

bool WriteLedSetup2File(const std::string& folder) { return writeInto(folder, kLedSetup2Name, LedSetup2Lines()); }

int RowLed(const LedRow& r, LedFileKind kind) { return r.values[kind == LedFileKind::Layout ? 1 : 0]; }

LedFileRead ReadLedFile(const std::string& path, LedFileKind kind)
{
    LedFileRead read;
    auto lines = platform::ReadLines(path);
    if (!lines) return read;
    read.found = true;
    const std::string name = baseName(path);
    const size_t wanted = fieldCount(kind);
    const size_t ledField = kind == LedFileKind::Layout ? 1 : 0;
    std::set<int> named;
    std::vector<UnreadRow> skipped;
    for (size_t i = kHeaderLines; i < lines->size(); ++i) {
        const std::string& line = (*lines)[i];
        if (blank(line)) continue;
        const int lineNo = int(i) + 1;
        LedRow r;
        r.line = lineNo;
        const auto fields = platform::SplitFields(line);
        bool sound = fields.size() == wanted;
        for (size_t f = 0; sound && f < fields.size(); ++f) {
            try {
                r.values.push_back(platform::WholeNumber16(fields[f]));
            } catch (const platform::NumberError&) {
                sound = false;
            }
        }
        const bool powerOutOfRange =
            sound && kind == LedFileKind::Powers && (r.values[1] < 0 || r.values[1] > kMaxLedPower);
        if (!sound || powerOutOfRange) {
            // One bad row costs its own LED only: the rows after it are read as usual.
            read.problems.push_back(name + " line " + std::to_string(lineNo) +
                                    (powerOutOfRange ? ": power " + std::to_string(r.values[1]) + " outside 0-15"
                                                     : std::string(" is not readable")) +
                                    ", line skipped");
            UnreadRow unread{-1, line};
            try {
                if (ledField < fields.size()) unread.led = platform::WholeNumber16(fields[ledField]);
            } catch (const platform::NumberError&) {
            }
            if (unread.led < 0 || unread.led >= kLedCount) unread.led = -1;
            if (unread.led >= 0) named.insert(unread.led);
            skipped.push_back(std::move(unread));
            continue;
        }
        r.ledText = fields[ledField];
        const int led = RowLed(r, kind);
        if (led < 0 || led >= kLedCount) {
            read.problems.push_back(name + " line " + std::to_string(lineNo) + ": LED " + std::to_string(led) +
                                    " outside 0-415, line ignored");
            continue;
        }
        named.insert(led);
        read.rows.push_back(std::move(r));
    }
    // A skipped row whose LED a sound row names as well is overridden, not unread.
    std::set<int> readLeds;
    for (const auto& r : read.rows) readLeds.insert(RowLed(r, kind));
    for (auto& u : skipped)
        if (u.led < 0 || !readLeds.count(u.led)) read.skipped.push_back(std::move(u));
    if (kind != LedFileKind::Layout && named.size() < size_t(kLedCount))
        read.problems.push_back(name + " names only " + std::to_string(named.size()) +
                                " of 416 LEDs; the others keep 0");
    return read;
}

std::vector<std::string> LoadLedTables(LedMap& map, const std::string& layoutPath, const std::string& folder)
{
    map = LedMap{};
    std::vector<std::string> problems;
    auto take = [&](const std::string& path, LedFileKind kind, auto store) {
        auto read = ReadLedFile(path, kind);
        for (const auto& r : read.rows) store(size_t(RowLed(r, kind)), r.values);
        problems.insert(problems.end(), read.problems.begin(), read.problems.end());
        if (kind == LedFileKind::Powers) map.unread_powers = std::move(read.skipped);
    };
    take(layoutPath, LedFileKind::Layout, [&](size_t led, const std::vector<int>& v) {
        map.camera[led] = v[0];
        map.colcam[led] = v[2];
        map.filcam[led] = v[3];
    });
    LoadLedPositions(map, folder, problems);
    take(platform::ProgramPath(folder + "/" + kLedPowerName), LedFileKind::Powers,
         [&](size_t led, const std::vector<int>& v) { map.power[led] = v[1]; });
    return problems;
}

bool LoadLedPositions(LedMap& map, const std::string& folder, std::vector<std::string>& problems)
{
    LedFileRead read = ReadLedFile(platform::ProgramPath(folder + "/" + kLedPositionsName), LedFileKind::Positions);
    if (!read.found) return false;
    for (LedMap::Table* t : {&map.x1, &map.x2, &map.y1, &map.y2}) t->fill(0);
    for (const auto& r : read.rows) {
        const size_t led = size_t(RowLed(r, LedFileKind::Positions));
        map.x1[led] = r.values[1];
        map.x2[led] = r.values[2];
        map.y1[led] = r.values[3];
        map.y2[led] = r.values[4];
    }
    map.unread_positions = std::move(read.skipped);
    problems.insert(problems.end(), read.problems.begin(), read.problems.end());
    return true;
}

namespace {

// The rows of a map file: each LED's row from the tables, or the row the load skipped for it
// while the LED is untouched; then the skipped rows that named no LED.
std::vector<std::string> mapRows(const std::vector<UnreadRow>& unread, const std::function<bool(size_t)>& untouched,
                                 const std::function<std::string(size_t)>& rowOf)
{
    std::vector<const std::string*> kept(size_t(kLedCount), nullptr);
    for (const UnreadRow& u : unread)
        if (u.led >= 0 && u.led < kLedCount) kept[size_t(u.led)] = &u.text;
    std::vector<std::string> rows;
    for (size_t i = 0; i < size_t(kLedCount); ++i)
        rows.push_back(kept[i] && untouched(i) ? *kept[i] : rowOf(i));
    for (const UnreadRow& u : unread)
        if (u.led < 0) rows.push_back(u.text);
    return rows;
}

}  // namespace

bool WriteLedPositions(const LedMap& map, const std::string& folder)
{
    std::vector<std::string> lines{platform::Quoted(kMapTitle), "\"led\",\"x1\",\"x2\",\"y1\",\"y2\""};
    const auto rows = mapRows(
        map.unread_positions,
        [&](size_t i) { return map.x1[i] == 0 && map.x2[i] == 0 && map.y1[i] == 0 && map.y2[i] == 0; },
        [&](size_t i) { return row({int(i), map.x1[i], map.x2[i], map.y1[i], map.y2[i]}); });
    lines.insert(lines.end(), rows.begin(), rows.end());
    return writeInto(folder, kLedPositionsName, lines);
}

bool WriteLedPower(const LedMap& map, const std::string& folder)
{
    std::vector<std::string> lines{platform::Quoted(kMapTitle), "\"led\",\"power\""};
    const auto rows = mapRows(
        map.unread_powers, [&](size_t i) { return map.power[i] == 0; },
        [&](size_t i) { return row({int(i), map.power[i]}); });
    lines.insert(lines.end(), rows.begin(), rows.end());
    return writeInto(folder, kLedPowerName, lines);
}

std::string ProblemText(const std::vector<std::string>& problems)
{
    std::string s;
    for (const auto& p : problems) {
        if (!s.empty()) s += " / ";
        s += p;
    }
    return s;
}

}  // namespace tirmo::lighting
