// Linked into every test executable: HOME points into the build tree before
// main() and before JUCE starts, also when a suite is started by hand rather
// than through CTest, so no test reads or writes the real home folder.
#include <cstdlib>

namespace
{
[[maybe_unused]] const bool homeInBuildTree = ::setenv ("HOME", MODULIX_TEST_HOME, 1) == 0;
}
