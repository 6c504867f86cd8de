// Text boxes' text without the substitutions of toPlainText().
#include "common/plaintext.h"

#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextDocument>
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

QLabel* NewPlainLabel(QWidget* parent, const QString& text) {
  auto* label = new QLabel(parent);
  MakePlain(label);
  label->setText(text);
  return label;
}

void MakePlain(QLabel* label) {
  label->setTextFormat(Qt::PlainText);
  // Nor does a plain label follow links or hand them to the desktop.
  label->setOpenExternalLinks(false);
}

void MakePlain(QMessageBox* box) {
  box->setTextFormat(Qt::PlainText);
}

QString PlainToolTip(const QString& text) {
  if (text.isEmpty()) return text;
  return Qt::convertFromPlainText(text, Qt::WhiteSpacePre);
}

QString AsPlainLines(QString text) {
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}
