#include "browser/NavigationBook.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace tivora {

quint64 NavigationBook::navigate() {
    return ++navigations_;
}

quint64 NavigationBook::navigateToBlank() {
    hasView_ = false;
    blankNavigated_ = true;
    loads_.clear();
    ownPageLoading_ = false;
    ownPageShown_ = false;
    lastCrash_.reset();
    return ++navigations_;
}

NavigationBook::Refresh NavigationBook::refresh() {
    const quint64 navigation = ++navigations_;
    if (!hasView_) {
        return {blankNavigated_ ? Refresh::Kind::AnswerBlank : Refresh::Kind::None, navigation, {}};
    }
    // Reloading our own page would bring back only itself.
    if (ownPageShown_) {
        return {Refresh::Kind::LoadAddress, navigation, ownAddress_};
    }
    return {Refresh::Kind::Reload, navigation, {}};
}

void NavigationBook::viewMade() {
    hasView_ = true;
}

void NavigationBook::loadStarted(const QUrl& url) {
    // Only our own pages load from data: addresses; top-level pages may not go there.
    ownPageLoading_ = url.scheme() == u"data"_s;
    if (ownPageLoading_) {
        return;
    }
    ownPageShown_ = false;
    loads_.push_back({++loadSerial_, navigations_, url});
    if (loads_.size() > kMaxLoads) {
        loads_.pop_front();
    }
}

NavigationBook::Load NavigationBook::finishedLoad(const QUrl& url) {
    // Loads end in the order they started unless a newer one overtook; whatever started before the
    // one that ended is over too.
    auto found = std::find_if(loads_.begin(), loads_.end(),
                              [&](const Load& load) { return load.url == url; });
    if (found == loads_.end()) {
        found = loads_.begin();
    }
    if (found == loads_.end()) {
        return {loadSerial_, navigations_, url};
    }
    Load load = *found;
    loads_.erase(loads_.begin(), found + 1);
    return load;
}

NavigationBook::Answer NavigationBook::loadEnded(const QUrl& url, LoadEnd end) {
    if (ownPageLoading_) {
        if (end == LoadEnd::Stopped) {
            return {};
        }
        ownPageLoading_ = false;
        ownPageShown_ = true;
        ++finishSerial_;
        complete(ownNavigation_, true);
        return {Answer::Kind::OwnPageComplete, ownNavigation_, finishSerial_, {}};
    }
    switch (end) {
        case LoadEnd::Succeeded: {
            // Each finished load is reported unless a later one finished first; a load merely
            // started since (a script's own navigation, say) must not swallow this one's answer.
            const Load load = finishedLoad(url);
            return {Answer::Kind::ReadDocument, load.navigation, ++finishSerial_, load};
        }
        case LoadEnd::Failed: {
            const Load load = finishedLoad(url);
            failedSerial_ = load.serial;
            return {Answer::Kind::ShowErrorPage, load.navigation, load.serial, load};
        }
        case LoadEnd::Aborted:
        case LoadEnd::Stopped: {
            const auto found = std::find_if(loads_.begin(), loads_.end(),
                                            [&](const Load& load) { return load.url == url; });
            if (found == loads_.end()) {
                return {};
            }
            const Load load = *found;
            loads_.erase(found);
            return {Answer::Kind::SettleAbort, load.navigation, load.serial, load};
        }
    }
    return {};
}

bool NavigationBook::documentRead(quint64 serial, quint64 navigation) {
    if (serial != finishSerial_) {
        return false;
    }
    complete(navigation, false);
    return true;
}

bool NavigationBook::blankAnswered(quint64 navigation) {
    // Overtaken by a later navigation, as a view's load would be.
    if (hasView_ || navigation != navigations_) {
        return false;
    }
    ++finishSerial_;
    complete(navigation, false);
    return true;
}

bool NavigationBook::abortSettled(const Load& load, const QUrl& pageUrl) {
    // Cut short by a newer navigation, the load is no failure: the newer one completes in its
    // place. Ended with nothing after it and nothing shown (a download, say), it still completes,
    // as our own page, so that a handler waiting for the document gets its answer. One stopped
    // after its page came stays as it is.
    if (!hasView_ || !loads_.empty() || loadSerial_ != load.serial || ownPageLoading_ ||
        pageUrl == load.url) {
        return false;
    }
    failedSerial_ = load.serial;
    return true;
}

NavigationBook::CrashAnswer NavigationBook::renderProcessDied(Clock::time_point now,
                                                              const QString& pageAddress) {
    const QString address = ownPageShown_ ? ownAddress_ : pageAddress;
    if (lastCrash_ && now - *lastCrash_ <= kCrashWindow) {
        lastCrash_.reset();
        failedSerial_ = loadSerial_;
        return {CrashAnswer::Kind::GiveUp, navigations_, address};
    }
    lastCrash_ = now;
    return {CrashAnswer::Kind::Reload, navigations_, address};
}

bool NavigationBook::crashAnswerStands(quint64 navigation) const {
    return hasView_ && navigation == navigations_;
}

void NavigationBook::ownPageRequested(quint64 navigation, const QString& address) {
    ownNavigation_ = navigation;
    ownAddress_ = address;
}

bool NavigationBook::showsErrorPage() const {
    return hasDocument_ && documentIsOwnPage_ && failedSerial_ == loadSerial_;
}

void NavigationBook::complete(quint64 navigation, bool ownPage) {
    completedNavigation_ = navigation;
    hasDocument_ = true;
    documentIsOwnPage_ = ownPage;
}

}  // namespace tivora
