// The main window: start-up, layout, minimize-to-tray, the templates popup, the clipboard
// commands and Exit.
#include "editor/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QStatusBar>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <QWindow>
#include <functional>

#include "common/dialogwindow.h"
#include "common/errortext.h"
#include "common/filedrop.h"
#include "common/longjob.h"
#include "common/modal.h"
#include "common/plaintext.h"
#include "common/programfolder.h"
#include "common/safepaste.h"
#include "common/storewatch.h"
#include "common/taskbar.h"
#include "common/templatefields.h"
#include "common/twips.h"
#include "documents/document.h"
#include "documents/recovery.h"
#include "editor/documentpanels.h"
#include "editor/findbar.h"
#include "editor/mainlayout.h"
#include "editor/templatepicker.h"
#include "owntext.h"
#include "templateinsertion.h"
#include "traypresence.h"

namespace {

// The document's font: Courier New 9.75 pt, or the platform's fixed-pitch font where
// Courier New is missing.
QFont DocumentFont() {
  QFont font(QStringLiteral("Courier New"));
  font.setStyleHint(QFont::TypeWriter);
  font.setPointSizeF(9.75);
  font.setWeight(QFont::Normal);
  font.setItalic(false);
  if (!QFontInfo(font).fixedPitch()) {
    font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(9.75);
  }
  return font;
}

}  // namespace

frmMain::frmMain(bool keepRecoveryCopies, QWidget* parent)
    : QMainWindow(parent), keepRecoveryCopies_(keepRecoveryCopies) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral("quor - pad"));
  // The icon is drawn from its picture at every size a taskbar asks for: that waits until
  // the window is up, and the tray icon follows it.
  QTimer::singleShot(0, this,
                     [this] { setWindowIcon(QIcon(QStringLiteral(":/icons/quorpad.svg"))); });
  createControls();
  createTrayMenu();
  tray_ = new TrayPresence(this, mnuTray);
  connect(tray_, &TrayPresence::activated, this, &frmMain::Form_MouseUp);
  createTemplatesPopup();
  createKeyboardPaths();
  createFileDrops();
  ownText_ = new OwnClipboardText(this);
  connect(qApp, &QGuiApplication::commitDataRequest, document_, &Document::commitData);
}

frmMain::~frmMain() {
  // The bar is hidden while its window goes; this window is no longer one to lay out.
  disconnect(findBar_, nullptr, this, nullptr);
  // Changes that nobody let go of (the desktop session ended without a question) stay in
  // their recovery copy, brought up to date.
  if (RecoveryCopy* copy = recovery()) copy->flush();
  // A picker for another program uses this window's store and clipboard: it goes first.
  delete pick_.data();
  releaseDesktop();
}

const QString& frmMain::OpenFilePath() const {
  return document_->path();
}

RecoveryCopy* frmMain::recovery() const {
  return document_->recovery();
}

void frmMain::offerRecovery() {
  document_->offerRecovery();
}

void frmMain::createControls() {
  auto* central = new QWidget(this);
  setCentralWidget(central);
  Frame1 = new QGroupBox(QString(), central);
  Frame1->setObjectName(QStringLiteral("Frame1"));
  txtData = new QPlainTextEdit(Frame1);
  txtData->setObjectName(QStringLiteral("txtData"));
  txtData->setAccessibleName(tr("Document"));
  txtData->setAccessibleDescription(
      tr("The text being edited. The Menu key opens the templates popup; Ctrl+T "
         "finds any template."));
  txtData->setFont(DocumentFont());
  KeepLayoutLinear(txtData);
  // Right-button releases reach the document box itself and open the templates popup;
  // the box's own context menu never shows.
  txtData->setContextMenuPolicy(Qt::PreventContextMenu);
  txtData->viewport()->installEventFilter(this);
  txtData->installEventFilter(this);
  document_ = new Document(txtData, this, keepRecoveryCopies_);
  findBar_ = new FindBar(txtData, Frame1);
  connect(findBar_, &FindBar::visibilityChanged, this, &frmMain::scheduleLayout);
  connect(document_, &Document::statusChanged, this, &frmMain::showStatus);

  statusPanel_ = NewPlainLabel(this);
  statusPanel_->setObjectName(QStringLiteral("status_panel1"));
  statusPanel_->setAccessibleName(tr("Document status"));
  statusBar()->setObjectName(QStringLiteral("status"));
  statusBar()->setSizeGripEnabled(true);
  statusBar()->addWidget(statusPanel_, 1);
  statusPanel_->setMinimumWidth(ToPixelsX(this, qRound(kMinPanelWidth * FontScale(this))));
  panels_ = new DocumentPanels(statusBar(), document_, txtData);
  panels_->watch(findBar_->replaceJob());
  panels_->watch(document_->loadJob());
  panels_->watch(document_->saveJob(), false);
  // Another program's clipboard, pasted or taken by a template's field, comes in beside the
  // window.
  clipboardReader_ = new LongJob(this);
  panels_->watch(clipboardReader_);
  PasteBeside(txtData, clipboardReader_);
  geometry_ = new MainGeometry(this, {Frame1, txtData, findBar_, statusPanel_, panels_},
                               [this] { Form_Resize(); });
  // The keyboard is the window's once it is on screen, where it was asked for before.
  connect(geometry_, &MainGeometry::exposureChanged, this, [this] {
    if (focusWhenExposed_ && windowHandle()->isExposed()) {
      focusWhenExposed_ = false;
      GiveKeyboardFocus(this);
    }
  });
  connect(document_, &Document::formatNotice, this, &frmMain::scheduleLayout);
  connect(document_, &Document::formatChanged, this, &frmMain::scheduleLayout);
  connect(txtData->document(), &QTextDocument::modificationChanged, this, &frmMain::scheduleLayout);
  // The designed height, or more where the desktop's font needs it.
  statusBar()->setFixedHeight(
      std::max(ToPixelsY(this, 255), statusPanel_->fontMetrics().height() + 6));

  // The designed size, larger by the dialogs' rule where the desktop's font is larger.
  resize(ToPixelsX(this, qRound(8700 * FontScale(this))),
         ToPixelsY(this, qRound(5220 * FontScale(this))));
}

QAction* frmMain::addItem(QMenu* menu, const QString& name, const QString& caption,
                          void (frmMain::*handler)()) {
  auto* item = menu->addAction(caption);
  item->setObjectName(name);
  if (handler) connect(item, &QAction::triggered, this, handler);
  return item;
}

QAction* frmMain::addSeparator(QMenu* menu, const QString& name) {
  QAction* separator = menu->addSeparator();
  separator->setObjectName(name);
  return separator;
}

QAction* frmMain::action(const QString& name) const {
  return findChild<QAction*>(name);
}

void frmMain::createTrayMenu() {
  mnuTray = new QMenu(this);
  mnuTray->setObjectName(QStringLiteral("mnuTray"));
  addItem(mnuTray, QStringLiteral("mnuNew"), tr("New"), &frmMain::mnuNew_Click);
  addItem(mnuTray, QStringLiteral("mnuOpen"), tr("Open..."), &frmMain::mnuOpen_Click);
  addItem(mnuTray, QStringLiteral("mnuSave"), tr("Save"), &frmMain::mnuSave_Click);
  addItem(mnuTray, QStringLiteral("mnuSaveAs"), tr("Save As..."), &frmMain::mnuSaveAs_Click);
  addSeparator(mnuTray, QStringLiteral("FileSep0"));
  addItem(mnuTray, QStringLiteral("mnuConfig"), tr("Configuration"), &frmMain::mnuConfig_Click)
      ->setEnabled(false);
  addItem(mnuTray, QStringLiteral("mnuAbout"), tr("About"), &frmMain::mnuAbout_Click);
  addSeparator(mnuTray, QStringLiteral("FileSep1"));
  addItem(mnuTray, QStringLiteral("mnuExit"), tr("Exit"), &frmMain::mnuExit_Click);
}

void frmMain::createTemplatesPopup() {
  mnuTemplates_Popup = new QMenu(this);
  mnuTemplates_Popup->setObjectName(QStringLiteral("mnuTemplates_Popup"));
  for (int i = 1; i <= kTemplateSlots; ++i) {
    QAction* slot = mnuTemplates_Popup->addAction(NotSet());
    slot->setObjectName(QStringLiteral("mnuTemplate_%1").arg(i));
    ClearSlot(slot);
    connect(slot, &QAction::triggered, this, [this, i] { mnuTemplate_Click(i); });
    mnuTemplate[static_cast<size_t>(i - 1)] = slot;
  }
  addSeparator(mnuTemplates_Popup, QStringLiteral("mnuTemplates_Sep1"));
  addItem(mnuTemplates_Popup, QStringLiteral("mnuManageTemplates"), tr("Manage Templates"),
          &frmMain::mnuManageTemplates_Click);
  addItem(mnuTemplates_Popup, QStringLiteral("mnuPreview"), tr("Preview Page"), nullptr)
      ->setEnabled(false);
  addSeparator(mnuTemplates_Popup, QStringLiteral("mnuTemplates_Sep0"));

  mnuTmp_File = mnuTemplates_Popup->addMenu(tr("File"));
  mnuTmp_File->setObjectName(QStringLiteral("mnuTmp_File"));
  mnuTmp_File->menuAction()->setObjectName(QStringLiteral("mnuTmp_File"));
  addItem(mnuTmp_File, QStringLiteral("mnuTemp_New"), tr("New"), &frmMain::mnuTemp_New_Click);
  addItem(mnuTmp_File, QStringLiteral("mnuTemp_Open"), tr("Open..."), &frmMain::mnuTemp_Open_Click);
  addItem(mnuTmp_File, QStringLiteral("mnuTemp_Save"), tr("Save"), &frmMain::mnuTemp_Save_Click);
  addItem(mnuTmp_File, QStringLiteral("mnuTemp_SaveAs"), tr("Save As..."),
          &frmMain::mnuTemp_SaveAs_Click);

  mnuEdit = mnuTemplates_Popup->addMenu(tr("Edit"));
  mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
  mnuEdit->menuAction()->setObjectName(QStringLiteral("mnuEdit"));
  addItem(mnuEdit, QStringLiteral("mnuCut"), tr("Cut"), &frmMain::mnuCut_Click);
  addItem(mnuEdit, QStringLiteral("mnuCopy"), tr("Copy"), &frmMain::mnuCopy_Click);
  addItem(mnuEdit, QStringLiteral("mnuPaste"), tr("Paste"), &frmMain::mnuPaste_Click);

  addSeparator(mnuTemplates_Popup, QStringLiteral("mnuSep00"));
  addItem(mnuTemplates_Popup, QStringLiteral("mnuTempExit"), tr("Exit"),
          &frmMain::mnuTempExit_Click);
}

void frmMain::zoomDocument(int percent) {
  zoom_ = std::clamp(percent, 50, 400);
  QFont font = DocumentFont();
  font.setPointSizeF(font.pointSizeF() * zoom_ / 100.0);
  txtData->setFont(font);
  panels_->showZoom(zoom_);
}

void frmMain::createKeyboardPaths() {
  // Keyboard users open the templates popup with the Menu key or Shift+F10, at the caret.
  for (const QKeySequence& keys :
       {QKeySequence(Qt::Key_Menu), QKeySequence(Qt::SHIFT | Qt::Key_F10)}) {
    auto* shortcut = new QShortcut(keys, txtData, nullptr, nullptr, Qt::WidgetShortcut);
    connect(shortcut, &QShortcut::activated, this, &frmMain::showTemplatesPopupAtCaret);
  }
  // Every template of the store, found by typing a part of its name or text.
  auto* picker = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_T), txtData, nullptr, nullptr,
                               Qt::WidgetShortcut);
  connect(picker, &QShortcut::activated, this, &frmMain::showTemplatePicker);
  // The file commands from the keyboard, held by the document box as Ctrl+T is (the menus
  // carry no keys); each runs its menu item's own handler.
  const std::pair<QKeySequence, void (frmMain::*)()> fileKeys[] = {
      {QKeySequence(Qt::CTRL | Qt::Key_N), &frmMain::mnuNew_Click},
      {QKeySequence(Qt::CTRL | Qt::Key_O), &frmMain::mnuOpen_Click},
      {QKeySequence(Qt::CTRL | Qt::Key_S), &frmMain::mnuSave_Click},
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &frmMain::mnuSaveAs_Click}};
  for (const auto& [keys, handler] : fileKeys) {
    auto* shortcut = new QShortcut(keys, txtData, nullptr, nullptr, Qt::WidgetShortcut);
    connect(shortcut, &QShortcut::activated, this, handler);
  }
  // Find and Replace, in a bar under the document.
  const std::pair<QKeySequence, std::function<void()>> findKeys[] = {
      {QKeySequence(Qt::CTRL | Qt::Key_F), [this] { findBar_->open(false); }},
      {QKeySequence(Qt::CTRL | Qt::Key_H), [this] { findBar_->open(true); }},
      {QKeySequence(Qt::Key_F3), [this] { findBar_->findNext(); }},
      {QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { findBar_->findPrevious(); }},
      {QKeySequence(Qt::CTRL | Qt::Key_G), [this] { goToLine(); }}};
  for (const auto& [keys, action] : findKeys) {
    auto* shortcut = new QShortcut(keys, txtData, nullptr, nullptr, Qt::WidgetShortcut);
    connect(shortcut, &QShortcut::activated, this, action);
  }
  // The encoding and line-end panels' menus, for those who cannot or do not point.
  const std::pair<QKeySequence, QToolButton*> formatKeys[] = {
      {QKeySequence(Qt::CTRL | Qt::Key_E), panels_->encoding()},
      {QKeySequence(Qt::CTRL | Qt::Key_L), panels_->lineEnds()}};
  for (const auto& [keys, panel] : formatKeys) {
    auto* shortcut = new QShortcut(keys, txtData, nullptr, nullptr, Qt::WidgetShortcut);
    connect(shortcut, &QShortcut::activated, this,
            [this, panel = panel] { panels_->popUpMenu(panel); });
  }
  // The document's text larger, smaller and as written, for the session.
  const std::pair<QKeySequence, int> zoomKeys[] = {{QKeySequence(QKeySequence::ZoomIn), 10},
                                                   {QKeySequence(Qt::CTRL | Qt::Key_Equal), 10},
                                                   {QKeySequence(QKeySequence::ZoomOut), -10},
                                                   {QKeySequence(Qt::CTRL | Qt::Key_0), 0}};
  for (const auto& [keys, step] : zoomKeys) {
    auto* shortcut = new QShortcut(keys, txtData, nullptr, nullptr, Qt::WidgetShortcut);
    connect(shortcut, &QShortcut::activated, this,
            [this, step = step] { zoomDocument(step == 0 ? 100 : zoom_ + step); });
  }
  // Redo on the keys other editors use as well as Qt's own.
  for (const QKeySequence& keys :
       {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}) {
    auto* shortcut = new QShortcut(keys, txtData, nullptr, nullptr, Qt::WidgetShortcut);
    // A document held still for work beside the window takes no Redo, as it takes no typing.
    connect(shortcut, &QShortcut::activated, txtData, [this] {
      if (!txtData->isReadOnly()) txtData->redo();
    });
  }
}

void frmMain::goToLine() {
  if (questionOpen()) return;
  QTextDocument* text = txtData->document();
  const int lines = text->blockCount();
  bool ok = false;
  const int line = Modal().number(this, tr("Go to Line"), tr("Line number (1 to %1):").arg(lines),
                                  txtData->textCursor().blockNumber() + 1, 1, lines, ok);
  if (!ok) return;
  txtData->setTextCursor(QTextCursor(text->findBlockByNumber(std::clamp(line, 1, lines) - 1)));
  txtData->centerCursor();
  GiveKeyboardFocus(txtData);
}

void frmMain::createFileDrops() {
  // A file dropped anywhere on the window, the document included, is opened; dragged text
  // still goes into the document.
  auto* drops = new FileDropTarget(this);
  drops->watch(this);
  drops->watch(txtData->viewport());
  // A file dropped while a question or a long save holds the window opens once it is done.
  connect(drops, &FileDropTarget::fileDropped, this, [this](const QString& path) {
    WhenNoModal(this, [this, path] { openFromOutside(path); });
  });
}

void frmMain::Form_Load() {
  // A store the user's own folders could not take is said once, when the window is up.
  if (const QString problem = ChosenStorePlace().problem; !problem.isEmpty())
    QTimer::singleShot(0, this, [this, problem] {
      WhenNoModal(this, [this, problem] {
        Modal().message(this, kAppTitle, problem, QMessageBox::Warning, QMessageBox::Ok,
                        QMessageBox::Ok);
      });
    });
  Temp = NewEngine();
  AddTrayIcon(*this);
  txtData->move(ToPixelsX(this, kTextLeft), ToPixelsY(this, kTextTop));
  fillTemplateSlots();
  watchStore();
}

void frmMain::resetTemplateSlots() {
  for (QAction* slot : mnuTemplate) ClearSlot(slot);
}

void frmMain::fillTemplateSlots() {
  MenuSlotsAdapter menu(mnuTemplate);
  Temp->Template_LoadB(menu);
}

void frmMain::refillTemplateSlots(templates::tmpeng& engine) {
  // What a read under way would bring is older than this.
  if (slotsReader_) slotsReader_->cancel();
  SlotValues fresh;
  engine.Template_LoadB(fresh);
  resetTemplateSlots();
  MenuSlotsAdapter menu(mnuTemplate);
  fresh.copyTo(menu);
}

void frmMain::watchStore() {
  // The popup follows the store whoever changes it: another quorpad, a script, a hand edit.
  if (storeWatch_) return;
  storeWatch_ = new StoreWatch(
      QFile::decodeName(QByteArray::fromStdString(Temp->StorePath().native())), this);
  connect(storeWatch_, &StoreWatch::changed, this, &frmMain::storeChanged);
}

bool frmMain::fieldsOn() {
  // The settings are read at the first insertion, and again only when their file is no
  // longer what it was (a stat per insertion): another quorpad's change or a hand's holds
  // from the next insertion on; the manager here says its own at once (setFieldsOn).
  const StoreStamp now = StoreStamp::of(FieldsSwitchFile());
  if (!fieldsRead_ || now != fieldsStamp_) {
    fieldsStamp_ = now;
    fieldsOn_ = FieldsSwitchedOn();
    fieldsRead_ = true;
  }
  return fieldsOn_;
}

void frmMain::setFieldsOn(bool on) {
  fieldsOn();
  fieldsOn_ = on;
}

void frmMain::storeChanged() {
  // The slots are read beside the window: a store that another process holds locked (a long
  // import) never holds the window. A newer change overtakes a read still under way.
  struct SlotsRead {
    SlotValues values;
    QString error;
  };
  if (!slotsReader_) slotsReader_ = new LongJob(this);
  slotsReader_->start<SlotsRead>(
      tr("Reading the templates"),
      [folder = Temp->StorePath().parent_path()](JobProgress&) {
        SlotsRead read;
        try {
          templates::tmpeng(folder).Template_LoadB(read.values);
        } catch (...) {
          read.error = ErrorText(std::current_exception());
        }
        return read;
      },
      [this](SlotsRead& read) {
        // A store that stays broken is reported once, not at every change, and the slots keep
        // what they showed; the first refill that works again ends that.
        if (read.error.isEmpty()) {
          resetTemplateSlots();
          MenuSlotsAdapter menu(mnuTemplate);
          read.values.copyTo(menu);
          storeFailing_ = false;
          return;
        }
        if (storeFailing_) return;
        storeFailing_ = true;
        QTimer::singleShot(0, this, [this, reason = read.error] {
          Modal().message(this, kAppTitle, reason, QMessageBox::Critical, QMessageBox::Ok,
                          QMessageBox::Ok);
        });
      });
}

void frmMain::showStatus(const QString& text, bool paintNow) {
  ShowInPanel(statusPanel_, text);
  Q_EMIT statusChanged(text);
  if (paintNow) statusPanel_->repaint();
}

void frmMain::Form_Resize() {
  if (isMinimized()) {
    // Without a tray icon to bring it back, the window minimizes normally instead.
    if (hidesToTray())
      QTimer::singleShot(0, this, [this] {
        if (isMinimized()) hide();
      });
    return;
  }
  geometry_->layOut();
}

void frmMain::scheduleLayout() {
  if (geometry_) geometry_->schedule();
}

void frmMain::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  scheduleLayout();
}

void frmMain::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  scheduleLayout();
}

void frmMain::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) scheduleLayout();
}

void frmMain::showEvent(QShowEvent* event) {
  geometry_->showing(event->spontaneous());
  tray_->updateTaskbarEntry();
  QMainWindow::showEvent(event);
}

bool frmMain::hidesToTray() const {
  return tray_->hidesWindow();
}

void frmMain::showIfUnreachable() {
  tray_->showIfUnreachable();
}

QSystemTrayIcon* frmMain::trayIcon() const {
  return tray_->icon();
}

void AddTrayIcon(frmMain& window) {
  window.tray_->add();
}

void RemoveTrayIcon(frmMain& window) {
  window.tray_->remove();
}

void frmMain::Form_MouseUp(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Trigger:
      // A status notifier host has no double click: its primary action (a left click)
      // arrives as a trigger and restores. In an X11 tray a single click does nothing.
      if (!tray_->iconIsEmbedded()) tray_->restoreWindow();
      break;
    case QSystemTrayIcon::DoubleClick:
      bringToFront();
      return;
    default:
      // The tray menu is attached to the icon and shows by itself.
      return;
  }
  keyboardToFront();
}

void frmMain::bringToFront() {
  tray_->restoreWindow();
  keyboardToFront();
}

void frmMain::keyboardToFront() {
  // The window is back; an open question stays in front of it and keeps the keyboard.
  if (ModalOpen())
    BringModalForward();
  else
    takeFocusWhenShown();
}

void frmMain::takeFocusWhenShown() {
  if (QWindow* handle = windowHandle(); handle && handle->isExposed())
    GiveKeyboardFocus(this);
  else
    focusWhenExposed_ = true;
}

void frmMain::releaseDesktop() {
  ownText_->emptyIfOurs();
  RemoveTrayIcon(*this);
}

bool frmMain::questionOpen() {
  if (!ModalOpen()) return false;
  BringModalForward();
  return true;
}

void frmMain::exitCommand() {
  // Exit from the tray while a question or dialog is open cancels it; Exit then runs as
  // usual once it has gone, its own save prompt included. A second Exit while that prompt is
  // open only brings it forward.
  if (exiting_) {
    BringModalForward();
    return;
  }
  if (ModalOpen()) {
    CancelModals();
    WhenNoModal(this, [this] { exitCommand(); });
    return;
  }
  exiting_ = true;
  const bool confirmed = document_->maybeSave();
  exiting_ = false;
  if (!confirmed) return;
  closeConfirmed_ = true;
  releaseDesktop();
  close();
}

void frmMain::endBySignal() {
  if (RecoveryCopy* copy = recovery()) copy->keepForNextStart();
  // As any close from outside: Exit's first two steps, and no question after them.
  closeConfirmed_ = true;
  Form_QueryUnload();
}

void frmMain::mnuExit_Click() {
  exitCommand();
}
void frmMain::mnuTempExit_Click() {
  exitCommand();
}

// The shutdown repeats the release at every step (the close, the unload, the window
// object's end); releasing twice does nothing more.
void frmMain::Form_QueryUnload() {
  releaseDesktop();
}

void frmMain::Form_Unload() {
  releaseDesktop();
}

void frmMain::closeEvent(QCloseEvent* event) {
  // A close asked for while a long document is being written is done once it is written.
  if (document_->saveJob()->busy()) {
    event->ignore();
    WhenNoModal(this, [this] { close(); });
    return;
  }
  // Every close asks about unsaved changes first, not only Exit's.
  if (!closeConfirmed_ && !document_->maySessionClose()) {
    event->ignore();
    return;
  }
  closeConfirmed_ = true;
  document_->closing();
  Form_QueryUnload();
  event->accept();
  Form_Unload();
}

void frmMain::mnuAbout_Click() {
  if (questionOpen()) return;
  Q_EMIT aboutRequested();
}
void frmMain::mnuConfig_Click() {
  if (questionOpen()) return;
  Q_EMIT configRequested();
}
void frmMain::mnuManageTemplates_Click() {
  if (questionOpen()) return;
  Q_EMIT manageRequested();
}

void frmMain::mnuNew_Click() {
  if (questionOpen()) return;
  document_->newFile();
}
void frmMain::mnuOpen_Click() {
  if (questionOpen()) return;
  document_->open();
}
void frmMain::openFromOutside(const QString& path) {
  document_->openFromOutside(path);
}
void frmMain::mnuSave_Click() {
  if (questionOpen()) return;
  document_->save();
}
void frmMain::mnuSaveAs_Click() {
  if (questionOpen()) return;
  document_->saveAs();
}

void frmMain::mnuTemp_New_Click() {
  mnuNew_Click();
}
void frmMain::mnuTemp_Open_Click() {
  mnuOpen_Click();
}
void frmMain::mnuTemp_Save_Click() {
  mnuSave_Click();
}
void frmMain::mnuTemp_SaveAs_Click() {
  mnuSaveAs_Click();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtData->viewport() && event->type() == QEvent::Wheel &&
      static_cast<QWheelEvent*>(event)->modifiers() == Qt::ControlModifier) {
    // Ctrl+wheel zooms as the keys do, a step a notch; a touchpad's small turns add up.
    wheelTurned_ += static_cast<QWheelEvent*>(event)->angleDelta().y();
    const int notches = wheelTurned_ / 120;
    wheelTurned_ -= notches * 120;
    if (notches != 0) zoomDocument(zoom_ + 10 * notches);
    return true;
  }
  if (watched == txtData->viewport() && event->type() == QEvent::MouseButtonRelease) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint at = mouse->position().toPoint();
    txtData_MouseUp(mouse->button(), mouse->modifiers(), at.x(), at.y());
  } else if (watched == txtData && event->type() == QEvent::KeyPress) {
    // The box's own Cut and Copy keys go through the same commands as the menu, so that
    // Exit knows the clipboard text as quorpad's own.
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Copy)) {
      mnuCopy_Click();
      return true;
    }
    if (key->matches(QKeySequence::Cut)) {
      mnuCut_Click();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void frmMain::txtData_MouseUp(Qt::MouseButtons button, Qt::KeyboardModifiers, int x, int y) {
  if (!(button & Qt::RightButton)) return;
  // The position is the document's; the menu opens right at the pointer.
  mnuTemplates_Popup->popup(txtData->viewport()->mapToGlobal(QPoint(x, y)));
}

void frmMain::showTemplatesPopupAtCaret() {
  mnuTemplates_Popup->popup(txtData->viewport()->mapToGlobal(txtData->cursorRect().bottomLeft()));
  // Opened from the keyboard, the first item is current, so that Return chooses it at once.
  mnuTemplates_Popup->setActiveAction(mnuTemplate.front());
}

void frmMain::mnuTemplate_Click(int Index) {
  QAction* slot = templateSlot(Index);
  const QString caption = SlotCaption(slot);
  const QString tag = SlotTag(slot);
  if (!SlotFilled(slot)) {
    // The manager opens once the popup has gone: opened while the popup still holds the
    // keyboard, it would come up behind this window, without the keyboard.
    QTimer::singleShot(0, this, [this, Index, caption] { Q_EMIT emptySlotChosen(Index, caption); });
    return;
  }
  insertTemplate(caption, tag);
}

void frmMain::insertTemplate(const QString& name, const QString& value) {
  InsertTemplateText(txtData, name, AsPlainLines(value), fieldsOn(), clipboardReader_);
}

QStringList frmMain::putTemplateOnClipboard(const QString& value) {
  QStringList leftEmpty;
  ownText_->put(TemplateTextForClipboard(AsPlainLines(value), fieldsOn(), leftEmpty));
  return leftEmpty;
}

void frmMain::pickForAnotherProgram(const PickRequest& request) {
  if (!Temp) return;
  // Asked again while it is open (the key pressed twice): the same picker, for the window
  // it was asked from.
  if (pick_ && pick_->isVisible()) {
    pick_->raise();
    GiveKeyboardFocus(pick_);
    return;
  }
  auto* pick = new PickWindow(*Temp, fieldsOn(), request,
                              [this](const QString& text) { ownText_->put(text); });
  pick_ = pick;
  pick->start();
}

void frmMain::showTemplatePicker() {
  if (!Temp) return;
  if (!picker_) {
    picker_ = new TemplatePicker(txtData, *Temp, centralWidget());
    connect(picker_, &TemplatePicker::chosen, this, &frmMain::insertTemplate);
    // An open picker follows the store as the popup does; a closed one looks at its next
    // opening.
    if (storeWatch_)
      connect(storeWatch_, &StoreWatch::changed, picker_, &TemplatePicker::reloadIfOpen);
  }
  picker_->open();
}

void frmMain::mnuCopy_Click() {
  ownText_->put(SelectedText(txtData));
}

void frmMain::mnuCut_Click() {
  mnuCopy_Click();
  // A document held still for work beside the window (the status bar shows it) keeps its text.
  if (!txtData->isReadOnly()) txtData->textCursor().removeSelectedText();
}

void frmMain::mnuPaste_Click() {
  if (!txtData->isReadOnly()) PasteInto(txtData, QClipboard::Clipboard);
}
