// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtTest>
#include <initializer_list>

// A data table of one column, a struct whose first member is the row's name:
//     testing::table<DueCase>({{"noon", ...}, ...});   in the _data() function,
//     QFETCH(DueCase, row);                            in the test.
// Qt registers the struct by its name, so each row struct's name is unique within its program.
namespace testing {

template <class Row> void addRow(const Row& row) {
    QTest::newRow(row.name.constData()) << row;
}

template <class Row> void table(std::initializer_list<Row> rows = {}) {
    QTest::addColumn<Row>("row");
    for (const Row& row : rows)
        addRow(row);
}

} // namespace testing
