#pragma once

#include <QString>
#include <QUrl>

#include <chrono>
#include <deque>
#include <optional>

namespace tivora {

// The bookkeeping of a browser pane's navigations, apart from any engine: which navigation a
// finished load answers, which loads are overtaken, when a dead page is reloaded or given up. The
// pane feeds it what its engine reports and acts on the answers; the book never waits itself; it
// says what to wait for, and is asked again when the wait is over.
//
// Navigations (navigate and refresh alike) are numbered from 1; a load answers the latest
// navigation made before it started. Our own pages (errors, a page given up) load from data:
// addresses and complete the navigation they stand for.
class NavigationBook final {
public:
    using Clock = std::chrono::steady_clock;

    // A second death of the page's process within this time after the first is given up.
    static constexpr std::chrono::seconds kCrashWindow{10};
    // How long an aborted load waits for a navigation that overtook it to start.
    static constexpr std::chrono::milliseconds kAbortSettle{300};
    // Loads that start and never end (stopped, their process died) are forgotten beyond this.
    static constexpr std::size_t kMaxLoads = 16;

    struct Load {
        quint64 serial = 0;
        quint64 navigation = 0;
        QUrl url;
    };

    enum class LoadEnd {
        Succeeded,
        Failed,
        Aborted,  // cut short: by a newer navigation, or by becoming a download
        Stopped,  // the engine's own stop, how a download ends the load that brought it
    };

    // What the pane does when a load ends.
    struct Answer {
        enum class Kind {
            None,
            // Read the document; hand serial and navigation back to documentRead.
            ReadDocument,
            // Show our own error page for navigation.
            ShowErrorPage,
            // Our own page has loaded: it is the document of navigation.
            OwnPageComplete,
            // Wait kAbortSettle, then ask abortSettled about load.
            SettleAbort,
        };
        Kind kind = Kind::None;
        quint64 navigation = 0;
        quint64 serial = 0;
        Load load;
    };

    struct Refresh {
        enum class Kind {
            None,         // no page and no blank page: nothing to load again
            AnswerBlank,  // answer the blank page again, queued: blankAnswered(navigation)
            Reload,       // reload the page
            LoadAddress,  // our own page is shown: load what it stands for, address
        };
        Kind kind = Kind::None;
        quint64 navigation = 0;
        QString address;
    };

    // What the pane does, outside the engine's signal, when the page's process died.
    struct CrashAnswer {
        enum class Kind { Reload, GiveUp };
        Kind kind = Kind::Reload;
        quint64 navigation = 0;
        QString address;  // what to load again, or what the page given up stood for
    };

    quint64 navigate();
    // The blank page needs no view: the pane releases it, and answers later with blankAnswered.
    quint64 navigateToBlank();
    [[nodiscard]] Refresh refresh();
    void viewMade();

    void loadStarted(const QUrl& url);
    [[nodiscard]] Answer loadEnded(const QUrl& url, LoadEnd end);
    // The document read for a ReadDocument answer arrived. False when a later load finished
    // first and has been reported.
    [[nodiscard]] bool documentRead(quint64 serial, quint64 navigation);
    // Whether the queued blank answer for navigation still stands; if it does, it completes it.
    [[nodiscard]] bool blankAnswered(quint64 navigation);
    // Whether an aborted load, once settled, is answered with our own page: nothing overtook it and
    // the page did not come (pageUrl is what the view shows now).
    [[nodiscard]] bool abortSettled(const Load& load, const QUrl& pageUrl);
    // pageAddress is what the view shows.
    [[nodiscard]] CrashAnswer renderProcessDied(Clock::time_point now, const QString& pageAddress);
    // Whether a crash answer still applies: no navigation was made meanwhile.
    [[nodiscard]] bool crashAnswerStands(quint64 navigation) const;
    // Our own page for navigation is being loaded; it stands for address.
    void ownPageRequested(quint64 navigation, const QString& address);

    [[nodiscard]] quint64 lastNavigation() const { return navigations_; }
    [[nodiscard]] quint64 completedNavigation() const { return completedNavigation_; }
    [[nodiscard]] bool hasDocument() const { return hasDocument_; }
    [[nodiscard]] bool blankNavigated() const { return blankNavigated_; }
    // The last document is our own error page and no newer load has started.
    [[nodiscard]] bool showsErrorPage() const;
    [[nodiscard]] std::size_t pendingLoads() const { return loads_.size(); }

private:
    [[nodiscard]] Load finishedLoad(const QUrl& url);
    void complete(quint64 navigation, bool ownPage);

    quint64 navigations_ = 0;
    quint64 completedNavigation_ = 0;
    bool hasDocument_ = false;
    bool documentIsOwnPage_ = false;
    bool hasView_ = false;
    bool blankNavigated_ = false;  // the view went for the blank page, which the pane answers

    std::deque<Load> loads_;  // started and not yet finished, oldest first
    quint64 loadSerial_ = 0;
    quint64 failedSerial_ = 0;
    quint64 finishSerial_ = 0;

    // Our own page: whether it is loading or shown, and what it stands for.
    bool ownPageLoading_ = false;
    bool ownPageShown_ = false;
    quint64 ownNavigation_ = 0;
    QString ownAddress_;

    std::optional<Clock::time_point> lastCrash_;
};

}  // namespace tivora
