// Packets for the processing side: posted once per change, cleaned also when
// their handler fails; the re-entrant mutex that serialises the dispatcher.
#include "FakeHostFixture.h"

#include "AAX_CBinaryDisplayDelegate.h"
#include "AAX_CBinaryTaperDelegate.h"
#include "AAX_CEffectParameters.h"
#include "AAX_CMutex.h"
#include "AAX_CParameter.h"
#include "AAX_CPacketDispatcher.h"
#include "AAX_VController.h"

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <stdexcept>
#include <thread>

namespace
{
/** An effect with only a master bypass, so GenerateSingleValuePacket finds a parameter. */
class BypassOnlyEffect : public AAX_CEffectParameters
{
public:
    AAX_Result EffectInit() override
    {
        parameterManager.AddParameter (new AAX_CParameter<bool> (cDefaultMasterBypassID, AAX_CString ("Master Bypass"),
                                                                 false, AAX_CBinaryTaperDelegate<bool>(),
                                                                 AAX_CBinaryDisplayDelegate<bool> ("bypass", "on"), true));
        return AAX_SUCCESS;
    }
};

/** Handlers whose results and failures a test chooses. */
struct Handlers
{
    AAX_Result fail (AAX_CPacket&)  { ++calls; return -1; }
    AAX_Result fillOne (AAX_CParamID, AAX_CPacket& packet)  { ++calls; packet.Write (int32_t { 1 }); return AAX_SUCCESS; }
    AAX_Result raise (AAX_CPacket&)  { ++calls; throw std::runtime_error ("handler failed"); }

    int calls = 0;
};

class PacketDispatcherTest : public FakeHostFixture
{
protected:
    void SetUp() override
    {
        instance.controller.answer = 7;    // what PostPacket hands back
        dispatcher.Initialize (controller.get(), &effect);
    }

    void TearDown() override
    {
        effect.Uninitialize();
        controller.reset();
        FakeHostFixture::TearDown();
    }

    size_t posted() const  { return instance.controller.packets.size(); }

    FakeInstanceHost& instance = host.newInstanceHost();
    std::unique_ptr<AAX_VController> controller = std::make_unique<AAX_VController> (&instance);
    BypassOnlyEffect effect;
    AAX_CPacketDispatcher dispatcher;
    Handlers handlers;
};
}

TEST_F (PacketDispatcherTest, TheBypassPacketIsPostedOncePerChange)
{
    effect.Initialize (&instance);
    const AAX_CPacketHandler<AAX_CPacketDispatcher> handler (&dispatcher, &AAX_CPacketDispatcher::GenerateSingleValuePacket);
    dispatcher.RegisterPacket (cDefaultMasterBypassID, 3, &handler);

    EXPECT_EQ (dispatcher.Dispatch(), 7);
    ASSERT_EQ (posted(), 1u);
    EXPECT_EQ (instance.controller.packets[0].fieldIndex, 3);
    EXPECT_EQ (instance.controller.packets[0].bytes, (std::vector<uint8_t> { 0, 0, 0, 0 }));

    EXPECT_EQ (dispatcher.Dispatch(), AAX_SUCCESS);
    EXPECT_EQ (posted(), 1u) << "a clean packet is not posted";

    effect.UpdateParameterNormalizedValue (cDefaultMasterBypassID, 1.0, AAX_eUpdateSource_Unspecified);
    dispatcher.SetDirty (cDefaultMasterBypassID, true);
    dispatcher.Dispatch();
    ASSERT_EQ (posted(), 2u);
    EXPECT_EQ (instance.controller.packets[1].bytes, (std::vector<uint8_t> { 1, 0, 0, 0 }));
}

TEST_F (PacketDispatcherTest, APacketSharedByTwoIdentifiersIsPostedOnce)
{
    const AAX_CPacketHandler<Handlers> handler (&handlers, &Handlers::fillOne);
    dispatcher.RegisterPacket ("a", 5, &handler);
    dispatcher.RegisterPacket ("b", 5, &handler);
    dispatcher.Dispatch();

    dispatcher.SetDirty ("a", true);
    dispatcher.SetDirty ("b", true);
    dispatcher.Dispatch();

    EXPECT_EQ (posted(), 2u);
    EXPECT_EQ (handlers.calls, 2);
}

TEST_F (PacketDispatcherTest, UnknownIdentifiersAndNegativeIDsChangeNothing)
{
    const AAX_CPacketHandler<Handlers> handler (&handlers, &Handlers::fillOne);
    EXPECT_EQ (dispatcher.SetDirty ("never", true), AAX_SUCCESS);
    EXPECT_EQ (dispatcher.RegisterPacket ("a", -1, &handler), AAX_SUCCESS);
    EXPECT_EQ (dispatcher.RegisterPacket ("b", 1, nullptr), AAX_SUCCESS);

    EXPECT_EQ (dispatcher.Dispatch(), AAX_SUCCESS);
    EXPECT_EQ (posted(), 0u);
}

TEST_F (PacketDispatcherTest, FailingHandlersStillCleanTheirPackets)
{
    const AAX_CPacketHandler<Handlers> failing (&handlers, &Handlers::fail);
    const AAX_CPacketHandler<Handlers> throwing (&handlers, &Handlers::raise);
    dispatcher.RegisterPacket ("a", 1, &failing);
    dispatcher.RegisterPacket ("b", 2, &throwing);

    EXPECT_EQ (dispatcher.Dispatch(), AAX_SUCCESS);
    EXPECT_EQ (dispatcher.Dispatch(), AAX_SUCCESS);

    EXPECT_EQ (handlers.calls, 2) << "each handler ran once: its packet was clean afterwards";
    EXPECT_EQ (posted(), 0u);
}

TEST_F (PacketDispatcherTest, WithoutAParameterTheStockFillerAnswersNullObject)
{
    AAX_CPacket packet (3);
    EXPECT_EQ (dispatcher.GenerateSingleValuePacket ("missing", packet), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (packet.GetSize(), 0u);

    AAX_CPacket::SPacketData data;
    EXPECT_THROW (data.Get (0), std::out_of_range);
}

//==============================================================================
TEST (AAX_CMutexTest, TheHoldingThreadPassesAgainWithoutTakingIt)
{
    AAX_CMutex mutex;
    EXPECT_TRUE (mutex.Lock());
    EXPECT_FALSE (mutex.Lock());

    // Another thread neither frees it nor gets it while it is held.
    std::thread ([&] { mutex.Unlock(); }).join();
    auto other = std::async (std::launch::async, [&] { return mutex.Lock() && (mutex.Unlock(), true); });
    EXPECT_EQ (other.wait_for (std::chrono::milliseconds (50)), std::future_status::timeout);

    mutex.Unlock();
    EXPECT_TRUE (other.get());
}

TEST (AAX_CMutexTest, NestedGuardsReleaseOnlyAtTheOutermost)
{
    AAX_CMutex mutex;
    std::atomic<bool> otherGotIt { false };
    std::thread other;

    {
        const AAX_StLock_Guard outer (mutex);

        {
            const AAX_StLock_Guard inner (mutex);
        }

        other = std::thread ([&] { const AAX_StLock_Guard guard (mutex); otherGotIt = true; });
        std::this_thread::sleep_for (std::chrono::milliseconds (20));
        EXPECT_FALSE (otherGotIt.load());
    }

    other.join();
    EXPECT_TRUE (otherGotIt.load());
}
