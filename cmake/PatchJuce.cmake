# Our mends to JUCE live in one unified diff, juce.patch next to this file,
# which says what each mends and why. At configure time the JUCE files it
# names are copied into the build tree and patched there; Debian's files stay
# untouched. Configuration stops when the patch does not apply cleanly to the
# installed JUCE.
#
# modulix_patch_juce() patches the copies and has juce_modules compile the
# mended core and event modules and VST3 SDK sources;
# modulix_patch_juce_vst3_wrapper(<plug-in target>) has the plug-in's VST3
# target compile the mended wrapper and find the mended JUCE headers before
# the originals.

set(MODULIX_JUCE_PATCHED_DIR "${PROJECT_BINARY_DIR}/juce-patched")
set(MODULIX_JUCE_PATCHED_SDK_DIR "${MODULIX_JUCE_PATCHED_DIR}/juce_audio_processors/format_types/VST3_SDK")

# Swaps a JUCE module's unity source, reached through the module's interface
# library, for a mended copy in the patched folder; the copy's relative
# includes of files that are not mended resolve against the folder of JUCE's
# own file of that name.
function(modulix_use_patched_source module_target unity replacement consumer)
    set(original "${JUCE_MODULES_DIR}/${unity}")
    set(copy "${MODULIX_JUCE_PATCHED_DIR}/${replacement}")
    get_target_property(sources ${module_target} INTERFACE_SOURCES)
    list(FIND sources "${original}" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "Cannot mend JUCE: ${original} is not among the sources of "
                            "${module_target} (${sources}).")
    endif()
    list(REMOVE_ITEM sources "${original}")
    list(APPEND sources "${copy}")
    set_target_properties(${module_target} PROPERTIES INTERFACE_SOURCES "${sources}")

    get_filename_component(original_dir "${JUCE_MODULES_DIR}/${replacement}" DIRECTORY)
    set_source_files_properties("${copy}" TARGET_DIRECTORY ${consumer}
        PROPERTIES INCLUDE_DIRECTORIES "${original_dir}")
endfunction()

function(modulix_patch_juce)
    find_program(MODULIX_PATCH_EXECUTABLE patch REQUIRED)

    set(patch_file "${PROJECT_SOURCE_DIR}/cmake/juce.patch")
    set(staging_dir "${PROJECT_BINARY_DIR}/juce-patch-staging")
    # The unity sources of the modules that juce_modules compiles from mended copies.
    set(module_unities "juce_core/juce_core.cpp" "juce_events/juce_events.cpp")

    file(STRINGS "${patch_file}" touched REGEX "^\\+\\+\\+ b/")
    list(TRANSFORM touched REPLACE "^\\+\\+\\+ b/([^\t]*).*$" "\\1")

    # JUCE's sources end their lines with CR LF; the copies get plain LF so
    # that the patch stays an ordinary text file. The modules' unity sources
    # are copied as they are, so that each includes the mended files beside it.
    file(REMOVE_RECURSE "${staging_dir}")
    foreach(relative IN LISTS touched module_unities)
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
        message(FATAL_ERROR "Cannot mend JUCE: ${patch_file} does not apply cleanly to the JUCE in "
                            "${JUCE_MODULES_DIR}. Check whether this JUCE version still needs each "
                            "mend.\n${output}")
    endif()

    # Copied over only when changed, so that an unchanged copy keeps its time
    # stamp and is not compiled again.
    foreach(relative IN LISTS touched module_unities)
        configure_file("${staging_dir}/${relative}" "${MODULIX_JUCE_PATCHED_DIR}/${relative}" COPYONLY)
    endforeach()

    # A copy whose hunk has left the patch would still be found beside the unity
    # sources and compiled in place of the original.
    file(GLOB_RECURSE patched_copies RELATIVE "${MODULIX_JUCE_PATCHED_DIR}" "${MODULIX_JUCE_PATCHED_DIR}/*")
    foreach(relative IN LISTS patched_copies)
        if(NOT relative IN_LIST touched AND NOT relative IN_LIST module_unities)
            file(REMOVE "${MODULIX_JUCE_PATCHED_DIR}/${relative}")
        endif()
    endforeach()

    foreach(unity IN LISTS module_unities)
        get_filename_component(module "${unity}" DIRECTORY)
        modulix_use_patched_source(${module} "${unity}" "${unity}" juce_modules)
    endforeach()

    # The mended directory listing takes names by our strict UTF-8 check.
    target_link_libraries(juce_modules PRIVATE strict_utf8)

    # The VST3 SDK sources that JUCE's VST3 headers include by their SDK paths
    # (<pluginterfaces/...>, <base/...>) are found as mended copies first, in the
    # one place JUCE compiles them for the plug-in and the hosts alike.
    target_include_directories(juce_modules BEFORE PRIVATE "${MODULIX_JUCE_PATCHED_SDK_DIR}")
endfunction()

function(modulix_patch_juce_vst3_wrapper target)
    set(wrapper "juce_audio_plugin_client/VST3/juce_VST3_Wrapper.cpp")
    if(NOT EXISTS "${MODULIX_JUCE_PATCHED_DIR}/${wrapper}")
        message(FATAL_ERROR "Cannot mend JUCE's VST3 wrapper: juce.patch does not touch ${wrapper}.")
    endif()

    # The wrapper's own module includes (<juce_audio_processors/...>) find the
    # mended headers first.
    modulix_use_patched_source(juce_audio_plugin_client_VST3
        "juce_audio_plugin_client/juce_audio_plugin_client_VST3.cpp" "${wrapper}" ${target}_VST3)
    target_include_directories(${target}_VST3 BEFORE PRIVATE "${MODULIX_JUCE_PATCHED_DIR}")
    target_link_libraries(${target}_VST3 PRIVATE vst3_state_check vst3_state_hand_over)
endfunction()
