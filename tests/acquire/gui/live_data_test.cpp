// Polls and the device clock in the real window (offscreen), against the
// simulated device.

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "acquire/device_clock.h"
#include "acquire/gui/date_time_dialog.h"
#include "app/gui/main_window.h"
#include "app/gui/message_box.h"
#include "app/gui/result_table_model.h"
#include "link/crc.h"
#include "link/gui/connection_dialog.h"
#include "support/modal_dialog.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"
#include "support/window_fixture.h"

using namespace orvanic;
using namespace orvanic::gui;

class LiveDataTest : public QObject {
    Q_OBJECT

private:
    test::WindowFixture m_fixture;
    std::vector<UserMessage>& m_messages = m_fixture.messages();

    static QStringList enabled(TfrmMain& w)
    {
        QStringList on;
        for (const char* c : {"DateTime", "CurrentData", "ScreenData", "ReadData"})
            if (w.findChild<QAction*>(QString("btn") + c)->isEnabled())
                on << c;
        return on;
    }

    static QStringList firstRow(TfrmMain& w)
    {
        const auto& rows = w.table().rows();
        if (rows.size() != 1)
            return {};
        return QStringList{rows[0].caption} + rows[0].cells;
    }

private slots:
    void init() { m_fixture.setUp(); }
    void cleanup() { m_fixture.tearDown(); }

    void pollsShowTheLatestRowAndStopCleanly_data()
    {
        QTest::addColumn<int>("protocol");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("firstValues");
        QTest::addColumn<QStringList>("secondValues");
        QTest::addColumn<QStringList>("whilePolling");
        QTest::newRow("current, own") << 0 << "CurrentData" << QStringList{"100", "200", "300", "01:00:00", ""}
                                      << QStringList{"100,5", "200,5", "300,5", "02:00:00", "Обрыв"} << QStringList{"CurrentData"};
        QTest::newRow("screen, modbus") << 1 << "ScreenData" << QStringList{"1000", "2000", "3000", "02:00:00", ""}
                                        << QStringList{"1000,25", "2000,25", "3000,25", "04:00:00", ""} << QStringList{"ScreenData"};
    }

    void pollsShowTheLatestRowAndStopCleanly()
    {
        QFETCH(int, protocol);
        QFETCH(QString, command);
        QFETCH(QStringList, firstValues);
        QFETCH(QStringList, secondValues);
        QFETCH(QStringList, whilePolling);
        test::SimProcess sim;
        auto w = m_fixture.connectedWindow(sim, protocol);
        w->findChild<QAction*>("btn" + command)->trigger();
        QCOMPARE(enabled(*w), whilePolling);
        QVERIFY(!w->findChild<QAction*>("btnMCUParam")->isEnabled());
        QTRY_VERIFY(!firstRow(*w).isEmpty());
        QStringList row = firstRow(*w);
        QVERIFY2(row.size() > 1, qPrintable(row.join('|')));
        QCOMPARE(row.mid(1, 5), firstValues);
        QCOMPARE(w->table().rows()[0].icon, RowIcon::Ok);
        if (protocol == 1) {
            QCOMPARE(w->table().columnCaptions().mid(6), (QStringList{"Текущий час запроса", "Счетчик опросов датчика"}));
            QCOMPARE(row.size(), 8);
        }
        // The next answer replaces the row, after the poll interval.
        QTRY_COMPARE_WITH_TIMEOUT(firstRow(*w).mid(1, 5), secondValues, 3000);

        w->findChild<QAction*>("N" + command)->trigger();  // the same command stops it
        QTRY_COMPARE(w->state(), AppState::ConnectedIdle);
        QTRY_COMPARE(enabled(*w), (QStringList{"DateTime", "CurrentData", "ScreenData", "ReadData"}));
        QVERIFY(m_messages.empty());
    }

    void silentDeviceEndsThePollWithAMessage()
    {
        test::SimProcess sim({}, "fault request=2 silent\n");
        auto w = m_fixture.connectedWindow(sim, 0);
        w->findChild<QAction*>("btnCurrentData")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(m_messages.size(), std::size_t(1), 6000);
        QCOMPARE(m_messages[0], (UserMessage{"Устройство не отвечает.", "Сообщение об ошибке"}));
        QCOMPARE(w->state(), AppState::ConnectedIdle);
        QCOMPARE(enabled(*w), (QStringList{"DateTime", "CurrentData", "ScreenData", "ReadData"}));
        QVERIFY(!w->session().devCurrentData);

        // The window is usable: the next poll works.
        w->findChild<QAction*>("btnCurrentData")->trigger();
        QTRY_VERIFY(!firstRow(*w).isEmpty());
        w->findChild<QAction*>("btnCurrentData")->trigger();
        QTRY_COMPARE(w->state(), AppState::ConnectedIdle);
    }

    void disconnectDuringAPollDoesNotWaitForTheDevice()
    {
        test::SimProcess sim({}, "fault request=2 silent\n");
        auto w = m_fixture.connectedWindow(sim, 1);
        w->findChild<QAction*>("btnCurrentData")->trigger();
        QTest::qWait(300);  // the worker now waits for a silent device
        QElapsedTimer timer;
        timer.start();
        w->findChild<QAction*>("btnDisconnect")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(w->session().devHandle(), Session::kInvalidHandle, 1000);
        QVERIFY(timer.elapsed() < 1000);
        QCOMPARE(w->state(), AppState::NotConnected);
        QVERIFY(w->findChild<QAction*>("btnConnect")->isEnabled());
        QVERIFY(m_messages.empty());
    }

    void clockDialogShowsTheDeviceClockAndSetsIt_data()
    {
        QTest::addColumn<int>("protocol");
        QTest::newRow("own") << 0;
        QTest::newRow("modbus") << 1;
    }

    void clockDialogShowsTheDeviceClockAndSetsIt()
    {
        QFETCH(int, protocol);
        const std::string record = (m_fixture.dir().path() / "requests.txt").string();
        test::SimProcess sim({"--record", record}, "clock 29.02.2024 13:05:00\n");
        auto w = m_fixture.connectedWindow(sim, protocol);

        QDate shownDate;
        QTime shownTime;
        QString title;
        test::whenOpen<TfrmDateTime>([&](TfrmDateTime& dialog) {
            title = dialog.windowTitle();
            shownDate = dialog.findChild<QDateEdit*>("edtDate")->date();
            shownTime = dialog.findChild<QTimeEdit*>("edtTime")->time();
            dialog.findChild<QDateEdit*>("edtDate")->setDate(QDate(2016, 10, 16));
            dialog.findChild<QTimeEdit*>("edtTime")->setTime(QTime(16, 16, 16));
            dialog.findChild<QPushButton*>("btnOk")->click();
        });
        w->findChild<QAction*>("btnDateTime")->trigger();
        QTRY_VERIFY(shownDate.isValid());
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QCOMPARE(title, QString("Дата и время"));
        QCOMPARE(shownDate, QDate(2024, 2, 29));
        QVERIFY2(shownTime >= QTime(13, 5, 0) && shownTime <= QTime(13, 5, 2), qPrintable(shownTime.toString()));

        // The simulator saw exactly the set frame.
        const auto expected = setClockRequest(protocolOf(std::uint8_t(protocol)), 0, {2016, 10, 16}, {16, 16, 16});
        QString hex;
        for (std::uint8_t b : expected)
            hex += QString("%1 ").arg(b, 2, 16, QChar('0')).toUpper();
        const QStringList lines = QString::fromStdString(test::readFile(record)).split('\n', Qt::SkipEmptyParts);
        QVERIFY(lines.size() >= 3);
        QCOMPARE(lines.last(), hex.trimmed());

        // The device's answer to it never reaches the next exchange, and the
        // device now runs on the new clock.
        QDate dateAfter;
        test::whenOpen<TfrmDateTime>([&](TfrmDateTime& dialog) {
            dateAfter = dialog.findChild<QDateEdit*>("edtDate")->date();
            dialog.close();
        });
        w->findChild<QAction*>("NDateTime")->trigger();
        QTRY_VERIFY(dateAfter.isValid());
        QCOMPARE(dateAfter, QDate(2016, 10, 16));
        QVERIFY(m_messages.empty());
    }

    void invalidClockAnswerIsReported()
    {
        test::SimProcess sim({}, "clock 29.02.2024 13:05:00\nfault request=2 short=5\n");
        auto w = m_fixture.connectedWindow(sim, 0);
        w->findChild<QAction*>("btnDateTime")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(m_messages.size(), std::size_t(1), 8000);
        QCOMPARE(QString::fromStdString(m_messages[0].caption), QString("Внимание"));
        QVERIFY(!QApplication::activeModalWidget());
    }
};

QTEST_MAIN(LiveDataTest)
#include "live_data_test.moc"
