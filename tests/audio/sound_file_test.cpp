// Loading sounds from data files by the game's path rules.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "audio/vorbis_maker.h"
#include "platform/audio.h"

namespace fs = std::filesystem;

namespace {

class SoundFile : public testing::Test {
 protected:
  fs::path old_cwd, dir;
  void SetUp() override {
    old_cwd = fs::current_path();
    char tmpl[] = "/tmp/gobble_sounds_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
    fs::current_path(dir);
    fs::create_directory("data");
  }
  void TearDown() override {
    fs::current_path(old_cwd);
    fs::remove_all(dir);
  }
  static void put(const std::string& path, const vmk::Bytes& b) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
  }
};

TEST_F(SoundFile, LoadsByTheGamesPathWithAnyCase) {
  put("data/Throw.OGG", vmk::encode(22050, 1, vmk::sine(22050, 1, 441, 2205)));
  const audio::SoundRef s = audio::load_sound("DATA\\throw.ogg", true);
  ASSERT_TRUE(s);
  EXPECT_EQ(audio::sound_name(*s), "throw.ogg");
  EXPECT_EQ(audio::sound_frames(*s), 2205);
  EXPECT_TRUE(audio::sound_loops(*s));
}

TEST_F(SoundFile, WhatIsNoRegularSoundFileIsNoSound) {
  put("data/empty.ogg", {});
  fs::create_directory("data/folder.ogg");
  ASSERT_EQ(mkfifo("data/fifo.ogg", 0600), 0);
  fs::create_symlink("nowhere.ogg", "data/dangling.ogg");
  for (const char* name : {"missing", "empty", "folder", "fifo", "dangling"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(audio::load_sound(std::string("data\\") + name + ".ogg", false));
  }
}

}  // namespace
