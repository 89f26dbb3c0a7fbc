// SPDX-License-Identifier: GPL-3.0-or-later
// The bytes of planifs.txt: records of four quoted fields, field 2 escaped.
#include "store/taskformat.h"

#include <algorithm>

namespace jot {

namespace {
const QChar kLineBreak = u'~';
const QChar kQuote = u'\u00A4';   // "¤" stands for a double quote
const QChar kLiteral = u'\u241B'; // the character after it is taken as it stands

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

void skipBlanks(const QString& text, qsizetype& pos) {
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
}

// NeedMore: the text ended inside a field, which the next line may close.
enum class Read { Ok, Bad, NeedMore };

// One quoted field at pos. A field never holds a double quote or a CR LF pair (the writer
// escapes both); a lone CR or LF may come from files written before line breaks were
// normalised.
Read readField(const QString& text, qsizetype& pos, QString& field) {
    if (pos >= text.size() || text[pos] != u'"')
        return Read::Bad;
    const qsizetype start = ++pos;
    for (; pos < text.size(); ++pos) {
        const QChar c = text[pos];
        if (c == u'"') {
            field = text.mid(start, pos - start);
            ++pos;
            return Read::Ok;
        }
        if (c == u'\r' && pos + 1 < text.size() && text[pos + 1] == u'\n')
            return Read::Bad;
    }
    return Read::NeedMore;
}

// A record of exactly four fields at pos, ending at a line end or at the end of the text.
Read readRecord(const QString& text, qsizetype& pos, TaskRow& row) {
    QString fields[4];
    for (int f = 0; f < 4; ++f) {
        if (f > 0) {
            skipBlanks(text, pos);
            if (pos >= text.size() || text[pos] != u',')
                return Read::Bad;
            ++pos;
            skipBlanks(text, pos);
        }
        const Read read = readField(text, pos, fields[f]);
        if (read != Read::Ok)
            return read;
    }
    skipBlanks(text, pos);
    if (pos < text.size() && text[pos] != u'\r' && text[pos] != u'\n')
        return Read::Bad;
    row[ColStamp] = fields[0];
    row[ColText] = unescapeTaskText(fields[1]);
    row[ColAlarm] = fields[2];
    row[ColSlot] = QString();
    row[ColFired] = fields[3];
    return Read::Ok;
}

QByteArray field(const QString& text) {
    return '"' + text.toUtf8() + '"';
}

bool writeAll(QIODevice& device, const QByteArray& bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 n = device.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

bool isAscii(QByteArrayView bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
}
} // namespace

QString escapeTaskText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out += kLineBreak;
        } else if (c == u'"') {
            out += kQuote;
        } else if (c == kLineBreak || c == kQuote || c == kLiteral) {
            out += kLiteral;
            out += c;
        } else {
            out += c;
        }
    }
    return out;
}

QString unescapeTaskText(const QString& field) {
    QString out;
    out.reserve(field.size() + 16);
    for (qsizetype i = 0; i < field.size(); ++i) {
        const QChar c = field[i];
        // Before a line end the marker stands for itself: a lone CR or LF is not kept.
        if (c == kLiteral && i + 1 < field.size() && field[i + 1] != u'\r' &&
            field[i + 1] != u'\n') {
            out += field[++i];
        } else if (c == kLineBreak) {
            out += QLatin1String("\r\n");
        } else if (c == kQuote) {
            out += u'"';
        } else if (c == u'\r' || c == u'\n') {
            // A lone CR or LF from an older file: the list keeps CR LF line breaks only.
            if (c == u'\r' && i + 1 < field.size() && field[i + 1] == u'\n')
                ++i;
            out += QLatin1String("\r\n");
        } else {
            out += c;
        }
    }
    return out;
}

bool writeTasks(const TaskList& list, QIODevice& device) {
    // In pieces, so that a save of a large list never holds a second copy of it whole.
    constexpr qsizetype kChunkBytes = 64 * 1024;
    QByteArray bytes;
    for (int r = 1; r < list.rows(); ++r) {
        bytes += field(list.cell(r, ColStamp)) + ',' +
                 field(escapeTaskText(list.cell(r, ColText))) + ',' +
                 field(list.cell(r, ColAlarm)) + ',' + field(list.cell(r, ColFired)) + "\r\n";
        if (bytes.size() >= kChunkBytes) {
            if (!writeAll(device, bytes))
                return false;
            bytes.clear();
        }
    }
    return writeAll(device, bytes);
}

TaskReader::TaskReader() : m_ansi("windows-1252") {}

void TaskReader::addBytes(QByteArrayView chunk) {
    while (!chunk.isEmpty()) {
        const qsizetype lf = chunk.indexOf('\n');
        if (lf < 0) {
            m_partial += chunk;
            return;
        }
        if (m_partial.isEmpty()) {
            addLine(chunk.first(lf + 1));
        } else {
            m_partial += chunk.first(lf + 1);
            addLine(m_partial);
            m_partial.clear();
        }
        chunk = chunk.sliced(lf + 1);
    }
}

ParsedTasks TaskReader::finish() {
    if (!m_partial.isEmpty())
        addLine(m_partial);
    m_partial.clear();
    parsePending(true);
    m_out.mixed = m_utf8Seen && m_ansiSeen;
    return std::move(m_out);
}

void TaskReader::addLine(QByteArrayView line) {
    const bool mayEndField = line.contains('"') || line.endsWith("\r\n");
    if (isAscii(line)) {
        m_pending += QLatin1String(line.data(), line.size());
    } else {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8.decode(line);
        if (!utf8.hasError()) {
            m_utf8Seen = true;
            m_pending += text;
        } else {
            m_ansiSeen = true;
            // A Qt without ICU: Latin-1 still gets "¤" and the accented letters right.
            m_pending += m_ansi.isValid() ? m_ansi.decode(line)
                                          : QString::fromLatin1(line.data(), line.size());
        }
    }
    if (!m_inField || mayEndField)
        parsePending(false);
}

void TaskReader::parsePending(bool atEnd) {
    const QString& text = m_pending;
    qsizetype pos = 0;
    m_inField = false;
    while (pos < text.size()) {
        skipBlanks(text, pos);
        if (pos >= text.size())
            break;
        if (text[pos] == u'\r' || text[pos] == u'\n') {
            ++pos; // an empty line
            continue;
        }
        const qsizetype start = pos;
        TaskRow row;
        const Read read = readRecord(text, pos, row);
        if (read == Read::Ok) {
            m_out.rows.append(row);
            continue;
        }
        if (read == Read::NeedMore && !atEnd) {
            pos = start;
            m_inField = true;
            break;
        }
        m_out.complete = false;
        ++m_out.badLines;
        const qsizetype lf = text.indexOf(u'\n', start);
        pos = lf < 0 ? text.size() : lf + 1;
    }
    m_pending.remove(0, pos);
}

ParsedTasks parseTasks(QByteArrayView bytes) {
    TaskReader reader;
    reader.addBytes(bytes);
    return reader.finish();
}

} // namespace jot
