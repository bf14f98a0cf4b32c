// Track names in Chinese from language and title tags, and screenshot file names.
#include "playback/PlayerActions.h"
#include "playback/TrackNames.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace tivora {

class TestTrackNames final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void trackNames_data() {
        QTest::addColumn<MediaTrack::Kind>("kind");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("name");
        const auto audio = MediaTrack::Kind::Audio;
        const auto subtitle = MediaTrack::Kind::Subtitle;
        QTest::newRow("cantonese") << audio << 2 << u"yue"_s << QString() << u"音轨 2（粤语）"_s;
        QTest::newRow("simplified")
            << subtitle << 1 << u"chs"_s << QString() << u"字幕 1（简体中文）"_s;
        QTest::newRow("traditional")
            << subtitle << 2 << u"CHT"_s << QString() << u"字幕 2（繁体中文）"_s;
        QTest::newRow("chinese") << subtitle << 3 << u"chi"_s << QString() << u"字幕 3（中文）"_s;
        QTest::newRow("zh with region")
            << subtitle << 4 << u"zh_TW"_s << QString() << u"字幕 4（繁体中文）"_s;
        QTest::newRow("english with region")
            << audio << 1 << u"en-US"_s << QString() << u"音轨 1（英语）"_s;
        QTest::newRow("japanese and title")
            << audio << 3 << u"jpn"_s << u"导演评论"_s << u"音轨 3（日语，导演评论）"_s;
        QTest::newRow("korean") << audio << 4 << u"kor"_s << QString() << u"音轨 4（韩语）"_s;
        QTest::newRow("unknown tag kept")
            << audio << 5 << u"tlh"_s << QString() << u"音轨 5（tlh）"_s;
        QTest::newRow("no tags") << subtitle << 6 << QString() << QString() << u"字幕 6"_s;
        QTest::newRow("undetermined") << audio << 7 << u"und"_s << QString() << u"音轨 7"_s;
        QTest::newRow("title only")
            << audio << 8 << QString() << u"Stereo"_s << u"音轨 8（Stereo）"_s;
        QTest::newRow("broken tags")
            << audio << 9 << u"\u0001\u0007"_s << u"a\u0000b\tc"_s << u"音轨 9（abc）"_s;
        QTest::newRow("long title cut") << audio << 10 << QString() << QString(60, u'x')
                                        << u"音轨 10（"_s + QString(40, u'x') + u"…）"_s;
        QTest::newRow("title repeating the language")
            << subtitle << 11 << u"eng"_s << u"英语"_s << u"字幕 11（英语）"_s;
    }

    void trackNames() {
        QFETCH(MediaTrack::Kind, kind);
        QFETCH(int, id);
        QFETCH(QString, language);
        QFETCH(QString, title);
        QFETCH(QString, name);
        MediaTrack track;
        track.kind = kind;
        track.id = id;
        track.language = language;
        track.title = title;
        QCOMPARE(playback::trackName(track), name);
    }

    void screenshotNames_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("name");
        QTest::newRow("film") << u"第一集.rmvb"_s << 83.456 << u"第一集 00-01-23.456.png"_s;
        QTest::newRow("hours") << u"film.mkv"_s << 3723.0 << u"film 01-02-03.000.png"_s;
        QTest::newRow("unsafe characters")
            << u"a:b*c?.mp4"_s << 0.0 << u"a_b_c_ 00-00-00.000.png"_s;
        QTest::newRow("no title") << QString() << 1.5 << u"截图 00-00-01.500.png"_s;
        QTest::newRow("negative time") << u"x.mp4"_s << -3.0 << u"x 00-00-00.000.png"_s;
    }

    void screenshotNames() {
        QFETCH(QString, title);
        QFETCH(double, seconds);
        QFETCH(QString, name);
        QCOMPARE(PlayerActions::screenshotName(title, seconds), name);
    }
};

}  // namespace tivora

QTEST_MAIN(tivora::TestTrackNames)
#include "tst_tracknames.moc"
