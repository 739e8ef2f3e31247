#pragma once
// What every control of the window layer shares: how text crosses between the windows and Qt,
// and how event handlers are run.
//
// Window code keeps text as std::string in which each char is one byte, 0-255. Instrument replies
// are shown in text boxes as they came, bytes above 127 and control bytes included, and whatever
// is read back from a control must come back byte for byte. Latin-1 is the one encoding in which
// every byte is a character and every character below 256 is a byte, so all text crosses into Qt
// as Latin-1. A character the user types that Latin-1 cannot hold comes back as '?', as any
// control bound to one code page gives it.
#include <QString>

#include <functional>
#include <string>
#include <string_view>

namespace tirmo::ui {

inline QString toQString(std::string_view bytes)
{
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

inline std::string toBytes(const QString& text)
{
    const QByteArray latin1 = text.toLatin1();
    return std::string(latin1.constData(), size_t(latin1.size()));
}

// An event handler as window code writes it: no arguments, the control is read from inside.
using Handler = std::function<void()>;

// Runs a handler from a copy. A handler may replace itself, or close the window and so destroy
// the control that holds it, while it runs; the copy keeps the running code alive until it
// returns. An empty handler is an event nobody listens to.
inline void fire(const Handler& handler)
{
    if (!handler) return;
    Handler running = handler;
    running();
}

// Marks a handler as running for as long as it is in scope, also when it leaves by an exception.
// Events that must not nest test the flag before they start, and skip rather than queue: a nested
// call comes from the handler itself yielding to the event loop, and running it there would start
// a second copy of an operation that is halfway through.
class RunningFlag {
public:
    explicit RunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~RunningFlag() { flag_ = false; }
    RunningFlag(const RunningFlag&) = delete;
    RunningFlag& operator=(const RunningFlag&) = delete;

private:
    bool& flag_;
};

}  // namespace tirmo::ui
