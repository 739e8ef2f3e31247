#include "acquisition/ActivityCounter.h"

#include <bit>
#include <cstdlib>

namespace tirmo::acquisition {
namespace {

constexpr int kNoise = 4;  // kNoiseLevel for whole grey-level changes: "more than 4.0" is 5 or more

// The mean over frames 1..10 of the mean over the four pairs of |p + q| / 2, the sum kept whole
// and divided once (S / 2 / 4 / 10 and S / 80 are the same number, rounded once either way).
// Grey levels are never negative, so the sum is 4 x the pixel's frame sum plus its neighbours';
// a table holding values below 0 adds the pairs one by one.
double baselineOf(const FrameHistory& h, int p, const int (&q)[4])
{
    long sum = 0;
    if (!h.has_negative()) {
        const PixelMoves* m = h.moves();
        sum = 4L * m[p].sum + m[q[0]].sum + m[q[1]].sum + m[q[2]].sum + m[q[3]].sum;
    } else {
        const int16_t* self = h.pixel(p);
        for (int n : q)
            for (int k = 1; k < kWindowFrames; ++k) sum += std::abs(self[k] + h.pixel(n)[k]);
    }
    return double(sum) / 80.0;
}

}  // namespace

void FrameHistory::FillPixels(const std::array<const unsigned char*, kWindowFrames>& f, int first, int last)
{
    // Sixteen pixels at a time, frame by frame, so that the compiler can work on whole rows of
    // pixels at once; then the values are laid out pixel by pixel.
    constexpr int kBlock = 16;
    int p = first;
    for (; p + kBlock - 1 <= last; p += kBlock) {
        int16_t v[kWindowFrames][kBlock];
        for (int k = 0; k < kWindowFrames; ++k)
            for (int i = 0; i < kBlock; ++i) v[k][i] = f[size_t(k)][p - 1 + i];
        uint16_t up[kBlock] = {}, down[kBlock] = {};
        int32_t sum[kBlock] = {};
        for (int k = 1; k < kWindowFrames; ++k) {
            for (int i = 0; i < kBlock; ++i) {
                const int d = v[k][i] - v[k - 1][i];
                up[i] = uint16_t(up[i] | ((d > kNoise) << k));
                down[i] = uint16_t(down[i] | ((d < -kNoise) << k));
                sum[i] += v[k][i];
            }
        }
        for (int i = 0; i < kBlock; ++i) {
            int16_t* h = &values_[size_t(p + i) * kWindowFrames];
            for (int k = 0; k < kWindowFrames; ++k) h[k] = v[k][i];
            moves_[size_t(p + i)] = {up[i], down[i], sum[i]};
        }
    }
    for (; p <= last; ++p) {
        int16_t v[kWindowFrames];
        for (int k = 0; k < kWindowFrames; ++k) v[k] = f[size_t(k)][p - 1];
        SetPixel(p, v);
    }
}

const PixelMoves* FrameHistory::refreshMoves() const
{
    moves_.assign(size_t(pixelCount_ + 1), PixelMoves{});
    negative_ = false;
    for (int p = 0; p <= pixelCount_; ++p)
        if (MovesOf(pixel(p), moves_[size_t(p)])) negative_ = true;
    stale_ = false;
    return moves_.data();
}

int CountActivityEvents(const FrameHistory& history, int p, int w)
{
    // A line width below 1 would put a "previous line" neighbour after p.
    if (w < 1 || p < 1 || p - w < 1 || p + w >= history.pixel_count()) return 0;

    // A frame can count only where the pixel and a neighbour both rose, or both fell, by more
    // than the noise; most pixels have no such frame and need nothing more.
    const int q[4] = {p - 1, p - w, p - w - 1, p - w + 1};
    const PixelMoves* m = history.moves();
    const uint16_t rose = m[q[0]].rises | m[q[1]].rises | m[q[2]].rises | m[q[3]].rises;
    const uint16_t fell = m[q[0]].falls | m[q[1]].falls | m[q[2]].falls | m[q[3]].falls;
    const uint16_t candidates = uint16_t((m[p].rises & rose) | (m[p].falls & fell));
    if (candidates == 0) return 0;

    const double relative = kRelativeLevelPercent / 100.0 * baselineOf(history, p, q);
    // Two changes of 5 or more the same way have a mean of 5 or more, above the noise floor; when
    // that also passes the relative floor every candidate frame is an event.
    if (relative < kNoise + 1) return std::popcount(candidates);

    const int16_t* self = history.pixel(p);
    int events = 0;
    for (int k = 1; k < kWindowFrames; ++k) {
        if (!(candidates >> k & 1)) continue;
        const int d1 = self[k] - self[k - 1];
        for (int n : q) {
            const int d2 = history.pixel(n)[k] - history.pixel(n)[k - 1];
            const bool together = (d1 > kNoise && d2 > kNoise) || (d1 < -kNoise && d2 < -kNoise);
            const double a = double(std::abs(d1 + d2)) / 2.0;
            if (together && a > relative && a > kNoiseLevel) {
                ++events;
                break;  // a frame counts once however many pairs moved
            }
        }
    }
    return events;
}

}  // namespace tirmo::acquisition
