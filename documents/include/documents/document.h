// The current document: the file it belongs to, how that file is written, whether the text
// changed, and the commands that carry it between the text box and the disk.
#pragma once

#include <QCoreApplication>
#include <QObject>
#include <QString>
#include <memory>

#include "documents/documentfile.h"

class LongJob;
class QPlainTextEdit;
class QSessionManager;
class QWidget;
class RecoveryCopy;
struct RecoveredDocument;

// What the status panel and the recovery offer call a document that has no file yet.
inline QString Untitled() {
  return QCoreApplication::translate("Document", "Untitled");
}

class Document : public QObject {
  Q_OBJECT

 public:
  // `editor` holds the text and `window` owns the questions asked; neither is owned here.
  // With `keepRecoveryCopies` its unsaved changes are kept in a recovery copy (the program
  // asks for it; a document made by a test touches no state folder unless it asks too).
  Document(QPlainTextEdit* editor, QWidget* window, bool keepRecoveryCopies = false);
  ~Document() override;

  // The path of the current document; empty while it is untitled.
  const QString& path() const { return path_; }

  // A file of a megabyte or more comes in beside the window: read and decoded on a thread,
  // then shown a few screens at a time, the document read-only until it is whole. New,
  // Open..., Save and Save As do nothing meanwhile, nor while other work holds the text
  // still (busy()); the job (for the status bar) cancels it, and Cancel leaves the document
  // as it was before.
  bool loading() const;
  bool busy() const;
  LongJob* loadJob() const { return loader_; }
  // A text of kWorkBesideFrom characters or more is written by this job, shown while it
  // lasts; Save waits for it with the window painted.
  LongJob* saveJob() const { return saver_; }

  // The commands New, Open..., Save and Save As...
  void newFile();
  void open();
  void save();
  void saveAs();
  // Opens a file that came from outside the menus (the command line, a later start, a drop)
  // as Open does, after asking only about changes not yet saved: the user asked for the
  // file, not for Open. A file that does not exist yet, in a folder that does, starts an
  // empty document of that name.
  void openFromOutside(const QString& path);

  // The close check: true when the text may go, because it is unchanged, was saved, or the
  // user let it go; false when the user cancelled or the save failed.
  bool maybeSave();
  // As maybeSave(), except that a question the end of the desktop session settled for the
  // text as it is now is not asked again.
  bool maySessionClose();
  // The window closes for good: unsaved changes the user let go at the close check take
  // their recovery copy with them. Until then the copy stays, since the text may stay too
  // (a file that then fails to open, a logout that another program cancels).
  void closing();
  // The desktop session is ending: asks about unsaved changes when the session manager
  // lets us; a cancelled or failed save cancels the shutdown.
  void commitData(QSessionManager& manager);

  // How the next save writes the file: the file's own format, or what the user chose.
  const DocumentFormat& format() const { return format_; }
  // Chooses the encoding of the next save. Windows-1252 only while the whole text fits it:
  // otherwise nothing changes and the result is false.
  bool chooseEncoding(bool utf8);
  // Chooses the line ends of the next save ("\n" or "\r\n").
  void chooseLineEnd(const QString& lineEnd);
  // Whether the whole text can be written as Windows-1252.
  bool fitsWindows1252() const;

  // The recovery copy of the unsaved changes; nullptr where recovery is off.
  RecoveryCopy* recovery() const { return recovery_; }
  // Offers the unsaved changes that quorpads no longer running left behind, one copy at a
  // time, to restore, discard or keep for later.
  void offerRecovery();

 Q_SIGNALS:
  // The status text changed; `paintNow` asks for it to be shown before the command goes on.
  void statusChanged(const QString& text, bool paintNow);
  // The format of the next save changed.
  void formatChanged();
  // An edit brought in a character that Windows-1252 lacks, so the next save writes UTF-8;
  // `text` says so, once per such change.
  void formatNotice(const QString& text);

 private:
  enum class SaveAnswer { kYes, kNo, kCancel };
  SaveAnswer askToSave();
  bool writeTo(const QString& path);
  bool saveUnderNewName(const QString& filter, const QString& title, const QString& folder);
  // Saves the text where it belongs, asking for a name when it is untitled.
  bool saveInPlace(const QString& filter, const QString& folder);
  void makeUntitled();
  // The format of the document's new text or file; the text is not checked against it.
  void setFormat(const DocumentFormat& format);
  // Follows edits that bring in characters the format cannot write.
  void textChanged(int position, int removed, int added);
  void read(const QString& path);
  void readBeside(const QString& path);
  void showInPieces(const QString& path, const std::shared_ptr<ReadResult>& read);
  void showHead(const QString& path, const QString& head, bool utf8);
  // The file's text begins to replace the document's: what was there is kept for a Cancel.
  void beginShowing(const QString& path);
  // Puts the next whole lines of the file's text into the box.
  void putPiece(QStringView piece);
  // Each line's end where the format keeps them per line; empty otherwise.
  QByteArray lineEndsOfText() const;
  void setCurrentFile(const QString& path);
  void setStatus(const QString& text, bool paintNow = false);
  void restore(const RecoveredDocument& document);

  QPlainTextEdit* editor_;
  QWidget* window_;
  QString path_;
  DocumentFormat format_;  // how the document's file is written
  QString status_;
  int sessionAnswered_ = -1;  // the text's revision that the end of the session settled
  int letGo_ = -1;            // the text's revision whose changes the user answered No for
  RecoveryCopy* recovery_ = nullptr;
  struct Showing;
  std::unique_ptr<Showing> showing_;  // while a file's text comes in
  LongJob* loader_ = nullptr;
  LongJob* saver_ = nullptr;
  bool reading_ = false;  // a file is being read beside the window, not yet shown
};
