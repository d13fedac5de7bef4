#include "platform/com/test_hooks.h"

#include <atomic>

namespace {
std::atomic<uint32_t> bstrFailures{0};
std::atomic<uint32_t> safeArrayFailures{0};

// Uses up one pending failure, if any, without ever going below zero.
bool take(std::atomic<uint32_t>& pending) noexcept {
    uint32_t left = pending.load(std::memory_order_relaxed);
    while (left > 0) {
        if (pending.compare_exchange_weak(left, left - 1, std::memory_order_relaxed))
            return true;
    }
    return false;
}
} // namespace

void comTestHooks::failBstrAllocations(uint32_t count) noexcept {
    bstrFailures.store(count);
}
void comTestHooks::failSafeArrayAllocations(uint32_t count) noexcept {
    safeArrayFailures.store(count);
}
void comTestHooks::reset() noexcept {
    bstrFailures.store(0);
    safeArrayFailures.store(0);
}
bool comTestHooks::takeBstrFailure() noexcept {
    return take(bstrFailures);
}
bool comTestHooks::takeSafeArrayFailure() noexcept {
    return take(safeArrayFailures);
}
