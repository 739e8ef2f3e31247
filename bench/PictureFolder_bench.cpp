// Writing pictures into a folder that already holds many files, as a long recording's chemotaxis
// frames or heat-map sequence do. The counter ratio_16000_over_1000 is the time a picture takes in
// a folder of 16,000 files over the time it takes in one of 1,000; the target is 1.3 or less.
// The two folders are written by turns, picture by picture, so that the disk's mood weighs on both
// alike; each iteration gives one ratio and the counter is their median.
#include <benchmark/benchmark.h>

#include <QImage>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Median.h"
#include "support/TempFolder.h"
#include "ui/PictureFile.h"

namespace {

using namespace tirmo;

constexpr int kPicturesPerIteration = 500;

void BM_PictureIntoFullFolder(benchmark::State& state)
{
    test::TempFolder dir;
    // The files held are names of one file: a folder's listing costs by its names, and new files of
    // both folders then get their places from the same part of the disk, so that what the file system
    // spends on finding a place weighs on both alike.
    const int held[2] = {1000, 16000};
    const std::string one = dir.path() + "/one.bmp";
    std::ofstream(one).put('x');
    std::string folders[2];
    for (int k = 0; k < 2; ++k) {
        folders[k] = dir.path() + "/held" + std::to_string(held[k]);
        std::filesystem::create_directories(folders[k]);
        for (int i = 0; i < held[k]; ++i)
            std::filesystem::create_hard_link(one, folders[k] + "/B2_" + std::to_string(100000 + i) + ".bmp");
    }
    QImage picture(200, 200, QImage::Format_RGB32);
    picture.fill(Qt::white);
    std::vector<double> ratios, microseconds[2];
    int next = 0;
    for (auto _ : state) {
        double seconds[2] = {0, 0};
        for (int n = 0; n < kPicturesPerIteration; ++n, ++next) {
            const std::string name = "/A1_" + std::to_string(next) + ".bmp";
            for (int k = 0; k < 2; ++k) {
                const auto t0 = std::chrono::steady_clock::now();
                const bool written = ui::WritePicture(picture, folders[k] + name, false);
                seconds[k] += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
                if (!written) {
                    state.SkipWithError("a picture was not written");
                    return;
                }
            }
        }
        ratios.push_back(seconds[1] / seconds[0]);
        for (int k = 0; k < 2; ++k) microseconds[k].push_back(seconds[k] * 1e6 / kPicturesPerIteration);
    }
    state.counters["ratio_16000_over_1000"] = bench::Median(ratios);
    state.counters["us_per_picture_1000"] = bench::Median(microseconds[0]);
    state.counters["us_per_picture_16000"] = bench::Median(microseconds[1]);
}

BENCHMARK(BM_PictureIntoFullFolder)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace
