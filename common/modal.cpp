// Real message boxes behind the modal seam, and the engine's failure message.
#include "common/modal.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>

#include "common/programfolder.h"
#include "template/tmpeng.h"

ModalSeam::~ModalSeam() = default;

QMessageBox::StandardButton ModalSeam::question(
    QWidget* parent, const QString& caption, const QString& text, QMessageBox::Icon icon,
    const QList<std::pair<QMessageBox::StandardButton, QString>>& captions,
    QMessageBox::StandardButton defaultButton) {
  QMessageBox::StandardButtons buttons;
  for (const auto& button : captions) buttons |= button.first;
  return message(parent, caption, text, icon, buttons, defaultButton);
}

namespace {

class RealDialogs : public ModalSeam {
 public:
  QMessageBox::StandardButton message(QWidget* parent, const QString& caption, const QString& text,
                                      QMessageBox::Icon icon, QMessageBox::StandardButtons buttons,
                                      QMessageBox::StandardButton defaultButton) override {
    QMessageBox box(icon, caption, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
  }
  QMessageBox::StandardButton question(
      QWidget* parent, const QString& caption, const QString& text, QMessageBox::Icon icon,
      const QList<std::pair<QMessageBox::StandardButton, QString>>& captions,
      QMessageBox::StandardButton defaultButton) override {
    QMessageBox box(icon, caption, text, QMessageBox::NoButton, parent);
    for (const auto& [button, label] : captions) box.addButton(button)->setText(label);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
  }
  QString fileName(QWidget* owner, bool save, const QString& title, const QString& folder,
                   const QStringList& filters) override {
    QFileDialog dialog(owner, title, folder);
    dialog.setNameFilters(filters);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Open admits only existing files; Save asks before it overwrites one, and before it
    // creates one. Answering No goes back to the dialog.
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    for (;;) {
      if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
      const QString path = dialog.selectedFiles().constFirst();
      if (save && !QFileInfo::exists(path)) {
        const auto answer =
            QMessageBox::question(&dialog, title,
                                  QStringLiteral("%1 does not exist.\nDo you want to create it?")
                                      .arg(QFileInfo(path).fileName()),
                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
        if (answer != QMessageBox::Yes) continue;
      }
      return path;
    }
  }
};

ModalSeam* g_seam = nullptr;

}  // namespace

ModalSeam& Modal() {
  static RealDialogs real;
  return g_seam ? *g_seam : real;
}

void SetModal(ModalSeam* seam) {
  g_seam = seam;
}

namespace {
const QString kStoreUnusable = QStringLiteral("The template store could not be used.\n\n");
}  // namespace

QString EngineErrorText(const templates::EngineError& error) {
  QString text = kStoreUnusable;
  if (!error.file().empty()) {
    text += QStringLiteral("File: %1\n").arg(QString::fromStdString(error.file().string()));
  }
  text += QStringLiteral("Error %1: %2\n\n%3")
              .arg(error.number())
              .arg(QString::fromStdString(templates::EngineError::Meaning(error.number())),
                   QString::fromStdString(error.what()));
  return text;
}

void ShowEngineError(QWidget* parent, const templates::EngineError& error) {
  Modal().message(parent, kAppTitle, EngineErrorText(error), QMessageBox::Critical, QMessageBox::Ok,
                  QMessageBox::Ok);
}

void ShowFileError(QWidget* parent, const QString& what, const QString& path,
                   const QString& reason) {
  Modal().message(parent, kAppTitle, QStringLiteral("%1 %2\n\n%3").arg(what, path, reason),
                  QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok);
}

void ShowStoreFailure(QWidget* parent, const QString& reason) {
  const QString store =
      QDir(ProgramFolder()).filePath(QString::fromLatin1(templates::kStoreFileName));
  Modal().message(parent, kAppTitle,
                  kStoreUnusable + QStringLiteral("File: %1\n\n%2").arg(store, reason),
                  QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok);
}
