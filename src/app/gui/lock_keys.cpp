#include "app/gui/lock_keys.h"

#include <QGuiApplication>
#include <X11/XKBlib.h>

namespace orvanic::gui {
namespace {

bool indicatorOn(Display* display, const char* name)
{
    const Atom atom = XInternAtom(display, name, True);
    Bool on = False;
    return atom != None && XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr) && on;
}

}  // namespace

std::optional<LockKeys> readLockKeys()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display)
        return std::nullopt;
    return LockKeys{indicatorOn(display, "Caps Lock"), indicatorOn(display, "Num Lock"), indicatorOn(display, "Scroll Lock")};
}

}  // namespace orvanic::gui
