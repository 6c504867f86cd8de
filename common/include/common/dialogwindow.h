// What quorpad's dialogs share: placement in twips, their title bar, and their keys.
#pragma once

#include <QPointer>
#include <QString>
#include <functional>

class QDialog;
class QEvent;
class QKeyEvent;
class QPushButton;
class QWidget;

// How much larger than the design the user's font makes `widget`'s window: 1 at the font
// the dialogs were designed for and at smaller ones, more at larger ones (about 1.5 at 14
// points). Every designed position and size of a dialog is multiplied by it, so that its
// texts have the room their font needs.
double FontScale(const QWidget* widget);

// Places `w` at a position given in twips (left, top, width, height) relative to its parent,
// at its window's font scale. A label or button is never given less room than its text
// needs.
void PlaceInTwips(QWidget* w, int left, int top, int width, int height);

// The surface a dialog designed in twips puts its controls on. It fills the dialog and
// scrolls where the dialog gets less room than its design needs (a small screen, a large
// font, a tiling window manager).
QWidget* NewDesignSurface(QDialog* dialog);
// Gives a dialog made with NewDesignSurface() its designed client size in twips at its font
// scale: fixed where the screen has room for it, else as large as the screen allows, with
// scroll bars.
void SetDesignedSize(QDialog* dialog, int width, int height);

// A small tool-window title bar with a close box only.
void SetToolWindowFlags(QDialog* dialog);

// A button that never answers Enter on the dialog's behalf; Return or Enter on the button
// itself, when it has the keyboard, presses it as Space does.
QPushButton* NewButton(QWidget* parent, const QString& name, const QString& caption,
                       const QString& tip = QString(), bool enabled = true);

// True for the keys a dialog with no default and no cancel button must not act on
// (Escape); the caller then drops the event.
bool IgnoresDialogKeys(QKeyEvent* event);

// True, having claimed the key, for the shortcut check of an Escape: a control over a window
// (a bar, a picker) that closes on Escape claims it from its event filter so that the key
// reaches it before the window's own Escape (which stops work under way).
bool ClaimsEscape(QEvent* event);

// Centres the window on its screen the first time it shows (`centred` remembers it).
void CentreOnce(QWidget* window, bool& centred);
// Centres the dialog on its screen the first time it shows, and keeps it off the taskbar.
void CentreOnceAndKeepOffTaskbar(QDialog* dialog, bool& centred);

// Shows a modeless dialog, or brings it forward when it is open already.
void BringForward(QDialog& dialog);

// A dialog's one program-wide instance: created and loaded on first use, and again on the
// first use after it was closed (a closed dialog deletes itself). `wire` connects each new
// instance to the other windows before its load step.
template <class Dialog>
class ProgramWideDialog {
 public:
  explicit ProgramWideDialog(std::function<void(Dialog&)> wire = {}) : wire_(std::move(wire)) {}
  Dialog* loaded() const { return dialog_.data(); }
  Dialog& get() {
    if (!dialog_) {
      dialog_ = new Dialog;
      if (wire_) wire_(*dialog_);
      dialog_->Form_Load();
    }
    return *dialog_;
  }

 private:
  std::function<void(Dialog&)> wire_;
  QPointer<Dialog> dialog_;
};
