#include "common/program.h"
#include "help/f_help.h"
#include "ui/messagebox.h"

#include <QPlainTextEdit>
#include <QTextBlock>

class TstHelp : public QObject {
    Q_OBJECT
private slots:
    void helpAndAbout();
};

void TstHelp::helpAndAbout() {
    testing::Program p;
    for (int i = 0; i < 2; ++i)
        p.main->findChild<QAction*>("m_aide")->trigger();
    QList<QPointer<f_help>> shown;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* h = qobject_cast<f_help*>(w); h && h->isVisible())
            shown << h;
    QCOMPARE(shown.size(), 1);

    // Trailing spaces belong to the text.
    const QString expected =
        "Create a task :\n---------------------\n"
        "Click on \"New\" and type the task content. You can add a date/time \n"
        "alarm if you click on \"Alarm\".\n"
        "Close the window by clicking on the right up cross, the informations \n"
        "will be saved in any case.\n"
        "You can also create a task by right clicking the icon in the task bar \n"
        "and select \"New\".\n\nShow a task :\n--------------------\n"
        "If the window is not already shown, you can show it by selecting it in \n"
        "the list and by clicking on \"Show\". You can also double-click in the \n"
        "list.\n\nDelete a task :\n---------------------\n"
        "Select it in the list and click on \"Delete\".\n";
    auto* text = shown[0]->findChild<QPlainTextEdit*>("Text1");
    QCOMPARE(text->toPlainText().split('\n'), expected.split('\n'));
    for (QTextBlock b = text->document()->begin(); b.isValid(); b = b.next())
        QVERIFY2(b.layout()->lineCount() == 1, qPrintable(b.text())); // never wrapped

    QTest::mouseClick(shown[0]->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    QTRY_VERIFY(shown[0].isNull());

    QStringList seen;
    jot::setMessageResponderForTests([&seen](QMessageBox& box) {
        const bool ok = box.buttons() == QList{box.button(QMessageBox::Ok)};
        seen << box.windowTitle() << box.text() << (ok ? "Ok only" : "buttons")
             << (box.icon() == QMessageBox::Information ? "information" : "icon");
        return QMessageBox::Ok;
    });
    p.main->findChild<QAction*>("m_apropos")->trigger();
    jot::setMessageResponderForTests({});
    QCOMPARE(seen, QStringList({"About", "Jotlark v1.2", "Ok only", "information"}));
}

QTEST_MAIN(TstHelp)
#include "tst_help.moc"
