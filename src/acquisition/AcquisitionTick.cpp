#include "acquisition/AcquisitionTick.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tirmo::acquisition {

std::string ElapsedText(double seconds)
{
    const long long total = seconds > 0 ? static_cast<long long>(std::floor(seconds)) : 0;
    const long long days = total / 86400;
    const int rest = int(total % 86400);
    char text[48];
    std::snprintf(text, sizeof text, "[%02lld] %02d:%02d.%02d", days, rest / 3600, rest / 60 % 60, rest % 60);
    return text;
}

bool FrameFailed(std::string_view frame) { return frame.empty() || frame.substr(0, 5) == "Error"; }

std::string DifferenceImage(std::string_view previous, std::string_view current)
{
    std::string out(current.size(), '\0');
    for (size_t i = 0; i < current.size(); ++i) {
        const int before = i < previous.size() ? int(uint8_t(previous[i])) : 0;
        out[i] = char(uint8_t(std::clamp(int(uint8_t(current[i])) - before + 128, 0, 255)));
    }
    return out;
}

std::string FrameStatus(long scan, int camera, int window, long frame)
{
    return "[Scan" + std::to_string(scan + 1) + "_C" + std::to_string(camera + 1) + "." + std::to_string(window) +
           "] Frame #" + std::to_string(frame) + "/10";
}

std::string RandomFrame(std::mt19937& generator, int pixels)
{
    // r from the top 24 bits of one draw: a dummy run draws millions of pixels, and the run's
    // own pace is what a dummy run is for.
    constexpr double kScale = 255.0 / double(1u << 24);
    std::string frame(size_t(std::max(pixels, 0)), '\0');
    for (char& p : frame) p = char(uint8_t(double(generator() >> 8) * kScale + 0.5));
    return frame;
}

}  // namespace tirmo::acquisition
