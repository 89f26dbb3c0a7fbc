// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The command line, read before the application exists: --help and --version need no display
// and touch no file. Jotlark takes nothing else of its own; Qt's own options (a session manager
// restarts it with -session) pass through to the application.
namespace jot {

struct CommandLineOutcome {
    std::optional<int> exitStatus; // set when the program ends at once
    QString output;                // for standard output
    QString error;                 // for standard error
};

// arguments[0] is the program.
CommandLineOutcome parseCommandLine(const QStringList& arguments);

// Prints what parseCommandLine() says; returns the status to end with, or nothing to go on.
std::optional<int> handleCommandLine(int argc, char* argv[]);

} // namespace jot
