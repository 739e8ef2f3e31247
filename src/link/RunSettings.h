#pragma once
// The settings the windows share with the run: those the next run is made with, the temperature
// control and the camera set-up. Every window shows and edits this one copy; the run reads it.
// Whoever shows a setting watches for changes, so that a value set anywhere (a project's set-up,
// the run's own corrections) appears in every box that shows it.
#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tirmo::link {

// The watchers of a piece of shared state: whoever shows a value registers here and is called
// after every change, so that a value set anywhere appears in every box that shows it. Watchers
// are bound to one object: a copy starts without any, and an assignment keeps the watchers it has.
class Watchers {
public:
    Watchers() = default;
    Watchers(const Watchers&) {}
    Watchers& operator=(const Watchers&) { return *this; }

    // Called after every change; Unwatch before the watcher goes away.
    int Watch(std::function<void()> watcher)
    {
        list_.emplace_back(++last_id_, std::move(watcher));
        return last_id_;
    }
    void Unwatch(int id)
    {
        std::erase_if(list_, [id](const auto& w) { return w.first == id; });
    }
    void Notify() const
    {
        // A watcher may set a value in turn or unwatch: it runs on a copy of the list.
        const auto list = list_;
        for (const auto& w : list) w.second();
    }

private:
    std::vector<std::pair<int, std::function<void()>>> list_;
    int last_id_ = 0;
};

// The settings the next run is made with, as the user last left them: the acquisition time, the
// plate format, the cameras in use, the raw-data switch and whether it measures a blank.
class RunSettings {
public:
    RunSettings() = default;
    // Watchers are bound to one object: a copy starts without any, and an assignment takes the
    // values (telling this object's watchers) but keeps the watchers it has.
    RunSettings(const RunSettings& other) : v_(other.v_) {}
    RunSettings& operator=(const RunSettings& other)
    {
        if (this != &other && v_ != other.v_) {
            v_ = other.v_;
            notify();
        }
        return *this;
    }

    // Minutes, as typed: the run reads the number from it, and what cannot be read counts as 0.
    const std::string& AcquisitionTime() const { return v_.acquisition_time; }
    void SetAcquisitionTime(std::string_view text) { set(v_.acquisition_time, text); }
    // The plate format code ("w6", "w24", ...), or whatever text the format box was left with.
    const std::string& PlateFormat() const { return v_.plate_format; }
    void SetPlateFormat(std::string_view format) { set(v_.plate_format, format); }
    // Cameras 0 to 5 measured or left out; slot 6, "no camera", stays in use. The plate map
    // marks the wells of a camera left out, and the run skips its windows.
    const std::array<bool, 7>& CameraMask() const { return v_.camera_in_use; }
    bool CameraInUse(int camera) const { return camera >= 0 && camera < 7 && v_.camera_in_use[size_t(camera)]; }
    void SetCameraInUse(int camera, bool inUse)
    {
        if (camera >= 0 && camera < 7) set(v_.camera_in_use[size_t(camera)], inUse);
    }
    // SaveRawData: each window's frames are added to its lastread file instead of replacing them.
    bool SaveRawData() const { return v_.save_raw_data; }
    void SetSaveRawData(bool on) { set(v_.save_raw_data, on); }
    // The next run measures a blank: the blank frame sets it, the run's end or stop clears it.
    bool BlankRun() const { return v_.blank_run; }
    void SetBlankRun(bool on) { set(v_.blank_run, on); }

    // Called after every change, whichever setting it was; Unwatch before the watcher goes away.
    int Watch(std::function<void()> watcher) { return watchers_.Watch(std::move(watcher)); }
    void Unwatch(int id) { watchers_.Unwatch(id); }

private:
    template <class Field, class Value>
    void set(Field& field, const Value& value)
    {
        if (field == value) return;  // a box that shows the value set already stops the echo here
        field = value;
        notify();
    }
    void notify() const { watchers_.Notify(); }

    struct Values {
        std::string acquisition_time = "30";
        std::string plate_format = "w6";
        std::array<bool, 7> camera_in_use{true, true, true, true, true, true, true};
        bool save_raw_data = false;
        bool blank_run = false;
        bool operator==(const Values&) const = default;
    } v_;
    Watchers watchers_;
};

// The temperature control as the user last left it: the set point as typed or chosen (the
// thermostat reads the number from it), whether the temperature box is ticked, and whether the
// control is on (ticked and confirmed). The temperature box and the set-point box show and edit
// these; the run and the one-second tick regulate with them.
struct ThermalSettings {
    std::string set_point_text;
    bool box_ticked = false;
    bool control_on = false;
};

// The camera set-up as the main window's "Setup CAM" boxes show it: the camera, gain, exposure,
// speed code and read-out window with its lines and pixels, each as typed. The boxes edit it, the
// run and the calibrations set it for each window they measure, and the camera set-up is sent
// from it.
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
