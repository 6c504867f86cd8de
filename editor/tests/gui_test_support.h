// Helpers shared by the GUI tests: a store folder of each test's own and message boxes that
// answer themselves.
#pragma once

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <memory>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include "editor/frmMain.h"
#include "editor/modal.h"
#include "editor/program.h"
#include "manager/frmManage.h"

namespace guitest {

// Answers every message box at once and notes it as "caption: text", marked " [icon]" when
// it has an icon and " [buttons]" when it offers more than OK. A save prompt is answered No,
// any other box with its default button; file dialogs are cancelled.
class FakeModal : public ModalSeam {
 public:
  QStringList shown;

  QMessageBox::StandardButton message(QWidget*, const QString& caption, const QString& text,
                                      QMessageBox::Icon icon, QMessageBox::StandardButtons buttons,
                                      QMessageBox::StandardButton defaultButton) override {
    shown << caption + QStringLiteral(": ") + text +
                 (icon == QMessageBox::NoIcon ? "" : " [icon]") +
                 (buttons == QMessageBox::Ok ? "" : " [buttons]");
    return buttons.testFlag(QMessageBox::No) ? QMessageBox::No : defaultButton;
  }
  QString fileName(QWidget*, bool, const QString&, const QString&, const QStringList&) override {
    return QString();
  }
};

// Store bytes written readably: every '|' stands for the field separator, byte 4.
inline QByteArray Rec(QByteArray bytes) {
  return bytes.replace('|', '\x04');
}

// Records "Name i" / "Value i" for i from `first` to `last`.
inline QByteArray Numbered(int first, int last) {
  QByteArray bytes;
  for (int i = first; i <= last; ++i)
    bytes += Rec("1|Name " + QByteArray::number(i) + "|Value " + QByteArray::number(i) + "\r\n");
  return bytes;
}

// A temporary program folder that holds the store.
class StoreFolder {
 public:
  StoreFolder() { SetProgramFolder(dir_.path()); }
  ~StoreFolder() { SetProgramFolder(QString()); }
  QString store() const { return QDir(dir_.path()).filePath(QStringLiteral("templates.dat")); }
  void write(const QByteArray& bytes, QIODevice::OpenMode mode = QIODevice::WriteOnly) const {
    QFile file(store());
    QVERIFY(file.open(mode));
    file.write(bytes);
  }
  void append(const QByteArray& bytes) const { write(bytes, QIODevice::Append); }
  QByteArray read() const {
    QFile file(store());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

 private:
  QTemporaryDir dir_;
};

// Lets posted events and deferred deletions run.
inline void Settle() {
  for (int i = 0; i < 3; ++i) {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

// Ends every window a test left behind.
inline void CloseAll() {
  delete LoadedManageDialog();
  delete LoadedMainWindow();
  for (QWidget* w : QApplication::topLevelWidgets()) w->close();
  Settle();
}

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

}  // namespace guitest
