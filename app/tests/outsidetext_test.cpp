// Text from outside in every window: a file name, a folder name and a template name that hold
// markup show literally, and no file that an <img> in them names is ever opened.
#include <QLabel>
#include <QMessageBox>
#include <QTextDocument>
#include <QTimer>
#include <QTreeWidget>
#include <atomic>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/modal.h"
#include "common/programfolder.h"
#include "editor/frmMain.h"
#include "manager/frmManage.h"
#include "settings/frmAbout.h"
#include "testsupport/apptest.h"

using namespace guitest;

namespace {

// Tells whether anything opened a FIFO for reading: whoever does is let go at once (its
// read ends), so that a widget that would block on it for good is caught instead.
class FifoWatch {
 public:
  explicit FifoWatch(QString path) : path_(std::move(path)) {
    ::mkfifo(QFile::encodeName(path_).constData(), 0600);
    thread_ = std::thread([this] {
      while (!stop_) {
        const int fd = ::open(QFile::encodeName(path_).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) {
          opened_ = true;
          ::close(fd);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    });
  }
  ~FifoWatch() {
    stop_ = true;
    thread_.join();
  }
  bool opened() const { return opened_; }

 private:
  QString path_;
  std::atomic<bool> stop_{false}, opened_{false};
  std::thread thread_;
};

// What a tooltip shows, as Qt renders it.
QString ShownTip(const QString& tip) {
  QTextDocument shown;
  if (Qt::mightBeRichText(tip)) {
    shown.setHtml(tip);
    return shown.toPlainText();
  }
  return tip;
}

// Every label of `window` that shows the markup shows it as plain text; true when one does.
bool ShowsLiterally(QWidget* window) {
  bool found = false;
  for (QLabel* label : window->findChildren<QLabel*>()) {
    if (!label->text().contains(QLatin1String("<img src="))) continue;
    if (label->textFormat() != Qt::PlainText) return false;
    found = true;
  }
  return found;
}

}  // namespace

class OutsideTextTest : public Fixture {
  Q_OBJECT

 protected:
  void tearDown() override {
    SetModal(&modal_);
    CloseAll();
  }

 private Q_SLOTS:
  void markupShowsLiterallyAndOpensNothing() {
    FifoWatch fifo(folder_->filePath(QStringLiteral("fifo")));
    const QString fifoPath = folder_->filePath(QStringLiteral("fifo"));
    const QString hostile = QStringLiteral("<img src=") +
                            QString(fifoPath).replace(QLatin1Char('/'), QStringLiteral("&#47;")) +
                            QStringLiteral("><b>50%1 &amp;");
    const QString program = folder_->filePath(hostile);
    QVERIFY(QDir().mkpath(program));
    SetProgramFolder(program);
    WriteAll(program + QStringLiteral("/templates.dat"),
             ("1\x04" + hostile + "\x04" + hostile + "\r\n").toUtf8());
    const QString document = program + QLatin1Char('/') + hostile + QStringLiteral(".txt");
    WriteAll(document, "text\n");

    frmMain& main = ShownMainWindow();
    main.openFromOutside(document);
    Settle();
    main.grab();
    QVERIFY(ShowsLiterally(&main));
    ShowManageDialog();
    Settle();
    ManageDialog().grab();
    auto* list = ManageDialog().findChild<QTreeWidget*>();
    QVERIFY(list && list->topLevelItemCount() == 1);
    QCOMPARE(ShownTip(list->topLevelItem(0)->toolTip(0)), hostile);
    ShowAboutDialog();
    Settle();
    AboutDialog().grab();
    for (QLabel* label : AboutDialog().findChildren<QLabel*>())
      if (!label->toolTip().isEmpty()) QVERIFY(ShownTip(label->toolTip()).contains(hostile));

    // The real questions, each looked at and closed as soon as it shows.
    SetModal(nullptr);
    QStringList seen;
    QTimer look;
    connect(&look, &QTimer::timeout, this, [&] {
      QWidget* open = QApplication::activeModalWidget();
      if (!open) return;
      open->grab();
      seen << (ShowsLiterally(open) ? QStringLiteral("literal") : QStringLiteral("not"));
      if (auto* dialog = qobject_cast<QDialog*>(open)) dialog->reject();
    });
    look.start(20);
    ShowFileError(&main, QStringLiteral("Could not open the file"), document, hostile);
    QStringList answers;
    Modal().fillIn(&main, QStringLiteral("Fill In"), {hostile}, answers);
    Modal().choice(&main, QStringLiteral("Choose"), hostile, {hostile}, QStringLiteral("OK"));
    Modal().question(&main, kAppTitle, hostile, QMessageBox::Question,
                     {{QMessageBox::Yes, QStringLiteral("Yes")}}, QMessageBox::Yes);
    look.stop();
    SetModal(&modal_);
    QCOMPARE(seen, QStringList(4, QStringLiteral("literal")));
    QVERIFY2(!fifo.opened(), "a widget read the file an <img> named");
  }
};

QTEST_MAIN(OutsideTextTest)
#include "outsidetext_test.moc"
