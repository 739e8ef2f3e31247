#pragma once
// One frame of a well's pixel activity in one scan: each pixel cell of the well's block gets its
// diagonal in a red that grows with the activity (pure red from 255 on), a pixel outside the
// well's mask a grey box when wanted, and no activity leaves the background.
//
// The block's field positions x run upwards and its rows y to the right.
#include <cstdint>
#include <string>
#include <vector>

#include "chemotaxis/Canvas.h"

namespace tirmo::chemotaxis {

// The activity of a well's block in one scan: fields x = 0..width, rows y = 0..height.
// A value above 0 is activity, 0 none, -1 a pixel outside the mask.
class FrameGrid {
public:
    FrameGrid(int width, int height)
        : width_(width), height_(height), values_(size_t(width + 1) * size_t(height + 1), 0) {}
    int width() const { return width_; }
    int height() const { return height_; }
    int32_t at(int x, int y) const { return values_[index(x, y)]; }
    void set(int x, int y, int32_t v) { values_[index(x, y)] = v; }
    bool holds(int x, int y) const { return x >= 0 && y >= 0 && x <= width_ && y <= height_; }
    void Clear() { std::fill(values_.begin(), values_.end(), 0); }

private:
    size_t index(int x, int y) const { return size_t(y) * size_t(width_ + 1) + size_t(x); }
    int width_, height_;
    std::vector<int32_t> values_;
};

struct FrameLook {
    bool red_cross = true;  // the block's middle lines in red
    bool grey = true;       // pixels outside the mask in grey
};

// Draws the frame with its caption (well name and time, "A1[12.5m]") at the top left.
void DrawWellFrame(Canvas& frame, const FrameGrid& grid, const std::string& caption, const FrameLook& look);

}  // namespace tirmo::chemotaxis
