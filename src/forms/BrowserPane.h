#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace tivora {

class BrowserPane;

// The in/out arguments of a page's request for a new window.
struct NewWindowRequest {
    BrowserPane* ppDisp = nullptr;  // the pane that should receive the new window
    bool cancel = false;
};

// How the last completed load ended.
enum class LoadOutcome {
    Succeeded,
    Unreachable,  // no answer from the server: refused, unknown host, timed out
    HttpError,    // the server answered with an error status
    Stopped,      // the page's process ended and the page was given up
    NotAPage,     // the answer was no page to show (a download) and nothing followed
};

// An embedded browser placed on a window. Navigations return at once; the document arrives later
// and every load, failed ones included, ends in documentComplete.
class BrowserPane : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    ~BrowserPane() override;

    virtual void navigate(const QString& address) = 0;
    virtual void refresh() = 0;
    [[nodiscard]] virtual QString locationURL() const = 0;
    [[nodiscard]] virtual QString locationName() const = 0;
    // Markup of the last completed document's root element. Throws FormError when there is none.
    [[nodiscard]] virtual QString outerHTML() const = 0;
    [[nodiscard]] virtual QWidget* widget() const = 0;
    [[nodiscard]] virtual LoadOutcome lastLoadOutcome() const = 0;
    // Whether the last completed load brought the page (false for an unreachable server or an
    // HTTP error).
    [[nodiscard]] bool lastLoadSucceeded() const {
        return lastLoadOutcome() == LoadOutcome::Succeeded;
    }
    // Each navigate() and refresh() is numbered from 1 on; 0 is none. The last completed document
    // answers the latest of them issued before its load started, so a report can wait for the
    // answer to exactly its own navigation.
    [[nodiscard]] virtual quint64 lastNavigation() const = 0;
    [[nodiscard]] virtual quint64 completedNavigation() const = 0;
    // The pane shows an error page of its own for its last load, and no newer load has started.
    [[nodiscard]] virtual bool showsErrorPage() const = 0;

    // The object another pane's new-window handler hands back as the target.
    [[nodiscard]] BrowserPane* browserObject() { return this; }

Q_SIGNALS:
    void newWindow2(tivora::NewWindowRequest& request);
    void documentComplete(const QString& url);
};

}  // namespace tivora
