#pragma once
// Runs quillet-cli in-process on files in a temporary folder, with a
// fixed clock.
#include "AppValues.h"
#include "Cli.h"
#include "Time.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

struct CliResult
{
    int status;
    std::string out;
    std::string err;
};

class CliFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AppValues::ResetToDefaults();
        char pattern[] = "/tmp/quillet-cli-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_dir = pattern;
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
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
    std::string Path(const std::string& name) const { return m_dir + "/" + name; }
    static std::string Contents(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void Put(const std::string& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    std::string m_dir;
};
