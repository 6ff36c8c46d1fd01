#pragma once

#include <map>

#include <QString>

namespace framework {

/// The one translation context of the program's texts. Texts kept as `const char*` are
/// marked where they are written with QT_TRANSLATE_NOOP("Pavrix", "…"), so that
/// `make translations` finds them, and pass through `Tr` where they are shown.
inline constexpr char kTextContext[] = "Pavrix";

/// The language the program's own texts are written in: no translation is installed for it.
inline constexpr char kSourceLanguage[] = "ja";

/// `sourceText` (UTF-8) in the interface language: the source text itself when no
/// translation is installed or the translation has no entry for it.
QString Tr(const char* sourceText);
/// `Tr(format)` filled in as printf does (`%d`, `%.2f`…); the translation keeps the
/// conversions of its source text, in the same order.
QString TrFormat(const char* format, ...);

/// Shows the program's texts in `language` ("ja", the source texts, or a language with a
/// translation `:/i18n/pavrix_<language>.qm`) from now on: texts fetched after this call
/// are in that language. False, and nothing changed, for a language without a
/// translation.
bool SetTextLanguage(const QString& language);
/// The language set last; `kSourceLanguage` before any.
QString TextLanguage();

/// A value built from texts, built once per interface language: `cache` keeps one per
/// language, so a reference handed out stays valid after the language changes.
template <typename T, typename Build>
const T& ForTextLanguage(std::map<QString, T>& cache, Build build) {
    const QString language = TextLanguage();
    auto found = cache.find(language);
    if (found == cache.end()) {
        found = cache.emplace(language, build()).first;
    }
    return found->second;
}

} // namespace framework
