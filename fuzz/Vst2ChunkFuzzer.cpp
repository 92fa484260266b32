// Feeds each input to the built VST2 module as a host would restore a project:
// as a bank chunk and as a program chunk, through opcode 24. A crash, a hang,
// or a program that does not survive the trip into a second instance and back
// fails the run. (That every bank the plug-in writes reads back the same is the
// state fuzzer's check, on the same writers and readers without the module.)

#include "AEffect.h"
#include "PluginBlockParse.h"

#include <dlfcn.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace
{
    long long quietHost (AEffect*, int32_t opcode, int32_t, long long, void*, float)
    {
        return opcode == hostVersion ? 2400 : 0;
    }

    void require (bool condition)
    {
        if (! condition)
            __builtin_trap();
    }

    /** An instance that lives for the whole run: opening one per input would
        spend the run building chorus models. */
    struct Instance
    {
        Instance()
        {
            // Never closed: the module's JUCE would shut down after its statics.
            auto* module = dlopen (MODULIX_VST2_MODULE, RTLD_NOW | RTLD_LOCAL);
            require (module != nullptr);
            auto entry = reinterpret_cast<AEffect* (*) (HostCallback)> (dlsym (module, "VSTPluginMain"));
            require (entry != nullptr);
            effect = entry (quietHost);
            require (effect != nullptr);
            dispatch (effectOpen);
        }

        long long dispatch (int opcode, int index = 0, long long value = 0, void* ptr = nullptr)
        {
            return effect->dispatcher (effect, opcode, index, value, ptr, 0.0f);
        }

        std::vector<char> chunk (bool program)
        {
            void* data = nullptr;
            const auto size = dispatch (effectGetChunk, program ? 1 : 0, 0, &data);
            require (size >= 0 && (size == 0 || data != nullptr));
            return size > 0 ? std::vector<char> (static_cast<char*> (data), static_cast<char*> (data) + size) : std::vector<char>();
        }

        void setChunk (const std::vector<char>& bytes, bool program)
        {
            std::vector<char> copy (bytes);  // hosts hand over memory of their own
            dispatch (effectSetChunk, program ? 1 : 0, (long long) copy.size(), copy.data());
        }

        AEffect* effect = nullptr;
    };
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    static Instance plugin, other;
    static const auto freshBank = plugin.chunk (false);
    static bool changed = false;

    if (size > (size_t) INT32_MAX)
        return 0;

    if (changed)
        plugin.setChunk (freshBank, false);

    // Exactly the input's bytes, with nothing after them to read by mistake.
    auto* exact = new char[size == 0 ? 1 : size];
    std::memcpy (exact, data, size);
    plugin.dispatch (effectSetChunk, 0, (long long) size, exact);
    plugin.dispatch (effectSetChunk, 1, (long long) size, exact);
    delete[] exact;

    const auto program = plugin.dispatch (effectGetProgram);
    require (program >= 0 && program < plugin.effect->numPrograms);

    for (int i = 0; i < plugin.effect->numParameters; ++i)
    {
        const float value = plugin.effect->getParameter (plugin.effect, i);
        require (value >= 0.0f && value <= 1.0f);
    }

    // Writing the bank is most of a run; a bank that cannot have changed is the
    // fresh one, which need not take the round trip.
    if (! pluginCouldTakeBlock (data, size))
    {
        changed = false;
        return 0;
    }

    changed = plugin.chunk (false) != freshBank;

    if (! changed)
        return 0;

    const auto current = plugin.chunk (true);
    other.setChunk (current, true);
    require (other.chunk (true) == current);
    return 0;
}
