// Every window as a screen reader meets it: each control a person can use has a name, and
// no two controls of one window share one.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "editor/frmMain.h"
#include "manager/frmManage.h"
#include "settings/frmAbout.h"
#include "settings/frmConfig.h"
#include "testsupport/apptest.h"

using namespace guitest;

namespace {

bool Interactive(const QWidget* w) {
  // The scroll bars of a text box or a list belong to it, and are named by Qt itself.
  if (qobject_cast<const QAbstractSlider*>(w)) return false;
  return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w) ||
         qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QTextEdit*>(w) ||
         qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QComboBox*>(w);
}

// "name (object)" for every interactive control of `window` that has no accessible name or
// shares its name with another; empty when all is well.
QStringList Unnamed(QWidget* window) {
  QStringList problems;
  QMultiHash<QString, QString> byName;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (!Interactive(w) || w->window() != window || !w->isVisibleTo(window)) continue;
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
    const QString name = face ? face->text(QAccessible::Name).trimmed() : QString();
    const QString id = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                                 : w->objectName();
    if (name.isEmpty())
      problems << QStringLiteral("no name: %1").arg(id);
    else
      byName.insert(name, id);
  }
  for (const QString& name : byName.uniqueKeys()) {
    const QStringList holders = byName.values(name);
    if (holders.size() > 1)
      problems << QStringLiteral("'%1' names %2").arg(name, holders.join(QStringLiteral(", ")));
  }
  return problems;
}

}  // namespace

class AccessibilityTest : public Fixture {
  Q_OBJECT

 protected:
  void setUp() override { folder_->write(Numbered(1, 2)); }
  void tearDown() override { CloseAll(); }

 private Q_SLOTS:
  void everyControlHasANameOfItsOwn() {
    frmMain& main = ShownMainWindow();
    main.textBox()->setFocus();
    main.showTemplatePicker();
    ShowManageDialog();
    ShowConfigDialog();
    ShowAboutDialog();
    Settle();
    for (QWidget* window :
         {static_cast<QWidget*>(&main), static_cast<QWidget*>(&ManageDialog()),
          static_cast<QWidget*>(&ConfigDialog()), static_cast<QWidget*>(&AboutDialog())}) {
      const QStringList problems = Unnamed(window);
      QVERIFY2(problems.isEmpty(), qPrintable(window->objectName() + QStringLiteral(": ") +
                                              problems.join(QStringLiteral("; "))));
    }
  }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
