// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>

namespace jot {

// Columns of a task row.
enum Column { ColStamp = 0, ColText = 1, ColAlarm = 2, ColSlot = 3, ColFired = 4 };
constexpr int kColumns = 5;
constexpr int kTaskLimit = 100;
inline const QString kPlaceholderSlot = QStringLiteral("-1");

using TaskRow = std::array<QString, kColumns>;

// A cell left blank: only spaces count, so a text of tabs or line breaks is not empty.
bool isBlank(const QString& text);

// The task list as the grid numbers it: row 0 is the header, tasks are rows 1 to rows() - 1,
// and there is always at least one data row (the placeholder row of an empty list).
// For Qt views the header row is not a model row: view row i is task row i + 1.
class TaskList : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TaskList(QObject* parent = nullptr);

    // Grid numbering.
    int rows() const;                     // including the header row
    QString cell(int row, int col) const; // row 0 gives the header texts
    void setCell(int row, int col, const QString& text);
    void appendRow();                  // five empty cells at the end
    void removeRow(int row);           // a data row; the rows below move up
    bool isPlaceholder(int row) const; // window slot "-1"
    void makePlaceholder(int row);     // cells "", window slot "-1"

    // Back to the start-up grid: one placeholder row.
    void reset();
    // Replaces every data row (the file's records); an empty list keeps one placeholder row.
    void setRows(const QList<TaskRow>& rows);

    // New task, steps 1 to 3: reuses a blank single row or appends one. Returns the target
    // row, or 0 when the list already holds the task limit.
    int addTask();
    // Delete's change of the list: the only row becomes the placeholder, another is removed.
    void removeTask(int row);
    // A data row's five cells.
    TaskRow task(int row) const;
    // How many more tasks the task limit leaves room for.
    int room() const;
    // Undo of a deletion: the tasks appended at the end, the placeholder row taken by the
    // first, their window slots "". The caller keeps them within room().
    void appendTasks(const QList<TaskRow>& tasks);

    // Qt model: data rows only, columns 0 to 4, read-only.
    static int gridRow(int viewRow) { return viewRow + 1; }
    static int viewRow(int gridRow) { return gridRow - 1; }
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QList<TaskRow> m_rows; // data rows; m_rows[0] is grid row 1
};

} // namespace jot
