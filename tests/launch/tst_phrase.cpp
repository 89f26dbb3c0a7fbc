// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/table.h"
#include "launch/phrase.h"
#include "launch/request.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace jot;

namespace {
// Saturday 14 March 2026, 10:20:30.
const QDateTime kNow(QDate(2026, 3, 14), QTime(10, 20, 30));
} // namespace

struct PhraseCase {
    QByteArray name;          // the phrase
    QString locale, expected; // "yyyy-MM-dd HH:mm", or "" when refused
};

// --at in the words people use: each phrase read under the locale its row names (English,
// French, German), then every generated phrase checked against what it says.
class TstPhrase : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each phrase "= yyyy-MM-dd HH:mm", or " =" alone when refused, under its locale. A time
    // past today is tomorrow's, a weekday's past time next week's, "in N" counts from the next
    // whole minute, a date past this year is next year's; "Today 9:00" stays in the past, for
    // --at to refuse; German words are read under any locale.
    void phrase_data() {
        testing::table<PhraseCase>();
        const auto rows = [](const char* locale, std::initializer_list<const char*> phrases) {
            for (const QString phrase : phrases)
                testing::addRow(PhraseCase{phrase.section(u'=', 0, 0).trimmed().toUtf8(), locale,
                                           phrase.section(u'=', 1).trimmed()});
        };
        rows("en_US",
             {"9am = 2026-03-15 09:00", "9:30pm = 2026-03-14 21:30", "9 pm = 2026-03-14 21:00",
              "12am = 2026-03-15 00:00", "12pm = 2026-03-14 12:00", "21:30 = 2026-03-14 21:30",
              "today 18:00 = 2026-03-14 18:00", "Today 9:00 = 2026-03-14 09:00",
              "tomorrow 9am = 2026-03-15 09:00", "tonight = 2026-03-14 20:00"});
        rows("en_US", {"tonight 9pm = 2026-03-14 21:00", "friday 10:00 = 2026-03-20 10:00",
                       "saturday 11am = 2026-03-14 11:00", "saturday 10:00 = 2026-03-21 10:00",
                       "Monday = 2026-03-16 09:00", "in 20 minutes = 2026-03-14 10:41"});
        rows("en_US", {"in 1 hour = 2026-03-14 11:21", "in 3 days = 2026-03-17 10:21",
                       "12/07 9:00 = 2026-12-07 09:00", "03/01 9:00 = 2027-03-01 09:00",
                       "12/07/2027 9:00 = 2027-12-07 09:00", "montag 9:00 = 2026-03-16 09:00"});
        rows("en_US", {"12/07 =", "13pm =", "9 =", "25:00 =", "someday 9am =", "in 2 weeks ="});
        rows("fr_FR",
             {"9h = 2026-03-15 09:00", "9h30 = 2026-03-15 09:30", "21h = 2026-03-14 21:00",
              "aujourd'hui 18h = 2026-03-14 18:00", "Aujourdhui 18h = 2026-03-14 18:00",
              "demain 9h = 2026-03-15 09:00", "ce soir = 2026-03-14 20:00",
              "ce soir 9h = 2026-03-14 21:00", "vendredi 10h = 2026-03-20 10:00",
              "dans 20 minutes = 2026-03-14 10:41", "dans 2 heures = 2026-03-14 12:21",
              "dans 3 jours = 2026-03-17 10:21", "07/12 9:00 = 2026-12-07 09:00", "demain 9h75 ="});
        rows("de_DE", {"9 Uhr = 2026-03-15 09:00", "9:30 Uhr = 2026-03-15 09:30",
                       "21 Uhr = 2026-03-14 21:00", "heute 18 Uhr = 2026-03-14 18:00",
                       "morgen 9 Uhr = 2026-03-15 09:00", "heute Abend = 2026-03-14 20:00",
                       "Freitag 9 Uhr = 2026-03-20 09:00", "Sonntag = 2026-03-15 09:00",
                       "in 20 Minuten = 2026-03-14 10:41", "in 2 Stunden = 2026-03-14 12:21",
                       "in 1 Tag = 2026-03-15 10:21", "in 3 Tagen = 2026-03-17 10:21",
                       "7.12. 9 Uhr = 2026-12-07 09:00"});
    }
    void phrase() {
        QFETCH(PhraseCase, row);
        const std::optional<QDateTime> at =
            parsePhrase(QString::fromUtf8(row.name), kNow, QLocale(row.locale));
        QCOMPARE(at ? at->toString(QStringLiteral("yyyy-MM-dd HH:mm")) : QString(), row.expected);
    }

    // Every phrase --at accepts lands on a minute, never in the past, within 366 days, and on
    // the weekday it names; a time of day it names is kept. Every H:MM and +N is accepted
    // exactly when in range, at the minute asked: +N from the next whole minute.
    void generated() {
        QString why;
        for (int h = 0; h <= 30; ++h) {
            for (int m = 0; m <= 99; ++m) {
                const QString when = QString::asprintf("%d:%02d", h, m);
                const std::optional<QDateTime> at = parseWhen(when, kNow, &why);
                QVERIFY2(bool(at) == (h < 24 && m < 60), qPrintable(when));
                QVERIFY2(!at || (at->time() == QTime(h, m) && at->secsTo(kNow) < 60 &&
                                 at->secsTo(kNow) > -24 * 3600),
                         qPrintable(when));
            }
        }
        const QDateTime next(kNow.date(), QTime(10, 21)), last(kNow.date().addDays(367), {});
        for (const auto& [unit, seconds] : {std::pair{'m', 60}, {'h', 3600}, {'d', 24 * 3600}}) {
            const int limit = next.secsTo(last) / seconds;
            for (int n = 0; n < limit + 3; n += n < limit - 3 ? 1 + n / 1000 : 1) {
                const QString when = QString::asprintf("+%d%c", n, unit);
                const std::optional<QDateTime> at = parseWhen(when, kNow, &why);
                const QDateTime asked = next.addSecs(qint64(n) * seconds);
                QVERIFY2(at ? *at == asked : asked >= last, qPrintable(when));
            }
        }
        const char* const weekdays[3][7] = {
            {"monday", "tuesday", "wednesday", "thursday", "friday", "saturday", "sunday"},
            {"lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi", "dimanche"},
            {"Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag", "Sonntag"}};
        const char* const spans[3][3] = {{"minutes", "hours", "days"},
                                         {"minutes", "heures", "jours"},
                                         {"Minuten", "Stunden", "Tagen"}};
        QRandomGenerator random(20261207);
        for (int k = 0; k < 20000; ++k) {
            const QDateTime now =
                kNow.addSecs(random.bounded(366 * 24 * 3600)).addMSecs(random.bounded(1000));
            const int lang = random.bounded(3), h = random.bounded(24), m = random.bounded(60);
            const int weekday = random.bounded(7) + 1;
            const QString hm = QString::asprintf("%d:%02d", h, m);
            const QString times[3] = {hm, QString::asprintf("%dh%02d", h, m), hm + " Uhr"};
            QString phrase;
            int named = 0;
            switch (random.bounded(3)) {
            case 0:
                phrase = times[lang];
                break;
            case 1:
                phrase = QString(weekdays[lang][weekday - 1]) + ' ' + times[lang];
                named = weekday;
                break;
            default:
                phrase = QString(lang == 1 ? "dans %1 %2" : "in %1 %2")
                             .arg(random.bounded(600000))
                             .arg(spans[lang][random.bounded(3)]);
            }
            QString why;
            const std::optional<QDateTime> at = parseWhen(phrase, now, &why);
            if (!at) {
                QVERIFY2(!named && why.contains("days ahead"), qPrintable(phrase + ": " + why));
                continue;
            }
            const QString said =
                phrase + " at " + now.toString(Qt::ISODate) + ": " + at->toString(Qt::ISODate);
            const QDateTime minute(now.date(), QTime(now.time().hour(), now.time().minute()));
            QVERIFY2(at->time().second() == 0 && *at >= minute &&
                         at->date() <= now.date().addDays(kMaxAlarmDays),
                     qPrintable(said));
            QVERIFY2(!named || at->date().dayOfWeek() == named, qPrintable(said));
        }
    }
};

QTEST_GUILESS_MAIN(TstPhrase)
#include "tst_phrase.moc"
