// The scope in the main window: the time-base box, the channel buttons, Clear
// on the scope tab, the context menu's Pause, Export and Save picture, and
// samples routed from the receive dispatcher's entry.
#include "../support/WorkbenchTestMain.h"
#include "AppState.h"
#include "BuildController.h"
#include "Channel.h"
#include "DeviceController.h"
#include "EditorController.h"
#include "ErrorReporter.h"
#include "Globals.h"
#include "MainForm.h"
#include "Scope.h"
#include "ScopeController.h"
#include "WorkDirController.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QTabBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

class TestScopeMainWindow : public QObject {
    Q_OBJECT

    QTemporaryDir *m_dir = nullptr;

    std::unique_ptr<TAppState> m_app;
    QStringList m_errors;

    // Answers the next modal file dialog with a name (empty: cancel).
    void AnswerFileDialog(const QString &name)
    {
        QTimer::singleShot(0, this, [name] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            if (name.isEmpty()) {
                dialog->reject();
                return;
            }
            dialog->selectFile(name);
            static_cast<QDialog *>(dialog)->accept();
        });
    }

private slots:
    void init()
    {
        m_dir = new QTemporaryDir;
        m_app = std::make_unique<TAppState>(
            TWorkbenchPaths(m_dir->path(), m_dir->filePath("Korvid.ini"), m_dir->filePath("layout.ini")));
        m_errors.clear();
        m_app->DialogHooks().errorReporter = [this](const QString &message) { m_errors << message; };
    }

    void cleanup()
    {
        m_app.reset();
        QCOMPARE(m_errors, QStringList());
        delete m_dir;
        m_dir = nullptr;
    }

    void everyScopeCommandIsBound()
    {
        TMainWindow w(*m_app);
        for (const char *name : {"ChannelBtnClick", "ScopePauseMenuClick", "ScopeExportMenuClick",
                                 "ScopeSavePictureMenuClick", "ClearBtnClick"})
            QVERIFY2(w.HasHandler(name), name);
        QVERIFY(!w.Commands().Unbound().contains("ChannelBtnClick"));
    }

    void timeBaseBoxSetsTheWindow_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<qint64>("span");
        QTest::newRow("first") << 0 << "1 ms / div" << qint64(20);
        QTest::newRow("tenSeconds") << 12 << "10 s / div" << qint64(200000);
        QTest::newRow("last") << 18 << "1 h / div" << qint64(72000000);
    }

    void timeBaseBoxSetsTheWindow()
    {
        QFETCH(int, index);
        QFETCH(QString, caption);
        QFETCH(qint64, span);
        TMainWindow w(*m_app);
        QCOMPARE(w.ScopeControl().Scope()->Model().TimeBaseText(), QStringLiteral("1s / div"));
        w.OutputTabs()->setCurrentIndex(TMainWindow::OutputScopeTab);
        w.ScopeControl().TimeBaseBox()->setCurrentIndex(index);
        QCOMPARE(w.ScopeControl().TimeBaseBox()->currentText(), caption);
        QCOMPARE(w.ScopeControl().Scope()->Model().TimeBaseText(), caption);
        QCOMPARE(w.ScopeControl().Scope()->Model().WindowSpan(), span);
    }

    void channelButtonsShowTheirChannelsColour_data()
    {
        channelButtonsOpenTheirChannelsSetup_data();
    }

    void channelButtonsOpenTheirChannelsSetup_data()
    {
        QTest::addColumn<int>("channel");
        for (int i = 0; i < 4; ++i)
            QTest::newRow(qPrintable(QString::number(i))) << i;
    }

    // Each button shows its channel's colour beside its text, so the curves
    // can be told apart.
    void channelButtonsShowTheirChannelsColour()
    {
        QFETCH(int, channel);
        TMainWindow w(*m_app);
        w.show();
        w.OutputTabs()->setCurrentIndex(TMainWindow::OutputScopeTab);
        QAction *button = w.ToolButton(QString("Channel%1Btn").arg(channel));
        TMcuScope *scope = w.ScopeControl().Scope();
        const auto swatch = [button] { return button->icon().pixmap(12, 12).toImage().pixelColor(6, 6); };
        QCOMPARE(swatch(), scope->ChannelColor(channel));
        for (int other = 0; other < 4; ++other)
            if (other != channel)
                QVERIFY(scope->ChannelColor(other) != scope->ChannelColor(channel));
        bool textShown = false;
        for (QObject *shown : button->associatedObjects())
            if (auto *tool = qobject_cast<QToolButton *>(shown))
                textShown = tool->toolButtonStyle() == Qt::ToolButtonTextBesideIcon && tool->text() == button->text();
        QVERIFY(textShown);
        QCOMPARE(button->text(), QString("#%1").arg(channel));
    }

    void channelButtonsOpenTheirChannelsSetup()
    {
        QFETCH(int, channel);
        TMainWindow w(*m_app);
        w.OutputTabs()->setCurrentIndex(TMainWindow::OutputScopeTab);
        QAction *button = w.ToolButton(QString("Channel%1Btn").arg(channel));
        QCOMPARE(button->toolTip(), QString("Setup Channel #%1").arg(channel));
        QString header;
        QTimer::singleShot(0, this, [&header] {
            auto *dialog = qobject_cast<TMcuChannelSetup *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            header = dialog->HeaderLabel->text();
            dialog->reject();
        });
        button->trigger();
        QCOMPARE(header, QString("Channel #%1").arg(channel));
    }

    void clearActsOnTheScopeOnlyOnItsTab()
    {
        TMainWindow w(*m_app);
        w.ScopeControl().ReceivedSample(2, 1.5f);
        w.ScopeControl().ReceivedSample(7, 1.5f); // no such channel
        QCOMPARE(w.ScopeControl().Scope()->Model().Channel(2).SampleCount(), 1);
        QCOMPARE(w.ScopeControl().Scope()->Model().Channel(2).Sample(0).value, 1.5f);
        w.OutputTabs()->setCurrentIndex(TMainWindow::OutputBuildTab);
        w.ToolButton("ClearBtn")->trigger();
        QCOMPARE(w.ScopeControl().Scope()->Model().Channel(2).SampleCount(), 1);
        w.OutputTabs()->setCurrentIndex(TMainWindow::OutputScopeTab);
        w.ToolButton("ClearBtn")->trigger();
        QCOMPARE(w.ScopeControl().Scope()->Model().Channel(2).SampleCount(), 0);
        w.ScopeControl().ReceivedSample(0, 3);
        w.MenuItem("ScopeClearItem")->trigger();
        QCOMPARE(w.ScopeControl().Scope()->Model().Channel(0).SampleCount(), 0);
    }

    void pauseItemIsCheckedWhilePaused()
    {
        TMainWindow w(*m_app);
        QAction *pause = w.MenuItem("ScopePauseItem");
        QVERIFY(pause->isCheckable());
        pause->trigger();
        QVERIFY(w.ScopeControl().Scope()->Paused());
        QVERIFY(pause->isChecked());
        pause->trigger();
        QVERIFY(!w.ScopeControl().Scope()->Paused());
        QVERIFY(!pause->isChecked());
    }

    void exportAndSavePictureAskForAFile()
    {
        TMainWindow w(*m_app);
        w.ScopeControl().ReceivedSample(1, 42);
        AnswerFileDialog(m_dir->filePath("run"));
        w.MenuItem("ScopeExportItem")->trigger();
        QFile csv(m_dir->filePath("run.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QVERIFY(csv.readAll().startsWith("time_ms,channel,value\n"));
        AnswerFileDialog(m_dir->filePath("run"));
        w.MenuItem("ScopeSavePictureItem")->trigger();
        QVERIFY(!QImage(m_dir->filePath("run.png")).isNull());
        AnswerFileDialog(QString()); // cancelled: nothing written
        w.MenuItem("ScopeExportItem")->trigger();
        QCOMPARE(QDir(m_dir->path()).entryList({"*.csv", "*.png"}, QDir::Files).size(), 2);
    }
};

WORKBENCH_TEST_MAIN(TestScopeMainWindow)
#include "test_scope_mainwindow.moc"
