#include "browser/PanePlaceholder.h"

#include "forms/BrowserPane.h"

#include <QChildEvent>
#include <QPainter>
#include <QStyleOption>
#include <QTimer>
#include <QWebEngineView>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace tivora {

PanePlaceholder::PanePlaceholder(BrowserPane& pane, QWidget* host) : QWidget(host), host_(host) {
    // The skin colours it by this name; unskinned it takes the window's colour.
    setObjectName(u"TivoraPanePlaceholder"_s);
    setAttribute(Qt::WA_StyledBackground);
    setGeometry(host->rect());
    host->installEventFilter(this);
    connect(&pane, &BrowserPane::documentComplete, this, &PanePlaceholder::onDocumentComplete);
}

bool PanePlaceholder::hostShowsView() const {
    const auto views = host_->findChildren<QWebEngineView*>(Qt::FindDirectChildrenOnly);
    return std::any_of(views.begin(), views.end(),
                       [](const QWebEngineView* view) { return !view->isHidden(); });
}

void PanePlaceholder::onDocumentComplete() {
    if (hostShowsView()) {
        hide();
        return;
    }
    // The blank page, answered without a view: nothing is on its way.
    waiting_ = false;
    show();
    update();
}

bool PanePlaceholder::eventFilter(QObject* watched, QEvent* event) {
    if (watched == host_) {
        if (event->type() == QEvent::Resize) {
            setGeometry(host_->rect());
        } else if (event->type() == QEvent::ChildAdded &&
                   static_cast<QChildEvent*>(event)->child() != this &&
                   static_cast<QChildEvent*>(event)->child()->isWidgetType()) {
            // A new view: its page is on its way. The child is still being made here.
            waiting_ = true;
            show();
            update();
            QTimer::singleShot(0, this, [this] { raise(); });
        }
    }
    return QWidget::eventFilter(watched, event);
}

void PanePlaceholder::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
    if (waiting_) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(rect(), Qt::AlignCenter, u"正在载入…"_s);
    }
}

}  // namespace tivora
