// Archive reads in the real window (offscreen), against the simulated device.

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "acquire/value_texts.h"
#include "app/gui/main_window.h"
#include "app/gui/message_box.h"
#include "app/gui/result_table_model.h"
#include "archive/gui/archive_dialog.h"
#include "link/gui/connection_dialog.h"
#include "support/modal_dialog.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"
#include "support/window_fixture.h"
#include "sim/record_values.h"

using namespace orvanic;
using namespace orvanic::gui;

class ArchiveWindowTest : public QObject {
    Q_OBJECT

private:
    test::WindowFixture m_fixture;
    std::vector<UserMessage>& m_messages = m_fixture.messages();

    // Asks for an hourly archive over the given days.
    static void readHourly(TfrmMain& w, QDate from, QDate to)
    {
        test::whenOpen<TfrmArchive>([from, to](TfrmArchive& d) {
            d.findChild<QDateEdit*>("edtBeginDate")->setDate(from);
            d.findChild<QDateEdit*>("edtEndDate")->setDate(to);
            d.findChild<QPushButton*>("btnRead")->click();
        });
        w.findChild<QAction*>("btnReadData")->trigger();
    }

    static int progress(TfrmMain& w) { return w.findChild<QProgressBar*>("pgsMain")->value(); }

private slots:
    void init() { m_fixture.setUp(); }
    void cleanup() { m_fixture.tearDown(); }

    void dialogShowsHoursOnlyForHourlyReads()
    {
        TfrmArchive dialog;
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QString("Архивные данные"));
        QCOMPARE(dialog.findChild<QComboBox*>("cmbType")->currentText(), QString("по часам"));
        QCOMPARE(dialog.findChild<QComboBox*>("cmbHHEnd")->currentText(), QString("23"));
        QCOMPARE(dialog.findChild<QDateEdit*>("edtBeginDate")->date(), QDate::currentDate());
        QVERIFY(dialog.findChild<QWidget*>("cmbHHBegin")->isVisible());
        dialog.findChild<QComboBox*>("cmbType")->setCurrentIndex(2);
        QVERIFY(!dialog.findChild<QWidget*>("cmbHHBegin")->isVisible());
        QVERIFY(!dialog.findChild<QWidget*>("lblHHEnd")->isVisible());
        QCOMPARE(dialog.type(), ArchiveType::Monthly);
    }

    void hourlyArchiveOfOneDay_data()
    {
        QTest::addColumn<int>("protocol");
        QTest::newRow("own") << 0;
        QTest::newRow("modbus") << 1;
    }

    void hourlyArchiveOfOneDay()
    {
        QFETCH(int, protocol);
        test::SimProcess sim;
        auto w = m_fixture.connectedWindow(sim, protocol);
        readHourly(*w, QDate(2017, 3, 5), QDate(2017, 3, 5));
        QTRY_COMPARE(w->state(), AppState::ArchiveRunning);
        QTRY_COMPARE_WITH_TIMEOUT(w->state(), AppState::ConnectedIdle, 10000);
        const auto& rows = w->table().rows();
        QCOMPARE(rows.size(), std::size_t(24));
        QCOMPARE(rows.front().caption, QString("00:05.03.2017"));
        QCOMPARE(rows.back().caption, QString("23:05.03.2017"));
        const sim::ArchivePeriod p{17, 3, 5, 13};
        auto value = [&](int field) { return QString::fromStdString(numberText(sim::archiveFieldValue(field, p), ",")); };
        QCOMPARE(rows[13].cells.mid(0, 4), (QStringList{value(1), value(2), value(3), "01:00:00"}));
        QCOMPARE(rows[13].icon, RowIcon::Plain);  // day 5 has its status bit set
        if (protocol == 1) {
            QCOMPARE(w->table().columnCaptions().mid(6), (QStringList{"Час архива", "Дата архива"}));
            QCOMPARE(rows[13].cells.mid(5), (QStringList{"13", "50317"}));
        }
        QCOMPARE(progress(*w), 100);
        QCOMPARE(w->session().DevStruct.TypeReport, 0);
        QVERIFY(m_messages.empty());
    }

    void stopEndsTheReadAfterTheCurrentExchange()
    {
        test::SimProcess sim;
        auto w = m_fixture.connectedWindow(sim, 0);
        readHourly(*w, QDate(2017, 1, 1), QDate(2017, 12, 31));
        QTRY_VERIFY(w->table().rowCount() >= 5);
        QVERIFY(!w->findChild<QAction*>("btnCurrentData")->isEnabled());
        w->findChild<QAction*>("NReadData")->trigger();  // the same command stops it
        QTRY_COMPARE(w->state(), AppState::ConnectedIdle);
        const int rows = w->table().rowCount();
        QVERIFY(rows < 8760);
        QTest::qWait(200);
        QCOMPARE(w->table().rowCount(), rows);
        QCOMPARE(progress(*w), 100);
        QVERIFY(w->findChild<QAction*>("btnCurrentData")->isEnabled());
    }
};

QTEST_MAIN(ArchiveWindowTest)
#include "archive_window_test.moc"
