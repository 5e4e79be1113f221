#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <iterator>

namespace {

// Pictures are stored at twice the size of the control that shows them.
constexpr int storedScale = 2;
const QRgb windowBackground = qRgb(0xf0, 0xf0, 0xf0);

struct Expected {
    const char *name;
    QSize designSize; // pixels, from the controls' twips / 15
};

const Expected expectedPictures[] = {
    {"play.jpg", {48, 49}},     {"play2.jpg", {48, 49}}, {"pause.jpg", {48, 49}},
    {"pause2.jpg", {48, 49}},   {"bac.jpg", {31, 32}},   {"bac2.jpg", {31, 32}},
    {"stop.jpg", {31, 32}},     {"stop2.jpg", {31, 32}}, {"for.jpg", {31, 32}},
    {"for2.jpg", {31, 32}},     {"Apri.bmp", {44, 38}},  {"Apri2.bmp", {44, 38}},
    {"Image4.png", {238, 56}},  {"knob.bmp", {25, 13}},  {"track.bmp", {6, 80}},
    {"toolbar.bmp", {556, 26}},
};

const char *const hoverPairs[][2] = {
    {"play.jpg", "play2.jpg"}, {"pause.jpg", "pause2.jpg"}, {"bac.jpg", "bac2.jpg"},
    {"stop.jpg", "stop2.jpg"}, {"for.jpg", "for2.jpg"},     {"Apri.bmp", "Apri2.bmp"},
};

QString checkedIn(const QString &name)
{
    return QDir(QUILLORY_PICTURES_DIR).filePath(name);
}

double meanGrey(const QImage &image)
{
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += qGray(image.pixel(x, y));
    return sum / (double(image.width()) * image.height());
}

bool columnHasInk(const QImage &image, int x)
{
    for (int y = 0; y < image.height(); ++y)
        if (image.pixel(x, y) != windowBackground)
            return true;
    return false;
}

} // namespace

class PicturesTest : public QObject {
    Q_OBJECT

private slots:
    void storedPictureLoadsAtTwiceDesignSize_data();
    void storedPictureLoadsAtTwiceDesignSize();
    void hoverPictureIsLighterVersion_data();
    void hoverPictureIsLighterVersion();
    void bitmapsAre24Bit_data();
    void bitmapsAre24Bit();
    void toolbarIconsSitUnderTheirClickAreas();
    void generatorReproducesTheCheckedInSet();
};

void PicturesTest::storedPictureLoadsAtTwiceDesignSize_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("designSize");
    for (const Expected &e : expectedPictures)
        QTest::newRow(e.name) << QString(e.name) << e.designSize;
}

void PicturesTest::storedPictureLoadsAtTwiceDesignSize()
{
    QFETCH(QString, name);
    QFETCH(QSize, designSize);
    QVERIFY2(QFile::exists(checkedIn(name)), qPrintable(checkedIn(name)));
    const QImage image(checkedIn(name));
    QVERIFY2(!image.isNull(), "picture does not load");
    QCOMPARE(image.size(), designSize * storedScale);
    // The window shows the picture without a frame: its corner must match the
    // window background (JPEG may shift it a little).
    const QRgb corner = image.pixel(0, 0);
    QVERIFY2(qAbs(qGray(corner) - qGray(windowBackground)) <= 6, "corner is not window grey");
}

void PicturesTest::hoverPictureIsLighterVersion_data()
{
    QTest::addColumn<QString>("normal");
    QTest::addColumn<QString>("hover");
    for (const auto &pair : hoverPairs)
        QTest::newRow(pair[1]) << QString(pair[0]) << QString(pair[1]);
}

void PicturesTest::hoverPictureIsLighterVersion()
{
    QFETCH(QString, normal);
    QFETCH(QString, hover);
    const QImage normalImage = QImage(checkedIn(normal)).convertToFormat(QImage::Format_RGB32);
    const QImage hoverImage = QImage(checkedIn(hover)).convertToFormat(QImage::Format_RGB32);
    QVERIFY(!normalImage.isNull() && !hoverImage.isNull());
    QCOMPARE(hoverImage.size(), normalImage.size());
    QVERIFY2(hoverImage != normalImage, "hover picture equals the normal picture");
    const double normalGrey = meanGrey(normalImage);
    const double hoverGrey = meanGrey(hoverImage);
    QVERIFY2(hoverGrey > normalGrey + 1.0,
             qPrintable(QString("hover %1 vs normal %2").arg(hoverGrey).arg(normalGrey)));
}

void PicturesTest::bitmapsAre24Bit_data()
{
    QTest::addColumn<QString>("name");
    for (const Expected &e : expectedPictures)
        if (QString(e.name).endsWith(".bmp"))
            QTest::newRow(e.name) << QString(e.name);
}

void PicturesTest::bitmapsAre24Bit()
{
    QFETCH(QString, name);
    QFile file(checkedIn(name));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray header = file.read(30);
    QCOMPARE(header.left(2), QByteArray("BM"));
    const int bitsPerPixel = quint8(header.at(28)) | (quint8(header.at(29)) << 8);
    QCOMPARE(bitsPerPixel, 24);
}

void PicturesTest::toolbarIconsSitUnderTheirClickAreas()
{
    // Click areas of the editor's bar: lefts in twips, strip left at 150 twips,
    // areas at least 29 px wide; the window cuts the strip to 6915 twips wide.
    const int areaLeftsTwips[] = {150, 570, 1050, 1440, 3780, 4230, 4680, 5160, 5610, 6060, 6600};
    const int stripLeftTwips = 150;
    const int areaWidth = 29;
    const int visibleWidth = 6915 / 15;

    const QImage strip = QImage(checkedIn("toolbar.bmp")).convertToFormat(QImage::Format_RGB32);
    QVERIFY(!strip.isNull());

    QVector<bool> insideArea(visibleWidth * storedScale, false);
    for (int leftTwips : areaLeftsTwips) {
        const int left = (leftTwips - stripLeftTwips) / 15 * storedScale;
        const int right = left + areaWidth * storedScale;
        int firstInk = right;
        int lastInk = -1;
        for (int x = left; x < right; ++x) {
            insideArea[x] = true;
            if (columnHasInk(strip, x)) {
                firstInk = std::min(firstInk, x);
                lastInk = x;
            }
        }
        // An icon centred under its area starts in the area's first third and
        // ends in its last third; neighbours overlapping the edges cannot.
        const int third = (right - left) / 3;
        QVERIFY2(firstInk < left + third && lastInk >= right - third,
                 qPrintable(QString("icon not centred under area at %1 twips").arg(leftTwips)));
    }
    // Ink outside every area would show up beside the wrong command, or under
    // the letter labels of the empty stretch.
    for (int x = 0; x < visibleWidth * storedScale; ++x)
        QVERIFY2(insideArea[x] || !columnHasInk(strip, x),
                 qPrintable(QString("ink outside the click areas at x=%1").arg(x)));

    int hiddenInk = 0;
    for (int x = visibleWidth * storedScale; x < strip.width(); ++x)
        hiddenInk += columnHasInk(strip, x) ? 1 : 0;
    QVERIFY2(hiddenInk >= 3 * 16, "the three icons beyond the cut are missing");
}

void PicturesTest::generatorReproducesTheCheckedInSet()
{
    QTemporaryDir output;
    QVERIFY(output.isValid());
    QProcess generator;
    generator.start(QStringLiteral(MAKE_PICTURES_TOOL), {output.path()});
    QVERIFY2(generator.waitForFinished(60000), qPrintable(generator.errorString()));
    QCOMPARE(generator.exitStatus(), QProcess::NormalExit);
    QVERIFY2(generator.exitCode() == 0, generator.readAllStandardError().constData());

    const QStringList generated = QDir(output.path()).entryList(QDir::Files);
    QCOMPARE(generated.size(), int(std::size(expectedPictures)));
    for (const QString &name : generated) {
        const QImage fresh(QDir(output.path()).filePath(name));
        const QImage stored(checkedIn(name));
        QVERIFY2(!stored.isNull(), qPrintable(name + " is generated but not checked in"));
        QVERIFY2(fresh.size() == stored.size(), qPrintable(name + " changed size"));
    }
}

QTEST_GUILESS_MAIN(PicturesTest)
#include "test_pictures.moc"
