// Times what a user feels every day: from real input (XTest, as a keyboard or a mouse sends it)
// to what the X server then sees of the program: the damage of a label region, the map and first
// drawing of a window built for the occasion. Talks to the server directly, so that its own
// reaction costs microseconds and no toolkit of its own sits between the input and the clock.
//
//   bench_latency --pid PID --window WID [--rounds N] [--label NAME] [--samples FILE] SCENARIO
//   SCENARIO:
//     --key KEYS [--region X,Y,W,H] [--before KEYS] [--reset KEYS]
//         presses KEYS in WID (focused first) and waits for damage of WID that meets the region
//         (window pixels; the whole window by default); the keys of --before are pressed first
//         and those of --reset after, untimed.
//     --dialog KEYS --close KEYS
//         presses KEYS in WID and waits for a new window of PID to be mapped and drawn; closes
//         it with the close keys, untimed.
//     --click X,Y --close KEYS
//         the same from a click of the first button at window pixel X,Y of WID.
//     --tray X,Y --hide KEYS
//         hides WID with the hide keys, then double-clicks at screen pixel X,Y and waits for a
//         window of PID at least 100 pixels wide to be mapped and drawn; timed from the second
//         press of the button.
//   KEYS: space-separated key names, each with optional "alt+" or "shift+": digits, letters,
//   Return, Escape, BackSpace, Tab, F1..F12.
//
// Prints one line:
//   label=L rounds=N missed=M first_med=T first_p95=T map_med=T map_p95=T paint_med=T
//   paint_p95=T settle_med=T cpu_act_ms=C cpu_round_ms=C
// (ms; first: first damage in the region, for keys; map/paint: the window's map and first
// drawing, for windows; settle: the last damage before 40 ms of quiet; cpu_act: the program's
// time on CPU (all threads, scheduler nanoseconds) from the press to that quiet for keys, to the
// first drawing for windows, per round;
// cpu_round: utime+stime of /proc/PID/stat over all rounds, closing and resetting included,
// divided by the rounds). --samples appends one line a round to FILE:
//   label,first_ms,map_ms,paint_ms,settle_ms,cpu_act_ms
// Exit status: 0 done, 1 no X connection or extension, 2 usage, 3 more
// than half of the rounds missed.
#include <glob.h>
#include <poll.h>
#include <time.h>
#include <unistd.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

double NowMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

[[noreturn]] void Usage() {
  std::fprintf(
      stderr,
      "usage: bench_latency --pid PID --window WID [--rounds N] [--label NAME] [--samples FILE]\n"
      "         (--key KEYS [--region X,Y,W,H] [--before KEYS] [--reset KEYS]\n"
      "          | --dialog KEYS --close KEYS | --click X,Y --close KEYS\n"
      "          | --tray X,Y --hide KEYS)\n");
  std::exit(2);
}

struct Options {
  long pid = 0;
  xcb_window_t window = 0;
  int rounds = 50;
  std::string label = "run";
  std::string samples;
  std::string mode;
  std::string keys;
  std::string before;
  std::string reset;
  std::string close;
  int x = 0, y = 0;
  int rx = 0, ry = 0, rw = 0, rh = 0;
};

Options Parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (i + 1 >= argc) Usage();
    const std::string v = argv[++i];
    if (a == "--pid") {
      o.pid = std::atol(v.c_str());
    } else if (a == "--window") {
      o.window = static_cast<xcb_window_t>(std::strtoul(v.c_str(), nullptr, 0));
    } else if (a == "--rounds") {
      o.rounds = std::atoi(v.c_str());
    } else if (a == "--samples") {
      o.samples = v;
    } else if (a == "--label") {
      o.label = v;
    } else if (a == "--key" || a == "--dialog") {
      o.mode = a.substr(2);
      o.keys = v;
    } else if (a == "--click" || a == "--tray") {
      o.mode = a.substr(2);
      if (std::sscanf(v.c_str(), "%d,%d", &o.x, &o.y) != 2) Usage();
    } else if (a == "--region") {
      if (std::sscanf(v.c_str(), "%d,%d,%d,%d", &o.rx, &o.ry, &o.rw, &o.rh) != 4) Usage();
    } else if (a == "--before") {
      o.before = v;
    } else if (a == "--reset") {
      o.reset = v;
    } else if (a == "--close" || a == "--hide") {
      o.close = v;
    } else {
      Usage();
    }
  }
  if (o.pid <= 0 || o.window == 0 || o.rounds < 1 || o.mode.empty()) Usage();
  if (o.mode != "key" && o.close.empty()) Usage();
  return o;
}

double CpuNs(long pid) {
  glob_t g{};
  const std::string pattern = "/proc/" + std::to_string(pid) + "/task/*/schedstat";
  double ns = 0;
  if (glob(pattern.c_str(), 0, nullptr, &g) == 0) {
    for (size_t i = 0; i < g.gl_pathc; ++i) {
      std::ifstream f(g.gl_pathv[i]);
      double run = 0;
      if (f >> run) ns += run;
    }
  }
  globfree(&g);
  return ns;
}

long CpuTicks(long pid) {
  std::ifstream f("/proc/" + std::to_string(pid) + "/stat");
  std::string all((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  const auto close = all.rfind(')');
  if (close == std::string::npos) return 0;
  std::istringstream rest(all.substr(close + 2));
  std::string field;
  long utime = 0, stime = 0;
  for (int i = 3; rest >> field; ++i) {
    if (i == 14) utime = std::atol(field.c_str());
    if (i == 15) {
      stime = std::atol(field.c_str());
      break;
    }
  }
  return utime + stime;
}

class Bench {
 public:
  Bench(xcb_connection_t* c, const Options& o) : c_(c), o_(o) {
    root_ = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    pidAtom_ = Atom("_NET_WM_PID");
    activeAtom_ = Atom("_NET_ACTIVE_WINDOW");
    const xcb_setup_t* setup = xcb_get_setup(c);
    minCode_ = setup->min_keycode;
    auto* km = xcb_get_keyboard_mapping_reply(
        c,
        xcb_get_keyboard_mapping(c, setup->min_keycode,
                                 static_cast<uint8_t>(setup->max_keycode - setup->min_keycode + 1)),
        nullptr);
    if (km != nullptr) {
      perCode_ = km->keysyms_per_keycode;
      const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(km);
      keysyms_.assign(syms, syms + xcb_get_keyboard_mapping_keysyms_length(km));
      std::free(km);
    }
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(c, &xcb_damage_id);
    damageEvent_ = static_cast<uint8_t>(ext->first_event + XCB_DAMAGE_NOTIFY);
    std::free(xcb_damage_query_version_reply(c, xcb_damage_query_version(c, 1, 1), nullptr));
    const uint32_t rootMask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root_, XCB_CW_EVENT_MASK, &rootMask);
    Watch(o.window);
    Sync();
  }

  void Run() {
    FILE* samples = o_.samples.empty() ? nullptr : std::fopen(o_.samples.c_str(), "a");
    const long ticks0 = CpuTicks(o_.pid);
    for (int round = 0; round < o_.rounds; ++round) {
      const size_t firsts = first_.size(), maps = map_.size(), settles = settle_.size();
      if (o_.mode == "key") {
        KeyRound();
      } else if (o_.mode == "tray") {
        TrayRound();
      } else {
        WindowRound();
      }
      if (samples != nullptr) {
        // One line a round, a field left empty where the round saw nothing of that kind.
        const auto field = [](const std::vector<double>& v, size_t before) {
          if (v.size() == before) return std::string();
          char buf[32];
          std::snprintf(buf, sizeof buf, "%.3f", v.back());
          return std::string(buf);
        };
        std::fprintf(samples, "%s,%s,%s,%s,%s,%s\n", o_.label.c_str(),
                     field(first_, firsts).c_str(), field(map_, maps).c_str(),
                     field(paint_, maps).c_str(), field(settle_, settles).c_str(),
                     field(cpu_, cpu_.size() - 1).c_str());
      }
    }
    if (samples != nullptr) std::fclose(samples);
    const long ticks1 = CpuTicks(o_.pid);
    const double tickMs = 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
    std::printf(
        "label=%s rounds=%d missed=%d first_med=%s first_p95=%s map_med=%s map_p95=%s"
        " paint_med=%s paint_p95=%s settle_med=%s cpu_act_ms=%s cpu_round_ms=%.2f\n",
        o_.label.c_str(), o_.rounds, missed_, Q(first_, 0.5).c_str(), Q(first_, 0.95).c_str(),
        Q(map_, 0.5).c_str(), Q(map_, 0.95).c_str(), Q(paint_, 0.5).c_str(),
        Q(paint_, 0.95).c_str(), Q(settle_, 0.5).c_str(), Mean(cpu_).c_str(),
        static_cast<double>(ticks1 - ticks0) * tickMs / o_.rounds);
  }

  bool MostlyMissed() const { return missed_ * 2 > o_.rounds; }

 private:
  // --- server plumbing -------------------------------------------------------------------------
  xcb_atom_t Atom(const char* name) {
    auto* r = xcb_intern_atom_reply(
        c_, xcb_intern_atom(c_, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = r != nullptr ? r->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(r);
    return a;
  }
  void Sync() { std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr)); }

  void Watch(xcb_window_t w) {
    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(c_, w, XCB_CW_EVENT_MASK, &mask);
    xcb_damage_create(c_, xcb_generate_id(c_), w, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
  }

  long WindowPid(xcb_window_t w) {
    auto* r = xcb_get_property_reply(
        c_, xcb_get_property(c_, 0, w, pidAtom_, XCB_ATOM_CARDINAL, 0, 1), nullptr);
    long pid = -1;
    if (r != nullptr && r->format == 32 && xcb_get_property_value_length(r) >= 4) {
      pid = static_cast<long>(*static_cast<const uint32_t*>(xcb_get_property_value(r)));
    }
    std::free(r);
    return pid;
  }
  int WindowWidth(xcb_window_t w) {
    auto* g = xcb_get_geometry_reply(c_, xcb_get_geometry(c_, w), nullptr);
    const int width = g != nullptr ? g->width : 0;
    std::free(g);
    return width;
  }

  // Reads events until handle returns true or the deadline passes; false at the deadline.
  // New top-levels are watched as they are created, before anything can be drawn in them.
  bool Pump(double deadline,
            const std::function<bool(const xcb_generic_event_t*, double)>& handle) {
    for (;;) {
      while (xcb_generic_event_t* ev = xcb_poll_for_event(c_)) {
        const double at = NowMs();
        if ((ev->response_type & 0x7f) == XCB_CREATE_NOTIFY) {
          const auto* cn = reinterpret_cast<const xcb_create_notify_event_t*>(ev);
          if (cn->override_redirect == 0) Watch(cn->window);
          xcb_flush(c_);
        }
        const bool stop = handle(ev, at);
        std::free(ev);
        if (stop) return true;
      }
      if (xcb_connection_has_error(c_) != 0) return false;
      const double left = deadline - NowMs();
      if (left <= 0) return false;
      pollfd p{xcb_get_file_descriptor(c_), POLLIN, 0};
      poll(&p, 1, static_cast<int>(left) + 1);
    }
  }

  // Waits until no window has been drawn in for quietMs; returns the time of the last drawing
  // (or since, when there was none).
  double Quiet(double quietMs, double limitMs = 2000) {
    double last = -1;
    const double end = NowMs() + limitMs;
    for (;;) {
      const double until = std::min(end, NowMs() + quietMs);
      const bool drawn = Pump(until, [&](const xcb_generic_event_t* ev, double at) {
        if ((ev->response_type & 0x7f) != damageEvent_) return false;
        last = at;
        return true;
      });
      if (!drawn || NowMs() >= end) return last;
    }
  }

  // --- input -----------------------------------------------------------------------------------
  xcb_keycode_t Code(xcb_keysym_t sym) {
    for (size_t i = 0; perCode_ > 0 && i < keysyms_.size(); ++i) {
      if (keysyms_[i] == sym) return static_cast<xcb_keycode_t>(minCode_ + i / perCode_);
    }
    return 0;
  }
  static xcb_keysym_t Sym(const std::string& name) {
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])) != 0) {
      return static_cast<xcb_keysym_t>(std::tolower(static_cast<unsigned char>(name[0])));
    }
    if (name == "Return") return 0xff0d;
    if (name == "Escape") return 0xff1b;
    if (name == "BackSpace") return 0xff08;
    if (name == "Tab") return 0xff09;
    if (name == "space") return 0x20;
    if (name.size() >= 2 && name[0] == 'F') return 0xffbe + std::atoi(name.c_str() + 1) - 1;
    std::fprintf(stderr, "bench_latency: unknown key %s\n", name.c_str());
    std::exit(2);
  }
  void Fake(uint8_t type, uint8_t detail) {
    xcb_test_fake_input(c_, type, detail, XCB_CURRENT_TIME, XCB_WINDOW_NONE, 0, 0, 0);
  }
  // Sends the keys and returns the time at which the last key's press left for the server.
  double Keys(const std::string& keys) {
    std::istringstream words(keys);
    std::string word;
    double pressedAt = NowMs();
    while (words >> word) {
      std::vector<xcb_keycode_t> mods;
      for (;;) {
        if (word.rfind("alt+", 0) == 0) {
          mods.push_back(Code(0xffe9));
          word = word.substr(4);
        } else if (word.rfind("shift+", 0) == 0) {
          mods.push_back(Code(0xffe1));
          word = word.substr(6);
        } else {
          break;
        }
      }
      const xcb_keycode_t code = Code(Sym(word));
      for (const auto m : mods) Fake(XCB_KEY_PRESS, m);
      xcb_flush(c_);
      pressedAt = NowMs();
      Fake(XCB_KEY_PRESS, code);
      Fake(XCB_KEY_RELEASE, code);
      for (const auto m : mods) Fake(XCB_KEY_RELEASE, m);
      xcb_flush(c_);
    }
    return pressedAt;
  }
  double Click(int x, int y, int clicks) {
    xcb_test_fake_input(c_, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root_, static_cast<int16_t>(x),
                        static_cast<int16_t>(y), 0);
    xcb_flush(c_);
    usleep(20000);
    double pressedAt = 0;
    for (int i = 0; i < clicks; ++i) {
      if (i > 0) usleep(60000);  // well inside any double-click interval
      pressedAt = NowMs();
      Fake(XCB_BUTTON_PRESS, 1);
      Fake(XCB_BUTTON_RELEASE, 1);
      xcb_flush(c_);
    }
    return pressedAt;
  }

  // Asks the window manager to activate w, as a pager would, and waits for the focus.
  bool Activate(xcb_window_t w) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      xcb_client_message_event_t m{};
      m.response_type = XCB_CLIENT_MESSAGE;
      m.format = 32;
      m.window = w;
      m.type = activeAtom_;
      m.data.data32[0] = 2;  // from a pager: honoured whatever the focus-stealing rules
      m.data.data32[1] = XCB_CURRENT_TIME;
      xcb_send_event(c_, 0, root_,
                     XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                     reinterpret_cast<const char*>(&m));
      xcb_flush(c_);
      for (int i = 0; i < 50; ++i) {
        auto* f = xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr);
        const bool has = f != nullptr && f->focus == w;
        std::free(f);
        if (has) {
          Quiet(20, 100);
          return true;
        }
        Quiet(10, 10);
      }
    }
    return false;
  }

  // --- rounds ----------------------------------------------------------------------------------
  bool Meets(const xcb_damage_notify_event_t* dn) const {
    if (o_.rw <= 0) return true;
    const int x = dn->area.x, y = dn->area.y, w = dn->area.width, h = dn->area.height;
    return x < o_.rx + o_.rw && o_.rx < x + w && y < o_.ry + o_.rh && o_.ry < y + h;
  }

  // Ends a timed action: the drawing settles, and the CPU it took is kept. A window may go on
  // drawing for good (the about window's scrolling line): its CPU is taken at its first drawing
  // (cpuAt), and its settling is not waited for beyond limitMs.
  void Finish(double t0, double cpu0, double cpuAt = -1, double limitMs = 2000) {
    const double last = Quiet(40, limitMs);
    if (last > 0) settle_.push_back(last - t0);
    cpu_.push_back(((cpuAt >= 0 ? cpuAt : CpuNs(o_.pid)) - cpu0) / 1e6);
  }

  void KeyRound() {
    Activate(o_.window);
    if (!o_.before.empty()) {
      Keys(o_.before);
      Quiet(40);
    }
    const double cpu0 = CpuNs(o_.pid);
    const double t0 = Keys(o_.keys);
    double first = -1;
    Pump(t0 + 2000, [&](const xcb_generic_event_t* ev, double at) {
      if ((ev->response_type & 0x7f) != damageEvent_) return false;
      const auto* dn = reinterpret_cast<const xcb_damage_notify_event_t*>(ev);
      if (dn->drawable != o_.window || !Meets(dn)) return false;
      first = at;
      return true;
    });
    if (first < 0) {
      ++missed_;
    } else {
      first_.push_back(first - t0);
    }
    Finish(t0, cpu0);
    if (!o_.reset.empty()) {
      Keys(o_.reset);
      Quiet(40);
    }
  }

  // Waits for a window of the program to be mapped and drawn; returns it (0: none in time).
  xcb_window_t AwaitWindow(double t0, bool mainSized) {
    xcb_window_t win = 0;
    double mappedAt = -1, paintedAt = -1;
    std::vector<std::pair<xcb_window_t, double>> drawn;  // drawings before the map was seen
    std::vector<xcb_window_t> created;
    Pump(t0 + 3000, [&](const xcb_generic_event_t* ev, double at) {
      const uint8_t type = ev->response_type & 0x7f;
      if (type == XCB_CREATE_NOTIFY) {
        created.push_back(reinterpret_cast<const xcb_create_notify_event_t*>(ev)->window);
      } else if (type == XCB_MAP_NOTIFY && win == 0) {
        const auto* mn = reinterpret_cast<const xcb_map_notify_event_t*>(ev);
        if (mn->window != mn->event) return false;  // the root's copy
        if (WindowPid(mn->window) != o_.pid) return false;
        if (mainSized ? WindowWidth(mn->window) < 100 : mn->window == o_.window) return false;
        win = mn->window;
        mappedAt = at;
        for (const auto& [w, t] : drawn) {
          if (w == win && paintedAt < 0) paintedAt = t;
        }
      } else if (type == damageEvent_) {
        const auto* dn = reinterpret_cast<const xcb_damage_notify_event_t*>(ev);
        if (win == 0) {
          drawn.emplace_back(dn->drawable, at);
        } else if (dn->drawable == win && paintedAt < 0) {
          paintedAt = at;
        }
      }
      return win != 0 && paintedAt >= 0;
    });
    cpuAtPaint_ = CpuNs(o_.pid);
    if (win == 0) {
      // Mapped before the watch took hold, its map unseen: not timed, but found, so that it is
      // closed and the next rounds are not played against it.
      for (const xcb_window_t w : created) {
        auto* a = xcb_get_window_attributes_reply(c_, xcb_get_window_attributes(c_, w), nullptr);
        const bool viewable = a != nullptr && a->map_state == XCB_MAP_STATE_VIEWABLE;
        std::free(a);
        if (viewable && w != o_.window && WindowPid(w) == o_.pid &&
            (!mainSized || WindowWidth(w) >= 100)) {
          win = w;
          break;
        }
      }
    }
    if (win == 0 || paintedAt < 0) {
      ++missed_;
      return win;
    }
    map_.push_back(mappedAt - t0);
    paint_.push_back(paintedAt - t0);
    return win;
  }

  bool AwaitGone(xcb_window_t w) {
    return Pump(NowMs() + 3000, [&](const xcb_generic_event_t* ev, double) {
      const uint8_t type = ev->response_type & 0x7f;
      if (type == XCB_UNMAP_NOTIFY) {
        return reinterpret_cast<const xcb_unmap_notify_event_t*>(ev)->window == w;
      }
      if (type == XCB_DESTROY_NOTIFY) {
        return reinterpret_cast<const xcb_destroy_notify_event_t*>(ev)->window == w;
      }
      return false;
    });
  }

  void WindowRound() {
    Activate(o_.window);
    const double cpu0 = CpuNs(o_.pid);
    double t0;
    if (o_.mode == "click") {
      auto* t = xcb_translate_coordinates_reply(
          c_,
          xcb_translate_coordinates(c_, o_.window, root_, static_cast<int16_t>(o_.x),
                                    static_cast<int16_t>(o_.y)),
          nullptr);
      const int x = t != nullptr ? t->dst_x : 0, y = t != nullptr ? t->dst_y : 0;
      std::free(t);
      t0 = Click(x, y, 1);
    } else {
      t0 = Keys(o_.keys);
    }
    const xcb_window_t dialog = AwaitWindow(t0, false);
    Finish(t0, cpu0, cpuAtPaint_, 300);
    if (dialog != 0) {
      // A close key that reached the window before it had the keyboard is sent again: a window
      // left open would take every later round's keys.
      bool gone = false;
      for (int attempt = 0; attempt < 2 && !gone; ++attempt) {
        Activate(dialog);
        Keys(o_.close);
        gone = AwaitGone(dialog);
      }
      if (!gone) {
        std::fprintf(stderr, "bench_latency: %s: the window did not close\n", o_.label.c_str());
      }
    }
    Quiet(40);
  }

  void TrayRound() {
    Activate(o_.window);
    Keys(o_.close);
    if (!AwaitGone(o_.window)) {
      std::fprintf(stderr, "bench_latency: %s: the window did not hide\n", o_.label.c_str());
    }
    Quiet(40);
    const double cpu0 = CpuNs(o_.pid);
    const double t0 = Click(o_.x, o_.y, 2);
    const xcb_window_t shown = AwaitWindow(t0, true);
    Finish(t0, cpu0, cpuAtPaint_, 300);
    if (shown != 0) o_.window = shown;
  }

  // --- figures ---------------------------------------------------------------------------------
  static std::string Q(std::vector<double> v, double p) {
    if (v.empty()) return "-";
    std::sort(v.begin(), v.end());
    // Nearest rank: the 95th percentile of 50 rounds is the 48th value.
    size_t rank = static_cast<size_t>(p * static_cast<double>(v.size()) + 0.999999);
    rank = std::clamp<size_t>(rank, 1, v.size());
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", v[rank - 1]);
    return buf;
  }
  static std::string Mean(const std::vector<double>& v) {
    if (v.empty()) return "-";
    double s = 0;
    for (double x : v) s += x;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", s / static_cast<double>(v.size()));
    return buf;
  }

  xcb_connection_t* c_;
  Options o_;
  xcb_window_t root_ = 0;
  xcb_atom_t pidAtom_ = 0;
  xcb_atom_t activeAtom_ = 0;
  uint8_t damageEvent_ = 0;
  xcb_keycode_t minCode_ = 8;
  int perCode_ = 0;
  std::vector<xcb_keysym_t> keysyms_;
  int missed_ = 0;
  double cpuAtPaint_ = 0;
  std::vector<double> first_, map_, paint_, settle_, cpu_;
};

}  // namespace

int main(int argc, char** argv) {
  const Options o = Parse(argc, argv);
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c) != 0) {
    std::fprintf(stderr, "bench_latency: no X connection\n");
    return 1;
  }
  const xcb_query_extension_reply_t* damage = xcb_get_extension_data(c, &xcb_damage_id);
  const xcb_query_extension_reply_t* xtest = xcb_get_extension_data(c, &xcb_test_id);
  if (damage == nullptr || damage->present == 0 || xtest == nullptr || xtest->present == 0) {
    std::fprintf(stderr, "bench_latency: the X server lacks DAMAGE or XTEST\n");
    return 1;
  }
  Bench bench(c, o);
  bench.Run();
  std::fflush(stdout);
  const bool missed = bench.MostlyMissed();
  xcb_disconnect(c);
  return missed ? 3 : 0;
}
