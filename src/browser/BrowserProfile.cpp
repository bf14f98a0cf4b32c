#include "browser/BrowserProfile.h"

#include "browser/EngineLanguage.h"

#include <QDir>
#include <QStandardPaths>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

using namespace Qt::StringLiterals;

namespace tivora {

BrowserProfile::BrowserProfile(const QString& storageFolder) {
    const QString root =
        storageFolder.isEmpty()
            ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + u"/browser"_s
            : storageFolder;
    QDir().mkpath(root);
    // A named profile; Qt's default one keeps nothing on disk.
    profile_ = std::make_unique<QWebEngineProfile>(u"tivora"_s);
    profile_->setPersistentStoragePath(root + u"/storage"_s);
    profile_->setCachePath(root + u"/cache"_s);
    profile_->setPersistentCookiesPolicy(QWebEngineProfile::ForcePersistentCookies);
    profile_->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
    profile_->setHttpAcceptLanguage(kAcceptLanguage);

    QWebEngineSettings* settings = profile_->settings();
    // Script-made clicks on target=_blank links would otherwise count as blocked popups.
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, true);
    settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    settings->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, true);
    settings->setAttribute(QWebEngineSettings::ErrorPageEnabled, true);
}

BrowserProfile::~BrowserProfile() = default;

}  // namespace tivora
