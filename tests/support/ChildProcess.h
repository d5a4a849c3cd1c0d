// Helpers for tests that must survive what they test: a step run in a child process with a
// time limit, and a test run again as an unprivileged user.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

namespace testing_support {

inline constexpr int kTimedOut = -1;

// Runs `step` in a forked child and gives its result (0 to 125), or kTimedOut when it has not
// ended within `limit` (the child is then killed).
inline int RunBounded(const std::function<int()>& step, std::chrono::milliseconds limit) {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(step());
  if (child < 0) return kTimedOut;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  int status = 0;
  while (::waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
      return kTimedOut;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : kTimedOut;
}

// True when the test runs as root, who reads and writes whatever the permissions say. Such a
// test is then run again, alone, as the user "nobody" from a copy of this binary that that user
// can reach, its failure failing this run; the caller returns at once.
inline bool RerunAsNobody() {
  if (::geteuid() != 0) return false;
  const std::filesystem::path setpriv = "/usr/bin/setpriv";
  if (!std::filesystem::exists(setpriv)) {
    ADD_FAILURE() << "setpriv (util-linux) is needed to check permissions as a plain user";
    return true;
  }
  char folderTemplate[] = "/tmp/tavelmarque-unprivileged-XXXXXX";
  if (!::mkdtemp(folderTemplate)) {
    ADD_FAILURE() << "no temporary folder";
    return true;
  }
  const std::filesystem::path folder = folderTemplate;
  const std::filesystem::path copy = folder / "test";
  std::error_code error;
  std::filesystem::copy_file("/proc/self/exe", copy, error);
  std::filesystem::permissions(folder, std::filesystem::perms(0755), error);
  std::filesystem::permissions(copy, std::filesystem::perms(0755), error);
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string filter =
      std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name();
  const pid_t child = ::fork();
  if (child == 0) {
    ::execl(setpriv.c_str(), "setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", "--",
            copy.c_str(), filter.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int status = 1;
  if (child > 0) ::waitpid(child, &status, 0);
  std::filesystem::remove_all(folder, error);
  EXPECT_TRUE(child > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << "the run as nobody failed (status " << status << "), see its output";
  return true;
}

}  // namespace testing_support
