// The About box: the product's name, the program's version and the engine's.
#pragma once

#include <QDialog>
#include <memory>

#include "template/tmpeng.h"

class QLabel;

class frmAbout : public QDialog {
  Q_OBJECT

 public:
  explicit frmAbout(QWidget* parent = nullptr);

  // The box's engine, asked for its version; created anew by every load.
  std::unique_ptr<templates::tmpeng> Temp;

 public Q_SLOTS:
  void Form_Load();

 protected:
  void showEvent(QShowEvent* event) override;
  // The box has no buttons: Escape does nothing, as in the other dialogs; its close box
  // (or the window manager's close key) closes it.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QWidget* Picture1 = nullptr;
  QLabel* lblVer = nullptr;
  QLabel* lblTempEngine = nullptr;
  QLabel* lblStore = nullptr;  // which template store is in use
  bool centred_ = false;
};

