#include "forms/StartupTrace.h"

#include <QElapsedTimer>
#include <QString>
#include <QtGlobal>
#include "forms/Logging.h"

#include <cstdio>

namespace tivora::trace {
namespace {

// Started while the program's libraries are initialised, before main.
struct Clock {
    Clock() { timer.start(); }
    QElapsedTimer timer;
    bool on = qEnvironmentVariableIntValue("TIVORA_TRACE_STARTUP") == 1;
};

Clock& clock() {
    static Clock instance;
    return instance;
}

[[maybe_unused]] const Clock& startedAtLoad = clock();

}  // namespace

bool enabled() {
    return clock().on;
}

void mark(QStringView what) {
    if (!enabled()) {
        return;
    }
    const double ms = static_cast<double>(clock().timer.nsecsElapsed()) / 1e6;
    qCInfo(lcTrace).noquote() << QString::asprintf("%8.1f", ms) << what;
}

}  // namespace tivora::trace
