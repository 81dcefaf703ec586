#pragma once
// What a thread did before it posted a call to the user-interface thread
// happens before that call runs: Qt's event queue guarantees it, but through
// futexes that ThreadSanitizer cannot see (Qt's libraries are not built with
// it). These two calls state that order for the sanitizer, keyed by an
// object both sides know; in other builds they are nothing.

#if defined(__SANITIZE_THREAD__)
#define QUVAN_TSAN_ANNOTATE 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define QUVAN_TSAN_ANNOTATE 1
#endif
#endif

#ifdef QUVAN_TSAN_ANNOTATE
#include <sanitizer/tsan_interface.h>
#endif

namespace quvan::link {

// On the posting thread, after its last write the call relies on and before
// it posts the call.
inline void MarkPosted([[maybe_unused]] const void* key) {
#ifdef QUVAN_TSAN_ANNOTATE
    __tsan_release(const_cast<void*>(key));
#endif
}

// In the posted call, before it reads what the posting thread wrote.
inline void MarkDelivered([[maybe_unused]] const void* key) {
#ifdef QUVAN_TSAN_ANNOTATE
    __tsan_acquire(const_cast<void*>(key));
#endif
}

} // namespace quvan::link
