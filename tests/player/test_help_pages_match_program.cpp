// Each help page against the program in its language: every key the player
// and the editor bind is named on the page, and what the page says about
// saving bookmarks on Esc and Exit and about F5's rewind is what the program
// does.
#include "session/playback_keys.h"
#include "test_form1_harness.h"

#include <QRegularExpression>

using namespace quillory;
using namespace quillory::test;

namespace {

struct PageLanguage {
    QString language;
    QString page;
    QString ctrl, shift, esc;
    // Words saying "saved" and "not" in the language.
    QString saved, negation;
};

const QList<PageLanguage> &pageLanguages()
{
    static const QList<PageLanguage> all = {
        {"English", "Help.html", "Ctrl", "Shift", "Esc", "saved", "\\bnot\\b"},
        {"Italiano", "Guida.html", "Ctrl", "Maiusc", "Esc", "salvano", "\\bnon\\b"},
        {"Deutsch", "Hilfe.html", "Strg", "Umschalt", "Esc", "gespeichert", "\\bnicht\\b"},
        {"Español", "Ayuda.html", "Ctrl", "Mayús", "Esc", "guardan", "\\bno\\b"},
        {"French", "Aide.html", "Ctrl", "Maj", "Échap", "enregistrés", "\\bne\\b|\\bpas\\b"}};
    return all;
}

// The keys a page names: each <kbd> run joined by "+", blanks dropped.
QSet<QString> keysNamedIn(const QString &html)
{
    static const QRegularExpression run(
        QStringLiteral("<kbd>[^<]*</kbd>(\\s*\\+\\s*<kbd>[^<]*</kbd>)*"));
    static const QRegularExpression tags(QStringLiteral("</?kbd>|\\s"));
    QSet<QString> keys;
    for (auto it = run.globalMatch(html); it.hasNext();)
        keys.insert(it.next().captured(0).remove(tags));
    return keys;
}

// A key as the page of `lang` writes it.
QString pageName(const QKeySequence &sequence, const PageLanguage &lang)
{
    QString text = sequence.toString(QKeySequence::PortableText);
    text.replace(QStringLiteral("Ctrl+"), lang.ctrl + QLatin1Char('+'));
    text.replace(QStringLiteral("Shift+"), lang.shift + QLatin1Char('+'));
    if (text == QLatin1String("Esc"))
        text = lang.esc;
    return text;
}

QString element(const QString &html, const QString &id)
{
    const QRegularExpression re(QStringLiteral("id=\"%1\">(.*?)</(p|span)>").arg(id),
                                QRegularExpression::DotMatchesEverythingOption);
    return re.match(html).captured(1);
}

QString plainCaption(QString text)
{
    return text.remove(QLatin1Char('&'));
}

QString readPage(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class TestHelpPagesMatchProgram : public QObject {
    Q_OBJECT
private slots:
    void eachPageNamesEveryBoundKey_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < pageLanguages().size(); ++i)
            QTest::newRow(qPrintable(pageLanguages()[i].language)) << i;
    }
    void eachPageNamesEveryBoundKey()
    {
        QFETCH(int, index);
        const PageLanguage &lang = pageLanguages()[index];
        PlayerRig rig;
        rig.writeSettings({lang.language + ".lng", "", "0", "5", "2", "0", "", "0"});
        rig.start();
        QCOMPARE(rig.T(24) + ".html", lang.page);
        const QString html = readPage(rig.home.file(lang.page));
        QVERIFY(!html.isEmpty());
        const QSet<QString> named = keysNamedIn(html);

        // The menus' keys of both windows, the keys of the editor's own
        // table, and the speed and loop keys with their defaults.
        QList<QKeySequence> bound;
        QList<QAction *> actions = rig.form->findChildren<QAction *>();
        actions += editorOf(*rig.form)->findChildren<QAction *>();
        for (QAction *action : actions)
            if (!action->shortcut().isEmpty())
                bound << action->shortcut();
        for (PlaybackKey key : {PlaybackKey::SpeedDown, PlaybackKey::SpeedUp,
                                PlaybackKey::SpeedReset, PlaybackKey::Loop})
            bound << PlaybackKeys::defaultSequence(key);
        bound << QKeySequence(Qt::Key_Escape) << QKeySequence(Qt::CTRL | Qt::Key_B)
              << QKeySequence(Qt::CTRL | Qt::Key_I) << QKeySequence(Qt::CTRL | Qt::Key_U)
              << QKeySequence(Qt::CTRL | Qt::Key_G) << QKeySequence(Qt::CTRL | Qt::Key_S)
              << QKeySequence(Qt::CTRL | Qt::Key_Z);
        QVERIFY(bound.size() > 25);
        for (const QKeySequence &key : bound)
            QVERIFY2(
                named.contains(pageName(key, lang)),
                qPrintable(lang.page + QStringLiteral(" does not name ") + pageName(key, lang)));
    }

    void whatEachPageSaysAboutSaving_data() { eachPageNamesEveryBoundKey_data(); }
    void whatEachPageSaysAboutSaving()
    {
        QFETCH(int, index);
        const PageLanguage &lang = pageLanguages()[index];
        PlayerRig rig;
        // A first start: no settings file.
        rig.start();
        // The program: a first start has no rewind on pause.
        QCOMPARE(rig.session.pauseRewindSeconds(), 0);

        const QString html = readPage(rig.home.file(lang.page));
        const QString bookmarks = element(html, QStringLiteral("bookmarks-saved"));
        QVERIFY2(!bookmarks.isEmpty(), qPrintable(lang.page));
        QVERIFY(bookmarks.contains(QStringLiteral("<kbd>") + lang.esc + QStringLiteral("</kbd>")));
        QVERIFY(bookmarks.contains(lang.saved));
        QVERIFY2(!bookmarks.contains(QRegularExpression(lang.negation)), qPrintable(bookmarks));

        // The rewind is named by the menu item that sets it, in the page's
        // language, with its value on a first start.
        PlayerRig inLanguage;
        inLanguage.writeSettings({lang.language + ".lng", "", "0", "5", "0", "0", "", "0"});
        inLanguage.start();
        const QString rewind = element(html, QStringLiteral("pause-rewind"));
        QVERIFY2(rewind.contains(QRegularExpression(QStringLiteral("\\b0\\b"))),
                 qPrintable(rewind));
        const QString item =
            plainCaption(control<QAction>(*inLanguage.form, "mnuSecIndietro")->text()).trimmed();
        QVERIFY2(rewind.contains(item), qPrintable(lang.page + ": " + item));
    }
};

QTEST_MAIN(TestHelpPagesMatchProgram)
#include "test_help_pages_match_program.moc"
