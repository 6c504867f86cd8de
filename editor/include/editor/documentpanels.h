// The status bar's panels after the first: what the document is and how it will be saved.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class Document;
class LongJob;
class QLabel;
class QShortcut;
class QMenu;
class QPlainTextEdit;
class QStatusBar;
class QToolButton;
class QWidget;

// Shows `text` in a status panel (or a bar's status label): its accessible description says
// the same, and while the panel is too narrow for it, or shows a shortened form of `whole`,
// its tooltip says it whole.
void ShowInPanel(QLabel* panel, const QString& text, const QString& whole = QString());

// The caret's line and column, a notice about the encoding when an edit changed it, the
// encoding and the line ends of the next save (each a button that chooses them), and a mark
// while changes are unsaved.
class DocumentPanels : public QObject {
  Q_OBJECT

 public:
  // Adds the panels to `bar`, after what it holds; they follow `document` and `editor`.
  DocumentPanels(QStatusBar* bar, Document* document, QPlainTextEdit* editor);

  QLabel* caret() const { return caret_; }
  QLabel* notice() const { return notice_; }
  QToolButton* encoding() const { return encoding_; }
  QToolButton* lineEnds() const { return lineEnds_; }
  QLabel* unsaved() const { return unsaved_; }
  // Every panel, in order: caret, notice, encoding, line ends, unsaved mark.
  QList<QWidget*> all() const;
  // The document's text size in percent, shown after the caret while it is not 100.
  void showZoom(int percent);
  // Opens the encoding's or the line ends' menu above its panel, as a click does.
  void popUpMenu(QToolButton* panel);
  // Shows `job` once it has lasted half a second: what it does and how far, before the
  // caret, with a Cancel button where `cancellable`; Escape in the window cancels it too.
  void watch(LongJob* job, bool cancellable = true);
  QLabel* jobProgress() const { return jobProgress_; }
  QToolButton* jobCancel() const { return jobCancel_; }

 private:
  void showNotice(const QString& text);
  void showCaret();
  void showFormat();
  void showModified(bool modified);
  void fillEncodingMenu();
  void showJob(LongJob* job, const QString& what, int percent, bool cancellable);
  void hideJob(LongJob* job);

  Document* document_;
  QPlainTextEdit* editor_;
  QLabel* caret_;
  QLabel* notice_;
  QToolButton* encoding_;
  QToolButton* lineEnds_;
  QLabel* unsaved_;
  QMenu* encodingMenu_;
  QMenu* lineEndMenu_;
  int zoom_ = 100;
  QLabel* jobProgress_;
  QToolButton* jobCancel_;
  QShortcut* cancelKey_;
  QPointer<LongJob> shownJob_;  // the job shown, which Cancel and Escape stop
};
