// The clock read in the real window (offscreen) over a bad line: answers
// garbled by noise, oversized, in pieces, from another address or missing.
// A garbled answer is never shown as the device's clock; the next read over a
// good line opens the dialog, and the window connects again afterwards.

#include <QAction>
#include <QtTest>
#include <memory>

#include "app/gui/main_window.h"
#include "support/clock_dialogs.h"
#include "support/sim_process.h"
#include "support/window_fixture.h"

using namespace orvanic;
using namespace orvanic::gui;

class ClockFaultsTest : public QObject {
    Q_OBJECT

private:
    test::WindowFixture m_fixture;
    std::vector<UserMessage>& m_messages = m_fixture.messages();

private slots:
    void init() { m_fixture.setUp(); }
    void cleanup() { m_fixture.tearDown(); }

    void clockOverABadLine_data()
    {
        QTest::addColumn<int>("protocol");
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<QString>("message");  // of the first read; none: the dialog opens
        const QString crc = "Ошибка CRC / Внимание";
        const QString noAnswer = "Устройство не отвечает. / Сообщение об ошибке";
        // The clock sits at fixed offsets of its answer: noise before it used
        // to shift other bytes into a valid date (a Modbus answer behind one
        // byte read as 10.06.2003 17:00:05), and the dialog then offered that
        // clock to be set. Only an answer with a matching checksum is read,
        // so an oversized one is refused as every other exchange refuses it.
        QTest::newRow("noise before the answer, own") << 0 << "fault request=2 garbage=8\n" << crc;
        QTest::newRow("noise before the answer, modbus") << 1 << "fault request=2 garbage=1\n" << crc;
        QTest::newRow("600 bytes, own") << 0 << "fault request=2 oversize=600\n" << crc;
        QTest::newRow("600 bytes, modbus") << 1 << "fault request=2 oversize=600\n" << crc;
        QTest::newRow("gaps of 40 ms, modbus") << 1 << "fault request=* chunks=3,40\n" << QString();
        QTest::newRow("gaps of 60 ms, own") << 0 << "fault request=* chunks=3,60\n" << QString();
        QTest::newRow("gaps of 300 ms, modbus") << 1 << "fault request=* chunks=2,300\n" << QString();
        QTest::newRow("another address, own") << 0 << "fault request=* address=7\n" << QString();
        QTest::newRow("another address, modbus") << 1 << "fault request=* address=7\n" << QString();
        QTest::newRow("every other request, own") << 0 << "fault every=2 silent\n" << noAnswer;
    }

    void clockOverABadLine()
    {
        QFETCH(int, protocol);
        QFETCH(QString, scenario);
        QFETCH(QString, message);
        test::SimProcess sim({}, "clock 05.03.2017 10:05:00\n" + scenario.toStdString());
        auto w = m_fixture.connectedWindow(sim, protocol);
        QVERIFY(w);

        test::ClockDialogs dialogs;
        w->findChild<QAction*>("btnDateTime")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!dialogs.shown().isEmpty() || !m_messages.empty(), 8000);
        QTest::qWait(100);  // nothing more comes of this read
        if (message.isEmpty()) {
            QVERIFY(m_messages.empty());
            QCOMPARE(dialogs.shown().size(), 1);
            const QDateTime shown = dialogs.shown()[0];
            QCOMPARE(shown.date(), QDate(2017, 3, 5));
            QVERIFY2(shown.time() >= QTime(10, 5, 0) && shown.time() <= QTime(10, 5, 3), qPrintable(shown.toString()));
        } else {
            QCOMPARE(m_fixture.messageTexts(), QStringList{message});
            QCOMPARE(dialogs.shown().size(), 0);
        }

        // The line is good again for the next read.
        m_messages.clear();
        const qsizetype before = dialogs.shown().size();
        w->findChild<QAction*>("btnDateTime")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(dialogs.shown().size(), before + 1, 6000);
        QCOMPARE(dialogs.shown().last().date(), QDate(2017, 3, 5));
        QVERIFY(m_messages.empty());
        QCOMPARE(test::WindowFixture::usableAgain(*w), QString());
    }
};

QTEST_MAIN(ClockFaultsTest)
#include "clock_faults_test.moc"
