// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "platform/term_signals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace tarvok::platform {
namespace {

int pipeFds[2] = {-1, -1};

extern "C" void onTermSignal(int signo)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signo);
    // Nothing useful can be done about a full pipe: a stop is already pending.
    [[maybe_unused]] const ssize_t n = ::write(pipeFds[1], &byte, 1);
    errno = saved;
}

bool installHandler(int signo)
{
    struct sigaction sa {};
    sa.sa_handler = onTermSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    return ::sigaction(signo, &sa, nullptr) == 0;
}

void restoreDefault(int signo)
{
    struct sigaction sa {};
    sa.sa_handler = SIG_DFL;
    sigemptyset(&sa.sa_mask);
    ::sigaction(signo, &sa, nullptr);
}

} // namespace

TermSignals::TermSignals(QObject* parent)
    : QObject(parent)
{
    if (pipeFds[0] >= 0)
        return; // one instance per process; a second one stays inactive
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        pipeFds[0] = pipeFds[1] = -1;
        return;
    }
    if (!installHandler(SIGTERM) || !installHandler(SIGINT)) {
        restoreDefault(SIGTERM);
        restoreDefault(SIGINT);
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        pipeFds[0] = pipeFds[1] = -1;
        return;
    }
    notifier_ = new QSocketNotifier(pipeFds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TermSignals::readPending);
}

TermSignals::~TermSignals()
{
    if (!notifier_)
        return;
    restoreDefault(SIGTERM);
    restoreDefault(SIGINT);
    delete notifier_;
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    pipeFds[0] = pipeFds[1] = -1;
}

void TermSignals::readPending()
{
    unsigned char byte = 0;
    while (::read(pipeFds[0], &byte, 1) == 1)
        emit terminationRequested(byte);
}

} // namespace tarvok::platform
