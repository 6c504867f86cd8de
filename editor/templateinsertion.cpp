// Putting a template's text into the document or on the clipboard.
#include "templateinsertion.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextCursor>

#include "common/clipboardread.h"
#include "common/longjob.h"
#include "common/modal.h"
#include "common/plaintext.h"
#include "common/templatefields.h"
#include "common/templatelist.h"

namespace {

FieldValues ValuesWithoutAsking() {
  FieldValues values;
  values.now = FieldClock();
  // Another program's clipboard is read beside the window, which paints meanwhile.
  values.clipboard = [] { return ReadClipboardNow(QClipboard::Clipboard); };
  return values;
}

// Asks the fill-ins of the template called `name` in one question over `window`, into
// `values`; false when the person cancels it.
bool AskFillIns(QWidget* window, const QString& name, const QString& text, FieldValues& values) {
  const QStringList names = FillInNames(text);
  if (names.isEmpty()) return true;
  QStringList answers;
  const QString intro =
      QCoreApplication::translate("TemplateInsertion", "The template “%1” asks for:")
          .arg(ShownName(name));
  if (!Modal().fillIn(window, QCoreApplication::translate("TemplateInsertion", "Fill In Template"),
                      intro, names, answers))
    return false;
  for (int i = 0; i < names.size(); ++i) values.answers.insert(names[i], answers.value(i));
  return true;
}

// Whether filling `text` reads the clipboard.
bool ReadsClipboard(const QString& text) {
  FieldValues values;
  bool reads = false;
  values.clipboard = [&reads] {
    reads = true;
    return QString();
  };
  FillFields(text, values);
  return reads;
}

}  // namespace

void InsertTemplateText(QPlainTextEdit* box, const QString& name, const QString& text, bool fields,
                        LongJob* reader) {
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
  if (!reader || !ReadsClipboard(text)) {
    const FilledTemplate filled = FillFields(text, values);
    PutText(nullptr, box, box->textCursor(), filled.text, filled.caret);
    return;
  }
  // Another program's clipboard comes in beside the window, and a big text goes in a slice
  // at a time. The text goes where it was asked for, whatever the person selects meanwhile
  // (a Find).
  QPointer<QPlainTextEdit> target(box);
  ReadClipboardThen(
      reader, box, QClipboard::Clipboard,
      [reader, target, place = box->textCursor(), text, values](const QString& clipboard) mutable {
        if (!target) return;
        values.clipboard = [clipboard] { return clipboard; };
        const FilledTemplate filled = FillFields(text, values);
        PutText(reader, target, place, filled.text, filled.caret);
      });
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
