// Putting a template's text into the document or on the clipboard, its fields filled when
// the user has turned fields on.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class LongJob;
class QPlainTextEdit;
class QWidget;

// Puts `text` (lines separated by LF) of the template called `name` in `box` in place of its
// selection, as one undo step. With `fields` on, a template that asks for fill-ins asks first,
// naming itself (nothing is inserted when that is cancelled) and the caret ends where the
// template places it. Where a field takes another program's clipboard, that is read beside
// the window by `reader` (the document held still meanwhile, and nothing put in when the
// read is cancelled); without a reader it is read at once.
void InsertTemplateText(QPlainTextEdit* box, const QString& name, const QString& text, bool fields,
                        LongJob* reader = nullptr);

// `text` of the template called `name` as it goes into another program: with `fields` on,
// filled, its fill-ins asked in one question over `window` (nothing when that is
// cancelled), and the selection and caret fields empty, since there is no document.
std::optional<QString> TemplateTextAsked(QWidget* window, const QString& name, const QString& text,
                                         bool fields);

// `text` as it goes on the clipboard for another program. With `fields` on, what can be filled
// without asking is; `leftEmpty` gets the fields that could not be (fill-ins, the
// selection), as written.
QString TemplateTextForClipboard(const QString& text, bool fields, QStringList& leftEmpty);
