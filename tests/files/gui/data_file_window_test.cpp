// "Сохранить как", "Открыть" and the exports in the real window (offscreen).

#include <QAction>
#include <QDateEdit>
#include <QPushButton>
#include <QtTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/gui/file_dialogs.h"
#include "files/data_file.h"
#include "files/data_file_dates.h"
#include "link/cp1251.h"
#include "app/gui/main_window.h"
#include "app/gui/message_box.h"
#include "app/gui/result_table_model.h"
#include "archive/gui/archive_dialog.h"
#include "link/gui/connection_dialog.h"
#include "support/modal_dialog.h"
#include "support/run_program.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"
#include "support/window_fixture.h"

using namespace orvanic;
using namespace orvanic::gui;

class DataFileWindowTest : public QObject {
    Q_OBJECT

private:
    test::WindowFixture m_fixture;
    std::vector<UserMessage>& m_messages = m_fixture.messages();
    QString m_nextFileName;

    std::unique_ptr<TfrmMain> windowWithArchive(const test::SimProcess& sim, int protocol)
    {
        auto w = m_fixture.connectedWindow(sim, protocol);
        test::whenOpen<TfrmArchive>([](TfrmArchive& d) {
            d.findChild<QDateEdit*>("edtBeginDate")->setDate(QDate(2017, 3, 12));
            d.findChild<QDateEdit*>("edtEndDate")->setDate(QDate(2017, 3, 13));
            d.findChild<QPushButton*>("btnRead")->click();
        });
        w->findChild<QAction*>("btnReadData")->trigger();
        [&] { QTRY_COMPARE_WITH_TIMEOUT(w->table().rowCount(), 48, 15000); }();
        [&] { QTRY_COMPARE(w->state(), AppState::ConnectedIdle); }();
        return w;
    }

    void save(TfrmMain& w, const QString& name)
    {
        m_nextFileName = name;
        w.findChild<QAction*>("NSaveAs")->trigger();
    }

    void open(TfrmMain& w, const QString& name)
    {
        m_nextFileName = name;
        w.findChild<QAction*>("NOpen")->trigger();
    }

    static std::vector<QStringList> rows(TfrmMain& w)
    {
        std::vector<QStringList> out;
        for (const auto& r : w.table().rows())
            out.push_back(QStringList{r.caption} + r.cells << QString::number(static_cast<int>(r.icon)));
        return out;
    }

private slots:
    void init()
    {
        m_fixture.setUp();
        setFileNameSource([this](FileDialogKind) { return m_nextFileName; });
    }

    void cleanup()
    {
        setFileNameSource({});
        m_fixture.tearDown();
    }

    void saveThenOpenGivesTheSameTable_data()
    {
        QTest::addColumn<int>("protocol");
        QTest::newRow("own") << 0;
        QTest::newRow("modbus") << 1;
    }

    void saveThenOpenGivesTheSameTable()
    {
        QFETCH(int, protocol);
        test::SimProcess sim;
        auto w = windowWithArchive(sim, protocol);
        const auto before = rows(*w);
        const QStringList titles = w->table().columnCaptions();
        save(*w, "archive");
        QVERIFY2(m_messages.empty(), m_messages.empty() ? "" : m_messages[0].text.c_str());
        QVERIFY(QFile::exists("archive.dat"));

        open(*w, "archive.dat");
        QCOMPARE(m_messages.size(), std::size_t(1));
        QCOMPARE(m_messages[0], (UserMessage{"Подключен прибор. Перед открытием файла требуется разорвать связь.", "Предупреждение"}));
        QCOMPARE(w->table().rowCount(), 48);  // opening while connected changes nothing

        w->DisConnect();
        open(*w, "archive.dat");
        QCOMPARE(m_messages.size(), std::size_t(1));
        QCOMPARE(w->header().text(), QString("Архивные данные X-A40 1 №1234"));
        QCOMPARE(w->table().columnCaptions(), titles);
        QCOMPARE(rows(*w), before);
        QVERIFY(w->findChild<QAction*>("NConfigFields")->isEnabled());
        QCOMPARE(int(w->session().FieldsList.Count), titles.size());
        QCOMPARE(w->session().devType, TOrvanDevice::mcuA40);

        // The command-line reader writes the same bytes for the same archive.
        const auto cli = test::runProgram({ORVANIC_CLI_PATH, "--port", sim.portPath(), "--protocol", protocol ? "modbus" : "own",
                                           "archive", "hourly", "--from", "12.03.2017", "--to", "13.03.2017", "-o", "cli.dat"},
                                          m_fixture.dir().path());
        QCOMPARE(cli.exitCode, 0);
        QVERIFY(test::readFile(m_fixture.dir().path() / "cli.dat") == test::readFile(m_fixture.dir().path() / "archive.dat"));
    }

    void csvExportWritesTheTableAsShown()
    {
        test::SimProcess sim;
        auto w = windowWithArchive(sim, 1);
        m_nextFileName = "export";
        w->findChild<QAction*>("Ncsv")->trigger();
        QVERIFY(m_messages.empty());
        const QStringList lines = QString::fromStdString(cp1251ToUtf8(test::readFile("export.csv"))).split("\r\n");
        QCOMPARE(lines.size(), 2 + 48 + 1);
        QCOMPARE(lines[0], QString("X-A40 1 1234;"));
        // The Modbus extra columns were retitled by the archive read, so they are left out.
        QCOMPARE(lines[1], QString("Дата и время;W1 [ГДж];V1 [м3];T1 [°С];tраб;Статус;"));
        QCOMPARE(lines[2], QString("00:12.03.2017;1312;2312;3312;01:00:00;;"));
    }

    void csvOfAnOpenedFileEqualsTheReaders()
    {
        TOrvanicStruct device;
        device.DeviceName = "X-A40 1";
        device.DeviceNumber = "1234";
        device.TypeReport = kDailyArchive;
        for (const char* field : {"Дата и время", "T1 [°С]", "V1 [м3]", "tраб", "Статус"})
            device.NameFields[device.CountFields++] = ShortText::fromUtf8(field);
        const TableSnapshot table{{"Дата и время", "T1 [°С]", "V1 [м3]", "tраб", "Статус"},
                                  {{"12.03.2017", "12,5", "0,25", "24:00:00", ""}, {"13.03.2017", "-3,75", "1E-5", "10:30:00", ""}}};
        QVERIFY(!saveDataFile(m_fixture.dir().path() / "daily.dat", table, SaveContext{device, 5, 0, ","}));

        TfrmMain w;
        open(w, "daily.dat");
        m_nextFileName = "window";
        w.findChild<QAction*>("Ncsv")->trigger();
        QVERIFY(m_messages.empty());
        // The same locale as the window's, so the same decimal comma.
        const auto cli = test::runProgram({ORVANIC_CLI_PATH, "convert", "daily.dat", "--csv", "cli.csv"}, m_fixture.dir().path());
        QCOMPARE(cli.exitCode, 0);
        const std::string window = test::readFile(m_fixture.dir().path() / "window.csv");
        QVERIFY2(window.find(";12,5;0,25;") != std::string::npos, window.c_str());
        QVERIFY(test::readFile(m_fixture.dir().path() / "cli.csv") == window);
    }

    void spreadsheetsOpenInTheApplication_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("firstValue");
        QTest::newRow("Excel") << "NExcel" << ".xlsx" << "2\tnumber\tplain\t1312.0";
        QTest::newRow("Calc") << "NCalc" << ".ods" << "2\ttext\tplain\t1312";
    }

    void spreadsheetsOpenInTheApplication()
    {
        QFETCH(QString, command);
        QFETCH(QString, suffix);
        QFETCH(QString, firstValue);
        test::SimProcess sim;
        auto w = windowWithArchive(sim, 1);
        // A stand-in for LibreOffice that keeps what it was asked to open.
        const auto bin = m_fixture.dir().path() / "bin";
        std::filesystem::create_directory(bin);
        const auto called = m_fixture.dir().path() / "called.txt";
        const auto soffice = bin / "soffice";
        {
            std::ofstream script(soffice);
            script << "#!/bin/sh\n/bin/cp \"$3\" " << (m_fixture.dir().path() / "opened").string() << "\necho \"$@\" > " << called.string()
                   << ".part && /bin/mv " << called.string() << ".part " << called.string() << "\n";
        }
        std::filesystem::permissions(soffice, std::filesystem::perms::owner_all);
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", QByteArray::fromStdString(bin.string()));
        // The export's folder goes into the test's own, which is removed.
        qputenv("TMPDIR", QByteArray::fromStdString(m_fixture.dir().path().string()));

        w->findChild<QAction*>(command)->trigger();
        qunsetenv("TMPDIR");
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QVERIFY(m_messages.empty());
        QTRY_VERIFY_WITH_TIMEOUT(std::filesystem::exists(called), 10000);
        const QStringList args = QString::fromStdString(test::readFile(called)).trimmed().split(' ');
        QCOMPARE(args.mid(0, 2), (QStringList{"--calc", "-n"}));
        QVERIFY(args.value(2).endsWith(suffix));

        std::filesystem::rename(m_fixture.dir().path() / "opened", m_fixture.dir().path() / ("opened" + suffix.toStdString()));
        qputenv("PATH", oldPath);
        const auto read = test::runProgram({ORVANIC_READ_SHEET, "opened" + suffix.toStdString()}, m_fixture.dir().path());
        QVERIFY2(read.exitCode == 0, read.err.c_str());
        const QStringList cells = QString::fromStdString(read.out).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(cells.value(0), QString("sheet Лист1"));
        QCOMPARE(cells.value(1), QString("1\t1\ttext\tplain\tX-A40 1 1234"));
        QVERIFY(cells.contains("2\t2\ttext\tplain\tW1 [ГДж]"));
        QVERIFY(cells.contains("3\t" + firstValue));
        const QString totals = command == "NExcel" ? "51\t1\ttext\tbold\tИтого:" : "51\t1\ttext\tplain\tИтого:";
        QVERIFY2(cells.contains(totals), qPrintable(cells.join(" | ")));
    }

    void spreadsheetWithoutApplication()
    {
        test::SimProcess sim;
        auto w = windowWithArchive(sim, 0);
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", QByteArray::fromStdString(m_fixture.dir().path().string()));
        TfrmMain empty;
        empty.findChild<QAction*>("NExcel")->trigger();
        QVERIFY(m_messages.empty());  // no rows: nothing happens

        w->findChild<QAction*>("NExcel")->trigger();
        w->findChild<QAction*>("NCalc")->trigger();
        qputenv("PATH", oldPath);
        QCOMPARE(m_messages.size(), std::size_t(2));
        QCOMPARE(m_messages[0], (UserMessage{"MS Office не установлен.", "Ошибка передачи данных"}));
        QCOMPARE(m_messages[1], (UserMessage{"Open Office не установлен.", "Ошибка передачи данных"}));
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void saveAndOpenFailures()
    {
        TfrmMain w;
        save(w, ".dat");
        QCOMPARE(m_messages.size(), std::size_t(1));
        QCOMPARE(m_messages[0], (UserMessage{"Имя файла не задано", "Ошибка"}));

        save(w, "empty");
        QCOMPARE(m_messages.size(), std::size_t(2));  // an empty table is said so
        QVERIFY(!QFile::exists("empty.dat"));

        open(w, "");  // cancelled
        QCOMPARE(w.table().columnCount(), 0);
        QCOMPARE(w.header().text(), QString("Прибор не подключен"));

        open(w, "missing.dat");
        QCOMPARE(m_messages.size(), std::size_t(3));
        QVERIFY(QString::fromStdString(m_messages[2].text).contains("missing.dat"));
    }
};

QTEST_MAIN(DataFileWindowTest)
#include "data_file_window_test.moc"
