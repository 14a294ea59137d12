// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "platform/profile.h"

#include "platform/cp1251.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <optional>
#include <vector>

namespace tarvok::platform {
namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

QStringView trimBlanks(QStringView s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && (isBlank(s[e - 1]) || s[e - 1] == u'\r' || s[e - 1] == u'\n'))
        --e;
    return s.mid(b, e - b);
}

bool sameName(QStringView a, QStringView b)
{
    return trimBlanks(a).compare(trimBlanks(b), Qt::CaseInsensitive) == 0;
}

bool isValidUtf8(const QByteArray& bytes)
{
    QStringDecoder dec(QStringDecoder::Utf8);
    const QString decoded = dec.decode(bytes); // EncodedData decodes only when converted
    (void)decoded;
    return !dec.hasError();
}

// A line of a profile file as seen by the matcher.
struct Line {
    enum Kind { Other, Section, Entry } kind = Other;
    QString name;  // section or key name, trimmed
    QString value; // entry value, trimmed
};

Line parseLine(QStringView raw)
{
    Line line;
    const QStringView t = trimBlanks(raw);
    if (t.startsWith(u'[')) {
        const qsizetype close = t.indexOf(u']');
        line.kind = Line::Section;
        line.name = trimBlanks(t.mid(1, close < 0 ? -1 : close - 1)).toString();
        return line;
    }
    if (t.isEmpty() || t.startsWith(u';'))
        return line;
    const qsizetype eq = t.indexOf(u'=');
    if (eq < 0)
        return line;
    line.kind = Line::Entry;
    line.name = trimBlanks(t.left(eq)).toString();
    line.value = trimBlanks(t.mid(eq + 1)).toString();
    return line;
}

std::optional<QByteArray> readWholeFile(const QString& file)
{
    const QFileInfo info(file);
    if (!info.exists() || info.isDir())
        return std::nullopt;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return f.readAll();
}

// Raw lines, each with its own line ending (the last may have none).
std::vector<QByteArray> splitRawLines(const QByteArray& bytes)
{
    std::vector<QByteArray> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype nl = bytes.indexOf('\n', start);
        qsizetype end = nl < 0 ? bytes.size() : nl + 1;
        lines.push_back(bytes.mid(start, end - start));
        start = end;
    }
    return lines;
}

} // namespace

QString decodeProfileText(const QByteArray& bytes)
{
    if (isValidUtf8(bytes))
        return QString::fromUtf8(bytes);
    return fromCp1251(bytes);
}

ProfileFile::ProfileFile(const QString& file)
{
    if (const auto bytes = readWholeFile(file))
        m_text = decodeProfileText(*bytes);
}

QString ProfileFile::value(const QString& section, const QString& key,
                           const QString& defaultValue) const
{
    bool inSection = false;
    bool sectionSeen = false;
    for (QStringView raw : QStringTokenizer(m_text, u'\n')) {
        const Line line = parseLine(raw);
        if (line.kind == Line::Section) {
            if (sectionSeen && inSection)
                break; // only the first section of that name counts
            inSection = sameName(line.name, section);
            sectionSeen = sectionSeen || inSection;
        } else if (inSection && line.kind == Line::Entry && sameName(line.name, key)) {
            return line.value.left(MaxValueLength);
        }
    }
    return defaultValue;
}

QString readProfileString(const QString& file, const QString& section, const QString& key,
                          const QString& defaultValue)
{
    return ProfileFile(file).value(section, key, defaultValue);
}

bool writeProfileString(const QString& file, const QString& section, const QString& key,
                        const QString& value)
{
    QByteArray bytes;
    const QFileInfo info(file);
    if (info.isDir())
        return false;
    if (info.exists()) {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            return false;
        bytes = f.readAll();
    }
    const bool utf8 = isValidUtf8(bytes);
    auto decode = [utf8](const QByteArray& b) {
        return utf8 ? QString::fromUtf8(b) : fromCp1251(b);
    };
    auto encode = [utf8](const QString& s) { return utf8 ? s.toUtf8() : toCp1251(s); };

    std::vector<QByteArray> lines = splitRawLines(bytes);
    const QByteArray eol = (!lines.empty() && lines.front().endsWith("\r\n")) ? "\r\n" : "\n";
    const QByteArray entry = encode(trimBlanks(key).toString() + u'=' + value) + eol;

    std::optional<std::size_t> sectionAt;
    std::optional<std::size_t> keyAt;
    std::size_t lastContent = 0; // last non-blank line of the section
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line line = parseLine(decode(lines[i]));
        if (line.kind == Line::Section) {
            if (sectionAt)
                break;
            if (sameName(line.name, section)) {
                sectionAt = i;
                lastContent = i;
            }
            continue;
        }
        if (!sectionAt)
            continue;
        if (!trimBlanks(decode(lines[i])).isEmpty())
            lastContent = i;
        if (line.kind == Line::Entry && sameName(line.name, key)) {
            keyAt = i;
            break;
        }
    }

    auto terminate = [&eol](QByteArray& line) {
        if (!line.endsWith('\n'))
            line.append(eol);
    };
    if (keyAt) {
        const bool hadEol = lines[*keyAt].endsWith('\n');
        lines[*keyAt] = hadEol ? entry : entry.chopped(eol.size());
    } else if (sectionAt) {
        terminate(lines[lastContent]);
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lastContent) + 1, entry);
    } else {
        if (!lines.empty())
            terminate(lines.back());
        lines.push_back(encode(u'[' + trimBlanks(section).toString() + u']') + eol);
        lines.push_back(entry);
    }

    QByteArray out;
    for (const QByteArray& l : lines)
        out.append(l);

    QDir().mkpath(info.absolutePath());
    QSaveFile save(file);
    save.setDirectWriteFallback(true);
    if (!save.open(QIODevice::WriteOnly))
        return false;
    if (save.write(out) != out.size()) {
        save.cancelWriting();
        return false;
    }
    return save.commit();
}

QString profileWriteError(const QString& file)
{
    return QStringLiteral("Unable to write to %1").arg(file);
}

} // namespace tarvok::platform
