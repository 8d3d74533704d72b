#include "support/window_fixture.h"

#include <QAction>
#include <QDir>
#include <QPushButton>
#include <QTest>

#include "app/gui/main_window.h"
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

}  // namespace orvanic::test
