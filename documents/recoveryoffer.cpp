// The offer, at start, of the unsaved changes that quorpads no longer running left behind.
#include "documents/recoveryoffer.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>

#include "common/modal.h"
#include "documents/document.h"
#include "documents/leftcopies.h"
#include "documents/recovery.h"

RecoveryOffer::RecoveryOffer(QWidget* window, RecoveryCopy& recovery,
                             std::function<void(const RecoveredDocument&)> restore)
    : window_(window), recovery_(recovery), restore_(std::move(restore)) {}

namespace {

QString DocumentName(const RecoveredDocument& document) {
  return document.info.path.isEmpty() ? Untitled() : QDir::toNativeSeparators(document.info.path);
}

QString ChangedWhen(const RecoveredDocument& document) {
  return document.changed.isValid()
             ? QLocale().toString(document.changed.toLocalTime(), QLocale::ShortFormat)
             : QCoreApplication::translate("RecoveryOffer", "at an unknown time");
}

QList<std::pair<QMessageBox::StandardButton, QString>> RecoveryButtons() {
  return {{QMessageBox::Yes, QCoreApplication::translate("RecoveryOffer", "Restore")},
          {QMessageBox::No, QCoreApplication::translate("RecoveryOffer", "Discard")},
          {QMessageBox::Cancel, QCoreApplication::translate("RecoveryOffer", "Later")}};
}

}  // namespace

void RecoveryOffer::reportUnreadable(const QStringList& asides, const QString& error) {
  if (asides.isEmpty()) return;
  Modal().message(window_, kAppTitle,
                  asides.size() == 1
                      ? QCoreApplication::translate(
                            "RecoveryOffer",
                            "A recovery copy of unsaved changes cannot be read. It was set aside "
                            "as\n%1\n\n%2")
                            .arg(QDir::toNativeSeparators(asides.first()), error)
                      : QCoreApplication::translate(
                            "RecoveryOffer",
                            "%n recovery copies of unsaved changes cannot be read. They were "
                            "set aside, the first as\n%1\n\n%2",
                            nullptr, int(asides.size()))
                            .arg(QDir::toNativeSeparators(asides.first()), error),
                  QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok);
}

bool RecoveryOffer::restoreCopy(LeftCopy& copy) {
  RecoveredDocument document;
  QString error;
  if (!copy.read(document, error)) {
    reportUnreadable({copy.setAside()}, error);
    return false;
  }
  takeOver(copy, document);
  return true;
}

void RecoveryOffer::takeOver(LeftCopy& copy, const RecoveredDocument& document) {
  restore_(document);
  recovery_.setLastChange(document.changed);
  // The old copy goes only once the document's own copy holds the text.
  if (recovery_.flush()) copy.discard();
}

void RecoveryOffer::run() {
  auto copies = FindLeftCopies();
  if (copies.empty()) return;
  if (copies.size() == 1) {
    offerOneCopy(*copies.front());
    return;
  }
  // Many copies: one question for all of them, from what each says of its document; the
  // text of the one restored is read only then.
  std::vector<LeftCopy*> sound;
  QStringList rows;
  QStringList asides;
  QString firstError;
  for (const auto& copy : copies) {
    RecoveredDocument document;
    QString error;
    if (!copy->readDescription(document, error)) {
      if (firstError.isEmpty()) firstError = error;
      asides << copy->setAside();
      continue;
    }
    sound.push_back(copy.get());
    rows << QCoreApplication::translate("RecoveryOffer", "%1 (last changed %2)")
                .arg(DocumentName(document), ChangedWhen(document));
  }
  reportUnreadable(asides, firstError);
  if (!recovery_.following() || sound.empty()) return;
  if (sound.size() == 1) {
    offerOneCopy(*sound.front());
    return;
  }
  const QString text = QCoreApplication::translate(
      "RecoveryOffer",
      "quorpad ended without saving changes to %n documents and kept copies of them.\n\n"
      "Restore brings back the first document checked as an unsaved document (the other "
      "copies stay for the next start); Discard deletes the copies checked; Later keeps "
      "them all for the next start.",
      nullptr, int(sound.size()));
  QList<int> checked;
  const auto answer = Modal().checklist(window_, kAppTitle, text, rows, RecoveryButtons(),
                                        QMessageBox::Yes, checked);
  if (!recovery_.following()) return;
  if (answer == QMessageBox::No) {
    for (int row : checked) sound.at(static_cast<size_t>(row))->discard();
  } else if (answer == QMessageBox::Yes && !checked.isEmpty()) {
    restoreCopy(*sound.at(static_cast<size_t>(checked.first())));
  }
}

void RecoveryOffer::offerOneCopy(LeftCopy& copy) {
  RecoveredDocument document;
  QString error;
  if (!copy.read(document, error)) {
    reportUnreadable({copy.setAside()}, error);
    return;
  }
  const QString text =
      QCoreApplication::translate(
          "RecoveryOffer",
          "quorpad ended without saving changes to a document and kept a copy of them.\n\n"
          "Document: %1\nLast changed: %2\n\n"
          "Restore brings the changes back as an unsaved document; Discard deletes the "
          "copy; Later keeps it for the next start.")
          .arg(DocumentName(document), ChangedWhen(document));
  const auto answer = Modal().question(window_, kAppTitle, text, QMessageBox::Question,
                                       RecoveryButtons(), QMessageBox::Yes);
  if (!recovery_.following()) return;
  if (answer == QMessageBox::No) {
    copy.discard();
  } else if (answer == QMessageBox::Yes) {
    takeOver(copy, document);
  }
}
