// The configuration dialog.
#include "settings/frmConfig.h"

#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "common/dialogwindow.h"
#include "common/filedialogs.h"
#include "common/inifile.h"
#include "common/modal.h"
#include "common/programfolder.h"

namespace {

const QString kSection = QStringLiteral("config");
const QString kKey = QStringLiteral("preview_path");

}  // namespace

frmConfig::frmConfig(QWidget* parent) : QDialog(parent) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName(QStringLiteral("frmConfig"));
  setWindowTitle(tr("Configuration"));
  SetToolWindowFlags(this);

  QWidget* surface = NewDesignSurface(this);
  Frame1 = new QGroupBox(tr("Page Preview"), surface);
  Label2 = new QLabel(tr("Browser Path:"), Frame1);
  txtPath = new QLineEdit(Frame1);
  txtPath->setObjectName(QStringLiteral("txtPath"));
  txtPath->setAccessibleName(tr("Browser path"));
  cmdBrowse = NewButton(Frame1, QStringLiteral("cmdBrowse"), QStringLiteral("..."));
  Frame2 = new QGroupBox(QStringLiteral("Frame2"), surface);
  cmdDone = NewButton(surface, QStringLiteral("cmdDone"), tr("Done"));
  cmdApply = NewButton(surface, QStringLiteral("cmdApply"), tr("Apply"));

  PlaceInTwips(Frame1, 0, 0, 3735, 735);
  PlaceInTwips(Label2, 240, 240, 1095, 255);
  PlaceInTwips(txtPath, 1320, 240, 1935, 285);
  PlaceInTwips(cmdBrowse, 3360, 240, 255, 255);
  PlaceInTwips(Frame2, 0, 840, 3735, 855);
  PlaceInTwips(cmdDone, 2400, 2040, 1095, 375);
  PlaceInTwips(cmdApply, 3600, 2040, 1095, 375);
  SetDesignedSize(this, 4800, 3195);
  setTabOrder(txtPath, cmdBrowse);
  setTabOrder(cmdBrowse, cmdDone);
  setTabOrder(cmdDone, cmdApply);

  connect(cmdBrowse, &QPushButton::clicked, this, &frmConfig::cmdBrowse_Click);
  connect(cmdApply, &QPushButton::clicked, this, &frmConfig::cmdApply_Click);
  connect(cmdDone, &QPushButton::clicked, this, &frmConfig::cmdDone_Click);
}

QString frmConfig::settingsFile() {
  return ChosenStorePlace().settingsFile;
}

void frmConfig::Form_Load() {
  const QString value = ReadIniString(settingsFile(), kSection, kKey);
  if (!value.isEmpty()) {
    txtPath->setText(value);
    savedBrowserPath_ = value;
  }
}

void frmConfig::cmdBrowse_Click() {
  const QString path =
      ShowOpenDialog(this, QStringLiteral("*.exe"), tr("Select Preview Browser"), DialogFolder());
  if (!path.isEmpty()) txtPath->setText(path);
}

bool frmConfig::apply() {
  if (txtPath->text().isEmpty()) return true;
  const QString reason = WriteIniValue(settingsFile(), kSection, kKey, txtPath->text());
  if (!reason.isEmpty()) {
    // The old value stays the saved one, so Done does not claim a write that never happened.
    ShowFileError(this, tr("Could not save the settings file"), settingsFile(), reason);
    return false;
  }
  savedBrowserPath_ = txtPath->text();
  return true;
}

void frmConfig::cmdApply_Click() {
  apply();
}

void frmConfig::cmdDone_Click() {
  if (txtPath->text() != savedBrowserPath_ && !apply()) return;  // stay open to try again
  close();
}

void frmConfig::keyPressEvent(QKeyEvent* event) {
  if (IgnoresDialogKeys(event)) return;
  QDialog::keyPressEvent(event);
}

void frmConfig::showEvent(QShowEvent* event) {
  CentreOnceAndKeepOffTaskbar(this, centred_);
  QDialog::showEvent(event);
}
