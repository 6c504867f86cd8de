// The offer, at start, of the unsaved changes that quorpads no longer running left behind:
// one copy at a time, to restore, discard or keep for later.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class LeftCopy;
class QWidget;
class RecoveryCopy;
struct RecoveredDocument;

class RecoveryOffer {
 public:
  // `window` owns the questions; `recovery` is the document's own copy, which takes over a
  // copy restored; `restore` puts a copy's text into the document.
  RecoveryOffer(QWidget* window, RecoveryCopy& recovery,
                std::function<void(const RecoveredDocument&)> restore);
  // Asks about the copies left behind and does what the answer says.
  void run();

 private:
  // The question about the one copy left behind; then its restore or discard.
  void offerOneCopy(LeftCopy& copy);
  // Restores a copy read whole, or sets it aside and says why.
  bool restoreCopy(LeftCopy& copy);
  // The document becomes the copy's; the copy goes once the document's own holds the text.
  void takeOver(LeftCopy& copy, const RecoveredDocument& document);
  // Tells once about the copies that could not be read and were set aside.
  void reportUnreadable(const QStringList& asides, const QString& error);

  QWidget* window_;
  RecoveryCopy& recovery_;
  std::function<void(const RecoveredDocument&)> restore_;
};
