#include "media/MpvCore.h"

#include "forms/StartupTrace.h"
#include "media/MpvLibrary.h"
#include "media/MpvPlatform.h"
#include "media/MpvProperties.h"
#include "media/MpvRenderContext.h"

#include <mpv/client.h>

#include <utility>
#include <vector>

namespace tivora {

const char* hwdecMode(bool wanted) {
    return wanted && hasDecoderDevice() ? "auto-safe" : "no";
}

std::unique_ptr<MpvCore> MpvCore::create(Settings settings) {
    if (loadMpvLibrary() == nullptr) {
        return nullptr;
    }
    mpv_handle* handle = libmpv().create();
    if (handle == nullptr) {
        return nullptr;
    }
    std::unique_ptr<MpvCore> core(new MpvCore(handle));
    const std::pair<const char*, const char*> options[] = {
        {"vo", settings.renderVideo ? "libmpv" : "null"},
        {"hwdec", hwdecMode(true)},
        // Only libavformat's probing: a text file that looks like a playlist is no video.
        {"demuxer", "lavf"},
        {"idle", "yes"},
        // A file played to its end stays paused on its last frame.
        {"keep-open", "yes"},
        // Subtitle files named after the video ("film.srt", "film.chs.srt", "film[字幕].ass") load
        // with it; those that are not UTF-8 are read as GB18030, which GBK files are.
        {"sub-auto", "fuzzy"},
        {"sub-codepage", "gb18030"},
        {"terminal", "no"},
        {"config", "no"},
        {"load-scripts", "no"},
        {"load-stats-overlay", "no"},
        {"load-osd-console", "no"},
        {"load-auto-profiles", "no"},
        {"ytdl", "no"},
        // Network films: a stream that stalls this long fails; playlists name no local files.
        {"network-timeout", "30"},
        {"load-unsafe-playlists", "no"},
        {"osc", "no"},
        {"input-default-bindings", "no"},
        {"input-vo-keyboard", "no"},
        {"audio-client-name", "Tivora"},
    };
    for (const auto& [name, value] : options) {
        libmpv().set_option_string(handle, name, value);
    }
    // With sound, the platform's outputs or mpv's own search: it has no driver named "auto", and
    // a list of only drivers it lacks leaves every film silent.
    if (!settings.audio) {
        libmpv().set_option_string(handle, "ao", "null");
    } else if (const QByteArray outputs = audioOutputs(); !outputs.isEmpty()) {
        libmpv().set_option_string(handle, "ao", outputs.constData());
    }
    if (libmpv().initialize(handle) < 0) {
        return nullptr;
    }
    for (const mpvprop::ObservedProperty& property : mpvprop::kObserved) {
        libmpv().observe_property(handle, static_cast<std::uint64_t>(property.id), property.name,
                                  property.format);
    }
    libmpv().request_log_messages(handle, trace::enabled() ? "v" : "warn");
    if (settings.renderVideo) {
        core->render_ = MpvRenderContext::create(handle);
    }
    return core;
}

MpvCore::MpvCore(mpv_handle* handle) : handle_(handle) {
    libmpv().set_wakeup_callback(handle, &MpvCore::onWakeup, this);
}

MpvCore::~MpvCore() = default;

void MpvCore::Terminate::operator()(mpv_handle* handle) const {
    // Returns only when no wakeup is running any more.
    libmpv().set_wakeup_callback(handle, nullptr, nullptr);
    libmpv().terminate_destroy(handle);
}

void MpvCore::onWakeup(void* self) {
    // Called on one of mpv's threads.
    QMetaObject::invokeMethod(static_cast<MpvCore*>(self), &MpvCore::eventsWaiting,
                              Qt::QueuedConnection);
}

const mpv_event* MpvCore::nextEvent() {
    const mpv_event* event = libmpv().wait_event(handle_.get(), 0);
    return event->event_id == MPV_EVENT_NONE ? nullptr : event;
}

void MpvCore::command(std::initializer_list<const char*> arguments) {
    std::vector<const char*> list(arguments);
    list.push_back(nullptr);
    libmpv().command_async(handle_.get(), 0, list.data());
}

int MpvCore::commandNow(std::initializer_list<const char*> arguments) {
    std::vector<const char*> list(arguments);
    list.push_back(nullptr);
    return libmpv().command(handle_.get(), list.data());
}

void MpvCore::setProperty(const char* name, const char* value) {
    command({"set", name, value});
}

QString MpvCore::stringProperty(const char* name) const {
    char* text = libmpv().get_property_string(handle_.get(), name);
    if (text == nullptr) {
        return {};
    }
    QString result = QString::fromUtf8(text);
    libmpv().free(text);
    return result;
}

std::optional<double> MpvCore::doubleProperty(const char* name) const {
    double value = 0;
    if (libmpv().get_property(handle_.get(), name, MPV_FORMAT_DOUBLE, &value) < 0) {
        return std::nullopt;
    }
    return value;
}

}  // namespace tivora
