#include "plate/BandFiles.h"

#include "platform/ConfigFiles.h"
#include "plate/PlateSpecFile.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"

namespace tirmo::plate {
namespace {

// Cameras 0..5 have band lines; camera 6 (none) is never written nor reset.
constexpr int kCameraBandsWritten = 6;

std::string withoutSlash(std::string_view folder)
{
    while (!folder.empty() && (folder.front() == '\\' || folder.front() == '/')) folder.remove_prefix(1);
    return std::string(folder);
}

std::string bandPath(std::string_view folder, std::string_view format, const char* suffix)
{
    return platform::ProgramPath(withoutSlash(folder) + "\\" + std::string(format) + suffix);
}

std::vector<std::string> withTitle(std::string_view format, const char* kind, const char* axis,
                                   std::vector<std::string> lines)
{
    if (lines.empty()) return lines;
    std::vector<std::string> all{"\"" + std::string(format) + " " + kind + " format\"",
                                 "\"camera\", \"" + std::string(axis) + "\", \"start\", \"end\""};
    all.insert(all.end(), lines.begin(), lines.end());
    return all;
}

bool writeDefault(const std::string& folder, const std::string& path, const std::vector<std::string>& lines)
{
    const std::string dir = platform::ProgramPath(folder);
    if (!platform::FolderExists(dir) && !platform::MakeFolder(dir)) return false;
    return platform::WriteLines(path, lines);
}

bool wholeNumber(const std::string& text, int& out)
{
    try {
        out = platform::WholeNumber16(text);
        return true;
    } catch (const platform::NumberError&) {
        return false;
    }
}

template <int N>
std::vector<std::string> bandLines(const Bands<N>& bands)
{
    std::vector<std::string> lines;
    for (int camera = 0; camera < kCameraBandsWritten; ++camera) {
        const size_t c = size_t(camera);
        if (bands.last[c] == -1) continue;
        for (int i = 0; i <= bands.last[c] - bands.first[c] && i < N; ++i)
            lines.push_back(std::to_string(camera) + "," + std::to_string(bands.first[c] + i) + "," +
                            std::to_string(bands.start[c][size_t(i)]) + "," + std::to_string(bands.end[c][size_t(i)]));
    }
    return lines;
}

}  // namespace

std::string BandFolder(int serialNumber)
{
    return serialNumber >= 1 ? "config_SN" + std::to_string(serialNumber) : "config";
}

std::string ColumnFilePath(std::string_view folder, std::string_view format)
{
    return bandPath(folder, format, "_col.dat");
}
std::string RowFilePath(std::string_view folder, std::string_view format)
{
    return bandPath(folder, format, "_row.dat");
}

std::vector<std::string> DefaultColumnLines(std::string_view format)
{
    if (format == "w6" || format == "p35")
        return withTitle(format, "column", "column",
                         {"0,0,5,140", "1,0,5,140", "2,1,5,140", "3,1,5,140", "4,2,5,140", "5,2,5,140"});
    if (format == "w24")
        return withTitle(format, "column", "column",
                         {"0,0,5,75", "0,1,75,142", "1,0,5,75", "1,1,75,142", "2,2,5,75", "2,3,75,142", "3,2,5,75",
                          "3,3,75,142", "4,4,5,75", "4,5,75,142", "5,4,5,75", "5,5,75,142"});
    return {};
}

std::vector<std::string> DefaultRowLines(std::string_view format)
{
    if (format == "w6" || format == "p35")
        return withTitle(format, "row", "row",
                         {"0,0,10,165", "1,1,10,165", "2,0,10,165", "3,1,10,165", "4,0,10,165", "5,1,10,165"});
    if (format == "w24")
        return withTitle(format, "row", "row",
                         {"0,0,10,90", "0,1,90,170", "1,2,10,90", "1,3,90,170", "2,0,10,90", "2,1,90,170", "3,2,10,90",
                          "3,3,90,170", "4,0,10,90", "4,1,90,170", "5,2,10,90", "5,3,90,170"});
    return {};
}

bool WriteW6ColumnFile(const std::string& f)
{
    return writeDefault(f, ColumnFilePath(f, "w6"), DefaultColumnLines("w6"));
}
bool WriteP35ColumnFile(const std::string& f)
{
    return writeDefault(f, ColumnFilePath(f, "p35"), DefaultColumnLines("p35"));
}
bool WriteW24ColumnFile(const std::string& f)
{
    return writeDefault(f, ColumnFilePath(f, "w24"), DefaultColumnLines("w24"));
}
bool WriteP35RowFile(const std::string& f) { return writeDefault(f, RowFilePath(f, "p35"), DefaultRowLines("p35")); }
bool WriteW6RowFile(const std::string& f) { return writeDefault(f, RowFilePath(f, "w6"), DefaultRowLines("w6")); }
bool WriteW24RowFile(const std::string& f) { return writeDefault(f, RowFilePath(f, "w24"), DefaultRowLines("w24")); }

template <int N>
ReadReport ReadBandFile(const std::string& path, Bands<N>& bands)
{
    return ReadPlateFile(path, [&bands](const std::string& text, std::string& reason) {
        const auto f = platform::SplitFields(text);
        int v[4] = {0, 0, 0, 0};
        bool sound = f.size() == 4;
        for (size_t k = 0; sound && k < 4; ++k) sound = wholeNumber(f[k], v[k]);
        if (!sound) {
            reason = f.size() != 4 ? "not four fields" : "not whole numbers";
            return LineVerdict::Unsound;
        }
        const int camera = v[0], band = v[1];
        if (camera < 0 || camera >= kBandCameras || band < 0) return LineVerdict::Skipped;
        const size_t c = size_t(camera);
        const int first = bands.first[c] == -1 ? band : bands.first[c];
        const int local = band - first;
        if (local < 0 || local >= N) return LineVerdict::Skipped;
        bands.first[c] = first;
        bands.start[c][size_t(local)] = v[2];
        bands.end[c][size_t(local)] = v[3];
        bands.last[c] = band;
        return LineVerdict::Taken;
    });
}

template ReadReport ReadBandFile<13>(const std::string&, Bands<13>&);
template ReadReport ReadBandFile<9>(const std::string&, Bands<9>&);

std::vector<ReadReport> ReadFormatFiles(const std::string& format, int serialNumber, const FormatTables& t)
{
    const std::string folder = BandFolder(serialNumber);
    for (int camera = 0; camera < kCameraBandsWritten; ++camera) {
        t.column_bands.first[size_t(camera)] = t.column_bands.last[size_t(camera)] = -1;
        t.row_bands.first[size_t(camera)] = t.row_bands.last[size_t(camera)] = -1;
    }
    std::vector<ReadReport> reports;
    reports.push_back(ReadBandFile(ColumnFilePath(folder, format), t.column_bands));
    reports.push_back(ReadBandFile(RowFilePath(folder, format), t.row_bands));

    // The labels come from the format's _spc.dat in config: a column label is the well name after
    // its first letter, a row label that letter.
    ReadReport labels =
        ReadPlateFile(SpecFilePath("\\config", format), [&t](const std::string& text, std::string& reason) {
            const auto l = ParseSpecLine(text, reason);
            if (!l) return LineVerdict::Unsound;
            if (!ColumnBands::InBounds(l->camera, l->column) || !RowBands::InBounds(l->camera, l->row))
                return LineVerdict::Skipped;
            t.column_labels[size_t(l->camera)][size_t(l->column)] = l->name.empty() ? "" : l->name.substr(1);
            t.row_labels[size_t(l->camera)][size_t(l->row)] = l->name.substr(0, 1);
            return LineVerdict::Taken;
        });
    if (labels.found) reports.push_back(labels);
    return reports;
}

bool WriteFormatFiles(const std::string& format, int serialNumber, const ColumnBands& column_bands,
                      const RowBands& row_bands)
{
    const std::string folder = BandFolder(serialNumber);
    const std::string dir = platform::ProgramPath(folder);
    if (!platform::FolderExists(dir) && !platform::MakeFolder(dir)) return false;
    auto write = [&](const std::string& path, const char* kind, const char* axis, std::vector<std::string> lines) {
        std::vector<std::string> all{"\"" + format + " " + kind + " format\"",
                                     "\"camera\",\"" + std::string(axis) + "\",\"start\",\"end\""};
        all.insert(all.end(), lines.begin(), lines.end());
        return platform::WriteLines(path, all);
    };
    const bool columns = write(ColumnFilePath(folder, format), "column", "column", bandLines(column_bands));
    const bool rows = write(RowFilePath(folder, format), "row", "row", bandLines(row_bands));
    return columns && rows;
}

namespace {

// What keeps a shared band file from being installed: "cannot be read", "is damaged" (a line
// that is not four whole numbers, or no band line at all); empty when it is sound.
std::string bandSourceProblem(const std::string& path)
{
    const bool columns = path.size() >= 8 && platform::ToLower(path.substr(path.size() - 8)) == "_col.dat";
    ReadReport report;
    if (columns) {
        ColumnBands bands;
        report = ReadBandFile(path, bands);
    } else {
        RowBands bands;
        report = ReadBandFile(path, bands);
    }
    if (!report.found) return "cannot be read";
    if (report.stoppedAtLine != 0 || report.linesTaken == 0) return "is damaged";
    return {};
}

}  // namespace

void InstallFormatFiles(const std::string& folder, const std::function<void(const std::string&)>& report)
{
    struct Item {
        const char* file;
        bool (*writer)(const std::string&);
    };
    const Item items[] = {{"w6_col.dat", WriteW6ColumnFile},   {"w6_row.dat", WriteW6RowFile},
                          {"p35_col.dat", WriteP35ColumnFile}, {"p35_row.dat", WriteP35RowFile},
                          {"w24_col.dat", WriteW24ColumnFile}, {"w24_row.dat", WriteW24RowFile}};
    auto tell = [&report](const std::string& text) {
        if (report) report(text);
    };
    const std::string dir = withoutSlash(folder);
    platform::MakeFolder(platform::ProgramPath(dir));
    for (const Item& item : items) {
        const std::string target = platform::ProgramPath(dir + "\\" + item.file);
        if (platform::FileExists(target)) continue;
        const std::string sharedName = std::string("config/") + item.file;
        const std::string shared = platform::ProgramPath(sharedName);
        if (platform::FileExists(shared)) {
            // A shared file that cannot be used would put the wells in the wrong places: the
            // built-in one stands in for it.
            const std::string problem = bandSourceProblem(shared);
            if (problem.empty()) {
                if (platform::CopyTextFile(shared, target)) continue;
                tell("Not installed: " + dir + "/" + item.file + " cannot be written");
                continue;
            }
            tell(sharedName + " " + problem + ": built-in " + item.file + " installed");
        }
        if (!item.writer("\\" + dir)) tell("Not installed: " + dir + "/" + item.file + " cannot be written");
    }
}

}  // namespace tirmo::plate
