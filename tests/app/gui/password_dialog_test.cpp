// The service password in front of the parameter editor (offscreen).

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include "app/gui/main_window.h"
#include "app/gui/password_dialog.h"
#include "app/session.h"
#include "archive/gui/mcu_param_window.h"
#include "support/modal_dialog.h"
#include "support/sim_process.h"
#include "support/window_fixture.h"

using namespace orvanic;
using namespace orvanic::gui;

Q_DECLARE_METATYPE(orvanic::TOrvanDevice)

namespace {

// Notes the parameter editor when it opens, while this object lives, and
// closes it at once.
class EditorWatch {
public:
    EditorWatch()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (auto* editor = qobject_cast<TfrmMCUParam*>(QApplication::activeModalWidget())) {
                m_openedAfterMs = m_clock.elapsed();
                m_pages = editor->findChild<QTabWidget*>("pgcMCUParam")->count();
                editor->reject();
            }
        });
        m_clock.start();
        m_timer.start(10);
    }

    void restartClock() { m_clock.start(); }
    bool opened() const { return m_openedAfterMs >= 0; }
    qint64 openedAfterMs() const { return m_openedAfterMs; }
    int pages() const { return m_pages; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_openedAfterMs = -1;
    int m_pages = 0;
};

}  // namespace

class PasswordTest : public QObject {
    Q_OBJECT

private:
    test::WindowFixture m_fixture;

private slots:
    void init() { m_fixture.setUp(); }
    void cleanup() { m_fixture.tearDown(); }

    void dialogLooks()
    {
        Session session;
        TfrmPassword dialog(session);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QString("Введите пароль"));
        QCOMPARE(dialog.size(), QSize(192, 86));
        QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));
        QCOMPARE(dialog.findChild<QPushButton*>("btnOk")->text(), QString("Подтвердить"));
        QCOMPARE(dialog.findChild<QPushButton*>("btnCancel")->text(), QString("Отмена"));
        auto* show = dialog.findChild<QCheckBox*>("ckbPasswd");
        QCOMPARE(show->text(), QString("Показать символы"));
        QVERIFY(!show->isChecked());
        auto* edit = dialog.findChild<QLineEdit*>("edtPasswd");
        QVERIFY(edit->text().isEmpty());
        QTest::keyClicks(edit, "abc");
        QCOMPARE(edit->echoMode(), QLineEdit::Password);
        QCOMPARE(edit->displayText(), QString("***"));
    }

    void acceptsOnlyThePasswordOfTheConnectedModel_data()
    {
        QTest::addColumn<TOrvanDevice>("model");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("pass");
        QTest::newRow("B8, its own") << TOrvanDevice::mcuB8 << "K*P*W*" << "btnOk" << 1;
        QTest::newRow("B8, the others'") << TOrvanDevice::mcuB8 << "B*X*Q*" << "btnOk" << 0;
        QTest::newRow("B8, lower case") << TOrvanDevice::mcuB8 << "k*p*w*" << "btnOk" << 0;
        QTest::newRow("A40") << TOrvanDevice::mcuA40 << "B*X*Q*" << "btnOk" << 1;
        QTest::newRow("A40, the B8's") << TOrvanDevice::mcuA40 << "K*P*W*" << "btnOk" << 0;
        QTest::newRow("C10.3") << TOrvanDevice::mcuC103 << "B*X*Q*" << "btnOk" << 1;
        QTest::newRow("B9 is not B8") << TOrvanDevice::mcuB9 << "K*P*W*" << "btnOk" << 0;
        QTest::newRow("none") << TOrvanDevice::none << "B*X*Q*" << "btnOk" << 1;
        QTest::newRow("none, the B8's") << TOrvanDevice::none << "K*P*W*" << "btnOk" << 0;
        QTest::newRow("one letter's case") << TOrvanDevice::mcuA40 << "B*x*Q*" << "btnOk" << 0;
        QTest::newRow("trailing space") << TOrvanDevice::mcuA40 << "B*X*Q* " << "btnOk" << 0;
        QTest::newRow("leading space") << TOrvanDevice::mcuA40 << " B*X*Q*" << "btnOk" << 0;
        QTest::newRow("a part") << TOrvanDevice::mcuA40 << "B*X*Q" << "btnOk" << 0;
        QTest::newRow("empty") << TOrvanDevice::mcuA40 << "" << "btnOk" << 0;
        QTest::newRow("cancel, right entry") << TOrvanDevice::mcuA40 << "B*X*Q*" << "btnCancel" << 0;
    }

    void acceptsOnlyThePasswordOfTheConnectedModel()
    {
        QFETCH(TOrvanDevice, model);
        QFETCH(QString, entry);
        QFETCH(QString, button);
        QFETCH(int, pass);
        Session session;
        session.devType = model;
        TfrmPassword dialog(session);
        dialog.show();
        QTest::keyClicks(dialog.findChild<QLineEdit*>("edtPasswd"), entry);
        dialog.findChild<QPushButton*>(button)->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(int(session.Pass), pass);
        QVERIFY(m_fixture.messages().empty());
    }

    void showingTheCharactersKeepsTheEntry()
    {
        Session session;
        TfrmPassword dialog(session);
        dialog.show();
        auto* edit = dialog.findChild<QLineEdit*>("edtPasswd");
        auto* show = dialog.findChild<QCheckBox*>("ckbPasswd");
        QTest::keyClicks(edit, "B*X*Q*");
        QTest::mouseClick(show, Qt::LeftButton);
        QCOMPARE(edit->echoMode(), QLineEdit::Normal);
        QCOMPARE(edit->displayText(), QString("B*X*Q*"));
        QTest::mouseClick(show, Qt::LeftButton);
        QCOMPARE(edit->echoMode(), QLineEdit::Password);
        QCOMPARE(edit->text(), QString("B*X*Q*"));
        QTest::keyClicks(edit, "x");  // typing goes on where it was
        QCOMPARE(edit->text(), QString("B*X*Q*x"));
    }

    void theEditorOpensWithinASecondOfACorrectPasswordOnly_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("opens");
        QTest::newRow("correct") << "B*X*Q*" << true;
        QTest::newRow("wrong") << "K*P*W*" << false;
    }

    void theEditorOpensWithinASecondOfACorrectPasswordOnly()
    {
        QFETCH(QString, entry);
        QFETCH(bool, opens);
        test::SimProcess sim;
        auto w = m_fixture.connectedWindow(sim, 0);
        QVERIFY(w);
        w->show();
        EditorWatch editor;
        QPoint offCentre;
        test::whenOpen<TfrmPassword>([&](TfrmPassword& d) {
            offCentre = d.frameGeometry().center() - w->frameGeometry().center();
            QTest::keyClicks(d.findChild<QLineEdit*>("edtPasswd"), entry);
            d.findChild<QPushButton*>("btnOk")->click();
            editor.restartClock();
        });
        w->findChild<QAction*>("btnMCUParam")->trigger();
        QVERIFY2(offCentre.manhattanLength() <= 4, qPrintable(QString("%1, %2").arg(offCentre.x()).arg(offCentre.y())));
        if (opens) {
            // Until it opens, nothing may start an exchange that would run under it.
            QVERIFY(editor.opened() || !w->findChild<QAction*>("btnCurrentData")->isEnabled());
            QTRY_VERIFY_WITH_TIMEOUT(editor.opened(), 3000);
            QVERIFY2(editor.openedAfterMs() <= 1200, qPrintable(QString::number(editor.openedAfterMs())));
            QCOMPARE(editor.pages(), 4);
        } else {
            QTest::qWait(1500);
            QVERIFY(!editor.opened());
        }
        QCOMPARE(int(w->session().Pass), 0);
        // Once the editor has been and gone, the device commands are back.
        QTRY_VERIFY(w->findChild<QAction*>("btnCurrentData")->isEnabled());
        QVERIFY(w->findChild<QAction*>("btnMCUParam")->isEnabled());
        QVERIFY(m_fixture.messages().empty());
    }
};

QTEST_MAIN(PasswordTest)
#include "password_dialog_test.moc"
