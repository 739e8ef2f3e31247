#include "acquisition/ActivityCounter.h"

#include <cstdlib>

namespace tirmo::acquisition {

int CountActivityEvents(const FrameHistory& history, int p, int w)
{
    // A line width below 1 would put a "previous line" neighbour after p.
    if (w < 1 || p < 1 || p - w < 1 || p + w >= history.pixel_count()) return 0;

    const int16_t* self = history.pixel(p);
    const int16_t* neighbours[4] = {history.pixel(p - 1), history.pixel(p - w), history.pixel(p - w - 1),
                                    history.pixel(p - w + 1)};

    // Baseline: the mean over frames 1..10 of the mean over the four pairs of (p + q) / 2. Grey
    // levels are never negative, so the sum can stay whole and be divided once: S / 2 / 4 / 10
    // and S / 80 are the same number, rounded once either way.
    long sum = 0;
    for (int k = 1; k < kWindowFrames; ++k)
        for (const int16_t* q : neighbours) sum += std::abs(self[k] + q[k]);
    const double baseline = double(sum) / 80.0;
    const double relative = kRelativeLevelPercent / 100.0 * baseline;

    int events = 0;
    for (int k = 1; k < kWindowFrames; ++k) {
        const int d1 = self[k] - self[k - 1];
        // No pair can move with a pixel that stayed within the noise.
        if (d1 <= kNoiseLevel && d1 >= -kNoiseLevel) continue;
        for (const int16_t* q : neighbours) {
            const int d2 = q[k] - q[k - 1];
            const bool together = (d1 > kNoiseLevel && d2 > kNoiseLevel) || (d1 < -kNoiseLevel && d2 < -kNoiseLevel);
            if (!together) continue;
            const double a = double(std::abs(d1 + d2)) / 2.0;
            if (a > relative && a > kNoiseLevel) {
                ++events;
                break;  // a frame counts once however many pairs moved
            }
        }
    }
    return events;
}

}  // namespace tirmo::acquisition
