#pragma once
// The watchers of a piece of shared state: whoever shows a value registers here and is called
// after every change, so that a value set anywhere appears in every box that shows it. Watchers
// are bound to one object: a copy starts without any, and an assignment keeps the watchers the
// object has.
#include <functional>
#include <utility>
#include <vector>

namespace tirmo::link {

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

}  // namespace tirmo::link
