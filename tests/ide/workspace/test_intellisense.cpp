// Code completion: the item list, its display texts, filtering and the popup
// in ".bas" editors.
#include "../support/EditorTabsHost.h"
#include "DialogHooks.h"
#include "EditorTabs.h"
#include "Intellisense.h"
#include "SearchReplace.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>
#include <QtTest>

#include <map>

class TestIntellisense : public QObject {
    Q_OBJECT

    TDialogHooks m_hooks; // in force for the whole suite
    TDialogHooksInUse m_hooksInUse{m_hooks};

    TIntellisense m_completion; // the suite's, as the workbench's
    std::unique_ptr<QWidget> m_host;
    std::unique_ptr<TSearchDlg> m_dlg;
    std::unique_ptr<TEditorTabs> m_tabs;

    TSourceEditor *Editor() const
    {
        return AsSourceEditor(m_tabs->CurrentEditor());
    }
    TIntellisense &Completion()
    {
        return m_completion;
    }
    void TypeIntoNew(const char *extension, const QString &text)
    {
        m_tabs->OpenEditor(m_tabs->NewFileName(extension));
        Editor()->insert(text);
        Editor()->setCursorPosition(Editor()->lines() - 1, Editor()->text(Editor()->lines() - 1).size());
    }

private slots:
    void init()
    {
        m_host = std::make_unique<QWidget>();
        m_dlg = std::make_unique<TSearchDlg>();
        m_tabs = MakeEditorTabs(m_host.get(), m_dlg.get(), QSize(500, 300), &m_completion);
        m_host->show();
        m_hooks.confirm = [](const QString &, const QString &) { return 7; };
    }

    void cleanup()
    {
        Completion().Cancel();
        m_tabs.reset();
        m_host.reset();
        m_dlg.reset();
    }

    void itemsByKindInOrder()
    {
        const auto &items = TIntellisense::Items();
        QCOMPARE(int(items.size()), 139);
        QCOMPARE(Completion().ItemList().size(), 139);
        // kinds come in blocks, in the order they are added
        QList<QPair<TCompletionKind, int>> blocks;
        for (const TCompletionItem &item : items) {
            if (blocks.isEmpty() || blocks.last().first != item.kind)
                blocks.append({item.kind, 0});
            ++blocks.last().second;
        }
        using K = TCompletionKind;
        const QList<QPair<K, int>> expected = {{K::Directive, 8}, {K::Type, 6},      {K::Format, 5},
                                               {K::Operator, 5},  {K::Keyword, 24},  {K::Command, 43},
                                               {K::Function, 24}, {K::Variable, 21}, {K::Constant, 3}};
        QCOMPARE(blocks, expected);
        QCOMPARE(QString(items.front().insertText), QString("#include"));
        QCOMPARE(QString(items[48].insertText), QString("put"));
        QCOMPARE(QString(items.back().insertText), QString("PI"));
        for (const TCompletionItem &item : items) {
            QVERIFY(qstrlen(item.insertText) <= 40);
            QVERIFY(qstrlen(item.hint) <= 100);
        }
    }

    // Every item against the list kept in the test data: kind, insert text
    // and hint with its blanks, in order; the display text is built from them.
    void everyItemAsListed()
    {
        QFile file(QStringLiteral(VELMO_TEST_DATA "/editor/completion_items.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        QStringList expected;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).chopped(1);
            if (!line.startsWith(u'#'))
                expected << line;
        }
        const QStringList kindNames = {"Type",     "Format",   "Keyword",  "Command",  "Function",
                                       "Operator", "Constant", "Variable", "Directive"};
        QStringList got;
        for (const TCompletionItem &item : TIntellisense::Items())
            got << QStringLiteral("%1\t%2\t\"%3\"")
                       .arg(kindNames.at(int(item.kind)), QString(item.insertText), QString(item.hint));
        QCOMPARE(got.size(), 139);
        QCOMPARE(got, expected);
        QCOMPARE(Completion().InsertList().size(), 139);
        for (int i = 0; i < 139; ++i) {
            const QStringList fields = expected[i].split(u'\t');
            QCOMPARE(Completion().InsertList().at(i), fields[1]);
            QVERIFY(Completion().ItemList().at(i).startsWith(fields[0] + " \\column{}"));
            QVERIFY(Completion().ItemList().at(i).endsWith("\\color{0}" + fields[2].mid(1).chopped(1)));
        }
    }

    void displayTexts_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("display");
        QTest::newRow("keyword") << 24 << "Keyword \\column{}\\style{+B}\\color{clBlue} if\\style{-B}\\color{0}..then";
        QTest::newRow("directive")
            << 0 << "Directive \\column{}\\style{+B}\\color{clGray} #include\\style{-B}\\color{0} \"filename\"";
        QTest::newRow("function") << 91 << "Function \\column{}\\style{+B}\\color{clBlack} lo\\style{-B}\\color{0}(a)";
        QTest::newRow("variable") << 115 << "Variable \\column{}\\style{+B}\\color{clBlack} Err\\style{-B}\\color{0}";
        QTest::newRow("constant")
            << 138 << "Constant \\column{}\\style{+B}\\color{clBlue} PI\\style{-B}\\color{0} = 3.1415927";
        QTest::newRow("command with blanks")
            << 48 << "Command \\column{}\\style{+B}\\color{clBlue} put\\style{-B}\\color{0} #device,expr|var{,count} ";
    }

    void displayTexts()
    {
        QFETCH(int, index);
        QFETCH(QString, display);
        QCOMPARE(Completion().ItemList().at(index), display);
        QCOMPARE(TIntellisense::DisplayText(TIntellisense::Items()[index]), display);
    }

    void kindColours()
    {
        using K = TCompletionKind;
        const std::map<K, QColor> colours = {
            {K::Type, Qt::blue},     {K::Format, Qt::blue},    {K::Keyword, Qt::blue},
            {K::Command, Qt::blue},  {K::Function, Qt::black}, {K::Operator, Qt::blue},
            {K::Constant, Qt::blue}, {K::Variable, Qt::black}, {K::Directive, QColor(128, 128, 128)},
        };
        for (const auto &[kind, colour] : colours)
            QCOMPARE(TIntellisense::KindColor(kind), colour);
    }

    void filtering_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QStringList>("inserts");
        QTest::newRow("pr") << "pr" << QStringList{"print"};
        QTest::newRow("PR") << "PR" << QStringList{"print"};
        QTest::newRow("hash") << "#" << QStringList{"#include", "#target", "#define", "#undef",
                                                    "#ifndef",  "#ifdef",  "#else",   "#endif"};
        QTest::newRow("mixed case items") << "ti" << QStringList{"Timer", "Time"};
        QTest::newRow("constants") << "p" << QStringList{"put",  "print", "poke",  "pause", "plot", "picture", "pos",
                                                         "peek", "pow",   "point", "Pwm",   "Port", "PI"};
        QTest::newRow("none") << "qq" << QStringList{};
    }

    void filtering()
    {
        QFETCH(QString, word);
        QFETCH(QStringList, inserts);
        QStringList got;
        for (int index : Completion().Filter(word))
            got << Completion().InsertList().at(index);
        QCOMPARE(got, inserts);
        QCOMPARE(Completion().Filter(QString()).size(), 139);
    }

    void ctrlSpaceListsAndEnterInserts()
    {
        TypeIntoNew(".bas", "x = 1\npr");
        QTest::keyClick(Editor(), Qt::Key_Space, Qt::ControlModifier);
        QVERIFY(Completion().IsShowing());
        QCOMPARE(Completion().ShownInsertTexts(), QStringList{"print"});
        QTest::keyClick(Editor(), Qt::Key_Return);
        QVERIFY(!Completion().IsShowing());
        QCOMPARE(Editor()->text(), QString("x = 1\nprint"));
    }

    void typingNarrowsAndEndOfTokenAccepts()
    {
        TypeIntoNew(".bas", "s");
        QTest::keyClick(Editor(), Qt::Key_Space, Qt::ControlModifier);
        QVERIFY(Completion().ShownInsertTexts().size() > 10);
        QTest::keyClicks(Editor(), "etc");
        QCOMPARE(Completion().ShownInsertTexts(), (QStringList{"setcom", "setclock", "setcounter"}));
        QTest::keyClick(Editor(), Qt::Key_Down);
        QTest::keyClick(Editor(), ' ');
        QCOMPARE(Editor()->text(), QString("setclock "));
        QVERIFY(!Completion().IsShowing());
    }

    void endOfTokenCharactersAccept_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        for (const char c : QByteArray(" ()[].:,=\""))
            QTest::addRow("%c", c) << QString(QChar(c)) << QStringLiteral("print") + QChar(c);
        QTest::newRow("letter narrows") << "n"
                                        << "prin";
        QTest::newRow("digit narrows") << "1"
                                       << "pri1";
    }

    void endOfTokenCharactersAccept()
    {
        QFETCH(QString, typed);
        QFETCH(QString, text);
        TypeIntoNew(".bas", "pri");
        QTest::keyClick(Editor(), Qt::Key_Space, Qt::ControlModifier);
        QCOMPARE(Completion().ShownInsertTexts(), QStringList{"print"});
        QTest::keyClicks(Editor(), typed);
        QCOMPARE(Editor()->text(), text);
        QCOMPARE(Completion().IsShowing(), text == "prin");
    }

    void popupShowsTwelveLines()
    {
        TypeIntoNew(".bas", "");
        QTest::keyClick(Editor(), Qt::Key_Space, Qt::ControlModifier);
        QCOMPARE(Completion().ShownInsertTexts().size(), 139);
        QListWidget *list = nullptr;
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (widget->isVisible() && qobject_cast<QListWidget *>(widget))
                list = qobject_cast<QListWidget *>(widget);
        QVERIFY(list);
        QCOMPARE(list->width(), 350);
        QCOMPARE(list->viewport()->height() / list->sizeHintForRow(0), 12);
        QCOMPARE(Completion().Settings().font.family(), QString("Tahoma"));
        QCOMPARE(Completion().Settings().font.pointSize(), 8);
    }

    void escapeAndTabAndNoMatch()
    {
        TypeIntoNew(".bas", "#");
        QTest::keyClick(Editor(), Qt::Key_Space, Qt::ControlModifier);
        QCOMPARE(Completion().ShownInsertTexts().size(), 8);
        QTest::keyClick(Editor(), Qt::Key_Escape);
        QVERIFY(!Completion().IsShowing());
        QTest::keyClick(Editor(), Qt::Key_Space, Qt::ControlModifier);
        QTest::keyClick(Editor(), Qt::Key_Tab);
        QCOMPARE(Editor()->text(), QString("#include"));
        Editor()->insert("zz");
        Editor()->setCursorPosition(0, 10);
        QTest::keyClick(Editor(), Qt::Key_Space, Qt::ControlModifier);
        QVERIFY(!Completion().IsShowing());
    }

    void triggerCharacters_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("timer");
        QTest::newRow("lower-case letter") << "r" << true;
        QTest::newRow("hash") << "#" << true;
        QTest::newRow("upper-case letter") << "R" << false;
        QTest::newRow("digit") << "1" << false;
        QTest::newRow("blank") << " " << false;
        QTest::newRow("underscore") << "_" << false;
        QTest::newRow("letter then digit") << "r1" << false;
        QTest::newRow("digit then letter") << "1z" << true;
    }

    void triggerCharacters()
    {
        QFETCH(QString, typed);
        QFETCH(bool, timer);
        TypeIntoNew(".bas", "");
        QTest::keyClicks(Editor(), typed);
        QCOMPARE(Completion().TimerActive(), timer);
        QVERIFY(!Completion().IsShowing());
    }

    void theTimerOpensThePopup()
    {
        TypeIntoNew(".bas", "");
        QTest::keyClick(Editor(), 'P', Qt::ShiftModifier);
        QTest::keyClick(Editor(), 'r');
        QTest::keyClick(Editor(), 'i');
        QElapsedTimer sinceTyping;
        sinceTyping.start();
        QVERIFY(!Completion().IsShowing());
        QCOMPARE(Completion().Settings().timerInterval, 2000);
        QTRY_VERIFY_WITH_TIMEOUT(Completion().IsShowing(), 4000);
        // Not before two seconds (a timer may fire up to 5 % early).
        QVERIFY2(sinceTyping.elapsed() >= 1900, qPrintable(QString::number(sinceTyping.elapsed())));
        QCOMPARE(Completion().ShownInsertTexts(), QStringList{"print"});
    }

    void textEditorsGetNoCompletion()
    {
        TypeIntoNew(".txt", "pr");
        QVERIFY(!Completion().IsAttached(Editor()));
        QTest::keyClick(Editor(), Qt::Key_Space, Qt::ControlModifier);
        QVERIFY(!Completion().IsShowing());
        QTest::keyClick(Editor(), 'i');
        QVERIFY(!Completion().TimerActive());
    }

    void closingAnEditorDetachesIt()
    {
        TypeIntoNew(".bas", "pr");
        QTest::keyClick(Editor(), Qt::Key_Space, Qt::ControlModifier);
        QVERIFY(Completion().IsShowing());
        QPointer<TSourceEditor> editor = Editor();
        m_tabs->CloseAllFilesClick();
        QVERIFY(!Completion().IsShowing());
        QVERIFY(!Completion().IsAttached(editor));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(editor.isNull());
    }
};

QTEST_MAIN(TestIntellisense)
#include "test_intellisense.moc"
