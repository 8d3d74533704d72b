// Archive reads in the real window (offscreen) over a bad line, and with a
// port that goes away during the read. Every period gives its row, data rows
// hold the device's values, the read ends, and the window connects again.

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "acquire/value_texts.h"
#include "app/gui/main_window.h"
#include "app/gui/result_table_model.h"
#include "archive/gui/archive_dialog.h"
#include "sim/record_values.h"
#include "support/modal_dialog.h"
#include "support/sim_process.h"
#include "support/window_fixture.h"

using namespace orvanic;
using namespace orvanic::gui;

namespace {

const QDate kDay(2017, 3, 5);

QString hour(int h)
{
    return QString("%1:05.03.2017").arg(h, 2, 10, QChar('0'));
}

const QString kCrcRow = "Ошибка CRC";
const QString kMissing = " - данные отсутствуют";

// Asks for the hourly archive of kDay, hours `first` to `last`.
void readHours(TfrmMain& w, int first, int last)
{
    test::whenOpen<TfrmArchive>([first, last](TfrmArchive& d) {
        d.findChild<QDateEdit*>("edtBeginDate")->setDate(kDay);
        d.findChild<QDateEdit*>("edtEndDate")->setDate(kDay);
        d.findChild<QComboBox*>("cmbHHBegin")->setCurrentIndex(first);
        d.findChild<QComboBox*>("cmbHHEnd")->setCurrentIndex(last);
        d.findChild<QPushButton*>("btnRead")->click();
    });
    w.findChild<QAction*>("btnReadData")->trigger();
}

QStringList captions(TfrmMain& w)
{
    QStringList out;
    for (const ResultTableModel::Row& row : w.table().rows())
        out << row.caption;
    return out;
}

// Data rows whose values are not the device's record of their period.
QStringList wrongValues(TfrmMain& w)
{
    QStringList wrong;
    for (const ResultTableModel::Row& row : w.table().rows()) {
        if (row.cells.isEmpty())
            continue;
        const sim::ArchivePeriod period{17, 3, 5, row.caption.left(2).toInt()};
        QStringList expected;
        for (int field = 1; field <= 3; ++field)
            expected << QString::fromStdString(numberText(sim::archiveFieldValue(field, period), ","));
        if (row.cells.mid(0, 3) != expected)
            wrong << row.caption + ": " + row.cells.join('|');
    }
    return wrong;
}

}  // namespace

class ArchiveLineFaultsTest : public QObject {
    Q_OBJECT

private:
    test::WindowFixture m_fixture;
    std::vector<UserMessage>& m_messages = m_fixture.messages();

private slots:
    void init() { m_fixture.setUp(); }
    void cleanup() { m_fixture.tearDown(); }

    void archiveOverABadLine_data()
    {
        QTest::addColumn<int>("protocol");
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<int>("lastHour");  // the read starts at 10 h
        QTest::addColumn<QStringList>("rows");
        // Request 1 is the identification; own reads ask once a period,
        // Modbus selects the period and then reads it. A garbled answer is a
        // checksum failure: its period is asked again.
        QTest::newRow("noise before an answer, own") << 0 << "fault request=3 garbage=8\n" << 12
                                                     << QStringList{hour(10), kCrcRow, hour(11), hour(12)};
        QTest::newRow("noise before an answer, modbus") << 1 << "fault request=5 garbage=8\n" << 12
                                                        << QStringList{hour(10), kCrcRow, hour(11), hour(12)};
        QTest::newRow("600 bytes, own") << 0 << "fault request=3 oversize=600\n" << 11 << QStringList{hour(10), kCrcRow, hour(11)};
        QTest::newRow("600 bytes, modbus") << 1 << "fault request=5 oversize=600\n" << 11 << QStringList{hour(10), kCrcRow, hour(11)};
        QTest::newRow("gaps of 40 ms, modbus") << 1 << "fault request=* chunks=3,40\n" << 12 << QStringList{hour(10), hour(11), hour(12)};
        QTest::newRow("gaps of 60 ms, own") << 0 << "fault request=* chunks=3,60\n" << 12 << QStringList{hour(10), hour(11), hour(12)};
        QTest::newRow("gaps of 300 ms, own") << 0 << "fault request=* chunks=3,300\n" << 11 << QStringList{hour(10), hour(11)};
        QTest::newRow("another address, own") << 0 << "fault request=* address=7\n" << 12 << QStringList{hour(10), hour(11), hour(12)};
        QTest::newRow("another address, modbus") << 1 << "fault request=* address=7\n" << 12 << QStringList{hour(10), hour(11), hour(12)};
        // A period without an answer is a row of its own and the read goes on.
        QTest::newRow("every other request, own") << 0 << "fault every=2 silent\n" << 11 << QStringList{hour(10) + kMissing, hour(11)};
        // Every Modbus select is lost, so the device never has the period to
        // give: the record's read is refused and no values are shown.
        QTest::newRow("every other request, modbus") << 1 << "fault every=2 silent\n" << 10
                                                     << QStringList{hour(10) + " - Ошибка структуры данных"};
    }

    void archiveOverABadLine()
    {
        QFETCH(int, protocol);
        QFETCH(QString, scenario);
        QFETCH(int, lastHour);
        QFETCH(QStringList, rows);
        test::SimProcess sim({}, scenario.toStdString());
        auto w = m_fixture.connectedWindow(sim, protocol);
        QVERIFY(w);
        readHours(*w, 10, lastHour);
        QTRY_COMPARE(w->state(), AppState::ArchiveRunning);
        QTRY_COMPARE_WITH_TIMEOUT(w->state(), AppState::ConnectedIdle, 10000);
        QCOMPARE(captions(*w), rows);
        QCOMPARE(wrongValues(*w), QStringList{});
        QCOMPARE(w->findChild<QProgressBar*>("pgsMain")->value(), 100);
        QVERIFY(m_messages.empty());
        QCOMPARE(test::WindowFixture::usableAgain(*w), QString());
    }

    void portGoesDuringTheRead_data()
    {
        QTest::addColumn<int>("protocol");
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<QStringList>("rows");
        // Hours 0 and 1 come; hour 2's answer is cut off by the device going,
        // or the device goes before answering. Without the port the read
        // ends there, rather than adding a row of missing data for every
        // remaining hour of the day.
        QTest::newRow("mid-answer, own") << 0 << "fault request=4 vanish\n" << QStringList{hour(0), hour(1), kCrcRow};
        QTest::newRow("mid-answer, modbus") << 1 << "fault request=7 vanish\n" << QStringList{hour(0), hour(1), kCrcRow};
        QTest::newRow("between answers, own") << 0 << "fault request=4 silent vanish\n"
                                              << QStringList{hour(0), hour(1), hour(2) + kMissing};
        QTest::newRow("between answers, modbus") << 1 << "fault request=6 silent vanish\n"
                                                 << QStringList{hour(0), hour(1), hour(2) + kMissing};
    }

    void portGoesDuringTheRead()
    {
        QFETCH(int, protocol);
        QFETCH(QString, scenario);
        QFETCH(QStringList, rows);
        const std::string port = (m_fixture.dir().path() / "ttyMVU").string();
        test::SimProcess sim({"--link", port}, scenario.toStdString());
        m_fixture.writeSettings(port, protocol);
        auto w = std::make_unique<TfrmMain>();
        QVERIFY(test::WindowFixture::connectTo(*w, port));

        QElapsedTimer timer;
        timer.start();
        readHours(*w, 0, 23);
        QTRY_COMPARE(w->state(), AppState::ArchiveRunning);
        QTRY_COMPARE_WITH_TIMEOUT(w->state(), AppState::ConnectedIdle, 10000);
        // No wait for answers that cannot come.
        QVERIFY2(timer.elapsed() < 4000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(captions(*w), rows);
        QCOMPARE(wrongValues(*w), QStringList{});
        QCOMPARE(m_fixture.messageTexts(), QStringList{"Устройство не отвечает. / Сообщение об ошибке"});

        m_messages.clear();
        w->findChild<QAction*>("btnDisconnect")->trigger();
        QVERIFY(!test::WindowFixture::connectTo(*w, port));
        QCOMPARE(m_fixture.messageTexts(), QStringList{"Порт либо отсутствует, либо занят другим устройством. / Сообщение об ошибке"});
        QCOMPARE(test::WindowFixture::usableAgain(*w), QString());
    }
};

QTEST_MAIN(ArchiveLineFaultsTest)
#include "archive_line_faults_test.moc"
