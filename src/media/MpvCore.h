#pragma once

#include <QObject>
#include <QString>

#include <initializer_list>
#include <memory>
#include <optional>

struct mpv_event;
struct mpv_handle;

namespace tivora {

class MpvRenderContext;

// mpv's hwdec value for hardware decoding wanted or not: the devices where mpv knows it to be
// safe, falling back to software when they fail, and software alone on a machine without any.
[[nodiscard]] const char* hwdecMode(bool wanted);

// One mpv core and, when it draws video, its render context: made together, and freed in order
// (the render context before the core it draws from) whoever lets go of them and whenever.
class MpvCore final : public QObject {
    Q_OBJECT

public:
    struct Settings {
        // Video handed to a render context; otherwise no video output at all.
        bool renderVideo = false;
        bool audio = true;
    };

    // Null when libmpv cannot be loaded or the core does not start. A core that draws video but
    // cannot make its render context still plays the sound.
    [[nodiscard]] static std::unique_ptr<MpvCore> create(Settings settings);
    ~MpvCore() override;
    Q_DISABLE_COPY_MOVE(MpvCore)

    // Null when the core draws no video.
    [[nodiscard]] MpvRenderContext* renderContext() const { return render_.get(); }

    // The next event waiting; null when none is. Valid until the next call.
    [[nodiscard]] const mpv_event* nextEvent();
    // Asynchronous: a core busy opening a file never blocks the window.
    void command(std::initializer_list<const char*> arguments);
    // Waits for mpv to carry it out: for commands whose outcome the caller needs (a file
    // written, a file loaded). mpv's error code, 0 or more on success.
    [[nodiscard]] int commandNow(std::initializer_list<const char*> arguments);
    void setProperty(const char* name, const char* value);
    // Empty or nothing when mpv has no value now.
    [[nodiscard]] QString stringProperty(const char* name) const;
    [[nodiscard]] std::optional<double> doubleProperty(const char* name) const;

Q_SIGNALS:
    // Events wait to be taken with nextEvent().
    void eventsWaiting();

private:
    struct Terminate {
        void operator()(mpv_handle* handle) const;
    };

    explicit MpvCore(mpv_handle* handle);
    static void onWakeup(void* self);

    // Declared first so that it goes last.
    std::unique_ptr<mpv_handle, Terminate> handle_;
    std::unique_ptr<MpvRenderContext> render_;
};

}  // namespace tivora
