// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "tables/dbf_table.h"

#include "platform/clock.h"
#include "platform/cp1251.h"
#include "platform/cp866.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <mutex>
#include <numeric>

namespace tarvok::tables {
namespace {

constexpr int kHeaderSize = 32;
constexpr int kDescriptorSize = 32;
constexpr char kTerminator = 0x0D;
constexpr char kEndMarker = 0x1A;
constexpr unsigned char kLanguage1251 = 0xC9;

// Serialises, across every table object of the process, the steps that take
// the record count from the file size and then write the header or the end
// of the file: an append on the poll thread and a close of a viewer on the
// window thread would otherwise both derive the same count and one would
// write its header or 0x1A over the other's record.
std::mutex& tailMutex()
{
    static std::mutex m;
    return m;
}

const QString& invalidFileText()
{
    static const QString text = QStringLiteral("Invalid DBF file.");
    return text;
}

Error invalidFile()
{
    return Error{Error::Code::InvalidFile, invalidFileText()};
}

unsigned readU16(const char* p)
{
    return static_cast<unsigned char>(p[0]) |
           (static_cast<unsigned>(static_cast<unsigned char>(p[1])) << 8);
}

std::uint32_t readU32(const char* p)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(p[i]);
    return v;
}

void writeU16(char* p, unsigned v)
{
    p[0] = static_cast<char>(v & 0xFF);
    p[1] = static_cast<char>((v >> 8) & 0xFF);
}

void writeU32(char* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

void stampDate(char* header, const QDate& d)
{
    header[1] = static_cast<char>(std::clamp(d.year() - 1900, 0, 255));
    header[2] = static_cast<char>(d.month());
    header[3] = static_cast<char>(d.day());
}

bool isBlankByte(char c)
{
    return c == ' ' || c == '\0';
}

bool knownType(char t)
{
    return t == 'C' || t == 'D' || t == 'N' || t == 'F' || t == 'L';
}

QString mdxPath(const QString& path)
{
    const QFileInfo fi(path);
    return fi.path() + u'/' + fi.completeBaseName() + QStringLiteral(".mdx");
}

// Writes v's decimal digits backwards ending at end; returns the first one.
char* formatInteger(std::int64_t v, char* end)
{
    const bool negative = v < 0;
    // Works in unsigned so that the most negative value does not overflow.
    std::uint64_t u = negative ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
    char* p = end;
    do {
        *--p = static_cast<char>('0' + u % 10);
        u /= 10;
    } while (u != 0);
    if (negative)
        *--p = '-';
    return p;
}

// Decimals, exponents, very long digit runs and anything else; kept out of
// line so that the common path needs no stack frame for a QByteArray.
[[gnu::noinline]] std::int64_t parseNumberSlow(const char* p, const char* e)
{
    bool ok = false;
    const double value = QByteArray(p, e - p).toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return 0;
    constexpr double limit = 9.2e18;
    return static_cast<std::int64_t>(std::llround(std::clamp(value, -limit, limit)));
}

inline std::optional<std::int64_t> parseNumber(const char* p, const char* e)
{
    while (p < e && isBlankByte(*p))
        ++p;
    while (e > p && isBlankByte(e[-1]))
        --e;
    if (p == e)
        return std::nullopt;
    const char* q = p;
    const bool negative = *q == '-';
    if (*q == '-' || *q == '+')
        ++q;
    if (q < e && e - q <= 18) {
        std::int64_t v = 0;
        const char* d = q;
        for (; d < e; ++d) {
            const unsigned digit = static_cast<unsigned char>(*d) - unsigned('0');
            if (digit > 9)
                break;
            v = v * 10 + digit;
        }
        if (d == e)
            return negative ? -v : v;
    }
    return parseNumberSlow(p, e);
}

} // namespace

FieldDef textField(const QString& name, int width)
{
    return FieldDef{name, FieldType::Text, width, 0};
}

FieldDef dateField(const QString& name)
{
    return FieldDef{name, FieldType::Date, 8, 0};
}

FieldDef numberField(const QString& name, int width)
{
    return FieldDef{name, FieldType::Number, width, 0};
}

QDate zeroDate()
{
    return QDate(1899, 12, 30);
}

DbfTable::DbfTable(const platform::Clock& clock) : m_clock(&clock) {}

DbfTable::DbfTable() : DbfTable(platform::systemClock()) {}

DbfTable::~DbfTable()
{
    close();
}

void DbfTable::setPath(const QString& path)
{
    close();
    m_path = path;
}

MaybeError DbfTable::ioError(const QString& what) const
{
    return Error{Error::Code::Io,
                 QStringLiteral("%1 \"%2\": %3").arg(what, m_path, m_file.errorString())};
}

MaybeError DbfTable::create(const QList<FieldDef>& fields, const CreateOptions& options)
{
    close();
    auto bad = [](const QString& why) { return Error{Error::Code::BadFieldList, why}; };
    if (fields.isEmpty())
        return bad(QStringLiteral("A table needs at least one field."));

    QByteArray descriptors;
    QList<QString> names;
    int recordLength = 1;
    for (const FieldDef& f : fields) {
        const QString name = f.name.toUpper();
        if (name.isEmpty() || name.size() > 10)
            return bad(
                QStringLiteral("Field name \"%1\" must have 1 to 10 characters.").arg(f.name));
        for (QChar c : name)
            if (!(c.isDigit() || (c >= u'A' && c <= u'Z') || c == u'_') || c.unicode() > 0x7F)
                return bad(
                    QStringLiteral("Field name \"%1\" may hold only letters A-Z, digits and \"_\".")
                        .arg(f.name));
        if (names.contains(name))
            return bad(QStringLiteral("Field name \"%1\" appears twice.").arg(name));
        names.append(name);

        int width = f.width;
        switch (f.type) {
        case FieldType::Text:
            if (width < 1 || width > 254)
                return bad(QStringLiteral("Text field %1 needs a width of 1 to 254.").arg(name));
            break;
        case FieldType::Date:
            width = 8;
            break;
        case FieldType::Number:
            if (width == 0)
                width = 9;
            if (width < 1 || width > 19)
                return bad(QStringLiteral("Number field %1 needs a width of 1 to 19.").arg(name));
            break;
        default:
            return bad(QStringLiteral("Field %1: only text, date and number fields can be created.")
                           .arg(name));
        }
        if (f.decimals != 0)
            return bad(
                QStringLiteral("Field %1: only fields without decimals can be created.").arg(name));

        QByteArray d(kDescriptorSize, '\0');
        const QByteArray ascii = name.toLatin1();
        std::memcpy(d.data(), ascii.constData(), ascii.size());
        d[11] = static_cast<char>(f.type);
        d[16] = static_cast<char>(width);
        descriptors += d;
        recordLength += width;
    }
    const int headerLength = kHeaderSize + kDescriptorSize * static_cast<int>(fields.size()) + 1;
    if (headerLength > 0xFFFF || recordLength > 0xFFFF)
        return bad(QStringLiteral("Too many or too wide fields."));

    QByteArray bytes(kHeaderSize, '\0');
    bytes[0] = 0x03;
    stampDate(bytes.data(), m_clock->now().date());
    writeU16(bytes.data() + 8, static_cast<unsigned>(headerLength));
    writeU16(bytes.data() + 10, static_cast<unsigned>(recordLength));
    bytes[28] = options.withIndexFile ? 1 : 0;
    bytes += descriptors;
    bytes += kTerminator;
    bytes += kEndMarker;

    platform::RawFile f;
    if (!f.open(m_path, platform::RawFile::Mode::CreateReplace))
        return Error{Error::Code::Io,
                     QStringLiteral("Create \"%1\": %2").arg(m_path, f.errorString())};
    if (!f.writeAt(0, bytes.constData(), bytes.size()) || !f.close())
        return Error{Error::Code::Io,
                     QStringLiteral("Create \"%1\": %2").arg(m_path, f.errorString())};

    if (options.withIndexFile) {
        const QString index = mdxPath(m_path);
        platform::RawFile mdx;
        if (!mdx.open(index, platform::RawFile::Mode::CreateReplace) || !mdx.close())
            return Error{Error::Code::Io,
                         QStringLiteral("Create \"%1\": %2").arg(index, mdx.errorString())};
    }
    return std::nullopt;
}

QByteArray DbfTable::headerBytes(std::uint32_t count) const
{
    QByteArray h = m_header;
    writeU32(h.data() + 4, count);
    stampDate(h.data(), m_clock->now().date());
    return h;
}

void DbfTable::resetState()
{
    m_open = false;
    m_loaded = false;
    m_chunkCount = 0;
    m_viewBuilt = false;
    m_view.clear();
    m_current = -1;
    m_viewPos = 0;
    m_eof = true;
    m_tailCurrent = false;
}

MaybeError DbfTable::open(OpenMode mode)
{
    close();
    resetState();
    const bool write = mode == OpenMode::ReadWrite;
    if (!m_file.open(m_path,
                     write ? platform::RawFile::Mode::ReadWrite : platform::RawFile::Mode::Read)) {
        if (m_file.failure() == platform::RawFile::Failure::NotFound)
            return Error{Error::Code::NotFound,
                         QStringLiteral("Open: file not found: \"%1\".").arg(m_path)};
        return ioError(QStringLiteral("Open"));
    }
    // Any refusal below leaves the table closed.
    auto refuse = [this](Error e) -> MaybeError {
        m_file.close();
        return e;
    };

    char head[4096];
    const std::int64_t got = m_file.readAt(0, head, sizeof head);
    if (got < 0)
        return refuse(*ioError(QStringLiteral("Read")));
    if (got < kHeaderSize || (static_cast<unsigned char>(head[0]) & 0x07) != 0x03)
        return refuse(invalidFile());
    const int headerLength = static_cast<int>(readU16(head + 8));
    const int recordLength = static_cast<int>(readU16(head + 10));
    if (headerLength == 0 || recordLength == 0)
        return refuse(Error{Error::Code::EmptyLayout, QString()});
    if (headerLength < kHeaderSize + kDescriptorSize)
        return refuse(invalidFile());

    QByteArray descriptors;
    if (headerLength <= got) {
        descriptors = QByteArray(head + kHeaderSize, headerLength - kHeaderSize);
    } else {
        descriptors.resize(headerLength - kHeaderSize);
        if (m_file.readAt(kHeaderSize, descriptors.data(), descriptors.size()) !=
            descriptors.size())
            return refuse(invalidFile());
    }

    const bool cp866 = static_cast<unsigned char>(head[29]) != kLanguage1251;
    // The same object reopening the same file (every append) skips the parse.
    if (descriptors != m_descriptors || recordLength != m_recordLength || cp866 != m_cp866 ||
        m_layout.isEmpty()) {
        QList<FieldDef> defs;
        QList<Layout> layout;
        const int n = (headerLength - kHeaderSize) / kDescriptorSize;
        int offset = 1;
        for (int i = 0; i < n; ++i) {
            const char* d = descriptors.constData() + i * kDescriptorSize;
            if (d[0] == kTerminator)
                break;
            const int nameLength = static_cast<int>(qstrnlen(d, 11));
            const char type = d[11];
            const int width = static_cast<unsigned char>(d[16]);
            const int decimals = static_cast<unsigned char>(d[17]);
            if (nameLength == 0 || !knownType(type) || width == 0)
                return refuse(invalidFile());
            offset += width;
            if (offset > recordLength)
                return refuse(invalidFile());
            const QString name = platform::fromCp866(QByteArrayView(d, nameLength)).toUpper();
            defs.append(FieldDef{name, static_cast<FieldType>(type), width, decimals});
            layout.append(Layout{offset - width, width, static_cast<FieldType>(type), decimals});
        }
        if (defs.isEmpty())
            return refuse(invalidFile());
        m_defs = std::move(defs);
        m_layout = std::move(layout);
        m_descriptors = descriptors;
    }
    m_header = QByteArray(head, kHeaderSize);
    m_headerLength = headerLength;
    m_recordLength = recordLength;
    m_cp866 = cp866;
    m_mode = mode;
    m_record = QByteArray(recordLength, ' ');

    bool headerStale = false;
    m_indexFlag = head[28] != 0;
    if (m_indexFlag && !QFileInfo::exists(mdxPath(m_path))) {
        m_indexFlag = false;
        m_header[28] = 0;
        headerStale = true;
    }

    std::lock_guard lock(tailMutex());
    const auto size = m_file.size();
    if (!size)
        return refuse(*ioError(QStringLiteral("Open")));
    if (*size < headerLength)
        return refuse(invalidFile());
    m_count = (*size - headerLength) / recordLength;
    if (write && (headerStale || readU32(head + 4) != m_count)) {
        const QByteArray h = headerBytes(static_cast<std::uint32_t>(m_count));
        if (!m_file.writeAt(0, h.constData(), h.size()))
            return refuse(*ioError(QStringLiteral("Write")));
        m_header = h;
    }
    m_open = true;
    return std::nullopt;
}

MaybeError DbfTable::close()
{
    if (!m_file.isOpen()) {
        resetState();
        return std::nullopt;
    }
    MaybeError result;
    // After this object's own append of today the file holds what this would
    // write, or a later writer's newer header and record: nothing to add.
    if (m_open && m_mode == OpenMode::ReadWrite &&
        !(m_tailCurrent && m_stampDate == m_clock->now().date()))
        result = writeTail();
    if (!m_file.close() && !result)
        result = ioError(QStringLiteral("Close"));
    resetState();
    return result;
}

MaybeError DbfTable::writeTail()
{
    std::lock_guard lock(tailMutex());
    const auto size = m_file.size();
    if (!size)
        return ioError(QStringLiteral("Close"));
    if (*size < m_headerLength)
        return invalidFile();
    const std::int64_t n = (*size - m_headerLength) / m_recordLength;
    const std::int64_t end = m_headerLength + n * m_recordLength;
    const QByteArray h =
        headerBytes(static_cast<std::uint32_t>(std::min<std::int64_t>(n, UINT32_MAX)));
    // A partial record left by a killed writer goes, so the file ends in 0x1A.
    if (!m_file.writeAt(0, h.constData(), h.size()) || !m_file.writeAt(end, &kEndMarker, 1) ||
        (*size > end + 1 && !m_file.truncate(end + 1)))
        return ioError(QStringLiteral("Write"));
    m_count = n;
    return std::nullopt;
}

int DbfTable::fieldIndex(QStringView name) const
{
    for (qsizetype i = 0; i < m_defs.size(); ++i)
        if (name.compare(m_defs[i].name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

// --- Appending ---

void DbfTable::beginRecord()
{
    m_record.fill(' ');
}

MaybeError DbfTable::checkWritable(int field) const
{
    if (!m_open)
        return Error{Error::Code::NotOpen, QStringLiteral("Table \"%1\" is not open.").arg(m_path)};
    if (m_mode != OpenMode::ReadWrite)
        return Error{Error::Code::ReadOnly,
                     QStringLiteral("Table \"%1\" is open for reading only.").arg(m_path)};
    if (field < 0 || field >= m_layout.size())
        return Error{Error::Code::UnknownField,
                     QStringLiteral("Table \"%1\" has no field number %2.").arg(m_path).arg(field)};
    return std::nullopt;
}

namespace {
Error unknownField(QStringView name, const QString& path)
{
    return Error{Error::Code::UnknownField,
                 QStringLiteral("Table \"%1\" has no field %2.").arg(path, name.toString())};
}
} // namespace

MaybeError DbfTable::setText(QStringView field, QStringView value)
{
    const int i = fieldIndex(field);
    return i < 0 && m_open ? MaybeError(unknownField(field, m_path)) : setText(i, value);
}

MaybeError DbfTable::setInteger(QStringView field, std::int64_t value)
{
    const int i = fieldIndex(field);
    return i < 0 && m_open ? MaybeError(unknownField(field, m_path)) : setInteger(i, value);
}

MaybeError DbfTable::setDate(QStringView field, const QDate& value)
{
    const int i = fieldIndex(field);
    return i < 0 && m_open ? MaybeError(unknownField(field, m_path)) : setDate(i, value);
}

MaybeError DbfTable::setBlank(int field)
{
    if (auto e = checkWritable(field))
        return e;
    const Layout& l = m_layout[field];
    std::memset(m_record.data() + l.offset, ' ', l.width);
    return std::nullopt;
}

MaybeError DbfTable::setText(int field, QStringView value)
{
    if (auto e = checkWritable(field))
        return e;
    const Layout& l = m_layout[field];
    char* dst = m_record.data() + l.offset;
    switch (l.type) {
    case FieldType::Text: {
        const QByteArray bytes = m_cp866 ? platform::toCp866(value) : platform::toCp1251(value);
        const int n = static_cast<int>(std::min<qsizetype>(bytes.size(), l.width));
        std::memcpy(dst, bytes.constData(), n);
        std::memset(dst + n, ' ', l.width - n);
        return std::nullopt;
    }
    case FieldType::Number: {
        const QStringView t = value.trimmed();
        if (t.isEmpty())
            return setBlank(field);
        bool ok = false;
        const qlonglong v = t.toLongLong(&ok);
        if (ok)
            return setInteger(field, v);
        break;
    }
    case FieldType::Date: {
        const QStringView t = value.trimmed();
        if (t.isEmpty())
            return setBlank(field);
        QDate d = QDate::fromString(t.toString(), Qt::ISODate);
        if (!d.isValid())
            d = QDate::fromString(t.toString(), QStringLiteral("yyyyMMdd"));
        if (d.isValid())
            return setDate(field, d);
        break;
    }
    default:
        break;
    }
    return Error{Error::Code::TypeMismatch, QStringLiteral("\"%1\" cannot be stored in field %2.")
                                                .arg(value.toString(), m_defs[field].name)};
}

MaybeError DbfTable::setInteger(int field, std::int64_t value)
{
    if (auto e = checkWritable(field))
        return e;
    const Layout& l = m_layout[field];
    if (l.type != FieldType::Number && l.type != FieldType::Text)
        return Error{
            Error::Code::TypeMismatch,
            QStringLiteral("An integer cannot be stored in field %1.").arg(m_defs[field].name)};
    char digits[24];
    char* const end = digits + sizeof digits;
    const char* begin = formatInteger(value, end);
    const int n = static_cast<int>(end - begin);
    if (n > l.width)
        return Error{Error::Code::ValueTooWide,
                     QStringLiteral("%1 does not fit in field %2 (%3 characters).")
                         .arg(value)
                         .arg(m_defs[field].name)
                         .arg(l.width)};
    char* dst = m_record.data() + l.offset;
    if (l.type == FieldType::Number) {
        std::memset(dst, ' ', l.width - n);
        std::memcpy(dst + l.width - n, begin, n);
    } else {
        std::memcpy(dst, begin, n);
        std::memset(dst + n, ' ', l.width - n);
    }
    return std::nullopt;
}

MaybeError DbfTable::setDate(int field, const QDate& value)
{
    if (auto e = checkWritable(field))
        return e;
    const Layout& l = m_layout[field];
    if (l.type != FieldType::Date || l.width != 8)
        return Error{
            Error::Code::TypeMismatch,
            QStringLiteral("A date cannot be stored in field %1.").arg(m_defs[field].name)};
    if (!value.isValid())
        return setBlank(field);
    if (value.year() < 1 || value.year() > 9999)
        return Error{Error::Code::ValueTooWide,
                     QStringLiteral("The year %1 does not fit in field %2.")
                         .arg(value.year())
                         .arg(m_defs[field].name)};
    char* dst = m_record.data() + l.offset;
    int v = value.year() * 10000 + value.month() * 100 + value.day();
    for (int i = 7; i >= 0; --i, v /= 10)
        dst[i] = static_cast<char>('0' + v % 10);
    return std::nullopt;
}

MaybeError DbfTable::post()
{
    if (!m_open)
        return Error{Error::Code::NotOpen, QStringLiteral("Table \"%1\" is not open.").arg(m_path)};
    if (m_mode != OpenMode::ReadWrite)
        return Error{Error::Code::ReadOnly,
                     QStringLiteral("Table \"%1\" is open for reading only.").arg(m_path)};
    m_record[0] = ' ';
    m_record.append(kEndMarker);
    std::lock_guard lock(tailMutex());
    m_tailCurrent = false;
    auto done = [this](MaybeError e) {
        m_record.chop(1);
        m_record.fill(' ');
        return e;
    };
    const auto size = m_file.size();
    if (!size)
        return done(ioError(QStringLiteral("Append to")));
    if (*size < m_headerLength)
        return done(invalidFile());
    // The size, not the header, says where the end is: a count left stale by
    // a killed writer or another program must not put the record over others.
    const std::int64_t n = (*size - m_headerLength) / m_recordLength;
    if (n >= std::int64_t(UINT32_MAX))
        return done(Error{Error::Code::TooManyRecords,
                          QStringLiteral("Table \"%1\" is full.").arg(m_path)});
    // Record and end marker first, header last: if the process dies between
    // the two the record is whole and the next write counts it from the size.
    if (!m_file.writeAt(m_headerLength + n * m_recordLength, m_record.constData(), m_record.size()))
        return done(ioError(QStringLiteral("Append to")));
    const QDate today = m_clock->now().date();
    QByteArray h = m_header;
    writeU32(h.data() + 4, static_cast<std::uint32_t>(n + 1));
    stampDate(h.data(), today);
    if (!m_file.writeAt(0, h.constData(), h.size()))
        return done(ioError(QStringLiteral("Append to")));
    m_header = h;
    m_count = n + 1;
    m_stampDate = today;
    m_tailCurrent = true;
    m_loaded = false;
    m_viewBuilt = false;
    m_current = -1;
    m_eof = true;
    return done(std::nullopt);
}

// --- Reading ---

MaybeError DbfTable::loadRecords()
{
    if (!m_open)
        return Error{Error::Code::NotOpen, QStringLiteral("Table \"%1\" is not open.").arg(m_path)};
    if (m_loaded)
        return std::nullopt;
    std::lock_guard lock(tailMutex());
    const auto size = m_file.size();
    if (!size)
        return ioError(QStringLiteral("Read"));
    m_count = *size >= m_headerLength ? (*size - m_headerLength) / m_recordLength : 0;
    m_loaded = true;
    m_viewBuilt = false;
    return std::nullopt;
}

const char* DbfTable::loadChunk(std::int64_t record) const
{
    if (!m_loaded || record < 0 || record >= m_count)
        return nullptr;
    {
        constexpr std::int64_t chunkBytes = 256 * 1024;
        const std::int64_t perChunk = std::max<std::int64_t>(1, chunkBytes / m_recordLength);
        const std::int64_t first = record - record % perChunk;
        const std::int64_t n = std::min(perChunk, m_count - first);
        m_chunk.resize(n * m_recordLength);
        std::int64_t got =
            m_file.readAt(m_headerLength + first * m_recordLength, m_chunk.data(), m_chunk.size());
        // Bytes gone since the count was taken (the file was replaced) read
        // as blank records rather than as whatever the buffer held.
        got = std::max<std::int64_t>(got, 0);
        if (got < m_chunk.size())
            std::memset(m_chunk.data() + got, ' ', m_chunk.size() - got);
        m_chunkFirst = first;
        m_chunkCount = n;
    }
    return m_chunk.constData() + (record - m_chunkFirst) * m_recordLength;
}

MaybeError DbfTable::refresh()
{
    m_loaded = false;
    m_chunkCount = 0;
    m_current = -1;
    m_eof = true;
    return loadRecords();
}

void DbfTable::setFilter(std::function<bool(const DbfTable&)> filter)
{
    m_filter = std::move(filter);
    m_viewBuilt = false;
}

MaybeError DbfTable::setOrder(QStringView field)
{
    if (field.isEmpty()) {
        m_orderField = -1;
    } else {
        const int i = fieldIndex(field);
        if (i < 0)
            return unknownField(field, m_path);
        m_orderField = i;
    }
    m_viewBuilt = false;
    return std::nullopt;
}

bool DbfTable::isDeleted() const
{
    const char* r = recordPtr();
    return r && r[0] == '*';
}

void DbfTable::buildView()
{
    m_viewBuilt = true;
    m_useView = m_filter || m_orderField >= 0;
    m_view.clear();
    if (!m_useView)
        return;
    const std::int64_t saved = m_current;
    for (std::int64_t i = 0; i < m_count; ++i) {
        m_current = i;
        if (recordBytes(i)[0] == '*')
            continue;
        if (m_filter && !m_filter(*this))
            continue;
        m_view.append(i);
    }
    m_current = saved;
    if (m_orderField >= 0) {
        // Keys are copied out first: the chunk buffer holds only part of the file.
        const Layout l = m_layout[m_orderField];
        QByteArray keys(m_view.size() * l.width, Qt::Uninitialized);
        for (qsizetype k = 0; k < m_view.size(); ++k)
            std::memcpy(keys.data() + k * l.width, recordBytes(m_view[k]) + l.offset, l.width);
        QList<qsizetype> order(m_view.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
            return std::memcmp(keys.constData() + a * l.width, keys.constData() + b * l.width,
                               l.width) < 0;
        });
        QList<std::int64_t> sorted;
        sorted.reserve(m_view.size());
        for (qsizetype k : order)
            sorted.append(m_view[k]);
        m_view = std::move(sorted);
    }
}

bool DbfTable::settle()
{
    if (m_useView) {
        if (m_viewPos < m_view.size()) {
            m_current = m_view[m_viewPos];
            m_eof = false;
            return true;
        }
    } else {
        for (; m_viewPos < m_count; ++m_viewPos) {
            if (recordBytes(m_viewPos)[0] != '*') {
                m_current = m_viewPos;
                m_eof = false;
                return true;
            }
        }
    }
    m_current = -1;
    m_eof = true;
    return false;
}

bool DbfTable::first()
{
    if (loadRecords()) {
        m_current = -1;
        m_eof = true;
        return false;
    }
    if (!m_viewBuilt)
        buildView();
    m_viewPos = 0;
    return settle();
}

bool DbfTable::next()
{
    if (m_eof)
        return false;
    ++m_viewPos;
    return settle();
}

bool DbfTable::goTo(std::int64_t record)
{
    if (loadRecords() || record < 0 || record >= m_count) {
        m_current = -1;
        m_eof = true;
        return false;
    }
    m_current = record;
    m_eof = false;
    if (!m_viewBuilt)
        buildView();
    if (m_useView) {
        const auto it = std::find(m_view.cbegin(), m_view.cend(), record);
        m_viewPos = it - m_view.cbegin();
    } else {
        m_viewPos = record;
    }
    return true;
}

QList<std::int64_t> DbfTable::visibleRecords()
{
    QList<std::int64_t> out;
    if (loadRecords())
        return out;
    if (!m_viewBuilt)
        buildView();
    if (m_useView)
        return m_view;
    for (std::int64_t i = 0; i < m_count; ++i)
        if (recordBytes(i)[0] != '*')
            out.append(i);
    return out;
}

QByteArrayView DbfTable::rawField(int field) const
{
    const char* r = recordPtr();
    if (!r || field < 0 || field >= m_layout.size())
        return {};
    return QByteArrayView(r + m_layout[field].offset, m_layout[field].width);
}

bool DbfTable::isBlank(int field) const
{
    const QByteArrayView raw = rawField(field);
    return std::all_of(raw.begin(), raw.end(), isBlankByte);
}

QString DbfTable::text(int field) const
{
    const QByteArrayView raw = rawField(field);
    const char* p = raw.data();
    const char* e = p + raw.size();
    while (e > p && isBlankByte(e[-1]))
        --e;
    if (m_layout.value(field).type != FieldType::Text)
        while (p < e && isBlankByte(*p))
            ++p;
    const QByteArrayView bytes(p, e - p);
    return m_cp866 ? platform::fromCp866(bytes) : platform::fromCp1251(bytes);
}

std::optional<std::int64_t> DbfTable::integer(int field) const
{
    const char* r = recordPtr();
    if (!r || field < 0 || field >= m_layout.size())
        return std::nullopt;
    const Layout& l = m_layout[field];
    return parseNumber(r + l.offset, r + l.offset + l.width);
}

std::optional<QDate> DbfTable::date(int field) const
{
    const QByteArrayView raw = rawField(field);
    if (std::all_of(raw.begin(), raw.end(), isBlankByte))
        return std::nullopt;
    if (raw.size() != 8 ||
        !std::all_of(raw.begin(), raw.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return zeroDate();
    auto num = [&](int from, int n) {
        int v = 0;
        for (int i = from; i < from + n; ++i)
            v = v * 10 + (raw[i] - '0');
        return v;
    };
    const QDate d(num(0, 4), num(4, 2), num(6, 2));
    return d.isValid() ? d : zeroDate();
}

} // namespace tarvok::tables
