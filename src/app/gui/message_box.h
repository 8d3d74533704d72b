#pragma once

#include <functional>

#include "app/messages.h"

class QWidget;

namespace orvanic::gui {

// Every message box of the program goes through here: modal, one OK button.
void showMessage(QWidget* parent, const UserMessage& message);

// While a sink is set, messages go to it instead of a box (tests read them
// there). An empty function restores the boxes.
void setMessageSink(std::function<void(const UserMessage&)> sink);

}  // namespace orvanic::gui
