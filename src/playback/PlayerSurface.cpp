#include "playback/PlayerSurface.h"

#include "forms/PlayerControl.h"
#include "playback/PlayerActions.h"
#include "playback/PlayerBar.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QVBoxLayout>
#include <QWheelEvent>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

constexpr double kShortSeek = 5;
constexpr double kLongSeek = 60;
constexpr int kVolumeStep = 5;

QStringList localFiles(const QMimeData* data) {
    QStringList paths;
    if (data == nullptr) {
        return paths;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            paths << url.toLocalFile();
        }
    }
    return paths;
}

QVBoxLayout* bareColumn(QWidget* owner) {
    auto* column = new QVBoxLayout(owner);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    return column;
}

}  // namespace

PlayerSurface::PlayerSurface(PlayerControl& player, QWidget* parent)
    : QWidget(parent),
      player_(player),
      content_(new QWidget(this)),
      actions_(new PlayerActions(player, this)) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(u"tivora--PlayerSurface { background: black; }"_s);
    QWidget* video = player_.widget();
    video->setParent(content_);
    video->setFocusPolicy(Qt::NoFocus);
    video->setMouseTracking(true);
    video->installEventFilter(this);
    video->setAcceptDrops(true);
    bar_ = new PlayerBar(player_, content_);
    bar_->setMouseTracking(true);
    bar_->installEventFilter(this);
    QVBoxLayout* column = bareColumn(content_);
    column->addWidget(video, 1);
    column->addWidget(bar_);
    bareColumn(this)->addWidget(content_);
    idle_.setSingleShot(true);
    idle_.setInterval(kIdleMilliseconds);
    connect(&idle_, &QTimer::timeout, this, &PlayerSurface::hideControlsWhenIdle);
    connect(bar_, &PlayerBar::fullScreenToggled, this, [this] { setFullScreen(!inFullScreen()); });
    connect(bar_, &PlayerBar::tracksMenuAboutToShow, this,
            [this](QMenu* menu) { actions_->fillTrackMenu(*menu); });
}

PlayerBar* PlayerSurface::bar() const {
    return bar_;
}

PlayerActions* PlayerSurface::actions() const {
    return actions_;
}

PlayerSurface::~PlayerSurface() {
    delete stage_.data();
}

void PlayerSurface::setFullScreen(bool on) {
    if (on == inFullScreen()) {
        return;
    }
    if (on) {
        QScreen* screenNow = screen();
        stage_ = new QWidget(nullptr, Qt::Window);
        stage_->setWindowTitle(window()->windowTitle());
        stage_->setAttribute(Qt::WA_StyledBackground);
        // Scoped to the stage: the bar inside keeps the skin's colours.
        stage_->setObjectName(u"PlayerStage"_s);
        stage_->setStyleSheet(u"#PlayerStage { background: black; }"_s);
        stage_->setMouseTracking(true);
        stage_->installEventFilter(this);
        bareColumn(stage_)->addWidget(content_);
        if (screenNow != nullptr) {
            stage_->setGeometry(screenNow->geometry());
        }
        stage_->showFullScreen();
        stage_->activateWindow();
        stage_->setFocus();
        showControls();
    } else {
        layout()->addWidget(content_);
        content_->show();
        QWidget* stage = stage_;
        stage_.clear();
        stage->hide();
        stage->deleteLater();
        idle_.stop();
        bar_->show();
        unsetCursor();
        player_.widget()->unsetCursor();
        window()->activateWindow();
        setFocus();
    }
    bar_->setFullScreenShown(on);
    Q_EMIT fullScreenChanged(on);
}

bool PlayerSurface::handleKey(int key, Qt::KeyboardModifiers modifiers) {
    const double step = (modifiers & Qt::ShiftModifier) != 0 ? kLongSeek : kShortSeek;
    switch (key) {
        case Qt::Key_Space:
            if (player_.hasFile()) {
                player_.setPaused(!player_.isPaused());
            }
            return true;
        case Qt::Key_Left:
            player_.seekTo(player_.position() - step);
            return true;
        case Qt::Key_Right:
            player_.seekTo(player_.position() + step);
            return true;
        case Qt::Key_Up:
            player_.setVolume(player_.volume() + kVolumeStep);
            return true;
        case Qt::Key_Down:
            player_.setVolume(player_.volume() - kVolumeStep);
            return true;
        case Qt::Key_M:
            player_.setMuted(!player_.isMuted());
            return true;
        case Qt::Key_F:
            setFullScreen(!inFullScreen());
            return true;
        case Qt::Key_Escape:
            if (inFullScreen()) {
                setFullScreen(false);
                return true;
            }
            return false;
        case Qt::Key_Z:
            actions_->shiftSubtitleDelay(-PlayerActions::kDelayStep);
            return true;
        case Qt::Key_X:
            actions_->shiftSubtitleDelay(PlayerActions::kDelayStep);
            return true;
        case Qt::Key_BracketRight:
            actions_->stepSpeed(1);
            return true;
        case Qt::Key_BracketLeft:
            actions_->stepSpeed(-1);
            return true;
        case Qt::Key_Backspace:
            actions_->stepSpeed(0);
            return true;
        case Qt::Key_Period:
            actions_->stepFrame(true);
            return true;
        case Qt::Key_Comma:
            actions_->stepFrame(false);
            return true;
        case Qt::Key_S:
            actions_->takeScreenshot();
            return true;
        default:
            return false;
    }
}

QMenu* PlayerSurface::showMenu(const QPoint& globalPosition) {
    auto* menu = new QMenu(inFullScreen() ? stage_.data() : this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    actions_->fillMenu(*menu);
    Q_EMIT menuAboutToShow(menu);
    menu->popup(globalPosition);
    return menu;
}

void PlayerSurface::keyPressEvent(QKeyEvent* event) {
    if (!handleKey(event->key(), event->modifiers())) {
        QWidget::keyPressEvent(event);
    }
}

bool PlayerSurface::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
            if (watched == stage_) {
                auto* key = static_cast<QKeyEvent*>(event);
                return handleKey(key->key(), key->modifiers());
            }
            break;
        case QEvent::Close:
            if (watched == stage_) {
                // Closing the full-screen window only leaves full screen.
                event->ignore();
                setFullScreen(false);
                return true;
            }
            break;
        case QEvent::MouseMove:
            showControls();
            break;
        case QEvent::MouseButtonPress:
            if (!inFullScreen()) {
                setFocus(Qt::MouseFocusReason);
            }
            showControls();
            if (auto* press = static_cast<QMouseEvent*>(event);
                watched == player_.widget() && press->button() == Qt::RightButton) {
                showMenu(press->globalPosition().toPoint());
                return true;
            }
            break;
        case QEvent::DragEnter:
            if (watched == player_.widget()) {
                auto* enter = static_cast<QDragEnterEvent*>(event);
                if (!localFiles(enter->mimeData()).isEmpty()) {
                    enter->acceptProposedAction();
                } else {
                    enter->ignore();
                }
                return true;
            }
            break;
        case QEvent::Drop:
            if (watched == player_.widget()) {
                auto* drop = static_cast<QDropEvent*>(event);
                const QStringList paths = localFiles(drop->mimeData());
                if (paths.isEmpty()) {
                    drop->ignore();
                    return true;
                }
                drop->acceptProposedAction();
                Q_EMIT filesDropped(paths);
                return true;
            }
            break;
        case QEvent::MouseButtonDblClick:
            if (watched == player_.widget()) {
                setFullScreen(!inFullScreen());
                return true;
            }
            break;
        case QEvent::Wheel:
            if (watched == player_.widget()) {
                const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
                if (delta != 0) {
                    player_.setVolume(player_.volume() + (delta > 0 ? kVolumeStep : -kVolumeStep));
                }
                return true;
            }
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

void PlayerSurface::showControls() {
    if (!inFullScreen()) {
        return;
    }
    bar_->show();
    stage_->unsetCursor();
    player_.widget()->unsetCursor();
    idle_.start();
}

void PlayerSurface::hideControlsWhenIdle() {
    if (!inFullScreen()) {
        return;
    }
    bar_->hide();
    stage_->setCursor(Qt::BlankCursor);
    // A native video window keeps a pointer of its own.
    player_.widget()->setCursor(Qt::BlankCursor);
}

}  // namespace tivora
