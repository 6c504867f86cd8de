// Pasting into quorpad's text boxes when no program owns the clipboard or the selection.
#pragma once

class QCoreApplication;

// Every multi-line text box of the program (those of Qt's own dialogs included) pastes
// through one application-wide filter: Paste's keys, the middle click and the box's own
// context menu insert the clipboard's (or the selection's) plain text, and nothing when
// nobody owns it. Installing it twice does nothing more.
void InstallSafePaste(QCoreApplication* application);
