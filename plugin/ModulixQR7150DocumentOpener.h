#pragma once

#include <juce_core/juce_core.h>

/** Opens a document with the desktop's default application: runs the opener
    program (found on PATH, "xdg-open" by default) with the document's path as
    its one argument. No shell sees the path, so quotes, "$" or backticks in it
    are only characters, and the document itself is never executed. The opener
    runs detached: the caller does not wait for it and leaves no zombie behind.
    Returns false when the opener cannot be found or started. */
bool openWithDesktopApplication (const juce::File& document, const juce::String& opener = "xdg-open");
