// The configuration dialog.
#include "frmConfig.h"

#include <QPointer>

namespace {
QPointer<frmConfig> g_config;
}

frmConfig::frmConfig(QWidget* parent) : QDialog(parent) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName(QStringLiteral("frmConfig"));
  setWindowTitle(QStringLiteral("Configuration"));
}

void frmConfig::Form_Load() {}

frmConfig& ConfigDialog() {
  if (!g_config) {
    g_config = new frmConfig;
    g_config->Form_Load();
  }
  return *g_config;
}

void ShowConfigDialog() {
  frmConfig& dialog = ConfigDialog();
  dialog.show();
  dialog.raise();
  dialog.activateWindow();
}
