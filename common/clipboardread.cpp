// Another program's X11 clipboard text, read through xcb on a worker, with the owner's
// incremental transfer (INCR) for big texts.
#include "common/clipboardread.h"

#include <poll.h>
#include <xcb/xcb.h>

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>

#include "common/longjob.h"
#include "common/plaintext.h"

namespace {

// How long the window waits for a read before it goes on beside it.
constexpr int kQuickReadMs = 100;
// The owner must answer, or send its next piece, within this.
constexpr qint64 kQuietMs = 5000;

using Event = std::unique_ptr<xcb_generic_event_t, decltype(&std::free)>;

xcb_atom_t Intern(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
  const xcb_atom_t atom = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  std::free(reply);
  return atom;
}

// The next event that `wanted` takes; none when the read was cancelled, the connection
// broke or the owner stayed quiet too long.
Event WaitFor(xcb_connection_t* c, const JobProgress& progress,
              const std::function<bool(const xcb_generic_event_t*)>& wanted) {
  QElapsedTimer quiet;
  quiet.start();
  for (;;) {
    while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
      Event held(event, &std::free);
      if (wanted(event)) return held;
    }
    if (xcb_connection_has_error(c) || progress.cancelled() || quiet.elapsed() > kQuietMs)
      return Event(nullptr, &std::free);
    pollfd ready{xcb_get_file_descriptor(c), POLLIN, 0};
    ::poll(&ready, 1, 100);
  }
}

// Appends the whole of `property` on `window` to `data` and deletes it (which tells an
// incremental owner to send its next piece); false when the server refuses.
bool TakeProperty(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property, QByteArray& data,
                  xcb_atom_t& type) {
  constexpr uint32_t kWords = 1u << 20;  // 4 MB a reply
  for (uint32_t offset = 0;;) {
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, offset, kWords),
        nullptr);
    if (!reply) return false;
    type = reply->type;
    const int length = xcb_get_property_value_length(reply);
    data.append(static_cast<const char*>(xcb_get_property_value(reply)), length);
    const uint32_t after = reply->bytes_after;
    std::free(reply);
    if (after == 0) break;
    offset += static_cast<uint32_t>(length) / 4;
  }
  xcb_delete_property(c, window, property);
  xcb_flush(c);
  return true;
}

enum class Got { Text, Refused, Nothing };

// Asks the owner of `selection` for it as `target` into `into` on `window`, and takes what
// comes, in pieces where the owner sends it so. Nothing when the owner went quiet or away,
// or the read was cancelled.
Got Convert(xcb_connection_t* c, JobProgress& progress, xcb_window_t window, xcb_atom_t selection,
            xcb_atom_t target, xcb_atom_t into, QByteArray& data) {
  xcb_convert_selection(c, window, selection, target, into, XCB_CURRENT_TIME);
  xcb_flush(c);
  const Event answer = WaitFor(c, progress, [window](const xcb_generic_event_t* e) {
    return (e->response_type & ~0x80) == XCB_SELECTION_NOTIFY &&
           reinterpret_cast<const xcb_selection_notify_event_t*>(e)->requestor == window;
  });
  if (!answer) return Got::Nothing;
  if (reinterpret_cast<const xcb_selection_notify_event_t*>(answer.get())->property == XCB_NONE)
    return Got::Refused;  // not in this form, or no owner
  xcb_atom_t type = XCB_ATOM_NONE;
  if (!TakeProperty(c, window, into, data, type)) return Got::Nothing;
  if (type != Intern(c, "INCR")) return Got::Text;
  // A big text comes in pieces, each put in the property once the last was taken, until an
  // empty one; the first property holds a lower bound of the whole size.
  qint64 total = 0;
  if (data.size() >= 4) total = *reinterpret_cast<const uint32_t*>(data.constData());
  data.clear();
  for (;;) {
    const Event piece = WaitFor(c, progress, [window, into](const xcb_generic_event_t* e) {
      if ((e->response_type & ~0x80) != XCB_PROPERTY_NOTIFY) return false;
      const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(e);
      return notify->window == window && notify->atom == into &&
             notify->state == XCB_PROPERTY_NEW_VALUE;
    });
    if (!piece) return Got::Nothing;
    const qsizetype before = data.size();
    if (!TakeProperty(c, window, into, data, type)) return Got::Nothing;
    if (data.size() == before) return Got::Text;
    progress.report(data.size(), std::max<qint64>(total, data.size()));
  }
}

}  // namespace

void ReadClipboardThen(LongJob* job, QPlainTextEdit* box, QClipboard::Mode mode,
                       std::function<void(const QString&)> then) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  const bool ours =
      mode == QClipboard::Selection ? clipboard->ownsSelection() : clipboard->ownsClipboard();
  if (QGuiApplication::platformName() != QLatin1String("xcb") || ours) {
    then(AsPlainLines(clipboard->text(mode)));
    return;
  }
  job->start<std::optional<QString>>(
      LongJob::tr("Reading the clipboard"),
      [mode](JobProgress& progress) { return ReadX11ClipboardText(progress, mode); },
      [mode, then = std::move(then)](std::optional<QString>& read) {
        then(AsPlainLines(read ? *read : QGuiApplication::clipboard()->text(mode)));
      });
  // The usual read is over in a few milliseconds. It is waited for with the keys held back,
  // so that what is typed right after a paste follows the pasted text rather than meeting
  // a box held still; a longer one (a big text, a slow owner) goes on beside the window.
  if (job->waitBriefly(kQuickReadMs) && box) HoldTextStill(box, job);
}

QString ReadClipboardNow(QClipboard::Mode mode) {
  LongJob job(nullptr);
  QString text;
  ReadClipboardThen(&job, nullptr, mode, [&text](const QString& read) { text = read; });
  job.waitPainting();
  // Where the wait was ended early (every event loop told to end), the text is not waited for.
  job.cancel();
  return text;
}

std::optional<QString> ReadX11ClipboardText(JobProgress& progress, QClipboard::Mode mode) {
  std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection(
      xcb_connect(nullptr, nullptr), &xcb_disconnect);
  xcb_connection_t* c = connection.get();
  if (xcb_connection_has_error(c)) return std::nullopt;
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  if (!screen) return std::nullopt;
  // A window of the read's own, never shown, receives the text in a property.
  const xcb_window_t window = xcb_generate_id(c);
  const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
  xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                    XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
  const xcb_atom_t clipboard =
      mode == QClipboard::Selection ? xcb_atom_t(XCB_ATOM_PRIMARY) : Intern(c, "CLIPBOARD");
  const xcb_atom_t into = Intern(c, "QUORPAD_CLIPBOARD");

  // The forms the owner offers first (no owner refuses even that): UTF-8 text where it
  // offers it, else Latin-1. An owner may answer a form it does not list, in bytes of
  // another, so only a listed one is asked for.
  QByteArray data;
  switch (Convert(c, progress, window, clipboard, Intern(c, "TARGETS"), into, data)) {
    case Got::Text:
      break;
    case Got::Refused:
      return std::nullopt;
    case Got::Nothing:
      return QString();  // an owner that does not answer gives nothing, as to Qt
  }
  const auto* offered = reinterpret_cast<const xcb_atom_t*>(data.constData());
  const xcb_atom_t* offeredEnd = offered + data.size() / sizeof(xcb_atom_t);
  const xcb_atom_t utf8 = Intern(c, "UTF8_STRING");
  for (const xcb_atom_t target : {utf8, xcb_atom_t(XCB_ATOM_STRING)}) {
    if (std::find(offered, offeredEnd, target) == offeredEnd) continue;
    QByteArray text;
    switch (Convert(c, progress, window, clipboard, target, into, text)) {
      case Got::Text:
        return target == utf8 ? QString::fromUtf8(text) : QString::fromLatin1(text);
      case Got::Refused:
        continue;
      case Got::Nothing:
        return QString();  // an owner that does not answer gives nothing, as to Qt
    }
  }
  // Text in neither form: Qt knows more forms.
  return std::nullopt;
}
