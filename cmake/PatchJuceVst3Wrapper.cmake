# JUCE 7.0.5's VST3 wrapper on Linux keeps the host run loops of all open
# windows in a std::multiset and forgets a closing window's loop with
# erase (runLoop), which drops every registration of that loop. With the
# windows of two instances open on one host loop, closing one leaves the other
# deaf to the mouse until another window opens. We compile a copy of the
# wrapper, made in the build tree, that erases a single registration. Debian's
# files stay untouched, and the build stops if the line to replace has changed.
#
# modulix_patch_juce_vst3_wrapper(<plug-in target>)

function(modulix_patch_juce_vst3_wrapper target)
    set(module_dir "${JUCE_MODULES_DIR}/juce_audio_plugin_client")
    set(original "${module_dir}/VST3/juce_VST3_Wrapper.cpp")
    set(unity_source "${module_dir}/juce_audio_plugin_client_VST3.cpp")
    set(patched "${CMAKE_CURRENT_BINARY_DIR}/juce-patched/juce_VST3_Wrapper.cpp")

    set(faulty "refreshAttachedEventLoop ([this, runLoop] { hostRunLoops.erase (runLoop); });")
    set(mended "refreshAttachedEventLoop ([this, runLoop] { const auto one = hostRunLoops.find (runLoop); if (one != hostRunLoops.end()) hostRunLoops.erase (one); });")

    file(READ "${original}" text)
    string(REPLACE "${faulty}" "" without_faulty "${text}")
    string(LENGTH "${text}" before)
    string(LENGTH "${without_faulty}" after)
    string(LENGTH "${faulty}" faulty_length)
    math(EXPR occurrences "(${before} - ${after}) / ${faulty_length}")
    if(NOT occurrences EQUAL 1)
        message(FATAL_ERROR "Cannot mend JUCE's VST3 wrapper: expected the run-loop erase exactly once "
                            "in ${original}, found it ${occurrences} times. Check whether this JUCE "
                            "version still needs the mend.")
    endif()

    string(REPLACE "${faulty}" "${mended}" text "${text}")
    # Written through a staging file so that an unchanged copy keeps its time
    # stamp and is not compiled again.
    file(WRITE "${patched}.staged" "${text}")
    configure_file("${patched}.staged" "${patched}" COPYONLY)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${original}")

    # The wrapper's sources reach the plug-in through JUCE's interface library
    # for the format; swap its one source for the mended copy.
    get_target_property(sources juce_audio_plugin_client_VST3 INTERFACE_SOURCES)
    list(FIND sources "${unity_source}" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "Cannot mend JUCE's VST3 wrapper: ${unity_source} is not among the "
                            "sources of juce_audio_plugin_client_VST3 (${sources}).")
    endif()
    list(REMOVE_ITEM sources "${unity_source}")
    list(APPEND sources "${patched}")
    set_target_properties(juce_audio_plugin_client_VST3 PROPERTIES INTERFACE_SOURCES "${sources}")

    # The copy's own relative includes ("../utility/...") resolve against the
    # original's folder.
    set_source_files_properties("${patched}" TARGET_DIRECTORY ${target}_VST3
        PROPERTIES INCLUDE_DIRECTORIES "${module_dir}/VST3")
endfunction()
