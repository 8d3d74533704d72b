#pragma once

#include <QMetaObject>
#include <QObject>
#include <functional>
#include <future>
#include <memory>

namespace orvanic::gui {

// Runs `work` on the thread of `context` (a window) and waits until it has
// run, or until the call was dropped with its window. The wait goes through
// the standard library rather than Qt's blocking call, so that thread
// checkers see that the worker's data is read before the worker goes on.
inline void runOnGui(QObject* context, std::function<void()> work)
{
    auto ran = std::make_shared<std::promise<void>>();
    std::future<void> done = ran->get_future();
    QMetaObject::invokeMethod(
        context,
        [work = std::move(work), ran] {
            work();
            ran->set_value();
        },
        Qt::QueuedConnection);
    // A call dropped unrun destroys the promise, which ends the wait too.
    done.wait();
}

}  // namespace orvanic::gui
