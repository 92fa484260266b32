// A test fixture with a fake AAX host that checks, as each test ends, that the
// plug-in side left no reference outstanding and released nothing twice.
#pragma once

#include "FakeAaxHost.h"

#include <gtest/gtest.h>

class FakeHostFixture : public ::testing::Test
{
protected:
    void TearDown() override
    {
        EXPECT_EQ (host.outstandingReferences(), 0) << host.outstandingReport();
        EXPECT_EQ (host.overReleases(), 0) << host.outstandingReport();
    }

    FakeHost host;
};
