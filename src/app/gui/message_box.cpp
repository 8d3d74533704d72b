#include "app/gui/message_box.h"

#include <QMessageBox>

namespace orvanic::gui {
namespace {

std::function<void(const UserMessage&)>& sink()
{
    static std::function<void(const UserMessage&)> s;
    return s;
}

}  // namespace

void showMessage(QWidget* parent, const UserMessage& message)
{
    if (sink()) {
        sink()(message);
        return;
    }
    const bool warning = message.caption != caption::kError;
    QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::Critical, QString::fromStdString(message.caption),
                    QString::fromStdString(message.text), QMessageBox::Ok, parent);
    box.exec();
}

void setMessageSink(std::function<void(const UserMessage&)> s)
{
    sink() = std::move(s);
}

}  // namespace orvanic::gui
