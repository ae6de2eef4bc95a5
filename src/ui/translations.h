#pragma once
#include <QLocale>
#include <QString>
#include <QStringList>

namespace kesto::ui {

// Where the program's catalogues (kesto32_<language>.qm) are looked for, first found first:
// the installed share/kesto32/translations beside bin/, then the build tree's translations/.
QStringList TranslationDirectories(const QString &programDir);

// Loads the program's catalogue and Qt's own (qtbase) for the locale's interface languages
// (on Linux QLocale::system() honours LANGUAGE, then LC_ALL, LC_MESSAGES and LANG) into the
// running application. Returns the language of the program's catalogue, empty when the texts
// stay in English. A second call replaces the catalogues of the first.
QString InstallTranslations(const QLocale &locale = QLocale::system());

// The language InstallTranslations loaded, empty for English: the help pages follow it.
QString TranslationLanguage();

} // namespace kesto::ui
