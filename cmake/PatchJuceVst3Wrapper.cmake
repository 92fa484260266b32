# Our mends to JUCE's VST3 plug-in wrapper live in one unified diff,
# juce-vst3-wrapper.patch next to this file, which says what each mends and
# why. At configure time the JUCE files it names are copied into the build
# tree and patched there; Debian's files stay untouched. Configuration stops
# when the patch does not apply cleanly to the installed JUCE.
#
# The plug-in's VST3 target then compiles the patched wrapper instead of
# JUCE's, and finds the patched copies of JUCE headers before the originals.
#
# modulix_patch_juce_vst3_wrapper(<plug-in target>)

function(modulix_patch_juce_vst3_wrapper target)
    find_program(MODULIX_PATCH_EXECUTABLE patch REQUIRED)

    set(patch_file "${PROJECT_SOURCE_DIR}/cmake/juce-vst3-wrapper.patch")
    set(patched_dir "${CMAKE_CURRENT_BINARY_DIR}/juce-patched")
    set(staging_dir "${CMAKE_CURRENT_BINARY_DIR}/juce-patch-staging")
    set(client_dir "${JUCE_MODULES_DIR}/juce_audio_plugin_client")
    set(wrapper "juce_audio_plugin_client/VST3/juce_VST3_Wrapper.cpp")
    set(unity_source "${client_dir}/juce_audio_plugin_client_VST3.cpp")

    file(STRINGS "${patch_file}" touched REGEX "^\\+\\+\\+ b/")
    list(TRANSFORM touched REPLACE "^\\+\\+\\+ b/([^\t]*).*$" "\\1")

    # JUCE's sources end their lines with CR LF; the copies get plain LF so
    # that the patch stays an ordinary text file.
    file(REMOVE_RECURSE "${staging_dir}")
    foreach(relative IN LISTS touched)
        file(READ "${JUCE_MODULES_DIR}/${relative}" text)
        string(REPLACE "\r\n" "\n" text "${text}")
        file(WRITE "${staging_dir}/${relative}" "${text}")
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${JUCE_MODULES_DIR}/${relative}")
    endforeach()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${patch_file}")

    execute_process(
        COMMAND "${MODULIX_PATCH_EXECUTABLE}" -p1 --batch --forward --fuzz=0 --no-backup-if-mismatch
                --reject-file=- -d "${staging_dir}" -i "${patch_file}"
        RESULT_VARIABLE result
        OUTPUT_VARIABLE output
        ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "Cannot mend JUCE's VST3 wrapper: ${patch_file} does not apply cleanly "
                            "to the JUCE in ${JUCE_MODULES_DIR}. Check whether this JUCE version "
                            "still needs each mend.\n${output}")
    endif()

    # Copied over only when changed, so that an unchanged copy keeps its time
    # stamp and is not compiled again.
    foreach(relative IN LISTS touched)
        configure_file("${staging_dir}/${relative}" "${patched_dir}/${relative}" COPYONLY)
    endforeach()

    if(NOT "${wrapper}" IN_LIST touched)
        message(FATAL_ERROR "Cannot mend JUCE's VST3 wrapper: ${patch_file} does not touch ${wrapper}.")
    endif()

    # The wrapper's sources reach the plug-in through JUCE's interface library
    # for the format; swap its one source for the mended copy.
    get_target_property(sources juce_audio_plugin_client_VST3 INTERFACE_SOURCES)
    list(FIND sources "${unity_source}" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "Cannot mend JUCE's VST3 wrapper: ${unity_source} is not among the "
                            "sources of juce_audio_plugin_client_VST3 (${sources}).")
    endif()
    list(REMOVE_ITEM sources "${unity_source}")
    list(APPEND sources "${patched_dir}/${wrapper}")
    set_target_properties(juce_audio_plugin_client_VST3 PROPERTIES INTERFACE_SOURCES "${sources}")

    # The copy's own relative includes ("../utility/...") resolve against the
    # original's folder; its module includes (<juce_audio_processors/...>) find
    # the patched headers first.
    set_source_files_properties("${patched_dir}/${wrapper}" TARGET_DIRECTORY ${target}_VST3
        PROPERTIES INCLUDE_DIRECTORIES "${client_dir}/VST3")
    target_include_directories(${target}_VST3 BEFORE PRIVATE "${patched_dir}")
endfunction()
