// Starts a program and reports, to the microsecond, how long after its start the X server
// mapped its window and, where the server has the DAMAGE extension, how long until something was
// first drawn in it: polling with xdotool only sees a window tens of milliseconds late, too
// coarse next to an 80 ms start-up, and a mapped window is not yet a shown one (what a program
// puts off until after mapping still keeps its user waiting). Then keeps the program alive until
// told to stop, so that its memory and idle CPU can be read, and ends it.
//
//   bench_mapstamp [--size WxH] [--title TEXT] [--timeout-ms N] [--hold-ms N] [--any-pid]
//                  -- PROGRAM [ARG...]
//     prints one line on stdout once a window of PROGRAM is mapped and first drawn:
//       pid=P map_ms=T paint_ms=T cpu_map_ms=C cpu_paint_ms=C window=0xW width=W height=H late=0|1
//     (paint_ms=-1: not drawn within the timeout, or no DAMAGE extension; cpu_*: CPU time that
//     all of PROGRAM's threads had used by then, which other load on the machine hardly moves,
//     unlike the elapsed times), or, when no window
//     is mapped: pid=P error=timeout | error=exited status=S | error=interrupted;
//     then holds until SIGTERM, SIGINT, SIGHUP, the program's exit or --hold-ms, and ends it.
//     --any-pid takes a window of any process: for PROGRAM under a wrapper such as strace or
//     perf, whose window bears the wrapped process's pid.
//
// Exit status: 0 mapped, 1 no X connection, 2 usage, 3 timeout, 4 the program ended
// first, 5 interrupted.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/signalfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <xcb/xcb.h>
#ifdef BENCH_HAVE_DAMAGE
#include <xcb/damage.h>
#endif

#include <dirent.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

double NowMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

int RemainingMs(double deadline) {
  const double left = deadline - NowMs();
  return left <= 0 ? 0 : static_cast<int>(left) + 1;
}

struct Options {
  unsigned width = 0;
  unsigned height = 0;
  std::string title;
  bool wantTitle = false;
  int timeoutMs = 20000;
  int holdMs = 60000;
  bool anyPid = false;
  char** argv = nullptr;
};

[[noreturn]] void Usage() {
  std::fprintf(stderr,
               "usage: bench_mapstamp [--size WxH] [--title TEXT] [--timeout-ms N] [--hold-ms N]"
               " [--any-pid] -- PROGRAM [ARG...]\n");
  std::exit(2);
}

Options Parse(int argc, char** argv) {
  Options o;
  int i = 1;
  for (; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--") {
      ++i;
      break;
    }
    if (a == "--any-pid") {
      o.anyPid = true;
      continue;
    }
    if (i + 1 >= argc) Usage();
    const char* v = argv[++i];
    if (a == "--size") {
      if (std::sscanf(v, "%ux%u", &o.width, &o.height) != 2) Usage();
    } else if (a == "--title") {
      o.title = v;
      o.wantTitle = true;
    } else if (a == "--timeout-ms") {
      o.timeoutMs = std::atoi(v);
    } else if (a == "--hold-ms") {
      o.holdMs = std::atoi(v);
    } else {
      Usage();
    }
  }
  if (i >= argc) Usage();
  o.argv = argv + i;
  return o;
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
  const xcb_atom_t atom = r != nullptr ? r->atom : xcb_atom_t{XCB_ATOM_NONE};
  std::free(r);
  return atom;
}

struct Atoms {
  xcb_atom_t pid;
  xcb_atom_t netName;
  xcb_atom_t utf8;
};

bool PropertyText(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property, xcb_atom_t type,
                  std::string& out) {
  xcb_get_property_reply_t* r =
      xcb_get_property_reply(c, xcb_get_property(c, 0, w, property, type, 0, 1024), nullptr);
  bool found = false;
  if (r != nullptr && r->type != XCB_ATOM_NONE) {
    out.assign(static_cast<const char*>(xcb_get_property_value(r)),
               static_cast<std::size_t>(xcb_get_property_value_length(r)));
    found = true;
  }
  std::free(r);
  return found;
}

long WindowPid(xcb_connection_t* c, xcb_window_t w, const Atoms& atoms) {
  xcb_get_property_reply_t* r = xcb_get_property_reply(
      c, xcb_get_property(c, 0, w, atoms.pid, XCB_ATOM_CARDINAL, 0, 1), nullptr);
  long pid = -1;
  if (r != nullptr && r->format == 32 && xcb_get_property_value_length(r) >= 4) {
    pid = static_cast<long>(*static_cast<const uint32_t*>(xcb_get_property_value(r)));
  }
  std::free(r);
  return pid;
}

struct Seen {
  unsigned width = 0;
  unsigned height = 0;
  std::string title;
};

// The child's windows that were mapped but did not match, told on a timeout so that a wrong
// --size or --title is obvious.
std::vector<Seen> rejected;

bool Matches(xcb_connection_t* c, xcb_window_t w, pid_t child, const Options& o, const Atoms& atoms,
             unsigned& width, unsigned& height) {
  const long pid = WindowPid(c, w, atoms);
  if (o.anyPid ? pid <= 0 : pid != static_cast<long>(child)) return false;
  xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(c, xcb_get_geometry(c, w), nullptr);
  if (g == nullptr) return false;
  width = g->width;
  height = g->height;
  std::free(g);
  std::string title;
  if (!PropertyText(c, w, atoms.netName, atoms.utf8, title)) {
    PropertyText(c, w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, title);
  }
  const bool sizeOk = o.width == 0 || (width == o.width && height == o.height);
  const bool titleOk = !o.wantTitle || title == o.title;
  if (!sizeOk || !titleOk) rejected.push_back({width, height, title});
  return sizeOk && titleOk;
}

// First drawing into each watched window. A damage object is attached to every top-level at its
// creation, long before anything can be drawn in it, so that no first paint can slip by unseen.
class Paints {
 public:
  explicit Paints(xcb_connection_t* c) : c_(c) {
#ifdef BENCH_HAVE_DAMAGE
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(c, &xcb_damage_id);
    if (ext == nullptr || ext->present == 0) return;
    std::free(xcb_damage_query_version_reply(
        c, xcb_damage_query_version(c, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION),
        nullptr));
    event_ = ext->first_event + XCB_DAMAGE_NOTIFY;
    available_ = true;
#endif
  }
  bool Available() const { return available_; }
  void Watch(xcb_window_t w) {
#ifdef BENCH_HAVE_DAMAGE
    if (available_) {
      xcb_damage_create(c_, xcb_generate_id(c_), w, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
    }
#else
    (void)w;
#endif
  }
  // True when ev is a first drawing (whose time is then kept).
  bool Take(const xcb_generic_event_t* ev, double at) {
#ifdef BENCH_HAVE_DAMAGE
    if (!available_ || (ev->response_type & 0x7f) != event_) return false;
    const auto* dn = reinterpret_cast<const xcb_damage_notify_event_t*>(ev);
    for (const auto& [w, t] : first_) {
      if (w == dn->drawable) return true;
    }
    first_.emplace_back(dn->drawable, at);
    return true;
#else
    (void)ev;
    (void)at;
    return false;
#endif
  }
  double At(xcb_window_t w) const {
    for (const auto& [window, t] : first_) {
      if (window == w) return t;
    }
    return -1;
  }

 private:
  xcb_connection_t* c_;
  bool available_ = false;
  uint8_t event_ = 0;
  std::vector<std::pair<xcb_window_t, double>> first_;
};

// Time on CPU of every thread of pid so far, in ms, from the scheduler's nanosecond counts: the
// tick-based counts of /proc/PID/stat are 10 ms coarse.
double CpuMs(pid_t pid) {
  const std::string dir = "/proc/" + std::to_string(pid) + "/task";
  DIR* d = opendir(dir.c_str());
  if (d == nullptr) return -1;
  double ns = 0;
  while (const dirent* e = readdir(d)) {
    if (e->d_name[0] == '.') continue;
    FILE* f = std::fopen((dir + "/" + e->d_name + "/schedstat").c_str(), "r");
    if (f == nullptr) continue;
    unsigned long long run = 0;
    if (std::fscanf(f, "%llu", &run) == 1) ns += static_cast<double>(run);
    std::fclose(f);
  }
  closedir(d);
  return ns / 1e6;
}

void EndChild(pid_t child, int pidfd) {
  if (kill(child, SIGTERM) == 0) {
    pollfd p{pidfd, POLLIN, 0};
    if (poll(&p, 1, 1000) <= 0) kill(child, SIGKILL);
  }
  waitpid(child, nullptr, 0);
}

int Run(xcb_connection_t* c, const Options& o) {
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  const xcb_window_t root = screen->root;
  const Atoms atoms{Atom(c, "_NET_WM_PID"), Atom(c, "_NET_WM_NAME"), Atom(c, "UTF8_STRING")};
  Paints paints(c);
  // Top-level windows are born children of the root: their creation is seen there, and each is
  // then watched on its own, because a window manager reparents it before mapping it.
  const uint32_t rootMask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &rootMask);
  std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
  fcntl(xcb_get_file_descriptor(c), F_SETFD, FD_CLOEXEC);

  sigset_t stops;
  sigemptyset(&stops);
  sigaddset(&stops, SIGTERM);
  sigaddset(&stops, SIGINT);
  sigaddset(&stops, SIGHUP);
  sigset_t previous;
  sigprocmask(SIG_BLOCK, &stops, &previous);
  const int sigfd = signalfd(-1, &stops, SFD_CLOEXEC);

  const pid_t parent = getpid();
  const double start = NowMs();
  const pid_t child = fork();
  if (child < 0) {
    std::perror("bench_mapstamp: fork");
    return 1;
  }
  if (child == 0) {
    // Whatever ends this watcher ends the program too: no benchmark run outlives its watcher.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    const int devnull = open("/dev/null", O_RDONLY);
    if (devnull >= 0) dup2(devnull, 0);
    dup2(2, 1);  // the program's own output must not mix with the one result line
    execvp(o.argv[0], o.argv);
    std::fprintf(stderr, "bench_mapstamp: cannot run %s: %s\n", o.argv[0], std::strerror(errno));
    _exit(127);
  }
  const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, child, 0));

  const double deadline = start + o.timeoutMs;
  double mappedAt = -1;
  xcb_window_t mapped = XCB_WINDOW_NONE;
  unsigned width = 0;
  unsigned height = 0;
  bool late = false;
  bool exited = false;
  int status = 0;
  bool interrupted = false;
  double cpuAtMap = -1;
  double cpuAtPaint = -1;
  const auto done = [&] {
    if (exited || interrupted) return true;
    if (mapped == XCB_WINDOW_NONE) return false;
    return !paints.Available() || paints.At(mapped) >= 0;
  };

  while (!done()) {
    while (xcb_generic_event_t* ev = xcb_poll_for_event(c)) {
      const double at = NowMs();
      const uint8_t type = ev->response_type & 0x7f;
      if (paints.Take(ev, at)) {
        if (mapped != XCB_WINDOW_NONE && cpuAtPaint < 0 && paints.At(mapped) >= 0) {
          cpuAtPaint = CpuMs(child);
        }
      } else if (type == XCB_CREATE_NOTIFY) {
        const auto* cn = reinterpret_cast<xcb_create_notify_event_t*>(ev);
        if (cn->override_redirect == 0) {
          const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
          xcb_change_window_attributes(c, cn->window, XCB_CW_EVENT_MASK, &mask);
          paints.Watch(cn->window);
          // Mapped before the watch took hold: counted now, and flagged.
          xcb_get_window_attributes_reply_t* wa =
              xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, cn->window), nullptr);
          if (mapped == XCB_WINDOW_NONE && wa != nullptr &&
              wa->map_state != XCB_MAP_STATE_UNMAPPED &&
              Matches(c, cn->window, child, o, atoms, width, height)) {
            mapped = cn->window;
            mappedAt = NowMs();
            cpuAtMap = CpuMs(child);
            late = true;
          }
          std::free(wa);
        }
      } else if (type == XCB_MAP_NOTIFY && mapped == XCB_WINDOW_NONE) {
        const auto* mn = reinterpret_cast<xcb_map_notify_event_t*>(ev);
        if (Matches(c, mn->window, child, o, atoms, width, height)) {
          mapped = mn->window;
          mappedAt = at;
          cpuAtMap = CpuMs(child);
        }
      }
      std::free(ev);
      if (done()) break;
    }
    if (done()) break;
    if (xcb_connection_has_error(c) != 0) {
      std::fprintf(stderr, "bench_mapstamp: lost the X connection\n");
      break;
    }
    const int wait = RemainingMs(deadline);
    if (wait == 0) break;
    pollfd fds[3] = {
        {xcb_get_file_descriptor(c), POLLIN, 0}, {pidfd, POLLIN, 0}, {sigfd, POLLIN, 0}};
    if (poll(fds, 3, wait) < 0 && errno != EINTR) break;
    if ((fds[1].revents & POLLIN) != 0) {
      exited = waitpid(child, &status, WNOHANG) == child;
    }
    if ((fds[2].revents & POLLIN) != 0) interrupted = true;
  }

  if (mapped != XCB_WINDOW_NONE) {
    const double paintedAt = paints.At(mapped);
    std::printf(
        "pid=%d map_ms=%.3f paint_ms=%.3f cpu_map_ms=%.3f cpu_paint_ms=%.3f window=0x%x width=%u"
        " height=%u late=%d\n",
        child, mappedAt - start, paintedAt < 0 ? -1.0 : paintedAt - start, cpuAtMap,
        paintedAt < 0 ? -1.0 : cpuAtPaint, mapped, width, height, late ? 1 : 0);
  } else if (exited) {
    std::printf("pid=%d error=exited status=%d\n", child,
                WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
  } else {
    std::printf("pid=%d error=%s\n", child, interrupted ? "interrupted" : "timeout");
    for (const Seen& s : rejected) {
      std::fprintf(stderr, "bench_mapstamp: not matched: %ux%u \"%s\"\n", s.width, s.height,
                   s.title.c_str());
    }
  }
  std::fflush(stdout);
  xcb_disconnect(c);
  if (exited && mapped == XCB_WINDOW_NONE) return 4;

  if (mapped != XCB_WINDOW_NONE && !interrupted && !exited) {
    pollfd fds[2] = {{pidfd, POLLIN, 0}, {sigfd, POLLIN, 0}};
    const double holdUntil = NowMs() + o.holdMs;
    int wait;
    while ((wait = RemainingMs(holdUntil)) > 0) {
      const int n = poll(fds, 2, wait);
      if (n > 0 || (n < 0 && errno != EINTR)) break;
    }
  }
  EndChild(child, pidfd);
  if (mapped != XCB_WINDOW_NONE) return 0;
  return interrupted ? 5 : 3;
}

}  // namespace

int main(int argc, char** argv) {
  const Options o = Parse(argc, argv);
  int screen = 0;
  xcb_connection_t* c = xcb_connect(nullptr, &screen);
  if (xcb_connection_has_error(c) != 0) {
    std::fprintf(stderr, "bench_mapstamp: cannot connect to the X server\n");
    return 1;
  }
  return Run(c, o);
}
