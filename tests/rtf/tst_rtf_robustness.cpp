// Damaged and hostile input: no crash, no hang, bounded output.

#include "rtf/rtf_writer.h"
#include "rtf_parse_check.h"
#include "rtf_test_support.h"

#include <QTest>

#include <random>

using namespace quillory;
using namespace quillory::test;

namespace {

const QByteArray kSeeds[] = {
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}{\\f1\\fnil"
    "\\fcharset2 Symbol;}}{\\colortbl ;\\red255\\green0\\blue0;}\\viewkind4\\uc1\\pard\\qc\\b"
    "\\f0\\fs28 Title\\b0\\par\\pard{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0"
    "{\\pntxtb\\'B7}}\\fi-360\\li720\\cf1 caf\\u233\\'e9 \\u-10179?\\u-8704?\\par}",
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fcharset128 Mincho;}}{\\stylesheet{\\s0 Normal;}}"
    "{\\info{\\title t}}\\pard\\plain\\ls1{\\listtext\\'b7\\tab}\\f0\\'82\\'a0{\\field{\\*"
    "\\fldinst HYPERLINK x}{\\fldrslt {\\ul link}}}\\cell x\\row{\\*\\bin3 {}}\\uc2\\u8364 "
    "ab\\par}",
    "{\\rtf1 {\\pard \\ql \\f0 \\sa180 Some {\\b bold} \\emdash\\~\\-\\_ {\\i it}\\line x\\tab y"
    "\\par}{\\pict\\pngblip 0a0b}{\\header h}\\'\\'zz\\u\\fs\\cf99\\f-5\\strike\\ul0 z}",
};

const char *const kFragments[] = {
    "{",        "}",
    "\\",       "\\'",
    "\\'e9",    "\\u-10179?",
    "\\uc5 ",   "\\bin3 ",
    "\\par ",   "\\fs99999999999 ",
    "\\*",      "{\\fonttbl{\\f1\\fcharset204 X;}}",
    "\\pn ",    "\\cell ",
    "\\row ",   "\\f1 ",
    "\\cf2 ",   "{\\colortbl;\\red9;}",
    "\\pard ",  "\\plain ",
    "\\line ",  "\\u65532?",
    "\\u8233?", "\\'0a",
};

QByteArray mutate(QByteArray data, std::mt19937 &random)
{
    auto pick = [&random](qsizetype bound) {
        return qsizetype(
            std::uniform_int_distribution<long long>(0, std::max<long long>(0, bound))(random));
    };
    const int mutations = 1 + int(pick(3));
    for (int m = 0; m < mutations; ++m) {
        const qsizetype at = pick(data.size());
        switch (pick(5)) {
        case 0:
            if (at < data.size())
                data[at] = char(pick(255));
            break;
        case 1:
            data.truncate(at);
            break;
        case 2:
            data.insert(at, kFragments[pick(std::size(kFragments) - 1)]);
            break;
        case 3:
            data.remove(at, pick(16));
            break;
        case 4:
            data.insert(at, data.mid(pick(data.size()), pick(32)));
            break;
        default:
            data.insert(at, pick(1) ? '{' : '}');
            break;
        }
    }
    return data;
}

} // namespace

class RtfRobustnessTest : public QObject {
    Q_OBJECT

private slots:
    void deepNestingIsFlattened();
    void unclosedDeepNestingIsReportedAsTruncated();
    void everyTruncationIsReported();
    void hostileInput_data();
    void hostileInput();
    void binaryJunk();
    void seededMutationsKeepInvariants();
};

void RtfRobustnessTest::deepNestingIsFlattened()
{
    constexpr int depth = 100000;
    const QByteArray rtf =
        "{\\rtf1 " + QByteArray(depth, '{') + "\\b x" + QByteArray(depth, '}') + "y}";
    QTextDocument doc;
    QVERIFY(readRtf(rtf, &doc));
    QCOMPARE(doc.toPlainText(), QStringLiteral("xy"));
    QVERIFY(!runWith(formatRuns(doc), "y").bold);
}

void RtfRobustnessTest::unclosedDeepNestingIsReportedAsTruncated()
{
    QTextDocument doc;
    QString error;
    QVERIFY(!readRtf("{\\rtf1 " + QByteArray(100000, '{') + "text", &doc, &error));
    QVERIFY(error.contains(QLatin1String("100001")));
    QCOMPARE(doc.toPlainText(), QStringLiteral("text"));
}

void RtfRobustnessTest::everyTruncationIsReported()
{
    QTextDocument source;
    readRtf(kSeeds[0], &source);
    const QByteArray rtf = writeRtf(source);
    for (qsizetype length = 6; length < rtf.size(); ++length) {
        QTextDocument doc;
        const QByteArray prefix = rtf.left(length);
        QVERIFY2(!readRtf(prefix, &doc) || prefix.trimmed().endsWith('}'), prefix.constData());
        QVERIFY(doc.characterCount() <= length + 1);
    }
}

void RtfRobustnessTest::hostileInput_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("complete");
    QTest::newRow("bin longer than the data")
        << QByteArray("{\\rtf1 a\\bin99999999999 xyz}") << QStringLiteral("a") << false;
    QTest::newRow("bin payload holds braces")
        << QByteArray("{\\rtf1 a{\\*\\blob\\bin4 }}{{}b}") << QStringLiteral("ab") << true;
    QTest::newRow("negative bin") << QByteArray("{\\rtf1 a\\bin-5 b}") << QStringLiteral("ab")
                                  << true;
    QTest::newRow("stray closing braces")
        << QByteArray("{\\rtf1 a}}}b") << QStringLiteral("a") << true;
    QTest::newRow("huge skip count")
        << QByteArray("{\\rtf1\\uc2147483647 \\u233 abcdefghijklmnopqrstuvwxyz}")
        << QStringLiteral("\u00e9qrstuvwxyz") << true; // \uc is capped at 16
    QTest::newRow("huge indexes") << QByteArray("{\\rtf1\\f2147483647\\cf-2147483648\\deff99 x}")
                                  << QStringLiteral("x") << true;
    QTest::newRow("backslash at the end")
        << QByteArray("{\\rtf1 x\\") << QStringLiteral("x") << false;
    QTest::newRow("broken hex escape")
        << QByteArray("{\\rtf1 \\'zz\\'4}") << QStringLiteral("zz4") << true;
    QTest::newRow("endless control word")
        << QByteArray("{\\rtf1 \\" + QByteArray(100000, 'a') + " x}") << QStringLiteral("x")
        << true;
    QTest::newRow("control characters")
        << QByteArray("{\\rtf1 a\x01\x1f\\'0d\\'0a\\u0?b}") << QStringLiteral("ab") << true;
}

void RtfRobustnessTest::hostileInput()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QFETCH(bool, complete);
    QTextDocument doc;
    QCOMPARE(readRtf(rtf, &doc), complete);
    QCOMPARE(doc.toPlainText(), text);
    QCOMPARE(checkParse(rtf), QString());
}

void RtfRobustnessTest::binaryJunk()
{
    std::mt19937 random(7);
    QByteArray junk = "{\\rtf1 ";
    for (int i = 0; i < 65536; ++i)
        junk += char(random() & 0xFF);
    QCOMPARE(checkParse(junk), QString());
}

void RtfRobustnessTest::seededMutationsKeepInvariants()
{
    // QUILLORY_RTF_MUTATION_ROUNDS and _SEED allow longer runs by hand.
    const int rounds = qEnvironmentVariableIntValue("QUILLORY_RTF_MUTATION_ROUNDS") > 0
                           ? qEnvironmentVariableIntValue("QUILLORY_RTF_MUTATION_ROUNDS")
                           : 20000;
    std::mt19937 random(qEnvironmentVariableIsSet("QUILLORY_RTF_MUTATION_SEED")
                            ? qEnvironmentVariableIntValue("QUILLORY_RTF_MUTATION_SEED")
                            : 20240517);
    for (int i = 0; i < rounds; ++i) {
        const QByteArray input = mutate(kSeeds[i % std::size(kSeeds)], random);
        const QString failure = checkParse(input);
        if (!failure.isEmpty())
            QFAIL(qPrintable(QStringLiteral("round %1: %2\ninput: %3")
                                 .arg(i)
                                 .arg(failure, QString::fromLatin1(input.toPercentEncoding()))));
    }
}

QTEST_MAIN(RtfRobustnessTest)
#include "tst_rtf_robustness.moc"
