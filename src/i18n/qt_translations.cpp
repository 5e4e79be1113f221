#include "qt_translations.h"

#include "i18n/qt_text_gaps.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace quillory {

QtTranslations::QtTranslations() = default;

QtTranslations::~QtTranslations()
{
    remove();
    if (m_gaps && QCoreApplication::instance())
        QCoreApplication::removeTranslator(m_gaps.get());
}

QString QtTranslations::codeOf(const QString &languageFile)
{
    QString name = QFileInfo(languageFile).completeBaseName().toLower();
    // The five languages shipped, by the names their files carry; a file a
    // translator sends may also be named by its code ("pt.lng").
    static const QList<std::pair<QString, QString>> known = {
        {QStringLiteral("english"), QStringLiteral("en")},
        {QStringLiteral("italiano"), QStringLiteral("it")},
        {QStringLiteral("deutsch"), QStringLiteral("de")},
        {QStringLiteral("español"), QStringLiteral("es")},
        {QStringLiteral("espanol"), QStringLiteral("es")},
        {QStringLiteral("french"), QStringLiteral("fr")},
        {QStringLiteral("français"), QStringLiteral("fr")},
        {QStringLiteral("francais"), QStringLiteral("fr")}};
    for (const auto &[file, code] : known)
        if (name == file)
            return code;
    if (name.size() == 2 && name.at(0).isLetter() && name.at(1).isLetter())
        return name;
    return QString();
}

QString QtTranslations::folder()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

void QtTranslations::remove()
{
    if (m_translator && QCoreApplication::instance())
        QCoreApplication::removeTranslator(m_translator.get());
    m_translator.reset();
    m_installed.clear();
}

bool QtTranslations::apply(const QString &languageFile, const QString &fromFolder)
{
    remove();
    const QString code = codeOf(languageFile);
    const bool english = code.isEmpty() || code == QLatin1String("en");
    // No worker of the program reads the default locale, so it may change at a
    // switch while they run.
    QLocale::setDefault(english ? QLocale::system() : QLocale(code));
    if (!m_gaps) {
        // Installed first, so the language's own file, installed after it, is
        // asked first.
        m_gaps = std::make_unique<QtTextGaps>();
        QCoreApplication::installTranslator(m_gaps.get());
    }
    // Qt's texts are English already; its English file is empty.
    if (english)
        return false;
    auto translator = std::make_unique<QTranslator>();
    const QString path = fromFolder + QStringLiteral("/qtbase_") + code + QStringLiteral(".qm");
    if (!QFileInfo(path).isFile() || !translator->load(path))
        return false;
    // Installing sends every widget a LanguageChange: open Qt dialogs retitle.
    QCoreApplication::installTranslator(translator.get());
    m_translator = std::move(translator);
    m_installed = path;
    return true;
}

QtTranslations &QtTranslations::current()
{
    static QtTranslations instance;
    return instance;
}

} // namespace quillory
