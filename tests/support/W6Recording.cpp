#include "support/W6Recording.h"

#include <fstream>
#include <vector>

#include "support/RunFiles.h"

namespace tirmo::test {

namespace {
void Spill(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
}  // namespace

void WriteW6Recording(const std::string& folder)
{
    const char* wells[] = {"A1", "B1", "A2", "B2", "A3", "B3"};
    const double counts[6][5] = {{20, 22, 18, 24, 21}, {15, 17, 16, 200, 14}, {10, 12, 11, 9, 13},
                                 {30, 28, 32, 31, 29}, {8, 6, 7, 9, 5},       {3, 2, 4, 1, 0}};
    const double temps[5][6] = {{25.0, 25.0, 25.0, 25.0, 25.0, 25.0}, {25.2, 25.2, 25.4, 25.4, 25.2, 25.2},
                                {0.0, 25.5, 25.5, 25.5, 25.5, 25.5},  {26.0, 26.0, 26.0, 26.0, 26.0, 26.0},
                                {26.1, 26.2, 26.3, 26.1, 26.2, 26.3}};
    std::vector<ActivityRow> activity;
    std::vector<TemperatureRow> temperature;
    double total[6] = {};
    for (int k = 0; k < 5; ++k)
        for (int w = 0; w < 6; ++w) {
            const double minutes = 5 * k + 0.1 * (w + 1);
            total[w] += counts[w][k];
            activity.push_back({minutes, wells[w], total[w]});
            temperature.push_back({minutes, temps[k][w]});
        }
    Spill(folder + "/subpj.dat", SubprojectText("mix 1", 20, "w6"));
    Spill(folder + "/serial.dat", "SN12\r\n");
    Spill(folder + "/current_activity.txt", ActivityFileText(activity));
    Spill(folder + "/current_temperature.txt", TemperatureFileText(temperature));

    const int blank[6] = {48, 24, 0, 72, 12, 36};
    std::string b = "20250130_100000_blank_empty\r\nacqlapse=0060\r\n\"#well\",\"Value\"\r\n";
    for (int w = 0; w < 384; ++w) b += std::to_string(w) + "," + std::to_string(w < 6 ? blank[w] : 0) + "\r\n";
    Spill(folder + "/blank_w6.dat", b);

    Spill(folder + "/factor_correction.txt",
          "\"2025/01/31_14:05:12_/prog/reports/_internal_referenceSN12\"\r\n"
          "well A1 B1 A2 B2 A3 B3\r\n"
          "mult_factor 1.00 1.20 0.80 1.00 1.50 0.50\r\n\r\n");

    std::string g = "#Well, Group, name\r\n";
    for (int w = 0; w < 384; ++w)
        g += std::to_string(w) + "," + (w < 3 ? "1,\"Control\"" : w < 6 ? "2,\"Treated\"" : "-1,\"Free\"") + "\r\n";
    Spill(folder + "/chgroup.dat", g);
}

}  // namespace tirmo::test
