// Text boxes' text without the substitutions of toPlainText().
#include "common/plaintext.h"

#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextBlock>
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
  // Its lines as they are, wrapped at their spaces where wider than the screen, and cut
  // where a screen could not show more.
  constexpr qsizetype kLongest = 2000;
  const QString shown = text.size() > kLongest ? text.left(kLongest) + QChar(0x2026) : text;
  return QStringLiteral("<p style=\"white-space:pre-wrap\">") + shown.toHtmlEscaped() +
         QStringLiteral("</p>");
}

namespace {

// Beyond this many characters in one line, wrapping it costs more than the line's length
// (Qt lays a wrapped line out again for every line it breaks into).
constexpr int kLongestWrappedLine = 10000;

const char* const kDesignedWrap = "quorpad_designed_wrap";

}  // namespace

void KeepLayoutLinear(QPlainTextEdit* box) {
  box->setProperty(kDesignedWrap, int(box->lineWrapMode()));
  QTextDocument* document = box->document();
  // Before the box lays the change out: this runs ahead of its layout.
  QObject::connect(document, &QTextDocument::contentsChange, box,
                   [box, document](int from, int removed, int added) {
                     const auto designed =
                         QPlainTextEdit::LineWrapMode(box->property(kDesignedWrap).toInt());
                     if (box->lineWrapMode() != designed) {
                       // A text that starts afresh is looked at whole, by its lines' lengths.
                       if (from != 0 || removed == 0) return;
                       for (QTextBlock b = document->firstBlock(); b.isValid(); b = b.next())
                         if (b.length() > kLongestWrappedLine) return;
                       box->setLineWrapMode(designed);
                       return;
                     }
                     if (designed == QPlainTextEdit::NoWrap) return;
                     for (QTextBlock b = document->findBlock(from);
                          b.isValid() && b.position() <= from + added; b = b.next()) {
                       if (b.length() > kLongestWrappedLine) {
                         box->setLineWrapMode(QPlainTextEdit::NoWrap);
                         return;
                       }
                     }
                   });
}

QString AsPlainLines(QString text) {
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}
