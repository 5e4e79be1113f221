// Qt's own texts follow the interface language: the file taken from Qt's
// translations folder for each language, and swapped at a switch.
#include "i18n/captions.h"
#include "i18n/qt_translations.h"
#include "platform/text/numeric_text.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace quillory;

namespace {
// The text of Qt's "Yes" button and of the file dialog's "File name" label.
QString yes()
{
    return QCoreApplication::translate("QPlatformTheme", "&Yes");
}
QString lookIn()
{
    return QCoreApplication::translate("QFileDialog", "Look in:");
}
// The file dialog's Type column for a folder.
QString folderType()
{
    return QCoreApplication::translate("QAbstractFileIconProvider", "Folder",
                                       "All other platforms");
}
} // namespace

class TestQtTranslations : public QObject {
    Q_OBJECT
private slots:
    void codesOfTheLanguageFiles()
    {
        QCOMPARE(QtTranslations::codeOf(QStringLiteral("English.lng")), QStringLiteral("en"));
        QCOMPARE(QtTranslations::codeOf(QStringLiteral("Italiano.lng")), QStringLiteral("it"));
        QCOMPARE(QtTranslations::codeOf(QStringLiteral("Deutsch.lng")), QStringLiteral("de"));
        QCOMPARE(QtTranslations::codeOf(QStringLiteral("Español.lng")), QStringLiteral("es"));
        QCOMPARE(QtTranslations::codeOf(QStringLiteral("French.lng")), QStringLiteral("fr"));
        QCOMPARE(QtTranslations::codeOf(QStringLiteral("pt.lng")), QStringLiteral("pt"));
        QVERIFY(QtTranslations::codeOf(QStringLiteral("Klingon.lng")).isEmpty());
        QVERIFY(QtTranslations::codeOf(QString()).isEmpty());
    }

    void eachLanguageTakesItsFileAndSwitchesBack()
    {
        const QString folder = QtTranslations::folder();
        if (!QFileInfo::exists(folder + QStringLiteral("/qtbase_it.qm")))
            QSKIP("Qt's translations are not installed (qt6-translations-l10n)");
        QtTranslations translations;
        QVERIFY(translations.apply(QStringLiteral("Italiano.lng")));
        QCOMPARE(translations.installedFile(), folder + QStringLiteral("/qtbase_it.qm"));
        QCOMPARE(yes(), QStringLiteral("&Sì"));
        QVERIFY(lookIn() != QStringLiteral("Look in:"));

        // A switch replaces the file instead of stacking a second one.
        QVERIFY(translations.apply(QStringLiteral("Deutsch.lng")));
        QCOMPARE(translations.installedFile(), folder + QStringLiteral("/qtbase_de.qm"));
        QCOMPARE(yes(), QStringLiteral("&Ja"));
        for (const QString &file : {QStringLiteral("Español.lng"), QStringLiteral("French.lng")}) {
            QVERIFY(translations.apply(file));
            QVERIFY2(yes() != QStringLiteral("&Yes"), qPrintable(file));
        }

        QVERIFY(!translations.apply(QStringLiteral("English.lng")));
        QVERIFY(translations.installedFile().isEmpty());
        QCOMPARE(yes(), QStringLiteral("&Yes"));
    }

    void missingFileLeavesQtsEnglish()
    {
        QTemporaryDir empty;
        QtTranslations translations;
        QVERIFY(!translations.apply(QStringLiteral("Italiano.lng"), empty.path()));
        QVERIFY(translations.installedFile().isEmpty());
        QCOMPARE(yes(), QStringLiteral("&Yes"));
        // A damaged file is refused the same way.
        QFile bad(empty.filePath(QStringLiteral("qtbase_de.qm")));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("not a translation");
        bad.close();
        QVERIFY(!translations.apply(QStringLiteral("Deutsch.lng"), empty.path()));
        QCOMPARE(yes(), QStringLiteral("&Yes"));
    }

    // The file dialog's dates and file types follow the language, and the
    // words Qt's own file leaves in English come from the captions; numbers
    // the user types are still read as the region writes them.
    void fileDialogWordsAndDatesFollowTheLanguage()
    {
        if (!QFileInfo::exists(QtTranslations::folder() + QStringLiteral("/qtbase_it.qm")))
            QSKIP("Qt's translations are not installed");
        Captions::current().clear();
        Captions::current().loadFromText(QStringLiteral("qt.folder=Cartella\n"));
        {
            QtTranslations translations;
            QVERIFY(translations.apply(QStringLiteral("Italiano.lng")));
            QCOMPARE(folderType(), QStringLiteral("Cartella"));
            QCOMPARE(QLocale().language(), QLocale::Italian);
            QCOMPARE(QLocale().monthName(12), QStringLiteral("dicembre"));
            if (QLocale::system().decimalPoint() == QLatin1String(".")) {
                QCOMPARE(parseWholeNumber(QStringLiteral("1.5")), std::optional<double>(1.5));
                QCOMPARE(parseWholeNumber(QStringLiteral("1,5")), std::optional<double>());
            }

            // German has its own word in Qt's file; that one is kept.
            QVERIFY(translations.apply(QStringLiteral("Deutsch.lng")));
            QCOMPARE(folderType(), QStringLiteral("Verzeichnis"));
            QCOMPARE(QLocale().language(), QLocale::German);

            QVERIFY(!translations.apply(QStringLiteral("English.lng")));
            QCOMPARE(QLocale(), QLocale::system());
        }
        Captions::current().clear();
        QCOMPARE(folderType(), QStringLiteral("Folder"));
    }

    void releasedWithItsOwner()
    {
        if (!QFileInfo::exists(QtTranslations::folder() + QStringLiteral("/qtbase_fr.qm")))
            QSKIP("Qt's translations are not installed");
        {
            QtTranslations translations;
            QVERIFY(translations.apply(QStringLiteral("French.lng")));
            QVERIFY(yes() != QStringLiteral("&Yes"));
        }
        QCOMPARE(yes(), QStringLiteral("&Yes"));
    }
};

QTEST_GUILESS_MAIN(TestQtTranslations)
#include "test_qt_translations.moc"
