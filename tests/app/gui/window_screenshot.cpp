// Saves pictures of the main window connected to the simulated device, and
// of its dialogs, for the README and for looking at what the operator sees.
// Run under a display, with Russian regional formats, e.g.:
//   LANG=ru_RU.UTF-8 xvfb-run -a build/tests/window_screenshot docs

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLineEdit>
#include <QTableWidget>
#include <QThread>
#include <QTimer>

#include "app/gui/main_window.h"
#include "app/gui/result_table_model.h"
#include "app/gui/parametr_dialog.h"
#include "app/gui/password_dialog.h"
#include "archive/gui/mcu_param_window.h"
#include "archive/gui/archive_dialog.h"
#include "link/gui/connection_dialog.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"

using namespace orvanic;

namespace {

void save(QWidget& widget, const QString& folder, const QString& name)
{
    widget.grab().save(folder + "/" + name);
}

void waitFor(const std::function<bool()>& done)
{
    for (int i = 0; i < 200 && !done(); ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(25);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QDir(argv[1]).absolutePath() : QDir::currentPath();
    test::SimProcess sim({"--protocol", "auto"}, "fault period=04.03.2017 times=1 crc\nfault period=08.03.2017 nodata\n");
    test::TempDir dir;
    dir.write("QN.cfg", "[Application]\r\nCommunication=" + sim.portPath()
                            + ";\r\nBitrate=9600;\r\nBits=8;\r\nProtocol=0;\r\nEnergy=0;\r\nLog=0;\r\n");
    QDir::setCurrent(QString::fromStdString(dir.path().string()));

    gui::TfrmMain window;
    window.show();
    QTimer::singleShot(300, [&] {
        auto* dialog = qobject_cast<gui::TfrmConnection*>(QApplication::activeModalWidget());
        save(*dialog, folder, "connection-dialog.png");
        dialog->findChild<QWidget*>("btnOk")->setFocus();
        QMetaObject::invokeMethod(dialog->findChild<QObject*>("btnOk"), "click");
    });
    window.findChild<QAction*>("btnConnect")->trigger();
    waitFor([&] { return window.state() == AppState::ConnectedIdle; });
    waitFor([] { return false; });
    save(window, folder, "main-window.png");

    window.findChild<QAction*>("btnCurrentData")->trigger();
    waitFor([&] { return window.table().rowCount() == 1; });
    waitFor([] { return false; });
    save(window, folder, "current-data.png");
    window.findChild<QAction*>("btnCurrentData")->trigger();
    waitFor([&] { return window.state() == AppState::ConnectedIdle; });

    QTimer::singleShot(300, [&] {
        auto* dialog = qobject_cast<gui::TfrmArchive*>(QApplication::activeModalWidget());
        dialog->findChild<QComboBox*>("cmbType")->setCurrentIndex(1);
        dialog->findChild<QDateEdit*>("edtBeginDate")->setDate(QDate(2017, 3, 1));
        dialog->findChild<QDateEdit*>("edtEndDate")->setDate(QDate(2017, 3, 20));
        save(*dialog, folder, "archive-dialog.png");
        QMetaObject::invokeMethod(dialog->findChild<QObject*>("btnRead"), "click");
    });
    window.findChild<QAction*>("btnReadData")->trigger();
    waitFor([&] { return window.state() == AppState::ConnectedIdle; });
    waitFor([] { return false; });
    save(window, folder, "archive-table.png");

    QTimer::singleShot(300, [&] {
        auto* dialog = qobject_cast<gui::TfrmParametr*>(QApplication::activeModalWidget());
        save(*dialog, folder, "settings-dialog.png");
        dialog->close();
    });
    window.findChild<QAction*>("btnParametr")->trigger();

    QTimer::singleShot(300, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        save(*dialog, folder, "fields-dialog.png");
        dialog->close();
    });
    window.findChild<QAction*>("NConfigFields")->trigger();

    gui::TfrmPassword password(window.session(), &window);
    password.show();
    password.findChild<QLineEdit*>("edtPasswd")->setText("B*X*Q*");
    int turns = 0;
    waitFor([&] { return ++turns > 10; });
    save(password, folder, "password.png");
    password.close();

    gui::TfrmMCUParam editor(window.session(), &window);
    editor.show();
    QMetaObject::invokeMethod(editor.findChild<QObject*>("btnMCURead"), "click");
    waitFor([&] {
        const QTableWidgetItem* header = editor.findChild<QTableWidget*>("stgMain")->horizontalHeaderItem(1);
        return header->text() == "Значение параметра";
    });
    save(editor, folder, "mcu-param.png");
    editor.close();
    window.DisConnect();
    return 0;
}
