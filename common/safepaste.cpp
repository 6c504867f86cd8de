// Qt 6.4.2 (Debian 12) ends the program with SIGSEGV in
// QWidgetTextControl::insertFromMimeData when a QPlainTextEdit or QTextEdit pastes while no
// X11 program owns the clipboard or the primary selection (nothing copied yet, or the copying
// program has quit). The text boxes' own paste paths are therefore taken over here and fed
// from QClipboard::text(), which copes with an absent owner. QLineEdit pastes through text()
// already and is left alone.
#include "common/safepaste.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextCursor>
#include <QTextEdit>
#include <QVariant>

#include "common/clipboardread.h"
#include "common/longjob.h"

namespace {

// The job a box pastes another program's text with, where it has one.
const char kPasteJob[] = "quorpadPasteJob";

// The text box behind `object` (the box itself for keys, its viewport for the mouse), and
// whether it takes typed text.
QAbstractScrollArea* EditableBox(QObject* object, bool viaViewport) {
  QObject* candidate = viaViewport ? object->parent() : object;
  auto* plain = qobject_cast<QPlainTextEdit*>(candidate);
  auto* rich = qobject_cast<QTextEdit*>(candidate);
  QAbstractScrollArea* box = plain ? static_cast<QAbstractScrollArea*>(plain) : rich;
  if (!box || (viaViewport && box->viewport() != object)) return nullptr;
  const Qt::TextInteractionFlags flags =
      plain ? plain->textInteractionFlags() : rich->textInteractionFlags();
  return flags.testFlag(Qt::TextEditable) ? box : nullptr;
}

QTextCursor CursorOf(QAbstractScrollArea* box) {
  if (auto* plain = qobject_cast<QPlainTextEdit*>(box)) return plain->textCursor();
  return static_cast<QTextEdit*>(box)->textCursor();
}

void SetCursorOf(QAbstractScrollArea* box, const QTextCursor& cursor) {
  if (auto* plain = qobject_cast<QPlainTextEdit*>(box))
    plain->setTextCursor(cursor);
  else
    static_cast<QTextEdit*>(box)->setTextCursor(cursor);
}

class SafePaste : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
          if (QAbstractScrollArea* box = EditableBox(watched, false)) {
            PasteInto(box, QClipboard::Clipboard);
            return true;
          }
        }
        break;
      case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::MiddleButton) break;
        QAbstractScrollArea* box = EditableBox(watched, true);
        if (!box || !QGuiApplication::clipboard()->supportsSelection()) break;
        // The selection goes where the middle button was let go, as the box itself would.
        QTextCursor at =
            qobject_cast<QPlainTextEdit*>(box)
                ? static_cast<QPlainTextEdit*>(box)->cursorForPosition(mouse->position().toPoint())
                : static_cast<QTextEdit*>(box)->cursorForPosition(mouse->position().toPoint());
        SetCursorOf(box, at);
        PasteInto(box, QClipboard::Selection);
        return true;
      }
      case QEvent::ContextMenu:
        if (QAbstractScrollArea* box = EditableBox(watched, false)) {
          if (box->contextMenuPolicy() == Qt::DefaultContextMenu)
            return showContextMenu(box, static_cast<QContextMenuEvent*>(event));
        }
        break;
      default:
        break;
    }
    return false;
  }

 private:
  // The box's own menu, with its Paste going through PasteInto.
  static bool showContextMenu(QAbstractScrollArea* box, QContextMenuEvent* event) {
    QMenu* menu = nullptr;
    if (auto* plain = qobject_cast<QPlainTextEdit*>(box))
      menu = plain->createStandardContextMenu(event->pos());
    else
      menu = static_cast<QTextEdit*>(box)->createStandardContextMenu(event->pos());
    if (!menu) return false;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The box's text control carries out the menu's commands; its Paste is cut off.
    QObject* control = nullptr;
    for (QObject* child : box->children()) {
      if (child->inherits("QWidgetTextControl")) control = child;
    }
    for (QAction* action : menu->actions()) {
      if (action->objectName() != QLatin1String("edit-paste")) continue;
      if (control) QObject::disconnect(action, nullptr, control, nullptr);
      // The forms on offer, not the text itself, which may be big or slow to come.
      const QMimeData* offered = QGuiApplication::clipboard()->mimeData();
      action->setEnabled(offered && offered->hasText());
      QPointer<QAbstractScrollArea> target = box;
      QObject::connect(action, &QAction::triggered, menu, [target] {
        if (target) PasteInto(target, QClipboard::Clipboard);
      });
    }
    menu->popup(event->globalPos());
    return true;
  }
};

}  // namespace

void InstallSafePaste(QCoreApplication* application) {
  static QPointer<SafePaste> installed;
  if (installed) return;
  installed = new SafePaste(application);
  application->installEventFilter(installed);
}

void PasteInto(QAbstractScrollArea* box, QClipboard::Mode mode) {
  // A box held still for work beside the window (a file coming in) takes nothing meanwhile.
  if (!EditableBox(box, false)) return;
  auto* plain = qobject_cast<QPlainTextEdit*>(box);
  auto* job =
      plain ? qobject_cast<LongJob*>(plain->property(kPasteJob).value<QObject*>()) : nullptr;
  if (job) {
    QPointer<QPlainTextEdit> target(plain);
    ReadClipboardThen(job, plain, mode,
                      [job, target, place = plain->textCursor()](const QString& text) {
                        if (target && !text.isEmpty()) PutText(job, target, place, text);
                      });
    return;
  }
  const QString text = QGuiApplication::clipboard()->text(mode);
  if (text.isEmpty()) return;
  QTextCursor cursor = CursorOf(box);
  cursor.insertText(text);
  SetCursorOf(box, cursor);
  if (plain)
    plain->ensureCursorVisible();
  else
    static_cast<QTextEdit*>(box)->ensureCursorVisible();
}

void PasteBeside(QPlainTextEdit* box, LongJob* job) {
  box->setProperty(kPasteJob, QVariant::fromValue<QObject*>(job));
}
