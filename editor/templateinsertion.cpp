// Putting a template's text into the document or on the clipboard.
#include "templateinsertion.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QTextCursor>

#include "common/modal.h"
#include "common/plaintext.h"
#include "common/templatefields.h"

namespace {

FieldValues ValuesWithoutAsking() {
  FieldValues values;
  values.now = FieldClock();
  values.clipboard = [] { return QApplication::clipboard()->text(); };
  return values;
}

// Asks the fill-ins of the template called `name` in one question over `window`, into
// `values`; false when the person cancels it.
bool AskFillIns(QWidget* window, const QString& name, const QString& text, FieldValues& values) {
  const QStringList names = FillInNames(text);
  if (names.isEmpty()) return true;
  QStringList answers;
  const QString intro =
      QCoreApplication::translate("TemplateInsertion", "The template “%1” asks for:").arg(name);
  if (!Modal().fillIn(window, QCoreApplication::translate("TemplateInsertion", "Fill In Template"),
                      intro, names, answers))
    return false;
  for (int i = 0; i < names.size(); ++i) values.answers.insert(names[i], answers.value(i));
  return true;
}

}  // namespace

QString AsPlainLines(QString text) {
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

void InsertTemplateText(QPlainTextEdit* box, const QString& name, const QString& text,
                        bool fields) {
  // A document held still for work beside the window (the status bar says which) takes no
  // text until that work ends.
  if (box->isReadOnly()) return;
  if (!fields) {
    box->insertPlainText(text);
    return;
  }
  FieldValues values = ValuesWithoutAsking();
  values.selection = SelectedText(box);
  if (!AskFillIns(box->window(), name, text, values)) return;
  const FilledTemplate filled = FillFields(text, values);
  QTextCursor cursor = box->textCursor();
  const int start = cursor.selectionStart();
  cursor.beginEditBlock();
  cursor.insertText(filled.text);
  cursor.endEditBlock();
  if (filled.caret >= 0) cursor.setPosition(start + filled.caret);
  box->setTextCursor(cursor);
  box->ensureCursorVisible();
}

std::optional<QString> TemplateTextAsked(QWidget* window, const QString& name, const QString& text,
                                         bool fields) {
  if (!fields) return text;
  FieldValues values = ValuesWithoutAsking();
  if (!AskFillIns(window, name, text, values)) return std::nullopt;
  return FillFields(text, values).text;
}

QString TemplateTextForClipboard(const QString& text, bool fields, QStringList& leftEmpty) {
  leftEmpty.clear();
  if (!fields) return text;
  FilledTemplate filled = FillFields(text, ValuesWithoutAsking());
  leftEmpty = filled.leftEmpty;
  return filled.text;
}
