#pragma once
// Fixes "now" for one test and puts it back afterwards.
#include "AppValues.h"
#include "Time.h"

#include <gtest/gtest.h>

class FixedClockTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AppValues::ResetToDefaults();
        Clock::Set([this] { return int64_t(m_now.GetTime()); });
    }
    void TearDown() override { Clock::Set(nullptr); }
    CTime Now() const { return m_now; }

    const CTime m_now{2026, 12, 6, 12, 0, 0};
};
