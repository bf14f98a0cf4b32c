#pragma once

#include "forms/BrowserPane.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <chrono>
#include <deque>

class QWebEngineLoadingInfo;
class QWebEngineProfile;

namespace tivora {

// A browser pane over Qt WebEngine. documentComplete is raised once the document's markup has been
// captured, so outerHTML() answers synchronously inside the handler. A failed load shows a page of
// our own with a retry button; a page whose process dies is reloaded once, and given up with a
// page of our own when it dies again soon after.
//
// The view and its page are made on the first navigation to anything but the blank page (or when
// a page is asked for), and released again by a navigation to the blank page. Without a view the
// pane is a plain white widget that answers blank navigations itself, the way a view would:
// queued, and only for the latest navigation.
class WebEnginePane final : public BrowserPane {
    Q_OBJECT

public:
    WebEnginePane(QWebEngineProfile* profile, QWidget* parent);
    ~WebEnginePane() override;

    // A second death of the page's process within this time after the first is given up.
    static constexpr std::chrono::seconds kCrashWindow{10};
    // How long an aborted load waits for a navigation that overtook it to start.
    static constexpr std::chrono::milliseconds kAbortSettle{300};

    void navigate(const QString& address) override;
    void refresh() override;
    [[nodiscard]] QString locationURL() const override;
    [[nodiscard]] QString locationName() const override;
    [[nodiscard]] QString outerHTML() const override;
    [[nodiscard]] QWidget* widget() const override;
    [[nodiscard]] LoadOutcome lastLoadOutcome() const override { return outcome_; }
    [[nodiscard]] bool showsErrorPage() const override;
    [[nodiscard]] quint64 lastNavigation() const override { return navigations_; }
    [[nodiscard]] quint64 completedNavigation() const override { return completedNavigation_; }

    // Null until the view is made.
    [[nodiscard]] QWebEngineView* view() const { return view_; }
    // Makes the view if it is not made yet.
    [[nodiscard]] QWebEnginePage* page();

private:
    friend class PanePage;
    struct Load {
        quint64 serial;
        quint64 navigation;
        QUrl url;
    };
    [[nodiscard]] QWebEnginePage* pageForNewWindow();
    QWebEngineView& ensureView();
    void releaseView();
    // Answers the latest navigation as the blank page, queued as a load's answer is.
    void completeBlankLater();
    void completeBlank(quint64 navigation);
    void announceDocument();
    void traceMark(QStringView what) const;
    void onLoadingChanged(const QWebEngineLoadingInfo& info);
    void onLoadAborted(const QUrl& url);
    void onRenderProcessTerminated(QWebEnginePage::RenderProcessTerminationStatus status);
    [[nodiscard]] Load finishedLoad(const QUrl& url);
    void captureDocument(quint64 navigation);
    // Shows our own page for a load that failed or a page given up, then completes the document.
    void showOwnPage(LoadOutcome outcome, const QString& headline, const QString& button,
                     const QString& address, quint64 navigation);
    void completeOwnPage();

    QWebEngineProfile* profile_;
    QWidget* host_;
    QPointer<QWebEngineView> view_;
    bool blankNavigated_ = false;  // a blank navigation has been answered without a view
    bool traced_ = false;
    QString markup_;
    bool hasDocument_ = false;
    LoadOutcome outcome_ = LoadOutcome::Unreachable;
    quint64 navigations_ = 0;
    quint64 completedNavigation_ = 0;
    std::deque<Load> loads_;  // started and not yet finished, oldest first
    quint64 loadSerial_ = 0;
    quint64 failedSerial_ = 0;
    quint64 finishSerial_ = 0;

    // Our own page: what it stands for while it loads, and the address it offers to load again.
    bool ownPageLoading_ = false;
    bool ownPageShown_ = false;
    LoadOutcome ownOutcome_ = LoadOutcome::Unreachable;
    QString ownMarkup_;
    quint64 ownNavigation_ = 0;
    QString ownAddress_;

    QElapsedTimer sinceCrash_;
};

}  // namespace tivora
