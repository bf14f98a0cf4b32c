#pragma once

#include <mpv/client.h>
#include <mpv/render.h>

namespace tivora {

// libmpv's entry points, loaded the first time a player is made or, for the portal's films, while
// the first portal page loads.
struct MpvLibrary {
    decltype(&::mpv_client_api_version) client_api_version = nullptr;
    decltype(&::mpv_create) create = nullptr;
    decltype(&::mpv_initialize) initialize = nullptr;
    decltype(&::mpv_terminate_destroy) terminate_destroy = nullptr;
    decltype(&::mpv_set_option_string) set_option_string = nullptr;
    decltype(&::mpv_observe_property) observe_property = nullptr;
    decltype(&::mpv_request_log_messages) request_log_messages = nullptr;
    decltype(&::mpv_set_wakeup_callback) set_wakeup_callback = nullptr;
    decltype(&::mpv_wait_event) wait_event = nullptr;
    decltype(&::mpv_command_async) command_async = nullptr;
    decltype(&::mpv_command) command = nullptr;
    decltype(&::mpv_get_property) get_property = nullptr;
    decltype(&::mpv_get_property_string) get_property_string = nullptr;
    decltype(&::mpv_free) free = nullptr;
    decltype(&::mpv_error_string) error_string = nullptr;
    decltype(&::mpv_render_context_create) render_context_create = nullptr;
    decltype(&::mpv_render_context_free) render_context_free = nullptr;
    decltype(&::mpv_render_context_set_update_callback) render_context_set_update_callback =
        nullptr;
    decltype(&::mpv_render_context_update) render_context_update = nullptr;
    decltype(&::mpv_render_context_render) render_context_render = nullptr;
    decltype(&::mpv_render_context_report_swap) render_context_report_swap = nullptr;
    decltype(&::mpv_render_context_get_info) render_context_get_info = nullptr;
    decltype(&::mpv_get_time_us) get_time_us = nullptr;
};

// Loads libmpv on the first call. Null when it cannot be loaded or is of another major version;
// the reason is logged once.
[[nodiscard]] const MpvLibrary* loadMpvLibrary();

// Starts loading libmpv on a pool thread, once: a film played later does not wait the tenth of a
// second or more the library and the many it brings take to load.
void preloadMpvLibrary();

// The loaded library; only after loadMpvLibrary() has answered non-null.
[[nodiscard]] const MpvLibrary& libmpv();

}  // namespace tivora
