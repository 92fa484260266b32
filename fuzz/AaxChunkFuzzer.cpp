// Feeds one input to the AAX plug-in as both chunks a host restores: as the
// data of a controls chunk 'elck' and as the processor's state chunk 'juce',
// each through the effect parameters object on a fake host that answers the
// automation requests. A restore that crashes, reads outside the chunk, leaves
// a value outside 0..1, or leaves chunks that do not save and compare as they
// were restored fails the run. One instance serves every input; one that
// changed its chunks is brought back to the fresh ones through SetChunk.

#include "FakeAaxHost.h"

#include "AAX_CChunkDataParser.h"
#include "JuceAAX_Processor.h"
#include "PluginBlockParse.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace
{
    void require (bool condition)
    {
        if (! condition)
            __builtin_trap();
    }

    /** A chunk holding exactly the input, so a sanitizer sees any read beyond it. */
    std::vector<uint8_t> chunkOf (AAX_CTypeID id, const uint8_t* data, size_t size)
    {
        std::vector<uint8_t> bytes (AAX_SPlugInChunkHeaderSize + size);
        auto* chunk = static_cast<AAX_SPlugInChunk*> (static_cast<void*> (bytes.data()));
        chunk->fSize = static_cast<int32_t> (size);
        chunk->fChunkID = id;
        if (size > 0)
            std::memcpy (bytes.data() + AAX_SPlugInChunkHeaderSize, data, size);
        return bytes;
    }

    AAX_SPlugInChunk* header (std::vector<uint8_t>& bytes)
    {
        return static_cast<AAX_SPlugInChunk*> (static_cast<void*> (bytes.data()));
    }

    std::vector<uint8_t> save (JuceAAX_Processor& effect, AAX_CTypeID id)
    {
        uint32_t size = 0;
        require (effect.GetChunkSize (id, &size) == AAX_SUCCESS);
        std::vector<uint8_t> bytes (AAX_SPlugInChunkHeaderSize + size);
        header (bytes)->fChunkID = id;
        require (effect.GetChunk (id, header (bytes)) == AAX_SUCCESS);
        require (header (bytes)->fSize == static_cast<int32_t> (size));
        return bytes;
    }

    /** One instance for the whole run, on a host with automation. */
    struct Instance
    {
        Instance()
        {
            effect->AddRef();
            instanceHost.effectParameters = effect;
            require (effect->Initialize (&instanceHost) == AAX_SUCCESS);
        }

        FakeHost host;
        FakeInstanceHost& instanceHost = host.newInstanceHost();
        JuceAAX_Processor* effect = new JuceAAX_Processor();
    };

    void checkValues (JuceAAX_Processor& effect)
    {
        int32_t count = 0;
        effect.GetNumberOfParameters (&count);

        for (int32_t i = 0; i < count; ++i)
        {
            AAX_CString id;
            double value = -1.0;
            effect.GetParameterIDFromIndex (i, &id);
            effect.GetParameterNormalizedValue (id.Get(), &value);
            require (value >= 0.0 && value <= 1.0);
        }
    }
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    static Instance instance;
    auto& effect = *instance.effect;
    static auto freshControls = save (effect, AAX_ControlsChunkID);
    static auto freshState = save (effect, JuceAAX_Processor::juceChunkID);

    // The parser alone, on the raw bytes, then the plug-in restoring them.
    auto controls = chunkOf (AAX_ControlsChunkID, data, size);
    AAX_CChunkDataParser parser;
    parser.LoadChunk (header (controls));

    effect.SetChunk (AAX_ControlsChunkID, header (controls));
    instance.instanceHost.pump();
    checkValues (effect);

    auto state = chunkOf (JuceAAX_Processor::juceChunkID, data, size);
    effect.SetChunk (JuceAAX_Processor::juceChunkID, header (state));
    instance.instanceHost.pump();
    checkValues (effect);

    // Writing and restoring a whole bank is most of a run, needed only when the
    // state chunk held text the plug-in can parse; otherwise only the controls
    // can have changed, and the small controls chunk carries the round trip and
    // the way back.
    auto savedControls = save (effect, AAX_ControlsChunkID);
    instance.host.clearCalls();
    const bool stateMayHaveChanged = pluginCouldTakeBlock (data, size);

    if (savedControls == freshControls && ! stateMayHaveChanged)
        return 0;

    auto savedState = stateMayHaveChanged ? save (effect, JuceAAX_Processor::juceChunkID) : freshState;

    if (savedState == freshState && savedControls == freshControls)
        return 0;

    // What is saved now restores to itself and compares equal.
    if (stateMayHaveChanged)
        require (effect.SetChunk (JuceAAX_Processor::juceChunkID, header (savedState)) == AAX_SUCCESS);

    require (effect.SetChunk (AAX_ControlsChunkID, header (savedControls)) == AAX_SUCCESS);
    instance.instanceHost.pump();
    require (save (effect, AAX_ControlsChunkID) == savedControls);

    AAX_CBoolean equal = 0;
    effect.CompareActiveChunk (header (savedControls), &equal);
    require (equal == 1);

    if (stateMayHaveChanged)
        require (effect.SetChunk (JuceAAX_Processor::juceChunkID, header (freshState)) == AAX_SUCCESS);

    require (effect.SetChunk (AAX_ControlsChunkID, header (freshControls)) == AAX_SUCCESS);
    instance.instanceHost.pump();
    instance.host.clearCalls();
    return 0;
}
