#include "AudioThreadAllocations.h"

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <new>

#if defined(__has_feature)
 #if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
  #define MODULIX_ALLOCATOR_OWNED_BY_SANITIZER 1
 #endif
#endif

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
 #define MODULIX_ALLOCATOR_OWNED_BY_SANITIZER 1
#endif

namespace
{
// Plain flags and counters only: these are read inside the allocator itself.
thread_local bool isAudioThread = false;
std::atomic<std::int64_t> allocations { 0 };
std::atomic<std::int64_t> frees { 0 };

void noteAllocation() noexcept
{
    if (isAudioThread)
        allocations.fetch_add (1, std::memory_order_relaxed);
}

void noteFree (const volatile void* block) noexcept
{
    if (isAudioThread && block != nullptr)
        frees.fetch_add (1, std::memory_order_relaxed);
}
}

namespace AudioThreadAllocations
{
Counts counted() noexcept
{
    return { allocations.load(), frees.load() };
}

ScopedAudioThread::ScopedAudioThread() noexcept
    : wasMarked (isAudioThread)
{
    isAudioThread = true;
}

ScopedAudioThread::~ScopedAudioThread()
{
    isAudioThread = wasMarked;
}
}

#if MODULIX_ALLOCATOR_OWNED_BY_SANITIZER

#include <sanitizer/allocator_interface.h>

namespace
{
void onSanitizerMalloc (const volatile void*, std::size_t) { noteAllocation(); }
void onSanitizerFree (const volatile void* block)          { noteFree (block); }

[[maybe_unused]] const bool hooksInstalled =
    __sanitizer_install_malloc_and_free_hooks (onSanitizerMalloc, onSanitizerFree) != 0;
}

#else

// glibc's own allocator under its internal names. Everything below forwards to
// it, so blocks from any route (a module's new, libc's strdup) free alike. The
// test executable exports these definitions, so modules it loads use them too.
extern "C"
{
void* __libc_malloc (std::size_t);
void* __libc_calloc (std::size_t, std::size_t);
void* __libc_realloc (void*, std::size_t);
void* __libc_memalign (std::size_t, std::size_t);
void* __libc_valloc (std::size_t);
void __libc_free (void*);

void* malloc (std::size_t size)
{
    noteAllocation();
    return __libc_malloc (size);
}

void* calloc (std::size_t count, std::size_t size)
{
    noteAllocation();
    return __libc_calloc (count, size);
}

void* realloc (void* block, std::size_t size)
{
    noteAllocation();
    noteFree (block);
    return __libc_realloc (block, size);
}

void* reallocarray (void* block, std::size_t count, std::size_t size)
{
    std::size_t total = 0;

    if (__builtin_mul_overflow (count, size, &total))
    {
        errno = ENOMEM;
        return nullptr;
    }

    return realloc (block, total);
}

void* memalign (std::size_t alignment, std::size_t size)
{
    noteAllocation();
    return __libc_memalign (alignment, size);
}

void* aligned_alloc (std::size_t alignment, std::size_t size)
{
    return memalign (alignment, size);
}

void* valloc (std::size_t size)
{
    noteAllocation();
    return __libc_valloc (size);
}

int posix_memalign (void** result, std::size_t alignment, std::size_t size)
{
    if (alignment < sizeof (void*) || (alignment & (alignment - 1)) != 0)
        return EINVAL;

    void* block = memalign (alignment, size);

    if (block == nullptr)
        return ENOMEM;

    *result = block;
    return 0;
}

void free (void* block)
{
    noteFree (block);
    __libc_free (block);
}
}

namespace
{
void* allocateOrNull (std::size_t size, std::size_t alignment) noexcept
{
    if (size == 0)
        size = 1;

    noteAllocation();
    return alignment <= alignof (std::max_align_t) ? __libc_malloc (size) : __libc_memalign (alignment, size);
}

void* allocateOrThrow (std::size_t size, std::size_t alignment)
{
    for (;;)
    {
        if (void* block = allocateOrNull (size, alignment))
            return block;

        if (auto handler = std::get_new_handler())
            handler();
        else
            throw std::bad_alloc();
    }
}

void release (void* block) noexcept
{
    noteFree (block);
    __libc_free (block);
}

std::size_t toSize (std::align_val_t alignment) noexcept  { return static_cast<std::size_t> (alignment); }
}

void* operator new (std::size_t size)                                          { return allocateOrThrow (size, 0); }
void* operator new[] (std::size_t size)                                        { return allocateOrThrow (size, 0); }
void* operator new (std::size_t size, const std::nothrow_t&) noexcept          { return allocateOrNull (size, 0); }
void* operator new[] (std::size_t size, const std::nothrow_t&) noexcept        { return allocateOrNull (size, 0); }
void* operator new (std::size_t size, std::align_val_t a)                      { return allocateOrThrow (size, toSize (a)); }
void* operator new[] (std::size_t size, std::align_val_t a)                    { return allocateOrThrow (size, toSize (a)); }
void* operator new (std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept   { return allocateOrNull (size, toSize (a)); }
void* operator new[] (std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept { return allocateOrNull (size, toSize (a)); }

void operator delete (void* block) noexcept                                    { release (block); }
void operator delete[] (void* block) noexcept                                  { release (block); }
void operator delete (void* block, std::size_t) noexcept                       { release (block); }
void operator delete[] (void* block, std::size_t) noexcept                     { release (block); }
void operator delete (void* block, const std::nothrow_t&) noexcept             { release (block); }
void operator delete[] (void* block, const std::nothrow_t&) noexcept           { release (block); }
void operator delete (void* block, std::align_val_t) noexcept                  { release (block); }
void operator delete[] (void* block, std::align_val_t) noexcept                { release (block); }
void operator delete (void* block, std::size_t, std::align_val_t) noexcept     { release (block); }
void operator delete[] (void* block, std::size_t, std::align_val_t) noexcept   { release (block); }
void operator delete (void* block, std::align_val_t, const std::nothrow_t&) noexcept   { release (block); }
void operator delete[] (void* block, std::align_val_t, const std::nothrow_t&) noexcept { release (block); }

#endif
