// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/commandline.h"
#include "store/clock.h"

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
                QStringLiteral(" --help' for more information.\n"),
            {},
            {}};
}

} // namespace

namespace jot {

CommandLineOutcome parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    // Qt's options are single-dash words (-session), not bundles of letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("A to-do list of up to 100 tasks kept as sticky notes, with alarms.\n"
                       "It lives in the notification area; a later start asks the running one."));
    // Not addHelpOption(): its --help-all describes Qt's options only once the application
    // exists.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays help on commandline options."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption add(
        QStringLiteral("new"),
        QStringLiteral("Adds a task of the text given (none: an empty one) and shows its note."));
    const QCommandLineOption at(
        QStringLiteral("at"),
        QStringLiteral("With --new, sets its alarm to the minute, in English, French or German "
                       "words: a time (9am, 9:30 pm, 21:30, 9h30, 9 Uhr: today, or tomorrow "
                       "when past), a day and a time (today 18:00, tomorrow 9am, friday 10:00, "
                       "demain 9h, morgen 9 Uhr, 07/12 9:00 in the locale's date order), "
                       "tonight, a weekday (at 9:00), in 20 minutes (hours, days; dans 2 heures, "
                       "in 3 Tagen), YYYY-MM-DD HH:MM, or +N followed by m, h or d (from now); "
                       "up to %1 days ahead.")
            .arg(kMaxAlarmDays),
        QStringLiteral("when"));
    const QCommandLineOption showAll(QStringLiteral("show-all"),
                                     QStringLiteral("Shows every task's note."));
    const QCommandLineOption hideAll(QStringLiteral("hide-all"),
                                     QStringLiteral("Closes every note."));
    const QCommandLineOption exportTo(
        QStringLiteral("export"),
        QStringLiteral("Writes every task to a calendar file (iCalendar, - for standard output) "
                       "and exits; needs no display."),
        QStringLiteral("file.ics"));
    parser.addOptions({add, at, showAll, hideAll, exportTo});
    parser.addPositionalArgument(QStringLiteral("text"), QStringLiteral("With --new, the task."),
                                 QStringLiteral("[--new [text] [--at when]]"));
    addQtOptions(parser);

    const QString program = QFileInfo(arguments.value(0)).fileName();
    if (!parser.parse(arguments))
        return refused(program, parser.errorText());
    if (parser.isSet(help)) // without the application, Qt cannot name the program itself
        return {
            0, parser.helpText().replace(QStringLiteral("<executable_name>"), program), {}, {}, {}};
    if (parser.isSet(version))
        return {0,
                QCoreApplication::applicationName() + ' ' + QCoreApplication::applicationVersion() +
                    '\n',
                {},
                {},
                {}};
    if (int(parser.isSet(add)) + int(parser.isSet(showAll)) + int(parser.isSet(hideAll)) +
            int(parser.isSet(exportTo)) >
        1)
        return refused(program,
                       QStringLiteral("--new, --show-all, --hide-all and --export go alone."));
    if (parser.isSet(at) && !parser.isSet(add))
        return refused(program, QStringLiteral("--at goes with --new."));
    const QStringList words = parser.positionalArguments();
    if (!words.isEmpty() && !parser.isSet(add))
        return refused(program,
                       QStringLiteral("unexpected argument '%1'.").arg(words.constFirst()));
    CommandLineOutcome outcome;
    Request& request = outcome.request;
    outcome.exportTarget = parser.value(exportTo);
    if (parser.isSet(showAll))
        request.action = Request::Action::ShowAll;
    else if (parser.isSet(hideAll))
        request.action = Request::Action::HideAll;
    else if (parser.isSet(add)) {
        request.action = Request::Action::New;
        // Unquoted words make one text, as typed.
        request.text = words.join(QLatin1Char(' '));
        if (parser.isSet(at)) {
            QString why;
            const std::optional<QDateTime> when = parseWhen(parser.value(at), now(), &why);
            if (!when)
                return refused(program, why);
            request.alarm = *when;
        }
        if (encodeRequest(request).isEmpty())
            return refused(program, QStringLiteral("the text is too long."));
    }
    return outcome;
}

std::optional<int> handleCommandLine(int argc, char* argv[], Request* request,
                                     QString* exportTarget) {
    QStringList arguments;
    for (int k = 0; k < argc; ++k)
        arguments += QString::fromLocal8Bit(argv[k]);
    const CommandLineOutcome outcome = parseCommandLine(arguments);
    std::fputs(outcome.output.toLocal8Bit().constData(), stdout);
    std::fputs(outcome.error.toLocal8Bit().constData(), stderr);
    *request = outcome.request;
    *exportTarget = outcome.exportTarget;
    return outcome.exitStatus;
}

} // namespace jot
