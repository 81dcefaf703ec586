#pragma once
// Texts for the user that come from the libraries without a window (learning,
// board transfers, firmware update, the wave editor's checks). Each such text
// is written as Tr("Context", "source text"), with the Japanese source as it
// reads in the default window; the window installs a translator for the
// language the user chose, and the command-line programs and the tests keep
// the source texts. The translation tool extracts the Tr() calls like the
// toolkit's own translate() calls, so the same catalogue holds both.

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

// Marks a text kept in a table (a list's items) for the translation tool; it
// is translated where it is shown, by Tr() with the same context.
#define QUVAN_TR_NOOP(context, text) text

namespace quvan::user_text {

// Returns the translation of `source` (UTF-8) in `context`, or an empty text
// when there is none.
using Translator = std::function<std::string(const char* context, const char* source)>;

// Installed once at start, before any text is asked for; an empty translator
// brings the source texts back.
void SetTranslator(Translator translator);

// The text in the chosen language: the translation when there is one, else
// the source text.
std::string Tr(const char* context, const char* source);

// `text` with %1 ... %9 replaced by the arguments, as the toolkit's arg()
// does: a translation may put the numbers in another order than the source.
// A marker without an argument stays as it is.
std::string Fill(std::string_view text, std::initializer_list<std::string_view> args);

} // namespace quvan::user_text
