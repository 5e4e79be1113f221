#include "captions.h"

#include "i18n/language_table.h"
#include "platform/files/text_file.h"

#include <QStringList>

namespace quillory {

namespace {
QString readWhole(const QString &path)
{
    // Companion files are small; anything larger is not one of ours.
    QByteArray bytes;
    if (!readRegularFile(path, SmallTextFileLimit, &bytes))
        return QString();
    return decodeText(bytes);
}
} // namespace

void Captions::clear()
{
    m_texts.clear();
    m_fallback.clear();
}

void Captions::loadFromText(const QString &text, bool asFallback)
{
    QHash<QString, QString> &target = asFallback ? m_fallback : m_texts;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.startsWith(QChar(0xFEFF)))
            line.remove(0, 1);
        if (line.trimmed().isEmpty() || line.trimmed().startsWith(QLatin1Char('#')))
            continue;
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        QString value = line.mid(eq + 1).trimmed();
        value.replace(QLatin1String("\\n"), QLatin1String("\n"));
        if (!key.isEmpty())
            target.insert(key, value);
    }
}

void Captions::load(const QString &languageFile)
{
    clear();
    loadFromText(readWhole(pathFor(QStringLiteral("English.lng"))), true);
    loadFromText(readWhole(pathFor(LanguageTable::insideLangFolder(languageFile))), false);
}

QString Captions::text(const QString &key, const QString &englishDefault) const
{
    auto it = m_texts.constFind(key);
    if (it != m_texts.constEnd() && !it->isEmpty())
        return *it;
    it = m_fallback.constFind(key);
    if (it != m_fallback.constEnd() && !it->isEmpty())
        return *it;
    return englishDefault;
}

QString Captions::pathFor(const QString &languageFile)
{
    QString name = languageFile;
    if (name.endsWith(QLatin1String(".lng"), Qt::CaseInsensitive))
        name.chop(4);
    return LanguageTable::pathOf(name + QStringLiteral(".captions"));
}

Captions &Captions::current()
{
    static Captions instance;
    return instance;
}

QString caption(const QString &key, const QString &englishDefault)
{
    return Captions::current().text(key, englishDefault);
}

} // namespace quillory
