#pragma once
// An event filter that calls into a window's subsystem object must not outlive that object:
// the widgets it watches belong to the window and are deleted after the subsystem objects, and
// they still receive events on the way. The object holds its filters in handles, which delete
// them first; a filter already gone with its widget is left alone.
#include <QObject>
#include <QPointer>

namespace tirmo::ui {

class FilterHandle {
public:
    FilterHandle() = default;
    FilterHandle(const FilterHandle&) = delete;
    FilterHandle& operator=(const FilterHandle&) = delete;
    ~FilterHandle() { delete filter_.data(); }

    FilterHandle& operator=(QObject* filter)
    {
        delete filter_.data();
        filter_ = filter;
        return *this;
    }
    QObject* get() const { return filter_.data(); }

private:
    QPointer<QObject> filter_;
};

}  // namespace tirmo::ui
