// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/program.h"
#include "launch/qttranslations.h"
#include "store/clock.h"

#include <QComboBox>
#include <QLabel>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTranslator>

using testing::Program;

namespace {
// Every label, button and list entry shown in the window whose text does not fit its room
// whole in the widget's font, on as many lines as it has.
QStringList cut(const QWidget* window) {
    QStringList bad;
    const auto check = [&bad](const QWidget* w, const QString& text, const QRect& room) {
        const QFontMetrics fm = w->fontMetrics();
        const QStringList lines = text.split(u'\n');
        bool fits = fm.height() + (lines.size() - 1) * fm.lineSpacing() <= room.height();
        for (const QString& line : lines)
            fits = fits && fm.horizontalAdvance(line) <= room.width();
        if (!text.isEmpty() && !fits)
            bad << w->objectName() + ": " + text;
    };
    for (const QLabel* l : window->findChildren<QLabel*>())
        if (l->isVisible())
            check(l, l->text(), l->contentsRect());
    for (const QPushButton* b : window->findChildren<QPushButton*>()) {
        QStyleOptionButton opt;
        opt.initFrom(b);
        if (b->isVisible())
            check(b, QString(b->text()).remove(u'&'),
                  b->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, b));
    }
    for (const QComboBox* c : window->findChildren<QComboBox*>()) {
        QStyleOptionComboBox opt;
        opt.initFrom(c);
        const QRect room =
            c->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, c);
        for (int i = 0; c->isVisible() && i < c->count(); ++i)
            check(c, c->itemText(i), room);
    }
    return bad;
}
} // namespace

// Every control of the main window, a note and its alarm panel shows its whole text in each
// language, at the dots per inch the test runs at (QT_FONT_DPI: 96, and 144 in a second run).
class TstFit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9)); }

    void wholeText_data() {
        QTest::addColumn<QString>("locale");
        for (const char* name : {"en_US", "fr_FR", "de_DE"})
            QTest::newRow(name) << name;
    }
    void wholeText() {
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        jot::loadJotlarkTranslations(*qApp);
        const auto english = qScopeGuard([] {
            QLocale::setDefault(QLocale::c());
            qDeleteAll(qApp->findChildren<QTranslator*>());
        });
        jot::setClockForTests([] { return QDateTime({2027, 3, 10}, {9, 0}); });
        Program p(testing::task("t", "Monday 03/15 10:15 am", "weekdays"));
        p.main->show();
        p.trigger("m_find"); // the find line and what it hides
        p.show(1);
        f_test* note = p.noteOf(1);
        QVERIFY(note);
        note->findChild<QPushButton*>("Command1")->click();
        const QStringList bad = cut(p.main.get()) + cut(note);
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join(" | ")));
    }
};

QTEST_MAIN(TstFit)
#include "tst_fit.moc"
