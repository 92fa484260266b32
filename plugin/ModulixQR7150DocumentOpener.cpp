#include "ModulixQR7150DocumentOpener.h"

#include <cerrno>

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
}

bool openWithDesktopApplication (const juce::File& document, const juce::String& opener)
{
    const auto program = findOnPath (opener);

    if (program == juce::File())
        return false;

    const std::string programPath = program.getFullPathName().toStdString();
    const std::string name = opener.toStdString();
    const std::string argument = document.getFullPathName().toStdString();
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
            execv (programPath.c_str(), argv);
            _exit (127);
        }

        _exit (detached < 0 ? 1 : 0);
    }

    int status = 0;
    while (waitpid (child, &status, 0) < 0 && errno == EINTR) {}
    return WIFEXITED (status) && WEXITSTATUS (status) == 0;
}
