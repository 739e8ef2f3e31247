#include "chemotaxis/ChemotaxisProcessing.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "chemotaxis/ChemotaxisReport.h"
#include "chemotaxis/ChemotaxisPictures.h"
#include "platform/Convert.h"
#include "platform/Launcher.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "plate/WellGroups.h"
#include "reports/AcquisitionFiles.h"
#include "reports/ReportWriter.h"

namespace tirmo::chemotaxis {

std::optional<ChemotaxisPlate> PlateOf(const std::string& format)
{
    if (format == "w96f") return ChemotaxisPlate{96, 8, 4, 1};
    if (format == "w48") return ChemotaxisPlate{48, 6, 3, 1};
    if (format == "w12") return ChemotaxisPlate{12, 3, 2, 1};
    if (format == "w24") return ChemotaxisPlate{24, 4, 2, 2};
    if (format == "w6" || format == "p35") return ChemotaxisPlate{6, 2, 1, 1};
    return std::nullopt;
}

int WellIndexOf(const std::string& name, int rows, int wells)
{
    if (name.size() < 2 || rows < 1) return -1;
    const int row = name[0] - 'A';
    int column = 0;
    for (size_t k = 1; k < name.size(); ++k) {
        if (!std::isdigit(static_cast<unsigned char>(name[k])) || column > 1000) return -1;
        column = column * 10 + (name[k] - '0');
    }
    if (row < 0 || row >= rows || column < 1) return -1;
    const int well = (column - 1) * rows + row;
    return well < wells ? well : -1;
}

std::string ImageFolder(const std::string& acquisition_folder, bool three_point)
{
    return reports::InFolder(acquisition_folder, three_point ? "3scans_images" : "1scans_images");
}

std::string FrameFileName(const std::string& well, int scan) { return well + "_" + platform::Format(scan, "0000") + ".bmp"; }

std::string ChartFileName(const std::string& code, const std::string& well)
{
    std::string lower = well;
    for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
    return code + "_" + lower + ".bmp";
}

std::vector<std::string> ReadGroupLabels(const std::string& acquisition_folder, int wells)
{
    std::vector<std::string> labels(size_t(std::max(wells, 0)));
    const auto lines = platform::ReadLines(platform::ResolvePath(reports::InFolder(acquisition_folder, "chgroup.dat")));
    if (!lines) return labels;
    for (size_t k = 1; k < lines->size(); ++k) {
        const auto row = plate::WellGroups::ParseRow((*lines)[k]);
        // Rows of wells the plate does not have are left alone.
        if (!row || row->well >= wells) continue;
        const std::string digits = platform::Format(std::abs(row->group), "000");
        labels[size_t(row->well)] = (row->group < 0 ? "-" : "") + digits + "_" + row->name;
    }
    return labels;
}

BlockGeometry MeasureBlock(const std::vector<const reports::PixelActivityLine*>& rows)
{
    BlockGeometry g;
    bool first = true;
    int last = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        const auto& counts = rows[i]->counts;
        const auto data = std::find_if(counts.begin(), counts.end(), [](int32_t v) { return v != -1; });
        if (data == counts.end()) continue;
        const int lead = int(data - counts.begin());
        const int lastData = int(std::find_if(counts.rbegin(), counts.rend(), [](int32_t v) { return v != -1; }).base() -
                                 counts.begin()) - 1;
        if (first) {
            g.first_row = int(i);
            g.lead = lead;
            first = false;
        }
        g.lead = std::min(g.lead, lead);
        last = std::max(last, lastData);
        ++g.height;
    }
    g.width = first ? 0 : last - g.lead + 1;
    return g;
}

namespace {

std::string FileErrorText(int camera, int window)
{
    return "File error c" + std::to_string(camera) + "b" + std::to_string(window) + ".csv";
}

class Processing {
public:
    Processing(const ProcessSettings& s, const ProcessView& v) : s_(s), v_(v) {}
    ProcessResult Run();

private:
    bool running() const { return !v_.running || v_.running(); }
    void say(const std::string& text) const
    {
        if (v_.message) v_.message(text);
    }
    std::string path(int camera, int window) const
    {
        return platform::ResolvePath(reports::InFolder(s_.folder, reports::PixelActivityFileName(camera, window)));
    }
    void status(const std::string& text) const
    {
        if (v_.status && !text.empty()) v_.status(text);
    }
    // Reads every file once for the scans held and their times; false (with the message
    // shown) for a damaged file, a stop, or when no file holds a scan.
    bool Survey();
    // Reads block j of a file; false when the run ends on it (error or stop).
    bool ProcessBlock(int camera, int window, int j);
    bool WriteReport();

    const ProcessSettings& s_;
    const ProcessView& v_;
    ChemotaxisPlate plate_;
    std::string images_;
    // The scans the files hold, ascending; the frames, sums, charts and report count them from
    // 0 to last_. A run leaves a camera's scans out while the camera is taken out of use, and
    // a number no file holds is no scan of the recording.
    std::vector<long> scans_;
    int last_ = 0;
    std::vector<std::optional<double>> times_;
    std::vector<std::string> labels_;
    std::optional<SideSumStore> sums_;
    ProcessResult result_;
};

bool Processing::Survey()
{
    std::map<long, double> times;
    for (int c = 0; c < 6; ++c) {
        for (int w = 0; w < plate_.windows; ++w) {
            reports::PixelActivityReader reader(path(c, w));
            reports::PixelActivityBlock block;
            while (running() && reader.Next(block)) times.emplace(block.scan, block.minutes);
            if (!running()) return false;
            if (!reader.error().empty()) {
                status(reader.error());
                say(FileErrorText(c, w));
                return false;
            }
            result_.negative_counts += reader.negative_counts();
        }
    }
    if (times.empty()) {
        say(kErrorFile);
        return false;
    }
    for (const auto& [scan, minutes] : times) {
        scans_.push_back(scan);
        times_.push_back(minutes);
    }
    last_ = int(scans_.size()) - 1;
    status(reports::NegativeCountsNote(result_.negative_counts));
    return true;
}

bool Processing::ProcessBlock(int camera, int window, int j)
{
    const std::string file = path(camera, window);
    reports::PixelActivityReader first(file);
    if (!first.is_open()) return true;  // a camera the run did not use
    reports::PixelActivityBlock block;
    if (!first.Next(block)) {
        if (first.error().empty()) return true;  // no whole block: a camera without data
        status(first.error());
        say(FileErrorText(camera, window));
        return false;
    }
    // Block j is the j-th well the file's first scan names.
    std::vector<std::string> names;
    for (const auto& line : block.lines)
        if (names.empty() || names.back() != line.well) names.push_back(line.well);
    if (size_t(j) >= names.size()) return true;
    const std::string name = names[size_t(j)];
    const int well = WellIndexOf(name, plate_.rows, plate_.wells);
    if (well < 0) return true;  // no well of this plate: nothing to show or sum
    auto rowsOf = [&name](const reports::PixelActivityBlock& b) {
        std::vector<const reports::PixelActivityLine*> rows;
        for (const auto& line : b.lines)
            if (line.well == name) rows.push_back(&line);
        return rows;
    };
    const BlockGeometry g = MeasureBlock(rowsOf(block));

    if (v_.frames) v_.frames(last_);
    if (v_.well) v_.well(name);
    const std::string code = s_.kind ? IndexCode(*s_.kind) : "";
    const std::string label = labels_[size_t(well)];
    Canvas chart(s_.chart_width, s_.chart_height);
    PlotIndexChart(chart, name + "[" + code + "] G" + label, last_);
    Canvas frame(s_.frame_width, s_.frame_height);
    FrameGrid grid(g.width, g.height);
    const FrameLook look{s_.red_cross, s_.grey};
    double live = 0;
    auto saveChart = [&] {
        if (!code.empty()) chart.SaveBmp(reports::InFolder(images_, ChartFileName(code, name)));
    };

    reports::PixelActivityReader reader(file);
    while (running() && reader.Next(block)) {
        // A block a run still writing appended after the survey has no place in the sums.
        const auto held = std::lower_bound(scans_.begin(), scans_.end(), block.scan);
        if (held == scans_.end() || *held != block.scan) continue;
        const int s = int(held - scans_.begin());
        grid.Clear();
        SideAccumulator sides(g.width, g.height);
        const auto rows = rowsOf(block);
        for (size_t i = 0; i < rows.size(); ++i) {
            const int y = int(i) - g.first_row;
            if (y < 0 || y > g.height) continue;
            const auto& counts = rows[i]->counts;
            for (int x = 0; x < g.width; ++x) {
                const size_t field = size_t(g.lead + x);
                if (field >= counts.size()) break;
                const int32_t v = counts[field];
                grid.set(x, y, v < 0 ? -1 : v);
                if (v > 0) sides.AddPixel(x, y, v);
            }
            sides.CloseRow(y);
        }
        sums_->Set(well, s, sides.sums());

        const double before = live;
        if (s_.kind) live = LiveIndex(sides.sums(), *s_.kind);
        if (s >= 1) DrawIndexStep(chart, s, before, live);
        if (IsTimeMark(s, last_)) DrawTimeMark(chart, s, block.minutes);
        DrawWellFrame(frame, grid, name + "[" + platform::NumberText(block.minutes) + "m]", look);
        // Thousands of frames a run: each is put in place whole, without waiting for the disk.
        if (frame.SaveBmp(reports::InFolder(images_, FrameFileName(name, s)), false)) ++result_.frames;
        if (v_.frame_done) v_.frame_done(frame.image(), chart.image(), s + 1);
    }
    saveChart();
    if (!reader.error().empty() && running()) {
        status(reader.error());
        say(FileErrorText(camera, window));
        return false;
    }
    return running();
}

bool Processing::WriteReport()
{
    ChemotaxisReportInputs in;
    in.date_text = platform::FormatDate(s_.now, "yyyy/mm/dd_hh:mm:ss");
    in.folder = s_.folder;
    in.wells = plate_.wells;
    in.rows = plate_.rows;
    in.times = times_;
    in.labels = labels_;
    in.sums = &*sums_;
    in.window = s_.three_point ? 2 : 0;
    in.chosen = s_.kind;
    in.divider = s_.divider;
    in.decimal = s_.decimal;
    in.charset = s_.charset;
    const std::string bytes = BuildChemotaxisReport(in);

    Canvas chart(s_.chart_width, s_.chart_height);
    for (int well = 0; well < plate_.wells; ++well) {
        const std::string name = WellName(well, plate_.rows);
        for (IndexKind kind : kIndexKinds) {
            PlotIndexChart(chart, name + "[" + IndexReportName(kind) + "] G" + labels_[size_t(well)], last_);
            // A scan the well has no sums of has no point: no step leads to it or from it.
            std::optional<double> previous;
            for (int t = 0; t <= last_; ++t) {
                std::optional<double> index;
                if (sums_->Recorded(well, t)) index = WindowIndex(*sums_, well, kind, t, in.window);
                if (t >= 1 && previous && index) DrawIndexStep(chart, t, *previous, *index);
                if (IsTimeMark(t, last_) && times_[size_t(t)]) DrawTimeMark(chart, t, *times_[size_t(t)]);
                previous = index;
            }
            chart.SaveBmp(reports::InFolder(images_, ChartFileName(IndexCode(kind), name)));
        }
    }
    const std::string extension = s_.extension == ".csv" ? ".csv" : ".txt";
    const auto written = reports::WriteNewFile(platform::ResolvePath(s_.folder), reports::ReportBaseName(s_.now),
                                               extension, bytes);
    if (!written) {
        say(kReportError);
        return false;
    }
    result_.report = *written;
    return true;
}

ProcessResult Processing::Run()
{
    const auto plate = PlateOf(s_.format);
    plate_ = plate.value_or(ChemotaxisPlate{0, 1, 0, 0});
    images_ = platform::ResolvePath(ImageFolder(s_.folder, s_.three_point));
    platform::MakeFolder(images_);
    labels_ = ReadGroupLabels(s_.folder, plate_.wells);
    if (!Survey()) {
        result_.end = running() ? ProcessResult::End::Failed : ProcessResult::End::Stopped;
        return result_;
    }
    sums_.emplace(plate_.wells, last_);

    for (int c = 0; c < 6; ++c)
        for (int w = 0; w < plate_.windows; ++w)
            for (int j = 0; j < plate_.blocks; ++j) {
                if (!running()) {
                    result_.end = ProcessResult::End::Stopped;
                    return result_;
                }
                if (!ProcessBlock(c, w, j)) {
                    result_.end = running() ? ProcessResult::End::Failed : ProcessResult::End::Stopped;
                    return result_;
                }
            }
    if (!running()) {
        result_.end = ProcessResult::End::Stopped;
        return result_;
    }
    result_.end = WriteReport() ? ProcessResult::End::Done : ProcessResult::End::Failed;
    return result_;
}

}  // namespace

ProcessResult ProcessAcquisition(const ProcessSettings& settings, const ProcessView& view)
{
    return Processing(settings, view).Run();
}

}  // namespace tirmo::chemotaxis
