// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/checklist.h"

#include <QRegularExpression>

namespace jot {

bool isDoneItem(const QString& line) {
    return line.startsWith(kDoneItem);
}

bool isItem(const QString& line) {
    return line.startsWith(kOpenItem) || isDoneItem(line);
}

QString toggledItem(const QString& line) {
    if (!isItem(line))
        return line;
    return (isDoneItem(line) ? kOpenItem : kDoneItem) + line.mid(kOpenItem.size());
}

QString itemOrBack(const QString& line) {
    return isItem(line) ? line.mid(kOpenItem.size()) : kOpenItem + line;
}

ItemCount countItems(const QString& text) {
    ItemCount c;
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    for (const QString& line : text.split(lineBreak)) {
        if (isItem(line)) {
            ++c.total;
            if (isDoneItem(line))
                ++c.done;
        }
    }
    return c;
}

QString searchForm(const QString& text) {
    // Decomposed, an accented letter is its base letter and a combining mark, which goes.
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString s;
    s.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing && c.category() != QChar::Mark_Enclosing)
            s.append(c);
    }
    // Qt folds one letter to one letter; "STRASSE" and "straße" differ only in case too.
    return s.toCaseFolded().replace(QChar(0x00DF), QStringLiteral("ss"));
}

} // namespace jot
