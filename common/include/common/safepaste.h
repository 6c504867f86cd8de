// Pasting into quorpad's text boxes when no program owns the clipboard or the selection.
#pragma once

#include <QClipboard>

class LongJob;
class QAbstractScrollArea;
class QCoreApplication;
class QPlainTextEdit;

// Every multi-line text box of the program (those of Qt's own dialogs included) pastes
// through one application-wide filter: Paste's keys, the middle click and the box's own
// context menu insert the clipboard's (or the selection's) plain text, and nothing when
// nobody owns it. Installing it twice does nothing more.
void InstallSafePaste(QCoreApplication* application);

// Pastes the plain text of the clipboard (or the selection) into `box` at its caret, in
// place of its selection, as one undo step; nothing when there is none.
void PasteInto(QAbstractScrollArea* box, QClipboard::Mode mode);
// From now on `box` pastes another X11 program's text beside the window as `job` (shown and
// cancellable as its owner watches it), a big text a slice at a time.
void PasteBeside(QPlainTextEdit* box, LongJob* job);
