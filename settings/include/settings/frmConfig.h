// The configuration dialog: the path of the browser that previews pages.
#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmConfig : public QDialog {
  Q_OBJECT

 public:
  explicit frmConfig(QWidget* parent = nullptr);

  // The path last read from or written to the settings file.
  const QString& savedBrowserPath() const { return savedBrowserPath_; }
  // The settings file: quorpad.ini beside the store (see ChosenStorePlace()).
  static QString settingsFile();

 public Q_SLOTS:
  void Form_Load();
  void cmdBrowse_Click();
  void cmdApply_Click();
  void cmdDone_Click();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // Writes the box's path; false (after telling the user why) when the write failed.
  bool apply();

  QLineEdit* txtPath = nullptr;
  QPushButton* cmdBrowse = nullptr;
  QPushButton* cmdDone = nullptr;
  QPushButton* cmdApply = nullptr;
  QGroupBox* Frame1 = nullptr;
  QGroupBox* Frame2 = nullptr;
  QLabel* Label2 = nullptr;
  QString savedBrowserPath_;
  bool centred_ = false;
};
