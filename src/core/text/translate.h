#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// The core's texts in the language of the user, without Qt: the application installs the
// function that looks a text up, and until it does every text stays as written (English).
// lupdate finds the texts through PK_TR and PK_TR_NOOP, which it reads as QT_TRANSLATE_NOOP.
namespace translation {

// Returns the translation of source (UTF-8) in context, or source itself.
using Translator = std::string (*)(const char* context, const char* source);

void SetTranslator(Translator translator);

[[nodiscard]] std::string Translate(const char* context, const char* source);

// The template with %1 ... %9 replaced by the values in order, so that a translation may put
// them where its language wants them. A value is never searched for placeholders itself.
[[nodiscard]] std::string Fill(std::string_view pattern,
                               std::initializer_list<std::string_view> values);

} // namespace translation

// A text to translate; the context groups texts the way a class does in the Qt layers.
#define PK_TR(context, source) ::translation::Translate(context, source)
// A text marked for translation and translated later, with Translate and the same context.
#define PK_TR_NOOP(context, source) source
