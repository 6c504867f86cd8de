// The taskbar hint of the X11 window managers (_NET_WM_STATE_SKIP_TASKBAR), the keyboard
// focus and the frame's size (_NET_FRAME_EXTENTS), through xcb.
#include "common/taskbar.h"

#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <QWidget>
#include <QWindow>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(name)), name), nullptr);
  if (!reply) return XCB_ATOM_NONE;
  const xcb_atom_t atom = reply->atom;
  std::free(reply);
  return atom;
}

// Hears the X server's changes of one property of one window; the watch ends with it.
class PropertyWatch : public QObject, public QAbstractNativeEventFilter {
 public:
  PropertyWatch(QWidget* window, xcb_atom_t property, std::function<void()> changed)
      : QObject(window), window_(window), property_(property), changed_(std::move(changed)) {
    qApp->installNativeEventFilter(this);
  }
  ~PropertyWatch() override { qApp->removeNativeEventFilter(this); }

  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    if (type != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & ~0x80) != XCB_PROPERTY_NOTIFY) return false;
    const auto* notify = static_cast<const xcb_property_notify_event_t*>(message);
    if (notify->atom == property_ && window_ && window_->internalWinId() &&
        notify->window == static_cast<xcb_window_t>(window_->internalWinId()))
      QTimer::singleShot(0, this, changed_);
    return false;
  }

 private:
  QPointer<QWidget> window_;
  xcb_atom_t property_;
  std::function<void()> changed_;
};

xcb_connection_t* X11Connection() {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 ? x11->connection() : nullptr;
}

const char kTaskbarWish[] = "quorpadTaskbarListed";

void ApplyTaskbarEntry(xcb_connection_t* c, xcb_window_t id, bool listed) {
  const xcb_atom_t state = Atom(c, "_NET_WM_STATE");
  const xcb_atom_t hints[] = {Atom(c, "_NET_WM_STATE_SKIP_TASKBAR"),
                              Atom(c, "_NET_WM_STATE_SKIP_PAGER")};

  // A window the window manager manages (shown, or minimized to an icon) has its state
  // kept by the manager, which must be asked to change it; only a withdrawn window (not
  // yet shown, or hidden) carries its wishes in the property itself.
  bool managed = false;
  const xcb_atom_t wmState = Atom(c, "WM_STATE");
  if (xcb_get_property_reply_t* reply =
          xcb_get_property_reply(c, xcb_get_property(c, 0, id, wmState, wmState, 0, 1), nullptr)) {
    if (xcb_get_property_value_length(reply) >= 4) {
      managed = *static_cast<const uint32_t*>(xcb_get_property_value(reply)) != 0;  // not Withdrawn
    }
    std::free(reply);
  }
  if (managed) {
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    for (xcb_atom_t hint : hints) {
      xcb_client_message_event_t ev{};
      ev.response_type = XCB_CLIENT_MESSAGE;
      ev.format = 32;
      ev.window = id;
      ev.type = state;
      ev.data.data32[0] = listed ? 0 : 1;  // _NET_WM_STATE_REMOVE or _ADD
      ev.data.data32[1] = hint;
      ev.data.data32[3] = 1;  // from a normal application
      xcb_send_event(c, 0, root,
                     XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                     reinterpret_cast<const char*>(&ev));
    }
  } else {
    // Qt merges its own states into what it finds in the property when it maps the window.
    std::vector<xcb_atom_t> atoms;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, id, state, XCB_ATOM_ATOM, 0, 1024), nullptr);
    if (reply) {
      const auto* data = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
      const int n = xcb_get_property_value_length(reply) / static_cast<int>(sizeof(xcb_atom_t));
      for (int i = 0; i < n; ++i) {
        if (data[i] != hints[0] && data[i] != hints[1]) atoms.push_back(data[i]);
      }
      std::free(reply);
    }
    if (!listed) atoms.insert(atoms.end(), std::begin(hints), std::end(hints));
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(atoms.size()), atoms.data());
  }
  xcb_flush(c);
}

}  // namespace

void WatchFrameSize(QWidget* window, std::function<void()> changed) {
  xcb_connection_t* c = window ? X11Connection() : nullptr;
  if (!c) return;
  new PropertyWatch(window, Atom(c, "_NET_FRAME_EXTENTS"), std::move(changed));
}

void SetTaskbarEntry(QWidget* window, bool listed) {
  // An X11 matter only: Wayland and the other platforms have no such hint.
  xcb_connection_t* c = window ? X11Connection() : nullptr;
  if (!c) return;
  const bool watched = window->property(kTaskbarWish).isValid();
  window->setProperty(kTaskbarWish, listed);
  ApplyTaskbarEntry(c, static_cast<xcb_window_t>(window->winId()), listed);
  if (watched) return;
  // A window just mapped can be taken on by the window manager between the look at its
  // WM_STATE and the change of its property, and the manager, having read the property
  // already, never sees the wish. So whenever the manager takes the window on (or lets it
  // go), the latest wish is put to it again.
  QPointer<QWidget> target(window);
  new PropertyWatch(window, Atom(c, "WM_STATE"), [target] {
    xcb_connection_t* c = X11Connection();
    if (!target || !c || !target->internalWinId()) return;
    ApplyTaskbarEntry(c, static_cast<xcb_window_t>(target->internalWinId()),
                      target->property(kTaskbarWish).toBool());
  });
}

void GiveKeyboardFocus(QWidget* widget) {
  if (!widget) return;
  // The window manager deals in top-level windows: a control gets the keyboard within its
  // window (asked for its own X window, it would be given one, and its siblings with it).
  QWidget* window = widget->window();
  if (widget != window) widget->setFocus(Qt::OtherFocusReason);
  if (!window->isVisible() || window->isMinimized()) return;
  window->activateWindow();
  xcb_connection_t* c = X11Connection();
  if (!c) return;
  const auto id = static_cast<xcb_window_t>(window->winId());
  // Only a window that is on screen can take the focus; asking for it earlier is an error.
  bool viewable = false;
  if (xcb_get_window_attributes_reply_t* attributes =
          xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, id), nullptr)) {
    viewable = attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(attributes);
  }
  if (!viewable) return;
  xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, id, XCB_CURRENT_TIME);
  xcb_flush(c);
}
