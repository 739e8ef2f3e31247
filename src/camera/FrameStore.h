#pragma once
// The last frame of every camera as it lies on the camera picture: one grey level per cell,
// indexed (camera 0..6, x 0..192, y 0..192), x being the camera line + 1 and y the pixel of
// the line counted from its last pixel. A cell may hold no value.
#include <cstdint>
#include <string>
#include <vector>

namespace tirmo::camera {

class FrameStore {
public:
    static constexpr int kCameras = 7;
    static constexpr int kSize = 193;  // positions 0..192 on each axis

    FrameStore() : cells_(size_t(kCameras) * kSize * kSize, kEmpty) {}

    static bool InBounds(int camera, int x, int y)
    {
        return camera >= 0 && camera < kCameras && x >= 0 && x < kSize && y >= 0 && y < kSize;
    }
    // The grey level 0..255, or -1 when the cell holds no value (or lies outside the table).
    int Value(int camera, int x, int y) const { return InBounds(camera, x, y) ? cells_[index(camera, x, y)] : kEmpty; }
    bool Has(int camera, int x, int y) const { return Value(camera, x, y) >= 0; }
    // The cell as the one-character text other windows read: empty for no value.
    std::string Text(int camera, int x, int y) const
    {
        const int v = Value(camera, x, y);
        return v < 0 ? std::string() : std::string(1, char(v));
    }
    // Sets a value 0..255, or -1 to empty the cell; outside the table nothing happens.
    void Set(int camera, int x, int y, int value)
    {
        if (InBounds(camera, x, y)) cells_[index(camera, x, y)] = int16_t(value < 0 ? kEmpty : (value & 0xFF));
    }
    void Clear() { cells_.assign(cells_.size(), kEmpty); }

private:
    static constexpr int16_t kEmpty = -1;
    static size_t index(int camera, int x, int y) { return (size_t(camera) * kSize + size_t(x)) * kSize + size_t(y); }
    std::vector<int16_t> cells_;
};

}  // namespace tirmo::camera
