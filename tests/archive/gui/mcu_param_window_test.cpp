// The parameter editor as real widgets (offscreen), against the simulated
// device. The editor is shown without a modal loop of its own, so the test
// drives it the way the operator does.

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>
#include <filesystem>
#include <memory>
#include <sstream>

#include "app/gui/main_window.h"
#include "app/gui/result_table_model.h"
#include "app/session.h"
#include "archive/gui/mcu_param_window.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"
#include "support/window_fixture.h"

using namespace orvanic;
using namespace orvanic::gui;

namespace {

const QStringList kGrids = {"stgMain", "stgAdditional", "stgCoef", "stgParam"};

QTableWidget* grid(QWidget& editor, const QString& name)
{
    return editor.findChild<QTableWidget*>(name);
}

QString headerText(QTableWidget& g, int column)
{
    return g.horizontalHeaderItem(column)->text();
}

void click(QWidget& editor, const char* button)
{
    editor.findChild<QPushButton*>(button)->click();
}

// How many parameter reads (function 03 from register 0, any address) the
// simulator has been sent.
int parameterReads(const std::filesystem::path& requests)
{
    if (!std::filesystem::exists(requests))
        return 0;
    std::istringstream lines(test::readFile(requests));
    int reads = 0;
    for (std::string line; std::getline(lines, line);)
        reads += line.size() > 11 && line.substr(2, 9) == " 03 00 00";
    return reads;
}

// A session with the port open on the simulator, as a connection leaves it,
// without asking the device who it is (a silent device would refuse that).
std::unique_ptr<Session> openSession(const test::SimProcess& sim, std::uint8_t countFields = 6)
{
    auto session = std::make_unique<Session>();
    session->devPort = sim.portPath();
    session->devAddress = 1;
    session->DevStruct.CountFields = countFields;
    if (!OpenPort(*session))
        return nullptr;
    return session;
}

}  // namespace

class McuParamWindowTest : public QObject {
    Q_OBJECT

private:
    test::WindowFixture m_fixture;
    std::vector<UserMessage>& m_messages = m_fixture.messages();

    // Types over a value cell as the operator does: edit it, type, Enter.
    static void typeInto(QTableWidget& g, int row, const QString& text)
    {
        g.window()->findChild<QTabWidget*>("pgcMCUParam")->setCurrentWidget(g.parentWidget());
        g.setCurrentCell(row, 1);
        QTest::keyClick(&g, Qt::Key_F2);
        auto* edit = qobject_cast<QLineEdit*>(g.indexWidget(g.currentIndex()));
        QVERIFY(edit);
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
        QTRY_COMPARE(g.item(row, 1)->text(), text);  // the editor commits on its next turn
    }

private slots:
    void init() { m_fixture.setUp(); }
    void cleanup() { m_fixture.tearDown(); }

    void pagesAndGridsBeforeTheFirstRead()
    {
        Session session;
        TfrmMCUParam editor(session);
        editor.show();
        QCOMPARE(editor.windowTitle(), QString("Редактирование параметров МВУ"));
        QCOMPARE(editor.size(), QSize(592, 391));
        auto* pages = editor.findChild<QTabWidget*>("pgcMCUParam");
        QCOMPARE(pages->count(), 4);
        const QStringList captions = {"Основные", "Расширенные", "Коэффициенты", "Параметры среды"};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(pages->tabText(i), captions[i]);
            QTableWidget* g = grid(editor, kGrids[i]);
            QVERIFY2(g && pages->widget(i)->isAncestorOf(g), qPrintable(kGrids[i]));
            pages->setCurrentIndex(i);
            // The grid fills its page.
            QCOMPARE(g->geometry(), pages->widget(i)->rect());
            QCOMPARE(g->columnCount(), 2);
            QCOMPARE(g->columnWidth(0), 280);
            QCOMPARE(g->columnWidth(1), 280);
            QVERIFY(g->horizontalHeader()->isVisible());
            QVERIFY(!g->verticalHeader()->isVisible());
            QCOMPARE(g->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
            // Two empty rows: the header and one parameter row.
            QCOMPARE(g->rowCount(), 1);
            QCOMPARE(headerText(*g, 0), QString());
            QCOMPARE(headerText(*g, 1), QString());
            QVERIFY(!(g->item(0, 0)->flags() & Qt::ItemIsEditable));
            QVERIFY(g->item(0, 1)->flags() & Qt::ItemIsEditable);
        }
        QCOMPARE(editor.findChild<QPushButton*>("btnMCURead")->text(), QString("Считать"));
        QCOMPARE(editor.findChild<QPushButton*>("btnMCUWrite")->text(), QString("Записать"));
    }

    void aReadFillsTheHeaderRowsAndASecondClickIsIgnored()
    {
        const std::filesystem::path requests = m_fixture.dir().path() / "requests.txt";
        test::SimProcess sim({"--record", requests.string()});
        auto w = m_fixture.connectedWindow(sim, 0);  // the read is Modbus all the same
        QVERIFY(w);
        w->show();
        // A poll stopped just before: its stop must not cut the read short.
        w->findChild<QAction*>("btnCurrentData")->trigger();
        QTRY_COMPARE(w->table().rowCount(), 1);
        w->findChild<QAction*>("btnCurrentData")->trigger();
        QTRY_COMPARE(w->state(), AppState::ConnectedIdle);
        TfrmMCUParam editor(w->session(), w.get());
        editor.show();
        QVERIFY((editor.frameGeometry().center() - w->frameGeometry().center()).manhattanLength() <= 4);
        typeInto(*grid(editor, "stgCoef"), 0, "12,5");
        click(editor, "btnMCURead");
        click(editor, "btnMCURead");
        for (const QString& name : kGrids) {
            QTableWidget& g = *grid(editor, name);
            QTRY_COMPARE(headerText(g, 1), QString("Значение параметра"));
            QCOMPARE(g.rowCount(), 0);  // no parameter of the device is known
        }
        QTest::qWait(300);
        QCOMPARE(parameterReads(requests), 1);
        QVERIFY(m_messages.empty());
        QCOMPARE(w->state(), AppState::ConnectedIdle);
    }

    void aFailedReadIsReported_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<int>("countFields");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("caption");
        QTest::newRow("silent") << "fault request=* silent\n" << 6 << "Устройство не отвечает." << "Сообщение об ошибке";
        QTest::newRow("checksum") << "fault request=* crc\n" << 6 << "Ошибка CRC" << "Внимание";
        QTest::newRow("cut short") << "fault request=* short=6\n" << 6 << "Ошибка CRC" << "Внимание";
        // 2 x 127 + 2 registers kept to 8 bits asks for none, which the device refuses.
        QTest::newRow("refused") << "" << 127 << "Прибор отказал в чтении параметров (код ошибки 3)." << "Внимание";
    }

    void aFailedReadIsReported()
    {
        QFETCH(QString, scenario);
        QFETCH(int, countFields);
        QFETCH(QString, text);
        QFETCH(QString, caption);
        test::SimProcess sim({}, scenario.toStdString());
        auto session = openSession(sim, static_cast<std::uint8_t>(countFields));
        QVERIFY(session);
        TfrmMCUParam editor(*session);
        editor.show();
        click(editor, "btnMCURead");
        QTRY_COMPARE_WITH_TIMEOUT(m_messages.size(), std::size_t(1), 10000);
        QCOMPARE(QString::fromStdString(m_messages[0].text), text);
        QCOMPARE(QString::fromStdString(m_messages[0].caption), caption);
        for (const QString& name : kGrids) {
            QCOMPARE(grid(editor, name)->rowCount(), 1);
            QCOMPARE(headerText(*grid(editor, name), 1), QString());
        }
        QVERIFY(editor.isVisible());
    }

    void closingDuringAReadEndsItAtOnce()
    {
        test::SimProcess sim({}, "fault request=* silent\n");
        auto session = openSession(sim);
        QVERIFY(session);
        auto editor = std::make_unique<TfrmMCUParam>(*session);
        editor->show();
        click(*editor, "btnMCURead");
        QTest::qWait(300);  // the read is waiting for the answer now
        QElapsedTimer closing;
        closing.start();
        editor->close();
        QTRY_VERIFY_WITH_TIMEOUT(!editor->isVisible(), 2000);
        QVERIFY2(closing.elapsed() < 1000, qPrintable(QString::number(closing.elapsed())));
        editor.reset();
        QVERIFY(!session->link.port.interrupted());  // the next exchange is not cut short
        QTest::qWait(100);
        QVERIFY(m_messages.empty());

        // Destroying a window whose read still runs waits for it, briefly.
        editor = std::make_unique<TfrmMCUParam>(*session);
        click(*editor, "btnMCURead");
        QTest::qWait(100);
        closing.restart();
        editor.reset();
        QVERIFY(closing.elapsed() < 1000);
        QVERIFY(!session->link.port.interrupted());
    }

    void writeNamesATextThatIsNoNumberAndSendsNothing()
    {
        const std::filesystem::path requests = m_fixture.dir().path() / "requests.txt";
        test::SimProcess sim({"--record", requests.string()});
        auto session = openSession(sim);
        QVERIFY(session);
        TfrmMCUParam editor(*session);
        editor.show();
        QTableWidget& coef = *grid(editor, "stgCoef");
        for (const QString& name : kGrids)
            typeInto(*grid(editor, name), 0, "1,5");
        typeInto(coef, 0, "abc");

        click(editor, "btnMCUWrite");
        QTRY_COMPARE(m_messages.size(), std::size_t(1));
        const QString told = QString::fromStdString(m_messages[0].text);
        for (const char* part : {"\"Коэффициенты\"", "параметр 1", "\"abc\""})
            QVERIFY2(told.contains(part), qPrintable(told));

        // Every value a number: nothing is known to write them to.
        typeInto(coef, 0, "-2,25E3");
        click(editor, "btnMCUWrite");
        QTRY_COMPARE(m_messages.size(), std::size_t(2));
        QCOMPARE(QString::fromStdString(m_messages[1].text),
                 QString("Список параметров прибора программе пока не известен, поэтому ничего не записано."));
        QTest::qWait(200);
        QVERIFY(!std::filesystem::exists(requests) || test::readFile(requests).empty());
    }
};

QTEST_MAIN(McuParamWindowTest)
#include "mcu_param_window_test.moc"
