// The one seam through which quorpad asks modal questions, so that tests can answer them.
#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>
#include <functional>
#include <string>
#include <utility>

class QWidget;
class JobProgress;

namespace templates {
class EngineError;
}

class ModalSeam {
 public:
  virtual ~ModalSeam();
  // A message box; returns the button chosen.
  virtual QMessageBox::StandardButton message(QWidget* parent, const QString& caption,
                                              const QString& text, QMessageBox::Icon icon,
                                              QMessageBox::StandardButtons buttons,
                                              QMessageBox::StandardButton defaultButton) = 0;
  // A message box whose buttons carry the captions given in `captions` rather than their
  // standard ones; returns the button chosen. Seams that show no real box may leave it to
  // message(), which gets the same buttons.
  virtual QMessageBox::StandardButton question(
      QWidget* parent, const QString& caption, const QString& text, QMessageBox::Icon icon,
      const QList<std::pair<QMessageBox::StandardButton, QString>>& captions,
      QMessageBox::StandardButton defaultButton);
  // A question about a list of things, each with a check box (all checked at first):
  // returns the button chosen and sets `checked` to the rows left checked. Seams that show
  // no real dialog may leave it to question(), with every row checked.
  virtual QMessageBox::StandardButton checklist(
      QWidget* parent, const QString& caption, const QString& text, const QStringList& rows,
      const QList<std::pair<QMessageBox::StandardButton, QString>>& captions,
      QMessageBox::StandardButton defaultButton, QList<int>& checked);
  // Asks for a whole number from `least` to `most`, offering `value`; sets `ok` to false
  // when cancelled. Seams that show no real dialog cancel it.
  virtual int number(QWidget* parent, const QString& caption, const QString& label, int value,
                     int least, int most, bool& ok);
  // Asks for one line of text for each of `names` at once, under the line `intro`; sets
  // `answers` (one per name) and returns true, or returns false when cancelled. Seams that
  // show no real dialog cancel it.
  virtual bool fillIn(QWidget* parent, const QString& caption, const QString& intro,
                      const QStringList& names, QStringList& answers);
  // A choice of one of `rows` (the first chosen at first); returns the row chosen, or -1 when
  // cancelled. `accept` is the caption of the button that takes it. Where `details` is given,
  // what it says of the row chosen shows below the list as the choice moves. It is worked out
  // beside the window, on a thread of its own, and may still run after the dialog has closed,
  // so it reads only what it holds (captured by value); once `job` is cancelled (the choice
  // moved on, the dialog closed) its text is dropped, so it may stop.
  // Seams that show no real dialog cancel it.
  virtual int choice(QWidget* parent, const QString& caption, const QString& text,
                     const QStringList& rows, const QString& accept,
                     const std::function<QString(int row, JobProgress& job)>& details = nullptr);
  // A file dialog; returns the chosen full path, or an empty string when cancelled.
  // `filters` are Qt name filters ("Text (*.txt)"); `save` asks for a file to write.
  // `chosenFilter`, where given, is set to the filter chosen in the dialog.
  virtual QString fileName(QWidget* owner, bool save, const QString& title, const QString& folder,
                           const QStringList& filters, QString* chosenFilter = nullptr) = 0;
};

// The seam in use: real message boxes unless a test has installed its own.
ModalSeam& Modal();
// Installs `seam` (not owned); nullptr brings back the real dialogs.
void SetModal(ModalSeam* seam);

// Commands that come from outside an open question or dialog (the tray's menu, a later
// start) never open a second one on top of it and never take a window away under it.
// Whether a question or dialog of quorpad's is open now (shown through the seam, or any
// other modal window).
bool ModalOpen();
// Brings the open question or dialog to the front, for a command that would have opened one.
void BringModalForward();
// Cancels every open question and dialog as Escape would: file dialogs choose nothing, a
// question gets its Cancel (or No, or its only button). Questions asked before the last one
// has closed are answered the same way without showing.
void CancelModals();
// Work the person waits for as for a question (a big document being written): while one
// lives, ModalOpen() is true, so that commands from outside wait for it (WhenNoModal).
class ModalWork {
 public:
  ModalWork();
  ~ModalWork();
  ModalWork(const ModalWork&) = delete;
  ModalWork& operator=(const ModalWork&) = delete;
};

// The one rule for the front window and the keyboard when a dialog of the program's closes (a
// question, a message, the manager, About): once the events in hand are done, the window it
// came from (its parent's window; else what `fallback` gives) comes to the front and gets the
// keyboard back, in the control that had it, unless a question is still open or another of
// the program's windows has the keyboard by then. Called once, for the whole program.
// A window that gives the keyboard away itself as it goes (the picker for another program
// gives it back to that program) carries the property kGivesKeyboardAway: a dialog of its
// hands nothing back once it has gone.
void HandBackWhenDialogsClose(std::function<QWidget*()> fallback);
inline constexpr char kGivesKeyboardAway[] = "givesKeyboardAway";

// Runs `command` now when no question and no popup menu is open; otherwise once the last
// one has closed and its caller (or the menu's chosen command) has finished, if `context`
// still exists then.
void WhenNoModal(QObject* context, std::function<void()> command);

// The application title, the caption of every message box.
inline const QString kAppTitle = QStringLiteral("quorpad");

// How a failed file operation is reported, in every window alike: the function that touches
// the file returns the reason as a string (empty on success) and leaves the file as it was;
// the window that asked for the operation then calls ShowFileError with what failed ("Could
// not save the file"), the file's full path and that reason. The user sees a warning with an
// OK button only: "<what> <path>", a blank line, "<reason>". Nothing is reported as done
// that was not.
void ShowFileError(QWidget* parent, const QString& what, const QString& path,
                   const QString& reason);

// What a failed engine operation tells the user: the store's path, the error number and its
// meaning, and the reason (ErrorText in errortext.h gives it for any exception).
QString EngineErrorText(const templates::EngineError& error);
// Why the engine refuses a template (NameProblem's reasons, an import's kTextStored), in the
// user's language; a reason it does not know, as the engine said it.
QString EngineRefusalText(const std::string& reason);
// Tells the user that the template store in the program folder could not be used, for a
// reason other than an engine error (memory ran out, say).
void ShowStoreFailure(QWidget* parent, const QString& reason);
