// The views of a debug session without a session: what the Variables view
// asks for when a value is typed or an array is opened, how it takes the
// answers (a refusal puts the old value back and says why, an answer to an
// earlier stop is dropped), and the Call stack's double-click.

#include "CallStackView.h"
#include "VariablesView.h"

#include <QtTest>

using TVariable = TDebugSession::TVariable;

namespace {

const QList<TVariable> kStop = {
    {"count", "3", "integer", 0},
    {"vals", "[3]", "byte[3]", 1000},
};

// What the view asked for, with the answers held back until the test gives them.
struct TRequests {
    QStringList edits; // "container name=value"
    QList<TVariablesView::TEditDone> pendingEdits;
    QList<int> fetched;
    QList<std::function<void(const QList<TVariable> &)>> pendingFetches;

    void Attach(TVariablesView &view)
    {
        view.EditValue = [this](int container, const QString &name, const QString &value,
                                TVariablesView::TEditDone done) {
            edits << QStringLiteral("%1 %2=%3").arg(container).arg(name, value);
            pendingEdits << done;
        };
        view.FetchChildren = [this](int reference, std::function<void(const QList<TVariable> &)> done) {
            fetched << reference;
            pendingFetches << done;
        };
    }
};

} // namespace

class TestDebugViews : public QObject {
    Q_OBJECT

private slots:
    void aTypedValueIsSentAndTheAnswerShown_data()
    {
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("tip");
        QTest::newRow("accepted") << true << "42"
                                  << "42"
                                  << "";
        QTest::newRow("refused") << false << "not a number"
                                 << "3"
                                 << "not a number";
    }

    void aTypedValueIsSentAndTheAnswerShown()
    {
        QFETCH(bool, accepted);
        QFETCH(QString, answer);
        QFETCH(QString, shown);
        QFETCH(QString, tip);
        TVariablesView view;
        TRequests requests;
        requests.Attach(view);
        view.SetVariables(kStop);
        QTreeWidgetItem *count = view.Find("count");
        count->setText(TVariablesView::kValue, "42");
        QCOMPARE(requests.edits, QStringList{"1 count=42"});
        requests.pendingEdits.first()(accepted, answer);
        QCOMPARE(count->text(TVariablesView::kValue), shown);
        QCOMPARE(count->toolTip(TVariablesView::kValue), tip);
        count->setText(TVariablesView::kValue, shown); // the same value again asks nothing
        QCOMPARE(requests.edits.size(), 1);
    }

    void anAnswerToAnEarlierStopIsDropped()
    {
        TVariablesView view;
        TRequests requests;
        requests.Attach(view);
        view.SetVariables(kStop);
        view.Find("count")->setText(TVariablesView::kValue, "42");
        view.SetVariables({{"count", "4", "integer", 0}}); // the next stop
        requests.pendingEdits.first()(true, "42");
        QCOMPARE(view.Find("count")->text(TVariablesView::kValue), QString("4"));
    }

    void anArrayOpensItsElementsOnce()
    {
        TVariablesView view;
        TRequests requests;
        requests.Attach(view);
        view.SetVariables(kStop);
        QTreeWidgetItem *vals = view.Find("vals");
        QCOMPARE(vals->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
        QCOMPARE(view.Find("count")->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicatorWhenChildless);
        vals->setExpanded(true);
        QCOMPARE(requests.fetched, QList<int>{1000});
        requests.pendingFetches.first()({{"[0]", "7", "", 0}, {"[1]", "8", "", 0}, {"[2]", "9", "", 0}});
        QCOMPARE(vals->childCount(), 3);
        QCOMPARE(vals->child(1)->text(TVariablesView::kValue), QString("8"));
        vals->setExpanded(false);
        vals->setExpanded(true);
        QCOMPARE(requests.fetched.size(), 1);

        // An element is changed in its array.
        vals->child(2)->setText(TVariablesView::kValue, "200");
        QCOMPARE(requests.edits, QStringList{"1000 [2]=200"});
    }

    void theCallStackOpensAFramesLine()
    {
        TCallStackView view;
        QStringList opened;
        view.OpenLine = [&opened](const QString &file, int line) {
            opened << QStringLiteral("%1:%2").arg(file).arg(line);
        };
        view.SetFrames({{"AddUp", "/w/lib/sub.bas", 3}, {"main", "/w/prog.bas", 10}});
        QCOMPARE(view.topLevelItemCount(), 2);
        QCOMPARE(view.topLevelItem(0)->text(1), QString("sub.bas(3)"));
        emit view.itemDoubleClicked(view.topLevelItem(1), 0);
        QCOMPARE(opened, QStringList{"/w/prog.bas:10"});
    }
};

QTEST_MAIN(TestDebugViews)
#include "test_debug_views.moc"
