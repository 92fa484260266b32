#pragma once

/** Makes the floating-point unit flush subnormal results to zero and treat
    subnormal inputs as zero for the lifetime of the object, then restores the
    previous mode. Put one on the stack around audio processing so feedback
    paths that decay towards silence never run on slow subnormal arithmetic.
    Does nothing on processors without SSE control registers. */
class ScopedFlushDenormals final
{
public:
    /** Saves the current mode and switches flush-to-zero and denormals-are-zero on. */
    ScopedFlushDenormals() noexcept;

    /** Restores the mode that was in force at construction. */
    ~ScopedFlushDenormals() noexcept;

    ScopedFlushDenormals (const ScopedFlushDenormals&) = delete;
    ScopedFlushDenormals& operator= (const ScopedFlushDenormals&) = delete;

private:
    [[maybe_unused]] unsigned int previousMode = 0;
};
