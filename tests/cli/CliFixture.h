#pragma once
// Runs quillet-cli in-process on files in a temporary folder, with a
// fixed clock.
#include "../ledger/TempFolderTest.h"
#include "AppValues.h"
#include "Cli.h"
#include "Time.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

struct CliResult
{
    int status;
    std::string out;
    std::string err;
};

class CliFixture : public ::testing::Test, protected TempFolder
{
protected:
    void SetUp() override
    {
        AppValues::ResetToDefaults();
        MakeFolder();
    }
    void TearDown() override
    {
        RemoveFolder();
        AppValues::ResetToDefaults();
        Clock::Set(nullptr);
    }

    CliResult Run(std::vector<std::string> args, const Cli::Environment& env = Cli::Environment())
    {
        std::ostringstream out, err;
        const int status = Cli::Run(args, out, err, env);
        return {status, out.str(), err.str()};
    }
    void SetNow(CTime now)
    {
        Clock::Set([now] { return int64_t(now.GetTime()); });
    }
};
