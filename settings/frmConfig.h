// The configuration dialog.
#pragma once

#include <QDialog>

class frmConfig : public QDialog {
  Q_OBJECT

 public:
  explicit frmConfig(QWidget* parent = nullptr);

 public Q_SLOTS:
  void Form_Load();
};

// The configuration dialog's program-wide instance; shown modeless, brought forward when open.
frmConfig& ConfigDialog();
void ShowConfigDialog();
