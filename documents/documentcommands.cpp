// The document commands of the main window: New, Open, Save and Save As.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QSessionManager>

#include "documents/documentfile.h"
#include "documents/filedialogs.h"
#include "documents/recovery.h"
#include "editor/frmMain.h"
#include "editor/modal.h"
#include "editor/plaintext.h"
#include "editor/program.h"

namespace {

const QString kUntitled = QStringLiteral("Untitled");
constexpr int kCountEveryLineUpTo = 100;

}  // namespace

frmMain::SaveAnswer frmMain::AskToSave() {
  const auto answer = Modal().message(
      this, kAppTitle, QStringLiteral("Do you wish to save this file:\r\n") + OpenFilePath,
      QMessageBox::NoIcon, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
      QMessageBox::Yes);
  if (answer == QMessageBox::Yes) return SaveAnswer::kYes;
  if (answer == QMessageBox::No) return SaveAnswer::kNo;
  return SaveAnswer::kCancel;
}

void frmMain::ShowFileError(const QString& what, const QString& path, const QString& reason) {
  Modal().message(this, kAppTitle, QStringLiteral("%1 %2\n\n%3").arg(what, path, reason),
                  QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok);
}

bool frmMain::WriteTo(const QString& path) {
  DocumentFormat format = format_;
  const QString reason = WriteDocument(path, DocumentText(txtData), format);
  if (!reason.isEmpty()) {
    ShowFileError(QStringLiteral("Could not save the file"), path, reason);
    return false;
  }
  format_ = format;
  txtData->document()->setModified(false);
  return true;
}

bool frmMain::SaveUnderNewName(const QString& filter, const QString& title, const QString& folder) {
  // A cancelled dialog leaves the document as it was, still tied to its old file.
  const QString path = ShowSaveDialog(this, filter, title, folder);
  if (path.isEmpty() || !WriteTo(path)) return false;
  OpenFilePath = path;
  SetStatus(path);
  return true;
}

void frmMain::MakeUntitled() {
  OpenFilePath.clear();
  txtData->clear();
  txtData->document()->setModified(false);
  format_ = DocumentFormat();
  SetStatus(kUntitled);
}

void frmMain::mnuNew_Click() {
  const bool untitled = OpenFilePath.isEmpty();
  if (txtData->document()->isEmpty()) {
    // An empty document with a file is untied from it, so that a later Save cannot
    // overwrite that file unasked.
    if (untitled) {
      txtData->clear();
      format_ = DocumentFormat();
    } else {
      MakeUntitled();
    }
    return;
  }
  switch (AskToSave()) {
    case SaveAnswer::kYes: {
      const bool saved = untitled ? SaveUnderNewName(QStringLiteral("*.*|*.txt"),
                                                     QStringLiteral("Save File"), OpenFilePath)
                                  : WriteTo(OpenFilePath);
      if (saved) MakeUntitled();
      break;
    }
    case SaveAnswer::kNo:
      MakeUntitled();
      break;
    case SaveAnswer::kCancel:
      break;
  }
}

void frmMain::mnuOpen_Click() {
  if (!txtData->document()->isEmpty()) {
    // No text is replaced unasked, titled or not.
    switch (AskToSave()) {
      case SaveAnswer::kYes: {
        const bool saved = OpenFilePath.isEmpty()
                               ? SaveUnderNewName(QStringLiteral("*.*"),
                                                  QStringLiteral("Save File"), ProgramFolder())
                               : WriteTo(OpenFilePath);
        if (!saved) return;
        break;
      }
      case SaveAnswer::kNo:
        break;
      case SaveAnswer::kCancel:
        return;
    }
  }
  const QString path = ShowOpenDialog(this, QStringLiteral("*.html|*.*"),
                                      QStringLiteral("Open File"), ProgramFolder());
  if (path.isEmpty()) return;

  const QString previousStatus = statusPanel_->text();
  SetStatus(QStringLiteral("opening ") + path + QStringLiteral("..."));
  statusPanel_->repaint();
  // The count on the panel is repainted a few dozen times a second at most, so that a
  // large file shows its progress without slowing the read.
  QElapsedTimer sinceRepaint;
  sinceRepaint.start();
  const ReadResult read = ReadDocument(path, [&](int line) {
    // Short files show every count; long ones a few dozen times a second, and the panel
    // is painted at most that often.
    const bool paint = line == 1 || sinceRepaint.elapsed() >= 40;
    if (paint || line <= kCountEveryLineUpTo) {
      SetStatus(QStringLiteral("reading line ") + QString::number(line));
    }
    if (paint) {
      statusPanel_->repaint();
      sinceRepaint.restart();
    }
  });
  if (!read.ok) {
    SetStatus(previousStatus);
    ShowFileError(QStringLiteral("Could not open the file"), path, read.error);
    return;
  }
  OpenFilePath = path;
  format_ = read.format;
  SetStatus(path);
  txtData->setPlainText(read.text);
  txtData->document()->setModified(false);
}

void frmMain::mnuSave_Click() {
  if (OpenFilePath.isEmpty() || txtData->document()->isEmpty()) {
    // An untitled document asks for a name; so does an empty one, as it always has.
    SaveUnderNewName(QStringLiteral("*.*"), QStringLiteral("Save File"), ProgramFolder());
    return;
  }
  const QString previousStatus = statusPanel_->text();
  SetStatus(QStringLiteral("saving ") + OpenFilePath + QStringLiteral("..."));
  statusPanel_->repaint();
  SetStatus(WriteTo(OpenFilePath) ? OpenFilePath : previousStatus);
}

void frmMain::mnuSaveAs_Click() {
  SaveUnderNewName(QStringLiteral("*.*"), QStringLiteral("Save As"), ProgramFolder());
}

bool frmMain::ConfirmClose() {
  if (!txtData->document()->isModified()) return true;
  if (OpenFilePath.isEmpty() && txtData->document()->isEmpty()) return true;
  switch (AskToSave()) {
    case SaveAnswer::kYes:
      return OpenFilePath.isEmpty() ? SaveUnderNewName(QStringLiteral("*.*"),
                                                       QStringLiteral("Save File"), ProgramFolder())
                                    : WriteTo(OpenFilePath);
    case SaveAnswer::kNo:
      // The user let the changes go; so does their recovery copy.
      if (recovery_) recovery_->discard();
      return true;
    case SaveAnswer::kCancel:
      return false;
  }
  return false;
}

void frmMain::CommitData(QSessionManager& manager) {
  // The desktop session is ending: unsaved changes are asked about when the session
  // manager lets us, and a cancelled or failed save cancels the shutdown.
  // The answer holds for the close that ends the program, as long as the text stays as
  // it is; without leave to ask, that close asks nothing.
  if (!txtData->document()->isModified()) return;
  if (!manager.allowsInteraction()) {
    sessionAnswered_ = txtData->document()->revision();
    return;
  }
  const bool mayEnd = ConfirmClose();
  manager.release();
  if (mayEnd) {
    sessionAnswered_ = txtData->document()->revision();
  } else {
    manager.cancel();
  }
}

void frmMain::createRecovery() {
  if (!RecoveryEnabled()) return;
  recovery_ = new RecoveryCopy(
      txtData->document(),
      [this] {
        return RecoveryInfo{OpenFilePath, format_, txtData->textCursor().position()};
      },
      this);
  connect(recovery_, &RecoveryCopy::writeFailed, this, &frmMain::SetStatus);
}

void frmMain::RestoreDocument(const RecoveredDocument& document) {
  OpenFilePath = document.info.path;
  format_ = document.info.format;
  txtData->setPlainText(document.text);
  // Unsaved, as it was when the copy was made.
  txtData->document()->setModified(true);
  QTextCursor caret = txtData->textCursor();
  caret.setPosition(std::min(document.info.caret, txtData->document()->characterCount() - 1));
  txtData->setTextCursor(caret);
  txtData->ensureCursorVisible();
  SetStatus(OpenFilePath.isEmpty() ? kUntitled : OpenFilePath);
}

void frmMain::OfferRecovery() {
  if (!recovery_) return;
  for (const auto& copy : FindLeftCopies()) {
    // The program may be ending by a signal while a question is open.
    if (!recovery_->following()) return;
    RecoveredDocument document;
    QString error;
    if (!copy->read(document, error)) {
      const QString aside = copy->setAside();
      Modal().message(this, kAppTitle,
                      QStringLiteral("A recovery copy of unsaved changes cannot be read. It was "
                                     "set aside as\n%1\n\n%2")
                          .arg(QDir::toNativeSeparators(aside), error),
                      QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok);
      continue;
    }
    const QString name =
        document.info.path.isEmpty() ? kUntitled : QDir::toNativeSeparators(document.info.path);
    const QString when =
        document.changed.isValid()
            ? QLocale().toString(document.changed.toLocalTime(), QLocale::ShortFormat)
            : QStringLiteral("at an unknown time");
    const QString text =
        QStringLiteral(
            "quorpad ended without saving changes to a document and kept a copy of them.\n\n"
            "Document: %1\nLast changed: %2\n\n"
            "Restore brings the changes back as an unsaved document; Discard deletes the "
            "copy; Later keeps it for the next start.")
            .arg(name, when);
    const auto answer = Modal().question(this, kAppTitle, text, QMessageBox::Question,
                                         {{QMessageBox::Yes, QStringLiteral("Restore")},
                                          {QMessageBox::No, QStringLiteral("Discard")},
                                          {QMessageBox::Cancel, QStringLiteral("Later")}},
                                         QMessageBox::Yes);
    if (!recovery_->following()) return;
    if (answer == QMessageBox::No) {
      copy->discard();
    } else if (answer == QMessageBox::Yes) {
      RestoreDocument(document);
      recovery_->setLastChange(document.changed);
      // The old copy goes only once the document's own copy holds the text.
      if (recovery_->flush()) copy->discard();
      // One document at a time: further copies wait for the next start.
      return;
    }
  }
}
