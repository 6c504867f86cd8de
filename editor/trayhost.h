// Which notification areas the desktop offers: the X11 tray that icons are embedded in, and
// the D-Bus hosts that draw the icons of registered status notifier items themselves.
#pragma once

#include <functional>

class QObject;

// Whether the session runs on the X server or a Wayland compositor. Only those two may
// get a notification area later: elsewhere the platform's answer is final.
bool IsX11Session();
bool IsWaylandSession();

// Whether an X11 notification area owns its selection on any screen. False off X11.
bool EmbeddingTrayPresent();

// Whether a status notifier watcher is on the session bus with a host registered, so that
// an item registered with it is shown, asked without waiting: `answer` runs with the result in the
// event loop, unless `context` is gone by then. Without a session bus it runs at once with false.
void AskStatusNotifierHost(QObject* context, std::function<void(bool)> answer);
