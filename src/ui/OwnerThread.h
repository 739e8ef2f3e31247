#pragma once
// Bringing news from another thread to a window: a started program ends on a waiter thread, and
// what its end means for the user belongs on the window's status line, shown by the window's own
// thread and without the window ever waiting for the program.
#include <QMetaObject>
#include <QObject>

#include <functional>
#include <memory>
#include <mutex>

namespace tirmo::ui {

// A function that any thread may call once: handler then runs with the same value on owner's
// thread, from its event loop. Nothing runs once owner is gone, also when it goes in between.
inline std::function<void(int)> OnOwnerThread(QObject* owner, std::function<void(int)> handler)
{
    struct Target {
        std::mutex lock;
        QObject* owner = nullptr;
        QMetaObject::Connection watch;
    };
    auto target = std::make_shared<Target>();
    target->owner = owner;
    // The owner's end waits for a post in progress; a post made before it is dropped with the
    // owner's other pending events.
    target->watch = QObject::connect(owner, &QObject::destroyed, [target] {
        const std::lock_guard<std::mutex> hold(target->lock);
        target->owner = nullptr;
    });
    return [target, handler = std::move(handler)](int value) {
        {
            const std::lock_guard<std::mutex> hold(target->lock);
            if (target->owner)
                QMetaObject::invokeMethod(target->owner, [handler, value] { handler(value); }, Qt::QueuedConnection);
        }
        QObject::disconnect(target->watch);
    };
}

}  // namespace tirmo::ui
