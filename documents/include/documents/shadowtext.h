// A copy of a text document's text that follows its changes piece by piece, so that taking
// the whole text costs next to nothing on the GUI thread however large the document is.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <vector>

class QTextDocument;

class ShadowText : public QObject {
  Q_OBJECT

 public:
  using Pieces = std::vector<QString>;

  // Follows `document` (not owned) from now on.
  explicit ShadowText(QTextDocument* document, QObject* parent = nullptr);

  // The one shadow of `document`, made the first time it is asked for and kept as long as
  // the document: whoever needs the text beside the window (the recovery copy, the Find bar)
  // shares it, so that a document is followed, and held in memory, once.
  static ShadowText* of(QTextDocument* document);
  // That shadow where one follows the document already; null where none does.
  static ShadowText* find(const QTextDocument* document);

  // The document's raw text (paragraphs separated by U+2029) in pieces that share their
  // data with this object: cheap to take, and safe to join on another thread.
  Pieces pieces();
  // Joins pieces into one text.
  static QString join(const Pieces& pieces);
  // Adds `text` (lines separated by LF) at the end of `document`, whose shadow, where one
  // follows it, takes the text as it is rather than back out of the document (a file coming
  // in, a piece at a time).
  static void append(QTextDocument* document, const QString& text);

  // How often a change could not be followed and the text had to be taken from the
  // document whole (for tests).
  int rebuilds() const { return rebuilds_; }

 private:
  void changed(int position, int removed, int added);
  bool replace(qsizetype position, qsizetype removed, const QString& added);
  void rebuild();

  QPointer<QTextDocument> document_;
  Pieces pieces_;
  qsizetype size_ = 0;
  bool valid_ = false;
  int rebuilds_ = 0;
  QString expected_;
};
