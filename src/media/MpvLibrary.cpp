#include "media/MpvLibrary.h"

#include "forms/Logging.h"
#include "media/MpvPlatform.h"

#include <QLibrary>
#include <QString>
#include <QThreadPool>

#include <mutex>
#include <optional>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

template <typename Function>
bool resolve(QLibrary& library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(library.resolve(name));
    return function != nullptr;
}

std::optional<MpvLibrary> load(QString& error) {
    // Kept loaded for the life of the process: the object's end does not unload the library.
    static QLibrary library(mpvLibraryFile());
    if (!library.load()) {
        error = library.errorString();
        return std::nullopt;
    }
    MpvLibrary api;
    const bool complete =
        resolve(library, "mpv_client_api_version", api.client_api_version) &&
        resolve(library, "mpv_create", api.create) &&
        resolve(library, "mpv_initialize", api.initialize) &&
        resolve(library, "mpv_terminate_destroy", api.terminate_destroy) &&
        resolve(library, "mpv_set_option_string", api.set_option_string) &&
        resolve(library, "mpv_observe_property", api.observe_property) &&
        resolve(library, "mpv_request_log_messages", api.request_log_messages) &&
        resolve(library, "mpv_set_wakeup_callback", api.set_wakeup_callback) &&
        resolve(library, "mpv_wait_event", api.wait_event) &&
        resolve(library, "mpv_command_async", api.command_async) &&
        resolve(library, "mpv_command", api.command) &&
        resolve(library, "mpv_get_property", api.get_property) &&
        resolve(library, "mpv_get_property_string", api.get_property_string) &&
        resolve(library, "mpv_free", api.free) &&
        resolve(library, "mpv_error_string", api.error_string) &&
        resolve(library, "mpv_render_context_create", api.render_context_create) &&
        resolve(library, "mpv_render_context_free", api.render_context_free) &&
        resolve(library, "mpv_render_context_set_update_callback",
                api.render_context_set_update_callback) &&
        resolve(library, "mpv_render_context_update", api.render_context_update) &&
        resolve(library, "mpv_render_context_render", api.render_context_render) &&
        resolve(library, "mpv_render_context_report_swap", api.render_context_report_swap) &&
        resolve(library, "mpv_render_context_get_info", api.render_context_get_info) &&
        resolve(library, "mpv_get_time_us", api.get_time_us);
    if (!complete) {
        error = library.errorString();
        return std::nullopt;
    }
    // Built against this major version; another one may differ in any call.
    const unsigned long version = api.client_api_version();
    if (version >> 16U != MPV_CLIENT_API_VERSION >> 16U) {
        error = u"client API %1.%2, built for %3.%4"_s.arg(version >> 16U)
                    .arg(version & 0xffffU)
                    .arg(MPV_CLIENT_API_VERSION >> 16U)
                    .arg(MPV_CLIENT_API_VERSION & 0xffffU);
        return std::nullopt;
    }
    return api;
}

}  // namespace

const MpvLibrary* loadMpvLibrary() {
    static const std::optional<MpvLibrary> loaded = [] {
        QString error;
        std::optional<MpvLibrary> api = load(error);
        if (!api) {
            qCWarning(lcPlayer).noquote()
                << "libmpv not loaded, local playback is unavailable:" << error;
        }
        return api;
    }();
    return loaded ? &*loaded : nullptr;
}

void preloadMpvLibrary() {
    static std::once_flag once;
    // The global pool is waited for when the application ends.
    std::call_once(once,
                   [] { QThreadPool::globalInstance()->start([] { (void)loadMpvLibrary(); }); });
}

const MpvLibrary& libmpv() {
    return *loadMpvLibrary();
}

}  // namespace tivora
