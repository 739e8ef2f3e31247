// The chemotaxis processing of a 3-hour w6 recording (a scan every 20 seconds: 541 scans of six
// wells, each well a round block of 40 image columns of 44 pixels), from its per-pixel activity
// files to the frames, charts and report. The counter chemo_read_multiple is the processing's
// time over the time of reading the same files once and writing the same number of frames with
// QImageWriter once, measured side by side; the target is 2 or less.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QImageWriter>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "Median.h"
#include "chemotaxis/ChemotaxisProcessing.h"
#include "reports/PixelActivityFile.h"
#include "support/TempFolder.h"

namespace {

using namespace tirmo;

constexpr int kScans = 541;
constexpr int kColumns = 40;
constexpr int kPixels = 44;

struct ThreeHourRecording {
    test::TempFolder folder;

    ThreeHourRecording()
    {
        for (int camera = 0; camera < 6; ++camera) {
            const std::string well = std::string(1, char('A' + camera % 2)) + std::to_string(camera / 2 + 1);
            std::ofstream out(folder.path() + "/" + reports::PixelActivityFileName(camera, 0), std::ios::binary);
            for (int scan = 0; scan < kScans; ++scan) {
                std::string block = "scan," + std::to_string(scan) + "\r\ntime[m],\"" + std::to_string(scan / 3) +
                                    "." + std::to_string(scan % 3 * 3) + "\"\r\n";
                for (int c = 0; c < kColumns; ++c) {
                    block += well + "," + std::to_string(20 + c);
                    for (int p = 0; p < kPixels; ++p) {
                        const int dx = 2 * c - kColumns, dy = 2 * p - kPixels;
                        if (dx * dx + dy * dy > kColumns * kColumns) {
                            block += ",-";
                            continue;
                        }
                        const int v = (c * 31 + p * 17 + scan * 7 + camera) % 53;
                        block += "," + std::to_string(v > 45 ? (v - 45) * 40 : 0);
                    }
                    block += "\r\n";
                }
                out << block << "\r\n";
            }
        }
    }
};

// The plain part: the same files read once, the same number of frames written with QImageWriter
// into a new folder beside the recording, as the processing writes its own. The number of blocks.
long ReadAndWritePlainly(const std::string& dir, const chemotaxis::ProcessSettings& settings)
{
    long blocks = 0;
    for (int camera = 0; camera < 6; ++camera) {
        reports::PixelActivityReader reader(dir + "/" + reports::PixelActivityFileName(camera, 0));
        reports::PixelActivityBlock block;
        while (reader.Next(block)) ++blocks;
    }
    std::filesystem::create_directories(dir + "/plain");
    QImage frame(settings.frame_width, settings.frame_height, QImage::Format_RGB32);
    frame.fill(Qt::white);
    for (long k = 0; k < blocks; ++k) {
        QImageWriter writer(QString::fromStdString(dir + "/plain/" + std::to_string(k) + ".bmp"), "bmp");
        writer.write(frame);
    }
    return blocks;
}

// Each iteration times the plain part and the processing one after the other, in turn first, each
// after what the last one wrote is moved aside and the disk has settled, so that both meet the disk
// alike; the counter is the median of the iterations' ratios.
void BM_ChemotaxisProcessing(benchmark::State& state)
{
    ThreeHourRecording recording;
    const std::string& dir = recording.folder.path();
    chemotaxis::ProcessSettings settings;
    settings.folder = dir;
    settings.format = "w6";
    settings.kind = chemotaxis::IndexKind::QuadLeft;
    std::vector<double> ratios, baseMs, processMs;
    // What a phase wrote is moved aside and emptied, not removed: the file system passes over the
    // places of files removed in the last minutes each time it makes a new one, so removing them
    // would slow every following phase by what the earlier ones wrote, whichever phase it is.
    int moved = 0;
    const auto settle = [&] {
        const std::string aside = dir + "/aside" + std::to_string(moved++);
        std::filesystem::create_directories(aside);
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            const std::string name = entry.path().filename().string();
            if (name == "plain" || name == "1scans_images" || name.find("_report") != std::string::npos)
                std::filesystem::rename(entry.path(), aside + "/" + name);
        }
        for (const auto& entry : std::filesystem::recursive_directory_iterator(aside))
            if (entry.is_regular_file()) std::filesystem::resize_file(entry.path(), 0);
        ::sync();
    };
    for (auto _ : state) {
        double base = 0, process = 0;
        long blocks = 0;
        chemotaxis::ProcessResult result;
        for (int turn = 0; turn < 2; ++turn) {
            settle();
            const auto t0 = std::chrono::steady_clock::now();
            if ((turn == 0) == (ratios.size() % 2 == 0)) {
                blocks = ReadAndWritePlainly(dir, settings);
                base = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
            } else {
                result = chemotaxis::ProcessAcquisition(settings, {});
                process = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
            }
        }
        if (result.end != chemotaxis::ProcessResult::End::Done || result.frames != blocks) {
            state.SkipWithError("the processing did not write every frame");
            break;
        }
        ratios.push_back(process / base);
        baseMs.push_back(base);
        processMs.push_back(process);
    }
    state.counters["chemo_read_multiple"] = bench::Median(ratios);
    state.counters["read_write_ms"] = bench::Median(baseMs);
    state.counters["process_ms"] = bench::Median(processMs);
}

BENCHMARK(BM_ChemotaxisProcessing)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace
