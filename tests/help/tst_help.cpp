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
        p.trigger("m_aide");
    QList<QPointer<f_help>> shown;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* h = qobject_cast<f_help*>(w); h && h->isVisible())
            shown << h;
    QCOMPARE(shown.size(), 1);

    // The whole text in view, each line unwrapped.
    auto* text = shown[0]->findChild<QPlainTextEdit*>("Text1");
    QVERIFY(text->document()->blockCount() > 10);
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
    p.trigger("m_apropos");
    jot::setMessageResponderForTests({});
    QCOMPARE(seen, QStringList({"About", "Jotlark v1.2", "Ok only", "information"}));
}

QTEST_MAIN(TstHelp)
#include "tst_help.moc"
