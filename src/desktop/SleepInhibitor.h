#pragma once

#include <QtGlobal>

namespace tivora {

// Keeps the screen saver and system sleep away while on; the hold itself is one source file per
// system. Where the system offers no way (no session bus, no screen-saver service) it does
// nothing, silently.
class SleepInhibitor final {
public:
    SleepInhibitor() = default;
    ~SleepInhibitor();
    Q_DISABLE_COPY_MOVE(SleepInhibitor)

    void setInhibited(bool on);
    [[nodiscard]] bool isInhibited() const { return inhibited_; }

private:
    void hold();
    void release();

    bool inhibited_ = false;
    // What the system handed out for the hold, where it hands out anything.
    bool held_ = false;
    quint32 cookie_ = 0;
};

}  // namespace tivora
