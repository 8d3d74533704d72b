#include "support/window_fixture.h"

#include <QAction>
#include <QDir>
#include <QPushButton>
#include <QTest>

#include "app/gui/main_window.h"
#include "app/gui/result_table_model.h"
#include "app/gui/message_box.h"
#include "app/settings.h"
#include "link/gui/connection_dialog.h"
#include "support/modal_dialog.h"

namespace orvanic::test {

void WindowFixture::setUp()
{
    m_dir = std::make_unique<TempDir>();
    m_oldDir = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(m_dir->path().string()));
    m_messages.clear();
    gui::setMessageSink([this](const UserMessage& m) { m_messages.push_back(m); });
}

void WindowFixture::tearDown()
{
    gui::setMessageSink({});
    QDir::setCurrent(m_oldDir);
    m_dir.reset();
}

QStringList WindowFixture::messageTexts() const
{
    QStringList out;
    for (const UserMessage& m : m_messages)
        out << QString::fromStdString(m.text) + " / " + QString::fromStdString(m.caption);
    return out;
}

void WindowFixture::writeSettings(const std::string& port, int protocol)
{
    m_dir->write("QN.cfg", formatSettings(Settings{port, "9600", 8, static_cast<std::uint8_t>(protocol), 0, false}));
}

std::unique_ptr<gui::TfrmMain> WindowFixture::connectedWindow(const SimProcess& sim, int protocol)
{
    writeSettings(sim.portPath(), protocol);
    auto w = std::make_unique<gui::TfrmMain>();
    whenOpen<gui::TfrmConnection>([](gui::TfrmConnection& d) { d.findChild<QPushButton*>("btnOk")->click(); });
    w->findChild<QAction*>("btnConnect")->trigger();
    if (!QTest::qWaitFor([&] { return w->state() == AppState::ConnectedIdle; }, 5000))
        return nullptr;
    return w;
}

bool WindowFixture::connectTo(gui::TfrmMain& window, const std::string& port)
{
    window.session().devPort = port;
    // After "Отключить" the command returns once the last worker has ended.
    if (!QTest::qWaitFor([&] { return window.findChild<QAction*>("btnConnect")->isEnabled(); }, 5000))
        return false;
    whenOpen<gui::TfrmConnection>([](gui::TfrmConnection& d) { d.findChild<QPushButton*>("btnOk")->click(); });
    window.findChild<QAction*>("btnConnect")->trigger();
    return QTest::qWaitFor([&] { return window.state() != AppState::Connecting; }, 6000)
        && window.state() == AppState::ConnectedIdle;
}

QString WindowFixture::usableAgain(gui::TfrmMain& window)
{
    window.findChild<QAction*>("btnDisconnect")->trigger();
    if (window.state() != AppState::NotConnected)
        return "\"Отключить\" left the window connected";
    const SimProcess fresh;
    if (!connectTo(window, fresh.portPath()))
        return "no connection to a fresh device";
    window.findChild<QAction*>("btnCurrentData")->trigger();
    const bool shown = QTest::qWaitFor([&] { return window.table().rowCount() == 1; }, 3000);
    window.findChild<QAction*>("btnCurrentData")->trigger();
    if (!QTest::qWaitFor([&] { return window.state() == AppState::ConnectedIdle; }, 2000))
        return "the poll of the fresh device did not stop";
    if (!shown || window.table().rows()[0].cells.value(0) != "100")
        return "the fresh device's first row did not come";
    window.findChild<QAction*>("btnDisconnect")->trigger();
    return {};
}

}  // namespace orvanic::test
