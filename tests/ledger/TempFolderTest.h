#pragma once
// A temporary folder of a test's own, and a test with it and a fixed clock.
#include "TestClock.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <stdlib.h>
#include <sys/stat.h>

class TempFolder
{
protected:
    void MakeFolder()
    {
        char pattern[] = "/tmp/quillet-test-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_dir = pattern;
    }
    // A test may leave the folder read-only.
    void RemoveFolder()
    {
        ::chmod(m_dir.c_str(), 0700);
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
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

class TempFolderTest : public FixedClockTest, protected TempFolder
{
protected:
    void SetUp() override
    {
        FixedClockTest::SetUp();
        MakeFolder();
    }
    void TearDown() override
    {
        RemoveFolder();
        FixedClockTest::TearDown();
    }
};
