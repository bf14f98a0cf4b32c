#include "CurlDownloader.h"

#include <QSaveFile>

#include <curl/curl.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

size_t writeToFile(char* data, size_t size, size_t count, void* user) {
    auto* file = static_cast<QSaveFile*>(user);
    const size_t total = size * count;
    const auto bytes = static_cast<qint64>(total);
    return file->write(data, bytes) == bytes ? total : 0;
}

}  // namespace

CurlDownloader::CurlDownloader() {
    curl_global_init(CURL_GLOBAL_DEFAULT);
}

CurlDownloader::~CurlDownloader() {
    curl_global_cleanup();
}

bool CurlDownloader::download(const QString& source, const QString& target) {
    lastError_.clear();
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly)) {
        lastError_ = file.errorString();
        return false;
    }
    const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(),
                                                                   &curl_easy_cleanup);
    if (!curl) {
        lastError_ = u"libcurl could not start"_s;
        return false;
    }
    const QByteArray url = source.toUtf8();
    char errorBuffer[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl.get(), CURLOPT_URL, url.constData());
    curl_easy_setopt(curl.get(), CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(curl.get(), CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_CONNECTTIMEOUT, 20L);
    // Give up on a transfer stalled for a minute rather than block the program forever.
    curl_easy_setopt(curl.get(), CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_LOW_SPEED_TIME, 60L);
    curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, &writeToFile);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &file);

    const CURLcode code = curl_easy_perform(curl.get());
    if (code != CURLE_OK) {
        lastError_ =
            QString::fromUtf8(errorBuffer[0] != 0 ? errorBuffer : curl_easy_strerror(code));
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
