// The game row. The parent makes a scratch working directory (the game's
// sounds, and the glasses file set to mode 3), spawns this executable with
// "--game-child" there and reads the child's report from a pipe; the wall
// time and the peak resident memory come from the parent's side of the spawn.
// The child runs run_game on the headless device with the frame hook as its
// player: Escape before the first frame skips the intro, a click on the title
// menu starts a game, and during play the hand goes under the riding turkey
// that will be over it when a fork gets there, and throws.
#include "game_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "gameplay/player.h"
#include "gameplay/turkey.h"
#include "platform/device.h"
#include "platform/headless_device.h"
#include "platform/input.h"
#include "sampler.h"
#include "screens/screens.h"
#include "shell/game.h"

extern char** environ;

namespace fs = std::filesystem;

namespace bench {

namespace {

// ------------------------------------------------------------ the child ----
constexpr int HAND_Y = 442;
constexpr int HAND_MIN_X = 120, HAND_MAX_X = 500;
constexpr int BELT_END_X = 550;
// Frames from the hook's move to the stab test when the fork is in the middle
// of its stab window: the throw comes in the next frame, and the fork climbs
// 2 pixels a frame from y 412 to about y 220.
constexpr int AIM_LEAD_FRAMES = 97;

plat::HeadlessDevice* g_dev = nullptr;
bool g_full = true;
int g_report_fd = -1;
int64_t g_spawned_ns = 0, g_first_frame_ns = 0;
bool g_seen_play = false, g_closed = false, g_throw_queued = false;
int g_playing_frames = 0, g_stabs = 0;

void report() {
  char line[128];
  const int n = std::snprintf(line, sizeof line, "%lld %d %d\n", static_cast<long long>(g_first_frame_ns - g_spawned_ns),
                              g_playing_frames, g_stabs);
  if (write(g_report_fd, line, size_t(n)) != n) std::perror("gobblestamp-bench: report");
}

void aim() {
  if (player->fork != 0) {
    g_throw_queued = false;
    return;
  }
  if (g_throw_queued) return;
  for (const auto& t : *turkey_list) {
    if (t->state != 1) continue;
    const float at = t->x + belt_speed * float(AIM_LEAD_FRAMES);
    if (at < float(HAND_MIN_X) || at > float(HAND_MAX_X) || at > float(BELT_END_X)) continue;
    g_dev->push_mouse_move(int(at), HAND_Y);
    g_dev->push_mouse_button(1, true);
    g_dev->push_mouse_button(1, false);
    g_throw_queued = true;
    return;
  }
}

void on_frame() {
  if (g_first_frame_ns == 0) {
    g_first_frame_ns = now_ns();
    if (!g_full) {
      report();
      std::fflush(nullptr);
      _exit(0);
    }
  }
  if (frames_presented == 2) {
    // The pointer starts over "Start Game".
    g_dev->push_mouse_button(1, true);
    g_dev->push_mouse_button(1, false);
  }
  if (game_state == STATE_PLAYING) {
    g_seen_play = true;
    aim();
  } else if (g_seen_play && !g_closed) {
    // Time is up: the clock's two counters tell how many playing frames ran.
    g_playing_frames = (60 - player->level) * 60 + (60 - player->lives);
    g_stabs = (hit_value - 1) / 2;
    g_closed = true;
    g_dev->push_close();
  }
}

// ----------------------------------------------------------- the parent ----
fs::path make_scratch_dir() {
  char tmpl[] = "/tmp/gobble-bench-XXXXXX";
  if (!mkdtemp(tmpl)) return {};
  const fs::path dir = tmpl, data = fs::path(GOBBLE_SOURCE_DIR) / "data";
  std::error_code ec;
  fs::create_directory(dir / "data", ec);
  for (const auto& e : fs::directory_iterator(data, ec))
    if (e.is_regular_file() && e.path().extension() == ".ogg")
      fs::copy_file(e.path(), dir / "data" / e.path().filename(), ec);
  std::ofstream(dir / "data" / "anaglyph3d.dat", std::ios::binary).write("\x03\0\0\0", 4);
  return dir;
}

}  // namespace

int game_child_main(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: gobblestamp-bench --game-child full|startup DIR FD SPAWNED_NS\n");
    return 2;
  }
  g_full = std::string(argv[2]) == "full";
  g_report_fd = std::atoi(argv[4]);
  g_spawned_ns = std::atoll(argv[5]);
  if (chdir(argv[3]) != 0) {
    std::perror("gobblestamp-bench: chdir");
    return 2;
  }
  static plat::HeadlessDevice dev;
  g_dev = &dev;
  plat::use_device(&dev);
  retro_line_effect = 1;   // scanlines on, as if chosen in the menu
  frame_presented_hook = on_frame;
  dev.push_key(input::VK_ESCAPE, true);
  dev.push_key(input::VK_ESCAPE, false);
  const int code = run_game();
  report();
  return code;
}

GameResult run_game_process(bool full) {
  GameResult r;
  const fs::path dir = make_scratch_dir();
  if (dir.empty()) {
    r.error = "no scratch directory";
    return r;
  }
  int fds[2];
  if (pipe(fds) != 0) {
    r.error = "no pipe";
    return r;
  }
  fcntl(fds[0], F_SETFD, FD_CLOEXEC);
  const std::string fd_text = std::to_string(fds[1]);
  const int64_t t0 = now_ns();
  const std::string t0_text = std::to_string(t0);
  const std::string dir_text = dir.string();
  char self[] = "/proc/self/exe";
  char flag[] = "--game-child";
  char mode_full[] = "full", mode_startup[] = "startup";
  char* args[] = {self, flag, full ? mode_full : mode_startup, const_cast<char*>(dir_text.c_str()),
                  const_cast<char*>(fd_text.c_str()), const_cast<char*>(t0_text.c_str()), nullptr};
  pid_t pid;
  const int spawned = posix_spawn(&pid, self, nullptr, nullptr, args, environ);
  close(fds[1]);
  std::string out;
  if (spawned == 0) {
    char buf[256];
    for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;) out.append(buf, size_t(n));
  }
  close(fds[0]);
  int status = 0;
  rusage ru{};
  if (spawned == 0) wait4(pid, &status, 0, &ru);
  const int64_t t1 = now_ns();
  std::error_code ec;
  fs::remove_all(dir, ec);

  long long startup_ns = 0;
  if (spawned != 0) {
    r.error = "cannot start the game process";
  } else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    r.error = "the game process failed (status " + std::to_string(status) + ")";
  } else if (std::sscanf(out.c_str(), "%lld %d %d", &startup_ns, &r.playing_frames, &r.stabs) != 3) {
    r.error = "no report from the game process";
  } else if (full && r.playing_frames != 3600) {
    r.error = "the game ran " + std::to_string(r.playing_frames) + " playing frames, not 3600";
  } else if (full && r.stabs < 1) {
    r.error = "the player stabbed no turkey";
  } else {
    r.ok = true;
  }
  r.wall_s = double(t1 - t0) / 1e9;
  r.startup_ms = double(startup_ns) / 1e6;
  r.peak_rss_mb = double(ru.ru_maxrss) / 1024.0;
  return r;
}

}  // namespace bench
