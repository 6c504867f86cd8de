// The main window's place in the notification area: its tray icon, the tray protocol that
// carries it, and whether the window may hide there.
#pragma once

#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>

class QMenu;
class QTimer;
class QWidget;

class TrayPresence : public QObject {
  Q_OBJECT

 public:
  // `window` is the window the icon stands for, `menu` the icon's tray menu.
  TrayPresence(QWidget* window, QMenu* menu);

  // Puts the icon up, or waits for a notification area to put it in, and keeps watching.
  void add();
  // Takes the icon down; nothing happens when it is not up.
  void remove();

  QSystemTrayIcon* icon() const { return icon_; }
  // Whether minimizing hides the window: only while the icon is there to bring it back.
  bool hidesWindow() const;
  // Whether the icon is embedded in an X11 tray rather than drawn by a D-Bus host.
  bool iconIsEmbedded() const;
  // With the icon up the window has no taskbar entry; without it, the taskbar is the only
  // way back to a minimized window.
  void updateTaskbarEntry();
  // Brings the window back from the tray: normal state, shown, raised and active.
  void restoreWindow();
  // Shows the window when it is hidden with no tray icon to bring it back.
  void showIfUnreachable();

 Q_SIGNALS:
  // The icon was clicked.
  void activated(QSystemTrayIcon::ActivationReason reason);

 protected:
  // In an X11 tray the right button's press would open the menu; it opens on the release,
  // as a right click does everywhere else in quorpad.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool hostAvailable() const;
  void createIcon();
  void check();
  void watch();

  QWidget* window_;
  QMenu* menu_;
  QPointer<QSystemTrayIcon> icon_;
  QTimer* watch_ = nullptr;
  bool wanted_ = false;       // between add() and remove()
  bool sniHost_ = false;      // a status notifier host, as last asked
  bool hostSeen_ = false;     // a notification area was there at the last look
  bool hidesWindow_ = false;  // as the watch last saw it
};
