// The Velmo highlighter inside an editor: attributes, styles given to the
// text, and the editing behaviour of the editor control.
#include "Highlighter.h"
#include "SourceEditor.h"

#include <QtTest>

#include <cstdlib>

class TestEditorHighlighting : public QObject {
    Q_OBJECT

    static int StyleAt(TSourceEditor &editor, long pos)
    {
        return static_cast<int>(editor.SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, pos));
    }
    static void Colourise(TSourceEditor &editor)
    {
        editor.SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0UL, -1L);
    }

private slots:
    void attributes_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::newRow("comment") << 0 << "Comment" << QColor(0, 128, 0) << false << true;
        QTest::newRow("identifier") << 1 << "Identifier" << QColor(Qt::black) << false << false;
        QTest::newRow("reserved") << 2 << "Reserved Word" << QColor(0, 0, 255) << true << false;
        QTest::newRow("number") << 3 << "Number" << QColor(255, 0, 0) << false << false;
        QTest::newRow("space") << 4 << "Space" << QColor(Qt::black) << false << false;
        QTest::newRow("string") << 5 << "String" << QColor(255, 0, 255) << false << false;
        QTest::newRow("symbol") << 6 << "Symbol" << QColor(Qt::black) << false << false;
        QTest::newRow("preprocessor") << 7 << "Preprocessor" << QColor(128, 128, 128) << false << false;
    }

    void attributes()
    {
        QFETCH(int, style);
        QFETCH(QString, name);
        QFETCH(QColor, colour);
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        TSynVelmo lexer;
        QCOMPARE(lexer.description(style), name);
        QCOMPARE(lexer.defaultColor(style), colour);
        QCOMPARE(lexer.defaultFont(style).bold(), bold);
        QCOMPARE(lexer.defaultFont(style).italic(), italic);
        QCOMPARE(lexer.font(style).bold(), bold); // what the editor draws with
        QCOMPARE(lexer.font(style).italic(), italic);
        QCOMPARE(lexer.description(8), QString());

        // What a ".bas" editor draws with (the control keeps the font weight
        // negated).
        TSourceEditor editor("attributes.bas", nullptr);
        const auto get = [&editor, style](int message) {
            return editor.SendScintilla(message, static_cast<unsigned long>(style));
        };
        QCOMPARE(get(QsciScintillaBase::SCI_STYLEGETFORE),
                 long(colour.red() | colour.green() << 8 | colour.blue() << 16));
        QCOMPARE(std::abs(get(QsciScintillaBase::SCI_STYLEGETWEIGHT)) >= QFont::Bold, bold);
        QCOMPARE(get(QsciScintillaBase::SCI_STYLEGETITALIC) != 0, italic);
    }

    void identity()
    {
        TSynVelmo lexer;
        QCOMPARE(QString(lexer.language()), QString("General"));
        QCOMPARE(TSynVelmo::DefaultFilter(), QString("Velmo (*.bas)|*.bas|All files (*.*)|*.*"));
        QCOMPARE(lexer.Comments(), TCommentStyles(csBasStyle));
        QVERIFY(lexer.DetectPreprocessor());
        QCOMPARE(lexer.StringDelim(), TStringDelim::sdDoubleQuote);
        QVERIFY(lexer.IsKeyword("Wend"));
        QVERIFY(!lexer.IsKeyword("SIN"));
        QCOMPARE(TSynVelmo::AttributeOf(TTokenKind::Eol), -1);
        QCOMPARE(TSynVelmo::AttributeOf(TTokenKind::Unknown), int(TSynVelmo::SymbolAttri));
    }

    void textIsStyledByToken()
    {
        TSourceEditor editor("style.bas", nullptr);
        editor.setText("PRINT #1, \"hi\" ' c\r\nx = $1F\n");
        Colourise(editor);
        const QList<QPair<long, int>> expected = {
            {0, TSynVelmo::KeyAttri},          {4, TSynVelmo::KeyAttri},         {5, TSynVelmo::SpaceAttri},
            {6, TSynVelmo::PreprocessorAttri}, {8, TSynVelmo::SymbolAttri},      {10, TSynVelmo::StringAttri},
            {15, TSynVelmo::CommentAttri},     {20, TSynVelmo::IdentifierAttri}, {22, TSynVelmo::SymbolAttri},
            {24, TSynVelmo::NumberAttri},      {26, TSynVelmo::NumberAttri},
        };
        for (const auto &[pos, style] : expected)
            QCOMPARE(StyleAt(editor, pos), style);
    }

    void editingRestylesLaterLines()
    {
        TSourceEditor editor("edit.bas", nullptr);
        editor.setText("a\nb\n");
        editor.Highlighter()->SetComments(csBasStyle | csPasStyle);
        Colourise(editor);
        QCOMPARE(StyleAt(editor, 2), int(TSynVelmo::IdentifierAttri));
        editor.setCursorPosition(0, 0);
        editor.insert("{");
        Colourise(editor);
        QCOMPARE(StyleAt(editor, 3), int(TSynVelmo::CommentAttri)); // "b" inside the open comment
        editor.setSelection(0, 0, 0, 1);
        editor.removeSelectedText();
        Colourise(editor);
        QCOMPARE(StyleAt(editor, 2), int(TSynVelmo::IdentifierAttri));
    }

    void plainTextHasNoHighlighter()
    {
        TSourceEditor editor("notes.txt", nullptr);
        QVERIFY(!editor.Highlighter());
        QCOMPARE(editor.lexer(), nullptr);
    }

    void editorOptions()
    {
        TSourceEditor editor("opts.bas", nullptr);
        QCOMPARE(editor.tabWidth(), 4);
        QVERIFY(editor.autoIndent());
        QCOMPARE(editor.edgeColumn(), 80);
        QCOMPARE(editor.selectionToEol(), false);
        QVERIFY(editor.marginWidth(0) > 0);
        QCOMPARE(editor.marginWidth(1), 1);
        QCOMPARE(editor.SendScintilla(QsciScintillaBase::SCI_GETVIRTUALSPACEOPTIONS),
                 long(QsciScintillaBase::SCVS_RECTANGULARSELECTION | QsciScintillaBase::SCVS_USERACCESSIBLE));
        QVERIFY(editor.InsertMode());
        editor.setText("x");
        QTest::keyClick(&editor, Qt::Key_Tab);
        QCOMPARE(editor.text(), QString("\tx"));
    }

    // The line numbers take at least two digits: one line and 99 lines give
    // the same gutter, 100 lines a wider one, 1000 lines wider still.
    void gutterHoldsAtLeastTwoDigits()
    {
        TSourceEditor editor("g.txt", nullptr);
        const auto widthFor = [&editor](int lines) {
            editor.setText(QString(lines - 1, u'\n'));
            return editor.marginWidth(0);
        };
        const int one = widthFor(1);
        QVERIFY(one > 0);
        QCOMPARE(widthFor(9), one);
        QCOMPARE(widthFor(99), one);
        const int three = widthFor(100);
        QVERIFY(three > one);
        QVERIFY(widthFor(1000) > three);
        QCOMPARE(widthFor(5), one); // shrinks back
    }

    void endKeyGoesToTheLastNonBlankFirst()
    {
        TSourceEditor editor("end.txt", nullptr);
        editor.setText("  abc   \nnext");
        editor.setCursorPosition(0, 0);
        QTest::keyClick(&editor, Qt::Key_End);
        QCOMPARE(editor.CaretColumn(), 6);
        QTest::keyClick(&editor, Qt::Key_End);
        QCOMPARE(editor.CaretColumn(), 9);
        QTest::keyClick(&editor, Qt::Key_End);
        QCOMPARE(editor.CaretColumn(), 6);
        editor.setCursorPosition(0, 0);
        QTest::keyClick(&editor, Qt::Key_End, Qt::ShiftModifier);
        QCOMPARE(editor.GetSelText(), QString("  abc"));
    }

    void insertKeyReportsTheMode()
    {
        TSourceEditor editor("ins.txt", nullptr);
        TStatusChanges seen = 0;
        editor.OnStatusChange = [&](TSourceEditor &, TStatusChanges changes) { seen |= changes; };
        QTest::keyClick(&editor, Qt::Key_Insert);
        QVERIFY(seen & scInsertMode);
        QVERIFY(!editor.InsertMode());
    }

    void columnSelectionWithoutWidthIsNoSelection()
    {
        TSourceEditor editor("col.txt", nullptr);
        editor.setText("abc\nabc\n");
        editor.SendScintilla(QsciScintillaBase::SCI_SETSELECTIONMODE, QsciScintillaBase::SC_SEL_RECTANGLE);
        editor.SendScintilla(QsciScintillaBase::SCI_SETRECTANGULARSELECTIONANCHOR, 1UL);
        editor.SendScintilla(QsciScintillaBase::SCI_SETRECTANGULARSELECTIONCARET, 5UL);
        QVERIFY(!editor.HasSelection());
        editor.SendScintilla(QsciScintillaBase::SCI_SETRECTANGULARSELECTIONCARET, 6UL);
        QVERIFY(editor.HasSelection());
    }
};

QTEST_MAIN(TestEditorHighlighting)
#include "test_editor_highlighting.moc"
