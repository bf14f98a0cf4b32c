#pragma once

#include <QString>

#include <memory>

class QWebEngineProfile;

namespace tivora {

// The one persistent browser profile all panes share, so the portal's cookies survive a restart.
// Must outlive every pane.
class BrowserProfile final {
public:
    // storageFolder empty: the per-user application data folder.
    explicit BrowserProfile(const QString& storageFolder = {});
    ~BrowserProfile();
    BrowserProfile(const BrowserProfile&) = delete;
    BrowserProfile& operator=(const BrowserProfile&) = delete;

    [[nodiscard]] QWebEngineProfile* profile() const { return profile_.get(); }

private:
    std::unique_ptr<QWebEngineProfile> profile_;
};

}  // namespace tivora
