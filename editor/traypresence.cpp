// The main window's tray icon, through whichever notification area the desktop offers.
#include "traypresence.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

#include "common/taskbar.h"
#include "trayhost.h"

TrayPresence::TrayPresence(QWidget* window, QMenu* menu)
    : QObject(window), window_(window), menu_(menu) {}

void TrayPresence::showIfUnreachable() {
  if (hidesWindow() || window_->isVisible()) return;
  window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
  window_->show();
}

bool TrayPresence::hidesWindow() const {
  if (!icon_ || !icon_->isVisible()) return false;
  // An icon stays with the protocol it started with, so only that protocol's host counts.
  if (IsX11Session() || IsWaylandSession())
    return iconIsEmbedded() ? EmbeddingTrayPresent() : sniHost_;
  return QSystemTrayIcon::isSystemTrayAvailable();
}

bool TrayPresence::iconIsEmbedded() const {
  // An icon embedded in an X11 tray is a window of its own with a place on screen; an item
  // that a D-Bus host draws has none. A single click only ever comes from the former.
  return icon_ && icon_->geometry().isValid();
}

bool TrayPresence::hostAvailable() const {
  if (IsX11Session()) return EmbeddingTrayPresent() || sniHost_;
  if (IsWaylandSession()) return sniHost_;
  return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayPresence::updateTaskbarEntry() {
  SetTaskbarEntry(window_, !hidesWindow());
}

void TrayPresence::restoreWindow() {
  // Leaving the minimized state maps a window hidden in the tray at once, before show()
  // runs: the taskbar hint goes on first, so that the window manager never takes the window
  // back without it.
  updateTaskbarEntry();
  // A Wayland compositor minimizes or hides a window without telling it, and a client has
  // no way to ask for it back; a window mapped afresh is put on screen by every compositor.
  // One that has the focus is plainly on screen already.
  if (IsWaylandSession() && window_->isVisible() && !window_->isActiveWindow()) window_->hide();
  window_->setWindowState((window_->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized)) |
                          Qt::WindowActive);
  window_->show();
  window_->raise();
  window_->activateWindow();
}

void TrayPresence::createIcon() {
  auto* icon = new QSystemTrayIcon(window_->windowIcon(), window_);
  icon->setObjectName(QStringLiteral("TrayIcon"));
  icon->setToolTip(window_->windowTitle());
  // The tray menu belongs to the icon rather than being popped up by hand: a D-Bus host
  // receives it as an exported menu and draws it at the tray itself (a menu of ours would
  // have no place there, and on Wayland no parent to open from), and an X11 tray gets it
  // at the pointer on a right click.
  icon->setContextMenu(menu_);
  connect(window_, &QWidget::windowIconChanged, icon, &QSystemTrayIcon::setIcon);
  connect(icon, &QSystemTrayIcon::activated, this, &TrayPresence::activated);
  // An X11 tray's icon is a widget of Qt's own, made and remade as trays come and go: its
  // mouse events are watched on their way to it.
  qApp->removeEventFilter(this);
  qApp->installEventFilter(this);
  icon_ = icon;
  icon->show();
}

bool TrayPresence::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if ((type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease) ||
      !watched->inherits("QSystemTrayIconSys"))
    return false;
  const auto* mouse = static_cast<QMouseEvent*>(event);
  if (mouse->button() != Qt::RightButton) return false;
  if (type == QEvent::MouseButtonRelease && icon_ && icon_->isVisible())
    menu_->popup(mouse->globalPosition().toPoint());
  return true;
}

void TrayPresence::check() {
  if (!wanted_) {
    watch_->stop();
    return;
  }
  const bool available = hostAvailable();
  if (available && !icon_) {
    // A panel that has just started may offer its X11 tray before its D-Bus host: an X11
    // tray gets one more look before the icon settles on a protocol for good.
    if (hostSeen_ || sniHost_) createIcon();
  } else if (available && !icon_->isVisible()) {
    icon_->show();
  }
  hostSeen_ = available;
  const bool hides = hidesWindow();
  if (hides != hidesWindow_) {
    hidesWindow_ = hides;
    updateTaskbarEntry();
  }
  showIfUnreachable();
}

void TrayPresence::watch() {
  // The notification area can come and go with the panel that holds it. One that starts
  // after quorpad gets the icon as soon as it is there; one that goes away while the
  // window hides in it brings the window back on screen, with a taskbar entry, since
  // nothing else could.
  if (!watch_) {
    watch_ = new QTimer(this);
    watch_->setInterval(2000);
    connect(watch_, &QTimer::timeout, this, [this] {
      if (!IsX11Session() && !IsWaylandSession()) {
        check();
        return;
      }
      AskStatusNotifierHost(this, [this](bool present) {
        sniHost_ = present;
        check();
      });
    });
  }
  hidesWindow_ = hidesWindow();
  watch_->start();
}

void TrayPresence::add() {
  if (wanted_) return;
  wanted_ = true;
  watch();
  // Qt settles on one tray protocol for the whole process when the first icon is made:
  // the D-Bus one where a status notifier host is there, else the X11 one. Made before
  // any tray exists, the icon would never reach one that starts later (on Wayland, none at
  // all), so on those desktops it waits for a notification area. The session bus is
  // reached and the host asked once the window is up, and without waiting for the answer:
  // the icon goes up when it comes.
  if (IsX11Session() || IsWaylandSession()) {
    QTimer::singleShot(0, this, [this] {
      AskStatusNotifierHost(this, [this](bool present) {
        if (!wanted_ || icon_) return;
        sniHost_ = present;
        if (hostAvailable()) createIcon();
        hidesWindow_ = hidesWindow();
        updateTaskbarEntry();
      });
    });
  } else {
    createIcon();
  }
  updateTaskbarEntry();
}

void TrayPresence::remove() {
  wanted_ = false;
  if (watch_) watch_->stop();
  if (!icon_) return;
  QSystemTrayIcon* icon = icon_;
  icon_ = nullptr;
  icon->hide();
  icon->deleteLater();
}
