// What every GUI test shares, whatever part it tests: a scriptable stand-in for the modal seam,
// a fresh program folder per test case, file helpers, small disks, and ways to let events run,
// to show a window and to end every window.
#pragma once

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include "common/modal.h"

class QPlainTextEdit;

namespace guitest {

// Answers the questions from a script and logs what was asked.
//
// A message box takes the next of `buttons`; with none left it gets `unscripted`, and when
// that is NoButton, No where the box offers it, else the box's default button. A file
// dialog takes the next of `files` (an empty string is a cancel); with none left it is
// cancelled.
class ScriptedModal : public ModalSeam {
 public:
  QList<QMessageBox::StandardButton> buttons;
  QStringList files;
  QStringList filters;
  // The rows left checked in each checklist, in order; with none left, every row.
  QList<QList<int>> checks;
  // The answers to number questions, in order; with none left the question is cancelled.
  QList<int> numbers;
  // The rows chosen in choices, in order (-1 cancels); with none left a choice is cancelled.
  QList<int> choices;
  // The answers to each fill-in question, in order; with none left it is cancelled.
  QList<QStringList> fillIns;
  QMessageBox::StandardButton unscripted = QMessageBox::NoButton;
  // Every message box as "caption: text", marked " [icon]" when it has an icon and
  // " [buttons]" when it offers more than OK.
  QStringList shown;
  // Every message box's text and every file dialog's title, in the order asked.
  QStringList asked;

  // Forgets the script and the logs.
  void reset();

  QMessageBox::StandardButton message(QWidget* parent, const QString& caption, const QString& text,
                                      QMessageBox::Icon icon, QMessageBox::StandardButtons offered,
                                      QMessageBox::StandardButton defaultButton) override;
  // Takes the next of `files`, and reports the next of `filters` as the filter chosen (the
  // dialog's first when none is left).
  QString fileName(QWidget* owner, bool save, const QString& title, const QString& folder,
                   const QStringList& offered, QString* chosenFilter) override;
  // Logs the caption in `asked`, and the text, the rows and the details of the row it takes
  // (of the first when it cancels) in `shown`, then takes the next of `choices`.
  int choice(QWidget* parent, const QString& caption, const QString& text, const QStringList& rows,
             const QString& accept,
             const std::function<QString(int, JobProgress&)>& details) override;
  // Logs the caption in `asked` and takes the next of `numbers`.
  int number(QWidget* parent, const QString& caption, const QString& label, int value, int least,
             int most, bool& ok) override;
  // Logs "caption: intro" in `asked` and the names in `shown`, then takes the next of
  // `fillIns`.
  bool fillIn(QWidget* parent, const QString& caption, const QString& intro,
              const QStringList& names, QStringList& answers) override;
  // Logs the text and the rows (in `shown`, after the text, one a line), then answers as a
  // message box would.
  QMessageBox::StandardButton checklist(
      QWidget* parent, const QString& caption, const QString& text, const QStringList& rows,
      const QList<std::pair<QMessageBox::StandardButton, QString>>& captions,
      QMessageBox::StandardButton defaultButton, QList<int>& checked) override;
};

// A fresh temporary folder that is the program folder while the object lives.
class StoreFolder {
 public:
  StoreFolder();
  ~StoreFolder();
  QString path() const { return dir_.path(); }
  QString filePath(const QString& name) const { return dir_.filePath(name); }
  QString store() const { return filePath(QStringLiteral("templates.dat")); }
  void write(const QByteArray& bytes) const;
  void append(const QByteArray& bytes) const;
  QByteArray read() const;

 private:
  QTemporaryDir dir_;
};

// The whole file, or `missing` when it cannot be read; a pipe or a device is never opened.
QByteArray ReadAll(const QString& path, const QByteArray& missing = QByteArray());
// Writes the whole file; fails the test when it cannot.
void WriteAll(const QString& path, const QByteArray& bytes);
void AppendAll(const QString& path, const QByteArray& bytes);

// Store bytes written readably: every '|' stands for the field separator, byte 4.
QByteArray Rec(QByteArray bytes);
// Records "Name i" / "Value i" for i from `first` to `last`.
QByteArray Numbered(int first, int last);

// A window's control by its object name. A window without it fails the test, naming the
// control, and ends the test function there (Qt Test takes the exception as a failure).
template <class Control>
Control* Child(const QObject* window, const QString& name) {
  auto* control = window->findChild<Control*>(name);
  if (!control) {
    QTest::qFail(qPrintable(QStringLiteral("no control ") + name), __FILE__, __LINE__);
    throw std::runtime_error("no control " + name.toStdString());
  }
  return control;
}

// Selects `count` characters of the text box's text from `from`.
void SelectText(QPlainTextEdit* box, int from, int count);
// Lets posted events, deferred layouts and deferred deletions run.
void Settle();
// Shows the window and makes it active, once it is exposed.
void ShowExposed(QWidget& window);
// Closes every top-level window a test left behind, and lets the deletions run.
void CloseWindows();

// The set-up every GUI test shares, as its base class: windows never end the program and
// the questions are answered by a script (`modal_`); each case gets a fresh program folder
// (`folder_`) and a fresh script, and its windows are closed after it. A test adds its own
// steps by overriding setUpOnce(), setUp() (after the folder is made) and tearDown()
// (before the folder goes; closeWindows() runs there by default).
class Fixture : public QObject {
  Q_OBJECT

 protected:
  std::unique_ptr<StoreFolder> folder_;
  ScriptedModal modal_;

  virtual void setUpOnce() {}
  virtual void setUp() {}
  virtual void tearDown() { CloseWindows(); }

 private Q_SLOTS:
  void initTestCase();
  void init();
  void cleanup();
};

// A tmpfs of a few KiB mounted on a temporary folder for one test, so that a disk can be
// filled for real. Mounting needs root; mounted() says whether it worked and why() why not.
class SmallDisk {
 public:
  explicit SmallDisk(int kib = 64) {
    if (!dir_.isValid()) {
      why_ = QStringLiteral("no temporary folder to mount it on");
    } else if (::geteuid() != 0) {
      why_ = QStringLiteral("mounting a tmpfs needs root, and this test runs as another user");
    } else {
      const QByteArray options = "size=" + QByteArray::number(kib) + "k,mode=0755";
      if (::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs",
                  MS_NOSUID | MS_NODEV, options.constData()) == 0) {
        mounted_ = true;
      } else {
        why_ = QStringLiteral("mounting a tmpfs failed: %1").arg(std::strerror(errno));
      }
    }
  }
  ~SmallDisk() {
    if (mounted_) ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
  }
  bool mounted() const { return mounted_; }
  QString why() const { return why_; }
  // Makes the disk read-only, for root as well.
  bool makeReadOnly() const {
    return mounted_ && ::mount(nullptr, QFile::encodeName(dir_.path()).constData(), nullptr,
                               MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr) == 0;
  }
  QString path() const { return dir_.path(); }
  QString filePath(const QString& name) const { return dir_.filePath(name); }

  // Fills the disk with a file named "filler" until the system says it is full, then frees
  // `leave` bytes of it again.
  bool fill(qint64 leave) const {
    const QByteArray name = QFile::encodeName(filePath(QStringLiteral("filler")));
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const QByteArray block(4096, 'x');
    qint64 size = 0;
    for (;;) {
      const ssize_t n = ::write(fd, block.constData(), static_cast<size_t>(block.size()));
      if (n <= 0) break;
      size += n;
    }
    const bool full = errno == ENOSPC && ::ftruncate(fd, std::max<qint64>(0, size - leave)) == 0;
    ::close(fd);
    return full;
  }

 private:
  QTemporaryDir dir_;
  bool mounted_ = false;
  QString why_;
};

// Whether this process is the child that RunInChild started.
inline bool InChild() {
  return qEnvironmentVariableIsSet("QUORPAD_TEST_CHILD");
}

// Runs the current test function again in a child process, so that the limits it sets or the
// faults it meets stay there; `beforeExec` runs in the child before the test program starts
// (only what is safe between fork and exec). Returns an empty string when the child passed,
// else its output.
inline QString RunInChild(std::function<void()> beforeExec = {}) {
  QProcess child;
  child.setProgram(QCoreApplication::applicationFilePath());
  child.setArguments({QString::fromLatin1(QTest::currentTestFunction())});
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QUORPAD_TEST_CHILD"), QStringLiteral("1"));
  child.setProcessEnvironment(environment);
  child.setProcessChannelMode(QProcess::MergedChannels);
  if (beforeExec) child.setChildProcessModifier(beforeExec);
  child.start();
  if (!child.waitForFinished(90000)) {
    child.kill();
    child.waitForFinished(5000);
    return QStringLiteral("the child did not finish: ") + QString::fromLocal8Bit(child.readAll());
  }
  if (child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0) return QString();
  return QString::fromLocal8Bit(child.readAll());
}

// RunInChild with no file allowed to grow beyond `bytes`, and the signal that would end the
// child ignored, as the program ignores it.
inline QString RunInChildWithFileSizeLimit(rlim_t bytes) {
  rlimit limit{};
  ::getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = std::min(bytes, limit.rlim_max);
  return RunInChild([limit] {
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::signal(SIGXFSZ, SIG_IGN);
  });
}

// The names in a folder, hidden ones included.
inline QStringList FolderEntries(const QString& folder) {
  return QDir(folder).entryList(
      QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Shows `window` and checks that every text of it is shown whole, inside its parent, that no
// two controls of one parent overlap, and that a group box's title is clear of what it holds.
void CheckFits(QWidget* window);

// The desktop font sizes a window test runs at, as a table's rows: "points", 0 for the
// default font, and 14 pt.
void AddDesktopFontRows();

// The application's font at `points` (0 keeps the default) for as long as it lives.
class DesktopFont {
 public:
  explicit DesktopFont(qreal points);
  ~DesktopFont();
  DesktopFont(const DesktopFont&) = delete;
  DesktopFont& operator=(const DesktopFont&) = delete;

 private:
  const QFont before_;
};

}  // namespace guitest
