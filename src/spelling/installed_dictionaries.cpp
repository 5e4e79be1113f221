#include "installed_dictionaries.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>

namespace quillory::spelling {

QStringList systemDictionaryFolders()
{
    return {QStringLiteral("/usr/share/hunspell"), QStringLiteral("/usr/share/myspell/dicts"),
            QStringLiteral("/usr/share/myspell")};
}

QList<DictionaryFiles> findDictionaries(const QStringList &folders)
{
    QList<DictionaryFiles> found;
    QSet<QString> names;
    for (const QString &folder : folders) {
        const QDir dir(folder);
        const QStringList affs = dir.entryList({QStringLiteral("*.aff")}, QDir::Files, QDir::Name);
        for (const QString &aff : affs) {
            const QString name = QFileInfo(aff).completeBaseName();
            const QString dic = dir.filePath(name + QStringLiteral(".dic"));
            if (names.contains(name) || !QFileInfo(dic).isFile())
                continue;
            names.insert(name);
            found.append({name, dir.filePath(aff), dic});
        }
    }
    std::sort(found.begin(), found.end(),
              [](const DictionaryFiles &a, const DictionaryFiles &b) { return a.name < b.name; });
    return found;
}

QString languageOf(const QString &dictionaryName)
{
    const qsizetype cut = dictionaryName.indexOf(QRegularExpression(QStringLiteral("[_-]")));
    return (cut < 0 ? dictionaryName : dictionaryName.left(cut)).toLower();
}

DictionaryFiles pickDictionary(const QString &code, const QList<DictionaryFiles> &installed)
{
    const auto named = [&](const QString &name) -> const DictionaryFiles * {
        for (const DictionaryFiles &d : installed)
            if (d.name.compare(name, Qt::CaseInsensitive) == 0)
                return &d;
        return nullptr;
    };
    if (code.isEmpty())
        return {};
    if (const DictionaryFiles *d = named(code); d && code.size() > 2)
        return *d;
    const QString language = languageOf(code);
    static const QList<std::pair<QString, QString>> mainCountry = {
        {QStringLiteral("en"), QStringLiteral("en_US")},
        {QStringLiteral("it"), QStringLiteral("it_IT")},
        {QStringLiteral("de"), QStringLiteral("de_DE")},
        {QStringLiteral("es"), QStringLiteral("es_ES")},
        {QStringLiteral("fr"), QStringLiteral("fr_FR")}};
    for (const auto &[lang, name] : mainCountry)
        if (lang == language)
            if (const DictionaryFiles *d = named(name))
                return *d;
    if (const DictionaryFiles *d = named(language))
        return *d;
    for (const DictionaryFiles &d : installed)
        if (languageOf(d.name) == language)
            return d;
    return {};
}

} // namespace quillory::spelling
