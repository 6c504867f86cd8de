// The template manager: lists, adds, modifies and removes templates through its engine.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "manager/storeversions.h"
#include "template/tmpeng.h"

class LongJob;
class ImportJob;
class ListFilter;
struct ImportRead;
class QCheckBox;
class QDropEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class StoreWatch;

class frmManage : public QDialog {
  Q_OBJECT

 public:
  explicit frmManage(QWidget* parent = nullptr);
  ~frmManage() override;

  // Refills the main window's template slots through the engine it is given; it loads the
  // main window again if Exit closed it. Throws templates::EngineError.
  using SlotsRefill = std::function<void(templates::tmpeng& engine)>;

  // The dialog's engine, created anew by every load.
  std::unique_ptr<templates::tmpeng> Temp;

  bool isLoaded() const { return loaded_; }
  // Sets what Apply, Done and Remove call to refill the main window's slots.
  void setSlotsRefill(SlotsRefill refill) { refillSlots_ = std::move(refill); }
  // Fills the boxes for the empty template slot `index` whose caption is `caption`.
  void presetForSlot(int index, const QString& caption);

 Q_SIGNALS:
  // The fields switch was turned on or off, and the settings file holds it.
  void fieldsSwitched(bool on);

 public Q_SLOTS:
  void Form_Load();
  void TemplatesList_NodeClick(QTreeWidgetItem* node);
  void txtName_Change();
  void txtValue_Change();
  void cmdAdd_Click();
  void cmdModify_Click();
  void cmdRemove_Click();
  // Moves the template chosen in the list one place up or down in the store's order (Alt+Up
  // and Alt+Down in the list), so that the user chooses which fill the popup's slots.
  void cmdMoveUp_Click();
  void cmdMoveDown_Click();
  // Gives the template chosen in the list the name typed in the Name box, keeping its place
  // and value (F2 in the list goes to the Name box).
  void cmdRename_Click();
  // Lists the kept versions of the store and restores the one chosen.
  void cmdVersions_Click();
  // Writes all templates, or those chosen in the list, to a file: CSV for a name ending in
  // .csv, else the store's own format.
  void cmdExport_Click();
  // Reads templates from such a file into the store, merging by name: for names that exist
  // already (ignoring case) the user chooses once to skip, replace or keep both. The file is
  // read and the store written beside the window, with a progress dialog once it lasts; the
  // reading can be cancelled, and then nothing is written.
  void cmdImport_Click();
  // The import jobs, for tests: reading the file, and writing the store.
  LongJob* importReader() const;
  LongJob* importWriter() const;
  // Turns fields in templates' text on or off for the whole store (quorpad.ini).
  void chkFields_Click(bool on);
  void cmdApply_Click();
  void cmdDone_Click();
  void cmdCancel_Click();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The note over Fill fields, shown while it is off and the Value box holds fields.
  void showFieldsHint();
  // A template dropped in the list moves to where it was dropped.
  void dropOnList(QDropEvent* drop);
  // Moves the chosen template `steps` places and keeps it chosen.
  void moveChosen(int steps);
  // Chooses the list's row `row` (clamped), as a click on it does.
  void chooseRow(int row);
  // Whether the list shows a template named `name`, exactly.
  bool listsName(const QString& name) const;
  // Reads the list from the store again, keeping its current and chosen rows (by name) and
  // leaving the boxes, which may hold what the person typed, as they are. A store that
  // cannot be read is not said here.
  bool refreshList();
  // False, said to the person, when `name` is the template the boxes were filled from and
  // the store no longer holds it (another process renamed or removed it); the list then
  // shows the store as it is, and the boxes keep what was typed.
  bool stillInStore(const QString& name);
  // Keeps the store as it is now as a version, before a change is written, which the version
  // says once it is made; a failure to keep it is said once and the change goes on.
  KeptVersion keepVersion();
  QString storePath() const;
  // Asks how to merge what was read for import, and has it merged.
  void mergeImport(const QString& path, ImportRead& read);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void createControls();
  void placeControls();
  void setEditButtons(bool enabled);
  bool reloadTree();
  bool refillMainWindowSlots();
  bool apply();
  // Runs one engine step; a failure is shown and leaves the dialog as it is.
  template <class Step>
  bool guarded(Step&& step);
  void unload();

  QTreeWidget* TemplatesList = nullptr;
  QLineEdit* txtName = nullptr;
  QLineEdit* txtIndex = nullptr;
  QPlainTextEdit* txtValue = nullptr;
  QPushButton* cmdPreview = nullptr;
  QPushButton* cmdAdd = nullptr;
  QPushButton* cmdRemove = nullptr;
  QPushButton* cmdModify = nullptr;
  QPushButton* cmdDone = nullptr;
  QPushButton* cmdCancel = nullptr;
  QPushButton* cmdApply = nullptr;
  QPushButton* cmdMoveUp = nullptr;
  QPushButton* cmdMoveDown = nullptr;
  QPushButton* cmdRename = nullptr;
  QPushButton* cmdVersions = nullptr;
  QPushButton* cmdExport = nullptr;
  QPushButton* cmdImport = nullptr;
  QCheckBox* chkFields = nullptr;
  bool versionFailureTold_ = false;
  QString filledFrom_;  // the template whose row last filled the boxes
  StoreWatch* storeWatch_ = nullptr;
  QGroupBox* Frame1 = nullptr;
  QGroupBox* Frame2 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* lblFieldsHint = nullptr;
  QLineEdit* txtFilter = nullptr;
  ListFilter* filter_ = nullptr;
  SlotsRefill refillSlots_;
  bool loaded_ = false;
  bool centred_ = false;
  ImportJob* import_ = nullptr;
};
