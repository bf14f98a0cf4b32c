#include "playback/PlaybackTime.h"
#include "playback/PlayerBar.h"
#include "support/FakeServices.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace tivora {

// While a film plays, position ticks come with every frame; the bar moves with the shown second
// then, yet shows a seek or a paused player's move at once.
class TestPlayerBar final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void positionTicksAreCoalescedWhilePlaying_data() {
        QTest::addColumn<bool>("paused");
        QTest::addColumn<double>("step");
        QTest::addColumn<double>("shown");
        // Ten ticks from 100.5 s; the bar shows the first tick of each second.
        QTest::newRow("playing: ticks within the second wait") << false << 0.04 << 100.5;
        QTest::newRow("playing: the next second is shown") << false << 0.06 << 101.04;
        QTest::newRow("playing: a seek is shown at once") << false << 1.5 << 115.5;
        QTest::newRow("playing: a seek back is shown at once") << false << -5.0 << 50.5;
        QTest::newRow("paused: a frame step is shown at once") << true << 0.04 << 100.9;
    }

    void positionTicksAreCoalescedWhilePlaying() {
        QFETCH(bool, paused);
        QFETCH(double, step);
        QFETCH(double, shown);
        QStringList log;
        QWidget host;
        test::FakePlayer player(log, &host);
        player.duration_ = 120;
        PlayerBar bar(player, &host);
        // Wide enough that every tick moves the handle.
        bar.resize(4000, 40);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        player.setSource(u"/films/a.mp4"_s);
        player.play();
        player.seekTo(100.5);
        player.setPaused(paused);
        for (int tick = 1; tick <= 10; ++tick) {
            player.seekTo(100.5 + tick * step);
        }
        QCOMPARE(bar.timeText(), playback::formatTime(shown) + u" / 00:02:00"_s);
        QCOMPARE(bar.seekSlider()->value(), qRound(shown * 1000));
    }
};

}  // namespace tivora

QTEST_MAIN(tivora::TestPlayerBar)
#include "tst_playerbar.moc"
