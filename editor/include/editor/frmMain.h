// The main window: the document, the status bar, the tray icon and the two popup menus.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <QSystemTrayIcon>
#include <array>
#include <memory>

#include "common/storewatch.h"
#include "editor/menuslots.h"
#include "editor/pickwindow.h"
#include "template/tmpeng.h"

class Document;
class DocumentPanels;
class FindBar;
class MainGeometry;
class OwnClipboardText;
class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class RecoveryCopy;
class LongJob;
class StoreWatch;
class TemplatePicker;
class TrayPresence;

class frmMain : public QMainWindow {
  Q_OBJECT

 public:
  // With `keepRecoveryCopies` the document's unsaved changes are kept in a recovery copy.
  explicit frmMain(bool keepRecoveryCopies = false, QWidget* parent = nullptr);
  ~frmMain() override;

  // The window's template engine, created by its load step.
  std::unique_ptr<templates::tmpeng> Temp;
  // The path of the current document; empty while it is untitled.
  const QString& OpenFilePath() const;

  // The parts that the tests reach.
  QPlainTextEdit* textBox() const { return txtData; }
  QLabel* statusPanel() const { return statusPanel_; }
  QMenu* trayMenu() const { return mnuTray; }
  QMenu* templatesPopup() const { return mnuTemplates_Popup; }
  QAction* templateSlot(int index) const { return mnuTemplate.at(static_cast<size_t>(index - 1)); }
  QSystemTrayIcon* trayIcon() const;
  QAction* action(const QString& name) const;
  // The template picker; nullptr until it is first opened.
  TemplatePicker* templatePicker() const { return picker_; }
  // The Find and Replace bar under the document.
  FindBar* findBar() const { return findBar_; }
  // The status panels after the first: caret, format, unsaved changes.
  DocumentPanels* panels() const { return panels_; }
  // Asks for a line number and takes the caret there (Ctrl+G).
  void goToLine();

  const std::array<QAction*, kTemplateSlots>& templateSlots() const { return mnuTemplate; }
  // Refills every template slot from the store through `engine`. The store is read first,
  // so that a store that cannot be read leaves the slots as they were (and throws
  // templates::EngineError); then every slot starts empty, so a removed template never
  // lingers.
  void refillTemplateSlots(templates::tmpeng& engine);

  // Whether minimizing hides the window: only while its tray icon is there to bring it back.
  bool hidesToTray() const;
  // Shows the window when it is hidden with no tray icon to bring it back.
  void showIfUnreachable();
  // Opens a file that came from outside the window's menus (the command line, a later start,
  // a drop) as Open does, after asking about changes not yet saved.
  void openFromOutside(const QString& path);
  // Gives the window the keyboard now, or once it is on screen: at start and when it comes
  // back from the tray.
  void takeFocusWhenShown();
  // The keyboard to the window, or to the question open in front of it.
  void keyboardToFront();

  // The recovery copy of the document; nullptr where recovery is off.
  RecoveryCopy* recovery() const;
  // Offers the unsaved changes that quorpads no longer running left behind, one copy at a
  // time, to restore or discard.
  void offerRecovery();
  // The program is ending without a chance to ask: the recovery copy is brought up to date
  // and kept, the tray icon taken down.
  void endBySignal();

 Q_SIGNALS:
  // The status panel got a new text.
  void statusChanged(const QString& text);
  // The commands that open another window; app/ opens it.
  void aboutRequested();
  void configRequested();
  void manageRequested();
  // An empty template slot was chosen: the manager should open preset for it.
  void emptySlotChosen(int index, const QString& caption);

 public Q_SLOTS:
  void Form_Load();
  void Form_Resize();
  // Brings the window back on screen and in front (also out of the notification area), with
  // the keyboard, or the open question in front of it, as the tray's own click does.
  void bringToFront();
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
  void showTemplatesPopupAtCaret();
  // Opens the template picker over the document.
  void showTemplatePicker();
  // Puts a template's text in the document in place of the selection, as a slot does; its
  // fields are filled when they are on.
  void insertTemplate(const QString& name, const QString& value);
  // Puts a template's text on the clipboard for other programs, line breaks as inserting
  // it would give them. It is quorpad's own text: Exit empties the clipboard of it. With
  // fields on, returns those that needed someone to ask (fill-ins, the selection), left
  // empty.
  QStringList putTemplateOnClipboard(const QString& value);
  // Shows the template picker as a window of its own for another program (quorpad --pick):
  // the template chosen goes on the clipboard as quorpad's own text and, as `request` asks,
  // is pasted into the window that had the keyboard; where it cannot be, the person is told.
  void pickForAnotherProgram(const PickRequest& request);
  // Whether templates are inserted with their fields filled: the switch in the settings,
  // followed as it changes.
  bool fieldsOn();
  // The switch as this process has just set it.
  void setFieldsOn(bool on);

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
  void createFileDrops();
  QAction* addItem(QMenu* menu, const QString& name, const QString& caption,
                   void (frmMain::*handler)());
  QAction* addSeparator(QMenu* menu, const QString& name);
  void fillTemplateSlots();
  void resetTemplateSlots();
  // Lays the window out once the events in hand are done, however many asked for it.
  // The document's text at `percent` of the written font (50 to 400), for the session.
  void zoomDocument(int percent);
  void scheduleLayout();
  void showStatus(const QString& text, bool paintNow);
  void exitCommand();
  // A command from the tray while a question or dialog is open brings that one forward
  // instead of opening another; true when it did.
  bool questionOpen();
  // What every step of the shutdown does: the clipboard emptied of quorpad's own text and
  // the tray icon taken down.
  void releaseDesktop();
  // The popup follows the store on disk, whoever changes it.
  void watchStore();
  void storeChanged();

  QGroupBox* Frame1 = nullptr;
  QPlainTextEdit* txtData = nullptr;
  QLabel* statusPanel_ = nullptr;
  QMenu* mnuTray = nullptr;
  QMenu* mnuTemplates_Popup = nullptr;
  QMenu* mnuTmp_File = nullptr;
  QMenu* mnuEdit = nullptr;
  std::array<QAction*, kTemplateSlots> mnuTemplate{};
  Document* document_ = nullptr;
  TrayPresence* tray_ = nullptr;
  MainGeometry* geometry_ = nullptr;
  bool keepRecoveryCopies_ = false;
  int zoom_ = 100;       // the document's text size, in percent of the written font
  int wheelTurned_ = 0;  // Ctrl+wheel's turn not yet a notch, in eighths of a degree
  OwnClipboardText* ownText_ = nullptr;  // what Cut and Copy put on the clipboard
  bool closeConfirmed_ = false;
  bool exiting_ = false;          // Exit's save prompt is open
  bool focusWhenExposed_ = true;  // the keyboard is ours once the window shows
  StoreWatch* storeWatch_ = nullptr;
  StoreStamp fieldsStamp_;  // the settings file as it was when the fields switch was read
  bool fieldsRead_ = false;
  bool fieldsOn_ = false;
  bool storeFailing_ = false;           // the last refill failed and was reported
  LongJob* slotsReader_ = nullptr;      // the slots read again after the store changed
  LongJob* clipboardReader_ = nullptr;  // another program's clipboard, pasted or in a field
  TemplatePicker* picker_ = nullptr;
  QPointer<PickWindow> pick_;  // the picker for another program, while it is open
  FindBar* findBar_ = nullptr;
  DocumentPanels* panels_ = nullptr;
};

// Puts the window's tray icon up, with the window's icon and caption as its tip.
void AddTrayIcon(frmMain& window);
// Takes the window's tray icon down; nothing happens when it is not up.
void RemoveTrayIcon(frmMain& window);
