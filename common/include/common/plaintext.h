// The text of a text box exactly as typed or read: no character is swapped for another.
#pragma once

#include <QString>

class QPlainTextEdit;

// The whole text, lines separated by LF. Unlike toPlainText(), a no-break space stays a
// no-break space and a line separator (U+2028) stays itself, so a file read and saved
// comes back byte for byte.
QString DocumentText(const QPlainTextEdit* box);
// The selected text, likewise.
QString SelectedText(const QPlainTextEdit* box);
