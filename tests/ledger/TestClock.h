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
        SetNow(CTime(2026, 12, 6, 12, 0, 0));
    }
    void TearDown() override { Clock::Set(nullptr); }

    void SetNow(CTime now)
    {
        m_now = now;
        Clock::Set([this] { return int64_t(m_now.GetTime()); });
    }
    CTime Now() const { return m_now; }

    CTime m_now;
};
