#pragma once

#include "BrowserPane.h"

#include <QPointer>

class QWebEnginePage;
class QWebEngineLoadingInfo;
class QWebEngineProfile;
#include <QWebEngineView>

namespace tivora {

// A browser pane over Qt WebEngine. documentComplete is raised once the document's markup has been
// captured, so outerHTML() answers synchronously inside the handler.
class WebEnginePane final : public BrowserPane {
    Q_OBJECT

public:
    WebEnginePane(QWebEngineProfile* profile, QWidget* parent);
    ~WebEnginePane() override;

    void navigate(const QString& address) override;
    void refresh() override;
    [[nodiscard]] QString locationURL() const override;
    [[nodiscard]] QString locationName() const override;
    [[nodiscard]] QString outerHTML() const override;
    [[nodiscard]] QWidget* widget() const override;
    [[nodiscard]] bool lastLoadSucceeded() const override { return lastLoadOk_; }
    [[nodiscard]] bool showsErrorPage() const override;

    [[nodiscard]] QWebEngineView* view() const { return view_; }
    [[nodiscard]] QWebEnginePage* page() const;

private:
    friend class PanePage;
    [[nodiscard]] QWebEnginePage* pageForNewWindow();
    void onLoadingChanged(const QWebEngineLoadingInfo& info);
    void captureDocument(bool ok);

    QWebEngineProfile* profile_;
    QPointer<QWebEngineView> view_;
    QString markup_;
    bool hasDocument_ = false;
    bool lastLoadOk_ = false;
    quint64 loadSerial_ = 0;
    quint64 failedSerial_ = 0;
    quint64 finishSerial_ = 0;
};

}  // namespace tivora
