#include "forms/QuitRequest.h"

#include <atomic>

namespace tivora::quit {
namespace {

std::atomic<bool> quitRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

}  // namespace

void request() {
    quitRequested.store(true, std::memory_order_relaxed);
}

bool requested() {
    return quitRequested.load(std::memory_order_relaxed);
}

void resetForTesting() {
    quitRequested.store(false, std::memory_order_relaxed);
}

}  // namespace tivora::quit
