// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwin/gridcolumns.h"

#include "alarms/recurrence.h"
#include "store/checklist.h"
#include "store/clock.h"
#include "store/tasklist.h"
#include "ui/colours.h"

#include <QRegularExpression>
#include <QWidget>

namespace jot {

GridColumns::GridColumns(QWidget* view) : QSortFilterProxyModel(view), m_view(view) {}

bool GridColumns::filterAcceptsColumn(int column, const QModelIndex&) const {
    return column == ColText || column == ColAlarm;
}

void GridColumns::setFind(const QString& typed) {
    const QString find = searchForm(typed);
    if (find == m_find)
        return;
    m_find = find;
    invalidateRowsFilter();
}

bool GridColumns::filterAcceptsRow(int row, const QModelIndex&) const {
    if (m_find.isEmpty())
        return true;
    const QModelIndex text = sourceModel()->index(row, ColText);
    const QString alarm = text.siblingAtColumn(ColAlarm).data().toString();
    const QString fired = text.siblingAtColumn(ColFired).data().toString();
    // The alarm as the grid shows it, and as it is kept ("Lundi", whatever the language).
    for (const QString& s :
         {text.data().toString(), alarmDisplay(alarm, fired, now().date()), alarm})
        if (searchForm(s).contains(m_find))
            return true;
    return false;
}

int GridColumns::listRow(const QModelIndex& shown) const {
    const QModelIndex source = mapToSource(shown);
    return source.isValid() ? TaskList::gridRow(source.row()) : 0;
}

QModelIndex GridColumns::shownRow(int listRow) const {
    return mapFromSource(sourceModel()->index(TaskList::viewRow(listRow), ColText));
}

QVariant GridColumns::textData(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return QSortFilterProxyModel::data(index, role);
    const QString text = QSortFilterProxyModel::data(index, Qt::DisplayRole).toString();
    const ItemCount items = countItems(text);
    if (items.total == 0)
        return role == Qt::DisplayRole ? QVariant(text) : QVariant();
    static const QRegularExpression lineBreak(QStringLiteral("[\\r\\n]"));
    const QString first = text.section(lineBreak, 0, 0);
    if (role == Qt::DisplayRole)
        return QStringLiteral("%1  %2/%3").arg(first).arg(items.done).arg(items.total);
    return first + QStringLiteral(", ") + tr("%1 of %2 done").arg(items.done).arg(items.total);
}

QVariant GridColumns::data(const QModelIndex& index, int role) const {
    if (index.column() == kText)
        return textData(index, role);
    if (index.column() != kAlarm)
        return QSortFilterProxyModel::data(index, role);
    const QModelIndex alarm = mapToSource(index);
    const QString fired = alarm.siblingAtColumn(ColFired).data().toString();
    // A one-time alarm that rang: the mark alone, without an alarm, rings nothing.
    const bool rang = fired == QLatin1String("1") && !isBlank(alarm.data().toString());
    switch (role) {
    case Qt::DisplayRole:
        return alarmDisplay(alarm.data().toString(), fired);
    case Qt::ForegroundRole:
        if (rang) {
            const QPalette& p = m_view->palette();
            return mutedText(p.color(QPalette::Base), p.color(QPalette::Text));
        }
        break;
    case Qt::AccessibleDescriptionRole:
        if (rang)
            return tr("rang");
        break;
    default:
        break;
    }
    return QSortFilterProxyModel::data(index, role);
}

} // namespace jot
