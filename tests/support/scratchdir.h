// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the core's file tests share: a folder of their own for every test, reading a file
// back whole, and a disk that refuses bytes.

#include "tests/support/scriptedfilecalls.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

namespace testsupport {

// The whole file, byte for byte; empty when it cannot be read.
inline std::string ReadFile(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fixture whose every test starts in an empty folder of its own under the system's
// temporary folder (lumidra-SUITE-PID-TEST: tests of parallel runs never meet), removed
// after the test.
class ScratchDirTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               ("lumidra-" + std::string(info->test_suite_name()) + "-" +
                std::to_string(::getpid()) + "-" + info->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::filesystem::path dir_;
};

#ifdef __EMSCRIPTEN__
// Under node (the WebAssembly build) the process's limits are node's own and files are reached
// through node's calls: no file-size limit stops a write there. The writer's write call
// failing as on a full disk stands in for it, so that the same tests still see every save fail.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(unsigned long /*bytes*/)
    {
        calls_.Fail("Write", std::errc::file_too_large);
    }

private:
    ScriptedFileCalls calls_;
    UseFileCalls use_{calls_};
};
#else
// For its lifetime, writes beyond the first bytes of any file fail with EFBIG, as on a full
// disk; root is stopped by it too, where taking write permissions away is not. SIGXFSZ is
// ignored meanwhile, so that the process lives on to report the failure.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_active = ::getrlimit(RLIMIT_FSIZE, &m_saved) == 0;
        EXPECT_TRUE(m_active) << "cannot read the file size limit";
        if (!m_active)
            return;
        m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = m_saved;
        small.rlim_cur = bytes;
        EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0) << "cannot limit the file size";
    }
    ~FileSizeLimit()
    {
        if (!m_active)
            return;
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    bool m_active = false;
    rlimit m_saved{};
    void (*m_savedHandler)(int) = SIG_DFL;
};
#endif

} // namespace testsupport
