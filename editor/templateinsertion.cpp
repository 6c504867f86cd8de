// Putting a template's text into the document or on the clipboard.
#include "templateinsertion.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextCursor>
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

void PutFilled(QPlainTextEdit* box, const FilledTemplate& filled) {
  QTextCursor cursor = box->textCursor();
  const int start = cursor.selectionStart();
  cursor.beginEditBlock();
  cursor.insertText(filled.text);
  cursor.endEditBlock();
  if (filled.caret >= 0) cursor.setPosition(start + filled.caret);
  box->setTextCursor(cursor);
  box->ensureCursorVisible();
}

// Puts `filled` in `box` in place of its selection as `job`'s slices, as one undo step.
void PutInSlices(LongJob* job, QPlainTextEdit* box, std::shared_ptr<const FilledTemplate> filled) {
  if (filled->text.size() < kWorkBesideFrom) {
    PutFilled(box, *filled);
    return;
  }
  struct Put {
    int start = -1;  // where the text begins, once its first piece is in
    int at = 0;      // where the next piece goes
    qsizetype done = 0;
  };
  auto put = std::make_shared<Put>();
  QPointer<QPlainTextEdit> target(box);
  job->onCancel([target, put] {
    if (target && put->start >= 0) target->document()->undo();
  });
  job->goOnInSlices(
      QCoreApplication::translate("TemplateInsertion", "Inserting"),
      [target, filled, put](JobProgress& progress) {
        if (!target) return true;
        const QString& text = filled->text;
        QElapsedTimer slice;
        slice.start();
        for (int n = 0; n < LongJob::kPiecesPerSlice && put->done < text.size() &&
                        slice.elapsed() < LongJob::kSliceMs;
             ++n) {
          qsizetype end = std::min(text.size(), put->done + LongJob::kTextPiece);
          if (end < text.size() && text.at(end - 1).isHighSurrogate()) ++end;
          QTextCursor cursor = target->textCursor();
          if (put->start < 0) {
            put->start = cursor.selectionStart();
            cursor.beginEditBlock();
          } else {
            cursor.setPosition(put->at);
            cursor.joinPreviousEditBlock();
          }
          cursor.insertText(QStringView(text).mid(put->done, end - put->done).toString());
          cursor.endEditBlock();
          put->at = cursor.position();
          put->done = end;
        }
        progress.report(put->done, text.size());
        if (put->done < text.size()) return false;
        QTextCursor caret = target->textCursor();
        caret.setPosition(filled->caret >= 0 ? put->start + filled->caret : put->at);
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
    PutFilled(box, FillFields(text, values));
    return;
  }
  // Another program's clipboard comes in beside the window and a big text goes in a slice
  // at a time, the document standing still meanwhile; cancelled, it is left as it was.
  QPointer<QPlainTextEdit> target(box);
  reader->start<std::optional<QString>>(
      QCoreApplication::translate("TemplateInsertion", "Reading the clipboard"),
      ReadX11ClipboardText, [reader, target, text, values](std::optional<QString>& read) mutable {
        if (!target) return;
        if (read) values.clipboard = [clipboard = *read] { return clipboard; };
        PutInSlices(reader, target,
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
