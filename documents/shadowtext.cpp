// The shadow text: a list of pieces of a few ten thousand characters each, so that a change
// moves the characters of one piece only, never those of the whole text; most hold a byte a
// character.
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

constexpr char16_t kParagraph = 0x2029;

// `text` a byte a character into `bytes`, with LF for each character `isEnd` makes a line
// end; false, with `bytes` unfinished, at the first character beyond the first 256.
template <typename IsEnd>
bool Narrow(QStringView text, QByteArray& bytes, IsEnd isEnd) {
  bytes.resize(text.size());
  char* out = bytes.data();
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if (u < 256 && u != u'\n' && u != u'\r')
      *out++ = static_cast<char>(u);
    else if (isEnd(u))
      *out++ = '\n';
    else
      return false;
  }
  return true;
}

}  // namespace

ShadowText::Piece::Piece(QStringView text) {
  if (!narrowed(text)) text_ = text.toString();
}

ShadowText::Piece::Piece(const QString& text) {
  if (!narrowed(text)) text_ = text;
}

bool ShadowText::Piece::narrowed(QStringView text) {
  wide_ = !Narrow(text, bytes_, [](char16_t u) { return u == kParagraph; });
  if (wide_) bytes_.clear();
  return !wide_;
}

ShadowText::Piece ShadowText::Piece::added(QString text) {
  Piece piece;
  if (Narrow(text, piece.bytes_,
             [](char16_t u) { return u == u'\n' || u == u'\r' || u == kParagraph; }))
    return piece;
  piece.bytes_.clear();
  for (QChar& c : text)
    if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar(0xFDD0) ||
        c == QChar(0xFDD1))
      c = QChar::ParagraphSeparator;
  piece.text_ = std::move(text);
  piece.wide_ = true;
  return piece;
}

void ShadowText::Piece::widen() {
  if (wide_) return;
  text_.clear();
  appendTo(text_);
  bytes_.clear();
  wide_ = true;
}

void ShadowText::Piece::insert(qsizetype at, const Piece& piece) {
  if (!wide_ && !piece.wide_) {
    bytes_.insert(at, piece.bytes_);
    return;
  }
  widen();
  if (piece.wide_) {
    text_.insert(at, piece.text_);
  } else {
    QString text;
    piece.appendTo(text);
    text_.insert(at, text);
  }
}

void ShadowText::Piece::remove(qsizetype at, qsizetype count) {
  if (wide_)
    text_.remove(at, count);
  else
    bytes_.remove(at, count);
}

ShadowText::Piece ShadowText::Piece::mid(qsizetype at, qsizetype count) const {
  // A part of a wide piece is narrow again where it can be, so that one wide character does
  // not keep the rest of a growing piece wide once it is split.
  if (wide_) return Piece(QStringView(text_).mid(at, std::min(count, text_.size() - at)));
  Piece piece;
  piece.bytes_ = bytes_.mid(at, count);
  return piece;
}

ShadowText::Piece ShadowText::Piece::asIs(QString text) {
  Piece piece;
  piece.text_ = std::move(text);
  piece.wide_ = true;
  return piece;
}

void ShadowText::Piece::appendTo(QString& text) const {
  if (wide_) {
    text += text_;
    return;
  }
  const qsizetype from = text.size();
  text += QLatin1StringView(bytes_);
  QChar* c = text.data() + from;
  for (QChar* const end = text.data() + text.size(); c != end; ++c)
    if (*c == QLatin1Char('\n')) *c = QChar::ParagraphSeparator;
}

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
  const Piece text = expected.size() == added && removed == 0 && position == size_
                         ? Piece::added(std::move(expected))
                         : Piece(RawText(document_, position, added));
  if (position < 0 || !replace(position, removed, text)) {
    // Never expected; the text is taken whole at the next use.
    valid_ = false;
  }
}

bool ShadowText::replace(qsizetype position, qsizetype removed, const Piece& added) {
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
    const Piece big = std::move(pieces_[i]);
    Pieces split;
    for (qsizetype at = 0; at < big.size(); at += kPiece) split.push_back(big.mid(at, kPiece));
    pieces_.erase(pieces_.begin() + static_cast<std::ptrdiff_t>(i));
    pieces_.insert(pieces_.begin() + static_cast<std::ptrdiff_t>(i), split.begin(), split.end());
  }
  pieces_.erase(std::remove_if(pieces_.begin(), pieces_.end(),
                               [](const Piece& piece) { return piece.isEmpty(); }),
                pieces_.end());
  return true;
}

void ShadowText::rebuild() {
  pieces_.clear();
  const QString text = document_ ? document_->toRawText() : QString();
  for (qsizetype at = 0; at < text.size(); at += kPiece)
    pieces_.emplace_back(QStringView(text).mid(at, std::min(kPiece, text.size() - at)));
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
  for (const Piece& piece : pieces) size += piece.size();
  QString text;
  text.reserve(size);
  for (const Piece& piece : pieces) piece.appendTo(text);
  return text;
}
