# JUCE is compiled once, into one static library that the DSP library, the
# plug-in and every test, benchmark and fuzz executable link. It goes into a
# plug-in module, so it is position-independent with hidden visibility.
add_library(juce_modules STATIC)

target_link_libraries(juce_modules
    PRIVATE
        juce::juce_core
        juce::juce_events
        juce::juce_data_structures
        juce::juce_graphics
        juce::juce_gui_basics
        juce::juce_gui_extra
        juce::juce_audio_basics
        juce::juce_audio_processors
        # Debian's package links libpng/libjpeg only into juce_add_* targets.
        juce::pkgconfig_JUCE_IMG_LINUX_DEPS)

set(MODULIX_JUCE_DEFINITIONS
    JUCE_PLUGINHOST_VST3=1
    JUCE_USE_CURL=0
    JUCE_WEB_BROWSER=0
    JUCE_DISPLAY_SPLASH_SCREEN=0
    JUCE_REPORT_APP_USAGE=0
    JUCE_STRICT_REFCOUNTEDPOINTER=1
    JUCE_MODAL_LOOPS_PERMITTED=0
    JucePlugin_Build_Standalone=0)

target_compile_definitions(juce_modules PUBLIC ${MODULIX_JUCE_DEFINITIONS})

# Consumers see JUCE's headers as system headers and the module-availability
# flags the modules were compiled with, without compiling any module again.
target_include_directories(juce_modules SYSTEM INTERFACE
    "${JUCE_MODULES_DIR}"
    "${JUCE_MODULES_DIR}/juce_audio_processors/format_types/VST3_SDK")
target_compile_definitions(juce_modules INTERFACE
    $<TARGET_PROPERTY:juce_modules,COMPILE_DEFINITIONS>)

set_target_properties(juce_modules PROPERTIES
    POSITION_INDEPENDENT_CODE ON
    C_VISIBILITY_PRESET hidden
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)

# JUCE's core and event modules are compiled from mended copies (cmake/juce.patch).
include("${CMAKE_CURRENT_LIST_DIR}/PatchJuce.cmake")
modulix_patch_juce()
