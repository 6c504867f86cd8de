// The shadow text: a list of pieces of a few ten thousand characters each, so that a change
// moves the characters of one piece only, never those of the whole text.
#include "documents/shadowtext.h"

#include <QAbstractTextDocumentLayout>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <utility>

namespace {

constexpr qsizetype kPiece = 32 * 1024;
constexpr int kWholeFrom = 256 * 1024;

// `count` characters of the document's raw text from `position` on, as the document keeps
// them (paragraphs separated by U+2029, as in toRawText()). Returns fewer when the document
// ends before.
QString RawText(QTextDocument* document, int position, int count) {
  if (count <= 0) return QString();
  QTextCursor range(document);
  range.setPosition(position);
  range.setPosition(std::min(position + count, document->characterCount() - 1),
                    QTextCursor::KeepAnchor);
  return range.selectedText();
}

}  // namespace

ShadowText::ShadowText(QTextDocument* document, QObject* parent)
    : QObject(parent), document_(document) {
  // A document tells its changes only once it has a layout; a text box gives it one.
  document->documentLayout();
  connect(document, &QTextDocument::contentsChange, this, &ShadowText::changed);
  rebuild();
}

ShadowText* ShadowText::of(QTextDocument* document) {
  ShadowText* shadow = find(document);
  return shadow ? shadow : new ShadowText(document, document);
}

ShadowText* ShadowText::find(const QTextDocument* document) {
  return document->findChild<ShadowText*>(QString(), Qt::FindDirectChildrenOnly);
}

void ShadowText::append(QTextDocument* document, const QString& text) {
  ShadowText* shadow = find(document);
  if (shadow) shadow->expected_ = text;
  QTextCursor end(document);
  end.movePosition(QTextCursor::End);
  end.insertText(text);
  if (shadow) shadow->expected_ = QString();
}

void ShadowText::changed(int position, int removed, int added) {
  QString expected = std::exchange(expected_, QString());
  if (!valid_ || !document_) return;
  // The document counts one character more than its raw text: the last block's separator.
  // A change reported up to the very end counts it too. Clearing the document reports its
  // new empty block before the removal of the old text, so the two lengths may differ for
  // a moment; the removal that follows brings them together again.
  const qsizetype length = document_->characterCount() - 1;
  if (added > kWholeFrom) {
    // A text of this size is taken from the document faster whole than block by block.
    rebuild();
    return;
  }
  added = static_cast<int>(std::clamp<qsizetype>(length - position, 0, added));
  removed = static_cast<int>(std::clamp<qsizetype>(size_ - position, 0, removed));
  // The text appended is the one the document took, with the characters it makes paragraph
  // ends made so (a CR LF pair, made one, leaves the lengths apart); taken from the document
  // otherwise.
  QString text;
  if (expected.size() == added && removed == 0 && position == size_) {
    text = std::move(expected);
    for (QChar& c : text)
      if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar(0xFDD0) ||
          c == QChar(0xFDD1))
        c = QChar::ParagraphSeparator;
  } else {
    text = RawText(document_, position, added);
  }
  if (position < 0 || !replace(position, removed, text)) {
    // Never expected; the text is taken whole at the next use.
    valid_ = false;
  }
}

bool ShadowText::replace(qsizetype position, qsizetype removed, const QString& added) {
  if (position > size_ || position + removed > size_) return false;
  // The piece that holds the position (or, at the very end, the last one).
  std::size_t i = 0;
  qsizetype offset = position;
  while (i + 1 < pieces_.size() && offset >= pieces_[i].size()) offset -= pieces_[i++].size();
  if (pieces_.empty()) pieces_.emplace_back();
  const std::size_t first = i;
  const qsizetype at = offset;
  for (qsizetype left = removed; left > 0;) {
    if (offset >= pieces_[i].size()) {
      ++i;
      offset = 0;
      continue;
    }
    const qsizetype take = std::min(left, pieces_[i].size() - offset);
    pieces_[i].remove(offset, take);
    left -= take;
  }
  // The added text goes where the removal began.
  i = first;
  pieces_[i].insert(at, added);
  size_ += added.size() - removed;
  // A piece grown large is split; pieces left empty go.
  if (pieces_[i].size() > 2 * kPiece) {
    QString big = std::move(pieces_[i]);
    Pieces split;
    for (qsizetype at = 0; at < big.size(); at += kPiece) split.push_back(big.mid(at, kPiece));
    pieces_.erase(pieces_.begin() + static_cast<std::ptrdiff_t>(i));
    pieces_.insert(pieces_.begin() + static_cast<std::ptrdiff_t>(i), split.begin(), split.end());
  }
  pieces_.erase(std::remove_if(pieces_.begin(), pieces_.end(),
                               [](const QString& piece) { return piece.isEmpty(); }),
                pieces_.end());
  return true;
}

void ShadowText::rebuild() {
  pieces_.clear();
  const QString text = document_ ? document_->toRawText() : QString();
  for (qsizetype at = 0; at < text.size(); at += kPiece) pieces_.push_back(text.mid(at, kPiece));
  size_ = text.size();
  valid_ = true;
}

ShadowText::Pieces ShadowText::pieces() {
  if (!valid_ || (document_ && size_ != document_->characterCount() - 1)) {
    ++rebuilds_;
    rebuild();
  }
  return pieces_;
}

QString ShadowText::join(const Pieces& pieces) {
  qsizetype size = 0;
  for (const QString& piece : pieces) size += piece.size();
  QString text;
  text.reserve(size);
  for (const QString& piece : pieces) text += piece;
  return text;
}
