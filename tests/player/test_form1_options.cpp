// The jump-seconds and rewind-seconds prompts: bounds, warnings, the answer's
// reading and the settings lines they write.
#include "test_form1_harness.h"

using namespace quillory;
using namespace quillory::test;

namespace {

Form1 &startWith(PlayerRig &rig, const QString &jump, const QString &rewind)
{
    rig.writeSettings({"English.lng", "", "0", jump, rewind, "1", "", "0"});
    Form1 &form = rig.start();
    rig.removeSettings(); // each command must write it again
    return form;
}

} // namespace

class TestForm1Options : public QObject {
    Q_OBJECT

private slots:
    void jumpPrompt_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("warningEntry"); // "33" or "40", "" for none
        QTest::addColumn<QString>("bound");
        QTest::newRow("1") << "1" << 2 << "40"
                           << " 2.";
        QTest::newRow("61") << "61" << 60 << "33"
                            << " 60.";
        QTest::newRow("cancel") << "" << 5 << ""
                                << "";
        QTest::newRow("10") << "10" << 10 << ""
                            << "";
        QTest::newRow("not a number") << "ten" << 5 << ""
                                      << "";
        QTest::newRow("2.5 rounds to even") << "2.5" << 2 << ""
                                            << "";
        QTest::newRow("blanks around") << "  12 " << 12 << ""
                                       << "";
        QTest::newRow("overflow keeps") << "99999999999" << 5 << ""
                                        << "";
        QTest::newRow("-3") << "-3" << 2 << "40"
                            << " 2.";
    }
    void jumpPrompt()
    {
        QFETCH(QString, answer);
        QFETCH(int, value);
        QFETCH(QString, warningEntry);
        QFETCH(QString, bound);
        PlayerRig rig;
        Form1 &form = startWith(rig, "5", "3");
        rig.fakes.inputs.answers = {answer};
        control<QAction>(form, "mnuSalto")->trigger();

        QCOMPARE(rig.fakes.inputs.asked.size(), 1);
        QCOMPARE(rig.fakes.inputs.asked[0].prompt, rig.T(34));
        QCOMPARE(rig.fakes.inputs.asked[0].title, rig.T(35));
        QCOMPARE(rig.fakes.inputs.asked[0].defaultText, QStringLiteral("5"));
        QCOMPARE(form.jumpSeconds(), value);
        if (warningEntry.isEmpty()) {
            QVERIFY(rig.fakes.messages.shown.isEmpty());
        } else {
            QCOMPARE(rig.fakes.messages.shown.size(), 1);
            const ShownMessage &m = rig.fakes.messages.shown[0];
            QCOMPARE(m.text, rig.T(warningEntry.toInt()) + bound);
            QCOMPARE(m.icon, MsgIcon::Exclamation);
            QCOMPARE(m.buttons, MsgButtons::Ok);
            QCOMPARE(m.title, rig.T(1));
        }
        QCOMPARE(rig.settingsLines().value(3), QString::number(value));
        QCOMPARE(rig.settingsLines().value(4), QStringLiteral("3"));
    }

    void jumpPromptDefaultIsAtLeast2()
    {
        PlayerRig rig;
        Form1 &form = startWith(rig, "0", "3");
        form.mnuSalto_Click();
        QCOMPARE(rig.fakes.inputs.asked.value(0).defaultText, QStringLiteral("2"));
        QCOMPARE(form.jumpSeconds(), 2);
        QCOMPARE(rig.settingsLines().value(3), QStringLiteral("2"));
    }

    void rewindPrompt_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("warningEntry");
        QTest::addColumn<QString>("bound");
        QTest::newRow("25") << "25" << 20 << "33"
                            << " 20.";
        QTest::newRow("-1") << "-1" << 0 << "40"
                            << " 0.";
        QTest::newRow("cancel gives 0") << "" << 0 << ""
                                        << "";
        QTest::newRow("3") << "3" << 3 << ""
                           << "";
        QTest::newRow("2.5") << "2.5" << 2 << ""
                             << "";
        QTest::newRow("3.5") << "3.5" << 4 << ""
                             << "";
        QTest::newRow("prefix") << " 7 seconds" << 7 << ""
                                << "";
        QTest::newRow("no number") << "abc" << 0 << ""
                                   << "";
        QTest::newRow("overflow keeps") << "40000" << 6 << ""
                                        << "";
        QTest::newRow("20") << "20" << 20 << ""
                            << "";
        QTest::newRow("20.5 to even") << "20.5" << 20 << ""
                                      << "";
        QTest::newRow("-0.5 to even") << "-0.5" << 0 << ""
                                      << "";
        QTest::newRow("-1.5") << "-1.5" << 0 << "40"
                              << " 0.";
    }
    void rewindPrompt()
    {
        QFETCH(QString, answer);
        QFETCH(int, value);
        QFETCH(QString, warningEntry);
        QFETCH(QString, bound);
        PlayerRig rig;
        Form1 &form = startWith(rig, "5", "6");
        rig.fakes.inputs.answers = {answer};
        control<QAction>(form, "mnuSecIndietro")->trigger();

        QCOMPARE(rig.fakes.inputs.asked.size(), 1);
        QCOMPARE(rig.fakes.inputs.asked[0].prompt, rig.T(31));
        QCOMPARE(rig.fakes.inputs.asked[0].title, rig.T(32));
        QCOMPARE(rig.fakes.inputs.asked[0].defaultText, QStringLiteral("6"));
        QCOMPARE(int(form.pauseRewindSeconds()), value);
        if (warningEntry.isEmpty()) {
            QVERIFY(rig.fakes.messages.shown.isEmpty());
        } else {
            QCOMPARE(rig.fakes.messages.shown.size(), 1);
            const ShownMessage &m = rig.fakes.messages.shown[0];
            QCOMPARE(m.text, rig.T(warningEntry.toInt()) + bound);
            QCOMPARE(m.icon, MsgIcon::Exclamation);
            QCOMPARE(m.title, rig.T(1));
        }
        QCOMPARE(rig.settingsLines().value(4), QString::number(value));
        QCOMPARE(rig.settingsLines().value(3), QStringLiteral("5"));
    }

    // An edited file may hold a negative or huge value; the prompt starts from
    // the nearest sensible one.
    void rewindPromptFromAnEditedValue()
    {
        PlayerRig rig;
        Form1 &form = startWith(rig, "5", "-4");
        rig.fakes.inputs.answers = {QStringLiteral("5")};
        form.mnuSecIndietro_Click();
        QCOMPARE(rig.fakes.inputs.asked.value(0).defaultText, QStringLiteral("0"));
        QCOMPARE(int(form.pauseRewindSeconds()), 5);
    }

    // The new value drives the next pause at once.
    void newRewindAppliesToTheNextPause()
    {
        PlayerRig rig;
        Form1 &form = startWith(rig, "5", "3");
        rig.openAt(QStringLiteral("a.wav"), 60000, 30000);
        rig.fakes.inputs.answers = {QStringLiteral("10")};
        form.mnuSecIndietro_Click();
        form.cmdPlay_Click();
        QCOMPARE(rig.engine->positionMs(), std::int64_t(20000));
        rig.fakes.inputs.answers = {QStringLiteral("7")};
        form.mnuSalto_Click();
        form.cmdAvanz_click();
        QCOMPARE(rig.engine->positionMs(), std::int64_t(27000));
    }
};

QTEST_MAIN(TestForm1Options)
#include "test_form1_options.moc"
