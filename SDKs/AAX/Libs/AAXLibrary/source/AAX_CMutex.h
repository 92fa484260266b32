// A mutex that the thread holding it may take again without blocking, and the
// scope guard through which it is taken.
#pragma once

#include <atomic>
#include <memory>
#include <pthread.h>

class AAX_CMutex
{
public:
    /** Without a working POSIX mutex every operation runs without locking. */
    AAX_CMutex();
    ~AAX_CMutex();

    AAX_CMutex (const AAX_CMutex&) = delete;
    AAX_CMutex& operator= (const AAX_CMutex&) = delete;

    /** Blocks until the mutex is free and takes it: true. False at once when the
        calling thread already holds it (nothing more is taken) or there is no mutex. */
    bool Lock();
    /** Frees the mutex; nothing when the calling thread does not hold it. */
    void Unlock();

private:
    struct State
    {
        // Read by every thread that asks, written only by the holder.
        std::atomic<pthread_t> ownerThread { pthread_t() };
        std::atomic<bool> owned { false };
        pthread_mutex_t mutex;
    };

    bool isHeldByCallingThread() const noexcept;

    std::unique_ptr<State> state;
};

/** Takes the mutex for a scope; a guard nested on the holding thread takes and
    releases nothing, so only the outermost guard frees it. */
class AAX_StLock_Guard
{
public:
    explicit AAX_StLock_Guard (AAX_CMutex& mutexToLock) : mutex (&mutexToLock), locked (mutexToLock.Lock()) {}

    ~AAX_StLock_Guard()
    {
        if (locked)
            mutex->Unlock();
    }

    AAX_StLock_Guard (const AAX_StLock_Guard&) = delete;
    AAX_StLock_Guard& operator= (const AAX_StLock_Guard&) = delete;

private:
    AAX_CMutex* mutex;
    bool locked;
};
