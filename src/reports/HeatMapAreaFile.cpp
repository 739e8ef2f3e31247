#include "reports/HeatMapAreaFile.h"

#include <ctime>

#include "platform/Convert.h"

namespace tirmo::reports {
namespace {

std::string reportDate(std::chrono::system_clock::time_point when)
{
    const std::time_t t = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M.%S", &local);
    return text;
}

}  // namespace

std::vector<std::string> AreaFileLines(const HeatMapStore& store, const AreaFileHeading& heading)
{
    std::vector<std::string> lines = {"Folder:," + heading.folder, "Report Date:," + reportDate(heading.written),
                                      "Project:," + heading.project, "Acquisition:," + heading.title, "",
                                      "WELL AREA OCCUPIED BY ACTIVITY[%]"};
    const int wells = store.plate.wells();
    std::string labels = "Time[m]";
    for (int w = 0; w < wells; ++w) labels += "," + HeatMapWellLabel(w, store.plate);
    lines.push_back(labels);
    for (long position = 1; position <= store.last_position(); ++position) {
        const long scan = store.ScanAt(position);
        std::string line = std::to_string(platform::RoundHalfEven(store.Minutes(scan)));
        for (int w = 0; w < wells; ++w) {
            line += ',';
            if (const auto share = store.AreaShare(w, scan)) line += platform::Format(*share, "0");
        }
        lines.push_back(line);
    }
    return lines;
}

}  // namespace tirmo::reports
