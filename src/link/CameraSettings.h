#pragma once
// The camera set-up as the main window's "Setup CAM" boxes show it: the camera, gain, exposure,
// speed code and read-out window with its lines and pixels, each as typed. The boxes edit it, the
// run and the calibrations set it for each window they measure, and the camera set-up is sent
// from it; whoever shows it watches for changes.
#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "link/Watchers.h"

namespace tirmo::link {

class CameraSettings {
public:
    enum Box : size_t { Camera, Gain, Exposure, Speed, Xini, Xfin, Yini, Yfin, Lines, Pix, kBoxes };

    const std::string& Text(Box box) const { return texts_[box]; }
    void SetText(Box box, std::string_view text)
    {
        if (texts_[box] == text) return;  // a box that shows the value set already stops the echo here
        texts_[box] = text;
        watchers_.Notify();
    }
    void SetNumber(Box box, long value) { SetText(box, std::to_string(value)); }

    int Watch(std::function<void()> watcher) { return watchers_.Watch(std::move(watcher)); }
    void Unwatch(int id) { watchers_.Unwatch(id); }

private:
    std::array<std::string, kBoxes> texts_;
    Watchers watchers_;
};

}  // namespace tirmo::link
