// The main window as real widgets (offscreen), against the simulated device.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "app/gui/main_window.h"
#include "app/settings.h"
#include "app/gui/message_box.h"
#include "app/gui/parametr_dialog.h"
#include "app/gui/result_table_model.h"
#include "link/gui/connection_dialog.h"
#include "support/sim_process.h"
#include "support/modal_dialog.h"
#include "support/scratch_fs.h"
#include "support/temp_dir.h"
#include "support/window_fixture.h"

using namespace orvanic;
using namespace orvanic::gui;

namespace {

const QStringList kDeviceCommands = {"Connect", "Disconnect", "DateTime", "CurrentData", "ScreenData", "ReadData"};

void applyConnection(TfrmConnection& d)
{
    d.findChild<QPushButton*>("btnOk")->click();
}

std::string settingsFor(const std::string& port, int protocol)
{
    return formatSettings(Settings{port, "9600", 8, static_cast<std::uint8_t>(protocol), 0, false});
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    test::WindowFixture m_fixture;
    std::vector<UserMessage>& m_messages = m_fixture.messages();

    // Enabled state of each device command; tool button and menu item must agree.
    QStringList enabledCommands(TfrmMain& w)
    {
        QStringList on;
        for (const QString& c : kDeviceCommands) {
            const bool menu = w.findChild<QAction*>("N" + c)->isEnabled();
            const bool button = w.findChild<QAction*>("btn" + c)->isEnabled();
            if (menu != button)
                qWarning() << c << "menu item and tool button disagree";
            if (menu && button)
                on << c;
        }
        if (w.findChild<QAction*>("NConfigFields")->isEnabled())
            on << "ConfigFields";
        if (w.findChild<QAction*>("btnMCUParam")->isEnabled())
            on << "MCUParam";
        return on;
    }

    void connectWindow(TfrmMain& w)
    {
        test::whenOpen<TfrmConnection>(applyConnection);
        w.findChild<QAction*>("btnConnect")->trigger();
    }

private slots:
    void init() { m_fixture.setUp(); }
    void cleanup() { m_fixture.tearDown(); }

    void startsNotConnectedWithDefaults()
    {
        TfrmMain w;
        QCOMPARE(w.windowTitle(), QString("Visual Orvanic"));
        QCOMPARE(w.state(), AppState::NotConnected);
        QCOMPARE(enabledCommands(w), QStringList{"Connect"});
        for (const char* always : {"NParametr", "btnParametr", "NSaveAs", "NOpen", "Ncsv", "NExcel", "NCalc", "NHelp", "NClose"})
            QVERIFY2(w.findChild<QAction*>(always)->isEnabled(), always);
        QCOMPARE(w.header().text(), QString("Прибор не подключен"));
        const Session& s = w.session();
        QCOMPARE(s.devPort, std::string("COM1"));
        QCOMPARE(s.devVelocity, std::string("9600"));
        QCOMPARE(s.devVelocityInt, 9600);
        QCOMPARE(int(s.devBits), 8);
        QCOMPARE(int(s.devProtocol), 0);
        QCOMPARE(int(s.devTypeEnergy), 0);
        QCOMPARE(s.devLogFile, false);
        QCOMPARE(s.TimeRequest, 1);
        QCOMPARE(s.devHandle(), Session::kInvalidHandle);
    }

    void viewTogglesAndStyleMarks()
    {
        TfrmMain w;
        w.show();
        auto* toolbarItem = w.findChild<QAction*>("NToolbar");
        auto* toolbar = w.findChild<QWidget*>("tlbMain");
        QVERIFY(toolbarItem->isChecked() && toolbar->isVisible());
        toolbarItem->trigger();
        QVERIFY(!toolbarItem->isChecked() && !toolbar->isVisible());
        toolbarItem->trigger();
        QVERIFY(toolbarItem->isChecked() && toolbar->isVisible());
        auto* statusItem = w.findChild<QAction*>("NStatus");
        statusItem->trigger();
        QVERIFY(!statusItem->isChecked() && !w.findChild<QWidget*>("stbMain")->isVisible());

        const QStringList styles = {"NClassic", "NWindowsXP", "NGradientSystem", "NGradientOffice", "NGradientCustom"};
        auto checked = [&] {
            QStringList on;
            for (const QString& s : styles)
                if (w.findChild<QAction*>(s)->isChecked())
                    on << s;
            return on;
        };
        QCOMPARE(checked(), QStringList{"NGradientSystem"});
        w.findChild<QAction*>("NClassic")->trigger();
        QCOMPARE(checked(), QStringList{"NClassic"});
        QCOMPARE(w.header().visualStyle(), HeaderPanel::VisualStyle::Classic);
        w.findChild<QAction*>("NGradientOffice")->trigger();
        QCOMPARE(checked(), QStringList{"NGradientOffice"});
        QCOMPARE(w.header().visualStyle(), HeaderPanel::VisualStyle::Gradient);
        QCOMPARE(w.header().gradientScheme(), HeaderPanel::GradientScheme::Office);
    }

    void connectsOverBothProtocolsAndDisconnects_data()
    {
        QTest::addColumn<int>("protocol");
        QTest::addColumn<QStringList>("columns");
        const QStringList fields = {"Дата и время", "W1 [ГДж]", "V1 [м3]", "T1 [°С]", "tраб", "Статус"};
        QTest::newRow("own") << 0 << fields;
        QTest::newRow("modbus") << 1 << (fields + QStringList{"", ""});
    }

    void connectsOverBothProtocolsAndDisconnects()
    {
        QFETCH(int, protocol);
        QFETCH(QStringList, columns);
        test::SimProcess sim;
        m_fixture.dir().write("QN.cfg", settingsFor(sim.portPath(), protocol));
        TfrmMain w;
        connectWindow(w);
        QTRY_COMPARE(w.state(), AppState::ConnectedIdle);
        QVERIFY(m_messages.empty());
        QCOMPARE(w.header().text(), QString("Подключено устройство X-A40 1 №1234"));
        QCOMPARE(w.table().columnCaptions(), columns);
        QCOMPARE(w.session().devType, TOrvanDevice::mcuA40);
        const AFieldsList& list = w.session().FieldsList;
        QCOMPARE(int(list.Count), columns.size());
        QCOMPARE(int(list.FixCount), columns.size());
        for (int i = 0; i < columns.size(); ++i) {
            QCOMPARE(QString::fromStdString(list.FieldItem[i].NameField), columns[i]);
            QVERIFY(list.FieldItem[i].Flag);
        }
        QCOMPARE(enabledCommands(w),
                 (QStringList{"Disconnect", "DateTime", "CurrentData", "ScreenData", "ReadData", "ConfigFields", "MCUParam"}));

        w.findChild<QAction*>("NDisconnect")->trigger();
        QCOMPARE(w.state(), AppState::NotConnected);
        QCOMPARE(enabledCommands(w), QStringList{"Connect"});
        QCOMPARE(w.header().text(), QString("Прибор не подключен"));
        QCOMPARE(w.session().devType, TOrvanDevice::none);
        QCOMPARE(w.session().devHandle(), Session::kInvalidHandle);
        QCOMPARE(w.table().columnCaptions(), columns);  // disconnecting keeps the table
    }

    void connectionFailures_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<bool>("portMissing");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("caption");
        QTest::newRow("port") << "" << true << "Порт либо отсутствует, либо занят другим устройством." << "Сообщение об ошибке";
        QTest::newRow("silent") << "fault request=* silent\n" << false << "Устройство не отвечает." << "Сообщение об ошибке";
        QTest::newRow("checksum") << "fault request=* crc\n" << false << "Ошибка CRC" << "Внимание";
    }

    void connectionFailures()
    {
        QFETCH(QString, scenario);
        QFETCH(bool, portMissing);
        QFETCH(QString, text);
        QFETCH(QString, caption);
        test::SimProcess sim({}, scenario.toStdString());
        m_fixture.dir().write("QN.cfg", settingsFor(portMissing ? m_fixture.dir().path().string() + "/ttyNone" : sim.portPath(), 0));
        TfrmMain w;
        connectWindow(w);
        QTRY_COMPARE_WITH_TIMEOUT(m_messages.size(), std::size_t(1), 10000);
        QCOMPARE(QString::fromStdString(m_messages[0].text), text);
        QCOMPARE(QString::fromStdString(m_messages[0].caption), caption);
        QCOMPARE(w.state(), AppState::NotConnected);
        QCOMPARE(enabledCommands(w), QStringList{"Connect"});
        QCOMPARE(w.header().text(), QString("Прибор не подключен"));
        QCOMPARE(w.table().columnCount(), 0);
        QCOMPARE(w.session().devHandle(), Session::kInvalidHandle);
    }

    void connectionDialog()
    {
        test::SimProcess sim;
        m_fixture.dir().write("QN.cfg", settingsFor(sim.portPath(), 0));
        TfrmMain w;
        test::whenOpen<TfrmConnection>([](TfrmConnection& d) {
            auto* address = d.findChild<QSpinBox*>("edtAddress");
            address->findChild<QLineEdit*>()->selectAll();
            QTest::keyClicks(address->findChild<QLineEdit*>(), "300");
            QCOMPARE(address->value(), 255);
            d.findChild<QComboBox*>("cmbLink")->setCurrentIndex(1);
            emit d.findChild<QComboBox*>("cmbLink")->activated(1);
            d.close();  // the close box: no connection
        });
        w.findChild<QAction*>("NConnect")->trigger();
        QCOMPARE(int(w.session().devAddress), 255);
        QCOMPARE(int(w.session().devLink), 1);
        QCOMPARE(w.state(), AppState::NotConnected);

        // It opens with the values in use; clearing the address keeps it.
        test::whenOpen<TfrmConnection>([](TfrmConnection& d) {
            QCOMPARE(d.findChild<QComboBox*>("cmbLink")->currentText(), QString("RS-485"));
            auto* edit = d.findChild<QSpinBox*>("edtAddress")->findChild<QLineEdit*>();
            QCOMPARE(edit->text(), QString("255"));
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Delete);
            d.close();
        });
        w.findChild<QAction*>("NConnect")->trigger();
        QCOMPARE(int(w.session().devAddress), 255);
    }

    void settingsDialogAndFile()
    {
        TfrmMain w;
        w.PortNames() = {"COM3", "COM7"};
        w.session().devPort = "COM7";
        test::whenOpen<TfrmParametr>([](TfrmParametr& d) {
            auto* port = d.findChild<QComboBox*>("cmbPort");
            QCOMPARE(port->currentText(), QString("COM7"));
            port->setCurrentIndex(0);
            d.findChild<QComboBox*>("cmbSpeed")->setCurrentText("1200");
            d.findChild<QComboBox*>("cmbBits")->setCurrentText("7");
            d.findChild<QSpinBox*>("sedInterval")->setValue(30);
            d.findChild<QAbstractButton*>("rbModbus")->click();
            d.findChild<QAbstractButton*>("chkLog")->click();
            d.findChild<QComboBox*>("cmbEnergy")->setCurrentIndex(1);
            d.findChild<QPushButton*>("btnOk")->click();
        });
        w.findChild<QAction*>("btnParametr")->trigger();
        QCOMPARE(m_messages.size(), std::size_t(1));
        QCOMPARE(m_messages[0], (UserMessage{"Было изменение единиц измерения энергии. Перезагрузите данные.", "Внимание"}));
        QCOMPARE(w.session().devVelocityInt, 1200);
        QCOMPARE(w.session().TimeRequest, 30);
        w.close();
        QCOMPARE(QString::fromStdString(test::readFile("QN.cfg")),
                 QString("[Application]\r\nCommunication=COM3;\r\nBitrate=1200;\r\nBits=7;\r\nProtocol=1;\r\nEnergy=1;\r\nLog=1;\r\n"));

        // Applying without touching the energy unit says nothing; the poll
        // interval starts at 1 again.
        TfrmMain again;
        QCOMPARE(again.session().TimeRequest, 1);
        QCOMPARE(again.session().devPort, std::string("COM3"));
        test::whenOpen<TfrmParametr>([](TfrmParametr& d) { d.findChild<QPushButton*>("btnOk")->click(); });
        again.findChild<QAction*>("NParametr")->trigger();
        QCOMPARE(m_messages.size(), std::size_t(1));
    }

    void exitWhileConnectedClosesThePortAndWritesSettings()
    {
        test::SimProcess sim;
        m_fixture.dir().write("QN.cfg", settingsFor(sim.portPath(), 1));
        TfrmMain w;
        connectWindow(w);
        QTRY_COMPARE(w.state(), AppState::ConnectedIdle);
        w.close();
        QCOMPARE(w.session().devHandle(), Session::kInvalidHandle);
        QCOMPARE(w.session().devType, TOrvanDevice::none);
        QCOMPARE(test::readFile("QN.cfg"), settingsFor(sim.portPath(), 1));
    }

    void settingsThatCannotBeWrittenAreReportedAtExit_data()
    {
        QTest::addColumn<test::ScratchPlace::Kind>("kind");
        QTest::newRow("read-only folder") << test::ScratchPlace::Kind::ReadOnly;
        QTest::newRow("full file system") << test::ScratchPlace::Kind::Full;
    }

    void settingsThatCannotBeWrittenAreReportedAtExit()
    {
        QFETCH(test::ScratchPlace::Kind, kind);
        const std::string earlier = settingsFor("COM3", 0);
        const test::ScratchPlace place(kind, "QN.cfg", earlier);
        if (!place.ready())
            QSKIP(place.whyNot().c_str());
        const QString fixtureDir = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(place.path().string()));
        const auto back = qScopeGuard([&] { QDir::setCurrent(fixtureDir); });

        TfrmMain w;
        w.show();
        w.session().devPort = "COM9";
        QVERIFY(w.close());
        QVERIFY(!w.isVisible());
        const std::string file = (place.path() / "QN.cfg").string();
        QCOMPARE(m_messages, (std::vector<UserMessage>{{"Не удалось записать файл " + file + ".", "Ошибка"}}));
        QCOMPARE(test::readFile(file), earlier);
        QCOMPARE(place.names(), std::vector<std::string>{"QN.cfg"});
    }

    void exitDuringConnectionDoesNotWaitForTheDevice()
    {
        test::SimProcess sim({}, "fault request=* silent\n");
        m_fixture.dir().write("QN.cfg", settingsFor(sim.portPath(), 0));
        TfrmMain w;
        w.show();
        connectWindow(w);
        QTRY_COMPARE(w.state(), AppState::Connecting);
        QElapsedTimer timer;
        timer.start();
        w.close();
        QTRY_VERIFY_WITH_TIMEOUT(!w.isVisible(), 1000);
        QVERIFY(timer.elapsed() < 1000);
        QVERIFY(m_messages.empty());
        QCOMPARE(w.session().devHandle(), Session::kInvalidHandle);
        QVERIFY(QFile::exists("QN.cfg"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
