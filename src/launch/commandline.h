// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "launch/request.h"

#include <QString>
#include <QStringList>
#include <optional>

// The command line, read before the application exists: --help and --version need no display
// and touch no file, and a --new whose --at cannot be an alarm ends here, before anything is
// asked of a running program. Qt's own options (a session manager restarts it with -session)
// pass through to the application.
namespace jot {

struct CommandLineOutcome {
    std::optional<int> exitStatus; // set when the program ends at once
    QString output;                // for standard output
    QString error;                 // for standard error
    Request request;               // what the start asks, of the running program or itself
    QString exportTarget;          // --export: where the calendar goes, "-" for standard output
};

// arguments[0] is the program. A --at is measured from jot::now().
CommandLineOutcome parseCommandLine(const QStringList& arguments);

// Prints what parseCommandLine() says; returns the status to end with, or nothing to go on
// with `request`, or with the export to `exportTarget` when that is set.
std::optional<int> handleCommandLine(int argc, char* argv[], Request* request,
                                     QString* exportTarget);

} // namespace jot
