// The helpers every GUI test shares.
#include "testsupport/guitest.h"

#include <QPlainTextEdit>
#include <QTextCursor>

#include <algorithm>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include "common/longjob.h"
#include "common/programfolder.h"
#include "common/wholefile.h"
#include "translations/translations.h"

namespace {

// Every GUI test keeps its state (recovery copies, the store's versions) in a folder of its
// own, made when the test program starts and removed when it ends, never in the user's.
struct PrivateStateFolder {
  QTemporaryDir dir;
  PrivateStateFolder() {
    if (dir.isValid()) qputenv("XDG_STATE_HOME", QFile::encodeName(dir.path()));
  }
} g_privateState;

// The texts in the test's language as the program loads them at start: the tests run in the
// C locale (see add_gui_test), where every text is as written, English plural forms and all.
void LoadTranslations() {
  InstallTranslations(*QCoreApplication::instance());
}
Q_COREAPP_STARTUP_FUNCTION(LoadTranslations)

}  // namespace

namespace guitest {

void ScriptedModal::reset() {
  buttons.clear();
  files.clear();
  filters.clear();
  checks.clear();
  numbers.clear();
  choices.clear();
  fillIns.clear();
  unscripted = QMessageBox::NoButton;
  shown.clear();
  asked.clear();
}

QMessageBox::StandardButton ScriptedModal::message(QWidget*, const QString& caption,
                                                   const QString& text, QMessageBox::Icon icon,
                                                   QMessageBox::StandardButtons offered,
                                                   QMessageBox::StandardButton defaultButton) {
  shown << caption + QStringLiteral(": ") + text + (icon == QMessageBox::NoIcon ? "" : " [icon]") +
               (offered == QMessageBox::Ok ? "" : " [buttons]");
  asked << text;
  if (!buttons.isEmpty()) return buttons.takeFirst();
  if (unscripted != QMessageBox::NoButton) return unscripted;
  return offered.testFlag(QMessageBox::No) ? QMessageBox::No : defaultButton;
}

QMessageBox::StandardButton ScriptedModal::checklist(
    QWidget* parent, const QString& caption, const QString& text, const QStringList& rows,
    const QList<std::pair<QMessageBox::StandardButton, QString>>& captions,
    QMessageBox::StandardButton defaultButton, QList<int>& checked) {
  checked.clear();
  if (!checks.isEmpty()) {
    checked = checks.takeFirst();
  } else {
    for (int row = 0; row < rows.size(); ++row) checked << row;
  }
  QMessageBox::StandardButtons offered;
  for (const auto& button : captions) offered |= button.first;
  return message(parent, caption, text + QLatin1Char('\n') + rows.join(QLatin1Char('\n')),
                 QMessageBox::Question, offered, defaultButton);
}

QString ScriptedModal::fileName(QWidget*, bool, const QString& title, const QString&,
                                const QStringList& offered, QString* chosenFilter) {
  asked << title;
  if (chosenFilter) *chosenFilter = !filters.isEmpty() ? filters.takeFirst() : offered.value(0);
  return files.isEmpty() ? QString() : files.takeFirst();
}

int ScriptedModal::choice(QWidget*, const QString& caption, const QString& text,
                          const QStringList& rows, const QString&,
                          const std::function<QString(int, JobProgress&)>& details) {
  asked << caption;
  shown << caption + QStringLiteral(": ") + text;
  shown << rows;
  const int chosen = choices.isEmpty() ? -1 : choices.takeFirst();
  if (details && !rows.isEmpty()) {
    JobProgress progress;
    shown << details(chosen >= 0 && chosen < rows.size() ? chosen : 0, progress);
  }
  return chosen;
}

bool ScriptedModal::fillIn(QWidget*, const QString& caption, const QString& intro,
                           const QStringList& names, QStringList& answers) {
  asked << caption + QStringLiteral(": ") + intro;
  shown << names;
  if (fillIns.isEmpty()) return false;
  answers = fillIns.takeFirst();
  return true;
}

int ScriptedModal::number(QWidget*, const QString& caption, const QString&, int value, int least,
                          int most, bool& ok) {
  asked << caption;
  ok = !numbers.isEmpty();
  return ok ? std::clamp(numbers.takeFirst(), least, most) : value;
}

StoreFolder::StoreFolder() {
  QVERIFY(dir_.isValid());
  SetProgramFolder(dir_.path());
}

StoreFolder::~StoreFolder() {
  SetProgramFolder(QString());
}

void StoreFolder::write(const QByteArray& bytes) const {
  WriteAll(store(), bytes);
}

void StoreFolder::append(const QByteArray& bytes) const {
  AppendAll(store(), bytes);
}

QByteArray StoreFolder::read() const {
  return ReadAll(store());
}

QByteArray ReadAll(const QString& path, const QByteArray& missing) {
  QByteArray bytes;
  return ReadWholeFile(path, qint64(1) << 30, bytes).isEmpty() ? bytes : missing;
}

namespace {

void Put(const QString& path, const QByteArray& bytes, QIODevice::OpenMode mode) {
  QFile file(path);
  QVERIFY2(file.open(mode), qPrintable(path));
  QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

}  // namespace

void WriteAll(const QString& path, const QByteArray& bytes) {
  Put(path, bytes, QIODevice::WriteOnly);
}

void AppendAll(const QString& path, const QByteArray& bytes) {
  Put(path, bytes, QIODevice::Append);
}

QByteArray Rec(QByteArray bytes) {
  return bytes.replace('|', '\x04');
}

QByteArray Numbered(int first, int last) {
  QByteArray bytes;
  for (int i = first; i <= last; ++i)
    bytes += Rec("1|Name " + QByteArray::number(i) + "|Value " + QByteArray::number(i) + "\r\n");
  return bytes;
}

void Settle() {
  for (int i = 0; i < 4; ++i) {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

void ShowExposed(QWidget& window) {
  window.show();
  window.activateWindow();
  if (!QTest::qWaitForWindowExposed(&window))
    qWarning("window %s not exposed", qPrintable(window.objectName()));
  Settle();
}

void SelectText(QPlainTextEdit* box, int from, int count) {
  QTextCursor cursor(box->document());
  cursor.setPosition(from);
  cursor.setPosition(from + count, QTextCursor::KeepAnchor);
  box->setTextCursor(cursor);
}

void CloseWindows() {
  for (QWidget* w : QApplication::topLevelWidgets()) w->close();
  Settle();
}

void Fixture::initTestCase() {
  QApplication::setQuitOnLastWindowClosed(false);
  SetModal(&modal_);
  setUpOnce();
}

void Fixture::init() {
  folder_ = std::make_unique<StoreFolder>();
  modal_.reset();
  setUp();
}

void Fixture::cleanup() {
  tearDown();
  folder_.reset();
}

void AddDesktopFontRows() {
  QTest::addColumn<qreal>("points");
  QTest::newRow("default font") << qreal(0);
  QTest::newRow("14 pt") << qreal(14);
}

DesktopFont::DesktopFont(qreal points) : before_(QApplication::font()) {
  QFont font = before_;
  if (points > 0) font.setPointSizeF(points);
  QApplication::setFont(font);
}

DesktopFont::~DesktopFont() {
  QApplication::setFont(before_);
}

// Every text of the window is shown whole, inside its parent, and no two controls of one
// parent overlap; a group box's title is clear of what it holds.
void CheckFits(QWidget* window) {
  window->show();
  QVERIFY(QTest::qWaitForWindowExposed(window));
  const QString name = window->objectName();
  // Where a control's text is drawn: a label's box may reach past its text.
  const auto drawnRect = [](QWidget* w) {
    auto* label = qobject_cast<QLabel*>(w);
    if (!label || label->wordWrap() || label->text().isEmpty()) return w->geometry();
    const QSize text = label->fontMetrics().size(0, label->text()).boundedTo(w->size());
    return QStyle::alignedRect(Qt::LeftToRight, label->alignment(), text, w->geometry());
  };
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(window) || w->inherits("QScrollBar") ||
        w->parentWidget()->inherits("QAbstractScrollArea"))
      continue;
    const QString what =
        name + QLatin1Char('/') + w->objectName() + QLatin1Char(' ') + w->metaObject()->className();
    const QFontMetrics fm = w->fontMetrics();
    QString text;
    if (auto* label = qobject_cast<QLabel*>(w)) text = label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) text = button->text();
    if (auto* box = qobject_cast<QGroupBox*>(w); box && !box->title().isEmpty()) {
      QStyleOptionGroupBox option;
      option.initFrom(box);
      option.text = box->title();
      option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
      const QRect title =
          box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
      QVERIFY2(fm.horizontalAdvance(box->title()) <= box->width(), qPrintable(what));
      for (QWidget* inside : box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        QVERIFY2(!inside->isVisibleTo(window) || inside->y() >= title.bottom(),
                 qPrintable(what + " title over " + inside->objectName()));
    }
    if (!text.isEmpty()) {
      const QSize needs = fm.size(0, text);
      QVERIFY2(needs.width() <= w->width(), qPrintable(what + " cuts " + text));
      QVERIFY2(needs.height() <= w->height(), qPrintable(what + " cuts " + text));
    }
    const QRect inParent = w->parentWidget()->rect();
    if (!w->parentWidget()->inherits("QScrollArea") && w->parentWidget() != window)
      QVERIFY2(inParent.contains(w->geometry()), qPrintable(what + " leaves its parent"));
    for (QWidget* other : w->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (other == w || !other->isVisibleTo(window) || w->parentWidget()->layout()) continue;
      QVERIFY2(!drawnRect(w).intersects(drawnRect(other)),
               qPrintable(what + " overlaps " + other->objectName()));
    }
  }
}

}  // namespace guitest
