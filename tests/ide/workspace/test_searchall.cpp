#include "FindListBox.h"
#include "SearchAll.h"
#include "SearchReplace.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class TestSearchAll : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    void WriteFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(m_dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // Presses a button of the dialog once it is up.
    static void PressLater(TSearchAllDlg &dlg, QPushButton *button, const QString &text)
    {
        QTimer::singleShot(0, &dlg, [&dlg, button, text] {
            if (!text.isNull())
                dlg.SetSearchText(text);
            button->click();
        });
    }

    static void SetScope(TSearchAllDlg &dlg, bool openFiles, bool workDir)
    {
        dlg.SearchOpenFilesBtn->setChecked(openFiles);
        dlg.SearchWorkDirBtn->setChecked(workDir);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        WriteFile("main.bas", "10 x = 1\r\n20\tPRINT x_1\r\n30 GOTO 10\r\n");
        WriteFile("SESSION.LOG", "x + 1\n");
        WriteFile("notes.txt", "see main.bas, x\n");
        WriteFile("README", "x main\n");
    }

    void StartsWithItsDefaults()
    {
        TSearchAllDlg dlg;
        QCOMPARE(dlg.windowTitle(), QString("Search all..."));
        QCOMPARE(dlg.FilterBox->count(), 4);
        QCOMPARE(dlg.FileFilter(), QString("*.bas, *.inc, *.txt, *.log"));
        QCOMPARE(dlg.FilterBox->itemText(3), QString("*.bas"));
        QVERIFY(!dlg.CaseSensitive() && !dlg.WholeWords());
        QVERIFY(!dlg.SearchOpenFiles() && !dlg.SearchWorkDir());
        QVERIFY(dlg.OKBtn->isDefault());
    }

    // The drop-down list is a copy of the find dialog's history; OK with a
    // text adds it there, Cancel or an empty text does not.
    void SharesTheFindHistory()
    {
        TSearchAllDlg dlg;
        QStringList history = {"GOTO", "x"};
        dlg.GetHistory = [&] { return history; };
        dlg.AddToHistory = [&](const QString &text) { history.prepend(text); };

        PressLater(dlg, dlg.OKBtn, "PRINT");
        QCOMPARE(dlg.Execute(), int(QDialog::Accepted));
        QCOMPARE(history, QStringList({"PRINT", "GOTO", "x"}));

        PressLater(dlg, dlg.CancelBtn, "REM");
        QCOMPARE(dlg.Execute(), int(QDialog::Rejected));
        PressLater(dlg, dlg.OKBtn, "");
        dlg.Execute();
        QCOMPARE(history.size(), 3);

        history = {"one", "two"};
        PressLater(dlg, dlg.CancelBtn, QString());
        dlg.Execute();
        QCOMPARE(dlg.SearchTextBox->count(), 2);
        QCOMPARE(dlg.SearchTextBox->itemText(1), QString("two"));
    }

    // A dialog sharing the find dialog's history reads and extends it.
    void SharedHistoryIsTheFindDialogs()
    {
        TSearchDlg find;
        find.SetSearchHistory({"alpha", "Beta"});
        TSearchAllDlg dlg;
        dlg.ShareHistoryOf(find);
        PressLater(dlg, dlg.OKBtn, "beta");
        dlg.Execute();
        QCOMPARE(dlg.SearchTextBox->itemText(1), QString("Beta"));
        QCOMPARE(find.SearchHistory(), QStringList({"beta", "alpha"}));
    }

    void SearchesTheChosenScope_data()
    {
        QTest::addColumn<bool>("openFiles");
        QTest::addColumn<bool>("hasCurrent");
        QTest::addColumn<bool>("workDir");
        QTest::addColumn<QStringList>("expected");
        const QString a = "/ed/a.bas(2):   x = 2  ";
        const QString b = "/ed/b.bas(1):   x  ";
        const QString disk = m_dir.path() + "/main.bas(1):   10 x = 1  ";
        const QString log = m_dir.path() + "/SESSION.LOG(1):   x + 1  ";
        const QString txt = m_dir.path() + "/notes.txt(1):   see main.bas, x  ";
        QTest::newRow("nothing") << false << false << false << QStringList({"completed."});
        QTest::newRow("current") << false << true << false
                                 << QStringList({"Search in current file...", a, "completed."});
        QTest::newRow("open files") << true << true << false
                                    << QStringList({"Search in open files...", a, b, "completed."});
        QTest::newRow("open files, none open")
            << true << false << false << QStringList({"Search in open files...", "completed."});
        QTest::newRow("directory only") << false << false << true
                                        << QStringList(
                                               {"Search in working directory...", log, disk, txt, "completed."});
    }
    void SearchesTheChosenScope()
    {
        QFETCH(bool, openFiles);
        QFETCH(bool, hasCurrent);
        QFETCH(bool, workDir);
        QFETCH(QStringList, expected);
        TSearchAllDlg dlg;
        dlg.SetSearchText("x");
        dlg.SearchWholeWordsOnlyBtn->setChecked(true);
        SetScope(dlg, openFiles, workDir);
        TSearchScope scope;
        if (hasCurrent) {
            scope.openFiles = {{"/ed/a.bas", {"y = 1", "x = 2"}}, {"/ed/b.bas", {"x"}}};
            scope.currentFile = scope.openFiles.front();
        }
        scope.workDir = m_dir.path();
        TFindListBox list;
        list.AddLine("old result");
        dlg.SetResultList(&list);
        QString error;
        QVERIFY(dlg.Search(scope, error));
        QStringList lines = list.Lines();
        // The working directory lists its files in no particular order.
        const qsizetype from = lines.indexOf("Search in working directory...") + 1;
        if (from > 0)
            std::sort(lines.begin() + from, lines.end() - 1);
        QCOMPARE(lines, expected);
    }

    // Filter, case and whole-word choices over the working directory.
    void FiltersAndOptions_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("wholeWords");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QStringList>("results");
        const QString d = m_dir.path();
        QTest::newRow("tab as four blanks")
            << "print" << false << false << 3 << QStringList({d + "/main.bas(2):   20    PRINT x_1  "});
        QTest::newRow("case sensitive") << "print" << true << false << 3 << QStringList();
        QTest::newRow("underscore") << "x" << false << true << 3 << QStringList({d + "/main.bas(1):   10 x = 1  "});
        QTest::newRow("log needs the first filter") << "+ 1" << false << false << 1 << QStringList();
        QTest::newRow("upper-case .LOG") << "+ 1" << false << false << 0
                                         << QStringList({d + "/SESSION.LOG(1):   x + 1  "});
        QTest::newRow("no extension never")
            << "main" << false << false << 0 << QStringList({d + "/notes.txt(1):   see main.bas, x  "});
    }
    void FiltersAndOptions()
    {
        QFETCH(QString, text);
        QFETCH(bool, matchCase);
        QFETCH(bool, wholeWords);
        QFETCH(int, filter);
        QFETCH(QStringList, results);
        TSearchAllDlg dlg;
        dlg.SetSearchText(text);
        dlg.SearchCaseSensitiveBtn->setChecked(matchCase);
        dlg.SearchWholeWordsOnlyBtn->setChecked(wholeWords);
        dlg.FilterBox->setCurrentIndex(filter);
        SetScope(dlg, false, true);
        TFindListBox list;
        dlg.SetResultList(&list);
        QString error;
        QVERIFY(dlg.Search({{}, std::nullopt, m_dir.path()}, error));
        QStringList lines = list.Lines().mid(1, list.count() - 2);
        lines.sort();
        QCOMPARE(lines, results);
    }

    // Result lines in black from 20 pixels, the scope lines and "completed."
    // in dark blue from 2 pixels; a selected line on grey.
    void DrawsResultAndScopeLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QColor>("text");
        QTest::addColumn<int>("left");
        QTest::newRow("scope line") << "Search in open files..." << QColor(10, 10, 160) << 2;
        QTest::newRow("result") << "/w/a.bas(1):   WWW = 1  " << QColor(0, 0, 0) << 20;
        QTest::newRow("completed") << "completed." << QColor(10, 10, 160) << 2;
    }
    void DrawsResultAndScopeLines()
    {
        QFETCH(QString, line);
        QFETCH(QColor, text);
        QFETCH(int, left);
        TFindListBox list;
        list.SetLines({line, line});
        list.resize(400, 100);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.setCurrentRow(1);
        const QImage image = list.viewport()->grab().toImage();
        const QRect row = list.visualItemRect(list.item(0));
        const QColor base = list.palette().color(QPalette::Base);
        int firstInk = -1;
        bool textColour = false;
        for (int x = row.left(); x < row.left() + 200; ++x) {
            for (int y = row.top(); y <= row.bottom(); ++y) {
                const QColor c(image.pixel(x, y));
                if (c != base && firstInk < 0)
                    firstInk = x - row.left();
                textColour |= c == text;
            }
        }
        QVERIFY(textColour);
        QVERIFY2(firstInk >= left && firstInk < left + 4, qPrintable(QString::number(firstInk)));
        const QRect selected = list.visualItemRect(list.item(1));
        QCOMPARE(QColor(image.pixel(selected.right() - 3, selected.center().y())), QColor(120, 120, 120));
    }
};

QTEST_MAIN(TestSearchAll)
#include "test_searchall.moc"
