#include "ProcessorTestRig.h"

#include <cstring>
#include <limits>
#include <vector>

namespace
{
using modulix_test::ProcessorTest;

float floatFromBits (juce::uint32 bits)
{
    float f;
    std::memcpy (&f, &bits, sizeof (f));
    return f;
}

struct ParameterRow
{
    const char* const* idConstant;
    const char* id;
    float defaultValue;
    const char* defaultText;
};

const std::vector<ParameterRow> parameterTable {
    { &c_bypass,       "onBypass",   1.0f,                     "On" },
    { &c_type,         "chorusType", 0.0f,                     "Type 1" },
    { &c_rate,         "rate",       floatFromBits (0x3E4CCCCD), "2.00" },
    { &c_rateSync,     "rateSync",   floatFromBits (0x3E2AAAAB), "1.67" },
    { &c_depth,        "depth",      0.2f,                     "2.00" },
    { &c_mix,          "mix",        0.5f,                     "5.00" },
    { &c_level,        "level",      0.5f,                     "5.00" },
    { &c_stereoSpread, "stereo",     0.0f,                     "Off" },
    { &c_sync,         "sync",       0.0f,                     "Off" },
};

/** Records every parameter notification the processor sends. */
struct NotificationLog : juce::AudioProcessorListener
{
    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override
    {
        notifications.push_back ({ index, value });
    }

    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}

    std::vector<std::pair<int, float>> notifications;
};

bool anyFlagRaised (const ModulixQR7150AudioProcessor& p)
{
    return p.paramsChanged || p.programChanged || p.presetChanged;
}

//==============================================================================
TEST_F (ProcessorTest, FreshProcessorAnswersWithTheParameterTable)
{
    ModulixQR7150AudioProcessor p;

    EXPECT_EQ (p.getName(), "Modulix QR7150");
    ASSERT_EQ (p.getNumParameters(), static_cast<int> (parameterTable.size()));

    for (int i = 0; i < p.getNumParameters(); ++i)
    {
        const auto& row = parameterTable[static_cast<size_t> (i)];
        SCOPED_TRACE (row.id);
        EXPECT_STREQ (*row.idConstant, row.id);
        EXPECT_EQ (p.getParameterName (i), row.id);
        EXPECT_EQ (p.getParameterDefaultValue (i), row.defaultValue);
        EXPECT_EQ (p.getParameter (i), row.defaultValue);
        EXPECT_EQ (p.getParameterText (i), row.defaultText);
        EXPECT_EQ (p.currentValues[i].load(), row.defaultValue);
    }

    EXPECT_FALSE (anyFlagRaised (p));
}

TEST_F (ProcessorTest, FreshBankHoldsTwelveInitProgramsWithBothSettingsAtTheDefaults)
{
    ModulixQR7150AudioProcessor p;

    ASSERT_EQ (p.getNumPrograms(), 12);
    EXPECT_EQ (p.getCurrentProgram(), 0);

    for (int program = 0; program < p.getNumPrograms(); ++program)
    {
        const auto& slot = p.programs[program];
        EXPECT_EQ (p.getProgramName (program), "Init");
        EXPECT_EQ (slot.activeChannel, 0);

        for (int setting = 0; setting < 2; ++setting)
        {
            EXPECT_EQ (slot.presetPath[setting], "Init.vmxp");

            for (int i = 0; i < 9; ++i)
                EXPECT_EQ (slot.values[setting][i], parameterTable[static_cast<size_t> (i)].defaultValue);
        }
    }
}

TEST_F (ProcessorTest, ParameterTextsFollowTheLiveValue)
{
    struct Case { int index; float value; const char* text; };

    const std::vector<Case> cases {
        { 1, 0.0f, "Type 1" }, { 1, -0.3f, "Type 1" }, { 1, 0.25f, "Type 2" }, { 1, 0.5f, "Type 2" },
        { 1, 0.5000001f, "Type 3" }, { 1, 1.0f, "Type 3" },
        { 0, 0.0f, "Off" }, { 0, 0.3f, "On" }, { 0, -1.0f, "On" }, { 7, 1.0f, "On" }, { 8, 0.0f, "Off" },
        { 2, 0.123f, "1.23" }, { 3, 1.0f, "10.00" }, { 4, 0.0f, "0.00" }, { 5, 0.555f, "5.55" }, { 6, 0.9f, "9.00" },
    };

    ModulixQR7150AudioProcessor p;

    for (const auto& c : cases)
    {
        p.setParameter (c.index, c.value);
        EXPECT_EQ (p.getParameterText (c.index), c.text) << "parameter " << c.index << " at " << c.value;
    }
}

TEST_F (ProcessorTest, UnknownParameterIndicesChangeNothingAndReadAsZero)
{
    ModulixQR7150AudioProcessor p;

    for (const int index : { 9, -1, 100, std::numeric_limits<int>::min() })
    {
        p.setParameter (index, 0.77f);
        EXPECT_EQ (p.getParameter (index), 0.0f);
        EXPECT_EQ (p.getParameterDefaultValue (index), 0.0f);
        EXPECT_EQ (p.getParameterName (index), "");
    }

    for (int i = 0; i < 9; ++i)
    {
        EXPECT_EQ (p.getParameter (i), parameterTable[static_cast<size_t> (i)].defaultValue);
        EXPECT_EQ (p.currentValues[i].load(), parameterTable[static_cast<size_t> (i)].defaultValue);
    }

    EXPECT_FALSE (anyFlagRaised (p));
    EXPECT_FALSE (p.isTimerRunning());
}

TEST_F (ProcessorTest, SetParameterWritesOnlyTheActiveSettingOfTheCurrentProgram)
{
    ModulixQR7150AudioProcessor p;
    p.setCurrentProgram (2);
    p.programs[2].activeChannel = 1;
    p.paramsChanged = false;

    p.setParameter (4, 0.7f);

    EXPECT_EQ (p.programs[2].values[1][4], 0.7f);
    EXPECT_EQ (p.programs[2].values[0][4], 0.2f);
    EXPECT_EQ (p.programs[0].values[1][4], 0.2f);
    EXPECT_EQ (p.currentValues[4].load(), 0.7f);
    EXPECT_EQ (p.getParameter (4), 0.7f);
    EXPECT_TRUE (p.paramsChanged);

    p.programs[2].activeChannel = 0;
    EXPECT_EQ (p.getParameter (4), 0.2f);
}

TEST_F (ProcessorTest, OnlyAChorusTypeChangeStartsTheModelSwitchTimer)
{
    modulix_test::TimerCountingProcessor p;

    for (const int index : { 0, 2, 3, 4, 5, 6, 7, 8 })
        p.setParameter (index, 0.4f);

    EXPECT_FALSE (p.isTimerRunning());

    p.setParameter (1, 0.5f);
    EXPECT_TRUE (p.isTimerRunning());
    EXPECT_EQ (p.getTimerInterval(), 50);

    modulix_test::letModelSwitchTimerFire (p);
    EXPECT_FALSE (p.isTimerRunning());
}

TEST_F (ProcessorTest, SetCurrentProgramNotifiesTheHostOfTheActiveSettingInIndexOrder)
{
    ModulixQR7150AudioProcessor p;
    auto& slot = p.programs[3];
    slot.activeChannel = 1;

    for (int i = 0; i < 9; ++i)
        slot.values[1][i] = 0.05f * static_cast<float> (i + 1);

    NotificationLog log;
    p.addListener (&log);
    p.setCurrentProgram (3);
    p.removeListener (&log);

    EXPECT_EQ (p.getCurrentProgram(), 3);
    ASSERT_EQ (log.notifications.size(), 9u);

    for (int i = 0; i < 9; ++i)
    {
        EXPECT_EQ (log.notifications[static_cast<size_t> (i)].first, i);
        EXPECT_EQ (log.notifications[static_cast<size_t> (i)].second, slot.values[1][i]);
        EXPECT_EQ (p.currentValues[i].load(), slot.values[1][i]);
    }

    EXPECT_TRUE (p.paramsChanged);
    EXPECT_TRUE (p.programChanged);
    EXPECT_TRUE (p.presetChanged);
    EXPECT_TRUE (p.isTimerRunning());
}

TEST_F (ProcessorTest, SetCurrentProgramIgnoresUnknownPrograms)
{
    ModulixQR7150AudioProcessor p;
    NotificationLog log;
    p.addListener (&log);

    for (const int index : { 12, -1, 1000 })
        p.setCurrentProgram (index);

    p.removeListener (&log);

    EXPECT_EQ (p.getCurrentProgram(), 0);
    EXPECT_TRUE (log.notifications.empty());
    EXPECT_FALSE (anyFlagRaised (p));
}

TEST_F (ProcessorTest, ASettingNumberOtherThanAOrBReadsAndWritesSettingA)
{
    for (const int setting : { 2, -1, 1 << 30 })
    {
        SCOPED_TRACE (setting);
        ModulixQR7150AudioProcessor p;
        p.programs[0].presetPath[0] = "A.vmxp";
        p.programs[0].values[1][4] = 0.9f;
        p.programs[0].activeChannel = setting;

        p.setParameter (5, 0.3f);
        EXPECT_EQ (p.programs[0].values[0][5], 0.3f);
        EXPECT_EQ (p.getParameter (5), 0.3f);
        EXPECT_EQ (p.getParameter (4), 0.2f);
        EXPECT_EQ (p.getProgramName (0), "A");

        p.setCurrentProgram (0);
        EXPECT_EQ (p.currentValues[4].load(), 0.2f);
    }
}

TEST_F (ProcessorTest, ProgramNamesFollowTheActiveSettingsPresetFile)
{
    ModulixQR7150AudioProcessor p;
    p.programs[4].presetPath[0] = "Lush/Wide Chorus.vmxp";
    p.programs[4].presetPath[1] = "Slow.vmxp";

    EXPECT_EQ (p.getProgramName (4), "Wide Chorus");
    p.programs[4].activeChannel = 1;
    EXPECT_EQ (p.getProgramName (4), "Slow");
    EXPECT_EQ (p.getProgramName (5), "Init");

    p.changeProgramName (4, "Renamed");
    EXPECT_EQ (p.getProgramName (4), "Slow");
}

TEST_F (ProcessorTest, AnswersTheHostsChannelAndCapabilityQuestions)
{
    ModulixQR7150AudioProcessor p;

    EXPECT_EQ (p.getInputChannelName (0), "1");
    EXPECT_EQ (p.getOutputChannelName (1), "2");
    EXPECT_TRUE (p.isInputChannelStereoPair (0));
    EXPECT_TRUE (p.isOutputChannelStereoPair (1));
    EXPECT_FALSE (p.acceptsMidi());
    EXPECT_FALSE (p.producesMidi());
    EXPECT_FALSE (p.silenceInProducesSilenceOut());
    EXPECT_EQ (p.getTailLengthSeconds(), 0.0);
    EXPECT_FALSE (p.supportsDoublePrecisionProcessing());
    EXPECT_EQ (p.getTotalNumInputChannels(), 2);
    EXPECT_EQ (p.getTotalNumOutputChannels(), 2);
}

TEST_F (ProcessorTest, SupportsMonoAndStereoBusesButNotStereoIntoMono)
{
    using Set = juce::AudioChannelSet;
    struct Case { Set in, out; bool supported; };

    const std::vector<Case> cases {
        { Set::mono(), Set::mono(), true },
        { Set::mono(), Set::stereo(), true },
        { Set::stereo(), Set::stereo(), true },
        { Set::stereo(), Set::mono(), false },
        { Set::disabled(), Set::stereo(), false },
        { Set::stereo(), Set::disabled(), false },
        { Set::createLCR(), Set::createLCR(), false },
        { Set::stereo(), Set::quadraphonic(), false },
    };

    ModulixQR7150AudioProcessor p;

    for (const auto& c : cases)
    {
        juce::AudioProcessor::BusesLayout layout;
        layout.inputBuses.add (c.in);
        layout.outputBuses.add (c.out);
        EXPECT_EQ (p.checkBusesLayoutSupported (layout), c.supported)
            << c.in.getDescription() << " -> " << c.out.getDescription();
    }
}

} // namespace
