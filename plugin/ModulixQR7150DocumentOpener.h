#pragma once

#include <juce_core/juce_core.h>

/** Opens a document or a web address with the desktop's default application:
    runs the opener program (found on PATH, "xdg-open" by default) with the
    target as its one argument. No shell sees the target, so quotes, "$" or
    backticks in it are only characters, and a document is never executed.
    The opener runs detached: the caller does not wait for it and leaves no
    zombie behind. It inherits none of the caller's descriptors (a host's
    project files and sockets): its standard streams read and write /dev/null.
    Returns false when the opener cannot be found or started. */
bool openWithDesktopApplication (const juce::String& target, const juce::String& opener = "xdg-open");

/** Opens a document file, as above, by its full path. */
bool openWithDesktopApplication (const juce::File& document, const juce::String& opener = "xdg-open");
