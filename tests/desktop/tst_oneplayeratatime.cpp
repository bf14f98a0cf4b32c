// Only one film plays at a time, against players that report their state late, as mpv does.
#include "desktop/OnePlayerAtATime.h"
#include "forms/PlayerControl.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

// Takes a pause or a start as mpv does: the state it reports changes only once it has shown.
class LatePlayer final : public PlayerControl {
    Q_OBJECT

public:
    using PlayerControl::PlayerControl;

    void stop() override {}
    void setSource(const QString& /*path*/) override {}
    void play() override {
        hasFile_ = true;
        asked_ = false;
    }
    [[nodiscard]] QWidget* widget() const override { return nullptr; }
    void setPaused(bool paused) override { asked_ = paused; }
    void seekTo(double /*seconds*/) override {}
    void setVolume(int /*percent*/) override {}
    void setMuted(bool /*muted*/) override {}
    void setSubtitlesShown(bool /*shown*/) override {}
    [[nodiscard]] bool hasFile() const override { return hasFile_; }
    [[nodiscard]] bool isPaused() const override { return paused_; }
    [[nodiscard]] double position() const override { return 0; }
    [[nodiscard]] double duration() const override { return 0; }
    [[nodiscard]] int volume() const override { return 100; }
    [[nodiscard]] bool isMuted() const override { return false; }
    [[nodiscard]] bool subtitlesShown() const override { return false; }

    // A state report from before the last request showed.
    void reportEarlierState() { Q_EMIT stateChanged(); }
    // The last request shows.
    void settle() {
        paused_ = asked_;
        Q_EMIT stateChanged();
    }

private:
    bool hasFile_ = false;
    bool paused_ = false;
    bool asked_ = false;
};

}  // namespace

class TestOnePlayerAtATime final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startPausesTheOtherEvenWhenItsPauseShowsLate_data() {
        QTest::addColumn<QString>("events");  // the first player, then the second, in turn
        QTest::newRow("pause shows at once") << u"1 2 1= 2="_s;
        QTest::newRow("earlier state before the pause") << u"1 2 1~ 1= 2="_s;
        QTest::newRow("several earlier states") << u"1 2 1~ 2= 1~ 1~ 1="_s;
    }

    void startPausesTheOtherEvenWhenItsPauseShowsLate() {
        QFETCH(QString, events);
        OnePlayerAtATime rule;
        LatePlayer first;
        LatePlayer second;
        rule.add(&first);
        rule.add(&second);
        LatePlayer* players[] = {&first, &second};
        for (const QString& event : events.split(u' ')) {
            LatePlayer& player = *players[event.at(0).digitValue() - 1];
            if (event.size() == 1) {
                player.play();
                player.settle();
            } else if (event.at(1) == u'~') {
                player.reportEarlierState();
            } else {
                player.settle();
            }
        }
        QVERIFY(first.isPaused());
        QVERIFY(!second.isPaused());
        // The paused one played again takes over.
        first.setPaused(false);
        first.settle();
        second.reportEarlierState();
        second.settle();
        QVERIFY(!first.isPaused());
        QVERIFY(second.isPaused());
    }
};

}  // namespace tivora

QTEST_GUILESS_MAIN(tivora::TestOnePlayerAtATime)
#include "tst_oneplayeratatime.moc"
