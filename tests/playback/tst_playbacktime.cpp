// The time the player's bar shows.
#include "playback/PlaybackTime.h"

#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

namespace tivora::playback {

class TestPlaybackTime final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void formatTime_data() {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << u"00:00:00"_s;
        QTest::newRow("fractions drop") << 59.99 << u"00:00:59"_s;
        QTest::newRow("hours, minutes, seconds") << 3723.4 << u"01:02:03"_s;
        QTest::newRow("past a hundred hours") << 360000.0 << u"100:00:00"_s;
        QTest::newRow("negative") << -5.0 << u"00:00:00"_s;
        QTest::newRow("unknown") << std::numeric_limits<double>::quiet_NaN() << u"00:00:00"_s;
    }

    void formatTime() {
        QFETCH(double, seconds);
        QTEST(playback::formatTime(seconds), "text");
    }
};

}  // namespace tivora::playback

QTEST_GUILESS_MAIN(tivora::playback::TestPlaybackTime)
#include "tst_playbacktime.moc"
