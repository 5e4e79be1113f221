// The about box on its own (labels, version, closing by a click, the home page
// link) and the choice of the sound-settings program.
#include "about/frm_about.h"
#include "i18n/language_table.h"
#include "platform/product_info.h"
#include "platform/services/sound_settings.h"
#include "support/fakes.h"
#include "support/program_home.h"

#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

using namespace quillory;
using namespace quillory::test;

class TestAboutAndLinks : public QObject {
    Q_OBJECT
private slots:
    void labelsFollowTheBuildAndTheLanguage()
    {
        ProgramHome home;
        LanguageTable language;
        QVERIFY(language.load(LanguageTable::pathOf(QStringLiteral("Deutsch.lng"))));
        FakeDesktopLinks links;
        frmAbout about(language, &links);
        QCOMPARE(about.lblVersion->text(), QStringLiteral("Rel. 1.0"));
        about.Form_Load();
        QCOMPARE(about.windowTitle(), QStringLiteral("About"));
        QCOMPARE(about.lblTitle->text(), QStringLiteral("Quillory"));
        // The numbers CMake's project() declares, not the design text.
        QCOMPARE(about.lblVersion->text(), QStringLiteral("Rel. " QUILLORY_TEST_PROJECT_VERSION));
        QCOMPARE(about.lblDescription->text(), language.T(22));
        QVERIFY(!language.T(22).isEmpty());
        QCOMPARE(about.lblCredits->text(),
                 product::credits() + QStringLiteral(" - ") + language.T(23));
        QCOMPARE(about.lblHomePageCap->text(), QStringLiteral("Home Page:"));
        QCOMPARE(about.lblHomePage->text(), product::homePage());
        QVERIFY(!about.imgTitle->pixmap().isNull());
        for (QLabel *l : about.findChildren<QLabel *>()) {
            QVERIFY(!l->objectName().isEmpty());
            QVERIFY2(!l->accessibleName().isEmpty(), qPrintable(l->objectName()));
        }
    }

    void releaseTextFormat()
    {
        QCOMPARE(product::releaseText(), QStringLiteral("Rel. %1.%2.%3")
                                             .arg(product::versionMajor)
                                             .arg(product::versionMinor)
                                             .arg(product::versionRevision));
        QVERIFY(!product::homePage().endsWith(QLatin1Char('/')));
        QCOMPARE(product::updatePage(), product::homePage() + QStringLiteral("/"));
        QCOMPARE(product::donationPage(), product::homePage() + QStringLiteral("/donazioni.html"));
    }

    void aClickAnywhereClosesTheBox()
    {
        ProgramHome home;
        LanguageTable language;
        FakeDesktopLinks links;
        frmAbout about(language, &links);
        about.Form_Load();
        QSignalSpy unloaded(&about, &frmAbout::unloaded);
        for (QWidget *target :
             {static_cast<QWidget *>(&about), static_cast<QWidget *>(about.lblDescription),
              static_cast<QWidget *>(about.Frame1), static_cast<QWidget *>(about.imgTitle)}) {
            about.show();
            QVERIFY(QTest::qWaitForWindowExposed(&about));
            QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(3, 3));
            QVERIFY2(!about.isVisible(), qPrintable(target->objectName()));
        }
        QCOMPARE(unloaded.count(), 4);
        QVERIFY(links.opened.isEmpty());
    }

    void theLinkOpensTheHomePageAndStays()
    {
        ProgramHome home;
        LanguageTable language;
        FakeDesktopLinks links;
        frmAbout about(language, &links);
        about.Form_Load();
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QSignalSpy unloaded(&about, &frmAbout::unloaded);
        QTest::mouseClick(about.lblHomePage, Qt::LeftButton, {}, QPoint(4, 4));
        QCOMPARE(links.opened, QList<QUrl>{QUrl(product::homePage())});
        QVERIFY(about.isVisible());
        QCOMPARE(unloaded.count(), 0);
        QTest::keyClick(&about, Qt::Key_Escape);
        QVERIFY(!about.isVisible());
        QCOMPARE(unloaded.count(), 1);
    }

    void soundSettingsProgramsInOrder()
    {
        QStringList asked;
        QStringList present;
        auto find = [&](const QString &name) {
            asked << name;
            return present.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
        };
        QVERIFY(!findSoundSettings(find).has_value());
        QCOMPARE(asked.first(), QStringLiteral("pavucontrol"));
        QVERIFY(asked.contains(QStringLiteral("gnome-control-center")));
        QVERIFY(asked.contains(QStringLiteral("systemsettings")));

        present = {QStringLiteral("systemsettings"), QStringLiteral("gnome-control-center")};
        auto found = findSoundSettings(find);
        QVERIFY(found.has_value());
        QCOMPARE(found->program, QStringLiteral("/usr/bin/gnome-control-center"));
        QCOMPARE(found->arguments, QStringList{QStringLiteral("sound")});

        present = {QStringLiteral("systemsettings"), QStringLiteral("pavucontrol")};
        found = findSoundSettings(find);
        QCOMPARE(found->program, QStringLiteral("/usr/bin/pavucontrol"));
        QVERIFY(found->arguments.isEmpty());

        present = {QStringLiteral("kcmshell5")};
        found = findSoundSettings(find);
        QCOMPARE(found->program, QStringLiteral("/usr/bin/kcmshell5"));
        QCOMPARE(found->arguments, QStringList{QStringLiteral("kcm_pulseaudio")});
    }
};

QTEST_MAIN(TestAboutAndLinks)
#include "test_about_and_links.moc"
