// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/tasklist.h"

#include <QCoreApplication>

namespace jot {

namespace {
// Row 0 of the list; the grid shows them in the user's language.
const char* const kHeaders[kColumns] = {"", QT_TRANSLATE_NOOP("jot::TaskList", "Task"),
                                        QT_TRANSLATE_NOOP("jot::TaskList", "Alarm"), "", ""};

TaskRow placeholderRow() {
    TaskRow r;
    r[ColSlot] = kPlaceholderSlot;
    return r;
}
} // namespace

bool isBlank(const QString& text) {
    for (const QChar c : text)
        if (c != QLatin1Char(' '))
            return false;
    return true;
}

TaskList::TaskList(QObject* parent) : QAbstractTableModel(parent), m_rows{placeholderRow()} {}

int TaskList::rows() const {
    return static_cast<int>(m_rows.size()) + 1;
}

QString TaskList::cell(int row, int col) const {
    if (col < 0 || col >= kColumns || row < 0 || row >= rows())
        return {};
    return row == 0 ? QString::fromLatin1(kHeaders[col]) : m_rows[row - 1][col];
}

void TaskList::setCell(int row, int col, const QString& text) {
    if (col < 0 || col >= kColumns || row < 1 || row >= rows())
        return;
    QString& c = m_rows[row - 1][col];
    if (c == text)
        return;
    c = text;
    const QModelIndex i = index(viewRow(row), col);
    Q_EMIT dataChanged(i, i);
}

void TaskList::appendRow() {
    const int n = static_cast<int>(m_rows.size());
    beginInsertRows({}, n, n);
    m_rows.append(TaskRow{});
    endInsertRows();
}

void TaskList::removeRow(int row) {
    if (row < 1 || row >= rows())
        return;
    beginRemoveRows({}, viewRow(row), viewRow(row));
    m_rows.removeAt(row - 1);
    endRemoveRows();
}

bool TaskList::isPlaceholder(int row) const {
    return cell(row, ColSlot) == kPlaceholderSlot;
}

void TaskList::makePlaceholder(int row) {
    for (int c = 0; c < kColumns; ++c)
        setCell(row, c, c == ColSlot ? kPlaceholderSlot : QString());
}

void TaskList::reset() {
    setRows({});
}

void TaskList::setRows(const QList<TaskRow>& rows) {
    beginResetModel();
    m_rows = rows.isEmpty() ? QList<TaskRow>{placeholderRow()} : rows;
    endResetModel();
}

int TaskList::addTask() {
    if (rows() > kTaskLimit)
        return 0;
    if (rows() == 2 && isBlank(cell(1, ColStamp)) && isBlank(cell(1, ColText)) &&
        isBlank(cell(1, ColAlarm))) {
        setCell(1, ColSlot, QString());
        setCell(1, ColFired, QString());
        return 1;
    }
    appendRow();
    return rows() - 1;
}

void TaskList::removeTask(int row) {
    if (rows() == 2)
        makePlaceholder(row);
    else
        removeRow(row);
}

TaskRow TaskList::task(int row) const {
    return row >= 1 && row < rows() ? m_rows[row - 1] : TaskRow{};
}

int TaskList::room() const {
    const int tasks = rows() == 2 && isPlaceholder(1) ? 0 : rows() - 1;
    return qMax(0, kTaskLimit - tasks);
}

void TaskList::appendTasks(const QList<TaskRow>& tasks) {
    for (const TaskRow& t : tasks) {
        int row = 1;
        if (!(rows() == 2 && isPlaceholder(1))) {
            appendRow();
            row = rows() - 1;
        }
        for (int c = 0; c < kColumns; ++c)
            setCell(row, c, c == ColSlot ? QString() : t[c]);
    }
}

int TaskList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int TaskList::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant TaskList::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return m_rows[index.row()][index.column()];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    return {};
}

QVariant TaskList::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < kColumns)
        return tr(kHeaders[section]);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags TaskList::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

} // namespace jot
