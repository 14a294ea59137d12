// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "platform/raw_file.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvok::platform {

RawFile::~RawFile()
{
    close();
}

void RawFile::fail()
{
    const int err = errno;
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        m_failure = Failure::NotFound;
        break;
    case EISDIR:
        m_failure = Failure::NotAFile;
        break;
    case EACCES:
    case EPERM:
    case EROFS:
        m_failure = Failure::AccessDenied;
        break;
    default:
        m_failure = Failure::Other;
        break;
    }
    m_error = QString::fromLocal8Bit(std::strerror(err));
}

bool RawFile::open(const QString& path, Mode mode)
{
    close();
    int flags = O_CLOEXEC;
    switch (mode) {
    case Mode::Read:
        flags |= O_RDONLY;
        break;
    case Mode::ReadWrite:
        flags |= O_RDWR;
        break;
    case Mode::CreateReplace:
        flags |= O_RDWR | O_CREAT | O_TRUNC;
        break;
    }
    const QByteArray name = QFile::encodeName(path);
    int fd;
    do {
        fd = ::open(name.constData(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        fail();
        return false;
    }
    m_fd = fd;
    m_failure = Failure::None;
    return true;
}

bool RawFile::close()
{
    if (m_fd < 0)
        return true;
    const int rc = ::close(m_fd);
    m_fd = -1;
    if (rc != 0 && errno != EINTR) {
        fail();
        return false;
    }
    return true;
}

std::optional<std::int64_t> RawFile::size()
{
    struct stat st;
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0) {
        fail();
        return std::nullopt;
    }
    return static_cast<std::int64_t>(st.st_size);
}

std::int64_t RawFile::readAt(std::int64_t offset, char* data, std::int64_t n)
{
    std::int64_t done = 0;
    while (done < n) {
        const ssize_t got =
            ::pread(m_fd, data + done, static_cast<size_t>(n - done), offset + done);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            fail();
            return -1;
        }
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

bool RawFile::writeAt(std::int64_t offset, const char* data, std::int64_t n)
{
    std::int64_t done = 0;
    while (done < n) {
        const ssize_t put =
            ::pwrite(m_fd, data + done, static_cast<size_t>(n - done), offset + done);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            fail();
            return false;
        }
        done += put;
    }
    return true;
}

bool RawFile::truncate(std::int64_t length)
{
    int rc;
    do {
        rc = ::ftruncate(m_fd, length);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        fail();
        return false;
    }
    return true;
}

} // namespace tarvok::platform
