#include "playback/PlayerActions.h"

#include "forms/Logging.h"
#include "playback/TrackNames.h"

#include <QActionGroup>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

constexpr double kSpeedTolerance = 0.001;

QString encodingLabel(const QString& encoding) {
    return encoding.isEmpty() ? u"自动"_s : encoding;
}

}  // namespace

const std::array<QString, 4> PlayerActions::kEncodings{QString(), u"GBK"_s, u"BIG5"_s, u"UTF-8"_s};

PlayerActions::PlayerActions(PlayerControl& player, QObject* parent)
    : QObject(parent), player_(player) {}

QString PlayerActions::speedText(double rate) {
    return QString::number(rate, 'g', 3) + u"×"_s;
}

void PlayerActions::shiftSubtitleDelay(double seconds) {
    if (!player_.hasFile()) {
        return;
    }
    // Whole tenths, so that repeated steps never drift.
    const double delay = std::round((player_.subtitleDelay() + seconds) * 10) / 10;
    player_.setSubtitleDelay(delay);
    player_.showMessage(u"字幕延迟 %1%2 秒"_s.arg(delay > 0 ? u"+"_s : QString())
                            .arg(QString::number(delay, 'f', 1)));
}

void PlayerActions::stepSpeed(int direction) {
    if (direction == 0) {
        setSpeed(1);
        return;
    }
    const double now = player_.speed();
    double next = now;
    if (direction > 0) {
        const auto* faster = std::ranges::find_if(
            kSpeeds, [now](double rate) { return rate > now + kSpeedTolerance; });
        next = faster == kSpeeds.end() ? kSpeeds.back() : *faster;
    } else {
        next = kSpeeds.front();
        for (const double rate : kSpeeds) {
            if (rate < now - kSpeedTolerance) {
                next = rate;
            }
        }
    }
    setSpeed(next);
}

void PlayerActions::setSpeed(double rate) {
    if (player_.setSpeed(rate)) {
        player_.showMessage(u"播放速度 "_s + speedText(player_.speed()));
    }
}

void PlayerActions::stepFrame(bool forward) {
    if (player_.hasFile() && player_.isPaused()) {
        player_.stepFrame(forward);
    }
}

void PlayerActions::selectTrack(MediaTrack::Kind kind, int id) {
    if (!player_.selectTrack(kind, id)) {
        return;
    }
    if (id == 0) {
        player_.showMessage(kind == MediaTrack::Kind::Audio ? u"声音已关闭"_s : u"字幕已关闭"_s);
        return;
    }
    const QList<MediaTrack> tracks = player_.tracks();
    const auto track = std::ranges::find_if(
        tracks, [&](const MediaTrack& one) { return one.kind == kind && one.id == id; });
    if (track != tracks.end()) {
        player_.showMessage(playback::trackName(*track));
    }
}

void PlayerActions::setSubtitleEncoding(const QString& encoding) {
    player_.setSubtitleEncoding(encoding);
    player_.showMessage(u"字幕编码："_s + encodingLabel(encoding));
}

void PlayerActions::setHardwareDecoding(bool on) {
    player_.setHardwareDecoding(on);
    player_.showMessage(on ? u"硬件解码：开"_s : u"硬件解码：关"_s);
    Q_EMIT hardwareDecodingChanged(on);
}

QString PlayerActions::screenshotFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (folder.isEmpty()) {
        folder = QDir::homePath();
    }
    return folder;
}

QString PlayerActions::screenshotName(const QString& title, double seconds) {
    QString film = QFileInfo(title).completeBaseName();
    if (film.isEmpty()) {
        film = title;
    }
    static const QString kUnsafe = u"\\/:*?\"<>|"_s;
    for (QChar& c : film) {
        if (kUnsafe.contains(c) || c.category() == QChar::Other_Control) {
            c = u'_';
        }
    }
    film = film.trimmed();
    if (film.isEmpty()) {
        film = u"截图"_s;
    }
    const auto milliseconds = static_cast<qint64>(std::llround(std::max(seconds, 0.0) * 1000));
    const qint64 totalSeconds = milliseconds / 1000;
    return u"%1 %2-%3-%4.%5.png"_s.arg(film)
        .arg(totalSeconds / 3600, 2, 10, QChar(u'0'))
        .arg(totalSeconds / 60 % 60, 2, 10, QChar(u'0'))
        .arg(totalSeconds % 60, 2, 10, QChar(u'0'))
        .arg(milliseconds % 1000, 3, 10, QChar(u'0'));
}

QString PlayerActions::takeScreenshot() {
    if (!player_.hasFile()) {
        return {};
    }
    const QString folder = screenshotFolder();
    if (!QDir().mkpath(folder)) {
        qCWarning(lcPlayer).noquote() << u"the pictures folder %1 cannot be made"_s.arg(folder);
    }
    const QString name = screenshotName(player_.mediaTitle(), player_.position());
    QString path = QDir(folder).filePath(name);
    for (int copy = 2; QFileInfo::exists(path); ++copy) {
        path = QDir(folder).filePath(name.chopped(4) + u" (%1).png"_s.arg(copy));
    }
    if (!player_.saveScreenshot(path)) {
        player_.showMessage(u"截图失败"_s);
        return {};
    }
    player_.showMessage(u"截图已保存"_s);
    Q_EMIT screenshotSaved(path);
    return path;
}

void PlayerActions::addTrackEntries(QMenu& menu, MediaTrack::Kind kind) {
    const bool audio = kind == MediaTrack::Kind::Audio;
    QMenu* sub = menu.addMenu(audio ? u"音轨"_s : u"字幕"_s);
    auto* group = new QActionGroup(sub);
    bool anySelected = false;
    bool any = false;
    for (const MediaTrack& track : player_.tracks()) {
        if (track.kind != kind) {
            continue;
        }
        any = true;
        QAction* action = sub->addAction(playback::trackName(track));
        action->setCheckable(true);
        action->setChecked(track.selected);
        action->setActionGroup(group);
        anySelected = anySelected || track.selected;
        const int id = track.id;
        connect(action, &QAction::triggered, this, [this, kind, id] { selectTrack(kind, id); });
    }
    if (!audio) {
        QAction* off = sub->addAction(u"不显示字幕"_s);
        off->setCheckable(true);
        off->setChecked(any && !anySelected);
        off->setActionGroup(group);
        off->setEnabled(any);
        connect(off, &QAction::triggered, this,
                [this] { selectTrack(MediaTrack::Kind::Subtitle, 0); });
        sub->addSeparator();
        QAction* load = sub->addAction(u"加载字幕文件…"_s);
        load->setEnabled(player_.hasFile());
        connect(load, &QAction::triggered, this, &PlayerActions::subtitleFileRequested);
    } else if (!any) {
        sub->addAction(u"（没有音轨）"_s)->setEnabled(false);
    }
}

void PlayerActions::fillTrackMenu(QMenu& menu) {
    addTrackEntries(menu, MediaTrack::Kind::Audio);
    addTrackEntries(menu, MediaTrack::Kind::Subtitle);
}

void PlayerActions::fillMenu(QMenu& menu) {
    fillTrackMenu(menu);
    const bool open = player_.hasFile();

    QMenu* delay =
        menu.addMenu(u"字幕延迟（%1 秒）"_s.arg(QString::number(player_.subtitleDelay(), 'f', 1)));
    delay->setEnabled(open);
    connect(delay->addAction(u"提前 0.1 秒 (Z)"_s), &QAction::triggered, this,
            [this] { shiftSubtitleDelay(-kDelayStep); });
    connect(delay->addAction(u"推迟 0.1 秒 (X)"_s), &QAction::triggered, this,
            [this] { shiftSubtitleDelay(kDelayStep); });
    connect(delay->addAction(u"恢复同步"_s), &QAction::triggered, this,
            [this] { shiftSubtitleDelay(-player_.subtitleDelay()); });

    QMenu* encoding = menu.addMenu(u"字幕编码"_s);
    auto* encodings = new QActionGroup(encoding);
    for (const QString& one : kEncodings) {
        QAction* action = encoding->addAction(encodingLabel(one));
        action->setCheckable(true);
        action->setChecked(player_.subtitleEncoding().compare(one, Qt::CaseInsensitive) == 0);
        action->setActionGroup(encodings);
        connect(action, &QAction::triggered, this, [this, one] { setSubtitleEncoding(one); });
    }

    QMenu* speed = menu.addMenu(u"播放速度（%1）"_s.arg(speedText(player_.speed())));
    auto* speeds = new QActionGroup(speed);
    for (const double rate : kSpeeds) {
        QAction* action = speed->addAction(speedText(rate));
        action->setCheckable(true);
        action->setChecked(std::abs(player_.speed() - rate) < kSpeedTolerance);
        action->setActionGroup(speeds);
        connect(action, &QAction::triggered, this, [this, rate] { setSpeed(rate); });
    }
    speed->addSeparator();
    speed->addAction(u"加快 (])  减慢 ([)  恢复 (退格)"_s)->setEnabled(false);

    QAction* shot = menu.addAction(u"截图 (S)"_s);
    shot->setEnabled(open);
    connect(shot, &QAction::triggered, this, [this] { takeScreenshot(); });

    QAction* hardware = menu.addAction(u"硬件解码"_s);
    hardware->setCheckable(true);
    hardware->setChecked(player_.hardwareDecoding());
    connect(hardware, &QAction::toggled, this, &PlayerActions::setHardwareDecoding);
}

}  // namespace tivora
