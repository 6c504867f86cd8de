// Find and Replace under the document.
#include "editor/findbar.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include "common/dialogwindow.h"
#include "common/longjob.h"
#include "common/plaintext.h"
#include "documents/shadowtext.h"
#include "editor/documentpanels.h"

QRegularExpression FindQuery::expression() const {
  QString pattern = regularExpression ? text : QRegularExpression::escape(text);
  if (wholeWords) pattern = QStringLiteral("\\b(?:%1)\\b").arg(pattern);
  QRegularExpression::PatternOptions options = QRegularExpression::UseUnicodePropertiesOption;
  if (!matchCase) options |= QRegularExpression::CaseInsensitiveOption;
  return QRegularExpression(pattern, options);
}

bool SearchTooComplex(const FindQuery& query, const QString& text, qsizetype from) {
  // A pattern written as text, escaped, never backtracks without end.
  if (!query.regularExpression || from > text.size()) return false;
  const QString pattern = query.expression().pattern();
  // As QRegularExpression compiles and runs it: UTF-16, Unicode properties, its JIT with the
  // largest stack it grows to; a match it lost to a limit is then lost here too.
  uint32_t options = PCRE2_UTF | PCRE2_UCP;
  if (!query.matchCase) options |= PCRE2_CASELESS;
  int error = 0;
  PCRE2_SIZE errorAt = 0;
  pcre2_code_16* code =
      pcre2_compile_16(reinterpret_cast<PCRE2_SPTR16>(pattern.utf16()), PCRE2_SIZE(pattern.size()),
                       options, &error, &errorAt, nullptr);
  if (!code) return false;
  pcre2_match_data_16* data = pcre2_match_data_create_from_pattern_16(code, nullptr);
  pcre2_match_context_16* context = pcre2_match_context_create_16(nullptr);
  pcre2_jit_stack_16* stack = nullptr;
  if (pcre2_jit_compile_16(code, PCRE2_JIT_COMPLETE) == 0) {
    stack = pcre2_jit_stack_create_16(32 * 1024, 512 * 1024, nullptr);
    pcre2_jit_stack_assign_16(context, nullptr, stack);
  }
  const int result = pcre2_match_16(code, reinterpret_cast<PCRE2_SPTR16>(text.utf16()),
                                    PCRE2_SIZE(text.size()), PCRE2_SIZE(from), 0, data, context);
  pcre2_jit_stack_free_16(stack);
  pcre2_match_context_free_16(context);
  pcre2_match_data_free_16(data);
  pcre2_code_free_16(code);
  // Asked where QRegularExpression found nothing: a match here, or an error, is a limit.
  return result != PCRE2_ERROR_NOMATCH;
}

namespace {

// How many matches go between two looks at whether the job was cancelled.
constexpr qsizetype kMatchesPerLook = 4096;

// `with` as the text that replaces one match: where the query is an expression, \1 to \99
// stand for the match's groups, read as QString::replace() reads them (two digits where
// there are that many groups); plain text means itself, backslashes and all.
class Replacement {
 public:
  Replacement(const QString& with, const FindQuery& query, int groups) : with_(with) {
    qsizetype literal = 0;
    for (qsizetype i = 0; query.regularExpression && i + 1 < with.size(); ++i) {
      if (with.at(i) != QLatin1Char('\\')) continue;
      int group = with.at(i + 1).digitValue();
      if (group <= 0 || group > groups) continue;
      qsizetype length = 2;
      const int second = i + 2 < with.size() ? with.at(i + 2).digitValue() : -1;
      if (second >= 0 && group * 10 + second <= groups) {
        group = group * 10 + second;
        length = 3;
      }
      pieces_.push_back({literal, i - literal, group});
      literal = i + length;
      i += length - 1;
    }
    pieces_.push_back({literal, with.size() - literal, 0});
  }

  void appendFor(const QRegularExpressionMatch& match, QString& out) const {
    for (const Piece& piece : pieces_) {
      out.append(QStringView(with_).mid(piece.from, piece.length));
      if (piece.group > 0) out.append(match.capturedView(piece.group));
    }
  }

 private:
  struct Piece {
    qsizetype from, length;  // the text before the group
    int group;               // 0: none follows
  };
  QString with_;
  std::vector<Piece> pieces_;
};

// Goes through every match of `query` in `text`, handing each to `each`; the number of
// matches that are not empty, or -1 where the expression is too complex for the text or
// the job was cancelled.
template <typename Each>
qsizetype EveryMatch(const QString& text, const FindQuery& query, JobProgress* progress,
                     Each each) {
  const QRegularExpression expression = query.expression();
  if (query.text.isEmpty() || !expression.isValid()) return 0;
  qsizetype count = 0;
  qsizetype seen = 0;
  qsizetype end = 0;  // where the search found no further match
  QRegularExpressionMatchIterator it = expression.globalMatch(text);
  while (it.hasNext()) {
    const QRegularExpressionMatch match = it.next();
    count += match.capturedLength() > 0;
    end = std::max(match.capturedEnd(), match.capturedStart() + 1);
    each(match);
    if (progress && ++seen % kMatchesPerLook == 0) {
      if (progress->cancelled()) return -1;
      progress->report(end, text.size());
    }
  }
  return SearchTooComplex(query, text, end) ? -1 : count;
}

}  // namespace

qsizetype CountMatches(const QString& text, const FindQuery& query, JobProgress* progress) {
  return EveryMatch(text, query, progress, [](const QRegularExpressionMatch&) {});
}

std::vector<ReplacedPiece> ReplacePieces(const QString& text, const FindQuery& query,
                                         const QString& with, qsizetype& count,
                                         JobProgress* progress) {
  const Replacement replacement(with, query, query.expression().captureCount());
  std::vector<ReplacedPiece> pieces;
  qsizetype copied = 0;  // the text up to here is in the pieces
  count = EveryMatch(text, query, progress, [&](const QRegularExpressionMatch& match) {
    // A piece gathers matches over about LongJob::kTextPiece characters of the text, so that the
    // window can put each into the document in a moment.
    if (pieces.empty() || match.capturedStart() - pieces.back().from >= LongJob::kTextPiece) {
      pieces.push_back({match.capturedStart(), match.capturedStart(), QString()});
      copied = match.capturedStart();
    }
    ReplacedPiece& piece = pieces.back();
    piece.text.append(QStringView(text).mid(copied, match.capturedStart() - copied));
    replacement.appendFor(match, piece.text);
    piece.to = copied = match.capturedEnd();
  });
  if (count <= 0) pieces.clear();
  return pieces;
}

QString ReplaceAll(const QString& text, const FindQuery& query, const QString& with,
                   qsizetype& count, JobProgress* progress) {
  const std::vector<ReplacedPiece> pieces = ReplacePieces(text, query, with, count, progress);
  if (pieces.empty()) return text;
  QString result;
  result.reserve(text.size());
  qsizetype copied = 0;
  for (const ReplacedPiece& piece : pieces) {
    result.append(QStringView(text).mid(copied, piece.from - copied)).append(piece.text);
    copied = piece.to;
  }
  return result.append(QStringView(text).mid(copied));
}

namespace {

// What Replace All says when another text came into the document while it searched, or
// while its pieces were being put in.
constexpr qsizetype kChangedMeanwhile = -2;
constexpr qsizetype kStoppedPartWay = -3;

// How far back from the caret Find Previous first looks, in characters.
constexpr qsizetype kBackwardWindow = 64 * 1024;

QPushButton* NewBarButton(QWidget* parent, const QString& name, const QString& caption,
                          const QString& description) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  button->setFocusPolicy(Qt::TabFocus);
  button->setAccessibleDescription(description);
  return button;
}

QCheckBox* NewOption(QWidget* parent, const QString& name, const QString& caption) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  box->setFocusPolicy(Qt::TabFocus);
  return box;
}

QString MatchesText(qsizetype count) {
  if (count < 0) return TooComplex();
  if (count == 0) return QCoreApplication::translate("FindBar", "No match");
  return QCoreApplication::translate("FindBar", "%n match(es)", nullptr, int(count));
}

}  // namespace

FindBar::FindBar(QPlainTextEdit* document, QWidget* parent) : QFrame(parent), document_(document) {
  setObjectName(QStringLiteral("FindBar"));
  setFrameShape(QFrame::StyledPanel);
  setAutoFillBackground(true);
  createControls();
  hide();
  shadow_ = ShadowText::of(document_->document());
  counter_ = new LongJob(this);
  replacer_ = new LongJob(this);
  // A changed document is searched afresh; its count is renewed once the typing pauses.
  recountSoon_ = new QTimer(this);
  recountSoon_->setSingleShot(true);
  recountSoon_->setInterval(300);
  connect(recountSoon_, &QTimer::timeout, this, &FindBar::recount);
  connect(document_, &QPlainTextEdit::textChanged, this, [this] {
    if (isVisible()) recountSoon_->start();
  });
}

FindBar::~FindBar() = default;

void FindBar::createControls() {
  txtFind = new QLineEdit(this);
  txtFind->setObjectName(QStringLiteral("txtFind"));
  txtFind->setAccessibleName(tr("Find"));
  txtFind->setAccessibleDescription(
      tr("Searched for as you type. Enter finds the next match, Shift+Enter the "
         "previous one, Escape closes the bar."));
  txtFind->setPlaceholderText(tr("Find"));
  txtFind->installEventFilter(this);
  cmdPrevious = NewBarButton(this, QStringLiteral("cmdPrevious"), tr("Previous"),
                             tr("The previous match (Shift+F3)."));
  cmdNext = NewBarButton(this, QStringLiteral("cmdNext"), tr("Next"), tr("The next match (F3)."));
  chkCase = NewOption(this, QStringLiteral("chkCase"), tr("Match case"));
  chkWords = NewOption(this, QStringLiteral("chkWords"), tr("Whole words"));
  chkRegex = NewOption(this, QStringLiteral("chkRegex"), tr("Regular expression"));
  cmdClose = NewBarButton(this, QStringLiteral("cmdCloseFind"), tr("Close"),
                          tr("Closes the bar (Escape)."));

  replaceRow_ = new QWidget(this);
  txtReplace = new QLineEdit(replaceRow_);
  txtReplace->setObjectName(QStringLiteral("txtReplace"));
  txtReplace->setAccessibleName(tr("Replace with"));
  txtReplace->setPlaceholderText(tr("Replace with"));
  txtReplace->setAccessibleDescription(
      tr("Enter replaces the selected match and finds the next; Ctrl+Enter "
         "replaces every match."));
  txtReplace->installEventFilter(this);
  cmdReplace = NewBarButton(replaceRow_, QStringLiteral("cmdReplace"), tr("Replace"),
                            tr("Replaces the selected match and finds the next."));
  cmdReplaceAll = NewBarButton(replaceRow_, QStringLiteral("cmdReplaceAll"), tr("Replace All"),
                               tr("Replaces every match, as one step for Undo."));
  lblStatus = NewPlainLabel(this);
  lblStatus->setObjectName(QStringLiteral("lblFindStatus"));
  lblStatus->setAccessibleName(tr("Find status"));
  // Long notes take what the options leave; the tooltip says them whole.
  lblStatus->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

  // What to find and the buttons that move through it on the first row, the options and
  // what the search found on the next: at the window's designed size the boxes keep room
  // for twenty characters and every caption shows whole.
  auto* findRow = new QHBoxLayout;
  findRow->addWidget(txtFind, 1);
  for (QWidget* w : {cmdPrevious, cmdNext, cmdClose}) findRow->addWidget(w);
  auto* optionRow = new QHBoxLayout;
  for (QWidget* w : {chkCase, chkWords, chkRegex}) optionRow->addWidget(w);
  optionRow->addWidget(lblStatus, 1);
  auto* replaceLayout = new QHBoxLayout(replaceRow_);
  replaceLayout->setContentsMargins(0, 0, 0, 0);
  replaceLayout->addWidget(txtReplace, 1);
  replaceLayout->addWidget(cmdReplace);
  replaceLayout->addWidget(cmdReplaceAll);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(2);
  layout->addLayout(findRow);
  layout->addWidget(replaceRow_);
  layout->addLayout(optionRow);
  // Tab goes from what to find to what replaces it, then to the buttons.
  QWidget* order[] = {txtFind, txtReplace, cmdReplace, cmdReplaceAll, cmdPrevious,
                      cmdNext, cmdClose,   chkCase,    chkWords,      chkRegex};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

  connect(txtFind, &QLineEdit::textEdited, this, &FindBar::searchAsTyped);
  for (QCheckBox* option : {chkCase, chkWords, chkRegex})
    connect(option, &QCheckBox::toggled, this, &FindBar::searchAsTyped);
  connect(cmdNext, &QPushButton::clicked, this, &FindBar::findNext);
  connect(cmdPrevious, &QPushButton::clicked, this, &FindBar::findPrevious);
  connect(cmdReplace, &QPushButton::clicked, this, &FindBar::replaceOne);
  connect(cmdReplaceAll, &QPushButton::clicked, this, &FindBar::replaceEvery);
  connect(cmdClose, &QPushButton::clicked, this, &FindBar::dismiss);
}

FindQuery FindBar::query() const {
  return FindQuery{txtFind->text(), chkCase->isChecked(), chkWords->isChecked(),
                   chkRegex->isChecked()};
}

void FindBar::open(bool replace) {
  const QTextCursor cursor = document_->textCursor();
  anchor_ = cursor.selectionStart();
  // A selection within one line is what the user wants to find.
  if (cursor.hasSelection() && !SelectedText(document_).contains(QLatin1Char('\n')))
    txtFind->setText(SelectedText(document_));
  replaceRow_->setVisible(replace);
  show();
  txtFind->setFocus(Qt::ShortcutFocusReason);
  txtFind->selectAll();
  note_.clear();
  recount();
}

void FindBar::dismiss() {
  const bool hadFocus = isAncestorOf(QApplication::focusWidget());
  hide();
  if (hadFocus) document_->setFocus(Qt::OtherFocusReason);
}

void FindBar::showEvent(QShowEvent* event) {
  QFrame::showEvent(event);
  Q_EMIT visibilityChanged();
}

void FindBar::hideEvent(QHideEvent* event) {
  QFrame::hideEvent(event);
  Q_EMIT visibilityChanged();
}

const QString& FindBar::text() {
  const int revision = document_->document()->revision();
  if (revision != textRevision_) {
    text_ = DocumentText(document_);
    textRevision_ = revision;
  }
  return text_;
}

bool FindBar::findNext() {
  return find(true, false);
}

bool FindBar::findPrevious() {
  return find(false, false);
}

bool FindBar::find(bool forward, bool fromAnchor) {
  note_.clear();
  const FindQuery q = query();
  const QRegularExpression expression = q.expression();
  if (q.text.isEmpty()) {
    say(QString());
    return false;
  }
  if (!expression.isValid()) {
    say(tr("Not a regular expression: %1 (at character %2)")
            .arg(expression.errorString())
            .arg(expression.patternErrorOffset() + 1));
    return false;
  }
  const QString& haystack = text();
  const QTextCursor cursor = document_->textCursor();
  QRegularExpressionMatch found;
  bool wrapped = false;
  // The first match that is not empty from `from` on.
  auto firstFrom = [&](qsizetype from) {
    QRegularExpressionMatchIterator it = expression.globalMatch(haystack, from);
    while (it.hasNext()) {
      QRegularExpressionMatch match = it.next();
      if (match.capturedLength() > 0) return match;
    }
    return QRegularExpressionMatch();
  };
  // The last match that is not empty and starts before `before`. It is looked for in a
  // window ending there, from the start of a line, and in a larger one (four times) only
  // where that holds none: a match just behind the caret is found without going through
  // every match from the start of a long document.
  auto lastBefore = [&](qsizetype before) {
    for (qsizetype window = kBackwardWindow;; window *= 4) {
      qsizetype from = std::max<qsizetype>(0, before - window);
      if (from > 0) from = haystack.lastIndexOf(QLatin1Char('\n'), from) + 1;
      QRegularExpressionMatch last;
      QRegularExpressionMatchIterator it = expression.globalMatch(haystack, from);
      while (it.hasNext()) {
        QRegularExpressionMatch match = it.next();
        if (match.capturedStart() >= before) break;
        if (match.capturedLength() > 0) last = match;
      }
      if (last.hasMatch() || from == 0) return last;
    }
  };
  if (forward) {
    const qsizetype from = fromAnchor ? anchor_ : cursor.selectionEnd();
    found = firstFrom(from);
    if (!found.hasMatch() && from > 0) {
      found = firstFrom(0);
      wrapped = found.hasMatch();
    }
  } else {
    const qsizetype before = cursor.selectionStart();
    found = lastBefore(before);
    if (!found.hasMatch()) {
      found = lastBefore(haystack.size() + 1);
      wrapped = found.hasMatch();
    }
  }
  if (!found.hasMatch()) {
    note_ = SearchTooComplex(q, haystack, 0) ? TooComplex() : tr("Not found.");
    say(note_);
    return false;
  }
  QTextCursor select(document_->document());
  select.setPosition(static_cast<int>(found.capturedStart()));
  select.setPosition(static_cast<int>(found.capturedEnd()), QTextCursor::KeepAnchor);
  document_->setTextCursor(select);
  document_->ensureCursorVisible();
  if (wrapped)
    note_ = forward ? tr("Search wrapped around the end.") : tr("Search wrapped around the start.");
  say(note_);
  return true;
}

void FindBar::searchAsTyped() {
  find(true, true);
  recount();
}

void FindBar::replaceOne() {
  // Replace All, or a file coming in, holds the document.
  if (document_->isReadOnly()) return;
  const FindQuery q = query();
  const QRegularExpression expression = q.expression();
  QTextCursor cursor = document_->textCursor();
  if (cursor.hasSelection() && expression.isValid() && !q.text.isEmpty()) {
    // Only a selection that is a whole match is replaced.
    const QString selected = SelectedText(document_);
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("\\A(?:%1)\\z").arg(expression.pattern()),
                           expression.patternOptions())
            .match(selected);
    if (match.hasMatch()) {
      QString with = txtReplace->text();
      if (q.regularExpression) {
        QString one = selected;
        one.replace(expression, with);
        with = one;
      }
      cursor.insertText(with);
      document_->setTextCursor(cursor);
    }
  }
  findNext();
}

void FindBar::replaceEvery() {
  const FindQuery q = query();
  if (q.text.isEmpty() || !q.expression().isValid()) {
    find(true, false);  // says why
    return;
  }
  if (document_->isReadOnly()) return;  // held by other work, which the status bar shows
  const int revision = document_->document()->revision();
  const QString with = txtReplace->text();
  if (document_->document()->characterCount() < kWorkBesideFrom) {
    // A text this short is replaced at once, before the next key.
    Replaced r;
    r.pieces = ReplacePieces(text(), q, with, r.count);
    auto replaced = std::make_shared<Replaced>(std::move(r));
    if (replaced->count <= 0) {
      sayReplaced(replaced->count);
      return;
    }
    Putting putting{replaced->pieces.size(), revision, document_->textCursor().position()};
    putPieces(*replaced, putting, false);
    return;
  }
  replacer_->start<Replaced>(
      tr("Searching"),
      [q, with, pieces = shadow_->pieces()](JobProgress& progress) {
        Replaced r;
        QString text = ShadowText::join(pieces);
        text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        r.pieces = ReplacePieces(text, q, with, r.count, &progress);
        return r;
      },
      [this, revision](Replaced& r) {
        if (r.count > 0 && document_->document()->revision() != revision) {
          // Another file came in meanwhile (a hand-over, a restore): nothing fits it.
          sayReplaced(kChangedMeanwhile);
        } else if (r.count <= 0) {
          sayReplaced(r.count);
        } else {
          putInPieces(std::make_shared<Replaced>(std::move(r)));
        }
      });
  // The document stands still while its text is replaced beside the window, so that the
  // result still fits it; Cancel (or Escape) leaves it as it was.
  HoldTextStill(document_, replacer_);
}

bool FindBar::putPieces(const Replaced& r, Putting& putting, bool sliced) {
  // From the last piece to the first, so that each piece's place in the document is still
  // where it was found; the first as a new Undo step, each later one joined to it.
  for (SliceBudget slice(sliced); putting.next > 0 && slice.more();) {
    if (document_->document()->revision() != putting.expected) {
      sayReplaced(putting.next + 1 < r.pieces.size() ? kStoppedPartWay : kChangedMeanwhile);
      return true;
    }
    const ReplacedPiece& piece = r.pieces[--putting.next];
    QTextCursor range(document_->document());
    range.setPosition(static_cast<int>(piece.from));
    range.setPosition(static_cast<int>(piece.to), QTextCursor::KeepAnchor);
    if (putting.next + 1 == r.pieces.size())
      range.beginEditBlock();
    else
      range.joinPreviousEditBlock();
    range.insertText(piece.text);
    range.endEditBlock();
    putting.expected = document_->document()->revision();
  }
  if (putting.next > 0) return false;
  QTextCursor at(document_->document());
  at.setPosition(std::min(putting.caret, document_->document()->characterCount() - 1));
  document_->setTextCursor(at);
  sayReplaced(r.count);
  return true;
}

void FindBar::putInPieces(const std::shared_ptr<Replaced>& r) {
  // A few pieces each turn of the event loop, so that the window answers throughout.
  auto putting = std::make_shared<Putting>(Putting{
      r->pieces.size(), document_->document()->revision(), document_->textCursor().position()});
  replacer_->onCancel([this, r, putting] {
    // Back to the text as it was, in one Undo of the pieces put in so far, which no Redo
    // brings back.
    if (putting->next < r->pieces.size() &&
        document_->document()->revision() == putting->expected) {
      document_->document()->undo();
      document_->document()->clearUndoRedoStacks(QTextDocument::RedoStack);
    }
  });
  replacer_->goOnInSlices(tr("Replacing"), [this, r, putting](JobProgress& progress) {
    const bool done = putPieces(*r, *putting, true);
    progress.report(qint64(r->pieces.size() - putting->next), qint64(r->pieces.size()));
    return done;
  });
}

void FindBar::sayReplaced(qsizetype count) {
  note_ = count == kStoppedPartWay
              ? tr("Replace All stopped part-way: the document changed meanwhile.")
          : count == kChangedMeanwhile ? tr("Nothing was replaced: the document changed meanwhile.")
          : count < 0                  ? tr("Nothing was replaced: %1").arg(TooComplex())
                                       : tr("Replaced %n match(es).", nullptr, int(count));
  lastReplaced_ = std::max<qsizetype>(count, 0);
  say(note_);
}

void FindBar::recount() {
  const FindQuery q = query();
  counted_.clear();
  if (q.text.isEmpty() || !q.expression().isValid()) {
    counter_->cancel();
    say(note_);
    return;
  }
  // The pieces are shared, not copied: the document's later edits make pieces of their own.
  // They are joined, and their paragraphs ended with LF, on the counting thread.
  counter_->start<qsizetype>(
      tr("Counting"),
      [q, pieces = shadow_->pieces()](JobProgress& progress) {
        QString text = ShadowText::join(pieces);
        text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        return CountMatches(text, q, &progress);
      },
      [this](qsizetype& count) {
        counted_ = MatchesText(count);
        say(note_);
      });
}

void FindBar::waitForWork() {
  counter_->waitForIdle();
  replacer_->waitForIdle();
}

bool FindBar::counting() const {
  return counter_->busy();
}

void FindBar::say(const QString& note) {
  QStringList parts;
  if (!note.isEmpty()) parts << note;
  if (!counted_.isEmpty()) parts << counted_;
  ShowInPanel(lblStatus, parts.join(QLatin1Char(' ')));
}

QString FindBar::statusText() const {
  return lblStatus->text();
}

bool FindBar::event(QEvent* event) {
  // Escape closes the bar, whichever of its controls has the keyboard, before the window takes
  // the key to stop other work under way (a file still opening); while the bar's own Replace
  // All runs, the key stops that instead.
  if (replacer_ && !replacer_->busy() && ClaimsEscape(event)) return true;
  return QFrame::event(event);
}

void FindBar::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape)
    dismiss();
  else
    QFrame::keyPressEvent(event);
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && (watched == txtFind || watched == txtReplace)) {
    auto* key = static_cast<QKeyEvent*>(event);
    const bool shift = key->modifiers() & Qt::ShiftModifier;
    switch (key->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
        if (watched == txtReplace && (key->modifiers() & Qt::ControlModifier))
          replaceEvery();
        else if (watched == txtReplace && !shift)
          replaceOne();
        else
          find(!shift, false);
        return true;
      case Qt::Key_F3:
        find(!shift, false);
        return true;
      default:
        break;
    }
  }
  return QFrame::eventFilter(watched, event);
}
