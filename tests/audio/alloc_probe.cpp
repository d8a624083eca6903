// Linker-level malloc/realloc wrappers behind alloc_probe.h.
#include "audio/alloc_probe.h"

#include <atomic>

extern "C" void* __real_malloc(size_t size);
extern "C" void* __real_realloc(void* ptr, size_t size);

namespace {
std::atomic<bool> g_armed{false};
std::atomic<size_t> g_largest{0};

void Note(size_t size) {
    if (!g_armed.load()) return;
    size_t seen = g_largest.load();
    while (size > seen && !g_largest.compare_exchange_weak(seen, size)) {
    }
}
}  // namespace

extern "C" void* __wrap_malloc(size_t size) {
    Note(size);
    return __real_malloc(size);
}

extern "C" void* __wrap_realloc(void* ptr, size_t size) {
    Note(size);
    return __real_realloc(ptr, size);
}

namespace alloc_probe {

void Arm() {
    g_largest = 0;
    g_armed = true;
}

size_t Disarm() {
    g_armed = false;
    return g_largest.load();
}

}  // namespace alloc_probe
