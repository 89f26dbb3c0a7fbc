#include "common/tempdatahome.h"
#include "help/f_help.h"
#include "mainwin/f_iir.h"
#include "mainwin/messagebox.h"
#include "mainwin/twips.h"

#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QtTest>

namespace {
// The help text as the user must read it, written out here on its own: the trailing spaces
// and the 21/20/21 dashes are part of it.
const QStringList kHelpLines = {
    QStringLiteral("Create a task :"),
    QStringLiteral("---------------------"),
    QStringLiteral("Click on \"New\" and type the task content. You can add a date/time "),
    QStringLiteral("alarm if you click on \"Alarm\"."),
    QStringLiteral("Close the window by clicking on the right up cross, the informations "),
    QStringLiteral("will be saved in any case."),
    QStringLiteral("You can also create a task by right clicking the icon in the task bar "),
    QStringLiteral("and select \"New\"."),
    QString(),
    QStringLiteral("Show a task :"),
    QStringLiteral("--------------------"),
    QStringLiteral("If the window is not already shown, you can show it by selecting it in "),
    QStringLiteral("the list and by clicking on \"Show\". You can also double-click in the "),
    QStringLiteral("list."),
    QString(),
    QStringLiteral("Delete a task :"),
    QStringLiteral("---------------------"),
    QStringLiteral("Select it in the list and click on \"Delete\"."),
};

enum class Closing { OkClick, OkSpace, EnterInText, ReturnOnOk, Escape, CloseBox };

template <typename T> T* child(QWidget* w, const char* name) {
    return w->findChild<T*>(QLatin1String(name));
}

QRect screenCentred(const QSize& size) {
    QRect r(QPoint(), size);
    r.moveCenter(QGuiApplication::primaryScreen()->geometry().center());
    return r;
}
} // namespace

Q_DECLARE_METATYPE(Closing)

class TstHelp : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void helpText();
    void window();
    void controls_data();
    void controls();
    void keyboardOrder();
    void closing_data();
    void closing();
    void recentredWhenCreatedAnew();
    void oneInstance();
    void about();

private:
    TempDataHome m_home;
};

void TstHelp::initTestCase() {
    QVERIFY(m_home.isValid());
}

void TstHelp::cleanup() {
    jot::setMessageResponderForTests({});
    QList<QPointer<QWidget>> left;
    for (QWidget* w : QApplication::topLevelWidgets())
        left << w;
    for (const QPointer<QWidget>& w : left)
        delete w.data();
}

void TstHelp::helpText() {
    QCOMPARE(f_help::helpText(), kHelpLines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));

    f_help w;
    auto* text = child<QPlainTextEdit>(&w, "Text1");
    QVERIFY(text);
    // The box shows ordinary line breaks: no stray CR, the final CR LF an empty last line.
    QCOMPARE(text->toPlainText().split(QLatin1Char('\n')), kHelpLines + QStringList{QString()});

    // Lines break where the text breaks them, not where the box runs out of width.
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    for (QTextBlock b = text->document()->begin(); b.isValid(); b = b.next())
        QVERIFY2(b.layout()->lineCount() == 1, qPrintable(b.text()));
}

void TstHelp::window() {
    f_help w;
    QCOMPARE(w.objectName(), QStringLiteral("f_help"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Help"));
    QVERIFY(!w.windowIcon().pixmap(32).isNull()); // the program's icon was found
    QCOMPARE(w.palette().color(QPalette::Window), QColor(255, 255, 128));
    QVERIFY(w.autoFillBackground());

    const Qt::WindowFlags f = w.windowFlags();
    QVERIFY(f.testFlag(Qt::Window));
    QVERIFY(!f.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!f.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(f.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(w.isWindow() && !w.isModal());

    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.size(), QSize(431, 342)); // 6465 x 5130 twips
    QCOMPARE(w.geometry(), screenCentred(w.size()));
}

void TstHelp::controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::newRow("Text1") << QStringLiteral("Text1") << QRect(120, 120, 6255, 4215);
    QTest::newRow("Command1") << QStringLiteral("Command1") << QRect(2520, 4560, 1575, 375);
}

void TstHelp::controls() {
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    f_help w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* c = w.findChild<QWidget*>(name);
    QVERIFY(c);
    QCOMPARE(c->geometry(), QRect(jot::px(twips.x()), jot::px(twips.y()), jot::px(twips.width()),
                                  jot::px(twips.height())));
    QVERIFY(c->isVisible());
    // Both controls lie wholly inside the client area.
    QVERIFY(w.rect().contains(c->geometry()));

    if (auto* text = qobject_cast<QPlainTextEdit*>(c)) {
        QVERIFY(text->isReadOnly());
        QCOMPARE(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        // Read-only must not shut the keyboard out of the text.
        QVERIFY(text->textInteractionFlags().testFlag(Qt::TextSelectableByKeyboard));
    } else {
        auto* ok = qobject_cast<QPushButton*>(c);
        QVERIFY(ok);
        QCOMPARE(ok->text(), QStringLiteral("Ok"));
        QVERIFY(ok->isDefault());
    }
}

void TstHelp::keyboardOrder() {
    auto* w = new f_help;
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    auto* text = child<QPlainTextEdit>(w, "Text1");
    auto* ok = child<QPushButton>(w, "Command1");
    QTRY_COMPARE(QApplication::focusWidget(), text);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), ok);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), text);
    // Typing into the read-only text changes nothing.
    QTest::keyClicks(text, QStringLiteral("xyz"));
    QTest::keyClick(text, Qt::Key_Delete);
    QCOMPARE(text->toPlainText(), kHelpLines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    delete w;
}

void TstHelp::closing_data() {
    QTest::addColumn<Closing>("how");
    QTest::newRow("Ok clicked") << Closing::OkClick;
    QTest::newRow("space on Ok") << Closing::OkSpace;
    QTest::newRow("Enter in the text") << Closing::EnterInText;
    QTest::newRow("Return on Ok") << Closing::ReturnOnOk;
    QTest::newRow("Escape") << Closing::Escape;
    QTest::newRow("close box") << Closing::CloseBox;
}

void TstHelp::closing() {
    QFETCH(Closing, how);
    QPointer<f_help> w = new f_help;
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    auto* text = child<QPlainTextEdit>(w, "Text1");
    auto* ok = child<QPushButton>(w, "Command1");
    switch (how) {
    case Closing::OkClick:
        QTest::mouseClick(ok, Qt::LeftButton);
        break;
    case Closing::OkSpace:
        QTest::keyClick(ok, Qt::Key_Space);
        break;
    case Closing::EnterInText:
        QTest::keyClick(text, Qt::Key_Enter);
        break;
    case Closing::ReturnOnOk:
        QTest::keyClick(ok, Qt::Key_Return);
        break;
    case Closing::Escape:
        QTest::keyClick(text, Qt::Key_Escape);
        break;
    case Closing::CloseBox:
        QVERIFY(w->close());
        break;
    }
    QVERIFY(!w || !w->isVisible());
    QTRY_VERIFY(w.isNull()); // discarded, not just hidden
}

void TstHelp::recentredWhenCreatedAnew() {
    QPointer<f_help> w = new f_help;
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    w->move(w->pos() + QPoint(-150, 90));
    QVERIFY(w->geometry() != screenCentred(w->size()));
    w->close();
    QTRY_VERIFY(w.isNull());

    w = new f_help;
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QCOMPARE(w->geometry(), screenCentred(w->size()));
    delete w;
}

// "Help..." in the main window's menu: one window, found again while it is open.
void TstHelp::oneInstance() {
    f_iir main;
    QAction* aide = main.findChild<QAction*>(QStringLiteral("m_aide"));
    QVERIFY(aide);
    const auto helpWindows = [] {
        QList<f_help*> found;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* h = qobject_cast<f_help*>(w); h && h->isVisible())
                found << h;
        return found;
    };

    aide->trigger();
    QCOMPARE(helpWindows().size(), 1);
    const QPointer<f_help> first = helpWindows().constFirst();
    QVERIFY(QTest::qWaitForWindowExposed(first));
    aide->trigger();
    QCOMPARE(helpWindows(), QList<f_help*>{first});

    // Closed, it is gone; the next "Help..." makes a fresh one.
    first->close();
    QTRY_VERIFY(first.isNull());
    QVERIFY(helpWindows().isEmpty());
    aide->trigger();
    QCOMPARE(helpWindows().size(), 1);
}

void TstHelp::about() {
    int shown = 0;
    QWidget* parent = nullptr;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton def = QMessageBox::NoButton;
    jot::setMessageResponderForTests([&](QMessageBox& box) {
        ++shown;
        parent = box.parentWidget();
        title = box.windowTitle();
        text = box.text();
        icon = box.icon();
        buttons = box.standardButtons();
        def = box.standardButton(box.defaultButton());
        return QMessageBox::Ok;
    });

    f_iir main;
    QAction* apropos = main.findChild<QAction*>(QStringLiteral("m_apropos"));
    QVERIFY(apropos);
    QCOMPARE(apropos->text(), QStringLiteral("&About..."));
    apropos->trigger();
    QCOMPARE(shown, 1);
    QCOMPARE(parent, &main); // modal over the main window
    QCOMPARE(title, QStringLiteral("About"));
    QCOMPARE(text, QStringLiteral("Jotlark v1.2"));
    QCOMPARE(icon, QMessageBox::Information);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(def, QMessageBox::Ok);
}

QTEST_MAIN(TstHelp)
#include "tst_help.moc"
