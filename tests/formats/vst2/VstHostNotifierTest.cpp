// What the VST2 glue tells the host from threads outside the host's calls:
// held back, then sent whole at the host's next call.

#include "VstHostNotifier.h"

#include "AEffect.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

namespace
{
constexpr int numParameters = 9;

struct Sent
{
    int opcode, index;
    float value;

    bool operator== (const Sent& other) const
    {
        return opcode == other.opcode && index == other.index && value == other.value;
    }
};

void PrintTo (const Sent& sent, std::ostream* out)
{
    *out << "{ opcode " << sent.opcode << ", index " << sent.index << ", " << sent.value << " }";
}

struct Told
{
    enum Kind { automate, begin, end, display } kind;
    int index = 0;
    float value = 0.0f;
};

void tell (VstHostNotifier& notifier, const Told& told)
{
    switch (told.kind)
    {
        case Told::automate:  notifier.automate (told.index, told.value); break;
        case Told::begin:     notifier.beginEdit (told.index); break;
        case Told::end:       notifier.endEdit (told.index); break;
        case Told::display:   notifier.updateDisplay(); break;
    }
}

struct Recorder
{
    std::vector<Sent> sent;
    VstHostNotifier notifier { numParameters, [this] (int32_t opcode, int32_t index, float value) {
        sent.push_back ({ opcode, index, value });
    } };

    /** The host's next call. */
    void call()
    {
        const VstHostNotifier::HostCall inCall (notifier);
        notifier.sendHeldBack();
    }
};

struct Case
{
    const char* name;
    std::vector<Told> outsideAnyCall;
    std::vector<Sent> atTheNextCall;
};

void PrintTo (const Case& c, std::ostream* out)
{
    *out << c.name;
}

// clang-format off
const Case cases[] = {
    { "OnlyAParametersLatestValue",
      { { Told::automate, 4, 0.1f }, { Told::automate, 4, 0.3f } },
      { { hostAutomate, 4, 0.3f } } },
    { "AGestureAroundItsLatestValue",
      { { Told::begin, 4 }, { Told::automate, 4, 0.2f }, { Told::automate, 4, 0.25f }, { Told::end, 4 } },
      { { hostBeginEdit, 4, 0.0f }, { hostAutomate, 4, 0.25f }, { hostEndEdit, 4, 0.0f } } },
    { "AGestureBegunAgainBeforeItsEndWentOutGoesOnAsOne",
      { { Told::begin, 4 }, { Told::automate, 4, 0.2f }, { Told::end, 4 }, { Told::begin, 4 }, { Told::automate, 4, 0.6f } },
      { { hostBeginEdit, 4, 0.0f }, { hostAutomate, 4, 0.6f } } },
    { "ParametersInIndexOrderThenTheDisplay",
      { { Told::display }, { Told::automate, 5, 0.5f }, { Told::automate, 1, 1.0f }, { Told::display } },
      { { hostAutomate, 1, 1.0f }, { hostAutomate, 5, 0.5f }, { hostUpdateDisplay, 0, 0.0f } } },
    { "IndicesOutsideTheParametersAreDropped",
      { { Told::automate, numParameters, 0.5f }, { Told::begin, -1 } },
      {} },
};
// clang-format on

class VstHostNotifierHeldBack : public ::testing::TestWithParam<Case> {};

TEST_P (VstHostNotifierHeldBack, GoesOutWholeAtTheNextCallAndOnce)
{
    Recorder host;

    for (const auto& told : GetParam().outsideAnyCall)
        tell (host.notifier, told);

    EXPECT_TRUE (host.sent.empty());
    host.call();
    EXPECT_EQ (host.sent, GetParam().atTheNextCall);

    host.call();
    EXPECT_EQ (host.sent, GetParam().atTheNextCall);
}

INSTANTIATE_TEST_SUITE_P (Sequences, VstHostNotifierHeldBack, ::testing::ValuesIn (cases),
                          [] (const auto& test) { return std::string (test.param.name); });

TEST (VstHostNotifier, ACallInsideAHostCallGoesOutAtOnceAndOneFromAnotherThreadWaits)
{
    Recorder host;
    const VstHostNotifier::HostCall inCall (host.notifier);
    host.notifier.automate (2, 0.5f);
    EXPECT_EQ (host.sent, (std::vector<Sent> { { hostAutomate, 2, 0.5f } }));

    std::thread elsewhere ([&] { host.notifier.updateDisplay(); });
    elsewhere.join();
    EXPECT_EQ (host.sent.size(), 1u);

    host.notifier.sendHeldBack();
    EXPECT_EQ (host.sent.back(), (Sent { hostUpdateDisplay, 0, 0.0f }));
}

TEST (VstHostNotifier, AHostCallingInFromAHeldBackCallHearsTheNextOneOnlyAfterReturning)
{
    std::vector<Sent> sent;
    bool inside = false, toldWhileInside = false;
    VstHostNotifier* self = nullptr;

    VstHostNotifier notifier (numParameters, [&] (int32_t opcode, int32_t index, float value) {
        toldWhileInside = toldWhileInside || inside;
        sent.push_back ({ opcode, index, value });
        inside = true;
        const VstHostNotifier::HostCall again (*self);
        self->sendHeldBack();
        inside = false;
    });
    self = &notifier;

    notifier.automate (1, 0.25f);
    notifier.automate (3, 0.75f);
    const VstHostNotifier::HostCall inCall (notifier);
    notifier.sendHeldBack();
    EXPECT_EQ (sent, (std::vector<Sent> { { hostAutomate, 1, 0.25f }, { hostAutomate, 3, 0.75f } }));
    EXPECT_FALSE (toldWhileInside);
}

// A host without a lock of its own may call in from two threads at once: a value
// held back earlier is still on its way out on one when the plug-in says a newer
// one inside the other's call. The host must be left with the newer one.
TEST (VstHostNotifier, ANewerValueReachesTheHostAfterTheOneOnItsWayOut)
{
    std::mutex sentLock;
    std::vector<Sent> sent;
    std::atomic<bool> stalled { false }, released { false };

    VstHostNotifier notifier (numParameters, [&] (int32_t opcode, int32_t index, float value) {
        if (value == 0.5f)
        {
            stalled = true;

            while (! released)
                std::this_thread::yield();
        }

        const std::lock_guard<std::mutex> held (sentLock);
        sent.push_back ({ opcode, index, value });
    });

    notifier.automate (4, 0.5f);

    std::thread sendingHeldBack ([&] {
        const VstHostNotifier::HostCall inCall (notifier);
        notifier.sendHeldBack();
    });

    while (! stalled)
        std::this_thread::yield();

    std::thread newerInsideACall ([&] {
        const VstHostNotifier::HostCall inCall (notifier);
        notifier.automate (4, 0.9f);
    });
    newerInsideACall.join();

    released = true;
    sendingHeldBack.join();
    EXPECT_EQ (sent, (std::vector<Sent> { { hostAutomate, 4, 0.5f }, { hostAutomate, 4, 0.9f } }));
}

TEST (VstHostNotifier, AfterStopNothingMoreGoesOut)
{
    Recorder host;
    host.notifier.automate (1, 0.25f);
    host.notifier.stop();
    host.notifier.updateDisplay();
    host.call();

    const VstHostNotifier::HostCall inCall (host.notifier);
    host.notifier.automate (1, 0.5f);
    EXPECT_TRUE (host.sent.empty());
}
}
