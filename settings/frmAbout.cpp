// The About box.
#include "frmAbout.h"

#include <QPointer>

#include "editor/program.h"

namespace {
QPointer<frmAbout> g_about;
}

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(QStringLiteral("About"));
}

void frmAbout::Form_Load() {
  Temp = std::make_unique<templates::tmpeng>(ProgramFolder().toStdString());
}

frmAbout& AboutDialog() {
  if (!g_about) {
    g_about = new frmAbout;
    g_about->Form_Load();
  }
  return *g_about;
}

void ShowAboutDialog() {
  frmAbout& dialog = AboutDialog();
  dialog.show();
  dialog.raise();
  dialog.activateWindow();
}
