// The template manager dialog.
#include "manager/frmManage.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimer>
#include <QTreeWidget>

#include "common/dialogwindow.h"
#include "common/errortext.h"
#include "common/longjob.h"
#include "common/modal.h"
#include "common/plaintext.h"
#include "common/programfolder.h"
#include "common/storewatch.h"
#include "common/templatefields.h"
#include "common/templatelist.h"
#include "common/textconv.h"
#include "common/wholefile.h"
#include "importjob.h"
#include "listfilter.h"
#include "manager/storeversions.h"
#include "manager/templatefiles.h"
#include "treeview.h"

namespace {

// What the Value box shows for a template without text.
QString NoValue() {
  return QCoreApplication::translate("frmManage", "No value set for this template!");
}

// The value box separates its lines with LF alone; a template's line breaks are CR LF, as
// the store keeps them and the tree lists them.
QString ValueText(const QPlainTextEdit* box) {
  return DocumentText(box).replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}

}  // namespace

frmManage::frmManage(QWidget* parent) : QDialog(parent) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName(QStringLiteral("frmManage"));
  setWindowTitle(tr("Manage Templates"));
  setWindowIcon(QIcon(QStringLiteral(":/icons/manager.svg")));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setModal(false);
  createControls();
  placeControls();
}

frmManage::~frmManage() = default;

void frmManage::createControls() {
  QWidget* surface = NewDesignSurface(this);
  Frame1 = new QGroupBox(tr("Existing Templates"), surface);
  TemplatesList = new QTreeWidget(Frame1);
  TemplatesList->setObjectName(QStringLiteral("TemplatesList"));
  TemplatesList->setAccessibleName(tr("Existing templates"));
  TemplatesList->setAccessibleDescription(
      tr("The templates in store order; the first thirteen fill the popup."));
  TemplatesList->setHeaderHidden(true);
  TemplatesList->setRootIsDecorated(false);
  TemplatesList->setColumnCount(1);
  // Rows of one height are laid out without measuring each: quick at 100,000 templates.
  TemplatesList->setUniformRowHeights(true);
  // Ctrl+F narrows the list to the templates that match what is typed over it.
  txtFilter = new QLineEdit(Frame1);
  txtFilter->setObjectName(QStringLiteral("txtFilter"));
  txtFilter->setAccessibleName(tr("Find a template"));
  txtFilter->setPlaceholderText(tr("Find a template"));
  txtFilter->setToolTip(
      tr("Shows the templates whose name or text holds what is typed. Down goes "
         "to the list; Escape shows every template again."));
  txtFilter->setClearButtonEnabled(true);
  filter_ = new ListFilter(TemplatesList, txtFilter);
  auto* find = new QShortcut(QKeySequence::Find, this);
  connect(find, &QShortcut::activated, filter_, &ListFilter::open);
  // While the list is narrowed a move would pass templates it does not show.
  connect(filter_, &ListFilter::narrowingChanged, this, [this](bool narrowing) {
    cmdMoveUp->setEnabled(!narrowing);
    cmdMoveDown->setEnabled(!narrowing);
    TemplatesList->setDragDropMode(narrowing ? QAbstractItemView::NoDragDrop
                                             : QAbstractItemView::InternalMove);
  });

  Frame2 = new QGroupBox(tr("Template Values"), surface);
  Label1 = new QLabel(tr("Name:"), Frame2);
  txtName = new QLineEdit(Frame2);
  txtName->setObjectName(QStringLiteral("txtName"));
  txtName->setAccessibleName(tr("Template name"));
  Label3 = new QLabel(tr("Index:"), Frame2);
  txtIndex = new QLineEdit(Frame2);
  txtIndex->setObjectName(QStringLiteral("txtIndex"));
  txtIndex->setAccessibleName(tr("Template menu index"));
  txtIndex->setReadOnly(true);
  txtIndex->setToolTip(tr("Template Menu Index."));
  Label2 = new QLabel(tr("Value:"), Frame2);
  txtValue = new QPlainTextEdit(Frame2);
  txtValue->setObjectName(QStringLiteral("txtValue"));
  txtValue->setAccessibleName(tr("Template text"));
  txtValue->setAccessibleDescription(
      tr("The text the template inserts. Tab moves on; Ctrl+Tab types a tab."));
  txtValue->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  KeepLayoutLinear(txtValue);
  // Tab moves on in the dialog's order; Ctrl+Tab types a tab into the value.
  txtValue->setTabChangesFocus(true);
  txtValue->installEventFilter(this);
  QFont valueFont(QStringLiteral("Verdana"));
  valueFont.setPointSizeF(8.25 * FontScale(this));
  valueFont.setWeight(QFont::Normal);
  txtValue->setFont(valueFont);

  cmdPreview =
      NewButton(Frame2, QStringLiteral("cmdPreview"), tr("Preview Template"), QString(), false);
  cmdAdd = NewButton(Frame2, QStringLiteral("cmdAdd"), tr("Add"), tr("Add this template."), false);
  cmdRemove = NewButton(Frame2, QStringLiteral("cmdRemove"), tr("Remove"),
                        tr("Remove this template."), false);
  cmdModify = NewButton(Frame2, QStringLiteral("cmdModify"), tr("Modify"),
                        tr("Modify the current template."), false);
  cmdDone = NewButton(surface, QStringLiteral("cmdDone"), tr("Done"), QString(), true);
  cmdCancel = NewButton(surface, QStringLiteral("cmdCancel"), tr("Cancel"), QString(), true);
  cmdApply = NewButton(surface, QStringLiteral("cmdApply"), tr("Apply"), QString(), true);
  cmdMoveUp = NewButton(surface, QStringLiteral("cmdMoveUp"), tr("Move Up"),
                        tr("Moves the chosen template up: the first thirteen fill "
                           "the popup (Alt+Up in the list)."));
  cmdMoveDown = NewButton(surface, QStringLiteral("cmdMoveDown"), tr("Move Down"),
                          tr("Moves the chosen template down (Alt+Down in the list)."));
  cmdRename = NewButton(surface, QStringLiteral("cmdRename"), tr("Rename"),
                        tr("Gives the chosen template the name in the Name box (F2 "
                           "in the list goes there)."));
  cmdVersions = NewButton(Frame2, QStringLiteral("cmdVersions"), tr("Versions..."),
                          tr("Earlier versions of the templates, to restore one."));
  cmdExport = NewButton(Frame2, QStringLiteral("cmdExport"), tr("Export..."),
                        tr("Writes all templates, or those chosen in the list, to a "
                           "file (CSV, or the store's own format)."));
  cmdImport = NewButton(Frame2, QStringLiteral("cmdImport"), tr("Import..."),
                        tr("Reads templates from a CSV file or a store file."));
  chkFields = new QCheckBox(tr("Fill fields"), Frame2);
  chkFields->setObjectName(QStringLiteral("chkFields"));
  chkFields->setToolTip(
      tr("For every template: {:caret:}, {:date:}, {:time:}, {:clipboard:}, "
         "{:selection:} and {:ask Name:} in a template's text are filled as it is "
         "inserted; {:: writes {: itself. Off, every template inserts as written."));
  chkFields->setAccessibleDescription(chkFields->toolTip());
  // Said over the check box while the Value box holds fields that it leaves as written.
  lblFieldsHint = NewPlainLabel(Frame2, tr("Fields are filled only with this on:"));
  lblFieldsHint->setObjectName(QStringLiteral("lblFieldsHint"));
  lblFieldsHint->setWordWrap(true);
  lblFieldsHint->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
  lblFieldsHint->setToolTip(
      tr("This text holds fields; with Fill fields off it inserts as written, "
         "markers and all."));
  lblFieldsHint->setAccessibleDescription(lblFieldsHint->toolTip());
  lblFieldsHint->hide();
  // Ctrl and Shift choose several templates, for Export; a template dragged to another place
  // in the list moves there in the store.
  TemplatesList->setSelectionMode(QAbstractItemView::ExtendedSelection);
  TemplatesList->setDragDropMode(QAbstractItemView::InternalMove);
  TemplatesList->installEventFilter(this);
  TemplatesList->viewport()->installEventFilter(this);

  connect(TemplatesList, &QTreeWidget::itemClicked, this, &frmManage::TemplatesList_NodeClick);
  connect(TemplatesList, &QTreeWidget::itemActivated, this, &frmManage::TemplatesList_NodeClick);
  // The row the keyboard moves to fills the boxes as a click does, so that Modify, Remove and
  // Rename act on the template highlighted, also the first arrow key's after the list was read
  // again with no row current. The row the list only marks as current when it gets the
  // keyboard (not highlighted) leaves what was typed alone.
  connect(TemplatesList, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* current, QTreeWidgetItem* previous) {
            if (current && (previous || current->isSelected())) TemplatesList_NodeClick(current);
          });
  connect(txtName, &QLineEdit::textChanged, this, &frmManage::txtName_Change);
  connect(txtValue, &QPlainTextEdit::textChanged, this, &frmManage::txtValue_Change);
  connect(cmdAdd, &QPushButton::clicked, this, &frmManage::cmdAdd_Click);
  connect(cmdModify, &QPushButton::clicked, this, &frmManage::cmdModify_Click);
  connect(cmdRemove, &QPushButton::clicked, this, &frmManage::cmdRemove_Click);
  connect(cmdApply, &QPushButton::clicked, this, &frmManage::cmdApply_Click);
  connect(cmdDone, &QPushButton::clicked, this, &frmManage::cmdDone_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &frmManage::cmdCancel_Click);
  connect(cmdMoveUp, &QPushButton::clicked, this, &frmManage::cmdMoveUp_Click);
  connect(cmdMoveDown, &QPushButton::clicked, this, &frmManage::cmdMoveDown_Click);
  connect(cmdRename, &QPushButton::clicked, this, &frmManage::cmdRename_Click);
  connect(cmdVersions, &QPushButton::clicked, this, &frmManage::cmdVersions_Click);
  connect(cmdExport, &QPushButton::clicked, this, &frmManage::cmdExport_Click);
  connect(cmdImport, &QPushButton::clicked, this, &frmManage::cmdImport_Click);
  connect(chkFields, &QCheckBox::toggled, this, &frmManage::chkFields_Click);

  // The keyboard visits the controls in the dialog's designed order.
  QWidget* order[] = {cmdApply,      cmdCancel, cmdDone,     txtName,   txtValue,
                      cmdAdd,        cmdRemove, cmdModify,   txtIndex,  txtFilter,
                      TemplatesList, cmdMoveUp, cmdMoveDown, cmdRename, cmdVersions,
                      cmdExport,     cmdImport, cmdPreview,  chkFields};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void frmManage::placeControls() {
  // Positions in twips (left, top, width, height), converted for this screen.
  PlaceInTwips(Frame1, 0, 0, 3255, 4935);
  PlaceInTwips(TemplatesList, 120, 240, 3015, 4575);
  PlaceInTwips(Frame2, 3360, 0, 4575, 4935);
  PlaceInTwips(Label1, 120, 360, 615, 255);
  PlaceInTwips(txtName, 720, 360, 2775, 285);
  PlaceInTwips(Label3, 120, 720, 495, 255);
  PlaceInTwips(txtIndex, 720, 720, 975, 285);
  PlaceInTwips(Label2, 120, 1200, 1215, 255);
  PlaceInTwips(txtValue, 120, 1440, 4335, 2565);
  PlaceInTwips(cmdPreview, 2400, 4080, 2055, 255);
  PlaceInTwips(cmdAdd, 1320, 4440, 975, 375);
  PlaceInTwips(cmdRemove, 3480, 4440, 975, 375);
  PlaceInTwips(cmdModify, 2400, 4440, 975, 375);
  PlaceInTwips(cmdDone, 4080, 5040, 1215, 375);
  PlaceInTwips(cmdCancel, 5400, 5040, 1215, 375);
  PlaceInTwips(cmdApply, 6720, 5040, 1215, 375);
  // Beside the written controls, under the list they act on.
  PlaceInTwips(cmdMoveUp, 0, 5040, 1095, 375);
  PlaceInTwips(cmdMoveDown, 1140, 5040, 1215, 375);
  PlaceInTwips(cmdRename, 2400, 5040, 975, 375);
  PlaceInTwips(cmdVersions, 120, 4080, 1215, 255);
  PlaceInTwips(cmdExport, 1380, 4080, 975, 255);
  PlaceInTwips(cmdImport, 120, 4440, 1095, 375);
  PlaceInTwips(chkFields, 2400, 1185, 2055, 255);
  PlaceInTwips(lblFieldsHint, 2400, 690, 2055, 480);
  SetDesignedSize(this, 7950, 5445);
}

template <class Step>
bool frmManage::guarded(Step&& step) {
  try {
    step();
    return true;
  } catch (const std::exception&) {
    Modal().message(this, kAppTitle, ErrorText(std::current_exception()), QMessageBox::Critical,
                    QMessageBox::Ok, QMessageBox::Ok);
  }
  return false;
}

void frmManage::Form_Load() {
  loaded_ = true;
  Temp = NewEngine();
  reloadTree();
  // The list follows changes another process, or a hand, makes to the store; its own are
  // read back by the step that made them.
  storeWatch_ = new StoreWatch(storePath(), this);
  connect(storeWatch_, &StoreWatch::changed, this, [this] {
    // An import's own rewrite is shown by the import, from the store it read back.
    if (!import_ || !import_->writer()->busy()) refreshList();
  });
  const QSignalBlocker quiet(chkFields);
  chkFields->setChecked(FieldsSwitchedOn());
  showFieldsHint();
}

void frmManage::chkFields_Click(bool on) {
  const QString reason = SwitchFields(on);
  if (reason.isEmpty()) {
    showFieldsHint();
    Q_EMIT fieldsSwitched(on);
    return;
  }
  ShowFileError(this, tr("Could not save the settings to"), FieldsSwitchFile(), reason);
  const QSignalBlocker quiet(chkFields);
  chkFields->setChecked(!on);
}

void frmManage::showFieldsHint() {
  lblFieldsHint->setVisible(!chkFields->isChecked() && HoldsFields(txtValue->toPlainText()));
}

void frmManage::dropOnList(QDropEvent* drop) {
  // The list follows the store: the tree's own move is left undone and the store moves
  // the template, once the drag has ended.
  drop->setDropAction(Qt::IgnoreAction);
  drop->accept();
  // Only the list's own rows come here: in its move mode it takes no other drag.
  QTreeWidgetItem* node = TemplatesList->currentItem();
  if (!node) return;
  const int from = TemplatesList->indexOfTopLevelItem(node);
  const QPoint at = drop->position().toPoint();
  const QModelIndex target = TemplatesList->indexAt(at);
  int before = TemplatesList->topLevelItemCount();
  if (target.isValid())
    before = target.row() + (at.y() > TemplatesList->visualRect(target).center().y() ? 1 : 0);
  const int steps = before > from ? before - from - 1 : before - from;

  if (steps != 0) QTimer::singleShot(0, this, [this, steps] { moveChosen(steps); });
}

bool frmManage::reloadTree() {
  if (storeWatch_) storeWatch_->markSeen();
  return guarded([this] {
    TreeViewAdapter tree(TemplatesList);
    Temp->Template_LoadA(tree);
  });
}

bool frmManage::refreshList() {
  const QTreeWidgetItem* current = TemplatesList->currentItem();
  const QString currentName = current ? current->text(0) : QString();
  QSet<QString> chosen;
  for (const QTreeWidgetItem* node : TemplatesList->selectedItems()) chosen << node->text(0);
  const QSignalBlocker quiet(TemplatesList);
  // Quietly: a store that cannot be read now is said by the step the person takes next.
  if (storeWatch_) storeWatch_->markSeen();
  try {
    TreeViewAdapter tree(TemplatesList);
    Temp->Template_LoadA(tree);
  } catch (const std::exception&) {
    if (storeWatch_) storeWatch_->markUnseen();
    return false;
  }
  // A current row whose template is gone leaves none current: no other template is acted
  // on in its place. The rows come unselected; only the chosen ones are touched.
  TemplatesList->setCurrentItem(nullptr);
  for (int i = 0, n = TemplatesList->topLevelItemCount(); i < n; ++i) {
    QTreeWidgetItem* node = TemplatesList->topLevelItem(i);
    if (!chosen.isEmpty() && chosen.contains(node->text(0))) node->setSelected(true);
    if (current && node->text(0) == currentName) {
      TemplatesList->setCurrentItem(node, 0, QItemSelectionModel::NoUpdate);
      current = nullptr;
    }
  }
  return true;
}

bool frmManage::stillInStore(const QString& name) {
  if (name.isEmpty() || name != filledFrom_) return true;
  // Nothing has changed the store since the list was read from it (one stat): the list is
  // the store, and is asked instead.
  if (storeWatch_ && storeWatch_->seenIsCurrent() && !(import_ && import_->busy()) &&
      listsName(name))
    return true;
  // Asked of the store itself, which the list may follow a moment later.
  StoreNames names;
  try {
    Temp->Template_LoadA(names);
  } catch (const std::exception&) {
    return true;  // the step itself says why the store cannot be used
  }
  if (names.holds(name)) return true;
  refreshList();
  Modal().message(this, kAppTitle,
                  tr("'%1' is no longer in the templates: it was renamed or removed "
                     "elsewhere.")
                      .arg(ShownName(name)),
                  QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok);
  return false;
}

bool frmManage::refillMainWindowSlots() {
  return guarded([this] {
    if (refillSlots_) refillSlots_(*Temp);
  });
}

void frmManage::TemplatesList_NodeClick(QTreeWidgetItem* node) {
  if (!node) return;
  filledFrom_ = node->text(0);
  txtName->setText(node->text(0));
  txtIndex->setText(QString::number(TemplatesList->indexOfTopLevelItem(node) + 1));
  txtValue->setPlainText(node->data(0, Qt::UserRole).toString());
}

void frmManage::setEditButtons(bool enabled) {
  cmdAdd->setEnabled(enabled);
  cmdModify->setEnabled(enabled);
  cmdRemove->setEnabled(enabled);
}

void frmManage::txtName_Change() {
  setEditButtons(!txtName->text().isEmpty());
}
void frmManage::txtValue_Change() {
  setEditButtons(!txtValue->toPlainText().isEmpty());
  showFieldsHint();
}

void frmManage::cmdAdd_Click() {
  const QString name = txtName->text();
  const QString value = ValueText(txtValue);
  if (name.isEmpty() || value.isEmpty()) return;
  if (const std::string why = templates::NameProblem(ToU16(name)); !why.empty()) {
    Modal().message(this, kAppTitle, EngineRefusalText(why), QMessageBox::NoIcon, QMessageBox::Ok,
                    QMessageBox::Ok);
    return;
  }
  guarded([&] {
    TreeViewAdapter tree(TemplatesList);
    if (Temp->Check_Exists_Obj(ToU16(name), ToU16(value), tree)) {
      Modal().message(this, kAppTitle, tr("Template Exists!"), QMessageBox::NoIcon, QMessageBox::Ok,
                      QMessageBox::Ok);
      return;
    }
    KeptVersion version = keepVersion();
    if (Temp->Template_AddB(ToU16(name), ToU16(value))) {
      version.changeMade(tr("Added %1").arg(QuotedName(name)));
      storeWatch_->markSeen();
      Temp->Template_LoadA(tree);
    } else {
      Modal().message(this, kAppTitle, tr("Could Not Add the template '%1'!").arg(ShownName(name)),
                      QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok);
    }
  });
}

bool frmManage::listsName(const QString& name) const {
  return ListsTemplate(TemplatesList, name);
}

void frmManage::cmdModify_Click() {
  if (!stillInStore(txtName->text())) return;
  // A change that changes no template keeps no version.
  const QString name = txtName->text();
  KeptVersion version;
  if (listsName(name) && !ValueText(txtValue).isEmpty()) version = keepVersion();
  if (guarded(
          [this] { Temp->Template_EditB(ToU16(txtName->text()), ToU16(ValueText(txtValue))); })) {
    version.changeMade(tr("Changed %1").arg(QuotedName(name)));
    reloadTree();
  }
}

void frmManage::cmdRemove_Click() {
  if (!stillInStore(txtName->text())) return;
  const QString name = txtName->text();
  KeptVersion version;
  if (listsName(name)) version = keepVersion();
  if (!guarded([this] { Temp->Template_RmB(ToU16(txtName->text())); })) return;
  version.changeMade(tr("Removed %1").arg(QuotedName(name)));
  filledFrom_.clear();
  txtName->clear();
  txtValue->clear();
  txtIndex->clear();
  if (reloadTree()) refillMainWindowSlots();
}

void frmManage::chooseRow(int row) {
  const int count = TemplatesList->topLevelItemCount();
  if (count == 0) return;
  QTreeWidgetItem* node = TemplatesList->topLevelItem(std::clamp(row, 0, count - 1));
  TemplatesList->setCurrentItem(node);
  TemplatesList_NodeClick(node);
}

void frmManage::moveChosen(int steps) {
  QTreeWidgetItem* node = TemplatesList->currentItem();
  if (!node || filter_->narrowing()) return;
  const int row = TemplatesList->indexOfTopLevelItem(node);
  const QString name = node->text(0);
  if (row + steps < 0 || row + steps >= TemplatesList->topLevelItemCount()) return;
  KeptVersion version = keepVersion();
  bool moved = false;
  if (!guarded([&] { moved = Temp->Template_Move(ToU16(name), steps) != templates::kFalse; }) ||
      !moved)
    return;
  version.changeMade(steps == -1  ? tr("Moved %1 up").arg(QuotedName(name))
                     : steps == 1 ? tr("Moved %1 down").arg(QuotedName(name))
                                  : tr("Moved %1 from place %2 to %3")
                                        .arg(QuotedName(name), QString::number(row + 1),
                                             QString::number(row + steps + 1)));
  if (reloadTree()) refillMainWindowSlots();
  chooseRow(row + steps);
}

QString frmManage::storePath() const {
  return QFile::decodeName(QByteArray::fromStdString(Temp->StorePath().native()));
}

KeptVersion frmManage::keepVersion() {
  // Written beside the window; a failure is said once, when no question is open, and the
  // change goes on.
  return KeepStoreVersionBeside(storePath(), this, [this](const QString& reason) {
    if (reason.isEmpty()) {
      versionFailureTold_ = false;
      return;
    }
    if (versionFailureTold_) return;
    versionFailureTold_ = true;
    WhenNoModal(this, [this, reason] {
      ShowFileError(this, tr("Could not keep a version of the templates before this change"),
                    storePath(), reason);
    });
  });
}

void frmManage::cmdVersions_Click() {
  const QString store = storePath();
  const QList<StoreVersion> versions = StoreVersions(store);
  if (versions.isEmpty()) {
    Modal().message(this, kAppTitle,
                    tr("No earlier versions of the templates are kept yet: one is "
                       "kept before each change made here."),
                    QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok);
    return;
  }
  QStringList rows;
  for (const StoreVersion& v : versions) {
    QString row = QStringLiteral("%1   %2").arg(VersionTime(v), TemplateCount(v.templates));
    if (!v.change.isEmpty()) row += tr("   then: %1").arg(v.change);
    rows << row;
  }
  const int row =
      Modal().choice(this, tr("Template Versions"),
                     tr("The templates as they were before each of the last changes, newest first, "
                        "with the change that followed. Restore makes the one chosen your "
                        "templates again; the templates as they are now are kept as a version too, "
                        "so that the restore can be taken back."),
                     rows, tr("Restore"), [versions, store](int chosen, JobProgress& job) {
                       return WhatRestoreChanges(versions.at(chosen), store, &job);
                     });
  if (row < 0 || row >= versions.size()) return;
  if (const QString reason = RestoreStoreVersion(*Temp, versions.at(row)); !reason.isEmpty()) {
    ShowFileError(this, tr("Could not restore the templates"), store, reason);
    return;
  }
  if (reloadTree()) refillMainWindowSlots();
}

void frmManage::cmdExport_Click() {
  QList<TemplateEntry> all, chosen;
  for (int i = 0; i < TemplatesList->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* node = TemplatesList->topLevelItem(i);
    const TemplateEntry entry{node->text(0), node->data(0, Qt::UserRole).toString()};
    all << entry;
    if (node->isSelected()) chosen << entry;
  }
  if (all.isEmpty()) {
    Modal().message(this, kAppTitle, tr("There are no templates to export."), QMessageBox::NoIcon,
                    QMessageBox::Ok, QMessageBox::Ok);
    return;
  }
  QList<TemplateEntry> entries = all;
  if (!chosen.isEmpty() && chosen.size() < all.size()) {
    const auto answer = Modal().question(
        this, kAppTitle,
        tr("Export the %1 chosen in the list, or all %n templates?", nullptr, int(all.size()))
            .arg(chosen.size()),
        QMessageBox::Question,
        {{QMessageBox::Yes, tr("Chosen")},
         {QMessageBox::No, tr("All")},
         {QMessageBox::Cancel, tr("Cancel")}},
        QMessageBox::Yes);
    if (answer == QMessageBox::Cancel) return;
    if (answer == QMessageBox::Yes) entries = chosen;
  }
  // The kind written is the kind chosen in the dialog, whatever the name ends with; a name
  // with no ending gets the kind's own.
  const QString csvFilter = tr("CSV (*.csv)");
  QString filter;
  QString path = Modal().fileName(this, true, tr("Export Templates"), QDir::homePath(),
                                  {csvFilter, tr("Template store (*.dat)")}, &filter);
  if (path.isEmpty()) return;
  const bool csv = filter == csvFilter;
  if (QFileInfo(path).suffix().isEmpty())
    path += csv ? QLatin1String(".csv") : QLatin1String(".dat");
  const QByteArray bytes = csv ? TemplatesAsCsv(entries) : TemplatesAsStore(entries);
  if (const QString reason = WriteFileAtomically(path, bytes.toStdString()); !reason.isEmpty()) {
    ShowFileError(this, tr("Could not export the templates to"), path, reason);
    return;
  }
  Modal().message(this, kAppTitle,
                  tr("Exported %n template(s) to %1.", nullptr, int(entries.size())).arg(path),
                  QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok);
}

void frmManage::cmdImport_Click() {
  const QString path = Modal().fileName(this, false, tr("Import Templates"), QDir::homePath(),
                                        {tr("Templates (*.csv *.dat)"), tr("All files (*)")});
  if (path.isEmpty()) return;
  if (!import_) {
    import_ = new ImportJob(this);
    // One import at a time: Import waits until the last one has written the store.
    connect(import_, &ImportJob::busyChanged, this,
            [this](bool busy) { cmdImport->setEnabled(!busy); });
  }
  import_->read(path, Temp->StorePath(),
                [this, path](ImportRead& read) { mergeImport(path, read); });
}

LongJob* frmManage::importReader() const {
  return import_ ? import_->reader() : nullptr;
}
LongJob* frmManage::importWriter() const {
  return import_ ? import_->writer() : nullptr;
}

void frmManage::mergeImport(const QString& path, ImportRead& read) {
  if (!read.reason.isEmpty()) {
    ShowFileError(this, tr("Could not import the templates from"), path, read.reason);
    return;
  }
  const ImportPlan& plan = read.plan;
  templates::Clash policy = templates::Clash::kSkip;
  if (plan.clashes > 0) {
    const auto answer = Modal().question(
        this, kAppTitle,
        tr("%1 of the %n templates in %2 have names that exist already. Skip "
           "them, replace the existing ones, or keep both (the imported ones get a "
           "number after their name)?",
           nullptr, int(read.entries.size()))
            .arg(QString::number(plan.clashes), path),
        QMessageBox::Question,
        {{QMessageBox::Yes, tr("Skip")},
         {QMessageBox::No, tr("Replace")},
         {QMessageBox::YesToAll, tr("Keep Both")},
         {QMessageBox::Cancel, tr("Cancel")}},
        QMessageBox::Yes);
    if (answer == QMessageBox::Cancel) return;
    policy = answer == QMessageBox::No         ? templates::Clash::kReplace
             : answer == QMessageBox::YesToAll ? templates::Clash::kKeepBoth
                                               : templates::Clash::kSkip;
  }
  KeptVersion version = keepVersion();
  auto planned = std::make_shared<const ImportPlan>(std::move(read.plan));
  import_->merge(
      path, planned, policy, Temp->StorePath(),
      [this, path, planned, version](ImportMerged& merged) mutable {
        if (const int imported = merged.result.added + merged.result.replaced;
            merged.error.isEmpty() && imported > 0)
          version.changeMade(tr("Imported %n template(s) from %1", nullptr, imported).arg(path));
        // The list shows the store as the job read it back; the watch, quiet while the
        // import wrote, takes only a change made after that read for another process's.
        bool listed = false;
        if (merged.error.isEmpty() && merged.rows) {
          storeWatch_->markSeen(merged.seen);
          TreeViewAdapter(TemplatesList).show(std::move(merged.rows->rows));
          listed = true;
        }
        QTimer::singleShot(0, this, [this, path, planned, merged, listed] {
          if (!merged.error.isEmpty()) {
            // What the store holds now, whatever of it changed while the watch
            // left it to the import.
            refreshList();
            Modal().message(this, kAppTitle, merged.error, QMessageBox::Critical, QMessageBox::Ok,
                            QMessageBox::Ok);
            return;
          }
          if (listed) refillMainWindowSlots();
          Modal().message(this, kAppTitle, ImportReport(path, *planned, merged.result),
                          QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok);
        });
      });
}

void frmManage::cmdMoveUp_Click() {
  moveChosen(-1);
}

void frmManage::cmdMoveDown_Click() {
  moveChosen(1);
}

void frmManage::cmdRename_Click() {
  // The template the boxes show, as for Modify and Remove; else the row highlighted.
  QTreeWidgetItem* node = TemplatesList->currentItem();
  const QString from = !filledFrom_.isEmpty()       ? filledFrom_
                       : node && node->isSelected() ? node->text(0)
                                                    : QString();
  const QString to = txtName->text();
  if (from.isEmpty() || to.isEmpty() || to == from) return;
  if (const std::string why = templates::NameProblem(ToU16(to)); !why.empty()) {
    Modal().message(this, kAppTitle, EngineRefusalText(why), QMessageBox::NoIcon, QMessageBox::Ok,
                    QMessageBox::Ok);
    return;
  }
  if (!stillInStore(from)) return;
  // From here the template is named, not held: the list is read again whenever the store
  // changes, also while a message (the version's, say) is open.
  if (!node || node->text(0) != from) {
    const QList<QTreeWidgetItem*> listed =
        TemplatesList->findItems(from, Qt::MatchExactly | Qt::MatchCaseSensitive);
    node = listed.isEmpty() ? nullptr : listed.first();
  }
  if (!node) return;
  const int row = TemplatesList->indexOfTopLevelItem(node);
  node = nullptr;
  KeptVersion version = keepVersion();
  bool renamed = false;
  if (!guarded(
          [&] { renamed = Temp->Template_Rename(ToU16(from), ToU16(to)) != templates::kFalse; }))
    return;
  if (!renamed) {
    Modal().message(this, kAppTitle, tr("A template named '%1' exists already.").arg(ShownName(to)),
                    QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok);
    return;
  }
  version.changeMade(tr("Renamed %1 to %2").arg(QuotedName(from), QuotedName(to)));
  if (reloadTree()) refillMainWindowSlots();
  chooseRow(row);
}

bool frmManage::apply() {
  return reloadTree() && refillMainWindowSlots();
}

void frmManage::cmdApply_Click() {
  apply();
}

void frmManage::cmdDone_Click() {
  // A refresh that failed keeps the dialog open, with what is typed in it.
  if (apply()) unload();
}

void frmManage::cmdCancel_Click() {
  unload();
}

void frmManage::unload() {
  close();
}

void frmManage::keyPressEvent(QKeyEvent* event) {
  // Escape closes no window here: no button is the dialog's cancel button.
  if (IgnoresDialogKeys(event)) return;
  QDialog::keyPressEvent(event);
}

bool frmManage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == TemplatesList->viewport() && event->type() == QEvent::Drop) {
    dropOnList(static_cast<QDropEvent*>(event));
    return true;
  }
  if (watched == TemplatesList && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() == Qt::AltModifier &&
        (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
      moveChosen(key->key() == Qt::Key_Up ? -1 : 1);
      return true;
    }
    if (key->key() == Qt::Key_F2 && key->modifiers() == Qt::NoModifier) {
      txtName->setFocus(Qt::ShortcutFocusReason);
      txtName->selectAll();
      return true;
    }
  }
  // The preset value, untouched, is selected as the box takes the keyboard, so that typing
  // replaces it: at once by Tab, after a click once the click has placed the caret.
  if (watched == txtValue && event->type() == QEvent::FocusIn &&
      txtValue->toPlainText() == NoValue()) {
    if (static_cast<QFocusEvent*>(event)->reason() != Qt::MouseFocusReason)
      txtValue->selectAll();
    else
      QTimer::singleShot(0, txtValue, [this] {
        if (txtValue->toPlainText() == NoValue()) txtValue->selectAll();
      });
  }
  if (watched == txtValue && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    // Keys may come before the click's selection does: a typed character still replaces
    // the preset rather than joining it.
    if (!key->text().isEmpty() && key->text().at(0).isPrint() &&
        txtValue->toPlainText() == NoValue() && !txtValue->textCursor().hasSelection())
      txtValue->selectAll();
    if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::ControlModifier) {
      txtValue->insertPlainText(QStringLiteral("\t"));
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void frmManage::closeEvent(QCloseEvent* event) {
  // The close box behaves as Cancel: the dialog is unloaded and nothing refreshed.
  event->accept();
  QDialog::closeEvent(event);
}

void frmManage::showEvent(QShowEvent* event) {
  CentreOnceAndKeepOffTaskbar(this, centred_);
  QDialog::showEvent(event);
  // Opened for no slot, the keyboard starts in the list: choose a template, move it
  // (Alt+Up, Alt+Down), rename it (F2).
  if (!focusWidget() || focusWidget() == this) TemplatesList->setFocus(Qt::OtherFocusReason);
}

void frmManage::presetForSlot(int index, const QString& caption) {
  filledFrom_.clear();
  txtIndex->setText(QString::number(index));
  txtValue->setPlainText(NoValue());
  txtName->setText(caption);
  // The user came to define this slot's template: the name is theirs to type at once.
  txtName->setFocus(Qt::OtherFocusReason);
  txtName->selectAll();
}
