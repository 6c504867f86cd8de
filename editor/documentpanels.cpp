// The panels that show what the document is: caret, format and unsaved changes.
#include "editor/documentpanels.h"

#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QShortcut>
#include <QStatusBar>
#include <QTextBlock>
#include <QToolButton>

#include "common/longjob.h"
#include "common/plaintext.h"
#include "documents/document.h"

namespace {

const QString kUtf8 = QStringLiteral("UTF-8");
const QString kWindows1252 = QStringLiteral("Windows-1252");
const QString kLf = QStringLiteral("\n");
const QString kCrLf = QStringLiteral("\r\n");

QToolButton* NewChoice(QWidget* parent, const QString& name, const QString& accessible,
                       const QString& tip, QMenu* menu) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setAutoRaise(true);
  b->setPopupMode(QToolButton::InstantPopup);
  b->setToolButtonStyle(Qt::ToolButtonTextOnly);
  b->setAccessibleName(accessible);
  b->setToolTip(tip);
  b->setMenu(menu);
  // The document keeps the keyboard; its own keys open the same menus.
  b->setFocusPolicy(Qt::NoFocus);
  // As high as the bar's text, whatever the style's buttons would take.
  b->setMaximumHeight(b->fontMetrics().height() + 4);
  return b;
}

const char* const kWhole = "quorpad_whole_text";

// A panel's tip: the whole text where the panel shows it cut or shortened, else none.
void RefreshTip(QLabel* panel) {
  const QString whole = panel->property(kWhole).toString();
  const bool cut = whole != panel->text() ||
                   panel->fontMetrics().horizontalAdvance(whole) > panel->contentsRect().width();
  panel->setToolTip(cut ? PlainToolTip(whole) : QString());
}

// Renews a panel's tip whenever the panel's width changes.
class TipKeeper : public QObject {
 public:
  explicit TipKeeper(QLabel* panel) : QObject(panel) { panel->installEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Resize) RefreshTip(static_cast<QLabel*>(watched));
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

void ShowInPanel(QLabel* panel, const QString& text, const QString& whole) {
  const QString all = whole.isNull() ? text : whole;
  if (!panel->property(kWhole).isValid()) new TipKeeper(panel);
  panel->setProperty(kWhole, all);
  panel->setText(text);
  // Screen readers read the panel's name (what it is) and then this (what it says).
  panel->setAccessibleDescription(all);
  RefreshTip(panel);
}

QLabel* NewPanel(QWidget* parent, const QString& name, const QString& accessible) {
  QLabel* l = NewPlainLabel(parent);
  l->setObjectName(name);
  l->setAccessibleName(accessible);
  l->setContentsMargins(6, 0, 6, 0);
  return l;
}

DocumentPanels::DocumentPanels(QStatusBar* bar, Document* document, QPlainTextEdit* editor)
    : QObject(bar), document_(document), editor_(editor) {
  notice_ = NewPanel(bar, QStringLiteral("status_notice"), tr("Format notice"));
  caret_ = NewPanel(bar, QStringLiteral("status_caret"), tr("Caret position"));

  encodingMenu_ = new QMenu(bar);
  encodingMenu_->setObjectName(QStringLiteral("mnuEncoding"));
  encodingMenu_->setToolTipsVisible(true);
  auto* encodings = new QActionGroup(encodingMenu_);
  for (const QString& name : {kUtf8, kWindows1252}) {
    QAction* a = encodingMenu_->addAction(name);
    a->setCheckable(true);
    a->setData(name == kUtf8);
    encodings->addAction(a);
  }
  connect(encodingMenu_, &QMenu::aboutToShow, this, &DocumentPanels::fillEncodingMenu);
  connect(encodingMenu_, &QMenu::triggered, this,
          [this](QAction* a) { document_->chooseEncoding(a->data().toBool()); });
  encoding_ = NewChoice(bar, QStringLiteral("status_encoding"), tr("Encoding"),
                        tr("The encoding the next save writes. Click or press Ctrl+E in "
                           "the document to choose."),
                        encodingMenu_);

  lineEndMenu_ = new QMenu(bar);
  lineEndMenu_->setObjectName(QStringLiteral("mnuLineEnds"));
  auto* ends = new QActionGroup(lineEndMenu_);
  for (const auto& [caption, end] :
       {std::pair{tr("LF (Linux, macOS)"), kLf}, std::pair{tr("CRLF (Windows)"), kCrLf}}) {
    QAction* a = lineEndMenu_->addAction(caption);
    a->setCheckable(true);
    a->setData(end);
    ends->addAction(a);
  }
  connect(lineEndMenu_, &QMenu::aboutToShow, this, [this] {
    for (QAction* a : lineEndMenu_->actions())
      a->setChecked(a->data().toString() == document_->format().lineEnd);
  });
  connect(lineEndMenu_, &QMenu::triggered, this,
          [this](QAction* a) { document_->chooseLineEnd(a->data().toString()); });
  lineEnds_ = NewChoice(bar, QStringLiteral("status_line_ends"), tr("Line ends"),
                        tr("The line ends the next save writes. Click or press Ctrl+L in "
                           "the document to choose."),
                        lineEndMenu_);

  unsaved_ = NewPanel(bar, QStringLiteral("status_unsaved"), tr("Unsaved changes"));

  jobProgress_ = NewPanel(bar, QStringLiteral("status_job"), tr("Work under way"));
  jobCancel_ = new QToolButton(bar);
  jobCancel_->setObjectName(QStringLiteral("status_job_cancel"));
  jobCancel_->setText(tr("Cancel"));
  jobCancel_->setAutoRaise(true);
  jobCancel_->setFocusPolicy(Qt::NoFocus);
  jobCancel_->setToolTip(tr("Stops the work and leaves everything as it was (Escape)."));
  jobCancel_->setMaximumHeight(jobCancel_->fontMetrics().height() + 4);
  cancelKey_ = new QShortcut(QKeySequence(Qt::Key_Escape), bar->window());
  cancelKey_->setContext(Qt::WindowShortcut);
  const auto cancelShown = [this] {
    if (shownJob_) shownJob_->cancel();
  };
  connect(jobCancel_, &QToolButton::clicked, this, cancelShown);
  connect(cancelKey_, &QShortcut::activated, this, cancelShown);
  hideJob(nullptr);

  bar->addPermanentWidget(jobProgress_);
  bar->addPermanentWidget(jobCancel_);
  for (QWidget* w : all()) bar->addPermanentWidget(w);

  connect(editor_, &QPlainTextEdit::cursorPositionChanged, this, &DocumentPanels::showCaret);
  // Select All moves the caret without telling of it but as a change of the selection.
  connect(editor_, &QPlainTextEdit::selectionChanged, this, &DocumentPanels::showCaret);
  connect(editor_->document(), &QTextDocument::modificationChanged, this,
          &DocumentPanels::showModified);
  connect(document_, &Document::formatChanged, this, [this] {
    showNotice(QString());
    showFormat();
  });
  connect(document_, &Document::formatNotice, this, &DocumentPanels::showNotice);
  showNotice(QString());
  showCaret();
  showFormat();
  showModified(editor_->document()->isModified());
}

void DocumentPanels::showNotice(const QString& text) {
  // The panel names the character, just before the encoding it turned to; the tip and the
  // accessible description say it whole. Without a notice the panel takes no room.
  ShowInPanel(notice_,
              text.isEmpty()
                  ? QString()
                  : text.section(QStringLiteral(": "), 0, 0)
                            .remove(QRegularExpression(QStringLiteral(" \\(U\\+[0-9A-F]+\\)"))) +
                        QLatin1Char(':'),
              text);
  notice_->setVisible(!text.isEmpty());
}

void DocumentPanels::popUpMenu(QToolButton* panel) {
  if (!panel->isVisible()) return;
  panel->menu()->popup(panel->mapToGlobal(QPoint(0, 0)) -
                       QPoint(0, panel->menu()->sizeHint().height()));
}

QList<QWidget*> DocumentPanels::all() const {
  return {caret_, notice_, encoding_, lineEnds_, unsaved_};
}

void DocumentPanels::showCaret() {
  const QTextCursor c = editor_->textCursor();
  QString text = tr("Ln %1, Col %2").arg(c.blockNumber() + 1).arg(c.positionInBlock() + 1);
  // The text's size, while it is not the written one.
  if (zoom_ != 100) text += QStringLiteral("  ") + QString::number(zoom_) + QLatin1Char('%');
  ShowInPanel(caret_, text);
}

void DocumentPanels::showZoom(int percent) {
  zoom_ = percent;
  showCaret();
}

void DocumentPanels::showFormat() {
  const DocumentFormat& f = document_->format();
  encoding_->setText(f.utf8 ? kUtf8 : kWindows1252);
  lineEnds_->setText(f.lineEnd == kCrLf                 ? QStringLiteral("CRLF")
                     : f.lineEnd == QLatin1String("\r") ? QStringLiteral("CR")
                     : f.lineEnd.isEmpty()              ? tr("Mixed")
                                                        : QStringLiteral("LF"));
  for (QToolButton* b : {encoding_, lineEnds_}) b->setAccessibleDescription(b->text());
}

void DocumentPanels::showModified(bool modified) {
  ShowInPanel(unsaved_, modified ? tr("Unsaved") : QString());
  unsaved_->setVisible(modified);
  // Once the text is saved the notice has been borne out.
  if (!modified) showNotice(QString());
}

void DocumentPanels::watch(LongJob* job, bool cancellable) {
  connect(job, &LongJob::progressed, this,
          [this, job, cancellable](const QString& what, int percent, qint64) {
            showJob(job, what, percent, cancellable);
          });
  connect(job, &LongJob::ended, this, [this, job] { hideJob(job); });
}

void DocumentPanels::showJob(LongJob* job, const QString& what, int percent, bool cancellable) {
  shownJob_ = job;
  ShowInPanel(jobProgress_,
              percent < 0 ? tr("%1...").arg(what) : tr("%1... %2%").arg(what).arg(percent));
  jobProgress_->show();
  jobCancel_->setVisible(cancellable);
  // Escape belongs to the work once it shows; a key pressed before is the person's next step
  // (closing the Find bar after Replace All).
  cancelKey_->setEnabled(cancellable);
}

void DocumentPanels::hideJob(LongJob* job) {
  if (job != shownJob_) return;
  shownJob_ = nullptr;
  ShowInPanel(jobProgress_, QString());
  jobProgress_->hide();
  jobCancel_->hide();
  cancelKey_->setEnabled(false);
}

void DocumentPanels::fillEncodingMenu() {
  // Windows-1252 is offered only while the whole text fits it.
  const bool fits = document_->format().utf8 ? document_->fitsWindows1252() : true;
  for (QAction* a : encodingMenu_->actions()) {
    const bool utf8 = a->data().toBool();
    a->setChecked(utf8 == document_->format().utf8);
    if (!utf8) {
      a->setEnabled(fits);
      a->setToolTip(fits ? QString() : tr("The text has characters that Windows-1252 lacks."));
    }
  }
}
