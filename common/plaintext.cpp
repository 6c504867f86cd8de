// Text boxes' text without the substitutions of toPlainText().
#include "common/plaintext.h"

#include <QPlainTextEdit>
#include <QTextDocumentFragment>

namespace {

// The raw text separates paragraphs with U+2029; everything else is as stored.
QString WithLineFeeds(QString raw) {
  raw.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  return raw;
}

}  // namespace

QString DocumentText(const QPlainTextEdit* box) {
  return WithLineFeeds(box->document()->toRawText());
}

QString SelectedText(const QPlainTextEdit* box) {
  return WithLineFeeds(box->textCursor().selection().toRawText());
}
