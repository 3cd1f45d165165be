// A clean game world on the headless device, in a scratch working directory,
// for the shell and scene tests.
#pragma once
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "audio/sounds.h"
#include "gameplay/player.h"
#include "gameplay/turkey.h"
#include "platform/app.h"
#include "platform/audio.h"
#include "platform/device.h"
#include "platform/embedded_store.h"
#include "platform/files.h"
#include "platform/headless_device.h"
#include "platform/image.h"
#include "platform/input.h"
#include "platform/render.h"
#include "platform/text.h"
#include "render/scene.h"
#include "render/stereo_drawer.h"
#include "screens/screens.h"
#include "shell/game.h"

namespace fs = std::filesystem;

// Actions keyed by the value of frames_presented right after a presentation.
inline std::map<uint64_t, std::function<void()>>& frame_script() {
  static std::map<uint64_t, std::function<void()>> script;
  return script;
}
inline void run_frame_script() {
  auto it = frame_script().find(frames_presented);
  if (it != frame_script().end()) it->second();
}

struct WrittenFile {
  std::string path;
  std::vector<uint8_t> bytes;
  uint32_t at_ms;
};
inline std::vector<WrittenFile>& written_files() {
  static std::vector<WrittenFile> w;
  return w;
}
inline void record_write(const std::string& path, const std::vector<uint8_t>& bytes) {
  written_files().push_back({path, bytes, app::millisecs()});
}

inline uint32_t rgb(int r, int g, int b) { return uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b); }
inline uint32_t pixel(int x, int y) { return gfx::back_buffer()[y * gfx::SCREEN_W + x] & 0xFFFFFFu; }
inline std::vector<uint32_t> screen() {
  return std::vector<uint32_t>(gfx::back_buffer(), gfx::back_buffer() + gfx::SCREEN_W * gfx::SCREEN_H);
}

class GameTest : public ::testing::Test {
 protected:
  plat::HeadlessDevice dev;

  void SetUp() override {
    old_cwd_ = fs::current_path();
    char tmpl[] = "/tmp/gobble-test-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    fs::current_path(dir_);
    plat::use_device(&dev);
    input::reset_all();
    app::reset_state();
    gfx::reset_draw_state();
    gfx::clear();
    reset_game_globals();
    frame_script().clear();
    written_files().clear();
    frame_presented_hook = run_frame_script;
    files::set_write_observer(record_write);
  }

  void TearDown() override {
    frame_presented_hook = nullptr;
    files::set_write_observer(nullptr);
    audio::set_observer(nullptr);
    reset_game_globals();
    fs::current_path(old_cwd_);
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

  // The objects start-up makes before loading, with the image defaults it sets.
  void make_world() {
    store::register_builtin_files();
    create_long_lived_objects();
  }

  void write_file(const std::string& rel, const std::vector<uint8_t>& bytes) {
    if (fs::path(rel).has_parent_path()) fs::create_directories(fs::path(rel).parent_path());
    std::ofstream(rel, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                               std::streamsize(bytes.size()));
  }
  std::vector<uint8_t> read_file(const std::string& rel) {
    std::ifstream in(rel, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }

  // The game's own sounds copied in, so that channels really play.
  void install_sounds() {
    const fs::path src = fs::path(GOBBLE_SOURCE_DIR) / "data";
    ASSERT_TRUE(fs::exists(src / "factory.ogg"));
    fs::create_directories("data");
    for (const auto& e : fs::directory_iterator(src))
      if (e.path().extension() == ".ogg")
        fs::copy_file(e.path(), fs::path("data") / e.path().filename(), fs::copy_options::overwrite_existing);
  }

  fs::path dir_, old_cwd_;
};

// What the game did to channels, in order.
struct ChannelLog : audio::Observer {
  struct Op {
    std::string what;
    const audio::Channel* ch;
    float volume;
  };
  std::vector<Op> ops;
  void on_resume(const audio::Channel& c, bool first) override { ops.push_back({first ? "start" : "resume", &c, 0}); }
  void on_pause(const audio::Channel& c) override { ops.push_back({"pause", &c, 0}); }
  void on_stop(const audio::Channel& c) override { ops.push_back({"stop", &c, 0}); }
  void on_volume(const audio::Channel& c, float v) override { ops.push_back({"volume", &c, v}); }
  // The operations on one channel, as "start", "volume 0.5", ...
  std::vector<std::string> on(const audio::Channel* c) const {
    std::vector<std::string> out;
    for (const Op& op : ops)
      if (op.ch == c) out.push_back(op.what == "volume" ? "volume " + std::to_string(op.volume) : op.what);
    return out;
  }
};
