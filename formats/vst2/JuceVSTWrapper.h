#pragma once

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_audio_processors/format_types/juce_LegacyAudioParameter.cpp>

#include "AudioEffectX.h"
#include "VstEditorWindow.h"
#include "VstHostNotifier.h"
#include "VstMessageLoop.h"

#include <array>
#include <atomic>
#include <memory>
#include <thread>

/** Presents a JUCE processor to a VST 2.4 host through AudioEffectX: its
    parameters, programs, state chunks, audio and editor window. Automation the
    processor reports goes back to the host as host opcode 0, framed by begin and
    end edit, and only from a thread inside one of the host's calls.

    JUCE's event loop is shared by every instance in the process (VstMessageLoop):
    a private thread runs it until the host idles an open window, and from then
    on the host's idle calls do, so the editor's timers and clicks run on the
    host's GUI thread. Opening and closing windows and instances takes the loop
    for a turn on the host's thread, and so never waits for a thread that may
    be calling the host.

    Hosts resume, suspend and change the speaker arrangement from threads of
    their own, also while their audio thread processes: each such change stops
    the audio path (it plays silence meanwhile), rebuilds what it must outside
    the processor's callback lock and starts the audio path again. */
class JuceVSTWrapper : public AudioEffectX,
                       private juce::AudioProcessorListener,
                       private juce::AudioPlayHead
{
public:
    /** editorSize is the editor's fixed size, answered to hosts before a window is open. */
    JuceVSTWrapper (HostCallback host, std::unique_ptr<juce::AudioProcessor> processor,
                    juce::Rectangle<int> editorSize);

    /** Stops the editor and every timer, then frees the processor. */
    ~JuceVSTWrapper() override;

    /** Handles the editor-window opcodes (13, 14, 15, 19) and passes on every
        other one; first tells the host what was held back for it. */
    long long dispatcher (int opcode, int index, long long value, void* ptr, float opt) override;

    void open() override {}
    void close() override;
    void suspend() override;
    void resume() override;

    void processReplacing (float** inputs, float** outputs, int sampleFrames) override;
    void processDoubleReplacing (double** inputs, double** outputs, int sampleFrames) override;

    void setParameter (int index, float value) override;
    float getParameter (int index) override;
    void getParameterLabel (int index, char* label) override;
    void getParameterDisplay (int index, char* text) override;
    void getParameterName (int index, char* text) override;
    bool canParameterBeAutomated (int index) override;

    int getProgram() override;
    /** Ignores program numbers outside the bank. */
    void setProgram (int program) override;
    void setProgramName (char* name) override;
    void getProgramName (char* name) override;
    bool getProgramNameIndexed (int category, int index, char* text) override;

    /** The whole bank, or the current program when isPreset is true. The block
        stays valid until the same thread asks again, so hosts asking from up to
        four threads at once each copy their own; a fifth takes the answer kept
        longest. */
    int getChunk (void** data, bool isPreset) override;
    int setChunk (void* data, int byteSize, bool isPreset) override;

    bool setSpeakerArrangement (VstSpeakerArrangement* input, VstSpeakerArrangement* output) override;
    bool setBypass (bool shouldBypass) override;
    bool setProcessPrecision (int precision) override;
    int processEvents (VstEvents*) override            { return 0; }
    int startProcess() override                        { return 0; }
    int stopProcess() override                         { return 0; }
    int getGetTailSize() override;
    bool getEffectName (char* text) override;
    bool getVendorString (char* text) override;
    bool getProductString (char* text) override;
    int getVendorVersion() override;
    long long vendorSpecific (int, long long, void*, float) override  { return 0; }
    int canDo (char* text) override;
    int getPlugCategory() override                     { return effectCategory; }

private:
    // Processor listener: automation, gestures and other changes go to the
    // host through the notifier.
    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override;
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override;
    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override;
    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override;

    /** The host's transport, read from its time-information record. */
    juce::Optional<PositionInfo> getPosition() const override;

    long long getEditorRect (EditorRect** rect);
    long long openEditor (void* parentWindow);
    void closeEditor();
    /** Runs JUCE's events, of every instance, on the host's thread while the window is open. */
    void idleEditor();
    /** Deletes the window, if any; only in a turn of the message loop. */
    void deleteWindow();

    /** Takes the host's sample rate and block size where they can be ones. */
    void takeHostSettings();
    /** Prepares the processor for the current settings and starts the audio path. */
    void prepareAudio();
    /** Stops the audio path, or restarts it with the current channel counts. */
    void setAudioRunning (bool shouldRun);
    void updateChannelCounts();
    juce::AudioProcessorParameter* parameterAt (int index) const;
    void clearOutputs (float** outputs, int sampleFrames) const noexcept;

    /** The last answer made for the calling thread, made anew. */
    juce::MemoryBlock& chunkForThisThread();

    // Declared first, so JUCE and its event loop outlive everything below.
    juce::ScopedJuceInitialiser_GUI libraryInitialiser;
    juce::SharedResourcePointer<VstMessageLoop> messageLoop;

    std::unique_ptr<juce::AudioProcessor> processor;
    juce::LegacyAudioParametersWrapper parameters;
    VstHostNotifier notifier;

    // One answer per asking thread, reused by the thread that asked least lately
    // once every slot is taken.
    struct ChunkAnswer
    {
        std::thread::id owner;
        juce::MemoryBlock data;
        juce::uint64 lastAsked = 0;
    };

    juce::CriticalSection chunkLock;
    std::array<ChunkAnswer, 4> chunkAnswers;
    juce::uint64 chunkRequests = 0;

    // The window, and whether its host idles it, change only in a turn of the
    // message loop; windowOpen tells host threads, before they take a turn,
    // whether there is a window to close or idle.
    std::unique_ptr<VstEditorWindow> editorWindow;
    std::atomic<bool> windowOpen { false };
    bool windowIdledByHost = false;
    EditorRect editorRect;  // set once, when constructed

    // Host-thread changes of the audio set-up take turns on this lock; the
    // audio thread never takes it. Under it: the fields up to numChannels.
    juce::CriticalSection setupLock;
    bool resumed = false;
    double preparedRate = 44100.0;
    int preparedBlockSize = 1024;
    int numChannels = 0;
    std::atomic<double> tailRate { 44100.0 };

    // What the audio path works with. The channel counts and the running flag
    // change under the callback lock only; the scratch buffer is resized only
    // while the flag is off, which keeps the audio path out. It works in its own
    // channels, so hosts that hand over the same buffer for
    // an input and an output (or for two outputs) are served alike.
    struct AudioChannels
    {
        int inputs = 0, outputs = 0, work = 0;
    };

    juce::AudioBuffer<float> scratch;
    juce::MidiBuffer noMidi;
    AudioChannels audioChannels;
    bool audioRunning = false;
    std::atomic<bool> bypassed { false };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (JuceVSTWrapper)
};
