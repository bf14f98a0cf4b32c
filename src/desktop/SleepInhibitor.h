#pragma once

#include <QtGlobal>

#include <memory>

namespace tivora {

// Keeps the screen saver and system sleep away while on; one source file per system. Where the
// system offers no way (no session bus, no screen-saver service) it does nothing, silently.
class SleepInhibitor final {
public:
    SleepInhibitor();
    ~SleepInhibitor();
    Q_DISABLE_COPY_MOVE(SleepInhibitor)

    void setInhibited(bool on);
    [[nodiscard]] bool isInhibited() const { return inhibited_; }

private:
    struct Platform;
    std::unique_ptr<Platform> platform_;
    bool inhibited_ = false;
};

}  // namespace tivora
