#pragma once
// The settings the next run is made with, as the user last left them: the acquisition time and
// the plate format. Every window shows and edits this one copy; the run reads it. Whoever shows a
// setting watches for changes, so that a value set anywhere (a project's set-up, the run's own
// corrections) appears in every box that shows it.
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tirmo::link {

class RunSettings {
public:
    RunSettings() = default;
    // Watchers are bound to one object: a copy starts without any, and an assignment takes the
    // values (telling this object's watchers) but keeps the watchers it has.
    RunSettings(const RunSettings& other) : acquisition_time_(other.acquisition_time_), plate_format_(other.plate_format_) {}
    RunSettings& operator=(const RunSettings& other)
    {
        if (this == &other) return *this;
        const bool changed = acquisition_time_ != other.acquisition_time_ || plate_format_ != other.plate_format_;
        acquisition_time_ = other.acquisition_time_;
        plate_format_ = other.plate_format_;
        if (changed) notify();
        return *this;
    }

    // Minutes, as typed: the run reads the number from it, and what cannot be read counts as 0.
    const std::string& AcquisitionTime() const { return acquisition_time_; }
    void SetAcquisitionTime(std::string_view text) { set(acquisition_time_, text); }
    // The plate format code ("w6", "w24", ...), or whatever text the format box was left with.
    const std::string& PlateFormat() const { return plate_format_; }
    void SetPlateFormat(std::string_view format) { set(plate_format_, format); }

    // Called after every change, whichever setting it was; Unwatch before the watcher goes away.
    int Watch(std::function<void()> watcher)
    {
        watchers_.emplace_back(++last_id_, std::move(watcher));
        return last_id_;
    }
    void Unwatch(int id)
    {
        std::erase_if(watchers_, [id](const auto& w) { return w.first == id; });
    }

private:
    void set(std::string& field, std::string_view value)
    {
        if (field == value) return;  // a box that shows the value set already stops the echo here
        field = value;
        notify();
    }
    void notify() const
    {
        // A watcher may set a setting in turn or unwatch: it runs on a copy of the list.
        const auto watchers = watchers_;
        for (const auto& w : watchers) w.second();
    }

    std::string acquisition_time_ = "30";
    std::string plate_format_ = "w6";
    std::vector<std::pair<int, std::function<void()>>> watchers_;
    int last_id_ = 0;
};

}  // namespace tirmo::link
