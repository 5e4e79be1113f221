// RTF's language identifiers and the dictionaries' locale names, both ways.
#include "spelling/language_ids.h"

#include <QtTest>

using namespace quillory::spelling;

class TestLanguageIds : public QObject {
    Q_OBJECT
private slots:
    void identifiersNameTheirLocale()
    {
        QCOMPARE(localeOfLanguageId(1040), QStringLiteral("it_IT"));
        QCOMPARE(localeOfLanguageId(2057), QStringLiteral("en_GB"));
        QCOMPARE(localeOfLanguageId(1034), QStringLiteral("es_ES")); // traditional sort
        QCOMPARE(localeOfLanguageId(3082), QStringLiteral("es_ES")); // modern sort
        // A region not listed keeps its language: English (Singapore).
        QCOMPARE(localeOfLanguageId(0x4809), QStringLiteral("en"));
        // No proofing, nothing, negatives and unknown languages name none.
        for (int none : {1024, 0, -1, 0x7F, 0x043A})
            QVERIFY2(localeOfLanguageId(none).isEmpty(), qPrintable(QString::number(none)));
    }

    void localesGetTheirIdentifier()
    {
        QCOMPARE(languageIdOfLocale(QStringLiteral("it_IT")), 1040);
        QCOMPARE(languageIdOfLocale(QStringLiteral("de-CH")), 2055);
        QCOMPARE(languageIdOfLocale(QStringLiteral("fr_fr")), 1036);
        QCOMPARE(languageIdOfLocale(QStringLiteral("es_ES")), 3082);
        // A bare language, or an unlisted region, is the language's main region.
        QCOMPARE(languageIdOfLocale(QStringLiteral("en")), 1033);
        QCOMPARE(languageIdOfLocale(QStringLiteral("pt_MZ")), 2070);
        QCOMPARE(languageIdOfLocale(QStringLiteral("xx_YY")), 0);
        QCOMPARE(languageIdOfLocale(QString()), 0);
        // Each locale a dictionary goes by comes back from its identifier.
        for (const char *name : {"en_US", "en_GB", "it_IT", "de_DE", "de_AT", "es_MX", "fr_CA"}) {
            const QString locale = QString::fromLatin1(name);
            QCOMPARE(localeOfLanguageId(languageIdOfLocale(locale)), locale);
        }
    }
};

QTEST_GUILESS_MAIN(TestLanguageIds)
#include "test_language_ids.moc"
