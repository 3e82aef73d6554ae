// The channel setup offscreen: caption and coloured header, which controls
// are enabled, the keys the limit edits take, filling from and applying to
// a channel with the conversion error of a text that is no number, and the
// scope's channel command around it.
#include "Channel.h"
#include "DialogHooks.h"
#include "ErrorReporter.h"
#include "Errors.h"
#include "Scope.h"
#include "model/ScopeTestClock.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

class TestChannelSetup : public QObject {
    Q_OBJECT

    TDialogHooks m_hooks; // in force for the whole suite
    TDialogHooksInUse m_hooksInUse{m_hooks};

    // Runs the next channel setup dialog: sets the limits and presses OK.
    void AnswerSetup(const QString &minimum, const QString &maximum, bool autoScale)
    {
        QTimer::singleShot(0, this, [=] {
            auto *dialog = qobject_cast<TMcuChannelSetup *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->MinimumEdit->setText(minimum);
            dialog->MaximumEdit->setText(maximum);
            (autoScale ? dialog->AutoScaleBtn : dialog->MinMaxScaleBtn)->setChecked(true);
            dialog->ActiveCheck->setChecked(false);
            dialog->OkBtn->click();
        });
    }

private slots:
    void captionAndHeaderInTheChannelsColour_data()
    {
        QTest::addColumn<int>("channel");
        QTest::addColumn<QColor>("color");
        QTest::newRow("0") << 0 << QColor(240, 0, 255);
        QTest::newRow("3") << 3 << QColor(130, 205, 130);
    }

    void captionAndHeaderInTheChannelsColour()
    {
        QFETCH(int, channel);
        QFETCH(QColor, color);
        const TScopeRgb rgb = TScopeModel::kChannelColors[channel];
        TMcuChannelSetup dialog(channel, rgb);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.windowTitle(), QStringLiteral(" Setup"));
        QCOMPARE(dialog.HeaderLabel->text(), QStringLiteral("Channel #%1").arg(channel));
        QCOMPARE(dialog.HeaderPanel->grab().toImage().pixelColor(1, 1), color);
    }

    void enablingFollowsActiveAndScaleMode_data()
    {
        QTest::addColumn<bool>("active");
        QTest::addColumn<bool>("autoScale");
        QTest::addColumn<bool>("modesEnabled");
        QTest::addColumn<bool>("limitsEnabled");
        QTest::newRow("activeAuto") << true << true << true << false;
        QTest::newRow("activeFixed") << true << false << true << true;
        QTest::newRow("inactiveAuto") << false << true << false << false;
        QTest::newRow("inactiveFixed") << false << false << false << false;
    }

    void enablingFollowsActiveAndScaleMode()
    {
        QFETCH(bool, active);
        QFETCH(bool, autoScale);
        QFETCH(bool, modesEnabled);
        QFETCH(bool, limitsEnabled);
        TMcuChannelSetup dialog(1, TScopeModel::kChannelColors[1]);
        TMcuChannel channel;
        dialog.Fill(channel); // active, auto-scale
        // Reach the state by clicking, as a user would.
        if (!autoScale)
            dialog.MinMaxScaleBtn->click();
        if (!active)
            dialog.ActiveCheck->click();
        QCOMPARE(dialog.AutoScaleBtn->isChecked(), !dialog.MinMaxScaleBtn->isChecked());
        QCOMPARE(dialog.AutoScaleBtn->isEnabled(), modesEnabled);
        QCOMPARE(dialog.MinMaxScaleBtn->isEnabled(), modesEnabled);
        QCOMPARE(dialog.MinimumEdit->isEnabled(), limitsEnabled);
        QCOMPARE(dialog.MaximumEdit->isEnabled(), limitsEnabled);
    }

    void limitEditsTakeOnlyDigitsMinusPointAndControlKeys()
    {
        TMcuChannelSetup dialog(0, TScopeModel::kChannelColors[0]);
        int beeps = 0;
        dialog.OnBeep = [&beeps] { ++beeps; };
        dialog.ActiveCheck->setChecked(true);
        dialog.MinMaxScaleBtn->setChecked(true);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.MinimumEdit->clear();
        dialog.MinimumEdit->setFocus();
        QTest::keyClicks(dialog.MinimumEdit, "a-1x2.5,e 9");
        QCOMPARE(dialog.MinimumEdit->text(), QStringLiteral("-12.59"));
        QCOMPARE(beeps, 5);
        QTest::keyClick(dialog.MinimumEdit, Qt::Key_Backspace);
        QTest::keyClick(dialog.MinimumEdit, Qt::Key_Left);
        QTest::keyClick(dialog.MinimumEdit, Qt::Key_Delete);
        QCOMPARE(dialog.MinimumEdit->text(), QStringLiteral("-12."));
        QCOMPARE(beeps, 5);
    }

    void fillsWithTwoDecimalsAndAppliesInOrder_data()
    {
        QTest::addColumn<QString>("minimum");
        QTest::addColumn<QString>("maximum");
        QTest::addColumn<QString>("error"); // empty: none
        QTest::addColumn<float>("min"); // what the channel holds afterwards
        QTest::addColumn<float>("max");
        QTest::addColumn<bool>("autoScale");
        // The channel starts active, fixed, -2.5 ... 5.125; the dialog
        // switches it inactive and to auto-scale.
        QTest::newRow("numbers") << "-1.5"
                                 << "10"
                                 << "" << -1.5f << 10.f << true;
        QTest::newRow("roundedOnFill") << "-2.50"
                                       << "5.13"
                                       << "" << -2.5f << 5.13f << true;
        QTest::newRow("pastedExponent") << "1e3"
                                        << "2E3"
                                        << "" << 1000.f << 2000.f << true;
        QTest::newRow("loneMinusAsMinimum") << "-"
                                            << "10"
                                            << "'-' is not a valid floating point value." << -2.5f << 5.125f << false;
        QTest::newRow("loneMinusAsMaximum") << "1"
                                            << "-"
                                            << "'-' is not a valid floating point value." << 1.f << 5.125f << false;
        QTest::newRow("lonePoint") << "."
                                   << "1"
                                   << "'.' is not a valid floating point value." << -2.5f << 5.125f << false;
        QTest::newRow("empty") << ""
                               << "1"
                               << "'' is not a valid floating point value." << -2.5f << 5.125f << false;
        QTest::newRow("beyondFloat") << "1"
                                     << "1e39"
                                     << "'1e39' is not a valid floating point value." << 1.f << 5.125f << false;
    }

    void fillsWithTwoDecimalsAndAppliesInOrder()
    {
        QFETCH(QString, minimum);
        QFETCH(QString, maximum);
        QFETCH(QString, error);
        QFETCH(float, min);
        QFETCH(float, max);
        QFETCH(bool, autoScale);
        TMcuChannel channel;
        channel.SetAutoScale(false);
        channel.SetMin(-2.5f);
        channel.SetMax(5.125f);
        TMcuChannelSetup dialog(2, TScopeModel::kChannelColors[2]);
        dialog.Fill(channel);
        QCOMPARE(dialog.MinimumEdit->text(), QStringLiteral("-2.50"));
        QCOMPARE(dialog.MaximumEdit->text(), QStringLiteral("5.13"));
        QVERIFY(dialog.MinMaxScaleBtn->isChecked());
        QVERIFY(dialog.ActiveCheck->isChecked());
        dialog.MinimumEdit->setText(minimum);
        dialog.MaximumEdit->setText(maximum);
        dialog.ActiveCheck->setChecked(false);
        dialog.AutoScaleBtn->setChecked(true);
        QString message;
        try {
            dialog.Apply(channel);
        } catch (const EKorvidError &e) {
            message = e.Message();
        }
        QCOMPARE(message, error);
        QVERIFY(!channel.Active()); // taken over first, also before an error
        QCOMPARE(channel.Min(), min);
        QCOMPARE(channel.Max(), max);
        QCOMPARE(channel.AutoScale(), autoScale);
    }

    void channelButtonOpensTheSetupAndRepaintsAfterAnError()
    {
        TManualClock clock;
        TRepaintThrottle throttle;
        TMcuScope scope(nullptr, clock.Clock(), &throttle);
        scope.resize(620, 230);
        scope.show();
        QVERIFY(QTest::qWaitForWindowExposed(&scope));
        QStringList errors;
        m_hooks.errorReporter = [&errors](const QString &message) { errors << message; };

        AnswerSetup("-4", "8", false);
        scope.ChannelBtnClick("Channel3Btn");
        const TMcuChannel &three = scope.Model().Channel(3);
        QVERIFY(!three.Active());
        QCOMPARE(three.Min(), -4.f);
        QCOMPARE(three.Max(), 8.f);
        QVERIFY(!three.AutoScale());

        const int renders = scope.RenderCount();
        AnswerSetup("-", "8", true);
        RunGuarded([&scope] { scope.ChannelBtnClick("Channel1Btn"); });
        QCOMPARE(errors, QStringList{"'-' is not a valid floating point value."});
        QVERIFY(!scope.Model().Channel(1).Active());
        QTRY_VERIFY(scope.RenderCount() > renders); // the channel disappears from the picture
        m_hooks.errorReporter = nullptr;
    }
};

QTEST_MAIN(TestChannelSetup)
#include "test_channel_setup.moc"
