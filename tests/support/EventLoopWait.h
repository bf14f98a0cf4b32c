#pragma once

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <functional>

namespace tivora::test {

// Waits for condition in a real event loop. WebEngine needs that: QTest::qWaitFor's polling slows
// Chromium's message pump badly.
inline bool waitUntil(const std::function<bool()>& condition, int milliseconds = 30000) {
    QDeadlineTimer deadline(milliseconds);
    while (!condition() && !deadline.hasExpired()) {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return condition();
}

}  // namespace tivora::test
