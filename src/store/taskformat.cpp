// The bytes of planifs.txt: records of four quoted fields, field 2 escaped.
#include "store/taskfile.h"

#include <QStringDecoder>

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

// One quoted field at pos. A field never holds a double quote or a CR LF pair (the writer
// escapes both); a lone CR or LF may come from files written before line breaks were
// normalised.
bool readField(const QString& text, qsizetype& pos, QString& field) {
    if (pos >= text.size() || text[pos] != u'"')
        return false;
    const qsizetype start = ++pos;
    for (; pos < text.size(); ++pos) {
        const QChar c = text[pos];
        if (c == u'"') {
            field = text.mid(start, pos - start);
            ++pos;
            return true;
        }
        if (c == u'\r' && pos + 1 < text.size() && text[pos + 1] == u'\n')
            return false;
    }
    return false;
}

// A record of exactly four fields at pos, ending at a line end or at the end of the text.
bool readRecord(const QString& text, qsizetype& pos, TaskRow& row) {
    QString fields[4];
    for (int f = 0; f < 4; ++f) {
        if (f > 0) {
            skipBlanks(text, pos);
            if (pos >= text.size() || text[pos] != u',')
                return false;
            ++pos;
            skipBlanks(text, pos);
        }
        if (!readField(text, pos, fields[f]))
            return false;
    }
    skipBlanks(text, pos);
    if (pos < text.size() && text[pos] != u'\r' && text[pos] != u'\n')
        return false;
    row[ColStamp] = fields[0];
    row[ColText] = unescapeTaskText(fields[1]);
    row[ColAlarm] = fields[2];
    row[ColSlot] = QString();
    row[ColFired] = fields[3];
    return true;
}

QByteArray field(const QString& text) {
    return '"' + text.toUtf8() + '"';
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
        if (c == kLiteral && i + 1 < field.size()) {
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

bool writeTasks(const TaskList& liste, QIODevice& device) {
    QByteArray bytes;
    for (int r = 1; r < liste.rows(); ++r) {
        bytes += field(liste.cell(r, ColStamp)) + ',' +
                 field(escapeTaskText(liste.cell(r, ColText))) + ',' +
                 field(liste.cell(r, ColAlarm)) + ',' + field(liste.cell(r, ColFired)) + "\r\n";
    }
    return device.write(bytes) == bytes.size();
}

QString decodeTaskFile(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder ansi("windows-1252");
    if (ansi.isValid())
        return ansi.decode(bytes);
    // A Qt without ICU: Latin-1 still gets "¤" and the accented letters right.
    return QString::fromLatin1(bytes);
}

ParsedTasks parseTasks(const QString& text) {
    ParsedTasks out;
    qsizetype pos = 0;
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
        if (readRecord(text, pos, row)) {
            out.rows.append(row);
            continue;
        }
        out.complete = false;
        ++out.badLines;
        const qsizetype lf = text.indexOf(u'\n', start);
        pos = lf < 0 ? text.size() : lf + 1;
    }
    return out;
}

} // namespace jot
