#pragma once
// The movement detector of a camera window: the last eleven grey levels of every pixel, and the
// count of frame-to-frame transitions in which a pixel and one of its neighbours changed
// together, the same way and by more than the noise.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tirmo::acquisition {

inline constexpr int kWindowFrames = 11;  // frames 0..10 of a camera window

// Noise floor in grey levels and the share of the neighbourhood's brightness a change must pass.
inline constexpr double kNoiseLevel = 4.0;
inline constexpr double kRelativeLevelPercent = 4.0;

// What the counter reads first of a pixel: bit k (1..10) of rises (falls) is set when the pixel
// rose (fell) by more than the noise into frame k, and the sum of its frames 1..10.
struct PixelMoves {
    uint16_t rises = 0;
    uint16_t falls = 0;
    int32_t sum = 0;
};

// frame_history: pixel 0..window_pixel_count by frame 0..10, grey levels 0..255. The eleven
// frames of one pixel lie next to each other, so the counter reads a pixel and its neighbours
// as a few short runs. Beside the values the table keeps each pixel's PixelMoves: SetPixel keeps
// them up to date as it goes; after a change through set() or pixel() they are worked out again
// for the whole table when next read.
class FrameHistory {
public:
    // Pixels 0..pixelCount, every value 0. A negative count makes an empty table.
    void Reset(int pixelCount)
    {
        pixelCount_ = pixelCount < 0 ? 0 : pixelCount;
        values_.assign(size_t(pixelCount_ + 1) * kWindowFrames, 0);
        moves_.assign(size_t(pixelCount_ + 1), PixelMoves{});
        stale_ = false;
        negative_ = false;
    }
    // All eleven frames of pixel p at once.
    void SetPixel(int p, const int16_t (&frames)[kWindowFrames])
    {
        int16_t* v = &values_[size_t(p) * kWindowFrames];
        for (int k = 0; k < kWindowFrames; ++k) v[k] = frames[k];
        if (MovesOf(v, moves_[size_t(p)])) negative_ = true;
    }
    // Pixels first..last from eleven frames of grey levels, pixel p at frames[k][p - 1]; every
    // frame must reach last.
    void FillPixels(const std::array<const unsigned char*, kWindowFrames>& frames, int first, int last);
    // The window's window_pixel_count: the last pixel the table holds.
    int pixel_count() const { return pixelCount_; }
    // Frames 0..10 of pixel p; p within 0..pixel_count().
    int16_t* pixel(int p)
    {
        stale_ = true;
        return &values_[size_t(p) * kWindowFrames];
    }
    const int16_t* pixel(int p) const { return &values_[size_t(p) * kWindowFrames]; }
    int16_t at(int p, int frame) const { return pixel(p)[frame]; }
    void set(int p, int frame, int value) { pixel(p)[frame] = int16_t(value); }

    // PixelMoves of pixels 0..pixel_count().
    const PixelMoves* moves() const { return stale_ ? refreshMoves() : moves_.data(); }
    // Whether some value is below 0 (no grey level is).
    bool has_negative() const
    {
        moves();
        return negative_;
    }

    // The moves of the eleven values of one pixel; true when a value is below 0.
    static bool MovesOf(const int16_t* v, PixelMoves& m)
    {
        constexpr int noise = int(kNoiseLevel);  // "more than 4.0" is 5 or more for whole levels
        unsigned up = 0, down = 0;
        int32_t sum = 0;
        bool negative = v[0] < 0;
        for (int k = 1; k < kWindowFrames; ++k) {
            const int d = v[k] - v[k - 1];
            up |= unsigned(d > noise) << k;
            down |= unsigned(d < -noise) << k;
            sum += v[k];
            negative |= v[k] < 0;
        }
        m = {uint16_t(up), uint16_t(down), sum};
        return negative;
    }

private:
    const PixelMoves* refreshMoves() const;

    int pixelCount_ = 0;
    std::vector<int16_t> values_ = std::vector<int16_t>(kWindowFrames, 0);
    mutable bool stale_ = false;
    mutable bool negative_ = false;
    mutable std::vector<PixelMoves> moves_ = std::vector<PixelMoves>(1);
};

// The frames 1..10 (0..10) in which pixel p moved: with the neighbours p - 1, p - w, p - w - 1
// and p - w + 1 (w the line width), a frame counts when at least one pair changed into it in
// the same direction, each by more than 4 grey levels, with a mean change above 4 and above 4 %
// of the neighbourhood's mean brightness over frames 1..10. 0 for a pixel on the first or the
// last line (p - w < 1 or p + w >= pixel_count()), for p < 1, and for a line width below 1.
int CountActivityEvents(const FrameHistory& history, int p, int w);

}  // namespace tirmo::acquisition
