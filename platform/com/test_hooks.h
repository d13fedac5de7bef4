// Fault injection for tests (the simulated SolidWorks' fault plan): make the next N BSTR
// allocations or SAFEARRAY creations fail as if memory ran out. Thread-safe.
#pragma once

#include <cstdint>

class comTestHooks {
public:
    // The next `count` BSTR allocations (SysAllocString*, and so _bstr_t) return nullptr.
    static void failBstrAllocations(uint32_t count) noexcept;
    // The next `count` SAFEARRAY creations and copies return nullptr / E_OUTOFMEMORY.
    static void failSafeArrayAllocations(uint32_t count) noexcept;
    // Back to normal allocation.
    static void reset() noexcept;

    // Used by the allocators: true (and one failure used up) when this allocation must fail.
    static bool takeBstrFailure() noexcept;
    static bool takeSafeArrayFailure() noexcept;
};
