#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "app/messages.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"

namespace orvanic::gui {
class TfrmMain;
}

namespace orvanic::test {

// What every window test needs: a folder of its own as the current
// directory (for QN.cfg and QN.log), message boxes caught as values, and a
// window connected to a simulated device.
class WindowFixture {
public:
    void setUp();
    void tearDown();

    TempDir& dir() { return *m_dir; }
    std::vector<UserMessage>& messages() { return m_messages; }
    // The messages caught so far as "text / caption", for comparing lists.
    QStringList messageTexts() const;

    // QN.cfg pointing at the device, so the next window uses it.
    void writeSettings(const std::string& port, int protocol);
    // A window connected over "Подключить" and "Применить"; null when the
    // connection did not come within the time-out.
    std::unique_ptr<gui::TfrmMain> connectedWindow(const SimProcess& sim, int protocol);
    // "Подключить" and "Применить" in a window that exists, to the port
    // given; true once connected, false when the connection failed.
    static bool connectTo(gui::TfrmMain& window, const std::string& port);
    // After a fault: "Отключить", then a connection to a fresh simulated
    // device and one current-data row from it. Empty when all of that
    // worked, else what did not.
    static QString usableAgain(gui::TfrmMain& window);

private:
    std::unique_ptr<TempDir> m_dir;
    QString m_oldDir;
    std::vector<UserMessage> m_messages;
};

}  // namespace orvanic::test
