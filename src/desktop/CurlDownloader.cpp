#include "desktop/CurlDownloader.h"

#include "desktop/PlatformConventions.h"
#include "forms/QuitRequest.h"

#include <QLibrary>
#include <QSaveFile>

#include <curl/curl.h>

#include <cerrno>
#include <memory>
#include <optional>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

// How long the transfer waits for its sockets before it looks at a quit request again.
constexpr int kPollMs = 100;

struct Transfer {
    QSaveFile* file = nullptr;
    const CurlDownloader::Progress* progress = nullptr;
    int writeError = 0;  // errno of a failed write
};

int reportProgress(void* user, curl_off_t total, curl_off_t received, curl_off_t /*upTotal*/,
                   curl_off_t /*upNow*/) {
    const auto* transfer = static_cast<const Transfer*>(user);
    if (quit::requested()) {
        return 1;  // CURLE_ABORTED_BY_CALLBACK
    }
    if (*transfer->progress) {
        (*transfer->progress)(received, total);
    }
    return quit::requested() ? 1 : 0;
}

// Unbuffered, so that a full disk shows in this very write and not in a commit() that would then
// report success.
size_t writeToFile(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const size_t total = size * count;
    const auto bytes = static_cast<qint64>(total);
    errno = 0;
    if (transfer->file->write(data, bytes) != bytes) {
        transfer->writeError = errno != 0 ? errno : EIO;
        return 0;
    }
    return total;
}

// libcurl's entry points. The library, and the many it brings, is loaded for the first download,
// not at start.
struct Curl {
    decltype(&::curl_global_init) global_init = nullptr;
    decltype(&::curl_easy_init) easy_init = nullptr;
    decltype(&::curl_easy_cleanup) easy_cleanup = nullptr;
    decltype(&::curl_easy_setopt) easy_setopt = nullptr;
    decltype(&::curl_easy_strerror) easy_strerror = nullptr;
    decltype(&::curl_multi_init) multi_init = nullptr;
    decltype(&::curl_multi_cleanup) multi_cleanup = nullptr;
    decltype(&::curl_multi_add_handle) multi_add_handle = nullptr;
    decltype(&::curl_multi_remove_handle) multi_remove_handle = nullptr;
    decltype(&::curl_multi_perform) multi_perform = nullptr;
    decltype(&::curl_multi_poll) multi_poll = nullptr;
    decltype(&::curl_multi_info_read) multi_info_read = nullptr;
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
            !resolve(library, "curl_easy_strerror", curl.easy_strerror) ||
            !resolve(library, "curl_multi_init", curl.multi_init) ||
            !resolve(library, "curl_multi_cleanup", curl.multi_cleanup) ||
            !resolve(library, "curl_multi_add_handle", curl.multi_add_handle) ||
            !resolve(library, "curl_multi_remove_handle", curl.multi_remove_handle) ||
            !resolve(library, "curl_multi_perform", curl.multi_perform) ||
            !resolve(library, "curl_multi_poll", curl.multi_poll) ||
            !resolve(library, "curl_multi_info_read", curl.multi_info_read)) {
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

// Runs one transfer to its end, or until a quit is requested: the multi interface wakes every
// kPollMs, where a blocking perform could sit a second or more in a stalled transfer.
CURLcode perform(const Curl& api, CURL* easy) {
    const std::unique_ptr<CURLM, decltype(&curl_multi_cleanup)> multi(api.multi_init(),
                                                                      api.multi_cleanup);
    if (!multi || api.multi_add_handle(multi.get(), easy) != CURLM_OK) {
        return CURLE_FAILED_INIT;
    }
    CURLcode result = CURLE_OK;
    bool done = false;
    while (!done) {
        int running = 0;
        if (api.multi_perform(multi.get(), &running) != CURLM_OK) {
            result = CURLE_FAILED_INIT;
            break;
        }
        int queued = 0;
        while (const CURLMsg* message = api.multi_info_read(multi.get(), &queued)) {
            if (message->msg == CURLMSG_DONE) {
                result = message->data.result;
                done = true;
            }
        }
        if (!done && quit::requested()) {
            result = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        if (!done && api.multi_poll(multi.get(), nullptr, 0, kPollMs, nullptr) != CURLM_OK) {
            result = CURLE_FAILED_INIT;
            break;
        }
    }
    api.multi_remove_handle(multi.get(), easy);
    return result;
}

}  // namespace

bool CurlDownloader::download(const QString& source, const QString& target,
                              const Progress& progress) {
    lastError_.clear();
    if (quit::requested()) {
        lastError_ = u"the program is ending"_s;
        return false;
    }
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
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
    Transfer transfer{.file = &file, .progress = &progress};
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
    api->easy_setopt(curl.get(), CURLOPT_WRITEDATA, &transfer);
    // Progress is also where a quit request stops the transfer.
    api->easy_setopt(curl.get(), CURLOPT_NOPROGRESS, 0L);
    api->easy_setopt(curl.get(), CURLOPT_XFERINFOFUNCTION, &reportProgress);
    api->easy_setopt(curl.get(), CURLOPT_XFERINFODATA, &transfer);

    const CURLcode code = perform(*api, curl.get());
    if (code != CURLE_OK) {
        if (code == CURLE_ABORTED_BY_CALLBACK && quit::requested()) {
            lastError_ = u"stopped: the program is ending"_s;
        } else if (transfer.writeError != 0) {
            lastError_ = target + u": "_s + qt_error_string(transfer.writeError);
        } else {
            lastError_ =
                QString::fromUtf8(errorBuffer[0] != 0 ? errorBuffer : api->easy_strerror(code));
        }
        file.cancelWriting();
        return false;
    }
    // commit() syncs the file to disk before it takes the target's place.
    if (!file.flush() || file.error() != QFileDevice::NoError || !file.commit()) {
        lastError_ = target + u": "_s + file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

}  // namespace tivora
