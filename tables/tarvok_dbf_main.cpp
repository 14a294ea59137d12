// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers

// tarvok-dbf FILE...: prints each table as CSV (UTF-8, RFC 4180 quoting, LF
// line ends), one header row of field names and every record the engine
// reads, in file order. A refused file is reported on stderr and makes the
// exit status 1; the other files are still printed.

#include "platform/cp866.h"
#include "tables/dbf_table.h"

#include <QFile>

#include <cstdio>

namespace {

using tarvok::tables::DbfTable;
using tarvok::tables::FieldType;

constexpr qsizetype kFlushAt = 1 << 20;

void flush(QByteArray& out)
{
    if (!out.isEmpty())
        std::fwrite(out.constData(), 1, static_cast<size_t>(out.size()), stdout);
    out.clear();
}

bool needsQuotes(QByteArrayView bytes)
{
    for (char c : bytes)
        if (c == ',' || c == '"' || c == '\n' || c == '\r')
            return true;
    return false;
}

// UTF-8 bytes as one CSV cell.
void appendCell(QByteArray& out, QByteArrayView utf8)
{
    if (!needsQuotes(utf8)) {
        out.append(utf8);
        return;
    }
    out.append('"');
    for (char c : utf8) {
        if (c == '"')
            out.append('"');
        out.append(c);
    }
    out.append('"');
}

void appendInteger(QByteArray& out, std::int64_t v)
{
    char buf[24];
    char* const end = buf + sizeof buf;
    char* p = end;
    std::uint64_t u = v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
    do {
        *--p = static_cast<char>('0' + u % 10);
        u /= 10;
    } while (u != 0);
    if (v < 0)
        *--p = '-';
    out.append(p, end - p);
}

void appendDigits(QByteArray& out, int v, int n)
{
    char buf[4];
    for (int i = n - 1; i >= 0; --i, v /= 10)
        buf[i] = static_cast<char>('0' + v % 10);
    out.append(buf, n);
}

void appendTextField(QByteArray& out, const DbfTable& table, int field, QByteArray& scratch)
{
    QByteArrayView raw = table.rawField(field);
    qsizetype n = raw.size();
    while (n > 0 && (raw[n - 1] == ' ' || raw[n - 1] == '\0'))
        --n;
    raw = raw.first(n);
    if (table.isCp866() && !needsQuotes(raw)) {
        tarvok::platform::appendUtf8FromCp866(raw, out);
        return;
    }
    scratch.clear();
    if (table.isCp866())
        tarvok::platform::appendUtf8FromCp866(raw, scratch);
    else
        scratch = table.text(field).toUtf8();
    appendCell(out, scratch);
}

bool printTable(const QString& path, QByteArray& out)
{
    DbfTable table;
    table.setPath(path);
    if (auto e = table.open(tarvok::tables::OpenMode::Read)) {
        const QString why = e->message.isEmpty() ? QStringLiteral("header or record length is 0") : e->message;
        std::fprintf(stderr, "tarvok-dbf: %s: %s\n", QFile::encodeName(path).constData(), why.toUtf8().constData());
        return false;
    }

    enum class Kind { Text, Integer, Date, Other };
    QList<Kind> kinds;
    const auto& fields = table.fields();
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i)
            out.append(',');
        appendCell(out, fields[i].name.toUtf8());
        switch (fields[i].type) {
        case FieldType::Text:
            kinds.append(Kind::Text);
            break;
        case FieldType::Number:
            kinds.append(fields[i].decimals == 0 ? Kind::Integer : Kind::Other);
            break;
        case FieldType::Date:
            kinds.append(Kind::Date);
            break;
        default:
            kinds.append(Kind::Other);
            break;
        }
    }
    out.append('\n');

    QByteArray scratch;
    for (bool more = table.first(); more; more = table.next()) {
        for (int f = 0; f < kinds.size(); ++f) {
            if (f)
                out.append(',');
            switch (kinds[f]) {
            case Kind::Text:
                appendTextField(out, table, f, scratch);
                break;
            case Kind::Integer:
                if (const auto v = table.integer(f))
                    appendInteger(out, *v);
                break;
            case Kind::Date:
                if (const auto d = table.date(f)) {
                    appendDigits(out, d->year(), 4);
                    out.append('-');
                    appendDigits(out, d->month(), 2);
                    out.append('-');
                    appendDigits(out, d->day(), 2);
                }
                break;
            case Kind::Other:
                appendCell(out, table.text(f).toUtf8());
                break;
            }
        }
        out.append('\n');
        if (out.size() >= kFlushAt)
            flush(out);
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: tarvok-dbf FILE...\n");
        return 2;
    }
    QByteArray out;
    out.reserve(2 * kFlushAt);
    bool allRead = true;
    for (int i = 1; i < argc; ++i) {
        if (!printTable(QFile::decodeName(argv[i]), out))
            allRead = false;
        flush(out);
    }
    std::fflush(stdout);
    return allRead ? 0 : 1;
}
