#pragma once
// A test with a fixed clock and a temporary folder of its own.
#include "TestClock.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <stdlib.h>
#include <sys/stat.h>

class TempFolderTest : public FixedClockTest
{
protected:
    void SetUp() override
    {
        FixedClockTest::SetUp();
        char pattern[] = "/tmp/quillet-file-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_dir = pattern;
    }
    void TearDown() override
    {
        ::chmod(m_dir.c_str(), 0700);
        std::filesystem::remove_all(m_dir);
        FixedClockTest::TearDown();
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
