// The language engine's messages in an editor: where the underline and the
// margin marker go for ranges inside and beyond the text, which kind each
// severity gets, that new messages replace the old, and the tool tips of the
// underlined text and of the margin.
#include "DiagnosticMarks.h"

#include <Qsci/qsciscintilla.h>

#include <QtTest>

namespace {

using TSeverity = TSourceDiagnostic::TSeverity;

// Three lines: "BYTE count", "count = = 1", "x" (no line end after it).
const QString kText = QStringLiteral("BYTE count\ncount = = 1\nx");

TSourceDiagnostic Diagnostic(int startLine, int startCharacter, int endLine, int endCharacter,
                             TSeverity severity = TSeverity::Error, const char *message = "Factor expected.")
{
    return {startLine, startCharacter, endLine, endCharacter, severity, QString::fromLatin1(message)};
}

long Position(QsciScintilla &editor, int line, int index)
{
    return editor.positionFromLineIndex(line, index);
}

} // namespace

Q_DECLARE_METATYPE(TSourceDiagnostic)

class TestDiagnosticMarks : public QObject {
    Q_OBJECT

    std::unique_ptr<QsciScintilla> m_editor;
    TDiagnosticMarks *m_marks = nullptr;

    // The run of an indicator that covers `at`, as [start, end).
    QPair<long, long> Run(int indicator, long at) const
    {
        return {m_editor->SendScintilla(QsciScintillaBase::SCI_INDICATORSTART, indicator, at),
                m_editor->SendScintilla(QsciScintillaBase::SCI_INDICATOREND, indicator, at)};
    }
    bool Covered(int indicator, long at) const
    {
        return m_editor->SendScintilla(QsciScintillaBase::SCI_INDICATORVALUEAT, indicator, at) > 0;
    }
    QPoint TextPoint(int line, int index) const
    {
        const long position = Position(*m_editor, line, index);
        return {int(m_editor->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, position)) + 2,
                int(m_editor->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, position)) + 4};
    }
    QPoint MarginPoint(int line) const
    {
        int left = 0;
        for (int margin = 0; margin < TDiagnosticMarks::kMargin; ++margin)
            left += m_editor->marginWidth(margin);
        return {left + 2, TextPoint(line, 0).y()};
    }

private slots:
    void init()
    {
        m_editor = std::make_unique<QsciScintilla>();
        m_editor->setUtf8(true);
        m_editor->resize(600, 300);
        m_editor->setText(kText);
        m_editor->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_editor.get()));
        m_marks = new TDiagnosticMarks(m_editor.get());
    }
    void cleanup()
    {
        m_editor.reset();
    }

    void rangeIsUnderlinedWithinTheText_data()
    {
        QTest::addColumn<TSourceDiagnostic>("diagnostic");
        QTest::addColumn<int>("indicator");
        QTest::addColumn<long>("start"); // as line * 100 + index
        QTest::addColumn<long>("end");
        QTest::addColumn<int>("markedLine");
        const int error = TDiagnosticMarks::kErrorIndicator;
        const int warning = TDiagnosticMarks::kWarningIndicator;
        QTest::newRow("inside_a_line") << Diagnostic(1, 8, 1, 11) << error << 108L << 111L << 1;
        QTest::newRow("past_the_line_end") << Diagnostic(1, 0, 1, 500) << error << 100L << 111L << 1;
        QTest::newRow("over_two_lines") << Diagnostic(0, 5, 1, 5) << error << 5L << 105L << 0;
        QTest::newRow("empty_range_one_character") << Diagnostic(1, 6, 1, 6) << error << 106L << 107L << 1;
        QTest::newRow("past_the_last_line") << Diagnostic(9, 0, 9, 3) << error << 200L << 201L << 2;
        QTest::newRow("warning") << Diagnostic(0, 0, 0, 4, TSeverity::Warning) << warning << 0L << 4L << 0;
        QTest::newRow("note_as_warning") << Diagnostic(0, 0, 0, 4, TSeverity::Information) << warning << 0L << 4L << 0;
    }

    void rangeIsUnderlinedWithinTheText()
    {
        QFETCH(TSourceDiagnostic, diagnostic);
        QFETCH(int, indicator);
        QFETCH(long, start);
        QFETCH(long, end);
        QFETCH(int, markedLine);
        m_marks->Show({diagnostic});
        const long from = Position(*m_editor, int(start / 100), int(start % 100));
        const long to = Position(*m_editor, int(end / 100), int(end % 100));
        QVERIFY(Covered(indicator, from));
        QCOMPARE(Run(indicator, from), qMakePair(from, to));
        const int other = indicator == TDiagnosticMarks::kErrorIndicator ? TDiagnosticMarks::kWarningIndicator
                                                                         : TDiagnosticMarks::kErrorIndicator;
        QVERIFY(!Covered(other, from));
        const int marker = indicator == TDiagnosticMarks::kErrorIndicator ? TDiagnosticMarks::kErrorMarker
                                                                          : TDiagnosticMarks::kWarningMarker;
        QCOMPARE(m_editor->markerFindNext(0, 1 << marker), markedLine);
        QCOMPARE(m_editor->markerFindNext(markedLine + 1, 1 << marker), -1);
    }

    void newMessagesReplaceTheOld()
    {
        m_marks->Show({Diagnostic(1, 0, 1, 11), Diagnostic(0, 0, 0, 4, TSeverity::Warning)});
        m_marks->Show({Diagnostic(2, 0, 2, 1)});
        QVERIFY(!Covered(TDiagnosticMarks::kErrorIndicator, Position(*m_editor, 1, 3)));
        QVERIFY(!Covered(TDiagnosticMarks::kWarningIndicator, 0));
        QVERIFY(Covered(TDiagnosticMarks::kErrorIndicator, Position(*m_editor, 2, 0)));
        QCOMPARE(m_editor->markerFindNext(0, ~0), 2);
        m_marks->Show({});
        QVERIFY(!Covered(TDiagnosticMarks::kErrorIndicator, Position(*m_editor, 2, 0)));
        QCOMPARE(m_editor->markerFindNext(0, ~0), -1);
        QVERIFY(m_marks->Shown().isEmpty());
    }

    void toolTipsNameTheMessagesUnderThePoint()
    {
        m_marks->Show({Diagnostic(1, 0, 1, 5, TSeverity::Error, "Variable 'count' twice."),
                       Diagnostic(1, 8, 1, 11, TSeverity::Error, "Factor expected."),
                       Diagnostic(1, 8, 1, 11, TSeverity::Error, "Syntax error.")});
        QCOMPARE(m_marks->ToolTipAt(TextPoint(1, 1)), QString("Variable 'count' twice."));
        QCOMPARE(m_marks->ToolTipAt(TextPoint(1, 9)), QString("Factor expected.\nSyntax error."));
        QCOMPARE(m_marks->ToolTipAt(TextPoint(1, 6)), QString());
        QCOMPARE(m_marks->ToolTipAt(TextPoint(0, 1)), QString());
        QCOMPARE(m_marks->ToolTipAt(MarginPoint(1)),
                 QString("Variable 'count' twice.\nFactor expected.\nSyntax error."));
        QCOMPARE(m_marks->ToolTipAt(MarginPoint(0)), QString());
        // The marks move with the text: a line inserted above takes them down.
        m_editor->insertAt(QStringLiteral("' note\n"), 0, 0);
        QCOMPARE(m_marks->ToolTipAt(TextPoint(2, 9)), QString("Factor expected.\nSyntax error."));
        QCOMPARE(m_marks->ToolTipAt(MarginPoint(1)), QString());
        QVERIFY(m_marks->ToolTipAt(MarginPoint(2)).startsWith("Variable 'count' twice."));
    }

    void marksHaveAMarginOfTheirOwn()
    {
        const int mask = (1 << TDiagnosticMarks::kErrorMarker) | (1 << TDiagnosticMarks::kWarningMarker);
        QCOMPARE(m_editor->marginWidth(TDiagnosticMarks::kMargin), TDiagnosticMarks::kMarginWidth);
        for (int margin = 0; margin < m_editor->margins(); ++margin)
            QCOMPARE(m_editor->marginMarkerMask(margin) & mask, margin == TDiagnosticMarks::kMargin ? mask : 0);
        QCOMPARE(TDiagnosticMarks::Of(m_editor.get()), m_marks);
    }
};

QTEST_MAIN(TestDiagnosticMarks)
#include "test_diagnostic_marks.moc"
