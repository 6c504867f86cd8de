// Text as it is: the text of a text box exactly as typed or read, and text from outside
// (a path, a template's name or text, a message built from them) shown exactly as it is.
#pragma once

#include <QString>

class QLabel;
class QMessageBox;
class QPlainTextEdit;
class QWidget;

// Every widget that shows text from outside shows it as plain text. Qt would take text that
// looks like HTML for rich text, and rich text loads any local file an <img src=...> names:
// a name could then hang the window on a pipe or fill the memory from /dev/zero.
//
// A label for such text: plain text, whatever is put in it later.
QLabel* NewPlainLabel(QWidget* parent, const QString& text = QString());
// Makes an existing label (one a Qt dialog made) show its text as plain text.
void MakePlain(QLabel* label);
// Makes a message box show its text as plain text.
void MakePlain(QMessageBox* box);
// A tooltip that shows `text` literally: tooltips have no format of their own, so it is
// escaped and its line breaks kept.
QString PlainToolTip(const QString& text);

// The whole text, lines separated by LF. Unlike toPlainText(), a no-break space stays a
// no-break space and a line separator (U+2028) stays itself, so a file read and saved
// comes back byte for byte.
QString DocumentText(const QPlainTextEdit* box);
// The selected text, likewise.
QString SelectedText(const QPlainTextEdit* box);

// Keeps `box` answering whatever the length of a line put into it: a line longer than Qt
// can wrap in time (its layout grows with the square of the line's length, seconds for a
// few hundred thousand characters) turns its wrapping off, a horizontal scroll bar
// instead; a text put in afresh with no such line turns it back on.
void KeepLayoutLinear(QPlainTextEdit* box);

// Line breaks as the store restores them (CR LF) or another program hands them over (CR LF,
// CR) become the plain ones (LF) that the document and other programs take.
QString AsPlainLines(QString text);
