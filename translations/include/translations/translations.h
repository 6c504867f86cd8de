// Loading the program's texts, and Qt's own, in the language of the user's desktop.
#pragma once

class QCoreApplication;

// Installs on `application` the catalogue for the first of the user's languages quorpad has
// (QLocale::system(): LANGUAGE, LC_ALL, LC_MESSAGES, LANG) and Qt's own for its dialogs and
// buttons, from Qt's translations folder. With none for the user's languages (English, C)
// the texts stay as written; English plural forms are always there.
void InstallTranslations(QCoreApplication& application);
