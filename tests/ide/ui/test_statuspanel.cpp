// A status bar panel: a text that does not fit keeps its two ends and loses
// its middle, with the whole text as the tool tip; a text that fits shows
// whole, and only the panel that takes the rest of the bar always carries the
// tool tip.

#include "StatusPanel.h"

#include <QtTest>

class TestStatusPanel : public QObject {
    Q_OBJECT

private slots:
    void longTextsKeepBothEnds_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("rest"); // the panel that takes the rest of the bar
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("elided");
        QTest::addColumn<bool>("tip");

        const QString port = "Simulated module 9600,8,N,1";
        const QString path = "/dev/serial/by-id/usb-Velmo_Adapter_A1B2C3-if00-port0 9600,8,N,1";
        QTest::newRow("port_field_simulated") << 137 << false << port << true << true;
        QTest::newRow("port_field_by_id_path") << 137 << false << path << true << true;
        QTest::newRow("port_field_fits") << 137 << false << "COM1 9600,8,N,1" << false << false;
        QTest::newRow("narrow_field_fits") << 50 << false << "HEX" << false << false;
        QTest::newRow("narrow_field_long") << 50 << false << "ASCII and more" << true << true;
        QTest::newRow("rest_fits_still_tip") << 600 << true << "console.log" << false << true;
        QTest::newRow("rest_long") << 120 << true << path << true << true;
        QTest::newRow("empty") << 137 << false << QString() << false << false;
    }

    void longTextsKeepBothEnds()
    {
        QFETCH(int, width);
        QFETCH(bool, rest);
        QFETCH(QString, text);
        QFETCH(bool, elided);
        QFETCH(bool, tip);
        QWidget host;
        TStatusPanel panel(width, rest, &host);
        panel.resize(width, 20);
        host.show();
        panel.SetText(text);
        QCOMPARE(panel.Text(), text);
        const QString shown = panel.text();
        QCOMPARE(shown != text, elided);
        QCOMPARE(panel.toolTip(), tip ? text : QString());
        if (!elided)
            return;
        const qsizetype dots = shown.indexOf(QChar(0x2026));
        QVERIFY2(dots > 0 && dots < shown.size() - 1, qPrintable(shown)); // not at either end
        QVERIFY(text.startsWith(shown.left(dots)));
        QVERIFY(text.endsWith(shown.mid(dots + 1)));
        QVERIFY(panel.fontMetrics().horizontalAdvance(shown) <= panel.contentsRect().width());
    }
};

QTEST_MAIN(TestStatusPanel)
#include "test_statuspanel.moc"
