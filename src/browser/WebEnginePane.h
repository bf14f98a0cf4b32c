#pragma once

#include "browser/NavigationBook.h"
#include "forms/BrowserPane.h"

#include <QPointer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

class QWebEngineLoadingInfo;
class QWebEngineProfile;

namespace tivora {

class EngineStart;

// A browser pane over Qt WebEngine. documentComplete is raised once the document's markup has been
// captured, so outerHTML() answers synchronously inside the handler. A failed load shows a page of
// our own with a retry button; a page whose process dies is reloaded once, and given up with a
// page of our own when it dies again soon after.
//
// The view and its page are made on the first navigation to anything but the blank page (or when
// a page is asked for), and released again by a navigation to the blank page. Without a view the
// pane is a plain white widget that answers blank navigations itself, the way a view would:
// queued, and only for the latest navigation.
//
// Which navigation a load answers, and what to do when it ends, is its NavigationBook's to say;
// the pane feeds it what the engine reports.
class WebEnginePane final : public BrowserPane {
    Q_OBJECT

public:
    WebEnginePane(QWebEngineProfile* profile, QWidget* parent);
    // Loads wait for the engine's start; the profile is made on the first view.
    WebEnginePane(EngineStart& engine, QWidget* parent);
    ~WebEnginePane() override;

    void navigate(const QString& address) override;
    void refresh() override;
    [[nodiscard]] QString locationURL() const override;
    [[nodiscard]] QString locationName() const override;
    [[nodiscard]] QString outerHTML() const override;
    [[nodiscard]] QWidget* widget() const override;
    [[nodiscard]] LoadOutcome lastLoadOutcome() const override { return outcome_; }
    [[nodiscard]] bool showsErrorPage() const override;
    [[nodiscard]] quint64 lastNavigation() const override { return book_.lastNavigation(); }
    [[nodiscard]] quint64 completedNavigation() const override {
        return book_.completedNavigation();
    }

    // Null until the view is made.
    [[nodiscard]] QWebEngineView* view() const { return view_; }
    // Makes the view if it is not made yet.
    [[nodiscard]] QWebEnginePage* page();

Q_SIGNALS:
    // A view and its page were made; the page goes with the view at the next blank navigation.
    void pageMade(QWebEnginePage* page);

private:
    friend class PanePage;
    [[nodiscard]] QWebEnginePage* pageForNewWindow();
    [[nodiscard]] QWebEngineProfile* profile() const;
    QWebEngineView& ensureView();
    void releaseView();
    // Answers navigation as the blank page, queued as a load's answer is.
    void completeBlankLater(quint64 navigation);
    void announceDocument();
    void traceMark(QStringView what) const;
    void onLoadingChanged(const QWebEngineLoadingInfo& info);
    void act(const NavigationBook::Answer& answer, const QWebEngineLoadingInfo& info);
    void onRenderProcessTerminated(QWebEnginePage::RenderProcessTerminationStatus status,
                                   int exitCode);
    void readDocument(quint64 serial, quint64 navigation);
    // Shows our own page for a load that failed or a page given up; the document completes when it
    // has loaded.
    void showOwnPage(LoadOutcome outcome, const QString& headline, const QString& button,
                     const QString& address, quint64 navigation);

    QWebEngineProfile* profile_ = nullptr;
    EngineStart* engine_ = nullptr;
    QWidget* host_;
    QPointer<QWebEngineView> view_;
    NavigationBook book_;
    bool traced_ = false;
    // The last completed document; the book knows which navigation it answers.
    QString markup_;
    LoadOutcome outcome_ = LoadOutcome::Unreachable;
    // What our own page stands for while it loads.
    LoadOutcome ownOutcome_ = LoadOutcome::Unreachable;
    QString ownMarkup_;
};

}  // namespace tivora
