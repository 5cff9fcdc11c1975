#include "shell/text/language.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QTranslator>
#include <algorithm>

namespace rek {

namespace {

const QString kSourceLanguage = QStringLiteral("ja");
const QString kFallbackLanguage = QStringLiteral("en");
// Where the build puts the compiled translations among the program's resources.
const QString kTranslationFolder = QStringLiteral(":/i18n");
const QString kTranslatorName = QStringLiteral("rek-language");

// "en-US", "en_GB.UTF-8", "ja-Jpan-JP" -> "en", "en", "ja".
QString primaryLanguage(const QString& name) {
    QString language = name;
    const qsizetype end = language.indexOf(QRegularExpression(QStringLiteral("[-_.@]")));
    if (end >= 0)
        language.truncate(end);
    return language.toLower();
}

void installTranslator(const QString& file, const QString& folder) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    translator->setObjectName(kTranslatorName);
    if (translator->load(file, folder))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

}  // namespace

QStringList availableLanguages() {
    QStringList languages{kSourceLanguage};
    const QStringList files =
        QDir(kTranslationFolder).entryList({QStringLiteral("rektool_*.qm")}, QDir::Files);
    for (const QString& file : files) {
        const QString language = file.mid(8).chopped(3);
        if (!languages.contains(language))
            languages.append(language);
    }
    std::sort(languages.begin(), languages.end());
    return languages;
}

QString languageForUiLanguages(const QStringList& uiLanguages, const QStringList& available) {
    for (const QString& name : uiLanguages) {
        if (name == QLatin1String("C") || name == QLatin1String("POSIX"))
            return kSourceLanguage;
        // A translation for the region ("pt_BR" for "pt-BR") before one for the language.
        const QString regional = QString(name).replace(QLatin1Char('-'), QLatin1Char('_'));
        if (available.contains(regional))
            return regional;
        const QString language = primaryLanguage(name);
        if (available.contains(language))
            return language;
    }
    return available.contains(kFallbackLanguage) ? kFallbackLanguage : kSourceLanguage;
}

QString systemLanguage() {
    const QLocale system = QLocale::system();
    if (system.language() == QLocale::C)
        return kSourceLanguage;
    return languageForUiLanguages(system.uiLanguages(), availableLanguages());
}

std::optional<QString> languageNamed(std::string_view value) {
    const QString language = QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
    const QStringList available = availableLanguages();
    const auto found = std::find_if(available.begin(), available.end(), [&](const QString& name) {
        return name.compare(language, Qt::CaseInsensitive) == 0;
    });
    if (found == available.end())
        return std::nullopt;
    return *found;
}

void useLanguage(const QString& language) {
    QCoreApplication* application = QCoreApplication::instance();
    for (QTranslator* old :
         application->findChildren<QTranslator*>(kTranslatorName, Qt::FindDirectChildrenOnly)) {
        QCoreApplication::removeTranslator(old);
        delete old;
    }
    // Qt's own texts first: a later translator is asked first, so the program's win.
    installTranslator(QStringLiteral("qtbase_") + language,
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (language != kSourceLanguage)
        installTranslator(QStringLiteral("rektool_") + language, kTranslationFolder);
}

}  // namespace rek
