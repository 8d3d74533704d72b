#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

namespace orvanic::test {

// Runs `answer` once a modal dialog of the given kind is open, however
// deeply nested its event loop is.
template <typename Dialog>
void whenOpen(std::function<void(Dialog&)> answer)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            answer(*dialog);
        }
    });
    timer->start(20);
}

}  // namespace orvanic::test
