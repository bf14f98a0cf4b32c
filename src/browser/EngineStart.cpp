#include "browser/EngineStart.h"

#include "browser/BrowserProfile.h"
#include "browser/GlShareContext.h"
#include "forms/BrowserPane.h"
#include "forms/StartupTrace.h"

#include <QAbstractEventDispatcher>
#include <QEvent>
#include <QWidget>
#include <QWindow>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace tivora {

EngineStart::EngineStart(MakeProfile makeProfile, QObject* parent)
    : QObject(parent), makeProfile_(std::move(makeProfile)) {
    latest_.setSingleShot(true);
    latest_.setInterval(kLatestStart);
    latest_.callOnTimeout(this, &EngineStart::start);
}

EngineStart::~EngineStart() = default;

QWebEngineProfile* EngineStart::profile() {
    if (!started()) {
        gl_share::create();
        trace::mark(u"browser engine starting"_s);
        profile_ = makeProfile_();
        trace::mark(u"browser engine started"_s);
        latest_.stop();
        // Not from here: the caller is in the middle of making a view.
        QTimer::singleShot(0, this, &EngineStart::runHeld);
    }
    return profile_->profile();
}

void EngineStart::whenStarted(QObject* holder, std::function<void()> load) {
    if (started()) {
        load();
        return;
    }
    forget(holder);
    held_.push_back({holder, std::move(load)});
    if (!latest_.isActive()) {
        latest_.start();
    }
}

void EngineStart::forget(const QObject* holder) {
    const auto byHolder = [holder](const Held& held) { return held.holder == holder; };
    std::erase_if(held_, byHolder);
    std::erase_if(afterFirst_, byHolder);
}

void EngineStart::putFirst(BrowserPane* pane) {
    first_ = pane;
}

void EngineStart::start() {
    if (!started()) {
        (void)profile();
    }
    runHeld();
}

void EngineStart::runHeld() {
    // A load may hold another (a pane whose page opens a window, say): take the list first.
    std::vector<Held> held;
    held.swap(held_);
    const auto first = std::find_if(held.begin(), held.end(), [this](const Held& entry) {
        return !first_.isNull() && entry.holder == first_.data();
    });
    if (first == held.end()) {
        run(held);
        return;
    }
    std::vector<Held> firstLoad{*first};
    held.erase(first);
    afterFirst_ = std::move(held);
    const auto runRest = [this] {
        std::vector<Held> rest;
        rest.swap(afterFirst_);
        run(rest);
    };
    connect(first_.data(), &BrowserPane::documentComplete, this, runRest, Qt::SingleShotConnection);
    QTimer::singleShot(kFirstAlone, this, runRest);
    first_.clear();
    run(firstLoad);
}

void EngineStart::run(std::vector<Held>& loads) {
    for (Held& entry : loads) {
        if (!entry.holder.isNull()) {
            entry.load();
        }
    }
}

void EngineStart::startAfterFirstPaint(QWidget* window) {
    if (!started() && window->windowHandle() != nullptr) {
        window->windowHandle()->installEventFilter(this);
    }
}

bool EngineStart::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
        watched->removeEventFilter(this);
        // The window paints while this expose is handled. Its frame goes to the window system
        // when the event loop is about to wait (the platform flushes then, before this runs);
        // the engine, whose start takes every core for a while, leaves the window system a moment
        // to put it on the screen.
        connect(
            QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            [this] { QTimer::singleShot(kScreenTime, this, &EngineStart::start); },
            Qt::SingleShotConnection);
    }
    return false;
}

}  // namespace tivora
