// "Конфигуратор полей" in the real window (offscreen).

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include "app/gui/main_window.h"
#include "files/gui/fields_dialog.h"
#include "link/cp1251.h"
#include "support/modal_dialog.h"
#include "support/window_fixture.h"

using namespace orvanic;
using namespace orvanic::gui;

class FieldsDialogTest : public QObject {
    Q_OBJECT

    test::WindowFixture m_fixture;

    // Opens the dialog, lets `act` work on it, and waits until it is closed.
    static void withDialog(TfrmMain& w, std::function<void(TfrmFields&)> act)
    {
        test::whenOpen<TfrmFields>(std::move(act));
        w.findChild<QAction*>("NConfigFields")->trigger();
    }

    static QTreeWidget& list(TfrmFields& d) { return *d.findChild<QTreeWidget*>("lstFields"); }

    static void menuItem(TfrmFields& d, const char* name) { d.findChild<QMenu*>("ppmFields")->findChild<QAction*>(name)->trigger(); }

private slots:
    void init() { m_fixture.setUp(); }
    void cleanup() { m_fixture.tearDown(); }

    void applySaveAndLoad()
    {
        test::SimProcess sim;
        auto w = m_fixture.connectedWindow(sim, 0);
        QVERIFY(w);
        w->session().pfPath = m_fixture.dir().path().string() + "/";
        QVERIFY(w->findChild<QAction*>("NConfigFields")->isEnabled());

        // Every box cleared and applied: column 0 stays selected.
        withDialog(*w, [](TfrmFields& d) {
            QCOMPARE(d.windowTitle(), QString("Конфигуратор полей"));
            QCOMPARE(list(d).topLevelItemCount(), 6);
            for (int i = 0; i < list(d).topLevelItemCount(); ++i)
                list(d).topLevelItem(i)->setCheckState(0, Qt::Unchecked);
            menuItem(d, "NSave");
            d.findChild<QPushButton*>("btnOk")->click();
        });
        QCOMPARE(int(w->session().FieldsList.FixCount), 1);
        QVERIFY(w->session().FieldsList.FieldItem[0].Flag);
        QCOMPARE(QString::fromStdString(cp1251ToUtf8(test::readFile(m_fixture.dir().path() / "X-A40_1.cfg"))),
                 QString("Дата и время#1\r\nW1 [ГДж]#0\r\nV1 [м3]#0\r\nT1 [°С]#0\r\ntраб#0\r\nСтатус#0\r\n"));

        // A loaded file changes only the boxes; closing without applying keeps the selection.
        m_fixture.dir().write("X-A40_1.cfg", utf8ToCp1251("V1 [м3]#1\r\nСтатус#1\r\n"));
        withDialog(*w, [](TfrmFields& d) {
            menuItem(d, "NLoad");
            QCOMPARE(list(d).topLevelItem(2)->checkState(0), Qt::Checked);
            QCOMPARE(list(d).topLevelItem(5)->checkState(0), Qt::Checked);
            d.close();
        });
        QCOMPARE(int(w->session().FieldsList.FixCount), 1);

        m_fixture.dir().write("X-A40_1.cfg", "bad\r\n");
        withDialog(*w, [](TfrmFields& d) {
            menuItem(d, "NLoad");
            d.close();
        });
        QCOMPARE(m_fixture.messages().size(), std::size_t(1));
        QCOMPARE(m_fixture.messages()[0], (UserMessage{"Повреждена структура файла.", "Внимание"}));

        w->DisConnect();
        QVERIFY(!w->findChild<QAction*>("NConfigFields")->isEnabled());
    }
};

QTEST_MAIN(FieldsDialogTest)
#include "fields_dialog_test.moc"
