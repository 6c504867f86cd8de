// Loading the program's texts, and Qt's own, in the language of the user's desktop.
#include "translations/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// Loads `file` for `locale` from `folder` and installs it, or drops it where the user's
// languages have none.
void Install(QCoreApplication& application, const QLocale& locale, const QString& file,
             const QString& folder) {
  auto* translator = new QTranslator(&application);
  if (translator->load(locale, file, QStringLiteral("_"), folder))
    QCoreApplication::installTranslator(translator);
  else
    delete translator;
}

}  // namespace

void InstallTranslations(QCoreApplication& application) {
  const QString own = QStringLiteral(":/i18n");
  // The English catalogue holds only plural forms; it is installed first so that the user's
  // language, installed after it, is asked first.
  Install(application, QLocale(QLocale::English), QStringLiteral("quorpad"), own);
  const QLocale locale = QLocale::system();
  // The C locale is English as written, whatever LANGUAGE asks (as gettext has it).
  if (locale.language() == QLocale::C) return;
  Install(application, locale, QStringLiteral("quorpad"), own);
  Install(application, locale, QStringLiteral("qtbase"),
          QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}
