#include "ModulixQR7150DocumentOpener.h"

#include <algorithm>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
    /** The opener's full path from PATH, looked up before forking: between fork
        and exec only async-signal-safe calls may run. */
    juce::File findOnPath (const juce::String& program)
    {
        if (juce::File::isAbsolutePath (program))
            return program;

        const auto path = juce::SystemStats::getEnvironmentVariable ("PATH", "/usr/local/bin:/usr/bin:/bin");

        for (const auto& folder : juce::StringArray::fromTokens (path, ":", {}))
        {
            const auto candidate = juce::File::getCurrentWorkingDirectory().getChildFile (folder).getChildFile (program);

            if (candidate.existsAsFile() && access (candidate.getFullPathName().toRawUTF8(), X_OK) == 0)
                return candidate;
        }

        return {};
    }

    /** In the forked child, before exec: standard streams on /dev/null, every
        other descriptor closed, no signal blocked. Only async-signal-safe calls. */
    void leaveNothingInherited (int highestDescriptor) noexcept
    {
        const int null = open ("/dev/null", O_RDWR);

        for (int fd = 0; fd <= 2; ++fd)
            if (null >= 0 && null != fd)
                dup2 (null, fd);

        bool closedAtOnce = false;
       #ifdef SYS_close_range
        closedAtOnce = syscall (SYS_close_range, 3u, ~0u, 0u) == 0;
       #endif

        for (int fd = 3; ! closedAtOnce && fd <= highestDescriptor; ++fd)
            close (fd);

        sigset_t none;
        sigemptyset (&none);
        sigprocmask (SIG_SETMASK, &none, nullptr);
    }
}

bool openWithDesktopApplication (const juce::File& document, const juce::String& opener)
{
    return openWithDesktopApplication (document.getFullPathName(), opener);
}

bool openWithDesktopApplication (const juce::String& target, const juce::String& opener)
{
    const auto program = findOnPath (opener);

    if (program == juce::File())
        return false;

    const std::string programPath = program.getFullPathName().toStdString();
    const std::string name = opener.toStdString();
    const std::string argument = target.toStdString();
    const auto maxDescriptors = sysconf (_SC_OPEN_MAX);
    const int highestDescriptor = maxDescriptors > 0 ? (int) std::min<long> (maxDescriptors, 1 << 16) - 1 : 1023;
    char* const argv[] { const_cast<char*> (name.c_str()), const_cast<char*> (argument.c_str()), nullptr };

    // Forked twice, so the opener belongs to init, which reaps it; the
    // intermediate child exits at once and is reaped here.
    const pid_t child = fork();

    if (child < 0)
        return false;

    if (child == 0)
    {
        setsid();
        const pid_t detached = fork();

        if (detached == 0)
        {
            leaveNothingInherited (highestDescriptor);
            execv (programPath.c_str(), argv);
            _exit (127);
        }

        _exit (detached < 0 ? 1 : 0);
    }

    int status = 0;
    while (waitpid (child, &status, 0) < 0 && errno == EINTR) {}
    return WIFEXITED (status) && WEXITSTATUS (status) == 0;
}
