// Pasting into the window that had the keyboard: X11 through XTest, Wayland through wtype.
#include "editor/pasteinto.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "trayhost.h"

// Xlib last: its macros (None, Bool, Status) would clash with Qt's names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

// The modifiers by the names they may be given, with the X11 key and the wtype name of each.
struct Modifier {
  const char* name;
  const char* alias;
  KeySym x11;
  const char* wtype;
};
constexpr Modifier kModifiers[] = {{"ctrl", "control", XK_Control_L, "ctrl"},
                                   {"shift", "shift", XK_Shift_L, "shift"},
                                   {"alt", "alt", XK_Alt_L, "alt"},
                                   {"super", "logo", XK_Super_L, "logo"}};

const Modifier* FindModifier(const QString& name) {
  const QByteArray lower = name.toLower().toLatin1();
  for (const Modifier& m : kModifiers)
    if (lower == m.name || lower == m.alias) return &m;
  return nullptr;
}

// The key's symbol: as written, else with its letters' case changed ("insert" for "Insert").
KeySym KeySymbol(const QString& key) {
  for (const QString& spelling :
       {key, key.toLower(), key.left(1).toUpper() + key.mid(1).toLower()}) {
    const KeySym symbol = XStringToKeysym(spelling.toLatin1().constData());
    if (symbol != NoSymbol) return symbol;
  }
  return NoSymbol;
}

// The window typed keys go to now: the one the X focus is on or, where the focus follows
// the pointer (no window manager), the one under the pointer; 0 where no program has them.
Window FocusWindow(Display* display) {
  const Window root = DefaultRootWindow(display);
  Window focus = 0;
  int revert = 0;
  XGetInputFocus(display, &focus, &revert);
  if (focus == PointerRoot) {
    Window at = 0, child = 0;
    int x = 0, y = 0, windowX = 0, windowY = 0;
    unsigned int buttons = 0;
    focus =
        XQueryPointer(display, root, &at, &child, &x, &y, &windowX, &windowY, &buttons) ? child : 0;
  }
  return focus == root ? 0 : focus;
}

// `window`'s parent; 0 at the root or where the window has gone.
Window Parent(Display* display, Window window) {
  Window parent = 0, root = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, window, &root, &parent, &children, &count)) return 0;
  if (children) XFree(children);
  return parent == root ? 0 : parent;
}

// Window trees are shallow; a bound keeps a tree changed while it is walked from looping.
constexpr int kDepth = 64;

// Whether `window` is `ancestor` or one of its own windows (a program may keep the keyboard
// on a child of its top-level window).
bool Within(Display* display, Window window, Window ancestor) {
  for (int depth = 0; window && depth < kDepth; ++depth, window = Parent(display, window))
    if (window == ancestor) return true;
  return false;
}

// Whether the window manager manages `window` as a program's window (it carries WM_STATE).
bool Managed(Display* display, Window window) {
  const Atom state = XInternAtom(display, "WM_STATE", False);
  int count = 0;
  Atom* names = XListProperties(display, window, &count);
  const bool managed = names && std::find(names, names + count, state) != names + count;
  if (names) XFree(names);
  return managed;
}

// The program's window inside `window` (a frame the window manager put round it), a few
// levels down at most; 0 where there is none.
Window ManagedWithin(Display* display, Window window, int levels = 3) {
  if (Managed(display, window)) return window;
  Window root = 0, parent = 0, found = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (levels == 0 || !XQueryTree(display, window, &root, &parent, &children, &count)) return 0;
  for (unsigned int i = count; i-- > 0 && !found;)
    found = ManagedWithin(display, children[i], levels - 1);
  if (children) XFree(children);
  return found;
}

// Whether the keyboard's focus is in `window`: on it, on one of its own windows or on the
// frame the window manager put round it.
bool HasFocus(Display* display, Window focus, Window window) {
  return focus && window &&
         (Within(display, focus, window) ||
          (Within(display, window, focus) && ManagedWithin(display, focus) == window));
}

// The program's top-level window that `window` belongs to: the one the window manager
// manages, the one inside the frame that holds `window`, or without a window manager the
// window just below the root.
Window TopLevel(Display* display, Window window) {
  Window top = window;
  for (int depth = 0; window && depth < kDepth; ++depth, window = Parent(display, window)) {
    if (Managed(display, window)) return window;
    top = window;
  }
  const Window inside = ManagedWithin(display, top);
  return inside ? inside : top;
}

// The window that has the keyboard. The window manager names it (_NET_ACTIVE_WINDOW), but
// only a moment after the focus has moved, and one that has ended leaves its last word
// behind: where the focus is elsewhere, the window it is in counts, unless that is a
// launcher's or a menu's window (override-redirect) that has the keyboard for a moment.
Window ActiveWindow(Display* display) {
  const Atom active = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, left = 0;
  unsigned char* data = nullptr;
  Window window = 0;
  if (XGetWindowProperty(display, DefaultRootWindow(display), active, 0, 1, False, XA_WINDOW, &type,
                         &format, &count, &left, &data) == Success &&
      data && count == 1 && format == 32)
    window = *reinterpret_cast<Window*>(data);
  if (data) XFree(data);
  const Window focus = FocusWindow(display);
  if (!focus || HasFocus(display, focus, window)) return window;
  const Window top = TopLevel(display, focus);
  XWindowAttributes attributes{};
  if (window && (!XGetWindowAttributes(display, top, &attributes) || attributes.override_redirect))
    return window;
  return top;
}

// Asks the window manager to give `window` the keyboard, as a pager or a taskbar asks (the
// person chose it), which focus-stealing rules let through.
void Activate(Display* display, Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = 2;
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, DefaultRootWindow(display), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &event);
  XFlush(display);
}

}  // namespace

std::optional<PasteKeys> ReadPasteKeys(const QString& text, QString& why) {
  const QStringList parts = text.split(QLatin1Char('+'));
  PasteKeys keys;
  for (int i = 0; i + 1 < parts.size(); ++i) {
    const Modifier* modifier = FindModifier(parts.at(i).trimmed());
    if (!modifier) {
      why = QCoreApplication::translate("PasteTarget",
                                        "'%1' is no modifier (ctrl, shift, alt or super)")
                .arg(parts.at(i));
      return std::nullopt;
    }
    keys.modifiers << QString::fromLatin1(modifier->name);
  }
  keys.key = parts.last().trimmed();
  if (keys.key.isEmpty() || KeySymbol(keys.key) == NoSymbol) {
    why = QCoreApplication::translate("PasteTarget", "'%1' names no key").arg(keys.key);
    return std::nullopt;
  }
  return keys;
}

unsigned long WindowWithKeyboard() {
  if (!IsX11Session()) return 0;
  Window window = 0;
  if (Display* display = XOpenDisplay(nullptr)) {
    window = ActiveWindow(display);
    XCloseDisplay(display);
  }
  return window;
}

PasteTarget::PasteTarget(unsigned long window, QObject* parent)
    : QObject(parent), window_(window ? window : WindowWithKeyboard()) {}

PasteTarget::~PasteTarget() = default;

void PasteTarget::giveBack() {
  if (!window_) return;
  if (Display* display = XOpenDisplay(nullptr)) {
    Activate(display, window_);
    XCloseDisplay(display);
  }
}

void PasteTarget::paste(const PasteKeys& keys, std::function<void(const QString&)> done) {
  if (IsWaylandSession()) {
    sendWayland(keys, std::move(done));
    return;
  }
  if (!window_) {
    done(QCoreApplication::translate("PasteTarget", "no window had the keyboard to paste into"));
    return;
  }
  giveBack();
  sendX11(keys, std::move(done), 0);
}

void PasteTarget::sendX11(const PasteKeys& keys, std::function<void(const QString&)> done,
                          int tries) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    done(QCoreApplication::translate("PasteTarget", "the display cannot be reached"));
    return;
  }
  int event = 0, error = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(display, &event, &error, &major, &minor)) {
    XCloseDisplay(display);
    done(QCoreApplication::translate(
        "PasteTarget", "the display has no XTest extension to send the paste key with"));
    return;
  }
  // The keys go where the keyboard's focus is: wait (a second at most) until the window
  // manager has given it back and the focus is there (its word alone may be late).
  const auto back = [this, display, tries] {
    return HasFocus(display, FocusWindow(display), window_) &&
           (tries >= 10 || ActiveWindow(display) == window_);
  };
  if (!back() && tries < 50) {
    // A window manager that keeps no active window (or ignores the request) leaves the
    // keyboard where the picker's window left it: it is set on the window directly.
    if (tries == 10) XSetInputFocus(display, window_, RevertToParent, CurrentTime);
    XCloseDisplay(display);
    QTimer::singleShot(20, this, [this, keys, done = std::move(done), tries]() mutable {
      sendX11(keys, std::move(done), tries + 1);
    });
    return;
  }
  if (!back()) {
    XCloseDisplay(display);
    done(QCoreApplication::translate("PasteTarget",
                                     "the window that had the keyboard did not take it back"));
    return;
  }
  QList<KeyCode> codes;
  for (const QString& name : keys.modifiers)
    codes << XKeysymToKeycode(display, FindModifier(name)->x11);
  codes << XKeysymToKeycode(display, KeySymbol(keys.key));
  if (codes.contains(0)) {
    XCloseDisplay(display);
    done(QCoreApplication::translate("PasteTarget", "the keyboard has no key %1").arg(keys.key));
    return;
  }
  for (KeyCode code : codes) XTestFakeKeyEvent(display, code, True, CurrentTime);
  for (auto code = codes.rbegin(); code != codes.rend(); ++code)
    XTestFakeKeyEvent(display, *code, False, CurrentTime);
  XSync(display, False);
  XCloseDisplay(display);
  done(QString());
}

void PasteTarget::sendWayland(const PasteKeys& keys, std::function<void(const QString&)> done) {
  const QString wtype = QStandardPaths::findExecutable(QStringLiteral("wtype"));
  if (wtype.isEmpty()) {
    done(QCoreApplication::translate(
        "PasteTarget", "wtype, which sends the paste key on Wayland, is not installed"));
    return;
  }
  // wtype is a keyboard of its own, new to the compositor: the window takes keys from it only
  // a moment after it shows up.
  QStringList arguments{QStringLiteral("-s"), QStringLiteral("300")};
  for (const QString& name : keys.modifiers)
    arguments << QStringLiteral("-M") << QString::fromLatin1(FindModifier(name)->wtype);
  arguments << QStringLiteral("-k") << keys.key;
  for (auto name = keys.modifiers.crbegin(); name != keys.modifiers.crend(); ++name)
    arguments << QStringLiteral("-m") << QString::fromLatin1(FindModifier(*name)->wtype);
  // The compositor gives the keyboard back once quorpad's window has gone from the screen.
  QTimer::singleShot(150, this, [this, wtype, arguments, done = std::move(done)] {
    auto* process = new QProcess(this);
    process->setProcessChannelMode(QProcess::MergedChannels);
    connect(process, &QProcess::finished, this,
            [process, done](int status, QProcess::ExitStatus how) {
              process->deleteLater();
              const QString said = QString::fromLocal8Bit(process->readAll()).trimmed();
              if (how == QProcess::NormalExit && status == 0) {
                done(QString());
                return;
              }
              done(said.isEmpty() ? QCoreApplication::translate(
                                        "PasteTarget", "wtype could not send the paste key")
                                  : QCoreApplication::translate(
                                        "PasteTarget", "wtype could not send the paste key: %1")
                                        .arg(said.section(QLatin1Char('\n'), 0, 0)));
            });
    connect(process, &QProcess::errorOccurred, this, [process, done](QProcess::ProcessError e) {
      if (e != QProcess::FailedToStart) return;
      process->deleteLater();
      done(QCoreApplication::translate("PasteTarget", "wtype could not be started"));
    });
    // A wtype that hangs is stopped: the text stays on the clipboard, and that is said.
    QTimer::singleShot(5000, process, [process] { process->kill(); });
    process->start(wtype, arguments);
  });
}

void SayLeftOnClipboard(const QString& problem) {
  const QString text = QCoreApplication::translate(
                           "PasteTarget", "The template is on the clipboard, not pasted: %1.")
                           .arg(problem);
  const auto onStandardError = [text] {
    std::fprintf(stderr, "quorpad: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
  };
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    onStandardError();
    return;
  }
  QDBusMessage notify = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.Notifications"),
      QStringLiteral("/org/freedesktop/Notifications"),
      QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
  notify << QStringLiteral("quorpad") << 0u << QStringLiteral("quorpad")
         << QStringLiteral("quorpad") << text << QStringList() << QVariantMap() << 8000;
  // Said without waiting: a notification service that hangs holds nothing up.
  auto* call = new QDBusPendingCallWatcher(bus.asyncCall(notify, 2000), qApp);
  QObject::connect(call, &QDBusPendingCallWatcher::finished, qApp,
                   [onStandardError](QDBusPendingCallWatcher* answered) {
                     answered->deleteLater();
                     if (answered->isError()) onStandardError();
                   });
}
