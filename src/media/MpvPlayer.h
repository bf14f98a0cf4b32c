#pragma once

#include "PlayerControl.h"

#include <QPointer>

struct mpv_handle;

namespace tivora {

class MpvVideoWidget;

struct MpvOptions {
    // False: no video output and no render context, as for tests without a display.
    bool renderVideo = true;
    bool audio = true;
};

// The player control over libmpv: the video drawn in a widget of the window, events delivered
// on the user-interface thread.
class MpvPlayer final : public PlayerControl {
    Q_OBJECT

public:
    // Null when libmpv cannot start. The player belongs to its widget, made inside parent.
    [[nodiscard]] static MpvPlayer* create(QWidget* parent, MpvOptions options = {});
    ~MpvPlayer() override;
    Q_DISABLE_COPY_MOVE(MpvPlayer)

    void stop() override;
    void setSource(const QString& path) override;
    // Starts the source from its beginning unless it is the one already playing.
    void play() override;
    [[nodiscard]] QWidget* widget() const override;

    // Seconds into the current file; negative when nothing plays.
    [[nodiscard]] double positionForTesting() const;
    // The file mpv has open; empty when idle.
    [[nodiscard]] QString pathForTesting() const;

Q_SIGNALS:
    void fileLoaded();
    // A file stopped playing: at its end, replaced, stopped, or because it failed.
    void endFile(bool byError);

private:
    MpvPlayer(mpv_handle* mpv, QWidget* view, bool videoShown);
    static void onMpvWakeup(void* self);
    void drainEvents();
    void command(std::initializer_list<const char*> arguments);

    mpv_handle* mpv_;
    QPointer<QWidget> view_;
    QPointer<MpvVideoWidget> video_;
    bool videoShown_;
    bool toldNoVideo_ = false;
    QString source_;
    // The file last handed to mpv while it has not ended.
    QString loaded_;
};

}  // namespace tivora
