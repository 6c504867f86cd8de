// The document's whole life: New, Open, Save, Save As and the close check.
#include "documents/document.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QSessionManager>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>
#include <memory>

#include "common/filedialogs.h"
#include "common/longjob.h"
#include "common/modal.h"
#include "common/plaintext.h"
#include "common/programfolder.h"
#include "common/wholefile.h"
#include "documents/recovery.h"
#include "documents/recoveryoffer.h"

namespace {

constexpr int kCountEveryLineUpTo = 100;

// Each line's own end, for a text whose lines end in more than one way.
void SetLineEnds(QTextBlock block, const QByteArray& ends, qsizetype from, qsizetype count) {
  for (qsizetype i = from; i < from + count && i < ends.size() && block.isValid(); ++i) {
    block.setUserState(ends.at(i));
    block = block.next();
  }
}

// The document as it was before a file began to come in, for a Cancel to put back.
struct Before {
  QString text;
  QString path;
  QString status;
  DocumentFormat format;
  QByteArray lineEnds;
  bool modified = false;
  int caret = 0;
};

}  // namespace

// A file's text on its way into the text box.
struct Document::Showing {
  Before before;
  qsizetype shown = 0;  // characters of the text in the box
  qsizetype lines = 0;  // whole lines of it
};

Document::Document(QPlainTextEdit* editor, QWidget* window, bool keepRecoveryCopies)
    : QObject(window), editor_(editor), window_(window) {
  if (keepRecoveryCopies) {
    recovery_ = new RecoveryCopy(
        editor_->document(),
        [this] {
          return RecoveryInfo{path_, format_, editor_->textCursor().position()};
        },
        this);
    connect(recovery_, &RecoveryCopy::writeFailed, this,
            [this](const QString& message) { setStatus(message); });
  }
  connect(editor_->document(), &QTextDocument::contentsChange, this, &Document::textChanged);
  loader_ = new LongJob(this);
  saver_ = new LongJob(this);
  connect(loader_, &LongJob::progressed, this, [this](const QString&, int, qint64 lines) {
    if (reading_ && lines > 0) setStatus(tr("reading line %1").arg(lines));
  });
}

Document::~Document() = default;

bool Document::loading() const {
  return loader_->busy();
}

bool Document::busy() const {
  // Held still by work beside the window (a file coming in, Replace All): the status bar
  // shows it with its Cancel; a save now would write a text half done.
  return TextHeldStill(editor_);
}

void Document::setFormat(const DocumentFormat& format) {
  if (format.utf8 == format_.utf8 && format.lineEnd == format_.lineEnd) return;
  format_ = format;
  Q_EMIT formatChanged();
}

bool Document::fitsWindows1252() const {
  return FindOutsideWindows1252(DocumentText(editor_)) < 0;
}

bool Document::chooseEncoding(bool utf8) {
  if (utf8 == format_.utf8) return true;
  if (!utf8 && !fitsWindows1252()) return false;
  DocumentFormat format = format_;
  format.utf8 = utf8;
  setFormat(format);
  // The file on disk is no longer what a save would write.
  if (!path_.isEmpty()) editor_->document()->setModified(true);
  return true;
}

void Document::chooseLineEnd(const QString& lineEnd) {
  if (lineEnd == format_.lineEnd) return;
  DocumentFormat format = format_;
  format.lineEnd = lineEnd;
  setFormat(format);
  if (!path_.isEmpty()) editor_->document()->setModified(true);
}

void Document::textChanged(int position, int /*removed*/, int added) {
  // A file coming in was decoded from its encoding: every character of it is in it.
  if (format_.utf8 || added <= 0 || showing_) return;
  QTextCursor range(editor_->document());
  range.setPosition(position);
  range.setPosition(std::min(position + added, editor_->document()->characterCount() - 1),
                    QTextCursor::KeepAnchor);
  const QString text = range.selectedText();
  const qsizetype outside = FindOutsideWindows1252(text);
  if (outside < 0) return;
  DocumentFormat format = format_;
  format.utf8 = true;
  setFormat(format);
  // A character beyond the first plane is told whole, not as half a surrogate pair.
  const bool pair = text.at(outside).isHighSurrogate() && outside + 1 < text.size();
  const QString shown = text.mid(outside, pair ? 2 : 1);
  const char32_t code = shown.toUcs4().value(0);
  Q_EMIT formatNotice(tr("“%1” (U+%2) is not in Windows-1252: the file will be saved as UTF-8.")
                          .arg(shown, QStringLiteral("%1")
                                          .arg(static_cast<uint>(code), 4, 16, QLatin1Char('0'))
                                          .toUpper()));
}

Document::SaveAnswer Document::askToSave() {
  const auto answer =
      Modal().message(window_, kAppTitle, tr("Do you wish to save this file:\r\n%1").arg(path_),
                      QMessageBox::NoIcon, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                      QMessageBox::Yes);
  if (answer == QMessageBox::Yes) return SaveAnswer::kYes;
  if (answer == QMessageBox::No) return SaveAnswer::kNo;
  return SaveAnswer::kCancel;
}

void Document::setStatus(const QString& text, bool paintNow) {
  status_ = text;
  Q_EMIT statusChanged(text, paintNow);
}

void Document::setCurrentFile(const QString& path) {
  path_ = path;
  editor_->document()->setModified(false);
  setStatus(path.isEmpty() ? Untitled() : path);
}

bool Document::writeTo(const QString& path) {
  if (busy()) return false;  // never a text half done
  DocumentFormat format = format_;
  QByteArray ends;
  if (format.lineEnd.isEmpty()) {
    ends.reserve(editor_->document()->blockCount());
    // A line that came in with no end of its own (typed, pasted) takes the end of the line
    // before it; one before every line the file had, the first end the file had.
    char code = kEndCrLf;
    for (QTextBlock b = editor_->document()->firstBlock(); b.isValid(); b = b.next()) {
      if (b.userState() > 0) {
        code = static_cast<char>(b.userState());
        break;
      }
    }
    for (QTextBlock b = editor_->document()->firstBlock(); b.isValid(); b = b.next()) {
      if (b.userState() > 0) code = static_cast<char>(b.userState());
      ends.append(code);
    }
  }
  QString reason;
  if (editor_->document()->characterCount() < kWorkBesideFrom) {
    reason = WriteDocument(path, DocumentText(editor_), format, ends);
  } else {
    // A long text is encoded and written beside the window, which is painted and shows the
    // progress meanwhile; keys and clicks wait for the end, as for a question, so the text
    // written is the text shown. Once begun the write is not stopped: it replaces the file
    // whole or not at all.
    struct Written {
      QString reason;
      DocumentFormat format;
      bool finished = false;
    };
    auto written = std::make_shared<Written>();
    // Nothing reaches the text meanwhile, a drop included.
    const bool readOnly = editor_->isReadOnly();
    editor_->setReadOnly(true);
    const int revision = editor_->document()->revision();
    // The text as the recovery copy follows it costs next to nothing to take; without one
    // it is taken whole here.
    ShadowText::Pieces pieces =
        recovery_ ? recovery_->textPieces()
                  : ShadowText::Pieces{ShadowText::Piece::asIs(editor_->document()->toRawText())};
    saver_->start<Written>(
        tr("Saving"),
        [path, pieces = std::move(pieces), format, ends](JobProgress&) mutable {
          QString raw = ShadowText::join(pieces);
          pieces.clear();
          raw.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
          Written result{QString(), format, true};
          result.reason = WriteDocument(path, raw, result.format, ends);
          return result;
        },
        [written](Written& result) { *written = result; });
    saver_->waitPainting();
    // The program asked to end meanwhile: the write still ends before anything goes on.
    if (saver_->busy()) saver_->waitForIdle();
    editor_->setReadOnly(readOnly);
    reason = written->finished ? written->reason : tr("The save was stopped before it ended.");
    format = written->format;
    // What was written is the text only while nothing changed it (it cannot, but a text the
    // file does not hold is never called saved).
    if (reason.isEmpty() && editor_->document()->revision() != revision)
      reason = tr("The text changed while it was written; save it again.");
  }
  if (!reason.isEmpty()) {
    ShowFileError(window_, tr("Could not save the file"), path, reason);
    return false;
  }
  setFormat(format);
  editor_->document()->setModified(false);
  return true;
}

bool Document::saveUnderNewName(const QString& filter, const QString& title,
                                const QString& folder) {
  // A cancelled dialog leaves the document as it was, still tied to its old file.
  const QString path = ShowSaveDialog(window_, filter, title, folder);
  if (path.isEmpty() || !writeTo(path)) return false;
  setCurrentFile(path);
  // Through a link, the file actually written is the one it leads to.
  setStatus(WrittenPath(path));
  return true;
}

bool Document::saveInPlace(const QString& filter, const QString& folder) {
  if (path_.isEmpty()) return saveUnderNewName(filter, tr("Save File"), folder);
  if (!writeTo(path_)) return false;
  setStatus(WrittenPath(path_));
  return true;
}

void Document::makeUntitled() {
  setFormat(DocumentFormat());
  editor_->clear();
  setCurrentFile(QString());
}

void Document::newFile() {
  if (busy()) return;
  if (editor_->document()->isEmpty()) {
    // An empty document with a file is untied from it, so that a later Save cannot
    // overwrite that file unasked.
    if (path_.isEmpty()) {
      setFormat(DocumentFormat());
      editor_->clear();
    } else {
      makeUntitled();
    }
    return;
  }
  switch (askToSave()) {
    case SaveAnswer::kYes:
      if (saveInPlace(QStringLiteral("*.*|*.txt"), path_)) makeUntitled();
      break;
    case SaveAnswer::kNo:
      makeUntitled();
      break;
    case SaveAnswer::kCancel:
      break;
  }
}

void Document::open() {
  if (busy()) return;
  if (!editor_->document()->isEmpty()) {
    // No text is replaced unasked, titled or not.
    switch (askToSave()) {
      case SaveAnswer::kYes:
        if (!saveInPlace(QStringLiteral("*.*"), DialogFolder())) return;
        break;
      case SaveAnswer::kNo:
        break;
      case SaveAnswer::kCancel:
        return;
    }
  }
  const QString path =
      ShowOpenDialog(window_, QStringLiteral("*.html|*.*"), tr("Open File"), DialogFolder());
  if (path.isEmpty()) return;
  read(path);
}

void Document::openFromOutside(const QString& path) {
  if (!maybeSave()) return;
  // A file that does not exist yet, in a folder that does, is a new document of that name,
  // as the person named it: Save writes it there.
  const QFileInfo file(path);
  if (!file.exists() && !file.isSymLink() && file.dir().exists()) {
    setFormat(DocumentFormat());
    editor_->clear();
    setCurrentFile(path);
    return;
  }
  read(path);
}

void Document::read(const QString& path) {
  // A large file is read beside the window and shown as its text comes.
  if (QFileInfo(path).size() >= kWorkBesideFrom) {
    readBeside(path);
    return;
  }
  const QString previousStatus = status_;
  setStatus(tr("opening %1...").arg(path), true);
  // Short files show every count; long ones a few dozen times a second, and the panel is
  // painted at most that often, so that the count never slows the read.
  QElapsedTimer sinceRepaint;
  sinceRepaint.start();
  const ReadResult read = ReadDocument(path, [&](int line) {
    const bool paint = line == 1 || sinceRepaint.elapsed() >= 40;
    if (paint || line <= kCountEveryLineUpTo) {
      setStatus(tr("reading line %1").arg(line), paint);
    }
    if (paint) sinceRepaint.restart();
  });
  if (!read.ok) {
    setStatus(previousStatus);
    ShowFileError(window_, tr("Could not open the file"), path, read.error);
    return;
  }
  setFormat(read.format);
  editor_->setPlainText(read.text);
  // Each line of a file with mixed line ends carries its own end, so that it goes out as it
  // came in; a line typed later takes the end of the line before it.
  SetLineEnds(editor_->document()->firstBlock(), read.lineEnds, 0, read.lineEnds.size());
  setCurrentFile(path);
}

void Document::readBeside(const QString& path) {
  const QString previousStatus = status_;
  setStatus(tr("opening %1...").arg(path), true);
  loader_->start<ReadResult>(
      tr("Opening"),
      [this, path](JobProgress& job) {
        return ReadDocument(
            path, [&job](int line) { job.count(line); }, &job,
            [this, &job, path](const QString& head, bool utf8) {
              job.post([this, path, head, utf8] { showHead(path, head, utf8); });
            });
      },
      [this, path, previousStatus](ReadResult& read) {
        reading_ = false;
        if (!read.ok) {
          setStatus(previousStatus);
          // Told once the job has ended, so that nothing waits on the question.
          QTimer::singleShot(0, this, [this, path, error = read.error] {
            ShowFileError(window_, tr("Could not open the file"), path, error);
          });
          return;
        }
        showInPieces(path, std::make_shared<ReadResult>(std::move(read)));
      });
  reading_ = true;
  // Nothing typed now could be kept: the file's text replaces it.
  HoldTextStill(editor_, loader_);
  // Cancelled while it reads, the document never changed.
  connect(
      loader_, &LongJob::ended, this,
      [this, previousStatus] {
        if (reading_ && !showing_) setStatus(previousStatus);
        reading_ = false;
        showing_.reset();
      },
      Qt::SingleShotConnection);
}

void Document::beginShowing(const QString& path) {
  if (showing_) return;
  showing_ = std::make_unique<Showing>();
  Before& before = showing_->before;
  before.text = DocumentText(editor_);
  before.path = path_;
  before.status = status_;
  before.format = format_;
  before.lineEnds = lineEndsOfText();
  before.modified = editor_->document()->isModified();
  before.caret = editor_->textCursor().position();
  path_ = path;
  // Cancelled from here on, the document it was comes back, with its name, format and
  // changes.
  loader_->onCancel([this] {
    if (!showing_) return;
    const Before& before = showing_->before;
    // Its own format first, so that its text is not checked against the file's encoding.
    setFormat(before.format);
    editor_->setPlainText(before.text);
    editor_->document()->setUndoRedoEnabled(true);
    SetLineEnds(editor_->document()->firstBlock(), before.lineEnds, 0, before.lineEnds.size());
    path_ = before.path;
    editor_->document()->setModified(before.modified);
    QTextCursor caret = editor_->textCursor();
    caret.setPosition(std::min(before.caret, editor_->document()->characterCount() - 1));
    editor_->setTextCursor(caret);
    setStatus(before.status);
  });
}

void Document::putPiece(QStringView piece) {
  if (showing_->shown == 0) {
    // The text comes as it is, with nothing to undo.
    editor_->document()->setUndoRedoEnabled(false);
    editor_->setPlainText(piece.toString());
  } else {
    ShadowText::append(editor_->document(), piece.toString());
  }
  showing_->shown += piece.size();
  showing_->lines += piece.count(QLatin1Char('\n'));
  editor_->document()->setModified(false);
}

void Document::showHead(const QString& path, const QString& head, bool utf8) {
  // The first screen, while the rest is read: in the file's encoding, its line ends told
  // once the whole file is read.
  beginShowing(path);
  DocumentFormat format = format_;
  format.utf8 = utf8;
  setFormat(format);
  setStatus(path);
  putPiece(head);
}

void Document::showInPieces(const QString& path, const std::shared_ptr<ReadResult>& read) {
  beginShowing(path);
  setFormat(read->format);
  setStatus(path);
  if (!read->lineEnds.isEmpty())
    SetLineEnds(editor_->document()->firstBlock(), read->lineEnds, 0, showing_->lines);
  // The rest of the text, whole lines at a time, from a piece's length on.
  loader_->goOnInSlices(tr("Opening (read-only until whole)"), [this, read](JobProgress& job) {
    const QString& text = read->text;
    for (SliceBudget slice; showing_->shown < text.size() && slice.more();) {
      const qsizetype from = showing_->shown;
      qsizetype end = std::min(text.size(), from + LongJob::kTextPiece);
      if (end < text.size()) {
        const qsizetype lineBreak = text.indexOf(QLatin1Char('\n'), end - 1);
        end = lineBreak < 0 ? text.size() : lineBreak + 1;
      }
      const qsizetype firstLine = showing_->lines;
      putPiece(QStringView(text).mid(from, end - from));
      if (!read->lineEnds.isEmpty())
        SetLineEnds(editor_->document()->findBlockByNumber(static_cast<int>(firstLine)),
                    read->lineEnds, firstLine, showing_->lines - firstLine);
    }
    job.report(showing_->shown, text.size());
    if (showing_->shown < text.size()) return false;
    editor_->document()->setUndoRedoEnabled(true);
    setCurrentFile(path_);
    editor_->moveCursor(QTextCursor::Start);
    return true;
  });
}

QByteArray Document::lineEndsOfText() const {
  QByteArray ends;
  if (!format_.lineEnd.isEmpty()) return ends;
  for (QTextBlock b = editor_->document()->firstBlock(); b.isValid(); b = b.next())
    ends.append(static_cast<char>(std::max(0, b.userState())));
  return ends;
}

void Document::save() {
  if (busy()) return;
  if (path_.isEmpty() || editor_->document()->isEmpty()) {
    // An untitled document asks for a name; so does an empty one, as it always has.
    saveUnderNewName(QStringLiteral("*.*"), tr("Save File"), DialogFolder());
    return;
  }
  const QString previousStatus = status_;
  setStatus(tr("saving %1...").arg(path_), true);
  // Through a link, the file actually written is the one it leads to.
  setStatus(writeTo(path_) ? WrittenPath(path_) : previousStatus);
}

void Document::saveAs() {
  if (busy()) return;
  saveUnderNewName(QStringLiteral("*.*"), tr("Save As"), DialogFolder());
}

bool Document::maybeSave() {
  // Work on the text is stopped, each putting back what it did (a file still coming in, a
  // Replace All part-way): the question is about the text as the person left it.
  StopWorkOnText(editor_);
  if (!editor_->document()->isModified()) return true;
  if (path_.isEmpty() && editor_->document()->isEmpty()) return true;
  switch (askToSave()) {
    case SaveAnswer::kYes:
      return saveInPlace(QStringLiteral("*.*"), DialogFolder());
    case SaveAnswer::kNo:
      // The copy goes once the text does: when the window closes (closing()) or another
      // text replaces this one (the copy follows the modified state).
      letGo_ = editor_->document()->revision();
      return true;
    case SaveAnswer::kCancel:
      return false;
  }
  return false;
}

void Document::closing() {
  if (recovery_ && letGo_ == editor_->document()->revision()) recovery_->discard();
}

bool Document::maySessionClose() {
  return sessionAnswered_ == editor_->document()->revision() || maybeSave();
}

void Document::commitData(QSessionManager& manager) {
  // The answer holds for the close that ends the program, as long as the text stays as it
  // is; without leave to ask, that close asks nothing.
  if (!editor_->document()->isModified()) return;
  if (!manager.allowsInteraction()) {
    sessionAnswered_ = editor_->document()->revision();
    return;
  }
  const bool mayEnd = maybeSave();
  manager.release();
  if (mayEnd) {
    sessionAnswered_ = editor_->document()->revision();
  } else {
    manager.cancel();
  }
}

void Document::restore(const RecoveredDocument& document) {
  setFormat(document.info.format);
  editor_->setPlainText(document.text);
  setCurrentFile(document.info.path);
  // Unsaved, as it was when the copy was made.
  editor_->document()->setModified(true);
  QTextCursor caret = editor_->textCursor();
  caret.setPosition(std::min(document.info.caret, editor_->document()->characterCount() - 1));
  editor_->setTextCursor(caret);
  editor_->ensureCursorVisible();
}

void Document::offerRecovery() {
  if (!recovery_) return;
  RecoveryOffer(window_, *recovery_, [this](const RecoveredDocument& document) {
    restore(document);
  }).run();
}
