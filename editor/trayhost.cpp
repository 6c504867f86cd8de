// Looks for the notification areas of the desktop: the X11 tray selection, and the status
// notifier watcher on the session bus.
#include "trayhost.h"

#include <xcb/xcb.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QPointer>
#include <cstdlib>
#include <string>

namespace {

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");

QDBusMessage HostQuestion() {
  QDBusMessage get = QDBusMessage::createMethodCall(
      kWatcherService, kWatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
      QStringLiteral("Get"));
  get << kWatcherService << QStringLiteral("IsStatusNotifierHostRegistered");
  return get;
}

bool HostAnswer(const QDBusMessage& reply) {
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return false;
  return reply.arguments().first().value<QDBusVariant>().variant().toBool();
}

}  // namespace

bool IsX11Session() {
  return QGuiApplication::platformName() == QLatin1String("xcb");
}

bool IsWaylandSession() {
  return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool EmbeddingTrayPresent() {
  if (!IsX11Session()) return false;
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* c = x11 ? x11->connection() : nullptr;
  if (!c) return false;
  const int screens = xcb_setup_roots_length(xcb_get_setup(c));
  bool present = false;
  for (int screen = 0; screen < screens && !present; ++screen) {
    const std::string name = "_NET_SYSTEM_TRAY_S" + std::to_string(screen);
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 1, static_cast<uint16_t>(name.size()), name.c_str()), nullptr);
    if (!atom) continue;
    // An atom nobody ever asked for cannot name an owned selection.
    if (atom->atom != XCB_ATOM_NONE) {
      if (xcb_get_selection_owner_reply_t* owner =
              xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom->atom), nullptr)) {
        present = owner->owner != XCB_WINDOW_NONE;
        std::free(owner);
      }
    }
    std::free(atom);
  }
  return present;
}

void AskStatusNotifierHost(QObject* context, std::function<void(bool)> answer) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    answer(false);
    return;
  }
  // A watcher that hangs must not hang the window: the answer comes when it comes, and a
  // missing watcher answers with an error at once.
  auto* pending = new QDBusPendingCallWatcher(bus.asyncCall(HostQuestion(), 2000), context);
  QObject::connect(pending, &QDBusPendingCallWatcher::finished, context,
                   [answer = std::move(answer)](QDBusPendingCallWatcher* call) {
                     call->deleteLater();
                     answer(HostAnswer(call->reply()));
                   });
}
