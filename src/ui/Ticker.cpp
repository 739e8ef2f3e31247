#include "ui/Ticker.h"

#include <algorithm>

#include "ui/Timer.h"

namespace tirmo::ui {

int Ticker::Register(Step step)
{
    users_.push_back({std::move(step), false});
    return int(users_.size()) - 1;
}

void Ticker::Need(int user)
{
    users_.at(size_t(user)).needs = true;
    apply();
}

void Ticker::Release(int user)
{
    users_.at(size_t(user)).needs = false;
    apply();
}

bool Ticker::Needs(int user) const { return users_.at(size_t(user)).needs; }

void Ticker::RunSteps()
{
    for (size_t i = 0; i < users_.size(); ++i) {
        // A step may register no one, but it may start or release users: index, not iterator.
        const bool still = users_[i].step();
        users_[i].needs = still;
    }
    apply();
}

void Ticker::apply()
{
    timer_.SetEnabled(std::any_of(users_.begin(), users_.end(), [](const User& u) { return u.needs; }));
}

}  // namespace tirmo::ui
