// The message dialog: caption, buttons, their places and results per kind;
// closing through the frame counts as Cancel.

#include "DialogHooks.h"
#include "ErrorReporter.h"
#include "MsgDlg.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class TestMsgDlg : public QObject {
    Q_OBJECT

private:
    // Runs ShowMessageDlg and, once the dialog is up, applies action to it.
    static int ShowAndAct(int kind, bool withCancel, const std::function<void(TMessageDlg *)> &action)
    {
        QTimer::singleShot(0, [action] {
            auto *dlg = qobject_cast<TMessageDlg *>(QApplication::activeModalWidget());
            QVERIFY(dlg);
            action(dlg);
        });
        return ShowMessageDlg(kind, "Message", "Help", withCancel);
    }

private slots:
    void layout_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("withCancel");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("buttons"); // visible buttons' captions, left to right

        QTest::newRow("warning") << int(mkWarning) << false << "Warning" << QStringList{"OK"};
        QTest::newRow("error ignores cancel flag") << int(mkError) << true << "Error" << QStringList{"OK"};
        QTest::newRow("information") << int(mkInformation) << false << "Information" << QStringList{"OK"};
        QTest::newRow("confirmation yes/no")
            << int(mkConfirmation) << false << "Confirmation" << QStringList{"Yes", "No"};
        QTest::newRow("confirmation with cancel")
            << int(mkConfirmation) << true << "Confirmation" << QStringList{"Yes", "No", "Cancel"};
        QTest::newRow("custom yes/no") << int(mkCustom) << false << "Custom" << QStringList{"Yes", "No"};
        QTest::newRow("custom with cancel") << int(mkCustom) << true << "Custom" << QStringList{"Yes", "No", "Cancel"};
    }

    void layout()
    {
        QFETCH(int, kind);
        QFETCH(bool, withCancel);
        QFETCH(QString, caption);
        QFETCH(QStringList, buttons);

        TMessageDlg dlg;
        dlg.Prepare(TMsgKind(kind), "The message", "The help", withCancel);
        QCOMPARE(dlg.windowTitle(), caption);
        QCOMPARE(dlg.size(), QSize(339, 158));
        QCOMPARE(dlg.MsgLabel->text(), QString("The message"));
        QVERIFY(dlg.MsgLabel->font().bold());
        QCOMPARE(dlg.HelpLabel->text(), QString("The help"));
        QVERIFY(!dlg.HelpLabel->font().bold());
        QVERIFY(!dlg.Image->pixmap().isNull());

        QStringList shown;
        for (QPushButton *b : {dlg.Btn1, dlg.Btn2, dlg.Btn3})
            if (!b->isHidden())
                shown << b->text();
        QCOMPARE(shown, buttons);

        const int middle = dlg.width() / 2;
        if (buttons.size() == 1) {
            QCOMPARE(dlg.Btn1->x(), middle - dlg.Btn1->width() / 2);
        } else if (buttons.size() == 2) {
            QCOMPARE(dlg.Btn1->x() + dlg.Btn1->width(), middle - 5);
            QCOMPARE(dlg.Btn2->x(), middle + 5);
        } else {
            QCOMPARE(dlg.Btn1->x(), 74);
            QCOMPARE(dlg.Btn2->x(), 160);
            QCOMPARE(dlg.Btn3->x(), 248);
        }
        QVERIFY(dlg.Btn1->isDefault());
    }

    void results_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("withCancel");
        QTest::addColumn<QString>("button"); // button to click, or "close" / "escape"
        QTest::addColumn<int>("result");

        QTest::newRow("OK") << int(mkInformation) << false << "Btn1" << int(mrOk);
        QTest::newRow("warning closed by frame") << int(mkWarning) << false << "close" << int(mrCancel);
        QTest::newRow("Yes") << int(mkConfirmation) << true << "Btn1" << int(mrYes);
        QTest::newRow("No") << int(mkConfirmation) << true << "Btn2" << int(mrNo);
        QTest::newRow("Cancel") << int(mkConfirmation) << true << "Btn3" << int(mrCancel);
        QTest::newRow("Yes without cancel") << int(mkConfirmation) << false << "Btn1" << int(mrYes);
        QTest::newRow("No of custom") << int(mkCustom) << false << "Btn2" << int(mrNo);
        QTest::newRow("question closed by frame") << int(mkConfirmation) << true << "close" << int(mrCancel);
        QTest::newRow("yes/no closed by frame") << int(mkConfirmation) << false << "close" << int(mrCancel);
        QTest::newRow("escape") << int(mkConfirmation) << true << "escape" << int(mrCancel);
    }

    void results()
    {
        QFETCH(int, kind);
        QFETCH(bool, withCancel);
        QFETCH(QString, button);
        QFETCH(int, result);

        const int got = ShowAndAct(kind, withCancel, [button](TMessageDlg *dlg) {
            if (button == "close")
                dlg->close();
            else if (button == "escape")
                QTest::keyClick(dlg, Qt::Key_Escape);
            else
                dlg->findChild<QPushButton *>(button)->click();
        });
        QCOMPARE(got, result);
    }

    void enterTakesDefault()
    {
        const int got =
            ShowAndAct(mkConfirmation, true, [](TMessageDlg *dlg) { QTest::keyClick(dlg, Qt::Key_Return); });
        QCOMPARE(got, int(mrYes));
    }

    void longHelpTextWraps()
    {
        TMessageDlg dlg;
        const QString help = QString("word ").repeated(60);
        dlg.Prepare(mkInformation, "Short", help, false);
        QVERIFY(dlg.HelpLabel->wordWrap());
        QVERIFY(dlg.HelpLabel->geometry().right() < dlg.width());
        QVERIFY(dlg.HelpLabel->geometry().bottom() < dlg.Btn1->parentWidget()->y());
    }

    // An error that leaves a command shows its first sentence as the message
    // and the rest as the help text; a long message pushes the help down
    // instead of being cut off.
    void longErrorShowsWhole()
    {
        const QString path = "/home/user/projects/velmo/examples/with a long name/prog.bas";
        QStringList seen;
        TDialogHooks hooks;
        hooks.messageDlg = [&](int kind, const QString &msg, const QString &help, bool) {
            seen << QString::number(kind) << msg << help;
            TMessageDlg dlg;
            dlg.Prepare(TMsgKind(kind), msg, help, false);
            const QRect message = dlg.MsgLabel->geometry();
            if (message.height() < dlg.MsgLabel->heightForWidth(message.width()) ||
                dlg.HelpLabel->geometry().top() <= message.bottom())
                seen << "cut";
            return int(mrOk);
        };
        {
            const TDialogHooksInUse inUse(hooks);
            ShowErrorMessage("Cannot save \"" + path + "\": No space left on device. The file was left as it was.");
        }
        QCOMPARE(seen,
                 QStringList(
                     {"1", "Cannot save \"" + path + "\": No space left on device.", "The file was left as it was."}));
    }

    void hookAnswersWithoutDialog()
    {
        QStringList seen;
        TDialogHooks hooks;
        hooks.messageDlg = [&](int kind, const QString &msg, const QString &help, bool withCancel) {
            seen << QString("%1|%2|%3|%4").arg(kind).arg(msg, help).arg(withCancel);
            return int(mrNo);
        };
        int got = 0;
        {
            const TDialogHooksInUse inUse(hooks);
            got = ShowMessageDlg(mkConfirmation, "m", "h", true);
        }
        QCOMPARE(got, int(mrNo));
        QCOMPARE(seen, QStringList{"3|m|h|1"});
    }
};

QTEST_MAIN(TestMsgDlg)
#include "test_msgdlg.moc"
