// Searching and replacing in an editor, the find dialog's histories and
// layouts, and the placement of the replace question.
#include "../support/EditorTabsHost.h"
#include "ConfirmReplace.h"
#include "DialogHooks.h"
#include "EditorTabs.h"
#include "SearchReplace.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

#include <deque>

class TestSearchReplace : public QObject {
    Q_OBJECT

    TDialogHooks m_hooks; // in force for the whole suite
    TDialogHooksInUse m_hooksInUse{m_hooks};

    std::unique_ptr<QWidget> m_host;
    std::unique_ptr<TSearchDlg> m_dlg;
    std::unique_ptr<TEditorTabs> m_tabs;
    std::deque<int> m_confirmAnswers;
    int m_confirms = 0;
    int m_beeps = 0;
    QString m_question;

    TSourceEditor *Editor() const
    {
        return AsSourceEditor(m_tabs->CurrentEditor());
    }
    std::pair<long, long> Selection() const
    {
        return {Editor()->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONSTART),
                Editor()->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONEND)};
    }
    long Caret() const
    {
        return Editor()->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
    }
    void SetFind(const QString &text, const QString &replacement = QString())
    {
        m_dlg->SearchTextBox->setCurrentText(text);
        m_dlg->ReplaceTextBox->setCurrentText(replacement);
    }

private slots:
    void init()
    {
        m_host = std::make_unique<QWidget>();
        m_dlg = std::make_unique<TSearchDlg>();
        m_tabs = MakeEditorTabs(m_host.get(), m_dlg.get(), QSize(500, 300));
        m_confirms = 0;
        m_beeps = 0;
        m_confirmAnswers.clear();
        m_tabs->EditorList().ExecConfirm = [this](TConfirmReplaceDialog &dialog) {
            ++m_confirms;
            m_question = dialog.lblConfirmation->text();
            const int answer =
                m_confirmAnswers.empty() ? int(TConfirmReplaceDialog::mrCancel) : m_confirmAnswers.front();
            if (!m_confirmAnswers.empty())
                m_confirmAnswers.pop_front();
            return answer;
        };
        m_hooks.beep = [this] { ++m_beeps; };
        m_tabs->NewTextFileClick();
    }

    void cleanup()
    {
        m_tabs.reset();
        m_host.reset();
        m_dlg.reset();
    }

    void findSelectsAndFindNextBeepsAtTheEnd()
    {
        Editor()->setText("foo bar foo");
        SetFind("foo");
        Editor()->Search(false, false, true);
        QCOMPARE(Selection(), std::make_pair(0L, 3L));
        m_tabs->FindNextMenuClick();
        QCOMPARE(Selection(), std::make_pair(8L, 11L));
        QCOMPARE(m_beeps, 0);
        Editor()->setSelection(0, 4, 0, 9); // "bar f"
        m_tabs->FindNextMenuClick();
        QCOMPARE(m_beeps, 1);
        QCOMPARE(Selection(), std::make_pair(9L, 9L)); // collapsed at the former end
        QCOMPARE(Caret(), 9L);
    }

    void findPreviousWalksBackAndCollapsesToTheStart()
    {
        Editor()->setText("ab ab ab");
        SetFind("ab");
        Editor()->setCursorPosition(0, 8);
        m_tabs->FindPrevMenuClick();
        QCOMPARE(Selection(), std::make_pair(6L, 8L));
        QCOMPARE(Caret(), 6L);
        m_tabs->FindPrevMenuClick();
        m_tabs->FindPrevMenuClick();
        QCOMPARE(Selection(), std::make_pair(0L, 2L));
        Editor()->setSelection(0, 1, 0, 4);
        m_tabs->FindPrevMenuClick();
        QCOMPARE(m_beeps, 1);
        QCOMPARE(Selection(), std::make_pair(1L, 1L));
    }

    void findNextBeforeAnyFindSearchesNothing()
    {
        Editor()->setText("text");
        m_tabs->FindNextMenuClick();
        QCOMPARE(m_beeps, 1);
    }

    void options_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("wholeWords");
        QTest::addColumn<long>("start");
        QTest::newRow("any case") << "ABC" << false << false << 0L;
        QTest::newRow("match case") << "ABC" << true << false << 5L;
        QTest::newRow("whole word") << "abc" << false << true << 10L;
        QTest::newRow("not found") << "ABCX" << true << false << -1L;
    }

    void options()
    {
        QFETCH(QString, text);
        QFETCH(bool, matchCase);
        QFETCH(bool, wholeWords);
        QFETCH(long, start);
        Editor()->setText("abcd ABCd abc");
        SetFind(text);
        m_dlg->cbSearchCaseSensitive->setChecked(matchCase);
        m_dlg->cbSearchWholeWords->setChecked(wholeWords);
        Editor()->Search(false, false, true);
        if (start < 0)
            QCOMPARE(m_beeps, 1);
        else
            QCOMPARE(Selection().first, start);
    }

    void whereTheSearchStarts_data()
    {
        QTest::addColumn<bool>("backwards");
        QTest::addColumn<bool>("wholeScope");
        QTest::addColumn<long>("start");
        // "ab ab ab" with the caret inside the second "ab"
        QTest::newRow("forwards from the caret") << false << false << 6L;
        QTest::newRow("forwards from the start") << false << true << 0L;
        QTest::newRow("backwards from the caret") << true << false << 0L;
        QTest::newRow("backwards from the end") << true << true << 6L;
    }

    void whereTheSearchStarts()
    {
        QFETCH(bool, backwards);
        QFETCH(bool, wholeScope);
        QFETCH(long, start);
        Editor()->setText("ab ab ab");
        SetFind("ab");
        Editor()->setCursorPosition(0, 4);
        Editor()->Search(false, backwards, wholeScope);
        QCOMPARE(Selection(), std::make_pair(start, start + 2));
        QCOMPARE(Caret(), backwards ? start : start + 2);
        QCOMPARE(m_beeps, 0);
    }

    // Letters beyond ASCII in any case: "für FÜR Für fürs", ü taking two bytes.
    void lettersBeyondAscii_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("wholeWords");
        QTest::addColumn<bool>("backwards");
        QTest::addColumn<long>("start"); // -1: not found
        QTest::addColumn<long>("end");
        const QString fuer = QString::fromUtf8("f\xc3\xbcr");
        const QString FUER = QString::fromUtf8("F\xc3\x9cR");
        QTest::newRow("any case") << FUER << false << false << false << 0L << 4L;
        QTest::newRow("matching case") << FUER << true << false << false << 5L << 9L;
        QTest::newRow("backwards") << fuer << false << false << true << 15L << 19L;
        QTest::newRow("backwards, whole words") << fuer << false << true << true << 10L << 14L;
        QTest::newRow("whole words") << QString::fromUtf8("F\xc3\x9cRS") << false << true << false << 15L << 20L;
        QTest::newRow("part of a word only") << QString::fromUtf8("\xc3\xbcr") << false << true << false << -1L << -1L;
        QTest::newRow("not there") << QString::fromUtf8("f\xc3\xbcrx") << false << false << false << -1L << -1L;
    }

    void lettersBeyondAscii()
    {
        QFETCH(QString, text);
        QFETCH(bool, matchCase);
        QFETCH(bool, wholeWords);
        QFETCH(bool, backwards);
        QFETCH(long, start);
        QFETCH(long, end);
        Editor()->setText(QString::fromUtf8("f\xc3\xbcr F\xc3\x9cR F\xc3\xbcr f\xc3\xbcrs"));
        SetFind(text);
        m_dlg->cbSearchCaseSensitive->setChecked(matchCase);
        m_dlg->cbSearchWholeWords->setChecked(wholeWords);
        Editor()->Search(false, backwards, true);
        QCOMPARE(m_beeps, start < 0 ? 1 : 0);
        if (start >= 0)
            QCOMPARE(Selection(), std::make_pair(start, end));
    }

    void selectedTextOnlyLimitsTheScope()
    {
        Editor()->setText("x a x a x");
        SetFind("x", "y");
        m_dlg->cbSearchSelectedOnly->setChecked(true);
        Editor()->setSelection(0, 1, 0, 8);
        m_confirmAnswers = {TConfirmReplaceDialog::mrYesToAll};
        Editor()->Search(true, false, true);
        QCOMPARE(Editor()->text(), QString("x a y a x"));
    }

    void replaceAnswers_data()
    {
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("asked");
        using D = TConfirmReplaceDialog;
        QTest::newRow("yes no yes") << QList<int>{D::mrYes, D::mrNo, D::mrYes} << "b a b" << 3;
        QTest::newRow("yes to all") << QList<int>{D::mrYesToAll} << "b b b" << 1;
        QTest::newRow("no then all") << QList<int>{D::mrNo, D::mrYesToAll} << "a b b" << 2;
        QTest::newRow("cancel") << QList<int>{D::mrYes, D::mrCancel} << "b a a" << 2;
        QTest::newRow("closed") << QList<int>{0} << "a a a" << 1;
    }

    void replaceAnswers()
    {
        QFETCH(QList<int>, answers);
        QFETCH(QString, result);
        QFETCH(int, asked);
        Editor()->setText("a a a");
        SetFind("a", "b");
        m_confirmAnswers.assign(answers.begin(), answers.end());
        Editor()->Search(true, false, true);
        QCOMPARE(Editor()->text(), result);
        QCOMPARE(m_confirms, asked);
        QCOMPARE(m_question, QString("Replace this occurence of \"a\"?"));
        QVERIFY(!m_tabs->EditorList().ConfirmDialog()); // freed when the replace is over
        QCOMPARE(m_beeps, 0);
        Editor()->Undo();
        QCOMPARE(Editor()->text(), QString("a a a"));
    }

    void replaceAllCases_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<bool>("backwards");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<QString>("result");
        QTest::newRow("removing") << "xaxax"
                                  << "a"
                                  << "" << false << false << "xxx";
        QTest::newRow("removing backwards") << "xaxax"
                                            << "a"
                                            << "" << true << false << "xxx";
        QTest::newRow("growing backwards") << "ab ab"
                                           << "ab"
                                           << "abab" << true << false << "abab abab";
        QTest::newRow("any case") << "Ab aB ab"
                                  << "ab"
                                  << "c" << false << false << "c c c";
        QTest::newRow("matching case") << "Ab aB ab"
                                       << "ab"
                                       << "c" << false << true << "Ab aB c";
        QTest::newRow("accented letters")
            << QString::fromUtf8("\xc3\xa9t\xc3\xa9 \xc3\x89T\xc3\x89") << QString::fromUtf8("\xc3\xa9t\xc3\xa9")
            << QString::fromUtf8("\xe2\x82\xac") << false << false << QString::fromUtf8("\xe2\x82\xac \xe2\x82\xac");
    }

    void replaceAllCases()
    {
        QFETCH(QString, text);
        QFETCH(QString, search);
        QFETCH(QString, replacement);
        QFETCH(bool, backwards);
        QFETCH(bool, matchCase);
        QFETCH(QString, result);
        Editor()->setText(text);
        SetFind(search, replacement);
        m_dlg->cbSearchCaseSensitive->setChecked(matchCase);
        m_confirmAnswers = {TConfirmReplaceDialog::mrYesToAll};
        Editor()->Search(true, backwards, true);
        QCOMPARE(Editor()->text(), result);
        QCOMPARE(m_confirms, 1);
    }

    void replaceBackwardsAndWithLongerText()
    {
        Editor()->setText("aa a");
        SetFind("a", "aa");
        m_confirmAnswers = {TConfirmReplaceDialog::mrYesToAll};
        Editor()->Search(true, false, true);
        QCOMPARE(Editor()->text(), QString("aaaa aa"));
        SetFind("aa", "b");
        m_confirmAnswers = {TConfirmReplaceDialog::mrYes, TConfirmReplaceDialog::mrCancel};
        Editor()->setCursorPosition(0, 7);
        Editor()->Search(true, true, false);
        QCOMPARE(Editor()->text(), QString("aaaa b"));
    }

    // The question stands below an occurrence in the upper part of the
    // editor and above one in its lowest third, its left edge at the
    // occurrence.
    void theQuestionStandsNextToTheOccurrence()
    {
        m_host->show();
        TSourceEditor *e = Editor();
        const int onScreen = static_cast<int>(e->SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN));
        QVERIFY(onScreen > 6);
        const int low = onScreen - 2;
        e->setText("needle" + QString(low, u'\n') + "needle");
        QList<QRect> placed;
        m_tabs->EditorList().ExecConfirm = [&](TConfirmReplaceDialog &dialog) {
            placed << dialog.geometry();
            return int(TConfirmReplaceDialog::mrNo);
        };
        SetFind("needle", "pin");
        e->Search(true, false, true);
        QCOMPARE(placed.size(), 2);
        const int lineHeight = static_cast<int>(e->SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, 0UL));
        int textLeft = static_cast<int>(e->SendScintilla(QsciScintillaBase::SCI_GETMARGINLEFT));
        for (int margin = 0; margin < e->margins(); ++margin)
            textLeft += e->marginWidth(margin);
        const QPoint origin = e->viewport()->mapToGlobal(QPoint(0, 0));
        QCOMPARE(placed[0].topLeft(), origin + QPoint(textLeft, lineHeight + 4));
        QCOMPARE(placed[1].left(), origin.x() + textLeft);
        QCOMPARE(placed[1].top(), origin.y() + low * lineHeight - 91 - 4);
    }

    void identicalReplaceTextAsksNothing()
    {
        Editor()->setText("abc abc");
        Editor()->SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
        Editor()->setModified(false);
        SetFind("abc", "abc");
        Editor()->Search(true, false, true);
        QCOMPARE(m_confirms, 0);
        QCOMPARE(m_beeps, 0);
        QCOMPARE(Editor()->text(), QString("abc abc"));
        QVERIFY(!Editor()->IsModified());
        QVERIFY(!Editor()->isUndoAvailable());
    }

    void findCommandPrefillsTheSelectedText()
    {
        Editor()->setText("one two one");
        Editor()->setSelection(0, 4, 0, 7);
        QString seen;
        m_tabs->ExecSearchDlg = [&](TSearchDlg &dialog, bool replace) {
            seen = dialog.SearchText();
            dialog.SearchTextBox->setCurrentText("one");
            return replace ? int(QDialog::Rejected) : int(QDialog::Accepted);
        };
        m_tabs->FindMenuClick();
        QCOMPARE(seen, QString("two"));
        QCOMPARE(Selection(), std::make_pair(0L, 3L)); // whole scope: from the start
        Editor()->setCursorPosition(0, 0);
        m_tabs->FindReplaceMenuClick();
        QCOMPARE(seen, QString());
        QCOMPARE(Editor()->text(), QString("one two one"));
    }

    void historyKeepsTwentyDistinctEntries()
    {
        QStringList history;
        for (int i = 1; i <= 21; ++i)
            TSearchDlg::AddToHistory(history, QString("t%1").arg(i));
        QCOMPARE(history.size(), 20);
        QCOMPARE(history.first(), QString("t21"));
        QCOMPARE(history.last(), QString("t2"));
        TSearchDlg::AddToHistory(history, "T5");
        QCOMPARE(history.size(), 20);
        QCOMPARE(history.first(), QString("T5"));
        QCOMPARE(history.count("t5"), 0);
    }

    void closingWithOkFillsTheHistories()
    {
        QTimer::singleShot(0, this, [this] {
            m_dlg->SearchTextBox->setCurrentText("Print");
            m_dlg->ReplaceTextBox->setCurrentText("INPUT");
            m_dlg->OKBtn->click();
        });
        QCOMPARE(m_dlg->ShowFind(), int(QDialog::Accepted));
        QTimer::singleShot(0, this, [this] {
            m_dlg->SearchTextBox->setCurrentText("print");
            m_dlg->OKBtn->click();
        });
        m_dlg->ShowReplace();
        QTimer::singleShot(0, this, [this] {
            m_dlg->SearchTextBox->setCurrentText("cancelled");
            m_dlg->CancelBtn->click();
        });
        QCOMPARE(m_dlg->ShowFind(), int(QDialog::Rejected));
        QCOMPARE(m_dlg->SearchHistory(), QStringList({"print"}));
        QCOMPARE(m_dlg->ReplaceHistory(), QStringList({"INPUT"}));
    }

    // Enter in either text box closes the dialog with OK, Escape with Cancel;
    // the focus starts in the search box.
    void keysCloseTheDialog_data()
    {
        QTest::addColumn<bool>("replace");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("result");
        QTest::newRow("find, Enter") << false << int(Qt::Key_Return) << int(QDialog::Accepted);
        QTest::newRow("replace, Enter") << true << int(Qt::Key_Return) << int(QDialog::Accepted);
        QTest::newRow("find, Escape") << false << int(Qt::Key_Escape) << int(QDialog::Rejected);
    }

    void keysCloseTheDialog()
    {
        QFETCH(bool, replace);
        QFETCH(int, key);
        QFETCH(int, result);
        m_dlg->SetSearchHistory({"print", "Printer"});
        bool focused = false;
        QTimer::singleShot(0, this, [&] {
            QWidget *edit = m_dlg->SearchTextBox->lineEdit();
            focused = m_dlg->focusWidget() == edit || m_dlg->focusWidget() == m_dlg->SearchTextBox;
            QTest::keyClicks(edit, "xy");
            QTest::keyClick(edit, Qt::Key(key));
            QTimer::singleShot(1000, m_dlg.get(), [this] { m_dlg->done(-1); }); // the key did nothing
        });
        QCOMPARE(replace ? m_dlg->ShowReplace() : m_dlg->ShowFind(), result);
        QVERIFY(focused);
        if (result == QDialog::Accepted)
            QCOMPARE(m_dlg->SearchHistory(), QStringList({"xy", "print", "Printer"}));
    }

    void historiesRoundTrip()
    {
        m_dlg->SetSearchHistory({"a", "b"});
        m_dlg->SetReplaceHistory({"c"});
        QCOMPARE(m_dlg->SearchHistory(), QStringList({"a", "b"}));
        QCOMPARE(m_dlg->ReplaceHistory(), QStringList({"c"}));
    }

    void layouts()
    {
        QTimer::singleShot(0, m_dlg.get(), &QDialog::reject);
        m_dlg->ShowFind();
        QCOMPARE(m_dlg->windowTitle(), QString("Search text"));
        QVERIFY(m_dlg->ReplaceTextBox->isHidden());
        QCOMPARE(m_dlg->SearchOptions->y(), m_dlg->SearchTextBox->geometry().bottom() + 11);
        QCOMPARE(m_dlg->OKBtn->y(), m_dlg->SearchOptions->geometry().bottom() + 11);
        QCOMPARE(m_dlg->height(), m_dlg->SearchTextBox->y() + m_dlg->OKBtn->geometry().bottom() + 1 + 5);
        QCOMPARE(m_dlg->width(), 300);
        QTimer::singleShot(0, m_dlg.get(), &QDialog::reject);
        m_dlg->ShowReplace();
        QCOMPARE(m_dlg->windowTitle(), QString("Replace text"));
        QVERIFY(!m_dlg->ReplaceTextBox->isHidden());
        QCOMPARE(m_dlg->SearchOptions->y(), m_dlg->ReplaceTextBox->geometry().bottom() + 11);
        QVERIFY(m_dlg->EntireScope());
        m_dlg->cbSearchFromCursor->setChecked(true);
        QVERIFY(!m_dlg->EntireScope());
    }

    void confirmationPlacement_data()
    {
        QTest::addColumn<QRect>("editor");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("top");
        QTest::addColumn<QPoint>("position");
        // the dialog is 328 x 91
        QTest::newRow("narrow editor: centred") << QRect(100, 100, 200, 300) << 150 << 120 << QPoint(36, 140);
        QTest::newRow("below the line") << QRect(0, 0, 800, 600) << 50 << 100 << QPoint(50, 120);
        QTest::newRow("kept inside the right edge") << QRect(0, 0, 800, 600) << 700 << 100 << QPoint(472, 120);
        QTest::newRow("lowest third: above") << QRect(0, 0, 800, 600) << 50 << 400 << QPoint(50, 305);
    }

    void confirmationPlacement()
    {
        QFETCH(QRect, editor);
        QFETCH(int, x);
        QFETCH(int, top);
        QFETCH(QPoint, position);
        TConfirmReplaceDialog dialog;
        dialog.PrepareShow(editor, x, top, top + 16, "needle");
        QCOMPARE(dialog.lblConfirmation->text(), QString("Replace this occurence of \"needle\"?"));
        QCOMPARE(dialog.pos(), position);
        QCOMPARE(dialog.size(), QSize(328, 91));
    }

    void confirmationButtons()
    {
        TConfirmReplaceDialog dialog;
        const QList<QPushButton *> order = {dialog.btnReplace, dialog.btnSkip, dialog.btnCancel, dialog.btnReplaceAll};
        const QStringList captions = {"&Yes", "&No", "Cancel", "Yes to &all"};
        const QList<int> results = {6, 7, 2, 10};
        for (int i = 0; i < order.size(); ++i) {
            QCOMPARE(order[i]->text(), captions[i]);
            QTimer::singleShot(0, order[i], &QPushButton::click);
            QCOMPARE(dialog.exec(), results[i]);
        }
        QVERIFY(dialog.btnReplace->x() < dialog.btnReplaceAll->x());
        QVERIFY(dialog.btnReplaceAll->x() < dialog.btnSkip->x());
        QVERIFY(dialog.btnSkip->x() < dialog.btnCancel->x());
    }
};

QTEST_MAIN(TestSearchReplace)
#include "test_search_replace.moc"
