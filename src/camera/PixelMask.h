#pragma once
// Per camera (0..6), row band window (0..8) and pixel ordinal (from 1): whether the pixel of
// the camera window lies inside a well. The acquisition run fills it before its first frame;
// the live picture paints the pixels outside the wells white. A pixel never set is outside.
#include <array>
#include <vector>

namespace tirmo::camera {

class WindowPixelMask {
public:
    static constexpr int kCameras = 7;
    static constexpr int kWindows = 9;

    // Makes room for ordinals 1..count of a window, all outside.
    void Resize(int camera, int window, long count)
    {
        if (valid(camera, window) && count >= 0) slot(camera, window).assign(size_t(count) + 1, false);
    }
    void Set(int camera, int window, long ordinal, bool inside)
    {
        if (!valid(camera, window) || ordinal < 1) return;
        auto& v = slot(camera, window);
        if (size_t(ordinal) >= v.size()) v.resize(size_t(ordinal) + 1, false);
        v[size_t(ordinal)] = inside;
    }
    bool Inside(int camera, int window, long ordinal) const
    {
        if (!valid(camera, window) || ordinal < 1) return false;
        const auto& v = masks_[size_t(camera)][size_t(window)];
        return size_t(ordinal) < v.size() && v[size_t(ordinal)];
    }

private:
    static bool valid(int camera, int window)
    {
        return camera >= 0 && camera < kCameras && window >= 0 && window < kWindows;
    }
    std::vector<bool>& slot(int camera, int window) { return masks_[size_t(camera)][size_t(window)]; }
    std::array<std::array<std::vector<bool>, kWindows>, kCameras> masks_;
};

// The camera window the run is acquiring, as the live picture draws it: its good-frame count and
// its pixel mask. The run keeps it; the main window's camera reads it.
struct LiveWindow {
    long frame_counter = 0;
    WindowPixelMask pixel_mask;
};

}  // namespace tirmo::camera
