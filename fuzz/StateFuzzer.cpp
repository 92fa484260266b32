// Feeds one input to every reader of outside text: as a state block, packed
// into a state block, and parsed as a preset file. A reader that crashes, hangs,
// stores a value outside 0..1 or an invalid program or setting, or takes a
// state that, saved, is not taken again and saved the same, fails the run.

#include "ModulixQR7150AudioProcessor.h"
#include "ModulixQR7150PatchXml.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace
{
    using Processor = ModulixQR7150AudioProcessor;

    // Sized once, exactly: a block grown as it is written would be copied and
    // filled again at each step, and its spare room would hide reads past the end.
    juce::MemoryBlock packAsState (const uint8_t* data, size_t size)
    {
        juce::MemoryBlock block (size + 9);
        auto* bytes = static_cast<char*> (block.getData());
        const auto numTextBytes = (juce::uint32) size;
        std::memcpy (bytes, "VC2!", 4);

        for (int i = 0; i < 4; ++i)
            bytes[4 + i] = (char) (numTextBytes >> (8 * i));

        std::memcpy (bytes + 8, data, size);
        bytes[size + 8] = 0;
        return block;
    }

    void require (bool condition)
    {
        if (! condition)
            __builtin_trap();
    }

    void checkBank (const Processor& p)
    {
        require (p.currentProgram >= 0 && p.currentProgram < Processor::numProgramSlots);

        for (const auto& slot : p.programs)
        {
            require (slot.activeChannel == 0 || slot.activeChannel == 1);

            for (const auto& setting : slot.values)
                for (const float value : setting)
                    require (value >= 0.0f && value <= 1.0f);
        }
    }

    // The selection and the preset paths come back exactly from the text the
    // writers give them; the values only as far as the text keeps them.
    bool sameSelectionAndPaths (const Processor& a, const Processor& b)
    {
        if (a.currentProgram != b.currentProgram)
            return false;

        for (int i = 0; i < Processor::numProgramSlots; ++i)
        {
            const auto& x = a.programs[i];
            const auto& y = b.programs[i];

            if (x.activeChannel != y.activeChannel
                || ! std::equal (std::begin (x.presetPath), std::end (x.presetPath), std::begin (y.presetPath)))
                return false;
        }

        return true;
    }

    bool sameBank (const Processor& a, const Processor& b)
    {
        if (! sameSelectionAndPaths (a, b))
            return false;

        for (int i = 0; i < Processor::numProgramSlots; ++i)
            if (std::memcmp (a.programs[i].values, b.programs[i].values, sizeof (a.programs[i].values)) != 0)
                return false;

        return true;
    }

    // Whatever an instance took, it saves in a form that is taken again and
    // saved the same: take, save, take the saved (another instance), save
    // again, byte for byte equal. The second instance must have taken the
    // saved state, selection and paths exactly. The writers read nothing but
    // the bank sameBank compares, so a second instance holding the same bank
    // would save the same bytes: only one that does not (values finer than the
    // text keeps) is saved again to see.
    void checkWritesBackIdentically (Processor& p)
    {
        juce::MemoryBlock bank, program;
        p.getStateInformation (bank);
        p.getCurrentProgramStateInformation (program);

        static Processor other;
        other.setStateInformation (bank.getData(), (int) bank.getSize());
        other.setCurrentProgramStateInformation (program.getData(), (int) program.getSize());
        require (sameSelectionAndPaths (other, p));

        if (! sameBank (other, p))
        {
            juce::MemoryBlock bankAgain, programAgain;
            other.getStateInformation (bankAgain);
            other.getCurrentProgramStateInformation (programAgain);
            require (bank == bankAgain && program == programAgain);
        }

        other.initDefaultPreset();
    }
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    // Timers need JUCE's message manager. Never shut down: at exit it would run after
    // JUCE's own statics are gone.
    [[maybe_unused]] static const auto* juceInitialiser = new juce::ScopedJuceInitialiser_GUI();

    if (size > (size_t) std::numeric_limits<int>::max() - 16)
        return 0;

    // One processor for every input, fresh at the start of each; building one
    // per input would spend the run constructing chorus models.
    static Processor processor;
    const auto block = packAsState (data, size);

    // Each reader starts from the fresh bank, and what it took is checked as a
    // host would next save it. Writing a whole bank twice is most of a run; a
    // bank the reader left fresh need not be checked each time.
    const auto checkWhatWasTaken = []
    {
        static const Processor fresh;
        checkBank (processor);

        if (! sameBank (processor, fresh))
        {
            checkWritesBackIdentically (processor);
            processor.initDefaultPreset();
        }
    };

    processor.setStateInformation (data, (int) size);
    checkWhatWasTaken();
    processor.setCurrentProgramStateInformation (data, (int) size);
    checkWhatWasTaken();
    processor.setStateInformation (block.getData(), (int) block.getSize());
    checkWhatWasTaken();
    processor.setCurrentProgramStateInformation (block.getData(), (int) block.getSize());
    checkWhatWasTaken();

    if (auto xml = ModulixQR7150PatchXml::parse (reinterpret_cast<const char*> (data), size))
    {
        processor.comparePreset (std::make_unique<juce::XmlElement> (*xml));
        processor.readPreset (std::move (xml), true);
        checkWhatWasTaken();
    }

    // Every input leaves the instances and JUCE's pool of names as it found them,
    // so that one that leaks nothing frees all it allocates. Text kept from the
    // input, or a name it added to the pool, would otherwise look like a leak and
    // have libFuzzer run the input again and scan the whole heap.
    processor.initDefaultPreset();
    juce::StringPool::getGlobalPool().garbageCollect();
    return 0;
}
