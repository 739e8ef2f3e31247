#include "reports/ReportWriter.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "reports/AcquisitionFiles.h"
#include "reports/ReportEngine.h"

namespace tirmo::reports {

const char* const kBinWarning =
    "Warning Message:\r\n\r\nRebining of data implemented from Software Version >V1.6\r\n"
    "Activity counts are now extrapolated in one minute resolution timeframes\r\n\r\n"
    "[Refer to Installation guide for more information]";

namespace {

struct ReportFailure {};
// A file the report needs holds what no program writes: its message names it, and no report
// is made.
struct ReportRefused {
    std::string message;
};

std::string DateText(std::chrono::system_clock::time_point now)
{
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return buf;
}

bool WriteAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

bool MapPlotFormat(const std::string& format) { return format == "w6" || format == "w24" || format == "p35"; }

// The factor file's factors; a damaged one refuses the report, one without factors is noted.
void ReadFactors(const std::string& folder, Corrections& c, std::string& note)
{
    const FactorRead read = ReadFactorCorrection(folder, c);
    if (!read.refusal.empty()) throw ReportRefused{read.refusal};
    note = read.note;
}

// Step 9 of a report: which internal-reference factors apply, and their stamp.
void LoadFactors(const std::string& folder, const std::string& format, const ReportOptions& options,
                 const ReportEnvironment& env, Corrections& c, std::string& note)
{
    if (options.intref == InternalReference::No) return;
    auto recompute = [&] {
        std::optional<std::array<double, kCorrectionEntries>> factors;
        if (env.compute_internal_reference)
            factors = env.compute_internal_reference(folder, format, ReadSerialFile(folder));
        if (factors)
            c.well_factor = *factors;
        else
            ReadFactors(folder, c, note);
    };
    if (platform::FileExists(InFolder(folder, "factor_correction.txt"))) {
        if (options.intref == InternalReference::Apply)
            ReadFactors(folder, c, note);
        else
            recompute();
    } else {
        if (env.message) env.message(kFactorsUpdated);
        recompute();
    }
    c.factor_stamp = ReadFactorCorrectionStamp(folder);
}

}  // namespace

std::string ReportBaseName(std::chrono::system_clock::time_point now)
{
    return platform::FormatDate(now, "yyyymmddhhmmss") + "_report";
}

std::optional<std::string> WriteNewFile(const std::string& folder, const std::string& base,
                                        const std::string& extension, const std::string& bytes)
{
    const std::string dir = platform::ResolvePath(folder);
    // Hidden until complete; the ending names this process, so that the next start can tell
    // what a killed one left.
    const std::string ending = platform::TemporarySuffix();
    std::string temp = InFolder(dir, "." + base + ".XXXXXX" + ending);
    const int fd = ::mkstemps(temp.data(), int(ending.size()));
    if (fd < 0) return std::nullopt;
    const bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written) {
        ::unlink(temp.c_str());
        return std::nullopt;
    }
    ::chmod(temp.c_str(), 0644);  // mkstemp makes it private; a report is an ordinary file
    for (int n = 1; n < 10000; ++n) {
        const std::string target = InFolder(dir, base + (n == 1 ? "" : "_" + std::to_string(n)) + extension);
        // A hard link gives the file its name only when the name is free, in one step, so a
        // report made in the same second never replaces another.
        if (::link(temp.c_str(), target.c_str()) == 0) {
            ::unlink(temp.c_str());
            return target;
        }
        if (errno == EEXIST) continue;
        // A file system without hard links: take the name when it is free.
        if (platform::FileExists(target)) continue;
        if (std::rename(temp.c_str(), target.c_str()) == 0) return target;
        break;
    }
    ::unlink(temp.c_str());
    return std::nullopt;
}

ReportOutcome GenerateReport(const AcquisitionData& data, const std::string& folder, const ReportOptions& options,
                             const ReportEnvironment& env)
{
    ReportOutcome out;
    out.bin_text = options.bin_text;
    auto say = [&](const std::string& text) {
        if (env.message) env.message(text);
    };
    try {
        const std::string extension = options.extension == ".csv" ? ".csv" : ".txt";
        out.folder = platform::FolderExists(folder) ? folder : platform::ProgramPath("reports");
        ReportOptions opts = options;
        if (opts.layout == ReportLayout::MapPlot) {
            if (!MapPlotFormat(data.plate_format)) {
                say(kMapPlotFormats);
                out.result = ReportOutcome::Result::Refused;
                return out;
            }
            opts.bin_text = kScanTime;
            out.bin_text = kScanTime;
        }
        const std::string serialTag = env.serial_number >= 1 ? "SN" + std::to_string(env.serial_number) : "";
        platform::MakeFolder(platform::ProgramPath("reports"));
        platform::MakeFolder(platform::ProgramPath("reports/_internal_reference" + serialTag));

        ReportInputs inputs;
        ParseBlankFile(data.plate_format, out.folder, inputs.corrections, env.message);
        LoadFactors(out.folder, data.plate_format, opts, env, inputs.corrections, out.note);
        if (opts.bin_text != kScanTime) say(kBinWarning);
        if (opts.layout == ReportLayout::MapPlot || opts.layout == ReportLayout::Bmp) {
            out.result = opts.layout == ReportLayout::MapPlot ? ReportOutcome::Result::MapPlot
                                                               : ReportOutcome::Result::Nothing;
            return out;
        }
        inputs.folder = out.folder;
        inputs.subproject = ReportSubprojectName(out.folder);
        inputs.date_text = DateText(env.now);
        const ReportText text = BuildReport(data, inputs, opts);
        out.bin_text = text.bin_text;
        if (!text.note.empty()) out.note += (out.note.empty() ? "" : "; ") + text.note;
        const auto path = WriteNewFile(out.folder, ReportBaseName(env.now), extension, text.bytes);
        if (!path) throw ReportFailure{};
        out.path = *path;
        out.result = ReportOutcome::Result::Written;
    } catch (const ReportRefused& refused) {
        say(refused.message);
        out.result = ReportOutcome::Result::Refused;
        out.note.clear();
    } catch (...) {
        // Whatever went wrong (a folder that cannot be written, memory), no report is left
        // half-written and the panel stays open for another try.
        say(kReportError);
        out.result = ReportOutcome::Result::Failed;
        out.path.clear();
    }
    return out;
}

}  // namespace tirmo::reports
