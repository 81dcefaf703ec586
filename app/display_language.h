#pragma once
// The language of the window. Japanese is the language the texts are written
// in; English comes from the catalogue built into the program. The toolkit's
// own dialogs and buttons (file dialogs, the print dialog, the overwrite
// question) follow the same choice through the toolkit's catalogues, which
// the system installs (qtbase_ja.qm); without them they stay in English.

#include <QString>
#include <optional>

class QCoreApplication;

namespace quvan::app {

enum class UiLanguage { Japanese, English };

// "ja" or "en", as --lang and the settings file name them; anything else is
// not a language of the tool.
std::optional<UiLanguage> ParseUiLanguage(const QString& code);
QString CodeOf(UiLanguage language);

// Installs `language` for the whole program, replacing the one installed
// before: the translators of the tool's and the toolkit's texts, the default
// locale, and the translator of the libraries without a window (user_text).
// Call it before the windows are made: texts already shown do not change.
void InstallUiLanguage(QCoreApplication& application, UiLanguage language);

} // namespace quvan::app
