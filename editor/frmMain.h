// The main window: the document, the status bar, the tray icon and the two popup menus.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QSystemTrayIcon>
#include <array>
#include <memory>

#include "documents/documentfile.h"
#include "menuslots.h"
#include "template/tmpeng.h"

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QSessionManager;
class RecoveryCopy;
struct RecoveredDocument;
class QTimer;
class StoreWatch;

class frmMain : public QMainWindow {
  Q_OBJECT

 public:
  explicit frmMain(QWidget* parent = nullptr);
  ~frmMain() override;

  // The window's template engine, created by its load step.
  std::unique_ptr<templates::tmpeng> Temp;
  // The path of the current document; empty while it is untitled.
  QString OpenFilePath;

  // The parts that the other windows and the tests reach.
  QPlainTextEdit* document() const { return txtData; }
  QLabel* statusPanel() const { return statusPanel_; }
  QMenu* trayMenu() const { return mnuTray; }
  QMenu* templatesPopup() const { return mnuTemplates_Popup; }
  QAction* templateSlot(int index) const { return mnuTemplate.at(static_cast<size_t>(index - 1)); }
  QSystemTrayIcon* trayIcon() const { return trayIcon_; }
  QAction* action(const QString& name) const;

  const std::array<QAction*, kTemplateSlots>& templateSlots() const { return mnuTemplate; }
  // Sets every template slot back to "Not Set" with no value.
  void ResetTemplateSlots();
  // Fills the template slots from the store through `Temp`. Throws templates::EngineError.
  void FillTemplateSlots();
  // Fills the template slots afresh through `engine`: the store is read aside first, so a
  // store that cannot be read leaves the slots as they were; then every slot starts empty,
  // so a removed template never lingers. Throws what the engine throws.
  void RefillTemplateSlots(templates::tmpeng& engine);

  // Writes the status panel's text.
  void SetStatus(const QString& text);

  // Whether minimizing hides the window: only while its tray icon is there to bring it back.
  bool HidesToTray() const;
  // Shows the window when it is hidden with no tray icon to bring it back.
  void ShowIfUnreachable();

  // The recovery copy of the document; nullptr where recovery is off.
  RecoveryCopy* recovery() const { return recovery_; }
  // Offers the unsaved changes that quorpads no longer running left behind, one copy at a
  // time, to restore or discard.
  void OfferRecovery();
  // The program is ending without a chance to ask: the recovery copy is brought up to date
  // and kept, the tray icon taken down.
  void EndBySignal();

 Q_SIGNALS:
  // The status panel got a new text.
  void statusChanged(const QString& text);

 public Q_SLOTS:
  void Form_Load();
  void Form_Resize();
  void Form_MouseUp(QSystemTrayIcon::ActivationReason reason);
  void Form_QueryUnload();
  void Form_Unload();
  void mnuExit_Click();
  void mnuTempExit_Click();
  void mnuAbout_Click();
  void mnuConfig_Click();
  void mnuManageTemplates_Click();
  void mnuTemp_New_Click();
  void mnuTemp_Open_Click();
  void mnuTemp_Save_Click();
  void mnuTemp_SaveAs_Click();
  void mnuNew_Click();
  void mnuOpen_Click();
  void mnuSave_Click();
  void mnuSaveAs_Click();
  void txtData_MouseUp(Qt::MouseButtons button, Qt::KeyboardModifiers shift, int x, int y);
  void mnuTemplate_Click(int Index);
  void mnuCut_Click();
  void mnuCopy_Click();
  void mnuPaste_Click();
  // Opens the templates popup at the caret, for the keyboard.
  void ShowTemplatesPopupAtCaret();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend void AddTrayIcon(frmMain& window);
  friend void RemoveTrayIcon(frmMain& window);

  void createControls();
  void createTrayMenu();
  void createTemplatesPopup();
  void createKeyboardPaths();
  QAction* addItem(QMenu* menu, const QString& name, const QString& caption,
                   void (frmMain::*handler)());
  QAction* addSeparator(QMenu* menu, const QString& name);
  void Exit();
  void EmptyClipboardIfOurs();
  void PutOnClipboard(const QString& text);
  void UpdateTaskbarEntry();
  // The tray icon's own steps: made once a notification area exists, brought back from.
  void CreateTrayIcon();
  bool TrayIconIsEmbedded() const;
  bool TrayHostAvailable() const;
  void RestoreFromTray();
  void CheckTray();
  // Document commands' helpers.
  enum class SaveAnswer { kYes, kNo, kCancel };
  SaveAnswer AskToSave();
  bool WriteTo(const QString& path);
  bool SaveUnderNewName(const QString& filter, const QString& title, const QString& folder);
  void MakeUntitled();
  void ShowFileError(const QString& what, const QString& path, const QString& reason);
  bool ConfirmClose();
  void CommitData(QSessionManager& manager);
  void createRecovery();
  void RestoreDocument(const RecoveredDocument& document);
  void WatchForTray();
  void WatchStore();
  void StoreChanged();

  QGroupBox* Frame1 = nullptr;
  QPlainTextEdit* txtData = nullptr;
  QLabel* statusPanel_ = nullptr;
  QMenu* mnuTray = nullptr;
  QMenu* mnuTemplates_Popup = nullptr;
  QMenu* mnuTmp_File = nullptr;
  QMenu* mnuEdit = nullptr;
  std::array<QAction*, kTemplateSlots> mnuTemplate{};
  QPointer<QSystemTrayIcon> trayIcon_;
  QTimer* trayWatch_ = nullptr;
  bool trayWanted_ = false;    // between AddTrayIcon and RemoveTrayIcon
  bool sniHost_ = false;       // a status notifier host, as last asked
  bool trayHostSeen_ = false;  // a notification area was there at the last look
  bool hidesToTray_ = false;   // as the tray watch last saw it
  bool centred_ = false;
  bool watchingExposure_ = false;
  QSize lastCorrectedFrom_;
  QString clipboardOwnText_;              // what Cut or Copy last put on the clipboard
  bool clipboardOurs_ = false;            // no other program has changed it since
  bool puttingOnClipboard_ = false;       // quorpad itself is changing it right now
  bool clipboardOwnershipKnown_ = false;  // the platform reports who owns it
  bool closeConfirmed_ = false;
  int sessionAnswered_ = -1;  // the text's revision that the end of the session settled
  DocumentFormat format_;     // how the document's file is written
  RecoveryCopy* recovery_ = nullptr;
  StoreWatch* storeWatch_ = nullptr;
  bool storeFailing_ = false;  // the last refill failed and was reported
};

// Puts the window's tray icon up, with the window's icon and caption as its tip.
void AddTrayIcon(frmMain& window);
// Takes the window's tray icon down; nothing happens when it is not up.
void RemoveTrayIcon(frmMain& window);
