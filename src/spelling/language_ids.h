#pragma once

#include <QString>

namespace quillory::spelling {

// The Windows language identifiers RTF names a text's language by (\lang,
// \deflang: 1040 is Italian, 2057 British English), and the locale names
// dictionaries go by ("it_IT", "en_GB").

// The locale of `id`: "en_GB" where the region is known, the bare language
// ("en") for another region of a known language, empty for an unknown id or
// one that names no language (1024, "no proofing").
QString localeOfLanguageId(int id);

// The identifier for a locale name ("it_IT", "it-IT" or "it"); 0 when the
// language is unknown. A known language in an unknown region gets the
// language's main region.
int languageIdOfLocale(const QString &name);

} // namespace quillory::spelling
