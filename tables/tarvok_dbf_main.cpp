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
#include <cstring>
#include <memory>

namespace {

using tarvok::tables::DbfTable;
using tarvok::tables::FieldType;

// Standard output through one fixed buffer: growing and freeing a byte array
// per megabyte costs more in fresh pages than the whole conversion.
class Output {
public:
    static constexpr std::size_t Size = 1 << 20;
    static constexpr std::size_t Reserve = 64 * 1024; // more than a record's CSV

    Output() : m_buf(new char[Size]) {}
    ~Output() { flush(); }

    void put(char c) { m_buf[m_pos++] = c; }
    void put(const char* p, std::size_t n)
    {
        if (n > Size - m_pos) {
            flush();
            if (n > Size) {
                std::fwrite(p, 1, n, stdout);
                return;
            }
        }
        std::memcpy(m_buf.get() + m_pos, p, n);
        m_pos += n;
    }
    void put(QByteArrayView b) { put(b.data(), static_cast<std::size_t>(b.size())); }
    // Room for one more record's worth of small puts.
    void ensureRoom()
    {
        if (Size - m_pos < Reserve)
            flush();
    }
    void flush()
    {
        if (m_pos)
            std::fwrite(m_buf.get(), 1, m_pos, stdout);
        m_pos = 0;
    }

private:
    std::unique_ptr<char[]> m_buf;
    std::size_t m_pos = 0;
};

bool needsQuotes(QByteArrayView bytes)
{
    for (char c : bytes)
        if (c == ',' || c == '"' || c == '\n' || c == '\r')
            return true;
    return false;
}

// UTF-8 bytes as one CSV cell.
void putCell(Output& out, QByteArrayView utf8)
{
    if (!needsQuotes(utf8)) {
        out.put(utf8);
        return;
    }
    out.put('"');
    for (char c : utf8) {
        if (c == '"')
            out.put('"');
        out.put(c);
    }
    out.put('"');
}

void putInteger(Output& out, std::int64_t v)
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
    out.put(p, static_cast<std::size_t>(end - p));
}

// Stored integers are nearly always already in the form the engine's value
// prints as; those are copied, anything else goes through the engine.
void putIntegerField(Output& out, const DbfTable& table, int field)
{
    const QByteArrayView raw = table.rawField(field);
    const char* p = raw.data();
    const char* e = p + raw.size();
    while (p < e && *p == ' ')
        ++p;
    while (e > p && e[-1] == ' ')
        --e;
    if (p == e)
        return;
    const char* d = *p == '-' ? p + 1 : p;
    bool canonical = d < e && (*d != '0' || (e - d == 1 && d == p));
    for (const char* q = d; canonical && q < e; ++q)
        canonical = *q >= '0' && *q <= '9';
    if (canonical) {
        out.put(p, static_cast<std::size_t>(e - p));
    } else if (const auto v = table.integer(field)) {
        putInteger(out, *v);
    }
}

void putDigits(Output& out, int v, int n)
{
    char buf[4];
    for (int i = n - 1; i >= 0; --i, v /= 10)
        buf[i] = static_cast<char>('0' + v % 10);
    out.put(buf, static_cast<std::size_t>(n));
}

void putTextField(Output& out, const DbfTable& table, int field, QByteArray& scratch)
{
    QByteArrayView raw = table.rawField(field);
    qsizetype n = raw.size();
    while (n > 0 && (raw[n - 1] == ' ' || raw[n - 1] == '\0'))
        --n;
    raw = raw.first(n);
    scratch.resize(0);
    if (table.isCp866())
        tarvok::platform::appendUtf8FromCp866(raw, scratch);
    else
        scratch = table.text(field).toUtf8();
    putCell(out, scratch);
}

bool printTable(const QString& path, Output& out)
{
    DbfTable table;
    table.setPath(path);
    if (auto e = table.open(tarvok::tables::OpenMode::Read)) {
        out.flush();
        const QString why =
            e->message.isEmpty() ? QStringLiteral("header or record length is 0") : e->message;
        std::fprintf(stderr, "tarvok-dbf: %s: %s\n", QFile::encodeName(path).constData(),
                     why.toUtf8().constData());
        return false;
    }

    enum class Kind { Text, Integer, Date, Other };
    QList<Kind> kinds;
    const auto& fields = table.fields();
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i)
            out.put(',');
        putCell(out, fields[i].name.toUtf8());
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
    out.put('\n');

    QByteArray scratch;
    scratch.reserve(1024);
    for (bool more = table.first(); more; more = table.next()) {
        out.ensureRoom();
        for (int f = 0; f < kinds.size(); ++f) {
            if (f)
                out.put(',');
            switch (kinds[f]) {
            case Kind::Text:
                putTextField(out, table, f, scratch);
                break;
            case Kind::Integer:
                putIntegerField(out, table, f);
                break;
            case Kind::Date:
                if (const auto d = table.date(f)) {
                    putDigits(out, d->year(), 4);
                    out.put('-');
                    putDigits(out, d->month(), 2);
                    out.put('-');
                    putDigits(out, d->day(), 2);
                }
                break;
            case Kind::Other:
                putCell(out, table.text(f).toUtf8());
                break;
            }
        }
        out.put('\n');
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
    Output out;
    bool allRead = true;
    for (int i = 1; i < argc; ++i) {
        if (!printTable(QFile::decodeName(argv[i]), out))
            allRead = false;
    }
    out.flush();
    std::fflush(stdout);
    return allRead ? 0 : 1;
}
