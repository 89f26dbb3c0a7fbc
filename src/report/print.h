// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QPrinter;
class QWidget;

namespace jot {

// The printer dialog, then the whole report printed once; cancel or any error ends silently.
void printWithDialog(QWidget* parent, const QString& report);

// Prints the report as plain text on an already chosen printer (or PDF file).
bool printReport(QPrinter& printer, const QString& report);

} // namespace jot
