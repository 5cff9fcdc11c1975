#pragma once

// The language of the program's texts: Japanese, in which they are written, or one of the
// translations built into the program (translations/rektool_*.ts). Both programs choose it once
// at start-up, before they show or print anything, and keep it for the whole run.

#include <QString>
#include <QStringList>
#include <optional>
#include <string_view>

namespace rek {

// "ja" and the language of every translation built in, sorted: {"en", "ja"}.
QStringList availableLanguages();

// The language for the user's UI languages, most wanted first (QLocale::uiLanguages(), e.g.
// "en-US", "de", "ja-JP"): the first one the program speaks. "C" (the C/POSIX locale) means
// Japanese, the program's own texts. A translation for the region ("pt_BR" for "pt-BR") comes
// before one for the language. A list of languages the program does not speak gets English,
// when that is among `available`.
QString languageForUiLanguages(const QStringList& uiLanguages, const QStringList& available);

// The language for the process's locale (LANGUAGE, LC_ALL, LC_MESSAGES, LANG, as QLocale reads
// them). The C/POSIX locale is Japanese whatever LANGUAGE says, as gettext has it.
QString systemLanguage();

// The language a --lang value names ("ja", "en"; any case), or nothing when the program has
// no translation into it.
std::optional<QString> languageNamed(std::string_view value);

// Makes `language` (one of availableLanguages()) the language of every text from here on: the
// program's translation and Qt's own for its dialogs and buttons, where Qt's translations are
// installed. Replaces what an earlier call installed. Needs the application object.
void useLanguage(const QString& language);

}  // namespace rek
