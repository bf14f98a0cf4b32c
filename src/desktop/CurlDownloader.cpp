#include "desktop/CurlDownloader.h"

#include "desktop/PlatformConventions.h"

#include <QLibrary>
#include <QSaveFile>

#include <curl/curl.h>

#include <memory>
#include <optional>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

int reportProgress(void* user, curl_off_t total, curl_off_t received, curl_off_t /*upTotal*/,
                   curl_off_t /*upNow*/) {
    (*static_cast<const CurlDownloader::Progress*>(user))(received, total);
    return 0;  // go on
}

size_t writeToFile(char* data, size_t size, size_t count, void* user) {
    auto* file = static_cast<QSaveFile*>(user);
    const size_t total = size * count;
    const auto bytes = static_cast<qint64>(total);
    return file->write(data, bytes) == bytes ? total : 0;
}

// libcurl's entry points. The library, and the many it brings, is loaded for the first download,
// not at start.
struct Curl {
    decltype(&::curl_global_init) global_init = nullptr;
    decltype(&::curl_easy_init) easy_init = nullptr;
    decltype(&::curl_easy_cleanup) easy_cleanup = nullptr;
    decltype(&::curl_easy_setopt) easy_setopt = nullptr;
    decltype(&::curl_easy_perform) easy_perform = nullptr;
    decltype(&::curl_easy_strerror) easy_strerror = nullptr;
};

template <typename Function>
bool resolve(QLibrary& library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(library.resolve(name));
    return function != nullptr;
}

// Loaded and initialised once, for the life of the process. Null when libcurl cannot be loaded.
const Curl* loadCurl(QString& error) {
    static QString loadError;
    static const std::optional<Curl> loaded = []() -> std::optional<Curl> {
        // The object's end does not unload the library.
        static QLibrary library(platform::curlLibraryFile());
        Curl curl;
        if (!library.load() || !resolve(library, "curl_global_init", curl.global_init) ||
            !resolve(library, "curl_easy_init", curl.easy_init) ||
            !resolve(library, "curl_easy_cleanup", curl.easy_cleanup) ||
            !resolve(library, "curl_easy_setopt", curl.easy_setopt) ||
            !resolve(library, "curl_easy_perform", curl.easy_perform) ||
            !resolve(library, "curl_easy_strerror", curl.easy_strerror)) {
            loadError = library.errorString();
            return std::nullopt;
        }
        if (curl.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
            loadError = u"libcurl could not start"_s;
            return std::nullopt;
        }
        return curl;
    }();
    error = loadError;
    return loaded ? &*loaded : nullptr;
}

}  // namespace

bool CurlDownloader::download(const QString& source, const QString& target,
                              const Progress& progress) {
    lastError_.clear();
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly)) {
        lastError_ = file.errorString();
        return false;
    }
    const Curl* api = loadCurl(lastError_);
    if (api == nullptr) {
        return false;
    }
    const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(api->easy_init(),
                                                                   api->easy_cleanup);
    if (!curl) {
        lastError_ = u"libcurl could not start"_s;
        return false;
    }
    const QByteArray url = source.toUtf8();
    char errorBuffer[CURL_ERROR_SIZE] = {};
    api->easy_setopt(curl.get(), CURLOPT_URL, url.constData());
    api->easy_setopt(curl.get(), CURLOPT_FOLLOWLOCATION, 1L);
    api->easy_setopt(curl.get(), CURLOPT_MAXREDIRS, 10L);
    api->easy_setopt(curl.get(), CURLOPT_FAILONERROR, 1L);
    api->easy_setopt(curl.get(), CURLOPT_CONNECTTIMEOUT, 20L);
    // Give up on a transfer stalled for a minute rather than block the program forever.
    api->easy_setopt(curl.get(), CURLOPT_LOW_SPEED_LIMIT, 1L);
    api->easy_setopt(curl.get(), CURLOPT_LOW_SPEED_TIME, 60L);
    api->easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
    api->easy_setopt(curl.get(), CURLOPT_ERRORBUFFER, errorBuffer);
    api->easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, &writeToFile);
    api->easy_setopt(curl.get(), CURLOPT_WRITEDATA, &file);
    if (progress) {
        api->easy_setopt(curl.get(), CURLOPT_NOPROGRESS, 0L);
        api->easy_setopt(curl.get(), CURLOPT_XFERINFOFUNCTION, &reportProgress);
        api->easy_setopt(curl.get(), CURLOPT_XFERINFODATA, &progress);
    }

    const CURLcode code = api->easy_perform(curl.get());
    if (code != CURLE_OK) {
        lastError_ =
            QString::fromUtf8(errorBuffer[0] != 0 ? errorBuffer : api->easy_strerror(code));
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        lastError_ = file.errorString();
        return false;
    }
    return true;
}

}  // namespace tivora
