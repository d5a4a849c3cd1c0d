// Proportional set size of one process as if no other Qt program were running.
//
// PSS divides each shared page among the processes that map it, so any other Qt program on the
// machine (a test run, another session's copy of the program) takes a share of the Qt library
// pages and makes the measured process look smaller than it is on a desktop of its own. Here a
// page that other Qt programs also map is divided only among the remaining mappers: the window
// manager, the X server and so on still take their share, as they would on that desktop.
//
//   bench_pss PID    prints: pss_kib=N pss_alone_kib=N rss_kib=N other_qt=N
//
// Needs root: /proc/kpagecount and the page frame numbers in other processes' pagemap are
// hidden from other users. Exit status: 0 done, 1 not permitted or PID gone, 2 usage.
#include <dirent.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

constexpr std::uint64_t kPresent = 1ULL << 63;
constexpr std::uint64_t kPfnMask = (1ULL << 55) - 1;

struct Range {
  std::uint64_t begin;
  std::uint64_t end;
};

std::vector<Range> Ranges(const std::string& pid) {
  std::vector<Range> ranges;
  std::ifstream maps("/proc/" + pid + "/maps");
  std::string line;
  while (std::getline(maps, line)) {
    Range r{};
    if (std::sscanf(line.c_str(), "%lx-%lx", &r.begin, &r.end) != 2) continue;
    if (line.find("[vsyscall]") != std::string::npos) continue;
    ranges.push_back(r);
  }
  return ranges;
}

// Calls f(pfn) for every page of pid that is in memory; false when pagemap cannot be read.
template <typename F>
bool ForEachPage(const std::string& pid, std::uint64_t pageSize, F f) {
  FILE* pagemap = std::fopen(("/proc/" + pid + "/pagemap").c_str(), "rb");
  if (pagemap == nullptr) return false;
  std::vector<std::uint64_t> entries;
  for (const Range& r : Ranges(pid)) {
    const std::uint64_t pages = (r.end - r.begin) / pageSize;
    entries.resize(pages);
    if (fseeko(pagemap, static_cast<off_t>(r.begin / pageSize * 8), SEEK_SET) != 0) continue;
    const std::size_t got = std::fread(entries.data(), 8, pages, pagemap);
    for (std::size_t i = 0; i < got; ++i) {
      if ((entries[i] & kPresent) != 0) f(entries[i] & kPfnMask);
    }
  }
  std::fclose(pagemap);
  return true;
}

bool MapsQt(const std::string& pid) {
  std::ifstream maps("/proc/" + pid + "/maps");
  std::string line;
  while (std::getline(maps, line)) {
    if (line.find("libQt6Core.so") != std::string::npos) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || std::strspn(argv[1], "0123456789") != std::strlen(argv[1])) {
    std::fprintf(stderr, "usage: bench_pss PID\n");
    return 2;
  }
  const std::string target = argv[1];
  const auto pageSize = static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));

  // pfn -> how many other Qt programs map it
  std::unordered_map<std::uint64_t, int> pages;
  bool zeroPfn = false;
  const bool read = ForEachPage(target, pageSize, [&](std::uint64_t pfn) {
    if (pfn == 0) zeroPfn = true;
    pages.emplace(pfn, 0);
  });
  if (!read || pages.empty() || (zeroPfn && pages.size() == 1)) {
    std::fprintf(stderr, "bench_pss: cannot read the pages of %s (gone, or not root)\n", argv[1]);
    return 1;
  }

  int others = 0;
  if (DIR* proc = opendir("/proc")) {
    std::unordered_map<std::uint64_t, bool> counted;
    while (const dirent* e = readdir(proc)) {
      const std::string pid = e->d_name;
      if (pid.find_first_not_of("0123456789") != std::string::npos || pid == target) continue;
      if (!MapsQt(pid)) continue;
      ++others;
      counted.clear();
      ForEachPage(pid, pageSize, [&](std::uint64_t pfn) {
        const auto it = pages.find(pfn);
        if (it != pages.end() && counted.emplace(pfn, true).second) ++it->second;
      });
    }
    closedir(proc);
  }

  FILE* kpagecount = std::fopen("/proc/kpagecount", "rb");
  if (kpagecount == nullptr) {
    std::fprintf(stderr, "bench_pss: cannot read /proc/kpagecount (not root)\n");
    return 1;
  }
  double pss = 0;
  double alone = 0;
  for (const auto& [pfn, inOthers] : pages) {
    std::uint64_t count = 0;
    if (fseeko(kpagecount, static_cast<off_t>(pfn * 8), SEEK_SET) != 0 ||
        std::fread(&count, 8, 1, kpagecount) != 1 || count == 0) {
      count = 1;
    }
    const auto mappers = static_cast<double>(count);
    pss += static_cast<double>(pageSize) / mappers;
    const double rest = mappers - inOthers;
    alone += static_cast<double>(pageSize) / (rest < 1 ? 1 : rest);
  }
  std::fclose(kpagecount);
  std::printf("pss_kib=%.0f pss_alone_kib=%.0f rss_kib=%.0f other_qt=%d\n", pss / 1024,
              alone / 1024, static_cast<double>(pages.size() * pageSize) / 1024, others);
  return 0;
}
