// Putting a template's text into the document or on the clipboard, its fields filled when
// the user has turned fields on.
#pragma once

#include <QString>
#include <QStringList>

class QPlainTextEdit;

// Puts `text` (lines separated by LF) of the template called `name` in `box` in place of its
// selection, as one undo step. With `fields` on, a template that asks for fill-ins asks first,
// naming itself (nothing is inserted when that is cancelled) and the caret ends where the
// template places it.
void InsertTemplateText(QPlainTextEdit* box, const QString& name, const QString& text, bool fields);

// `text` as it goes on the clipboard for another program. With `fields` on, what can be filled
// without asking is; `leftEmpty` gets the fields that could not be (fill-ins, the
// selection), as written.
QString TemplateTextForClipboard(const QString& text, bool fields, QStringList& leftEmpty);
