#include "video/video_placement.h"
#include "video/video_tracks.h"

#include <QtTest>

using namespace quillory;

namespace {

QVariantMap track(const char *type, qint64 id, bool selected, bool albumart = false)
{
    return QVariantMap{{"type", QString::fromLatin1(type)},
                       {"id", id},
                       {"selected", selected},
                       {"albumart", albumart},
                       {"demux-w", 320},
                       {"demux-h", 240},
                       {"codec", QStringLiteral("h264")}};
}

} // namespace

class TestVideoRules : public QObject {
    Q_OBJECT
private slots:
    void pictureTrackSkipsSoundAndCoverArt()
    {
        QVERIFY(!pictureTrackOf({}).present);
        QVERIFY(!pictureTrackOf({track("audio", 1, true)}).present);
        QVERIFY(!pictureTrackOf({track("audio", 1, true), track("video", 1, true, true)}).present);
        QVariantMap attached = track("video", 1, false);
        attached.insert("image", true); // an attached picture not flagged as album art
        QVERIFY(!pictureTrackOf({attached}).present);

        const PictureTrack picture =
            pictureTrackOf({track("audio", 1, true), track("video", 2, true)});
        QVERIFY(picture.present && picture.selected);
        QCOMPARE(picture.id, 2);
        QCOMPARE(picture.size, QSize(320, 240));
        QCOMPARE(picture.codec, QStringLiteral("h264"));
    }

    void selectedTrackWinsAndFailureShows()
    {
        // A second video track that is being decoded is the one shown.
        PictureTrack picture = pictureTrackOf({track("video", 1, false), track("video", 2, true)});
        QCOMPARE(picture.id, 2);
        QVERIFY(picture.selected);
        // Present but not decoded (switched off, or the decoder failed).
        picture = pictureTrackOf({track("video", 1, false), track("audio", 1, true)});
        QVERIFY(picture.present && !picture.selected);
        QCOMPARE(picture.id, 1);
    }

    void placedBesideWithoutCovering()
    {
        const QRect screen(0, 0, 1280, 800);
        const QRect player(0, 0, 700, 120);
        const QRect editor(0, 130, 700, 500);
        const QRect spot = placeBeside(screen, {player, editor}, QSize(480, 360), QSize(160, 120));
        QVERIFY(screen.contains(spot));
        QVERIFY(!spot.intersects(player) && !spot.intersects(editor));
        QCOMPARE(spot.size(), QSize(480, 360));
    }

    void shrinksOrCoversLeastWhenCrowded()
    {
        const QRect screen(0, 0, 1024, 768);
        // Little room to the right: a smaller window of the same shape fits there.
        const QRect wide(0, 0, 800, 768);
        QRect spot = placeBeside(screen, {wide}, QSize(480, 360), QSize(160, 120));
        QVERIFY(!spot.intersects(wide));
        QVERIFY(screen.contains(spot));
        QVERIFY(spot.width() <= 224 && spot.width() >= 160);
        QVERIFY(qAbs(spot.width() * 3 - spot.height() * 4) <= 8);
        // No room at all: inside the screen, at the minimum size.
        spot = placeBeside(screen, {screen}, QSize(480, 360), QSize(160, 120));
        QVERIFY(screen.contains(spot));
        QCOMPARE(spot.size(), QSize(160, 120));
    }

    void rememberedGeometryIsChecked()
    {
        const QRect screen(0, 0, 1280, 800);
        const QRect geometry(900, 40, 360, 270);
        QCOMPARE(geometryFromText(geometryToText(geometry), screen), geometry);
        QCOMPARE(geometryFromText(" 900, 40 ,360,270", screen), geometry);
        for (const char *bad : {"", "1,2,3", "a,b,c,d", "0,0,10,10", "5000,5000,400,300",
                                "0,0,99999,300", "1,2,3,4,5"})
            QVERIFY2(geometryFromText(QString::fromLatin1(bad), screen).isEmpty(), bad);
    }
};

QTEST_GUILESS_MAIN(TestVideoRules)
#include "test_video_rules.moc"
