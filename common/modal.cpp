// Real message boxes behind the modal seam, and the engine's failure message.
#include "common/modal.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <vector>

#include "common/longjob.h"
#include "common/plaintext.h"
#include "common/programfolder.h"
#include "common/taskbar.h"
#include "common/templatelist.h"
#include "template/tmpeng.h"

ModalSeam::~ModalSeam() = default;

QMessageBox::StandardButton ModalSeam::question(
    QWidget* parent, const QString& caption, const QString& text, QMessageBox::Icon icon,
    const QList<std::pair<QMessageBox::StandardButton, QString>>& captions,
    QMessageBox::StandardButton defaultButton) {
  QMessageBox::StandardButtons buttons;
  for (const auto& button : captions) buttons |= button.first;
  return message(parent, caption, text, icon, buttons, defaultButton);
}

QMessageBox::StandardButton ModalSeam::checklist(
    QWidget* parent, const QString& caption, const QString& text, const QStringList& rows,
    const QList<std::pair<QMessageBox::StandardButton, QString>>& captions,
    QMessageBox::StandardButton defaultButton, QList<int>& checked) {
  checked.clear();
  for (int row = 0; row < rows.size(); ++row) checked << row;
  return question(parent, caption, text, QMessageBox::Question, captions, defaultButton);
}

int ModalSeam::choice(QWidget*, const QString&, const QString&, const QStringList&, const QString&,
                      const std::function<QString(int, JobProgress&)>&) {
  return -1;
}

bool ModalSeam::fillIn(QWidget*, const QString&, const QString&, const QStringList&, QStringList&) {
  return false;
}

int ModalSeam::number(QWidget*, const QString&, const QString&, int value, int, int, bool& ok) {
  ok = false;
  return value;
}

namespace {

// The questions and dialogs open now, innermost last.
QList<QPointer<QDialog>> g_open;
// Set by CancelModals until the last open one has closed: every open one is being cancelled
// and a new one is answered as cancelled without showing.
bool g_cancelling = false;
// Work waited for as for a question (ModalWork) under way now.
int g_modalWork = 0;
// Commands waiting for the last question to close, with the objects they belong to.
std::vector<std::pair<QPointer<QObject>, std::function<void()>>> g_waiting;

void RunWaiting();

// A question, a dialog or a popup menu is open: a command from outside waits for it.
bool Busy() {
  return ModalOpen() || QApplication::activePopupWidget() != nullptr;
}

// The windows watched by a WhenHidden now.
QList<QPointer<QWidget>> g_watched;

// Runs the waiting commands once a popup menu, or a modal window not shown through the
// seam, has closed: their closing is watched here, as RunModal tells of the seam's own.
class WhenHidden : public QObject {
 public:
  explicit WhenHidden(QWidget* window) : QObject(window) { window->installEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Hide) {
      watched->removeEventFilter(this);
      g_watched.removeAll(static_cast<QWidget*>(watched));
      deleteLater();
      // The command the popup chose runs first; the waiting ones after it.
      QTimer::singleShot(0, qApp, &RunWaiting);
    }
    return false;
  }
};

void WatchOpenWindows() {
  g_watched.removeAll(nullptr);
  for (QWidget* open : {QApplication::activePopupWidget(), QApplication::activeModalWidget()}) {
    if (!open || g_open.contains(open) || g_watched.contains(open)) continue;
    g_watched << open;
    new WhenHidden(open);
  }
}

void RunWaiting() {
  auto waiting = std::move(g_waiting);
  g_waiting.clear();
  for (auto& [context, command] : waiting) {
    if (!context) continue;
    // A command that ran before may have opened a question or a menu again.
    if (Busy())
      g_waiting.emplace_back(context, std::move(command));
    else
      command();
  }
  if (!g_waiting.empty()) WatchOpenWindows();
}

// Gives the keyboard to a dialog once it is on screen: window managers that refuse an
// application's activation (see GiveKeyboardFocus) would leave it with the window below,
// whose keys the dialog's modality then swallows.
class FocusWhenExposed : public QObject {
 public:
  explicit FocusWhenExposed(QWidget* dialog) : QObject(dialog), dialog_(dialog) {
    dialog->winId();
    if (QWindow* handle = dialog->windowHandle()) handle->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed() && !done_) {
      done_ = true;
      GiveKeyboardFocus(dialog_);
    }
    return false;
  }

 private:
  QWidget* dialog_;
  bool done_ = false;
};

// Keeps the windows a running question belongs to from being deleted under it. A window
// closed while its question is open (Exit from the tray, say) is deleted later; processed by
// the question's own event loop that deletion would delete the question, a child of the
// window, while the caller's frame still holds it. The deletion is held, the question ends
// as cancelled, and the deletion goes on once the question has returned.
class HoldDeletion : public QObject {
 public:
  explicit HoldDeletion(QDialog& dialog) : dialog_(&dialog) {
    for (QWidget* w = dialog.parentWidget(); w; w = w->parentWidget()) {
      w->installEventFilter(this);
      watched_ << w;
    }
  }
  bool held() const { return !held_.isEmpty(); }
  ~HoldDeletion() override {
    for (QObject* w : std::as_const(watched_))
      if (w) w->removeEventFilter(this);
    for (QObject* w : std::as_const(held_))
      if (w) w->deleteLater();
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::DeferredDelete) return false;
    held_ << watched;
    if (dialog_) dialog_->reject();
    return true;
  }

 private:
  QPointer<QDialog> dialog_;
  QList<QPointer<QObject>> watched_;
  QList<QPointer<QObject>> held_;
};

// Shows `dialog` modally and returns its result, or `cancelled` when CancelModals ended it
// (or had already begun before it could show), or when a window it belongs to was closed
// for good while it was open. Afterwards the keyboard goes back to the
// window that had it, which some window managers leave without focus (openbox does when that
// window skips the taskbar).
int RunModal(QDialog& dialog, int cancelled) {
  if (g_cancelling) return cancelled;
  g_open.append(&dialog);
  new FocusWhenExposed(&dialog);
  int result;
  bool ownerGoing = false;
  {
    HoldDeletion hold(dialog);
    result = dialog.exec();
    ownerGoing = hold.held();
  }
  if (ownerGoing) result = cancelled;
  g_open.removeAll(&dialog);
  g_open.removeAll(nullptr);
  if (g_cancelling) result = cancelled;
  if (g_open.isEmpty()) {
    g_cancelling = false;
    // The caller of this question finishes first; the waiting commands run after it.
    if (!g_waiting.empty()) QTimer::singleShot(0, qApp, &RunWaiting);
  }
  return result;
}

// What a question cancelled from outside answers: its Cancel (or No, or its only button).
QMessageBox::StandardButton CancelAnswer(QMessageBox::StandardButtons buttons) {
  for (auto button : {QMessageBox::Cancel, QMessageBox::No, QMessageBox::Ok, QMessageBox::Close}) {
    if (buttons.testFlag(button)) return button;
  }
  return QMessageBox::NoButton;
}

// A question about a list: the dialog gets its title, a wrapped text and under it the list,
// which the caller fills; buttons go below.
QListWidget* ListQuestion(QDialog& dialog, const QString& caption, const QString& text,
                          const QString& listName) {
  dialog.setWindowTitle(caption);
  auto* layout = new QVBoxLayout(&dialog);
  QLabel* label = NewPlainLabel(&dialog, text);
  label->setWordWrap(true);
  layout->addWidget(label);
  auto* list = new QListWidget(&dialog);
  list->setObjectName(listName);
  list->setAccessibleName(caption);
  layout->addWidget(list);
  return list;
}

class RealDialogs : public ModalSeam {
 public:
  QMessageBox::StandardButton message(QWidget* parent, const QString& caption, const QString& text,
                                      QMessageBox::Icon icon, QMessageBox::StandardButtons buttons,
                                      QMessageBox::StandardButton defaultButton) override {
    QMessageBox box(icon, caption, text, buttons, parent);
    MakePlain(&box);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(RunModal(box, CancelAnswer(buttons)));
  }
  QMessageBox::StandardButton question(
      QWidget* parent, const QString& caption, const QString& text, QMessageBox::Icon icon,
      const QList<std::pair<QMessageBox::StandardButton, QString>>& captions,
      QMessageBox::StandardButton defaultButton) override {
    QMessageBox box(icon, caption, text, QMessageBox::NoButton, parent);
    MakePlain(&box);
    QMessageBox::StandardButtons buttons;
    for (const auto& [button, label] : captions) {
      box.addButton(button)->setText(label);
      buttons |= button;
    }
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(RunModal(box, CancelAnswer(buttons)));
  }
  QMessageBox::StandardButton checklist(
      QWidget* parent, const QString& caption, const QString& text, const QStringList& rows,
      const QList<std::pair<QMessageBox::StandardButton, QString>>& captions,
      QMessageBox::StandardButton defaultButton, QList<int>& checked) override {
    QDialog dialog(parent);
    QListWidget* list = ListQuestion(dialog, caption, text, QStringLiteral("checklist"));
    QLayout* layout = dialog.layout();
    for (const QString& row : rows) {
      auto* item = new QListWidgetItem(row, list);
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
      item->setCheckState(Qt::Checked);
    }
    auto* box = new QDialogButtonBox(&dialog);
    QMessageBox::StandardButton chosen = QMessageBox::NoButton;
    QMessageBox::StandardButtons buttons;
    for (const auto& [button, label] : captions) {
      buttons |= button;
      QPushButton* push = box->addButton(label, QDialogButtonBox::ActionRole);
      push->setDefault(button == defaultButton);
      QObject::connect(push, &QPushButton::clicked, &dialog, [&dialog, &chosen, button = button] {
        chosen = button;
        dialog.accept();
      });
    }
    layout->addWidget(box);
    dialog.resize(dialog.sizeHint().expandedTo(QSize(480, 320)));
    const QMessageBox::StandardButton cancelled = CancelAnswer(buttons);
    if (RunModal(dialog, QDialog::Rejected) != QDialog::Accepted) chosen = cancelled;
    checked.clear();
    for (int row = 0; row < list->count(); ++row)
      if (list->item(row)->checkState() == Qt::Checked) checked << row;
    return chosen;
  }
  int choice(QWidget* parent, const QString& caption, const QString& text, const QStringList& rows,
             const QString& accept,
             const std::function<QString(int, JobProgress&)>& details) override {
    QDialog dialog(parent);
    QListWidget* list = ListQuestion(dialog, caption, text, QStringLiteral("choices"));
    list->addItems(rows);
    LongJob* job = nullptr;
    if (details) {
      auto* shown = new QPlainTextEdit(&dialog);
      shown->setObjectName(QStringLiteral("details"));
      shown->setAccessibleName(QCoreApplication::translate("Modal", "What the choice holds"));
      shown->setReadOnly(true);
      shown->setLineWrapMode(QPlainTextEdit::WidgetWidth);
      dialog.layout()->addWidget(shown);
      // Worked out beside the dialog, which answers meanwhile; a row passed over is dropped,
      // and the dialog closes without waiting for the work under way.
      job = new LongJob(&dialog);
      QObject::connect(
          list, &QListWidget::currentRowChanged, shown, [shown, job, details](int row) {
            shown->clear();
            shown->setPlaceholderText(row < 0 ? QString()
                                              : QCoreApplication::translate("Modal", "Reading..."));
            if (row < 0) {
              job->cancel();
              return;
            }
            job->start<QString>(
                QString(), [details, row](JobProgress& progress) { return details(row, progress); },
                [shown](QString& said) { shown->setPlainText(said); });
          });
    }
    list->setCurrentRow(0);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Cancel, &dialog);
    box->addButton(accept, QDialogButtonBox::AcceptRole)->setDefault(true);
    QObject::connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept);
    dialog.layout()->addWidget(box);
    dialog.resize(dialog.sizeHint().expandedTo(details ? QSize(560, 480) : QSize(420, 320)));
    list->setFocus();
    const bool chosen = RunModal(dialog, QDialog::Rejected) == QDialog::Accepted;
    if (job) job->letGo();
    return chosen ? list->currentRow() : -1;
  }
  int number(QWidget* parent, const QString& caption, const QString& label, int value, int least,
             int most, bool& ok) override {
    QInputDialog dialog(parent);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(label);
    for (QLabel* shown : dialog.findChildren<QLabel*>()) MakePlain(shown);
    dialog.setInputMode(QInputDialog::IntInput);
    dialog.setIntRange(least, most);
    dialog.setIntValue(value);
    if (auto* box = dialog.findChild<QSpinBox*>()) box->setAccessibleName(caption);
    ok = RunModal(dialog, QDialog::Rejected) == QDialog::Accepted;
    return ok ? dialog.intValue() : value;
  }
  bool fillIn(QWidget* parent, const QString& caption, const QString& intro,
              const QStringList& names, QStringList& answers) override {
    QDialog dialog(parent);
    dialog.setWindowTitle(caption);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(NewPlainLabel(&dialog, intro));
    // The fields scroll where there are more than the screen holds; the buttons stay.
    auto* scroll = new QScrollArea(&dialog);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* fields = new QWidget(scroll);
    auto* form = new QFormLayout(fields);
    QList<QLineEdit*> boxes;
    for (const QString& name : names) {
      auto* box = new QLineEdit(fields);
      box->setObjectName(QStringLiteral("fillIn%1").arg(boxes.size()));
      box->setAccessibleName(name);
      // The name as the template wrote it, on one line: an ampersand in it is no mnemonic.
      QLabel* label =
          NewPlainLabel(fields, ShownName(name).replace(QLatin1Char('&'), QLatin1String("&&")) +
                                    QLatin1Char(':'));
      label->setBuddy(box);
      form->addRow(label, box);
      boxes << box;
    }
    scroll->setWidget(fields);
    layout->addWidget(scroll, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, &dialog);
    buttons->addButton(QCoreApplication::translate("Modal", "Insert"), QDialogButtonBox::AcceptRole)
        ->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    // As tall as the fields need, up to what the screen has room for.
    const int room = dialog.screen() ? dialog.screen()->availableGeometry().height() * 3 / 4 : 600;
    scroll->setMinimumHeight(std::min(fields->sizeHint().height(), room));
    dialog.resize(dialog.sizeHint().expandedTo(QSize(360, 0)));
    if (!boxes.isEmpty()) boxes.front()->setFocus();
    if (RunModal(dialog, QDialog::Rejected) != QDialog::Accepted) return false;
    answers.clear();
    for (QLineEdit* box : boxes) answers << box->text();
    return true;
  }
  QString fileName(QWidget* owner, bool save, const QString& title, const QString& folder,
                   const QStringList& filters, QString* chosenFilter) override {
    QFileDialog dialog(owner, title, folder);
    dialog.setNameFilters(filters);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Open admits only existing files; Save asks before it overwrites one, and before it
    // creates one. Answering No goes back to the dialog.
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    for (;;) {
      if (RunModal(dialog, QDialog::Rejected) != QDialog::Accepted ||
          dialog.selectedFiles().isEmpty())
        return QString();
      const QString path = dialog.selectedFiles().constFirst();
      if (chosenFilter) *chosenFilter = dialog.selectedNameFilter();
      if (save && !QFileInfo::exists(path)) {
        QMessageBox create(
            QMessageBox::Question, title,
            QCoreApplication::translate("Modal", "%1 does not exist.\nDo you want to create it?")
                .arg(QFileInfo(path).fileName()),
            QMessageBox::Yes | QMessageBox::No, &dialog);
        MakePlain(&create);
        create.setDefaultButton(QMessageBox::Yes);
        if (RunModal(create, QMessageBox::No) != QMessageBox::Yes) continue;
      }
      return path;
    }
  }
};

ModalSeam* g_seam = nullptr;

}  // namespace

ModalSeam& Modal() {
  static RealDialogs real;
  return g_seam ? *g_seam : real;
}

void SetModal(ModalSeam* seam) {
  g_seam = seam;
}

bool ModalOpen() {
  return g_modalWork > 0 || !g_open.isEmpty() || QApplication::activeModalWidget() != nullptr;
}

ModalWork::ModalWork() {
  ++g_modalWork;
}

ModalWork::~ModalWork() {
  // The commands that waited run once the caller of the work has finished.
  if (--g_modalWork == 0 && !g_waiting.empty()) QTimer::singleShot(0, qApp, &RunWaiting);
}

void BringModalForward() {
  QWidget* open = QApplication::activeModalWidget();
  if (!open && !g_open.isEmpty()) open = g_open.constLast();
  if (!open) return;
  open->show();
  open->raise();
  GiveKeyboardFocus(open);
}

void CancelModals() {
  if (g_open.isEmpty() && !QApplication::activeModalWidget()) return;
  g_cancelling = !g_open.isEmpty();
  // Innermost first; each ends its own event loop once control gets back to it.
  for (int i = g_open.size() - 1; i >= 0; --i) {
    if (QDialog* dialog = g_open.at(i)) dialog->reject();
  }
  // A modal window not opened through the seam (none of quorpad's own) is closed as well.
  if (QWidget* other = QApplication::activeModalWidget(); other && !g_open.contains(other))
    other->close();
}

namespace {

class HandBack : public QObject {
 public:
  HandBack(std::function<QWidget*()> fallback, QObject* parent)
      : QObject(parent), fallback_(std::move(fallback)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress) ++input_;
    // Tooltips and menus hand nothing back: they never took the keyboard from a window.
    if ((event->type() == QEvent::Hide || event->type() == QEvent::Close) &&
        qobject_cast<QDialog*>(watched) && static_cast<QWidget*>(watched)->isWindow())
      handBackFrom(static_cast<QWidget*>(watched));
    return false;
  }

 private:
  void handBackFrom(QWidget* gone) {
    QPointer<QWidget> from = gone->parentWidget() ? gone->parentWidget()->window() : nullptr;
    if (from && from->property(kGivesKeyboardAway).toBool()) return;
    // At once, as the dialog goes, so that keys typed right after it reach the window it came
    // from and not one the window manager falls back to; unless another question stays.
    if (QWidget* back = from && from->isVisible() ? from.data()
                        : fallback_               ? fallback_()
                                                  : nullptr;
        back && back->isVisible() && back != gone) {
      bool questionStays = false;
      for (QWidget* w : QApplication::topLevelWidgets())
        questionStays = questionStays || (w != gone && w != back && w->isVisible() && w->isModal());
      if (!questionStays) {
        back->raise();
        GiveKeyboardFocus(back);
      }
    }
    // The windows on screen as the dialog goes: one of them given the keyboard afterwards was
    // given it by the window manager's choice, not by a window opening or the person, and
    // the keyboard still goes back.
    auto before = std::make_shared<QList<QPointer<QWidget>>>();
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w != gone && w->isVisible()) before->append(w);
    // Once the events in hand are done, and again once the window manager has dealt with
    // the dialog's going (it may choose a window of its own a moment later).
    for (int after : {0, 200})
      QTimer::singleShot(after, this, [this, from, before, after, input = input_] {
        giveBack(from, *before, after, input);
      });
  }

  void giveBack(const QPointer<QWidget>& from, const QList<QPointer<QWidget>>& before, int after,
                quint64 input) {
    // Work waited for as for a question (a long save the dialog led to): once it is done.
    if (g_modalWork > 0 && g_open.isEmpty() && !QApplication::activeModalWidget()) {
      WhenNoModal(this,
                  [this, from, before, after, input] { giveBack(from, before, after, input); });
      return;
    }
    QWidget* back = from && from->isVisible() ? from.data() : fallback_ ? fallback_() : nullptr;
    if (!back || !back->isVisible() || ModalOpen()) return;
    QWidget* active = QApplication::activeWindow();
    if (active == back) return;
    // A window come since (a dialog the closed one led to) keeps the keyboard, also before
    // the window manager has given it.
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && w != back && !before.contains(w) &&
          (w->windowType() == Qt::Window || w->windowType() == Qt::Dialog))
        return;
    // Later, only where the window manager has moved the keyboard to another of the windows,
    // and never once the person has pressed a key or a button (a window of their choosing).
    if (after > 0 && (!active || input != input_)) return;
    back->raise();
    GiveKeyboardFocus(back);
  }

  std::function<QWidget*()> fallback_;
  quint64 input_ = 0;  // key and button presses so far
};

}  // namespace

void HandBackWhenDialogsClose(std::function<QWidget*()> fallback) {
  static HandBack* watch = nullptr;
  if (watch) return;
  watch = new HandBack(std::move(fallback), qApp);
  qApp->installEventFilter(watch);
}

void WhenNoModal(QObject* context, std::function<void()> command) {
  if (!Busy()) {
    command();
    return;
  }
  g_waiting.emplace_back(context, std::move(command));
  WatchOpenWindows();
}

namespace {

QString StoreUnusable() {
  return QCoreApplication::translate("Modal", "The template store could not be used.\n\n");
}

// The engine's meaning of an error number, in the user's language where the catalogue has
// the engine's words.
QString EngineMeaning(int number) {
  static const char* const kMeanings[] = {
      QT_TRANSLATE_NOOP("EngineError", "Overflow"),
      QT_TRANSLATE_NOOP("EngineError", "Type mismatch"),
      QT_TRANSLATE_NOOP("EngineError", "File not found"),
      QT_TRANSLATE_NOOP("EngineError", "Device I/O error"),
      QT_TRANSLATE_NOOP("EngineError", "Disk full"),
      QT_TRANSLATE_NOOP("EngineError", "Permission denied"),
      QT_TRANSLATE_NOOP("EngineError", "Path/File access error"),
      QT_TRANSLATE_NOOP("EngineError", "Object doesn't support this property or method"),
      QT_TRANSLATE_NOOP("EngineError", "Application-defined or object-defined error")};
  const std::string meaning = templates::EngineError::Meaning(number);
  for (const char* known : kMeanings)
    if (meaning == known) return QCoreApplication::translate("EngineError", known);
  return QString::fromStdString(meaning);
}

}  // namespace

QString EngineErrorText(const templates::EngineError& error) {
  QString text = StoreUnusable();
  if (!error.file().empty()) {
    text += QCoreApplication::translate("Modal", "File: %1\n")
                .arg(QString::fromStdString(error.file().string()));
  }
  text += QCoreApplication::translate("Modal", "Error %1: %2\n\n%3")
              .arg(error.number())
              .arg(EngineMeaning(error.number()), QString::fromStdString(error.what()));
  return text;
}

QString EngineRefusalText(const std::string& reason) {
  static const struct {
    const char* engine;
    const char* text;
  } kRefusals[] = {
      {templates::kNameHoldsSeparator,
       QT_TRANSLATE_NOOP("EngineRefusal",
                         "A template name cannot contain the control character 0x04: it "
                         "separates a template's name from its value in the store.")},
      {templates::kNameTooLong,
       QT_TRANSLATE_NOOP("EngineRefusal",
                         "A template name cannot be longer than 32767 characters.")},
      {templates::kTextStored,
       QT_TRANSLATE_NOOP("EngineRefusal", "A template with the same text is stored already.")}};
  for (const auto& known : kRefusals)
    if (reason == known.engine) return QCoreApplication::translate("EngineRefusal", known.text);
  return QString::fromStdString(reason);
}

void ShowFileError(QWidget* parent, const QString& what, const QString& path,
                   const QString& reason) {
  Modal().message(parent, kAppTitle, QStringLiteral("%1 %2\n\n%3").arg(what, path, reason),
                  QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok);
}

void ShowStoreFailure(QWidget* parent, const QString& reason) {
  const QString store =
      QDir(TemplateStoreFolder()).filePath(QString::fromLatin1(templates::kStoreFileName));
  Modal().message(
      parent, kAppTitle,
      StoreUnusable() + QCoreApplication::translate("Modal", "File: %1\n\n%2").arg(store, reason),
      QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok);
}
