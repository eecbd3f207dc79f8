// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "KeyLocks.h"

#include <QGuiApplication>

// Xlib's macros (None, Bool, Status, ...) clash with Qt's names: include it last.
#include <X11/XKBlib.h>

namespace {

// The named indicator's state, or empty when the server does not know the name.
std::optional<bool> indicator(Display* display, const char* name) {
    const Atom atom = XInternAtom(display, name, True);
    if (atom == None)
        return std::nullopt;
    Bool on = False;
    if (!XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr))
        return std::nullopt;
    return on != False;
}

} // namespace

std::optional<KeyLockState> readKeyLocks() {
    auto* app = qGuiApp;
    if (!app)
        return std::nullopt;
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->display())
        return std::nullopt;
    Display* display = x11->display();
    const auto caps = indicator(display, "Caps Lock");
    const auto num = indicator(display, "Num Lock");
    const auto scroll = indicator(display, "Scroll Lock");
    if (!caps && !num && !scroll)
        return std::nullopt;
    return KeyLockState{caps.value_or(false), num.value_or(false), scroll.value_or(false)};
}
