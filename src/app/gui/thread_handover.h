#pragma once

// A worker thread's results are handed to the window through QThread's
// finish and wait(), which Qt orders with futexes ThreadSanitizer cannot
// see. These two calls tell it; in other builds they are nothing.
#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

namespace orvanic::gui {

// At the end of a worker's run(): everything it wrote is done.
inline void handOver([[maybe_unused]] const void* worker)
{
#if defined(__SANITIZE_THREAD__)
    __tsan_release(const_cast<void*>(worker));
#endif
}

// After waiting for that worker: what it wrote may be read and freed.
inline void takeOver([[maybe_unused]] const void* worker)
{
#if defined(__SANITIZE_THREAD__)
    __tsan_acquire(const_cast<void*>(worker));
#endif
}

}  // namespace orvanic::gui
