// Xlib keeps some of its allocations until the process ends (the resource
// database, input methods). JUCE loads the X libraries at run time and unloads
// them at shutdown, after which LeakSanitizer cannot tell whose they were. The
// libraries are kept loaded here, so their leaks carry their names and only
// theirs are suppressed.
#include <dlfcn.h>

#include <initializer_list>

namespace
{
    const bool xLibrariesKept = []
    {
        for (const char* name : { "libX11.so.6", "libXext.so.6", "libXcursor.so.1", "libXinerama.so.1",
                                  "libXrender.so.1", "libXrandr.so.2" })
            dlopen (name, RTLD_NOW | RTLD_NODELETE);

        return true;
    }();
}

extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libX11.so\nleak:libXext.so\nleak:libXcursor.so\nleak:libXinerama.so\n"
           "leak:libXrender.so\nleak:libXrandr.so\n";
}
