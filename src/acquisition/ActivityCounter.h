#pragma once
// The movement detector of a camera window: the last eleven grey levels of every pixel, and the
// count of frame-to-frame transitions in which a pixel and one of its neighbours changed
// together, the same way and by more than the noise.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tirmo::acquisition {

inline constexpr int kWindowFrames = 11;  // frames 0..10 of a camera window

// frame_history: pixel 0..window_pixel_count by frame 0..10. The eleven frames of one pixel lie
// next to each other, so the counter reads a pixel and its neighbours as a few short runs.
class FrameHistory {
public:
    // Pixels 0..pixelCount, every value 0. A negative count makes an empty table.
    void Reset(int pixelCount)
    {
        pixelCount_ = pixelCount < 0 ? 0 : pixelCount;
        values_.assign(size_t(pixelCount_ + 1) * kWindowFrames, 0);
    }
    // The window's window_pixel_count: the last pixel the table holds.
    int pixel_count() const { return pixelCount_; }
    // Frames 0..10 of pixel p; p within 0..pixel_count().
    int16_t* pixel(int p) { return &values_[size_t(p) * kWindowFrames]; }
    const int16_t* pixel(int p) const { return &values_[size_t(p) * kWindowFrames]; }
    int16_t at(int p, int frame) const { return pixel(p)[frame]; }
    void set(int p, int frame, int value) { pixel(p)[frame] = int16_t(value); }

private:
    int pixelCount_ = 0;
    std::vector<int16_t> values_ = std::vector<int16_t>(kWindowFrames, 0);
};

// Noise floor in grey levels and the share of the neighbourhood's brightness a change must pass.
inline constexpr double kNoiseLevel = 4.0;
inline constexpr double kRelativeLevelPercent = 4.0;

// The frames 1..10 (0..10) in which pixel p moved: with the neighbours p - 1, p - w, p - w - 1
// and p - w + 1 (w the line width), a frame counts when at least one pair changed into it in
// the same direction, each by more than 4 grey levels, with a mean change above 4 and above 4 %
// of the neighbourhood's mean brightness over frames 1..10. 0 for a pixel on the first or the
// last line (p - w < 1 or p + w >= pixel_count()), for p < 1, and for a line width below 1.
int CountActivityEvents(const FrameHistory& history, int p, int w);

}  // namespace tirmo::acquisition
