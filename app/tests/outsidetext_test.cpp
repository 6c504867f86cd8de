// Text from outside in every window: a file name, a folder name and a template name that hold
// markup show literally, and no file that an <img> in them names is ever opened.
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
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

// Whether anything opened a FIFO for reading: a thread opens its other end over and over,
// which succeeds only while a reader waits, and lets that reader go at once (its read ends),
// so that a widget that would block on it for good is caught instead.
struct FifoWatch {
  explicit FifoWatch(const QString& path) : name(QFile::encodeName(path)) {
    ::mkfifo(name.constData(), 0600);
  }
  ~FifoWatch() {
    stop = true;
    thread.join();
  }
  QByteArray name;
  std::atomic<bool> stop{false}, opened{false};
  std::thread thread{[this] {
    for (; !stop; std::this_thread::sleep_for(std::chrono::milliseconds(1)))
      if (const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK); fd >= 0) {
        opened = true;
        ::close(fd);
      }
  }};
};

// What a tooltip shows, as Qt renders it.
QString ShownTip(const QString& tip) {
  QTextDocument shown;
  shown.setHtml(tip);
  return Qt::mightBeRichText(tip) ? shown.toPlainText() : tip;
}

// The labels of `window` that show the markup all show it as plain text, and one does.
bool ShowsLiterally(QWidget* window) {
  int plain = 0, rich = 0;
  for (QLabel* label : window->findChildren<QLabel*>())
    if (label->text().contains(QLatin1String("<img src=")))
      ++(label->textFormat() == Qt::PlainText ? plain : rich);
  return plain > 0 && rich == 0;
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
    const QString fifoPath = folder_->filePath(QStringLiteral("fifo"));
    FifoWatch fifo(fifoPath);
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
      // However many fields ask, the question fits the screen and scrolls.
      if (open->height() > open->screen()->availableGeometry().height()) seen << "too tall";
      if (auto* dialog = qobject_cast<QDialog*>(open)) dialog->reject();
    });
    look.start(20);
    ShowFileError(&main, QStringLiteral("Could not open the file"), document, hostile);
    QStringList answers;
    QStringList names{hostile};
    for (int i = 0; i < 2000; ++i) names << QString::number(i);
    Modal().fillIn(&main, QStringLiteral("Fill In"), hostile, names, answers);
    Modal().choice(&main, QStringLiteral("Choose"), hostile, {hostile}, QStringLiteral("OK"));
    Modal().question(&main, kAppTitle, hostile, QMessageBox::Question,
                     {{QMessageBox::Yes, QStringLiteral("Yes")}}, QMessageBox::Yes);
    look.stop();
    SetModal(&modal_);
    QCOMPARE(seen, QStringList(4, QStringLiteral("literal")));
    QVERIFY2(!fifo.opened, "a widget read the file an <img> named");
  }
};

QTEST_MAIN(OutsideTextTest)
#include "outsidetext_test.moc"
