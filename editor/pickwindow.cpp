// The picker as a window of its own, and the way its template goes into another program.
#include "editor/pickwindow.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "common/modal.h"
#include "common/plaintext.h"
#include "common/taskbar.h"
#include "editor/templatepicker.h"
#include "templateinsertion.h"
#include "trayhost.h"

PickWindow::PickWindow(templates::tmpeng& engine, bool fields, PickRequest request,
                       std::function<void(const QString&)> putOnClipboard)
    // A window of its own, not a dialog: a dialog is made the transient of the program's
    // other windows, and a window manager may then keep the keyboard in it.
    : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint),
      engine_(engine),
      fields_(fields),
      request_(std::move(request)),
      putOnClipboard_(std::move(putOnClipboard)) {
  setObjectName(QStringLiteral("frmPick"));
  setWindowTitle(tr("Insert Template"));
  setAttribute(Qt::WA_DeleteOnClose);
  // The keyboard goes back to the program pasted into, not to a window of quorpad's.
  setProperty(kGivesKeyboardAway, true);
  // A size of its own, fixed, so that a tiling compositor floats it rather than tiling it.
  const QFontMetrics metrics = fontMetrics();
  setFixedSize(metrics.averageCharWidth() * 56, metrics.height() * 18);
  picker_ = new TemplatePicker(this, engine_, this);
  picker_->installEventFilter(this);
  connect(picker_, &TemplatePicker::chosen, this, &PickWindow::choose);
}

PickWindow::~PickWindow() = default;

void PickWindow::start() {
  target_ = new PasteTarget(request_.target, this);
  if (IsX11Session()) {
    // Near the pointer, whole on its screen.
    const QPoint at = QCursor::pos();
    const QScreen* screen = QGuiApplication::screenAt(at);
    const QRect room = screen ? screen->availableGeometry() : QRect(at, size());
    QRect place(at - QPoint(width() / 2, height() / 3), size());
    place.moveLeft(
        std::clamp(place.left(), room.left(), std::max(room.left(), room.right() - width())));
    place.moveTop(
        std::clamp(place.top(), room.top(), std::max(room.top(), room.bottom() - height())));
    move(place.topLeft());
  }
  show();
  raise();
  activateWindow();
  picker_->open();
  // The keyboard is asked for again until the window is on screen and has it, for a second
  // at most: a window manager maps a new window in its own time.
  auto* asking = new QTimer(this);
  asking->setInterval(20);
  connect(asking, &QTimer::timeout, this, [this, asking, tries = 0]() mutable {
    if (isActiveWindow() || ++tries > 50 || chosen_) {
      asking->deleteLater();
      return;
    }
    GiveKeyboardFocus(this);
  });
  asking->start();
}

void PickWindow::choose(const QString& name, const QString& value) {
  if (chosen_ || ending_) return;
  chosen_ = true;
  asking_ = true;
  // The question runs an event loop of its own, in which the window may go (the program
  // ending): nothing of it is touched afterwards.
  const QPointer<PickWindow> alive(this);
  const std::optional<QString> text = TemplateTextAsked(this, name, AsPlainLines(value), fields_);
  if (!alive) return;
  asking_ = false;
  if (!text) {
    end(QString(), QString());
    return;
  }
  putOnClipboard_(*text);
  if (!request_.paste) {
    end(*text, QString());
    return;
  }
  // The window goes first, so that the keyboard can go back to the one that had it.
  hide();
  target_->paste(request_.keys,
                 [this, text = *text](const QString& problem) { end(text, problem); });
}

void PickWindow::end(const QString& text, const QString& problem, bool giveBack) {
  if (ending_) return;
  ending_ = true;
  if (isVisible()) hide();
  // Nothing pasted: the keyboard still goes back to where it was.
  if (giveBack && (text.isEmpty() || !request_.paste)) target_->giveBack();
  if (!problem.isEmpty()) SayLeftOnClipboard(problem);
  Q_EMIT finished(text);
  close();
}

bool PickWindow::event(QEvent* event) {
  // Losing the keyboard to another window ends the pick, changing nothing; a question of
  // its own (the fill-ins) does not count.
  if (event->type() == QEvent::WindowDeactivate && !chosen_ && !ending_ && isVisible()) {
    QTimer::singleShot(0, this, [this] {
      if (!isActiveWindow() && !chosen_ && QApplication::activeModalWidget() == nullptr)
        end(QString(), QString(), false);
    });
  }
  return QWidget::event(event);
}

bool PickWindow::eventFilter(QObject* watched, QEvent* event) {
  // Escape hides the picker: the pick ends, unless a template was chosen.
  if (watched == picker_ && event->type() == QEvent::Hide && !chosen_ && !ending_)
    QTimer::singleShot(0, this, [this] {
      // Escape, in the window that has the keyboard; the picker also goes when another
      // window takes the keyboard, which keeps it.
      if (!chosen_) end(QString(), QString(), isActiveWindow());
    });
  return QWidget::eventFilter(watched, event);
}
