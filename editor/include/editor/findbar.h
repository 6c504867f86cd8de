// Find and Replace for the document: a bar under it, driven from the keyboard.
#pragma once

#include <QCoreApplication>
#include <QFrame>
#include <QPointer>
#include <QRegularExpression>
#include <QString>
#include <memory>
#include <vector>

class JobProgress;
class LongJob;
class QCheckBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class ShadowText;
class QTimer;

// What is searched for: the text and its options, as one regular expression.
struct FindQuery {
  QString text;
  bool matchCase = false;
  bool wholeWords = false;
  bool regularExpression = false;

  // The expression that finds it; invalid (with its error) for a pattern that is not one.
  QRegularExpression expression() const;
};

// What the bar says of an expression that backtracks beyond the search's limits on this
// text (such as "(a+)+$" over long runs of a's): it neither matches nor fails to.
inline QString TooComplex() {
  return QCoreApplication::translate("FindBar",
                                     "The expression is too complex to search this text.");
}

// Whether the search for `query` in `text` from `from` on stops at the regular-expression
// library's limits instead of finding a match or none.
bool SearchTooComplex(const FindQuery& query, const QString& text, qsizetype from);
// The number of matches of `query` in `text` (0 for an empty or invalid query), or -1 where
// the expression is too complex for the text. Run as a job, it tells `progress` how far it
// got and stops (with -1) once cancelled.
qsizetype CountMatches(const QString& text, const FindQuery& query,
                       JobProgress* progress = nullptr);
// One stretch of a text, [from, to), and what replaces it.
struct ReplacedPiece {
  qsizetype from = 0, to = 0;
  QString text;
};
// Every match of `query` in `text` replaced by `with`, as pieces in the order of the text,
// each covering a stretch of some 64K characters from its first match to its last; the text
// between pieces is unchanged. `count` as for ReplaceAll(); no pieces where it is not above 0.
std::vector<ReplacedPiece> ReplacePieces(const QString& text, const FindQuery& query,
                                         const QString& with, qsizetype& count,
                                         JobProgress* progress = nullptr);
// `text` with every match of `query` replaced by `with` (\1 to \99 are the match's groups
// where the query is an expression); `count` says how many, or is -1 where the expression is
// too complex for the text or the job was cancelled: then nothing is replaced.
QString ReplaceAll(const QString& text, const FindQuery& query, const QString& with,
                   qsizetype& count, JobProgress* progress = nullptr);

// Shown under the document by Ctrl+F (find) or Ctrl+H (find and replace). Typing searches
// as it goes, from where the caret was; Enter and F3 go to the next match, Shift+Enter and
// Shift+F3 to the previous one, wrapping around the ends (said in the bar). The bar counts
// the matches on a thread of its own, so a large document never stops the window. Replace
// replaces the selected match and goes on; Replace All is one step for Undo. Escape closes
// the bar and gives the keyboard back to the document.
class FindBar : public QFrame {
  Q_OBJECT

 public:
  FindBar(QPlainTextEdit* document, QWidget* parent);
  ~FindBar() override;

  // Shows the bar for finding (or also replacing), with the selected text to find.
  void open(bool replace);
  void dismiss();
  // The next or previous match from the caret; false when there is none.
  bool findNext();
  bool findPrevious();
  // Replaces the selected match, if it is one, then finds the next.
  void replaceOne();
  // Replaces every match, as one step for Undo, beside the window: the document stays as it
  // is until then (read-only), and stays so if the job is cancelled.
  void replaceEvery();
  // Replace All and the count: the window shows them while they last, and cancels them.
  LongJob* replaceJob() const { return replacer_; }
  // How many matches the last Replace All replaced.
  qsizetype lastReplaced() const { return lastReplaced_; }
  // Waits for the count and Replace All to end, and shows what they found (for tests).
  void waitForWork();

  FindQuery query() const;
  // What the bar says: the number of matches, a wrap-around, an invalid pattern.
  QString statusText() const;
  // Whether a count is still under way (for tests).
  bool counting() const;

 Q_SIGNALS:
  // The bar was shown or hidden, so that the window can make room for it.
  void visibilityChanged();

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // What Replace All found, handed back to the window.
  struct Replaced {
    std::vector<ReplacedPiece> pieces;
    qsizetype count = 0;
  };
  // How far Replace All has put its pieces into the document.
  struct Putting {
    std::size_t next;  // the pieces before this one are still to be put in
    int expected;      // the document's revision after the last piece put in
    int caret;         // where the caret goes once all are in
  };
  void putInPieces(const std::shared_ptr<Replaced>& replaced);
  // Puts in as many pieces as one slice holds (all of them where not `sliced`); true once
  // all are in, or the document changed under them.
  bool putPieces(const Replaced& replaced, Putting& putting, bool sliced);
  void sayReplaced(qsizetype count);
  void createControls();
  bool find(bool forward, bool fromAnchor);
  void searchAsTyped();
  void recount();
  void say(const QString& text);
  const QString& text();

  QPlainTextEdit* document_;
  QLineEdit* txtFind = nullptr;
  QLineEdit* txtReplace = nullptr;
  QCheckBox* chkCase = nullptr;
  QCheckBox* chkWords = nullptr;
  QCheckBox* chkRegex = nullptr;
  QPushButton* cmdPrevious = nullptr;
  QPushButton* cmdNext = nullptr;
  QPushButton* cmdReplace = nullptr;
  QPushButton* cmdReplaceAll = nullptr;
  QPushButton* cmdClose = nullptr;
  QLabel* lblStatus = nullptr;
  QWidget* replaceRow_ = nullptr;
  int anchor_ = 0;         // where typing searches from
  QString text_;           // the document's text as last searched
  int textRevision_ = -1;  // the document revision of text_
  QString counted_;        // "N matches", once counted
  QString note_;           // a wrap-around or an error
  qsizetype lastReplaced_ = 0;
  LongJob* counter_ = nullptr;  // a newer count overtakes an older one
  LongJob* replacer_ = nullptr;
  // The document's text, followed edit by edit, so that a count takes it at no cost to the
  // window however large the document is.
  QPointer<ShadowText> shadow_;  // the document's, shared with whoever else follows it
  QTimer* recountSoon_ = nullptr;
};
