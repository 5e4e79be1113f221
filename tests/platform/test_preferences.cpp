#include "platform/files/preferences.h"
#include "platform/files/text_file.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace quillory;

class TestPreferences : public QObject {
    Q_OBJECT
private slots:
    void badValuesGiveDefaultsAndUnknownLinesSurvive()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("Preferences.ini");
        QVERIFY(writeTextLines(path,
                               {"# written by a newer version", "future.key=keep me", "speed=abc",
                                "count= 7 ", "ratio=1e999", "on=yes", "not a setting", "count=9"}));
        Preferences p(path);
        QVERIFY(p.load());
        QCOMPARE(p.integer("count", 1, 0, 100), 9); // the last line of a key wins
        QCOMPARE(p.integer("count", 1, 0, 8), 1);   // out of range
        QCOMPARE(p.number("speed", 1.0, 0.25, 3.0), 1.0);
        QCOMPARE(p.number("ratio", 0.5, 0, 1e308), 0.5);
        QCOMPARE(p.flag("on", true), true); // unreadable
        QCOMPARE(p.flag("on", false), false);
        QCOMPARE(p.text("missing", "d"), QString("d"));

        p.setInteger("count", 3);
        p.setNumber("speed", 0.75);
        p.setText("name", "two\nlines");
        p.setText("bad=key", "x"); // refused: it would not read back
        QVERIFY(p.save());

        QStringList lines;
        QVERIFY(readTextLines(path, &lines));
        QCOMPARE(lines.first(), QString("# written by a newer version"));
        QVERIFY(lines.contains("future.key=keep me"));
        QVERIFY(lines.contains("not a setting"));
        QVERIFY(lines.contains("name=two lines"));
        QVERIFY(!lines.join('|').contains("bad=key"));

        Preferences again(path);
        QVERIFY(again.load());
        QCOMPARE(again.integer("count", 1, 0, 100), 3);
        QCOMPARE(again.number("speed", 1.0, 0.25, 3.0), 0.75);
        again.remove("count");
        QVERIFY(!again.contains("count"));
    }

    void missingFileIsAnEmptyStore()
    {
        QTemporaryDir dir;
        Preferences p(dir.filePath("none/Preferences.ini"));
        QVERIFY(p.load());
        QCOMPARE(p.integer("x", 4, 0, 10), 4);
        p.setFlag("x", true);
        QVERIFY(!p.save()); // the folder does not exist: a failure with a reason
        QVERIFY(!p.save().reason.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPreferences)
#include "test_preferences.moc"
