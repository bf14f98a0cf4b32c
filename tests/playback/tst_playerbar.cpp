#include "playback/PlaybackTime.h"
#include "playback/PlayerBar.h"
#include "support/FakeServices.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace tivora {

// While a film plays, position ticks come with every frame; the bar repaints at most a few times
// a second then, yet shows a seek or a paused player's move at once.
class TestPlayerBar final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void positionTicksAreCoalescedWhilePlaying_data() {
        QTest::addColumn<bool>("paused");
        QTest::addColumn<double>("step");
        QTest::addColumn<bool>("shownAtOnce");
        QTest::newRow("playing: frame ticks wait") << false << 0.04 << false;
        QTest::newRow("playing: a seek is shown at once") << false << 30.0 << true;
        QTest::newRow("playing: a seek back is shown at once") << false << -5.0 << true;
        QTest::newRow("paused: a frame step is shown at once") << true << 0.04 << true;
    }

    void positionTicksAreCoalescedWhilePlaying() {
        QFETCH(bool, paused);
        QFETCH(double, step);
        QFETCH(bool, shownAtOnce);
        QStringList log;
        QWidget host;
        test::FakePlayer player(log, &host);
        PlayerBar bar(player, &host);
        host.resize(640, 40);
        bar.resize(640, 40);
        player.setSource(u"/films/a.mp4"_s);
        player.play();
        player.seekTo(100);
        player.setPaused(paused);
        // The tick after a shown position comes within the interval.
        player.seekTo(100.5);
        QSignalSpy moves(bar.seekSlider(), &QSlider::valueChanged);
        double at = 100.5;
        for (int tick = 0; tick < 10; ++tick) {
            at += step;
            player.seekTo(at);
        }
        const QString expected = playback::formatTime(at) + u" / 01:30:00"_s;
        if (shownAtOnce) {
            QCOMPARE(bar.timeText(), expected);
            QCOMPARE(bar.seekSlider()->value(), qRound(at * 1000));
        } else {
            QVERIFY(moves.count() <= 1);
            // The last tick is shown within the interval, without a further tick.
            QTRY_COMPARE_WITH_TIMEOUT(bar.timeText(), expected, PlayerBar::kPositionIntervalMs * 4);
        }
    }
};

}  // namespace tivora

QTEST_MAIN(tivora::TestPlayerBar)
#include "tst_playerbar.moc"
