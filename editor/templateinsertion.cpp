// Putting a template's text into the document or on the clipboard.
#include "templateinsertion.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <memory>

#include "common/clipboardread.h"
#include "common/longjob.h"
#include "common/modal.h"
#include "common/plaintext.h"
#include "common/templatefields.h"

namespace {

FieldValues ValuesWithoutAsking() {
  FieldValues values;
  values.now = FieldClock();
  values.clipboard = [] { return AsPlainLines(QApplication::clipboard()->text()); };
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

// Puts `filled` in place of `cursor`'s selection, as one undo step.
void PutFilled(QPlainTextEdit* box, QTextCursor cursor, const FilledTemplate& filled) {
  const int start = cursor.selectionStart();
  cursor.beginEditBlock();
  cursor.insertText(filled.text);
  cursor.endEditBlock();
  if (filled.caret >= 0) cursor.setPosition(start + filled.caret);
  box->setTextCursor(cursor);
  box->ensureCursorVisible();
}

// Puts `filled` in place of `place`'s selection in `box` as `job`'s slices, as one undo step.
void PutInSlices(LongJob* job, QPlainTextEdit* box, const QTextCursor& place,
                 std::shared_ptr<const FilledTemplate> filled) {
  if (filled->text.size() < kWorkBesideFrom) {
    PutFilled(box, place, *filled);
    return;
  }
  struct Put {
    QTextCursor cursor;  // where the next piece goes
    int start = -1;      // where the text begins, once its first piece is in
    int revision = -1;   // the document's after the last piece
    qsizetype done = 0;
  };
  auto put = std::make_shared<Put>(Put{place});
  QPointer<QPlainTextEdit> target(box);
  job->onCancel([target, put] {
    // Back to the text as it was, in one Undo of the pieces put in so far, which no Redo
    // brings back.
    if (!target || put->start < 0 || target->document()->revision() != put->revision) return;
    target->document()->undo();
    target->document()->clearUndoRedoStacks(QTextDocument::RedoStack);
  });
  job->goOnInSlices(
      QCoreApplication::translate("TemplateInsertion", "Inserting"),
      [target, filled, put](JobProgress& progress) {
        if (!target) return true;
        const QString& text = filled->text;
        for (SliceBudget slice; put->done < text.size() && slice.more();) {
          qsizetype end = std::min(text.size(), put->done + LongJob::kTextPiece);
          if (end < text.size() && text.at(end - 1).isHighSurrogate()) ++end;
          QTextCursor& cursor = put->cursor;
          if (put->start < 0) {
            put->start = cursor.selectionStart();
            cursor.beginEditBlock();
          } else {
            cursor.joinPreviousEditBlock();
          }
          cursor.insertText(QStringView(text).mid(put->done, end - put->done).toString());
          cursor.endEditBlock();
          put->revision = target->document()->revision();
          put->done = end;
        }
        progress.report(put->done, text.size());
        if (put->done < text.size()) return false;
        QTextCursor caret = put->cursor;
        if (filled->caret >= 0) caret.setPosition(put->start + filled->caret);
        target->setTextCursor(caret);
        target->ensureCursorVisible();
        return true;
      });
}

}  // namespace

QString AsPlainLines(QString text) {
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

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
  if (!reader || !ClipboardIsForeignX11() || !ReadsClipboard(text)) {
    PutFilled(box, box->textCursor(), FillFields(text, values));
    return;
  }
  // Another program's clipboard comes in beside the window and a big text goes in a slice
  // at a time, the document standing still meanwhile; cancelled, it is left as it was. The
  // text goes where it was asked for, whatever the person selects meanwhile (a Find).
  QPointer<QPlainTextEdit> target(box);
  reader->start<std::optional<QString>>(
      QCoreApplication::translate("TemplateInsertion", "Reading the clipboard"),
      ReadX11ClipboardText,
      [reader, target, place = box->textCursor(), text,
       values](std::optional<QString>& read) mutable {
        if (!target) return;
        if (read) values.clipboard = [clipboard = AsPlainLines(*read)] { return clipboard; };
        PutInSlices(reader, target, place,
                    std::make_shared<const FilledTemplate>(FillFields(text, values)));
      });
  HoldTextStill(box, reader);
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
