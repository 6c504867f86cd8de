// What quorpad's dialogs share: placement in twips, their title bar, and their keys.
#pragma once

#include <QPointer>
#include <QString>
#include <functional>

class QDialog;
class QKeyEvent;
class QPushButton;
class QWidget;

// Places `w` at a position given in twips (left, top, width, height) relative to its parent.
void PlaceInTwips(QWidget* w, int left, int top, int width, int height);

// A small tool-window title bar with a close box only.
void SetToolWindowFlags(QDialog* dialog);

// A button that never answers Enter on the dialog's behalf.
QPushButton* NewButton(QWidget* parent, const QString& name, const QString& caption,
                       const QString& tip = QString(), bool enabled = true);

// True for the keys a dialog with no default and no cancel button must not act on
// (Escape); the caller then drops the event.
bool IgnoresDialogKeys(QKeyEvent* event);

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
