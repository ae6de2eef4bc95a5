#include "translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace kesto::ui {

namespace {

QString loadedLanguage;

} // namespace

QStringList TranslationDirectories(const QString &programDir)
{
    return {QDir::cleanPath(programDir + QStringLiteral("/../share/kesto32/translations")),
            QDir::cleanPath(programDir + QStringLiteral("/../translations"))};
}

QString InstallTranslations(const QLocale &locale)
{
    auto *app = QCoreApplication::instance();
    static QTranslator *own = nullptr;
    static QTranslator *qt = nullptr;
    for (QTranslator **translator : {&own, &qt}) {
        if (*translator) {
            QCoreApplication::removeTranslator(*translator);
            delete *translator;
        }
        *translator = new QTranslator(app);
    }
    loadedLanguage.clear();
    // In the user's order of preference; English, the texts' own language, ends the search:
    // a user who puts English before German gets English.
    const QStringList directories = TranslationDirectories(QCoreApplication::applicationDirPath());
    for (QString language : locale.uiLanguages()) {
        language.replace(QLatin1Char('-'), QLatin1Char('_'));
        if (language == QLatin1String("C") ||
            language.section(QLatin1Char('_'), 0, 0) == QLatin1String("en"))
            break;
        // "kesto32_de_AT" falls back to "kesto32_de".
        for (const QString &dir : directories) {
            if (own->load(QStringLiteral("kesto32_") + language, dir)) {
                loadedLanguage = own->language().section(QLatin1Char('_'), 0, 0);
                break;
            }
        }
        if (!loadedLanguage.isEmpty())
            break;
    }
    if (loadedLanguage.isEmpty())
        return loadedLanguage;
    QCoreApplication::installTranslator(own);
    // Qt's own texts (the buttons of message boxes and dialogs) in the same language; with no
    // catalogue of ours they stay English as well, so that a window does not mix languages.
    if (qt->load(QStringLiteral("qtbase_") + loadedLanguage,
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    return loadedLanguage;
}

QString TranslationLanguage()
{
    return loadedLanguage;
}

} // namespace kesto::ui
