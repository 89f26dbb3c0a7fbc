// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

namespace {

// The status of a command line that cannot be understood, as usual for a usage error.
constexpr int kUsageError = 2;

// Qt's own options that take a value, which QApplication takes out of the arguments; without
// them a restart by the session manager (-session) would be refused.
constexpr char kQtValueOptions[] = "platform platformpluginpath platformtheme plugin session "
                                   "display name style stylesheet qwindowgeometry geometry "
                                   "qwindowtitle title qwindowicon icon";
constexpr char kQtFlagOptions[] = "reverse widgetcount nograb dograb sync";

void addQtOptions(QCommandLineParser& parser) {
    for (const QString& name : QString::fromLatin1(kQtValueOptions).split(' ')) {
        QCommandLineOption option(name, QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const QString& name : QString::fromLatin1(kQtFlagOptions).split(' ')) {
        QCommandLineOption option(name);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

jot::CommandLineOutcome refused(const QString& program, const QString& reason) {
    return {kUsageError,
            {},
            program + QStringLiteral(": ") + reason + QStringLiteral("\nTry '") + program +
                QStringLiteral(" --help' for more information.\n")};
}

} // namespace

namespace jot {

CommandLineOutcome parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    // Qt's options are single-dash words (-session), not bundles of letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("A to-do list of up to 100 tasks kept as sticky notes, with alarms.\n"
                       "Jotlark takes no arguments; it lives in the notification area."));
    // Not addHelpOption(): its --help-all describes Qt's options only once the application
    // exists.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays help on commandline options."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    addQtOptions(parser);

    const QString program = QFileInfo(arguments.value(0)).fileName();
    if (!parser.parse(arguments))
        return refused(program, parser.errorText());
    if (parser.isSet(help)) // without the application, Qt cannot name the program itself
        return {0, parser.helpText().replace(QStringLiteral("<executable_name>"), program), {}};
    if (parser.isSet(version))
        return {0,
                QCoreApplication::applicationName() + ' ' + QCoreApplication::applicationVersion() +
                    '\n',
                {}};
    if (!parser.positionalArguments().isEmpty())
        return refused(program, QStringLiteral("unexpected argument '%1'.")
                                    .arg(parser.positionalArguments().constFirst()));
    return {};
}

std::optional<int> handleCommandLine(int argc, char* argv[]) {
    QStringList arguments;
    for (int k = 0; k < argc; ++k)
        arguments += QString::fromLocal8Bit(argv[k]);
    const CommandLineOutcome outcome = parseCommandLine(arguments);
    std::fputs(outcome.output.toLocal8Bit().constData(), stdout);
    std::fputs(outcome.error.toLocal8Bit().constData(), stderr);
    return outcome.exitStatus;
}

} // namespace jot
