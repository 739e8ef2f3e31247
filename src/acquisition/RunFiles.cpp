#include "acquisition/RunFiles.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "link/Protocol.h"
#include "link/RunSettings.h"
#include "platform/Clock.h"
#include "platform/ConfigFiles.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"

namespace tirmo::acquisition {

bool WriteCameraMask(const std::string& path, const link::RunSettings& settings, link::Console& console)
{
    std::array<bool, 6> inUse;
    for (size_t i = 0; i < inUse.size(); ++i) inUse[i] = settings.CameraInUse(int(i));
    if (platform::WriteCameraMaskFile(path, inUse)) return true;
    console.SetStatus("Could not write the camera mask " + path);
    return false;
}
namespace {

std::string withoutQuotes(std::string_view text)
{
    std::string s;
    for (char c : text)
        if (c != '"') s += c;
    return s;
}

std::vector<std::string> activityHeader(std::string_view stamp, const char* title)
{
    return {platform::Quoted(stamp) + " " + platform::Quoted(title),
            platform::Quoted("Time[m]") + " " + platform::Quoted("Well") + " " + platform::Quoted("Accumulated_activity")};
}

std::string joined(const std::vector<std::string>& lines)
{
    size_t n = 0;
    for (const auto& l : lines) n += l.size() + platform::kLineEnd.size();
    std::string all;
    all.reserve(n);
    for (const auto& l : lines) {
        all += l;
        all += platform::kLineEnd;
    }
    return all;
}

}  // namespace

std::string PixelActivityFileName(int camera, int window)
{
    return "wellactivity" + std::to_string(camera) + std::to_string(window) + ".csv";
}

std::string RawFrameFileName(int camera, int window)
{
    return "lastread" + std::to_string(camera) + std::to_string(window) + ".csv";
}

std::string RunFilePath(const std::string& folder, std::string_view name)
{
    return platform::ResolvePath(folder + "/" + std::string(name));
}

std::string Tenths(double value, char decimal)
{
    std::string s = platform::Format(value, "0.0");
    for (char& c : s)
        if (c == '.') c = decimal;
    return s;
}

std::string Whole(double value) { return platform::Format(value, "0"); }

std::string SerialLine(int serialNumber) { return "SN" + std::to_string(serialNumber); }

std::vector<std::string> SubprojectLines(std::string_view title, std::string_view lapse, std::string_view format)
{
    return {std::string(title), "acq_time=" + std::string(lapse), "plate_format=" + std::string(format)};
}

std::vector<std::string> RawActivityHeader(std::string_view stamp)
{
    return activityHeader(stamp, "<Raw_activity_file_without_internal_factor_correction>");
}

std::vector<std::string> AdjustedActivityHeader(std::string_view stamp)
{
    return activityHeader(stamp, "<activity_file_adjusted_by_internal_factor_correction>");
}

std::vector<std::string> TemperatureHeader(std::string_view stamp)
{
    return {platform::Quoted(stamp), platform::Quoted("Time[m]") + " " + platform::Quoted("Temperature[C]")};
}

std::string LightLogHeader()
{
    return platform::Quoted("#scan") + "," + platform::Quoted("time[m]") + "," + platform::Quoted("light power[0=off]");
}

std::string ActivityRow(double minutes, std::string_view well, double value, char decimal)
{
    return Tenths(minutes, decimal) + " " + platform::Quoted(well) + " " + Whole(value);
}

std::string TemperatureRow(double minutes, double temperature, char decimal)
{
    return Tenths(minutes, decimal) + " " + Tenths(temperature, decimal);
}

std::string LightRow(long scan, double minutes, int power)
{
    return std::to_string(scan) + "," + platform::Quoted(Tenths(minutes, '.')) + "," + std::to_string(power);
}

std::optional<std::string> WriteStartingFiles(const std::string& folder, const StartingFiles& f)
{
    if (!platform::WriteLines(RunFilePath(folder, kSerialFile), {SerialLine(f.serial_number)})) return std::nullopt;
    if (!platform::WriteLines(RunFilePath(folder, kSubprojectFile), SubprojectLines(f.title, f.lapse, f.format)))
        return std::nullopt;
    const std::string stamp = platform::FormatDate(platform::WallNow(), kFileStampMask);
    if (!platform::WriteLines(RunFilePath(folder, kRawActivityFile), RawActivityHeader(stamp)) ||
        !platform::WriteLines(RunFilePath(folder, kAdjustedActivityFile), AdjustedActivityHeader(stamp)) ||
        !platform::WriteLines(RunFilePath(folder, kTemperatureFile), TemperatureHeader(stamp)))
        return std::nullopt;
    return stamp;
}

bool CreateLightLog(const std::string& folder)
{
    return AppendLines(RunFilePath(folder, kLightLogFile), {LightLogHeader()});
}

bool AppendLines(const std::string& path, const std::vector<std::string>& lines)
{
    const int fd = ::open(platform::ResolvePath(path).c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    struct stat before {};
    const bool sized = ::fstat(fd, &before) == 0;
    // The whole block in one write: a process killed while it appends leaves at most one cut
    // line at the end, which the readers leave out. Only a disk that fills part-way needs more.
    const std::string text = joined(lines);
    size_t done = 0;
    bool good = true;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            good = false;
            break;
        }
        done += size_t(n);
    }
    // Never leave a part of a line behind for the readers; should the cut fail, they still leave
    // out the cut line.
    if (!good && done > 0 && sized && ::ftruncate(fd, before.st_size) != 0) good = false;
    return ::close(fd) == 0 && good;
}

bool WriteWindowRecords(const std::string& folder, const WindowRecords& r)
{
    bool good = AppendLines(RunFilePath(folder, kLightLogFile), {r.light_row});
    if (r.raw_frames) {
        const std::string raw = RunFilePath(folder, RawFrameFileName(r.camera, r.window));
        // The last read is replaced after every window: waiting for the disk each time would cost
        // the run more than the file is worth after a power cut.
        good = (r.raw_append ? AppendLines(raw, r.raw_frame_lines)
                             : platform::WriteLines(raw, r.raw_frame_lines, /*durable=*/false)) &&
               good;
        good = AppendLines(RunFilePath(folder, PixelActivityFileName(r.camera, r.window)), r.pixel_activity_lines) && good;
    }
    good = AppendLines(RunFilePath(folder, kRawActivityFile), r.activity_rows) && good;
    good = AppendLines(RunFilePath(folder, kAdjustedActivityFile), r.adjusted_rows) && good;
    good = AppendLines(RunFilePath(folder, kTemperatureFile), {r.temperature_row}) && good;
    return good;
}

std::optional<double> ReadDecimal(std::string_view text)
{
    std::string s = withoutQuotes(text);
    for (char& c : s)
        if (c == ',') c = '.';
    return platform::ParseNumber(s);
}

std::optional<ActivityRecord> ParseActivityRow(std::string_view line)
{
    const size_t first = line.find(' ');
    if (first == std::string_view::npos) return std::nullopt;
    const size_t second = line.find(' ', first + 1);
    if (second == std::string_view::npos) return std::nullopt;
    const auto minutes = ReadDecimal(line.substr(0, first));
    const auto value = ReadDecimal(line.substr(second + 1));
    if (!minutes || !value) return std::nullopt;
    return ActivityRecord{*minutes, withoutQuotes(line.substr(first + 1, second - first - 1)), *value};
}

std::optional<TemperatureRecord> ParseTemperatureRow(std::string_view line)
{
    const size_t blank = line.find(' ');
    if (blank == std::string_view::npos) return std::nullopt;
    const auto minutes = ReadDecimal(line.substr(0, blank));
    const auto temperature = ReadDecimal(line.substr(blank + 1));
    if (!minutes || !temperature) return std::nullopt;
    return TemperatureRecord{*minutes, *temperature};
}

}  // namespace tirmo::acquisition
