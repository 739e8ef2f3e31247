#pragma once
// The window's one-second tick, shared by everything that needs to be called once a second (the
// thermostat and the temperature cycle, the light-pulse countdown). Each user registers its step
// once; the ticker's timer runs while at least one user needs it and stops when none does. A user
// says it needs ticks when it starts its work and tells, at the end of each of its steps, whether
// it still does, so no user looks at another's state to decide whether the timer may stop.
#include <functional>
#include <vector>

namespace tirmo::ui {

class Timer;

class Ticker {
public:
    // timer is the window's timer (its interval set by the window); the ticker only switches it.
    explicit Ticker(Timer& timer) : timer_(timer) {}

    // One step of a user: run once a tick, it returns whether its user still needs ticks.
    using Step = std::function<bool()>;
    // Steps run in the order they were registered. Returns the user's handle.
    int Register(Step step);

    // The user needs ticks from now on: the timer runs.
    void Need(int user);
    // The user needs no more ticks: the timer stops when no other user needs it.
    void Release(int user);
    bool Needs(int user) const;

    // Every user's step, in order; afterwards the timer runs only while a user still needs it.
    void RunSteps();

private:
    void apply();

    struct User {
        Step step;
        bool needs = false;
    };
    Timer& timer_;
    std::vector<User> users_;
};

}  // namespace tirmo::ui
