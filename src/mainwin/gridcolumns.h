// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSortFilterProxyModel>

class QWidget;

namespace jot {

// The columns of the task list that the grid shows: the task and its alarm, a repeating one
// with its rule after the time ("Monday 12/14 9:00 am, every week"). The creation stamp, the
// window slot and the fired mark stay in the list and out of the grid, so that a screen reader
// walking the grid finds only what is on screen. An alarm that has rung is greyed, and a screen
// reader says so. A task with checklist items shows its first line and how many are done
// ("3/5"). Rows are the list's, unsorted; a find shows only those whose text or alarm holds
// what is typed, whatever its case and accents.
class GridColumns : public QSortFilterProxyModel {
    Q_OBJECT
public:
    static constexpr int kText = 0;
    static constexpr int kAlarm = 1;

    // The view whose colours grey a rung alarm; it owns the columns.
    explicit GridColumns(QWidget* view);
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    void setFind(const QString& typed); // "" shows every task
    // The list's row of a grid row shown, or 0; and the grid row that shows a list row.
    int listRow(const QModelIndex& shown) const;
    QModelIndex shownRow(int listRow) const;

protected:
    bool filterAcceptsColumn(int column, const QModelIndex& parent) const override;
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override;

private:
    QVariant textData(const QModelIndex& index, int role) const;

    QWidget* m_view;
    QString m_find; // what is typed, in its search form
};

} // namespace jot
