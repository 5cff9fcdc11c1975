// What each translations/rektool_<language>.ts holds, and that the program carries it as built.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTranslator>
#include <QXmlStreamReader>
#include <vector>

#include "shell/text/language.h"

namespace rek {
namespace {

struct Entry {
    QString context;
    QString source;
    QString translation;
    QString type;  // "unfinished", "vanished", "obsolete"; empty for a finished one
};

struct TranslationFile {
    QString language;
    QString sourceLanguage;
    std::vector<Entry> entries;
};

TranslationFile readTs(const QString& path) {
    TranslationFile file;
    QFile input(path);
    EXPECT_TRUE(input.open(QIODevice::ReadOnly)) << path.toStdString();
    QXmlStreamReader xml(&input);
    QString context;
    Entry entry;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto name = xml.name();
        if (name == QLatin1String("TS")) {
            file.language = xml.attributes().value("language").toString();
            file.sourceLanguage = xml.attributes().value("sourcelanguage").toString();
        } else if (name == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (name == QLatin1String("message")) {
            entry = Entry{context, {}, {}, {}};
        } else if (name == QLatin1String("source")) {
            entry.source = xml.readElementText();
        } else if (name == QLatin1String("translation")) {
            entry.type = xml.attributes().value("type").toString();
            entry.translation = xml.readElementText();
            file.entries.push_back(entry);
        }
    }
    EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
    return file;
}

QStringList placeholders(const QString& text) {
    static const QRegularExpression placeholder(QStringLiteral("%[1-9n]"));
    QStringList found;
    for (const QRegularExpressionMatch& match : placeholder.globalMatch(text))
        found.append(match.captured());
    found.sort();
    return found;
}

QStringList translationFiles() {
    return QDir(QStringLiteral(REK_TRANSLATIONS_DIR))
        .entryList({QStringLiteral("rektool_*.ts")}, QDir::Files);
}

TEST(TranslationFileTest, EveryTranslationIsBuiltIn) {
    QStringList languages{QStringLiteral("ja")};
    for (const QString& file : translationFiles())
        languages.append(file.mid(8).chopped(3));
    languages.sort();
    EXPECT_EQ(availableLanguages(), languages);
    EXPECT_GE(languages.size(), 2);
}

// Every entry translated, keeping the placeholders and final line breaks the program relies on,
// and the program carries each translation as it is written.
TEST(TranslationFileTest, EveryEntryIsTranslatedKeptWholeAndBuiltInAsWritten) {
    for (const QString& name : translationFiles()) {
        const TranslationFile file = readTs(QStringLiteral(REK_TRANSLATIONS_DIR "/") + name);
        EXPECT_EQ(file.language, name.mid(8).chopped(3));
        EXPECT_EQ(file.sourceLanguage, QStringLiteral("ja"));
        EXPECT_GT(file.entries.size(), 200u) << name.toStdString();
        QTranslator compiled;
        ASSERT_TRUE(compiled.load(name.chopped(3), QStringLiteral(":/i18n"))) << name.toStdString();
        for (const Entry& entry : file.entries) {
            const std::string where = name.toStdString() + " " + entry.context.toStdString() +
                                      ": " + entry.source.toStdString();
            EXPECT_TRUE(entry.type.isEmpty()) << where << " is " << entry.type.toStdString();
            EXPECT_FALSE(entry.translation.isEmpty()) << where;
            EXPECT_EQ(placeholders(entry.translation), placeholders(entry.source)) << where;
            EXPECT_EQ(entry.translation.endsWith('\n'), entry.source.endsWith('\n')) << where;
            EXPECT_EQ(compiled.translate(entry.context.toUtf8().constData(),
                                         entry.source.toUtf8().constData()),
                      entry.translation)
                << where;
        }
    }
}

}  // namespace
}  // namespace rek
