// The About box.
#pragma once

#include <QDialog>
#include <memory>

#include "template/tmpeng.h"

class frmAbout : public QDialog {
  Q_OBJECT

 public:
  explicit frmAbout(QWidget* parent = nullptr);

  // The box's engine, asked for its version.
  std::unique_ptr<templates::tmpeng> Temp;

 public Q_SLOTS:
  void Form_Load();
};

// The About box's program-wide instance; shown modeless, brought forward when open.
frmAbout& AboutDialog();
void ShowAboutDialog();
