#pragma once

#include "FxBase.h"

#include <juce_events/juce_events.h>

#include <atomic>

/** The interface through which the processor drives a chorus model, with the
    attributes that place a model in a modular host. Changes of the model's
    input/output arrangement are announced as action messages. */
class ModuleModel : public FxBase,
                    public juce::ActionBroadcaster
{
public:
    ModuleModel();
    ~ModuleModel() override;

    /** Does nothing; models override it. */
    void process (float* buffer, int numSamples) noexcept override;

    /** Does nothing; models override it. */
    void process (float* left, float* right, int numSamples) noexcept override;

    /** Stores the number of input channels the model is wired to. */
    virtual void setInputsUsed (int numInputs) noexcept;

    /** Returns the number of input channels the model is wired to (1 unless set). */
    virtual int getInputsUsed() const noexcept;

    /** Stores the number of output channels the model is wired to. */
    virtual void setOutputsUsed (int numOutputs) noexcept;

    /** Returns the number of output channels the model is wired to (1 unless set). */
    virtual int getOutputsUsed() const noexcept;

    /** Returns false: a model holds no other models. */
    virtual bool isContainer() const noexcept;

    /** Stores the floor the model sits on in a modular host. */
    virtual void setFloorId (int newFloorId) noexcept;

    /** Returns the floor the model sits on. */
    virtual int getFloorId() const noexcept;

    /** Stores the column the model sits in in a modular host. */
    virtual void setColumn (int newColumn) noexcept;

    /** Returns the column the model sits in. */
    virtual int getColumn() const noexcept;

    /** Returns true while the model asks for its view to be refreshed. */
    virtual bool isUiNeedsUpdate() const noexcept;

    /** Asks for the model's view to be refreshed. */
    virtual void requestUiNeedsUpdate() noexcept;

    /** Withdraws the refresh request. */
    virtual void clearUiNeedsUpdate() noexcept;

    /** Processes by the inputs-used count: two inputs as a stereo pair, one as
        mono with the result copied to output; any other count does nothing. */
    virtual void processBlock (float* input, float* output, int numSamples) noexcept;

    /** The text of the arrangement notice. */
    static constexpr const char* arrangementMessageText = "ModuleViewController arrangeModelInputsOutputs";

protected:
    /** Announces a changed input/output arrangement to the action listeners.
        On the message thread the message goes out at once; on any other thread
        it is handed over through a flag that a timer delivers on the message
        thread, so the audio thread never allocates or locks for it. */
    void sendArrangementNotice() noexcept;

private:
    class NoticeTimer final : public juce::Timer
    {
    public:
        explicit NoticeTimer (ModuleModel& ownerToNotify) noexcept : owner (ownerToNotify) {}
        void timerCallback() override { owner.deliverPendingNotice(); }

    private:
        ModuleModel& owner;
    };

    void deliverPendingNotice();

    bool uiNeedsUpdate = false;
    int floorId = 0;
    int column = 0;
    int inputsUsed = 1;
    int outputsUsed = 1;

    const juce::String arrangementMessage { arrangementMessageText };
    std::atomic<bool> noticePending { false };
    NoticeTimer noticeTimer { *this };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ModuleModel)
};
