#include "media/NullPlayer.h"

#include <QLabel>

using namespace Qt::StringLiterals;

namespace tivora {

NullPlayer::NullPlayer(QWidget* parent) : area_(new QLabel(parent)) {
    setParent(area_);
    area_->setAlignment(Qt::AlignCenter);
    area_->setStyleSheet(u"background: black; color: #c0c0c0;"_s);
}

void NullPlayer::stop() {
    area_->clear();
}

void NullPlayer::setSource(const QString& /*path*/) {}

void NullPlayer::play() {
    const QString reason = u"无法播放：本机没有可用的视频播放组件"_s;
    area_->setText(reason);
    Q_EMIT failed(reason);
}

QWidget* NullPlayer::widget() const {
    return area_;
}

}  // namespace tivora
