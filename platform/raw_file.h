// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace tarvok::platform {

// A file reached by offset, one system call per operation and no buffering
// of its own: table appends must cost a handful of calls whatever the size of
// the file, and every byte must be in the file once the call returns (up to
// the operating system's cache) so that a killed process loses nothing it
// already wrote.
class RawFile {
public:
    enum class Mode {
        Read,          // existing file, read only
        ReadWrite,     // existing file
        CreateReplace, // created, or emptied when it exists; read and write
    };
    enum class Failure {
        None,
        NotFound,     // the file (or a folder on its path) does not exist
        NotAFile,     // the path names a folder (a folder opened for reading
                      // only fails at the first read)
        AccessDenied, // permissions, read-only medium
        Other,
    };

    RawFile() = default;
    ~RawFile();
    RawFile(const RawFile&) = delete;
    RawFile& operator=(const RawFile&) = delete;

    [[nodiscard]] bool open(const QString& path, Mode mode);
    // Returns false when the system reports a failure on closing.
    bool close();
    bool isOpen() const { return m_fd >= 0; }

    // Current size; nullopt on failure.
    std::optional<std::int64_t> size();
    // Reads up to n bytes at offset; returns the count read (less at the end
    // of the file) or -1.
    std::int64_t readAt(std::int64_t offset, char* data, std::int64_t n);
    // Writes all n bytes at offset or reports failure.
    [[nodiscard]] bool writeAt(std::int64_t offset, const char* data, std::int64_t n);
    [[nodiscard]] bool truncate(std::int64_t length);

    // Of the last failed call.
    Failure failure() const { return m_failure; }
    const QString& errorString() const { return m_error; }

private:
    void fail();

    int m_fd = -1;
    Failure m_failure = Failure::None;
    QString m_error;
};

} // namespace tarvok::platform
