#include "app/gui/port_list.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

#include "link/port_name.h"

namespace orvanic::gui {
namespace {

constexpr int kMaxPortNames = 100;

}  // namespace

QStringList FindComPorts(const QString& configuredPort)
{
    QStringList names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        names << info.portName();
    for (const QFileInfo& link : QDir("/dev/serial/by-id").entryInfoList(QDir::System | QDir::Files))
        names << link.absoluteFilePath();
    const QString configuredPath = QString::fromStdString(portPath(configuredPort.toStdString()));
    if (!configuredPort.isEmpty() && !names.contains(configuredPort) && QFileInfo::exists(configuredPath))
        names << configuredPort;
    names.removeDuplicates();
    return names.mid(0, kMaxPortNames);
}

}  // namespace orvanic::gui
