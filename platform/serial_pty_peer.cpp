// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "platform/serial_pty_peer.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace tarvok::platform {

PtyPeer::PtyPeer()
{
    int fd = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return;
    if (::grantpt(fd) != 0 || ::unlockpt(fd) != 0) {
        ::close(fd);
        return;
    }
    char name[128];
    if (::ptsname_r(fd, name, sizeof name) != 0) {
        ::close(fd);
        return;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    master_ = fd;
    slavePath_ = QString::fromLocal8Bit(name);
}

PtyPeer::~PtyPeer()
{
    closeMaster();
}

bool PtyPeer::send(const QByteArray& bytes)
{
    if (master_ < 0)
        return false;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.constData() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

int PtyPeer::waiting() const
{
    int n = 0;
    if (master_ < 0 || ::ioctl(master_, FIONREAD, &n) != 0)
        return 0;
    return n;
}

QByteArray PtyPeer::takeAll()
{
    QByteArray out;
    if (master_ < 0)
        return out;
    char buf[512];
    for (;;) {
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        out.append(buf, n);
    }
    return out;
}

int PtyPeer::waitFor(int count, int waitMs) const
{
    for (int t = 0; t < waitMs && waiting() < count; ++t)
        ::usleep(1000);
    return waiting();
}

void PtyPeer::closeMaster()
{
    if (master_ >= 0)
        ::close(master_);
    master_ = -1;
}

} // namespace tarvok::platform
