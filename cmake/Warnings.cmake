# Our own code builds warning-free; JUCE's headers come in as system headers,
# so their warnings (GCC 12 reports false dangling pointers in JUCE 7.0.5) stay out.
add_library(modulix_warnings INTERFACE)
target_compile_options(modulix_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
    -Wcast-align -Wunused -Wnull-dereference -Wdouble-promotion -Werror
    # GoogleTest's typed-test macros expand to an empty variadic argument list.
    $<$<CXX_COMPILER_ID:Clang>:-Wno-gnu-zero-variadic-macro-arguments>)
