#include "language_ids.h"

namespace quillory::spelling {

namespace {

struct Named {
    int id;
    const char *locale;
};

// Each language's main region first: it is the one a bare language gets.
constexpr Named regions[] = {
    {1033, "en_US"},  {2057, "en_GB"}, {3081, "en_AU"}, {4105, "en_CA"}, {5129, "en_NZ"},
    {6153, "en_IE"},  {7177, "en_ZA"}, {1040, "it_IT"}, {2064, "it_CH"}, {1031, "de_DE"},
    {2055, "de_CH"},  {3079, "de_AT"}, {3082, "es_ES"}, {1034, "es_ES"}, {2058, "es_MX"},
    {11274, "es_AR"}, {1036, "fr_FR"}, {2060, "fr_BE"}, {3084, "fr_CA"}, {4108, "fr_CH"},
    {1043, "nl_NL"},  {2067, "nl_BE"}, {2070, "pt_PT"}, {1046, "pt_BR"}, {1045, "pl_PL"},
    {1053, "sv_SE"},  {1030, "da_DK"}, {1044, "nb_NO"}, {1035, "fi_FI"}, {1049, "ru_RU"},
    {1029, "cs_CZ"},  {1038, "hu_HU"}, {1048, "ro_RO"}, {1032, "el_GR"}, {1055, "tr_TR"},
    {1027, "ca_ES"},
};

// The language part of an identifier (its low ten bits) for regions not listed.
constexpr Named languages[] = {
    {0x09, "en"}, {0x10, "it"}, {0x07, "de"}, {0x0A, "es"}, {0x0C, "fr"},
    {0x13, "nl"}, {0x16, "pt"}, {0x15, "pl"}, {0x1D, "sv"}, {0x06, "da"},
    {0x14, "nb"}, {0x0B, "fi"}, {0x19, "ru"}, {0x05, "cs"}, {0x0E, "hu"},
    {0x18, "ro"}, {0x08, "el"}, {0x1F, "tr"}, {0x03, "ca"},
};

} // namespace

QString localeOfLanguageId(int id)
{
    for (const Named &r : regions)
        if (r.id == id)
            return QString::fromLatin1(r.locale);
    for (const Named &l : languages)
        if (l.id == (id & 0x3FF) && id > 0)
            return QString::fromLatin1(l.locale);
    return QString();
}

int languageIdOfLocale(const QString &name)
{
    QString locale = name.trimmed();
    locale.replace(QLatin1Char('-'), QLatin1Char('_'));
    const QString language = locale.section(QLatin1Char('_'), 0, 0).toLower();
    int main = 0;
    for (const Named &r : regions) {
        const QString known = QString::fromLatin1(r.locale);
        if (known.compare(locale, Qt::CaseInsensitive) == 0)
            return r.id;
        if (main == 0 && known.section(QLatin1Char('_'), 0, 0) == language)
            main = r.id;
    }
    return main;
}

} // namespace quillory::spelling
