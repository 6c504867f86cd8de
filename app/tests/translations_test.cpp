// Every window in the user's language. The test runs once under each language quorpad has
// (LC_ALL set by its ctest entry): the main window, the manager, the About box, the
// configuration, the picker and a save question show their captions and buttons in that
// language, Qt's own buttons too, every text whole at the default font and at 14 pt, and no
// access key twice in one window.
#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSet>

#include "common/programfolder.h"
#include "editor/findbar.h"
#include "editor/frmMain.h"
#include "editor/pickwindow.h"
#include "manager/frmManage.h"
#include "settings/frmAbout.h"
#include "settings/frmConfig.h"
#include "testsupport/apptest.h"

using namespace guitest;

namespace {

// A handful of each window's texts, as a person of that language reads them.
struct Words {
  QString newItem, notSet, manage, add, done, about, pick, find, replaceAll, save, yes;
};

const Words* Expected(const QString& language) {
  static const QHash<QString, Words> words = {
      {QStringLiteral("de"),
       {"Neu", "Nicht belegt", "Vorlagen verwalten", "Hinzufügen", "Fertig", "Über",
        "Vorlage einfügen", "Tippen Sie, um eine Vorlage zu finden", "Alle ersetzen",
        "Möchten Sie diese Datei speichern:", "&Ja"}},
      {QStringLiteral("fr"),
       {"Nouveau", "Non défini", "Gérer les modèles", "Ajouter", "Terminé", "À propos",
        "Insérer un modèle", "Tapez pour trouver un modèle", "Tout remplacer",
        "Voulez-vous enregistrer ce fichier\u00a0?", "&Oui"}},
      {QStringLiteral("es"),
       {"Nuevo", "Sin asignar", "Gestionar plantillas", "Añadir", "Hecho", "Acerca de",
        "Insertar plantilla", "Escriba para buscar una plantilla", "Reemplazar todo",
        "¿Desea guardar este archivo?", "&Sí"}},
  };
  const auto found = words.constFind(language);
  return found == words.cend() ? nullptr : &*found;
}

// No access key (the letter after a single '&') twice among what a menu or a window shows
// together: a menu's items, a window's buttons and the labels that name a box.
void CheckAccessKeys(QWidget* shown) {
  QStringList texts;
  if (auto* menu = qobject_cast<QMenu*>(shown))
    for (QAction* action : menu->actions()) texts << action->text();
  for (auto* button : shown->findChildren<QAbstractButton*>())
    if (button->isVisibleTo(shown)) texts << button->text();
  for (auto* label : shown->findChildren<QLabel*>())
    if (label->isVisibleTo(shown) && label->buddy()) texts << label->text();
  QSet<QChar> keys;
  for (QString text : texts) {
    const qsizetype at = text.replace(QLatin1String("&&"), QLatin1String("  ")).indexOf('&');
    if (at < 0 || at + 1 >= text.size()) continue;
    const QChar key = text.at(at + 1).toLower();
    QVERIFY2(!keys.contains(key), qPrintable(shown->objectName() + ": twice &" + key));
    keys.insert(key);
  }
}

}  // namespace

class TranslationsTest : public Fixture {
  Q_OBJECT

 protected:
  void setUp() override {
    words_ = Expected(QLocale::system().name().left(2));
    QVERIFY2(words_, qPrintable(QLocale::system().name() + QStringLiteral(": no words")));
  }
  void tearDown() override { CloseAll(); }

 private Q_SLOTS:
  void everyWindowIsInTheLanguageWholeAndWithDistinctKeys_data() { AddDesktopFontRows(); }
  void everyWindowIsInTheLanguageWholeAndWithDistinctKeys() {
    QFETCH(qreal, points);
    const DesktopFont font(points);
    folder_->write(Rec("1|Sig|Best regards"));
    frmMain& w = ShownMainWindow();
    QCOMPARE(w.windowTitle(), QStringLiteral("quor - pad"));  // a name, never translated
    QCOMPARE(w.trayMenu()->actions().first()->text(), words_->newItem);
    QCOMPARE(w.templateSlot(2)->text(), words_->notSet);
    QVERIFY(w.templatesPopup()->findChild<QAction*>(QStringLiteral("mnuManageTemplates"))->text() ==
            words_->manage);
    w.findBar()->open(true);
    QTRY_VERIFY(!w.textBox()->geometry().intersects(w.findBar()->geometry()));
    QCOMPARE(w.findBar()->findChild<QAbstractButton*>(QStringLiteral("cmdReplaceAll"))->text(),
             words_->replaceAll);
    CheckFits(&w);
    for (QMenu* menu : w.findChildren<QMenu*>()) CheckAccessKeys(menu);

    frmManage& manager = ManageDialog();
    QCOMPARE(manager.windowTitle(), words_->manage);
    QCOMPARE(manager.findChild<QAbstractButton*>(QStringLiteral("cmdAdd"))->text(), words_->add);
    QCOMPARE(manager.findChild<QAbstractButton*>(QStringLiteral("cmdDone"))->text(), words_->done);
    for (QWidget* dialog : {static_cast<QWidget*>(&manager), static_cast<QWidget*>(&AboutDialog()),
                            static_cast<QWidget*>(&ConfigDialog())}) {
      CheckFits(dialog);
      CheckAccessKeys(dialog);
    }
    QCOMPARE(AboutDialog().windowTitle(), words_->about);

    templates::tmpeng engine{ProgramFolder().toStdString()};
    PickWindow pick(engine, false, PickRequest{false}, [](const QString&) {});
    QCOMPARE(pick.windowTitle(), words_->pick);
    QCOMPARE(pick.findChild<QLineEdit*>(QStringLiteral("txtFilter"))->placeholderText(),
             words_->find);
    CheckFits(&pick);

    // The save question as the document asks it, and as Qt draws its buttons.
    const QString path = QDir(ProgramFolder()).filePath(QStringLiteral("notes.txt"));
    WriteAll(path, "notes\n");
    w.openFromOutside(path);
    QTRY_COMPARE(w.OpenFilePath(), path);
    w.textBox()->insertPlainText(QStringLiteral("more "));
    modal_.buttons = {QMessageBox::Cancel};
    w.mnuNew_Click();
    QCOMPARE(modal_.shown.value(0).section(QLatin1Char('\r'), 0, 0),
             QStringLiteral("quorpad: ") + words_->save);
    QMessageBox prompt(QMessageBox::NoIcon, kAppTitle, words_->save + QStringLiteral("\r\n") + path,
                       QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(prompt.button(QMessageBox::Yes)->text(), words_->yes);
    CheckFits(&prompt);
    CheckAccessKeys(&prompt);

    // The engine's meaning of each of its error numbers (an unknown one among them).
    for (int number : {6, 13, 53, 57, 61, 70, 75, 438, 1}) {
      const QString english = QString::fromStdString(templates::EngineError::Meaning(number));
      QVERIFY2(!EngineErrorText(templates::EngineError(number, {}, "why"))
                    .contains(QStringLiteral(": ") + english + QLatin1Char('\n')),
               qPrintable(english));
    }
  }

 private:
  const Words* words_ = nullptr;
};

QTEST_MAIN(TranslationsTest)
#include "translations_test.moc"
