#include "app/PortalPicture.h"

#include "forms/PlayerControl.h"
#include "forms/Services.h"
#include "playback/PlayerSurface.h"

#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

const QString kHandBack = u"使用网页播放"_s;

}  // namespace

PortalPicture::PortalPicture(Services& services, QWidget* pane) : QWidget(pane) {
    setAttribute(Qt::WA_StyledBackground);
    setObjectName(u"PortalPicture"_s);
    setStyleSheet(u"#PortalPicture { background: black; }"_s);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    player_ = services.createPlayer(this);
    surface_ = new PlayerSurface(*player_, this);
    column->addWidget(surface_);
    player_->widget()->installEventFilter(this);
    surface_->installEventFilter(this);

    failure_ = new QWidget(this);
    failure_->setObjectName(u"PortalFilmFailure"_s);
    failure_->setStyleSheet(u"#PortalFilmFailure { background: #111; } QLabel { color: white; }"_s);
    auto* message = new QVBoxLayout(failure_);
    message->addStretch();
    failureText_ = new QLabel(failure_);
    failureText_->setWordWrap(true);
    failureText_->setAlignment(Qt::AlignCenter);
    message->addWidget(failureText_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* retry = new QPushButton(u"重试"_s, failure_);
    auto* page = new QPushButton(kHandBack, failure_);
    buttons->addWidget(retry);
    buttons->addWidget(page);
    buttons->addStretch();
    message->addLayout(buttons);
    message->addStretch();
    column->addWidget(failure_);
    failure_->hide();
    connect(retry, &QPushButton::clicked, this, &PortalPicture::retryRequested);
    connect(page, &QPushButton::clicked, this, &PortalPicture::handBackRequested);

    // Over the video's own native window, so it needs one of its own.
    banner_ = new QLabel(this);
    banner_->setAttribute(Qt::WA_NativeWindow);
    banner_->setStyleSheet(
        u"QLabel { background: rgba(0, 0, 0, 180); color: white; padding: 6px 12px; }"_s);
    banner_->hide();
    bannerTimer_.setSingleShot(true);
    bannerTimer_.setInterval(kBannerMilliseconds);
    connect(&bannerTimer_, &QTimer::timeout, banner_, &QWidget::hide);
}

PortalPicture::~PortalPicture() {
    // The surface and the video widget that owns the player go first, while this widget is whole.
    delete surface_.data();
}

QString PortalPicture::message() const {
    return failure_->isHidden() ? QString() : failureText_->text();
}

QString PortalPicture::banner() const {
    return banner_->isHidden() ? QString() : banner_->text();
}

void PortalPicture::showBanner(const QString& text) {
    banner_->setText(text);
    banner_->adjustSize();
    banner_->move(16, 16);
    banner_->show();
    banner_->raise();
    bannerTimer_.start();
}

void PortalPicture::showFailure(const QString& text) {
    if (player_) {
        player_->stop();
    }
    delete surface_.data();
    banner_->hide();
    failureText_->setText(text);
    failure_->show();
}

void PortalPicture::setTakeoverShown(bool on) {
    takeover_ = on;
}

void PortalPicture::contextMenuEvent(QContextMenuEvent* event) {
    showMenu(event->globalPos());
}

bool PortalPicture::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ContextMenu) {
        showMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    // The video's native window hands its presses over as they are, without a menu event.
    if (event->type() == QEvent::MouseButtonPress && player_ && watched == player_->widget() &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        showMenu(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void PortalPicture::showMenu(const QPoint& globalPos) {
    QMenu menu(this);
    connect(menu.addAction(kHandBack), &QAction::triggered, this,
            &PortalPicture::handBackRequested);
    QAction* takeover = menu.addAction(u"自动用 Tivora 播放器播放本站影片"_s);
    takeover->setCheckable(true);
    takeover->setChecked(takeover_);
    connect(takeover, &QAction::toggled, this, &PortalPicture::takeoverToggled);
    menu.exec(globalPos);
}

}  // namespace tivora
