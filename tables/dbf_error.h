// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <QString>

#include <optional>
#include <utility>
#include <variant>

namespace tarvok::tables {

// What went wrong with a table operation. Callers branch on the code; the
// message is for people and may be empty (a header or record length of 0 is
// refused without one, as other dBASE engines do).
struct Error {
    enum class Code {
        NotFound,       // "Open: file not found: "%s"."
        InvalidFile,    // "Invalid DBF file."
        EmptyLayout,    // header or record length 0
        Io,             // the system refused a create, read or write
        NotOpen,        // the operation needs an open table
        ReadOnly,       // a write on a table opened for reading
        BadFieldList,   // create() with an unusable field list
        UnknownField,   // no field of that name or number
        TypeMismatch,   // the value cannot be stored in a field of that type
        ValueTooWide,   // an integer with more characters than the field
        TooManyRecords, // the 32-bit record count would overflow
    };

    Code code;
    QString message;
};

// The result of an operation that gives nothing back: nullopt is success.
using MaybeError = std::optional<Error>;

// A value or the error that prevented it.
template <class T> class Result {
public:
    Result(T value) : m_v(std::move(value)) {}
    Result(Error error) : m_v(std::move(error)) {}

    bool ok() const { return std::holds_alternative<T>(m_v); }
    explicit operator bool() const { return ok(); }
    const T& value() const { return std::get<T>(m_v); }
    T& value() { return std::get<T>(m_v); }
    const Error& error() const { return std::get<Error>(m_v); }

private:
    std::variant<T, Error> m_v;
};

} // namespace tarvok::tables
