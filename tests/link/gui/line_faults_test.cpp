// Polls in the real window (offscreen) over a bad line: answers garbled by
// noise, oversized, in pieces, from another address or missing; and a device
// that goes away in the middle of an answer to a poll or a clock read.
// Whatever comes, the operator sees rows or a message, the command ends, and
// the window connects again afterwards. The clock read over a bad line is
// acquire/gui/clock_faults_test.cpp.

#include <QAction>
#include <QElapsedTimer>
#include <QtTest>
#include <memory>

#include "app/gui/main_window.h"
#include "app/gui/result_table_model.h"
#include "support/clock_dialogs.h"
#include "support/sim_process.h"
#include "support/window_fixture.h"

using namespace orvanic;
using namespace orvanic::gui;

namespace {

// The first two current-data answers of a fresh device, as recordRows shows them.
const QString kFirstRow = "* 100|200|300|01:00:00|";
const QString kSecondRow = "* 100,5|200,5|300,5|02:00:00|Обрыв";
const QString kCrcRow = "Ошибка CRC";

const QString kNoAnswer = "Устройство не отвечает. / Сообщение об ошибке";
const QString kCrcMessage = "Ошибка CRC / Внимание";

// Every row the table is given, in order: message rows by their caption,
// data rows as "*" and their first five cells (poll captions are the time).
void recordRows(TfrmMain& w, QStringList& shown)
{
    QObject::connect(&w.table(), &QAbstractItemModel::rowsInserted, &w.table(), [&w, &shown](const QModelIndex&, int first, int) {
        const ResultTableModel::Row& row = w.table().rows()[static_cast<std::size_t>(first)];
        shown << (row.cells.isEmpty() ? row.caption : "* " + row.cells.mid(0, 5).join('|'));
    });
}

}  // namespace

class LineFaultsTest : public QObject {
    Q_OBJECT

private:
    test::WindowFixture m_fixture;
    std::vector<UserMessage>& m_messages = m_fixture.messages();

private slots:
    void init() { m_fixture.setUp(); }
    void cleanup() { m_fixture.tearDown(); }

    void pollOverABadLine_data()
    {
        QTest::addColumn<int>("protocol");
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<QStringList>("rows");  // the first two the poll shows
        QTest::addColumn<QStringList>("messages");
        const QStringList none;
        const QStringList noAnswer{kNoAnswer};
        // A garbled answer waits out the silence after it, becomes a message
        // row, and the next answer is read as if nothing had happened.
        QTest::newRow("noise before the answer, own") << 0 << "fault request=2 garbage=8\n" << QStringList{kCrcRow, kSecondRow} << none;
        QTest::newRow("noise before the answer, modbus") << 1 << "fault request=2 garbage=8\n" << QStringList{kCrcRow, kSecondRow} << none;
        QTest::newRow("600 bytes, own") << 0 << "fault request=2 oversize=600\n" << QStringList{kCrcRow, kSecondRow} << none;
        QTest::newRow("600 bytes, modbus") << 1 << "fault request=2 oversize=600\n" << QStringList{kCrcRow, kSecondRow} << none;
        // Pieces are waited for however long the gaps between them.
        QTest::newRow("gaps of 40 ms, own") << 0 << "fault request=* chunks=4,40\n" << QStringList{kFirstRow, kSecondRow} << none;
        QTest::newRow("gaps of 60 ms, modbus") << 1 << "fault request=* chunks=4,60\n" << QStringList{kFirstRow, kSecondRow} << none;
        QTest::newRow("gaps of 300 ms, own") << 0 << "fault request=* chunks=3,300\n" << QStringList{kFirstRow, kSecondRow} << none;
        // The address in an answer is not examined: a device set to another
        // address is read like the one asked.
        QTest::newRow("another address, own") << 0 << "fault request=* address=7\n" << QStringList{kFirstRow, kSecondRow} << none;
        QTest::newRow("another address, modbus") << 1 << "fault request=* address=7\n" << QStringList{kFirstRow, kSecondRow} << none;
        // Request 1 was the identification: the poll's first request is lost.
        QTest::newRow("every other request, own") << 0 << "fault every=2 silent\n" << QStringList{} << noAnswer;
        QTest::newRow("every other request, modbus") << 1 << "fault every=2 silent\n" << QStringList{} << noAnswer;
    }

    void pollOverABadLine()
    {
        QFETCH(int, protocol);
        QFETCH(QString, scenario);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, messages);
        test::SimProcess sim({}, scenario.toStdString());
        QStringList shown;
        auto w = m_fixture.connectedWindow(sim, protocol);
        QVERIFY(w);
        recordRows(*w, shown);

        w->findChild<QAction*>("btnCurrentData")->trigger();
        // Two rows, or the poll ended by itself: a garbled answer costs the
        // ~5 s of silence after it, a missing one the 4 s wait for it.
        QTRY_VERIFY_WITH_TIMEOUT(shown.size() >= 2 || w->state() == AppState::ConnectedIdle, 9000);
        if (w->state() == AppState::CurrentDataPolling)
            w->findChild<QAction*>("btnCurrentData")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(w->state(), AppState::ConnectedIdle, 1500);
        QCOMPARE(shown.mid(0, 2), rows);
        QCOMPARE(m_fixture.messageTexts(), messages);
        QCOMPARE(test::WindowFixture::usableAgain(*w), QString());
    }

    void deviceVanishesMidAnswer_data()
    {
        QTest::addColumn<int>("protocol");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("message");
        // What came before the device went is a garbled answer; the poll's
        // next request then finds the port gone.
        QTest::newRow("poll, own") << 0 << "CurrentData" << QStringList{kCrcRow} << kNoAnswer;
        QTest::newRow("poll, modbus") << 1 << "CurrentData" << QStringList{kCrcRow} << kNoAnswer;
        // Half an own clock answer used to open the dialog with the right
        // date and the time 00:00:00.
        QTest::newRow("clock, own") << 0 << "DateTime" << QStringList{} << kCrcMessage;
        QTest::newRow("clock, modbus") << 1 << "DateTime" << QStringList{} << kCrcMessage;
    }

    void deviceVanishesMidAnswer()
    {
        QFETCH(int, protocol);
        QFETCH(QString, command);
        QFETCH(QStringList, rows);
        QFETCH(QString, message);
        // Through a link, as a port name that goes with the device.
        const std::string port = (m_fixture.dir().path() / "ttyMVU").string();
        test::SimProcess sim({"--link", port}, "fault request=2 vanish\n");
        m_fixture.writeSettings(port, protocol);
        QStringList shown;
        auto w = std::make_unique<TfrmMain>();
        QVERIFY(test::WindowFixture::connectTo(*w, port));
        recordRows(*w, shown);

        test::ClockDialogs dialogs;  // none may open
        QElapsedTimer timer;
        timer.start();
        w->findChild<QAction*>("btn" + command)->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!m_messages.empty(), 12000);
        // A port that is gone is not waited on: no 5 s of silence after the
        // broken answer, no 4 s for the next one.
        QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
        QTRY_COMPARE_WITH_TIMEOUT(w->state(), AppState::ConnectedIdle, 1000);
        QCOMPARE(shown, rows);
        QCOMPARE(m_fixture.messageTexts(), QStringList{message});
        QCOMPARE(dialogs.shown().size(), 0);

        // Connecting again to the device that went says so.
        m_messages.clear();
        w->findChild<QAction*>("btnDisconnect")->trigger();
        QVERIFY(!test::WindowFixture::connectTo(*w, port));
        QCOMPARE(m_fixture.messageTexts(), QStringList{"Порт либо отсутствует, либо занят другим устройством. / Сообщение об ошибке"});
        QCOMPARE(test::WindowFixture::usableAgain(*w), QString());
    }
};

QTEST_MAIN(LineFaultsTest)
#include "line_faults_test.moc"
