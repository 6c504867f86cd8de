// The panels that show what the document is: caret, format and unsaved changes.
#include "editor/documentpanels.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTextBlock>
#include <QToolButton>

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
  // The document keeps the keyboard; the panels are chosen with the pointer.
  b->setFocusPolicy(Qt::NoFocus);
  // As high as the bar's text, whatever the style's buttons would take.
  b->setMaximumHeight(b->fontMetrics().height() + 4);
  return b;
}

QLabel* NewPanel(QWidget* parent, const QString& name, const QString& accessible) {
  QLabel* l = NewPlainLabel(parent);
  l->setObjectName(name);
  l->setAccessibleName(accessible);
  l->setContentsMargins(6, 0, 6, 0);
  return l;
}

}  // namespace

DocumentPanels::DocumentPanels(QStatusBar* bar, Document* document, QPlainTextEdit* editor)
    : QObject(bar), document_(document), editor_(editor) {
  notice_ = NewPanel(bar, QStringLiteral("status_notice"), QStringLiteral("Format notice"));
  caret_ = NewPanel(bar, QStringLiteral("status_caret"), QStringLiteral("Caret position"));
  caret_->setAccessibleDescription(QStringLiteral("The caret's line and column."));
  // Wide enough for long documents, so that moving the caret never shifts the panels.
  caret_->setMinimumWidth(
      caret_->fontMetrics().horizontalAdvance(QStringLiteral("Ln 99999, Col 999")) + 12);

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
  encoding_ = NewChoice(bar, QStringLiteral("status_encoding"), QStringLiteral("Encoding"),
                        QStringLiteral("The encoding the next save writes. Click to choose."),
                        encodingMenu_);

  lineEndMenu_ = new QMenu(bar);
  lineEndMenu_->setObjectName(QStringLiteral("mnuLineEnds"));
  auto* ends = new QActionGroup(lineEndMenu_);
  for (const auto& [caption, end] : {std::pair{QStringLiteral("LF (Linux, macOS)"), kLf},
                                     std::pair{QStringLiteral("CRLF (Windows)"), kCrLf}}) {
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
  lineEnds_ = NewChoice(bar, QStringLiteral("status_line_ends"), QStringLiteral("Line ends"),
                        QStringLiteral("The line ends the next save writes. Click to choose."),
                        lineEndMenu_);

  unsaved_ = NewPanel(bar, QStringLiteral("status_unsaved"), QStringLiteral("Unsaved changes"));
  unsaved_->setAccessibleDescription(
      QStringLiteral("Says Unsaved while the text has changes not yet saved."));
  unsaved_->setMinimumWidth(unsaved_->fontMetrics().horizontalAdvance(QStringLiteral("Unsaved")) +
                            12);

  for (QWidget* w : all()) bar->addPermanentWidget(w);

  connect(editor_, &QPlainTextEdit::cursorPositionChanged, this, &DocumentPanels::showCaret);
  // Select All moves the caret without telling of it but as a change of the selection.
  connect(editor_, &QPlainTextEdit::selectionChanged, this, &DocumentPanels::showCaret);
  connect(editor_->document(), &QTextDocument::modificationChanged, this,
          &DocumentPanels::showModified);
  connect(document_, &Document::formatChanged, this, [this] {
    notice_->clear();
    notice_->setToolTip(QString());
    notice_->setAccessibleDescription(QString());
    showFormat();
  });
  connect(document_, &Document::formatNotice, this, [this](const QString& text) {
    // The panel names the character, just before the encoding it turned to; the tip and
    // the accessible description say it whole.
    notice_->setText(text.section(QStringLiteral(": "), 0, 0)
                         .remove(QRegularExpression(QStringLiteral(" \\(U\\+[0-9A-F]+\\)"))) +
                     QLatin1Char(':'));
    notice_->setToolTip(PlainToolTip(text));
    notice_->setAccessibleDescription(text);
  });
  showCaret();
  showFormat();
  showModified(editor_->document()->isModified());
}

QList<QWidget*> DocumentPanels::all() const {
  return {caret_, notice_, encoding_, lineEnds_, unsaved_};
}

void DocumentPanels::showCaret() {
  const QTextCursor c = editor_->textCursor();
  QString text =
      QStringLiteral("Ln %1, Col %2").arg(c.blockNumber() + 1).arg(c.positionInBlock() + 1);
  // The text's size, while it is not the written one.
  if (zoom_ != 100) text += QStringLiteral("  ") + QString::number(zoom_) + QLatin1Char('%');
  caret_->setText(text);
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
                     : f.lineEnd.isEmpty()              ? QStringLiteral("Mixed")
                                                        : QStringLiteral("LF"));
}

void DocumentPanels::showModified(bool modified) {
  unsaved_->setText(modified ? QStringLiteral("Unsaved") : QString());
  // Once the text is saved the notice has been borne out.
  if (!modified) {
    notice_->clear();
    notice_->setToolTip(QString());
    notice_->setAccessibleDescription(QString());
  }
}

void DocumentPanels::fillEncodingMenu() {
  // Windows-1252 is offered only while the whole text fits it.
  const bool fits = document_->format().utf8 ? document_->fitsWindows1252() : true;
  for (QAction* a : encodingMenu_->actions()) {
    const bool utf8 = a->data().toBool();
    a->setChecked(utf8 == document_->format().utf8);
    if (!utf8) {
      a->setEnabled(fits);
      a->setToolTip(fits ? QString()
                         : QStringLiteral("The text has characters that Windows-1252 lacks."));
    }
  }
}
