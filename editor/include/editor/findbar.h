// Find and Replace for the document: a bar under it, driven from the keyboard.
#pragma once

#include <QFrame>
#include <QRegularExpression>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QThreadPool;
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
  // The replacement as QString::replace() takes it: \1 and the like only for expressions.
  QString replacement(const QString& with) const;
};

// What the bar says of an expression that backtracks beyond the search's limits on this
// text (such as "(a+)+$" over long runs of a's): it neither matches nor fails to.
inline constexpr const char* kTooComplex = "The expression is too complex to search this text.";

// Whether the search for `query` in `text` from `from` on stops at the regular-expression
// library's limits instead of finding a match or none.
bool SearchTooComplex(const FindQuery& query, const QString& text, qsizetype from);
// The number of matches of `query` in `text` (0 for an empty or invalid query), or -1 where
// the expression is too complex for the text.
qsizetype CountMatches(const QString& text, const FindQuery& query);
// `text` with every match of `query` replaced by `with`; `count` says how many, or is -1
// where the expression is too complex for the text: then nothing is replaced.
QString ReplaceAll(const QString& text, const FindQuery& query, const QString& with,
                   qsizetype& count);

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
  // Replaces every match, as one step for Undo; returns how many.
  qsizetype replaceEvery();

  FindQuery query() const;
  // What the bar says: the number of matches, a wrap-around, an invalid pattern.
  QString statusText() const;
  // Whether a count is still under way (for tests).
  bool counting() const { return counting_ > 0; }

 Q_SIGNALS:
  // The bar was shown or hidden, so that the window can make room for it.
  void visibilityChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
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
  int anchor_ = 0;          // where typing searches from
  QString text_;            // the document's text as last searched
  int textRevision_ = -1;   // the document revision of text_
  QString counted_;         // "N matches", once counted
  QString note_;            // a wrap-around or an error
  quint64 generation_ = 0;  // a newer count overtakes an older one
  int counting_ = 0;
  QThreadPool* counter_ = nullptr;
  // The document's text, followed edit by edit, so that a count takes it at no cost to the
  // window however large the document is.
  ShadowText* shadow_ = nullptr;
  QTimer* recountSoon_ = nullptr;
};
