#include "app/SignalClose.h"

#include <QPointer>
#include <QSocketNotifier>
#include <QWidget>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include "app/Program.h"
#include "ui/Dialogs.h"

namespace tirmo::app {
namespace {

int signalPipe[2] = {-1, -1};

// Only async-signal-safe work here: the byte wakes the event loop, which does the rest.
extern "C" void onTerminationSignal(int)
{
    char c = 1;
    (void)!::write(signalPipe[1], &c, 1);
}

}  // namespace

void CloseOnTerminationSignals(QWidget* window)
{
    if (signalPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) return;
    ::fcntl(signalPipe[1], F_SETFL, O_NONBLOCK);
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, window);
    QPointer<QWidget> target(window);
    QObject::connect(notifier, &QSocketNotifier::activated, window, [target] {
        char buf[16];
        (void)!::read(signalPipe[0], buf, sizeof buf);
        if (target) target->close();
        ui::CloseOpenBoxes();
        // Another window may still be open: the program ends all the same.
        EndProgramLoop();
    });
    struct sigaction sa {};
    sa.sa_handler = onTerminationSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
}

}  // namespace tirmo::app
