// What a VST2 host's main thread pays to learn the window's size before any
// window is open, which hosts ask often: through the built module, as a host
// calls it.

#include "AEffect.h"

#include <benchmark/benchmark.h>

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>

namespace
{
long long answerAsAHost (AEffect*, int32_t opcode, int32_t, long long, void*, float)
{
    constexpr long long vstVersion = 2400;
    return opcode == hostVersion ? vstVersion : 0;
}

/** The built module's entry, loaded once, with a home folder and display of
    its own so that the plug-in touches no user's files or screen. */
using Entry = AEffect* (*) (HostCallback);

Entry loadModule()
{
    static void* const module = []
    {
        const auto home = std::filesystem::temp_directory_path() / "modulix-vst2-benchmark-home";
        std::filesystem::create_directories (home);
        ::setenv ("HOME", home.c_str(), 1);
        ::setenv ("DISPLAY", ":65535", 0);
        return dlopen (MODULIX_VST2_MODULE, RTLD_NOW | RTLD_LOCAL);
    }();

    return module == nullptr ? nullptr : reinterpret_cast<Entry> (dlsym (module, "VSTPluginMain"));
}

void vst2EditorSizeBeforeOpening (benchmark::State& state)
{
    const auto entry = loadModule();
    AEffect* const effect = entry != nullptr ? entry (answerAsAHost) : nullptr;

    if (effect == nullptr)
    {
        state.SkipWithError ("the VST2 module did not load");
        return;
    }

    for (auto _ : state)
    {
        EditorRect* rect = nullptr;
        benchmark::DoNotOptimize (effect->dispatcher (effect, effectEditorGetRect, 0, 0, &rect, 0.0f));
        benchmark::DoNotOptimize (rect);
    }

    effect->dispatcher (effect, effectClose, 0, 0, nullptr, 0.0f);
}

BENCHMARK (vst2EditorSizeBeforeOpening)->Unit (benchmark::kNanosecond);
} // namespace
