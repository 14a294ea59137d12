// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include "platform/raw_file.h"
#include "tables/dbf_error.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace tarvok::platform {
class Clock;
}

namespace tarvok::tables {

enum class FieldType : char {
    Text = 'C',
    Date = 'D',
    Number = 'N',
    // Read from files of other writers only.
    Float = 'F',
    Logical = 'L',
};

struct FieldDef {
    QString name; // stored upper-cased, at most 10 characters
    FieldType type = FieldType::Text;
    int width = 0; // 0: 8 for dates, 9 for numbers
    int decimals = 0;
};

FieldDef textField(const QString& name, int width);
FieldDef dateField(const QString& name);
FieldDef numberField(const QString& name, int width = 9);

// The value of a date field whose digits form no valid date.
QDate zeroDate();

enum class OpenMode { Read, ReadWrite };

struct CreateOptions {
    // Sets the index flag (header byte 28) and creates the index file beside
    // the table (same name, extension ".mdx"). The index file is a marker for
    // other tools only; ordering is done in memory (setOrder()).
    bool withIndexFile = false;
};

// One table object: bound to one dBASE III file at a time, opened and closed
// around each use. Files written are byte for byte the classic layout: a
// 32-byte header, 32-byte field descriptors, 0x0D, fixed-length records and
// 0x1A. Text is stored in code page 866 (1251 when a foreign file's language
// byte says so).
//
// Appends touch only the header and the end of the file, and take the record
// count from the file size, so their cost does not depend on the number of
// records and a file left by a killed process is repaired by the next write.
// Table objects of one process that share a file may be used from different
// threads; one object must not be used by two threads at once.
class DbfTable {
public:
    explicit DbfTable(const platform::Clock& clock);
    DbfTable(); // the system clock
    ~DbfTable();
    DbfTable(const DbfTable&) = delete;
    DbfTable& operator=(const DbfTable&) = delete;

    // Closes an open file first (errors of that close are dropped).
    void setPath(const QString& path);
    const QString& path() const { return m_path; }

    // Replaces the file with an empty table of these fields. The table is
    // left closed.
    [[nodiscard]] MaybeError create(const QList<FieldDef>& fields,
                                    const CreateOptions& options = {});

    // Shared: any number of table objects may have the file open. Opening for
    // writing corrects a record count that disagrees with the file size.
    [[nodiscard]] MaybeError open(OpenMode mode = OpenMode::ReadWrite);
    // For a table opened for writing, stamps the date into the header and
    // leaves 0x1A right after the last whole record.
    MaybeError close();
    bool isOpen() const { return m_file.isOpen(); }
    bool isWritable() const { return m_open && m_mode == OpenMode::ReadWrite; }

    const QList<FieldDef>& fields() const { return m_defs; }
    int fieldCount() const { return static_cast<int>(m_defs.size()); }
    // Case-insensitive; -1 when there is none.
    int fieldIndex(QStringView name) const;
    // Records in the file, deleted ones included, as derived from its size
    // when opened, refreshed or last appended to.
    std::int64_t recordCount() const { return m_count; }
    bool indexFlag() const { return m_indexFlag; }

    // --- Appending ---
    // Starts a new record with every field blank.
    void beginRecord();
    MaybeError setText(int field, QStringView value);
    MaybeError setText(QStringView field, QStringView value);
    MaybeError setInteger(int field, std::int64_t value);
    MaybeError setInteger(QStringView field, std::int64_t value);
    // A null date stores a blank field.
    MaybeError setDate(int field, const QDate& value);
    MaybeError setDate(QStringView field, const QDate& value);
    MaybeError setBlank(int field);
    // Stores the record at the end of the file and stamps the header; the
    // record buffer is blank afterwards.
    [[nodiscard]] MaybeError post();

    // --- Reading ---
    // Decides per record whether the cursor shows it; the table is positioned
    // on the candidate when it is called. Takes effect at the next first().
    void setFilter(std::function<bool(const DbfTable&)> filter);
    // Orders the cursor by one field's text (stable, so equal keys keep file
    // order); an empty name restores file order. Takes effect at first().
    MaybeError setOrder(QStringView field);

    // The cursor skips records marked deleted ("*") and those the filter
    // rejects. Each returns false when it ends past the last record.
    bool first();
    bool next();
    bool eof() const { return m_eof; }
    // Positions on a record by its place in the file (0-based, deleted ones
    // included), bypassing filter and order.
    bool goTo(std::int64_t record);
    std::int64_t recordNumber() const { return m_current; }
    bool isDeleted() const;
    // Record numbers the cursor would visit, in its order.
    QList<std::int64_t> visibleRecords();
    // Takes in records appended since the file was opened.
    MaybeError refresh();

    // Field values of the current record. A blank field reads as empty
    // (text), nullopt (integer, date) and isBlank() true. Text has its
    // trailing blanks removed (number, date and other fields: blanks on both
    // sides). Integers ignore surrounding blanks, take "." as the decimal
    // point and are rounded; text that is no number reads as 0. Date digits
    // that form no valid date read as zeroDate(). Unknown fields read blank.
    QString text(int field) const;
    QString text(QStringView field) const { return text(fieldIndex(field)); }
    std::optional<std::int64_t> integer(int field) const;
    std::optional<std::int64_t> integer(QStringView field) const
    {
        return integer(fieldIndex(field));
    }
    std::optional<QDate> date(int field) const;
    std::optional<QDate> date(QStringView field) const { return date(fieldIndex(field)); }
    bool isBlank(int field) const;
    bool isBlank(QStringView field) const { return isBlank(fieldIndex(field)); }
    // The stored bytes (empty when there is no current record).
    QByteArrayView rawField(int field) const;
    // True when text fields hold code page 866 (false: 1251).
    bool isCp866() const { return m_cp866; }

private:
    struct Layout {
        int offset;
        int width;
        FieldType type;
        int decimals;
    };

    MaybeError checkWritable(int field) const;
    MaybeError ioError(const QString& what) const;
    QByteArray headerBytes(std::uint32_t count) const;
    MaybeError writeTail();
    MaybeError loadRecords();
    void buildView();
    bool settle(); // moves from m_viewPos to the first visible record
    const char* recordPtr() const { return recordBytes(m_current); }
    const char* recordBytes(std::int64_t record) const
    {
        if (record >= m_chunkFirst && record < m_chunkFirst + m_chunkCount && m_loaded &&
            record < m_count)
            return m_chunk.constData() + (record - m_chunkFirst) * m_recordLength;
        return loadChunk(record);
    }
    const char* loadChunk(std::int64_t record) const;
    void resetState();

    const platform::Clock* m_clock;
    QString m_path;
    mutable platform::RawFile m_file; // reads from const accessors fill the chunk
    bool m_open = false;
    OpenMode m_mode = OpenMode::Read;

    QByteArray m_header;      // the 32 header bytes as read or written
    QByteArray m_descriptors; // bytes 32 .. header length, to reuse a parse
    QList<FieldDef> m_defs;
    QList<Layout> m_layout;
    int m_headerLength = 0;
    int m_recordLength = 0;
    bool m_indexFlag = false;
    bool m_cp866 = true;
    std::int64_t m_count = 0;

    // Set once this object's last write left the header and the 0x1A as a
    // close would write them (same count, same date), so close skips them.
    bool m_tailCurrent = false;
    QDate m_stampDate;

    QByteArray m_record; // the record being built

    // Records are read a chunk at a time into one reused buffer: a whole-file
    // copy costs more in fresh pages than the parsing, and a mapping would
    // fault the process if another program truncated the file.
    bool m_loaded = false; // m_count established for reading
    mutable QByteArray m_chunk;
    mutable std::int64_t m_chunkFirst = 0;
    mutable std::int64_t m_chunkCount = 0;
    std::function<bool(const DbfTable&)> m_filter;
    int m_orderField = -1;
    bool m_viewBuilt = false;
    bool m_useView = false;
    QList<std::int64_t> m_view;
    std::int64_t m_viewPos = 0;
    std::int64_t m_current = -1;
    bool m_eof = true;
};

} // namespace tarvok::tables
