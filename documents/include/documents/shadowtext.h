// A copy of a text document's text that follows its changes piece by piece, so that taking
// the whole text costs next to nothing on the GUI thread however large the document is.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringView>
#include <vector>

class QTextDocument;

class ShadowText : public QObject {
  Q_OBJECT

 public:
  // A stretch of the text. Where each of its characters is one of the first 256 (as in most
  // texts), it holds a byte a character, half the room of UTF-16, with LF standing for the
  // paragraph separator (a raw text has that in place of every line end, and never an LF);
  // UTF-16 otherwise. Copies share their data.
  class Piece {
   public:
    Piece() = default;
    // `text` as a document's raw text holds it (shared, where it is kept as it is).
    Piece(QStringView text);     // NOLINT(google-explicit-constructor): a text is a piece
    Piece(const QString& text);  // NOLINT(google-explicit-constructor)
    // `text` as it is added to a document, whose line ends (LF, CR and the frame marks)
    // become paragraph separators.
    static Piece added(QString text);
    // `text` kept as it is, unscanned: for a text that is joined once and let go.
    static Piece asIs(QString text);
    qsizetype size() const { return wide_ ? text_.size() : bytes_.size(); }
    bool isEmpty() const { return size() == 0; }
    void insert(qsizetype at, const Piece& piece);
    void remove(qsizetype at, qsizetype count);
    Piece mid(qsizetype at, qsizetype count) const;
    void appendTo(QString& text) const;
    bool isWide() const { return wide_; }

   private:
    // Held a byte a character where `text` allows; wide (and empty) otherwise.
    bool narrowed(QStringView text);
    void widen();

    QByteArray bytes_;
    QString text_;
    bool wide_ = false;
  };
  using Pieces = std::vector<Piece>;

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
  bool replace(qsizetype position, qsizetype removed, const Piece& added);
  void rebuild();

  QPointer<QTextDocument> document_;
  Pieces pieces_;
  qsizetype size_ = 0;
  bool valid_ = false;
  int rebuilds_ = 0;
  QString expected_;
};
