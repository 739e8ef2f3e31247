// The chemotaxis processing of a 3-hour w6 recording (a scan every 20 seconds: 541 scans of six
// wells, each well a round block of 40 image columns of 44 pixels), from its per-pixel activity
// files to the frames, charts and report. The counter chemo_read_multiple is the processing's
// time over the time of reading the same files once and writing the same number of frames with
// QImageWriter once; the target is 2 or less.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QImageWriter>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

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

void BM_ChemotaxisProcessing(benchmark::State& state)
{
    ThreeHourRecording recording;
    const std::string& dir = recording.folder.path();
    chemotaxis::ProcessSettings settings;
    settings.folder = dir;
    settings.format = "w6";
    settings.kind = chemotaxis::IndexKind::QuadLeft;
    double baseMs = 0, processMs = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
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
        const auto t1 = std::chrono::steady_clock::now();
        const chemotaxis::ProcessResult result = chemotaxis::ProcessAcquisition(settings, {});
        const auto t2 = std::chrono::steady_clock::now();
        if (result.end != chemotaxis::ProcessResult::End::Done || result.frames != blocks) {
            state.SkipWithError("the processing did not write every frame");
            break;
        }
        baseMs += std::chrono::duration<double, std::milli>(t1 - t0).count();
        processMs += std::chrono::duration<double, std::milli>(t2 - t1).count();
        std::filesystem::remove_all(dir + "/plain");
        std::filesystem::remove_all(dir + "/1scans_images");
        std::filesystem::remove(result.report);
    }
    if (baseMs > 0) {
        state.counters["chemo_read_multiple"] = processMs / baseMs;
        state.counters["read_write_ms"] = baseMs / double(state.iterations());
        state.counters["process_ms"] = processMs / double(state.iterations());
    }
}

BENCHMARK(BM_ChemotaxisProcessing)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

}  // namespace
