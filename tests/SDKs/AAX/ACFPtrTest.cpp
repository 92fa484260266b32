// The holder of host interfaces: one reference each, released once, and a
// throw rather than a null dereference.
#include "FakeHostFixture.h"

#include "ACFPtr.h"

namespace
{
using ACFPtrTest = FakeHostFixture;

TEST_F (ACFPtrTest, HoldsOneReferenceAndReleasesItOnce)
{
    {
        ACFPtr<IACFUnknown> held;
        held.Assign (host.root());
        EXPECT_EQ (host.outstandingReferences(), 1);

        held.Assign (host.root());
        EXPECT_EQ (host.outstandingReferences(), 1);
        EXPECT_TRUE (held);
    }

    EXPECT_EQ (host.outstandingReferences(), 0);
}

TEST_F (ACFPtrTest, AHostCallFillsItAfterTheOldReferenceIsReleased)
{
    ACFPtr<IACFComponentFactory> factory;
    ASSERT_EQ (host.root()->QueryInterface (IID_IACFComponentFactory, factory.OutArgument()), ACF_OK);
    ASSERT_EQ (host.root()->QueryInterface (IID_IACFComponentFactory, factory.OutArgument()), ACF_OK);
    EXPECT_EQ (host.outstandingReferences(), 1);

    factory.Clear();
    EXPECT_FALSE (factory);
    EXPECT_EQ (host.outstandingReferences(), 0);
}

TEST_F (ACFPtrTest, AnEmptyHolderThrowsInsteadOfDereferencingNull)
{
    const ACFPtr<IACFUnknown> empty;

    try
    {
        empty->AddRef();
        FAIL() << "no throw";
    }
    catch (int32_t code)
    {
        EXPECT_EQ (code, static_cast<int32_t> (0x80000005u));
    }
}
}
