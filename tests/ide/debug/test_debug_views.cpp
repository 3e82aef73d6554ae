// The views of a debug session without a session: what the Variables view
// asks for when a value is typed or an array is opened, how it takes the
// answers (a refusal puts the old value back and says why, an answer to an
// earlier stop is dropped), the hardware's read-only group, the
// watchpoint's menu item, the Call stack's double-click, and the breakpoint
// dialog.

#include "BreakpointDialog.h"
#include "CallStackView.h"
#include "VariablesView.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QtTest>

using TVariable = TDebugSession::TVariable;

namespace {

const QList<TVariable> kStop = {
    {"count", "3", "integer", 0},
    {"vals", "[3]", "byte[3]", 1000},
};

const QList<TVariable> kHardware = {
    {"PORT1", "5", "", 0},
    {"DISPLAY row 0", "\"Hello\"", "", 0},
};

// The watchpoint item of a row's context menu, or none.
QAction *WatchItem(TVariablesView &view, QMenu &menu, QTreeWidgetItem *row)
{
    view.FillMenu(menu, row);
    return menu.findChild<QAction *>("WatchAction");
}

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

    void theHardwareIsAReadOnlyGroupOfItsOwn()
    {
        TVariablesView view;
        TRequests requests;
        requests.Attach(view);
        view.SetVariables(kStop, kHardware);
        QTreeWidgetItem *group = view.HardwareGroup();
        QVERIFY(group);
        QCOMPARE(view.topLevelItemCount(), 3); // beside the two variables
        QCOMPARE(view.indexOfTopLevelItem(group), 2);
        QCOMPARE(group->childCount(), 2);
        QCOMPARE(group->child(0)->text(TVariablesView::kName), QString("PORT1"));
        QCOMPARE(group->child(0)->text(TVariablesView::kValue), QString("5"));
        QVERIFY(!view.Find("PORT1")); // not a variable
        QVERIFY(!view.Find(group->text(TVariablesView::kName)));
        view.show();
        group->setExpanded(true);
        const auto editing = [&view](QTreeWidgetItem *row) {
            emit view.itemDoubleClicked(row, TVariablesView::kValue);
            bool open = false;
            for (QLineEdit *editor : view.viewport()->findChildren<QLineEdit *>())
                if (editor->isVisible()) {
                    open = true;
                    QTest::keyClick(editor, Qt::Key_Escape);
                }
            return open;
        };
        QVERIFY(editing(view.Find("count"))); // a variable is edited in place
        for (QTreeWidgetItem *row : {group, group->child(0), group->child(1)})
            QVERIFY2(!editing(row), qPrintable(row->text(TVariablesView::kName)));
        group->setExpanded(false);
        QVERIFY(requests.fetched.isEmpty());

        // Opened, it stays open from stop to stop; closed, it stays closed.
        group->setExpanded(true);
        view.SetVariables(kStop, {{"PORT1", "6", "", 0}});
        QVERIFY(view.HardwareGroup()->isExpanded());
        QCOMPARE(view.HardwareGroup()->child(0)->text(TVariablesView::kValue), QString("6"));
        view.HardwareGroup()->setExpanded(false);
        view.SetVariables(kStop, kHardware);
        QVERIFY(!view.HardwareGroup()->isExpanded());

        view.SetVariables({}); // running
        QVERIFY(!view.HardwareGroup());
    }

    // Which rows offer "Break When Value Changes", and what it asks for.
    void aWatchpointIsSetOnAVariablesRow_data()
    {
        QTest::addColumn<QString>("row"); // a path: "count", "vals/1", "#hardware/0"
        QTest::addColumn<bool>("watchedBefore");
        QTest::addColumn<QString>("asked"); // "" when the row offers nothing
        QTest::newRow("a variable") << "count" << false << "count on";
        QTest::newRow("a watched variable") << "count" << true << "count off";
        QTest::newRow("an array") << "vals" << false << "vals on";
        QTest::newRow("an element") << "vals/1" << false << "";
        QTest::newRow("the hardware") << "#hardware" << false << "";
        QTest::newRow("a port") << "#hardware/0" << false << "";
    }

    void aWatchpointIsSetOnAVariablesRow()
    {
        QFETCH(QString, row);
        QFETCH(bool, watchedBefore);
        QFETCH(QString, asked);
        TVariablesView view;
        TRequests requests;
        requests.Attach(view);
        QStringList watches;
        view.WatchValue = [&watches](const QString &name, bool on) { watches << name + (on ? " on" : " off"); };
        view.SetVariables(kStop, kHardware);
        view.Find("vals")->addChild(new QTreeWidgetItem(QStringList{"[0]", "1"}));
        view.Find("vals")->addChild(new QTreeWidgetItem(QStringList{"[1]", "2"}));
        view.SetWatched(watchedBefore ? QStringList{"count"} : QStringList());
        const QStringList path = row.split('/');
        QTreeWidgetItem *item = path[0] == "#hardware" ? view.HardwareGroup() : view.Find(path[0]);
        if (path.size() > 1)
            item = item->child(path[1].toInt());
        QVERIFY(item);
        QCOMPARE(item->font(TVariablesView::kName).bold(), watchedBefore && row == "count");

        QMenu menu;
        QAction *watch = WatchItem(view, menu, item);
        QCOMPARE(watch != nullptr, !asked.isEmpty());
        if (!watch)
            return;
        QCOMPARE(watch->text(), QString("Break When Value Changes"));
        QCOMPARE(watch->isChecked(), watchedBefore);
        watch->trigger();
        QCOMPARE(watches, QStringList{asked});
    }

    void theBreakpointDialogEditsConditionAndHitCount_data()
    {
        QTest::addColumn<QString>("condition");
        QTest::addColumn<int>("hitCount");
        QTest::addColumn<QString>("typedCondition");
        QTest::addColumn<int>("typedHits");
        QTest::addColumn<bool>("plain");
        QTest::newRow("a condition added") << "" << 0 << "count > 10" << 0 << false;
        QTest::newRow("a hit count added") << "" << 0 << "" << 5 << false;
        QTest::newRow("both taken away") << "count > 1" << 3 << "  " << 0 << true;
        QTest::newRow("hit 1 is every hit") << "" << 4 << "" << 1 << true;
    }

    void theBreakpointDialogEditsConditionAndHitCount()
    {
        QFETCH(QString, condition);
        QFETCH(int, hitCount);
        QFETCH(QString, typedCondition);
        QFETCH(int, typedHits);
        QFETCH(bool, plain);
        TBreakpointDialog dialog("prog.bas, line 6", TSourceBreakpoint(6, condition, hitCount), QString());
        QCOMPARE(dialog.ConditionEdit()->text(), condition);
        QCOMPARE(dialog.HitCountBox()->value(), hitCount);
        QVERIFY(!dialog.findChild<QLabel *>("RefusalLabel"));
        dialog.ConditionEdit()->setText(typedCondition);
        dialog.HitCountBox()->setValue(typedHits);
        const TSourceBreakpoint result = dialog.Result();
        QCOMPARE(result.line, 6);
        QCOMPARE(result.condition, typedCondition.trimmed());
        QCOMPARE(result.hitCount, typedHits);
        QCOMPARE(result.Plain(), plain);
    }

    void theBreakpointDialogSaysWhyItWasRefused()
    {
        TBreakpointDialog dialog("prog.bas, line 6", TSourceBreakpoint(6, "count >"),
                                 "condition: an operand is missing");
        const QLabel *refusal = dialog.findChild<QLabel *>("RefusalLabel");
        QVERIFY(refusal);
        QVERIFY(refusal->text().contains("an operand is missing"));
        QVERIFY(dialog.windowTitle().contains("prog.bas, line 6"));
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
