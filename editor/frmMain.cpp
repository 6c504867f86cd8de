// The main window: start-up, layout, minimize-to-tray, the templates popup, the clipboard
// commands and Exit.
#include "frmMain.h"

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
#include <QScreen>
#include <QSessionManager>
#include <QShortcut>
#include <QStatusBar>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QWindow>
#include <cmath>

#include "documents/recovery.h"
#include "editor/layout.h"
#include "editor/modal.h"
#include "editor/plaintext.h"
#include "editor/program.h"
#include "editor/storewatch.h"
#include "editor/taskbar.h"
#include "editor/trayhost.h"
#include "manager/frmManage.h"
#include "settings/frmAbout.h"
#include "settings/frmConfig.h"

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

// Line breaks restored from the store are CR LF; the document holds plain line breaks.
QString AsDocumentText(QString text) {
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

}  // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("quor - pad"));
  setWindowIcon(QIcon(QStringLiteral(":/icons/quorpad.svg")));
  createControls();
  createTrayMenu();
  createTemplatesPopup();
  createKeyboardPaths();
  createRecovery();
  connect(qApp, &QGuiApplication::commitDataRequest, this, &frmMain::CommitData);
  // Any change of the clipboard that quorpad did not make means another program owns it.
  connect(QApplication::clipboard(), &QClipboard::dataChanged, this, [this] {
    if (!puttingOnClipboard_) clipboardOurs_ = false;
  });
}

frmMain::~frmMain() {
  // Changes that nobody let go of (the desktop session ended without a question) stay in
  // their recovery copy, brought up to date.
  if (recovery_) recovery_->flush();
  // The window object's end: empty the clipboard and take the icon down once more.
  EmptyClipboardIfOurs();
  RemoveTrayIcon(*this);
}

void frmMain::createControls() {
  auto* central = new QWidget(this);
  setCentralWidget(central);
  Frame1 = new QGroupBox(QString(), central);
  Frame1->setObjectName(QStringLiteral("Frame1"));
  txtData = new QPlainTextEdit(Frame1);
  txtData->setObjectName(QStringLiteral("txtData"));
  txtData->setFont(DocumentFont());
  // Right-button releases reach the document box itself and open the templates popup;
  // the box's own context menu never shows.
  txtData->setContextMenuPolicy(Qt::PreventContextMenu);
  txtData->viewport()->installEventFilter(this);
  txtData->installEventFilter(this);

  statusPanel_ = new QLabel(this);
  statusPanel_->setObjectName(QStringLiteral("status_panel1"));
  statusBar()->setObjectName(QStringLiteral("status"));
  statusBar()->setSizeGripEnabled(true);
  statusBar()->addWidget(statusPanel_, 1);
  statusPanel_->setMinimumWidth(ToPixelsX(this, 1440));
  // The designed height, or more where the desktop's font needs it.
  statusBar()->setFixedHeight(
      std::max(ToPixelsY(this, 255), statusPanel_->fontMetrics().height() + 6));

  resize(ToPixelsX(this, 8700), ToPixelsY(this, 5220));
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
  addItem(mnuTray, QStringLiteral("mnuNew"), QStringLiteral("New"), &frmMain::mnuNew_Click);
  addItem(mnuTray, QStringLiteral("mnuOpen"), QStringLiteral("Open..."), &frmMain::mnuOpen_Click);
  addItem(mnuTray, QStringLiteral("mnuSave"), QStringLiteral("Save"), &frmMain::mnuSave_Click);
  addItem(mnuTray, QStringLiteral("mnuSaveAs"), QStringLiteral("Save As..."),
          &frmMain::mnuSaveAs_Click);
  addSeparator(mnuTray, QStringLiteral("FileSep0"));
  addItem(mnuTray, QStringLiteral("mnuConfig"), QStringLiteral("Configuration"),
          &frmMain::mnuConfig_Click)
      ->setEnabled(false);
  addItem(mnuTray, QStringLiteral("mnuAbout"), QStringLiteral("About"), &frmMain::mnuAbout_Click);
  addSeparator(mnuTray, QStringLiteral("FileSep1"));
  addItem(mnuTray, QStringLiteral("mnuExit"), QStringLiteral("Exit"), &frmMain::mnuExit_Click);
}

void frmMain::createTemplatesPopup() {
  mnuTemplates_Popup = new QMenu(this);
  mnuTemplates_Popup->setObjectName(QStringLiteral("mnuTemplates_Popup"));
  for (int i = 1; i <= kTemplateSlots; ++i) {
    QAction* slot = mnuTemplates_Popup->addAction(kNotSet);
    slot->setObjectName(QStringLiteral("mnuTemplate_%1").arg(i));
    SetSlotTag(slot, QString());
    connect(slot, &QAction::triggered, this, [this, i] { mnuTemplate_Click(i); });
    mnuTemplate[static_cast<size_t>(i - 1)] = slot;
  }
  addSeparator(mnuTemplates_Popup, QStringLiteral("mnuTemplates_Sep1"));
  addItem(mnuTemplates_Popup, QStringLiteral("mnuManageTemplates"),
          QStringLiteral("Manage Templates"), &frmMain::mnuManageTemplates_Click);
  addItem(mnuTemplates_Popup, QStringLiteral("mnuPreview"), QStringLiteral("Preview Page"), nullptr)
      ->setEnabled(false);
  addSeparator(mnuTemplates_Popup, QStringLiteral("mnuTemplates_Sep0"));

  mnuTmp_File = mnuTemplates_Popup->addMenu(QStringLiteral("File"));
  mnuTmp_File->setObjectName(QStringLiteral("mnuTmp_File"));
  mnuTmp_File->menuAction()->setObjectName(QStringLiteral("mnuTmp_File"));
  addItem(mnuTmp_File, QStringLiteral("mnuTemp_New"), QStringLiteral("New"),
          &frmMain::mnuTemp_New_Click);
  addItem(mnuTmp_File, QStringLiteral("mnuTemp_Open"), QStringLiteral("Open..."),
          &frmMain::mnuTemp_Open_Click);
  addItem(mnuTmp_File, QStringLiteral("mnuTemp_Save"), QStringLiteral("Save"),
          &frmMain::mnuTemp_Save_Click);
  addItem(mnuTmp_File, QStringLiteral("mnuTemp_SaveAs"), QStringLiteral("Save As..."),
          &frmMain::mnuTemp_SaveAs_Click);

  mnuEdit = mnuTemplates_Popup->addMenu(QStringLiteral("Edit"));
  mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
  mnuEdit->menuAction()->setObjectName(QStringLiteral("mnuEdit"));
  addItem(mnuEdit, QStringLiteral("mnuCut"), QStringLiteral("Cut"), &frmMain::mnuCut_Click);
  addItem(mnuEdit, QStringLiteral("mnuCopy"), QStringLiteral("Copy"), &frmMain::mnuCopy_Click);
  addItem(mnuEdit, QStringLiteral("mnuPaste"), QStringLiteral("Paste"), &frmMain::mnuPaste_Click);

  addSeparator(mnuTemplates_Popup, QStringLiteral("mnuSep00"));
  addItem(mnuTemplates_Popup, QStringLiteral("mnuTempExit"), QStringLiteral("Exit"),
          &frmMain::mnuTempExit_Click);
}

void frmMain::createKeyboardPaths() {
  // Keyboard users open the templates popup with the Menu key or Shift+F10, at the caret.
  for (const QKeySequence& keys :
       {QKeySequence(Qt::Key_Menu), QKeySequence(Qt::SHIFT | Qt::Key_F10)}) {
    auto* shortcut = new QShortcut(keys, txtData, nullptr, nullptr, Qt::WidgetShortcut);
    connect(shortcut, &QShortcut::activated, this, &frmMain::ShowTemplatesPopupAtCaret);
  }
}

void frmMain::Form_Load() {
  Temp = NewEngine();
  AddTrayIcon(*this);
  txtData->move(ToPixelsX(this, kTextLeft), ToPixelsY(this, kTextTop));
  FillTemplateSlots();
  WatchStore();
}

void frmMain::ResetTemplateSlots() {
  for (QAction* slot : mnuTemplate) {
    slot->setText(kNotSet);
    SetSlotTag(slot, QString());
  }
}

void frmMain::FillTemplateSlots() {
  MenuSlotsAdapter menu(mnuTemplate);
  Temp->Template_LoadB(menu);
}

void frmMain::RefillTemplateSlots(templates::tmpeng& engine) {
  SlotValues fresh;
  engine.Template_LoadB(fresh);
  ResetTemplateSlots();
  MenuSlotsAdapter menu(mnuTemplate);
  fresh.CopyTo(menu);
}

void frmMain::WatchStore() {
  // The popup follows the store whoever changes it: another quorpad, a script, a hand edit.
  if (storeWatch_) return;
  storeWatch_ = new StoreWatch(
      QFile::decodeName(QByteArray::fromStdString(Temp->StorePath().native())), this);
  connect(storeWatch_, &StoreWatch::changed, this, &frmMain::StoreChanged);
}

void frmMain::StoreChanged() {
  // A store that stays broken is reported once, not at every change, and the slots keep
  // what they showed; the first refill that works again ends that.
  QString reason;
  try {
    RefillTemplateSlots(*Temp);
    storeFailing_ = false;
    return;
  } catch (const templates::EngineError& error) {
    reason = EngineErrorText(error);
  } catch (const std::exception& error) {
    reason = QString::fromLocal8Bit(error.what());
  }
  if (storeFailing_) return;
  storeFailing_ = true;
  Modal().message(this, kAppTitle, reason, QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok);
}

void frmMain::SetStatus(const QString& text) {
  statusPanel_->setText(text);
  Q_EMIT statusChanged(text);
}

void frmMain::ShowIfUnreachable() {
  if (HidesToTray() || isVisible()) return;
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
}

bool frmMain::HidesToTray() const {
  if (!trayIcon_ || !trayIcon_->isVisible()) return false;
  // An icon stays with the protocol it started with, so only that protocol's host counts.
  if (IsX11Session() || IsWaylandSession())
    return TrayIconIsEmbedded() ? EmbeddingTrayPresent() : sniHost_;
  return QSystemTrayIcon::isSystemTrayAvailable();
}

bool frmMain::TrayIconIsEmbedded() const {
  // An icon embedded in an X11 tray is a window of its own with a place on screen; an item
  // that a D-Bus host draws has none. A single click only ever comes from the former.
  return trayIcon_ && trayIcon_->geometry().isValid();
}

bool frmMain::TrayHostAvailable() const {
  if (IsX11Session()) return EmbeddingTrayPresent() || sniHost_;
  if (IsWaylandSession()) return sniHost_;
  return QSystemTrayIcon::isSystemTrayAvailable();
}

void frmMain::Form_Resize() {
  if (isMinimized()) {
    // Without a tray icon to bring it back, the window minimizes normally instead.
    if (HidesToTray())
      QTimer::singleShot(0, this, [this] {
        if (isMinimized()) hide();
      });
    return;
  }
  const QRect outer = frameGeometry();
  const int outerW = ToTwipsX(this, outer.width());
  const int outerH = ToTwipsY(this, outer.height());
  const MainLayout l = LayoutMainWindow(outerW, outerH);
  if (l.resized && !isMaximized() && !isFullScreen() && size() != lastCorrectedFrom_) {
    // Never smaller than the least size; the resize that follows lays the window out. A
    // window manager that refuses the size does not get asked again for the same size.
    // The corrected side is rounded up to whole pixels: rounded to the nearest it would
    // come out at 6000 twips rather than 6001.
    lastCorrectedFrom_ = size();
    const int pixelsW = l.windowWidth == outerW
                            ? outer.width()
                            : static_cast<int>(std::ceil(l.windowWidth / TwipsPerPixelX(this)));
    const int pixelsH = l.windowHeight == outerH
                            ? outer.height()
                            : static_cast<int>(std::ceil(l.windowHeight / TwipsPerPixelY(this)));
    resize(pixelsW - (outer.width() - width()), pixelsH - (outer.height() - height()));
  }
  statusPanel_->setMinimumWidth(std::min(ToPixelsX(this, l.panelWidth), width()) -
                                statusBar()->contentsMargins().left() - 24);
  // The frame and the document box follow the window's outer size; where the window
  // manager's decorations are thinner than the rules assume, they stay within the client
  // area.
  const QSize area = centralWidget()->size();
  const int frameW = std::clamp(ToPixelsX(this, l.frameWidth), 0, area.width());
  const int frameH = std::clamp(ToPixelsY(this, l.frameHeight), 0, area.height());
  Frame1->setGeometry(0, 0, frameW, frameH);
  const int textX = ToPixelsX(this, kTextLeft);
  const int textY = ToPixelsY(this, kTextTop);
  txtData->setGeometry(textX, textY,
                       std::clamp(ToPixelsX(this, l.textWidth), 0, std::max(0, frameW - textX)),
                       std::clamp(ToPixelsY(this, l.textHeight), 0, std::max(0, frameH - textY)));
}

void frmMain::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  Form_Resize();
}

void frmMain::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  // The window manager's frame arrives after the first layout and moves the window; the
  // rules count the frame in the outer size, so lay out again once it is known.
  Form_Resize();
}

void frmMain::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) Form_Resize();
}

void frmMain::showEvent(QShowEvent* event) {
  if (!centred_ && !event->spontaneous()) {
    centred_ = true;
    if (QScreen* screen = this->screen()) {
      QRect r = frameGeometry();
      r.moveCenter(screen->availableGeometry().center());
      move(r.topLeft());
    }
  }
  UpdateTaskbarEntry();
  // The window manager's frame is known only once it has put the window on screen; the
  // rules count the frame in the outer size, so lay out again when the window is exposed.
  if (QWindow* handle = windowHandle(); handle && !watchingExposure_) {
    handle->installEventFilter(this);
    watchingExposure_ = true;
  }
  QMainWindow::showEvent(event);
  Form_Resize();
}

void frmMain::UpdateTaskbarEntry() {
  // With the tray icon up the window has no taskbar entry; without it, the taskbar is the
  // only way back to a minimized window.
  SetTaskbarEntry(this, !HidesToTray());
}

void frmMain::Form_MouseUp(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Trigger:
      // A status notifier host has no double click: its primary action (a left click)
      // arrives as a trigger and restores. In an X11 tray a single click does nothing.
      if (!TrayIconIsEmbedded()) RestoreFromTray();
      break;
    case QSystemTrayIcon::DoubleClick:
      RestoreFromTray();
      break;
    default:
      // The tray menu is attached to the icon (see CreateTrayIcon) and shows by itself.
      break;
  }
}

void frmMain::RestoreFromTray() {
  // Leaving the minimized state maps a window hidden in the tray at once, before show()
  // runs: the taskbar hint goes on first, so that the window manager never takes the window
  // back without it.
  UpdateTaskbarEntry();
  // A Wayland compositor minimizes or hides a window without telling it, and a client has
  // no way to ask for it back; a window mapped afresh is put on screen by every compositor.
  // One that has the focus is plainly on screen already.
  if (IsWaylandSession() && isVisible() && !isActiveWindow()) hide();
  setWindowState((windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized)) | Qt::WindowActive);
  show();
  raise();
  activateWindow();
}

void frmMain::CreateTrayIcon() {
  auto* icon = new QSystemTrayIcon(windowIcon(), this);
  icon->setObjectName(QStringLiteral("TrayIcon"));
  icon->setToolTip(windowTitle());
  // The tray menu belongs to the icon rather than being popped up by hand: a D-Bus host
  // receives it as an exported menu and draws it at the tray itself (a menu of ours would
  // have no place there, and on Wayland no parent to open from), and an X11 tray gets it
  // at the pointer on a right click.
  icon->setContextMenu(mnuTray);
  connect(icon, &QSystemTrayIcon::activated, this, &frmMain::Form_MouseUp);
  trayIcon_ = icon;
  icon->show();
}

void frmMain::CheckTray() {
  if (!trayWanted_) {
    trayWatch_->stop();
    return;
  }
  const bool available = TrayHostAvailable();
  if (available && !trayIcon_) {
    // A panel that has just started may offer its X11 tray before its D-Bus host: an X11
    // tray gets one more look before the icon settles on a protocol for good.
    if (trayHostSeen_ || sniHost_) CreateTrayIcon();
  } else if (available && !trayIcon_->isVisible()) {
    trayIcon_->show();
  }
  trayHostSeen_ = available;
  const bool hides = HidesToTray();
  if (hides != hidesToTray_) {
    hidesToTray_ = hides;
    UpdateTaskbarEntry();
  }
  ShowIfUnreachable();
}

void frmMain::WatchForTray() {
  // The notification area can come and go with the panel that holds it. One that starts
  // after quorpad gets the icon as soon as it is there; one that goes away while the
  // window hides in it brings the window back on screen, with a taskbar entry, since
  // nothing else could.
  if (!trayWatch_) {
    trayWatch_ = new QTimer(this);
    trayWatch_->setInterval(2000);
    connect(trayWatch_, &QTimer::timeout, this, [this] {
      if (!IsX11Session() && !IsWaylandSession()) {
        CheckTray();
        return;
      }
      AskStatusNotifierHost(this, [this](bool present) {
        sniHost_ = present;
        CheckTray();
      });
    });
  }
  hidesToTray_ = HidesToTray();
  trayWatch_->start();
}

void AddTrayIcon(frmMain& window) {
  if (window.trayWanted_) return;
  window.trayWanted_ = true;
  // Qt settles on one tray protocol for the whole process when the first icon is made:
  // the D-Bus one where a status notifier host is there, else the X11 one. Made before
  // any tray exists, the icon would never reach one that starts later (on Wayland, none at
  // all), so on those desktops it waits for a notification area.
  const bool waits = IsX11Session() || IsWaylandSession();
  if (waits) window.sniHost_ = StatusNotifierHostPresent(1000);
  if (!waits || window.TrayHostAvailable()) window.CreateTrayIcon();
  window.WatchForTray();
  window.UpdateTaskbarEntry();
}

void RemoveTrayIcon(frmMain& window) {
  window.trayWanted_ = false;
  if (window.trayWatch_) window.trayWatch_->stop();
  if (!window.trayIcon_) return;
  QSystemTrayIcon* icon = window.trayIcon_;
  window.trayIcon_ = nullptr;
  icon->hide();
  icon->deleteLater();
}

void frmMain::EmptyClipboardIfOurs() {
  // Only text that quorpad itself put there goes; another program's text is never wiped.
  QClipboard* clipboard = QApplication::clipboard();
  // Where the platform tells who owns the clipboard, it has the last word.
  const bool ours = clipboardOurs_ && clipboard->text() == clipboardOwnText_ &&
                    (!clipboardOwnershipKnown_ || clipboard->ownsClipboard());
  if (ours) clipboard->clear();
  clipboardOurs_ = false;
}

void frmMain::Exit() {
  if (!ConfirmClose()) return;
  closeConfirmed_ = true;
  EmptyClipboardIfOurs();
  RemoveTrayIcon(*this);
  close();
}

void frmMain::EndBySignal() {
  if (recovery_) recovery_->keepForNextStart();
  // As any close from outside: Exit's first two steps, and no question after them.
  closeConfirmed_ = true;
  Form_QueryUnload();
}

void frmMain::mnuExit_Click() {
  Exit();
}
void frmMain::mnuTempExit_Click() {
  Exit();
}

void frmMain::Form_QueryUnload() {
  EmptyClipboardIfOurs();
  RemoveTrayIcon(*this);
}

void frmMain::Form_Unload() {
  EmptyClipboardIfOurs();
  RemoveTrayIcon(*this);
}

void frmMain::closeEvent(QCloseEvent* event) {
  // Every close asks about unsaved changes first, not only Exit's.
  // At the end of a desktop session the question was asked already, or may not be asked.
  const bool answered = sessionAnswered_ == txtData->document()->revision();
  if (!closeConfirmed_ && !answered && !ConfirmClose()) {
    event->ignore();
    return;
  }
  closeConfirmed_ = true;
  Form_QueryUnload();
  event->accept();
  Form_Unload();
}

void frmMain::mnuAbout_Click() {
  ShowAboutDialog();
}
void frmMain::mnuConfig_Click() {
  ShowConfigDialog();
}
void frmMain::mnuManageTemplates_Click() {
  ShowManageDialog();
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
  if (watched == windowHandle() && event->type() == QEvent::Expose) {
    QTimer::singleShot(0, this, &frmMain::Form_Resize);
    return false;
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

void frmMain::ShowTemplatesPopupAtCaret() {
  mnuTemplates_Popup->popup(txtData->viewport()->mapToGlobal(txtData->cursorRect().bottomLeft()));
}

void frmMain::mnuTemplate_Click(int Index) {
  QAction* slot = templateSlot(Index);
  const QString caption = SlotCaption(slot);
  const QString tag = SlotTag(slot);
  if (caption == kNotSet && tag.isEmpty()) {
    PresetManagerForSlot(Index, caption);
    return;
  }
  txtData->insertPlainText(AsDocumentText(tag));
}

void frmMain::PutOnClipboard(const QString& text) {
  QClipboard* clipboard = QApplication::clipboard();
  clipboardOwnText_ = text;
  puttingOnClipboard_ = true;
  clipboard->setText(text);
  puttingOnClipboard_ = false;
  clipboardOurs_ = true;
  clipboardOwnershipKnown_ = clipboard->ownsClipboard();
}

void frmMain::mnuCopy_Click() {
  PutOnClipboard(SelectedText(txtData));
}

void frmMain::mnuCut_Click() {
  mnuCopy_Click();
  txtData->textCursor().removeSelectedText();
}

void frmMain::mnuPaste_Click() {
  txtData->insertPlainText(QApplication::clipboard()->text());
}
