#include "AAX_CMutex.h"

AAX_CMutex::AAX_CMutex()
    : state (std::make_unique<State>())
{
    if (pthread_mutex_init (&state->mutex, nullptr) != 0)
        state.reset();
}

AAX_CMutex::~AAX_CMutex()
{
    if (state != nullptr)
        pthread_mutex_destroy (&state->mutex);
}

bool AAX_CMutex::isHeldByCallingThread() const noexcept
{
    // The owner is only ever this thread's own handle when this thread wrote it,
    // so reading a stale handle of another thread cannot make this true.
    return state->owned.load (std::memory_order_acquire)
        && pthread_equal (state->ownerThread.load (std::memory_order_acquire), pthread_self()) != 0;
}

bool AAX_CMutex::Lock()
{
    if (state == nullptr || isHeldByCallingThread())
        return false;

    pthread_mutex_lock (&state->mutex);
    state->ownerThread.store (pthread_self(), std::memory_order_release);
    state->owned.store (true, std::memory_order_release);
    return true;
}

void AAX_CMutex::Unlock()
{
    if (state == nullptr || ! isHeldByCallingThread())
        return;

    state->owned.store (false, std::memory_order_release);
    pthread_mutex_unlock (&state->mutex);
}
