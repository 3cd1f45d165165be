#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/files.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

// Each test runs in a fresh temporary working directory.
class FilesTest : public ::testing::Test {
 protected:
  fs::path old_cwd, dir;
  void SetUp() override {
    old_cwd = fs::current_path();
    char tmpl[] = "/tmp/gobble_files_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
    fs::current_path(dir);
  }
  void TearDown() override {
    files::set_write_observer(nullptr);
    fs::current_path(old_cwd);
    fs::permissions(dir / "data", fs::perms::owner_all, fs::perm_options::add, ec_);
    fs::remove_all(dir, ec_);
  }
  static void put(const std::string& path, const Bytes& b) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
  }
  static Bytes get(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }
  static std::vector<std::string> entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::error_code ec_;
};

bool save_int(const std::string& path, int32_t v) {
  files::FileRef f = files::open_write(path);
  if (!f) return false;
  files::write_int(*f, v);
  return files::close(std::move(f));
}

TEST_F(FilesTest, NamesAreMatchedWithoutRegardToCase) {
  fs::create_directory("data");
  ASSERT_TRUE(save_int("Data\\anaglyph3d.dat", 3));
  ASSERT_TRUE(save_int("data\\hiscore.dat", 300));
  EXPECT_EQ(entries("."), (std::vector<std::string>{"data"}));
  EXPECT_EQ(entries("data"), (std::vector<std::string>{"anaglyph3d.dat", "hiscore.dat"}));
  EXPECT_EQ(get("data/hiscore.dat"), (Bytes{0x2c, 0x01, 0, 0}));

  fs::create_directory("data/Sub");
  put("data/Sub/Throw.OGG", {1});
  const struct { const char* game_path; const char* real; } cases[] = {
      {"DATA\\sub\\throw.ogg", "data/Sub/Throw.OGG"},
      {"data\\HISCORE.DAT", "data/hiscore.dat"},
      {"data\\\\hiscore.dat", "data/hiscore.dat"},
      {"data\\missing\\x.dat", "data/missing/x.dat"},
      {"Data\\hiscore.dat", "data/hiscore.dat"},
  };
  for (const auto& c : cases) EXPECT_EQ(files::resolve(c.game_path), c.real) << c.game_path;

  // The exact name wins over a case variant.
  fs::create_directory("Data");
  EXPECT_EQ(files::resolve("Data\\hiscore.dat"), "Data/hiscore.dat");
  EXPECT_EQ(files::resolve("data\\hiscore.dat"), "data/hiscore.dat");
}

TEST_F(FilesTest, OnlyRegularFilesAndFoldersHaveAType) {
  fs::create_directory("data");
  put("data/file", {1, 2});
  ASSERT_EQ(mkfifo("data/fifo", 0644), 0);
  fs::create_symlink("nowhere", "data/dangling");
  fs::create_symlink("file", "data/link");
  fs::create_directory_symlink(".", "data/folderlink");
  const struct { const char* path; files::PathType type; } cases[] = {
      {"data\\file", files::PATH_FILE},     {"data", files::PATH_FOLDER},
      {"data\\fifo", files::PATH_NONE},     {"data\\dangling", files::PATH_NONE},
      {"data\\link", files::PATH_FILE},     {"data\\folderlink", files::PATH_FOLDER},
      {"data\\missing", files::PATH_NONE},  {"DATA\\FILE", files::PATH_FILE},
  };
  for (const auto& c : cases) EXPECT_EQ(files::path_type(c.path), c.type) << c.path;

  // None of these may be opened (a FIFO without a writer would block).
  for (const char* p : {"data", "data\\fifo", "data\\dangling", "data\\missing", "data\\folderlink"})
    EXPECT_FALSE(files::open_read(p)) << p;
  EXPECT_TRUE(files::open_read("data\\link"));
  Bytes out{9};
  EXPECT_FALSE(files::read_all("data\\fifo", out, 100));
  EXPECT_TRUE(out.empty());
}

// Up to four bytes little-endian; missing high bytes are 0, later bytes wait.
TEST_F(FilesTest, ReadIntTakesUpToFourBytes) {
  const struct { Bytes bytes; std::vector<int32_t> reads; } cases[] = {
      {{}, {0}},
      {{0x2c, 0x01}, {300, 0}},
      {{0xff, 0xff, 0xff, 0xff}, {-1}},
      {{0x80}, {128}},
      {{0x01, 0x02, 0x03, 0x04, 0x05}, {0x04030201, 5, 0}},
      {{0x00, 0x00, 0x00, 0x80}, {INT32_MIN}},
  };
  for (const auto& c : cases) {
    put("f.dat", c.bytes);
    files::FileRef f = files::open_read("F.DAT");
    ASSERT_TRUE(f);
    for (int32_t want : c.reads) EXPECT_EQ(files::read_int(*f), want);
    EXPECT_TRUE(files::close(std::move(f)));
  }
}

TEST_F(FilesTest, WritingReplacesTheTargetOnlyWhenCommitted) {
  fs::create_directory("data");
  put("data/hiscore.dat", {0x2c, 0x01, 0, 0});
  std::vector<std::pair<std::string, Bytes>> seen;
  static std::vector<std::pair<std::string, Bytes>>* sink;
  sink = &seen;
  files::set_write_observer([](const std::string& p, const Bytes& b) { sink->push_back({p, b}); });

  {
    files::FileRef f = files::open_write("data\\hiscore.dat");
    ASSERT_TRUE(f);
    files::write_int(*f, -2);
    EXPECT_EQ(get("data/hiscore.dat"), (Bytes{0x2c, 0x01, 0, 0})) << "old file intact while writing";
    // Dropped without close: as if the program died here.
  }
  EXPECT_EQ(get("data/hiscore.dat"), (Bytes{0x2c, 0x01, 0, 0}));
  EXPECT_EQ(entries("data"), (std::vector<std::string>{"hiscore.dat"}));
  EXPECT_TRUE(seen.empty());

  files::FileRef f = files::open_write("data\\hiscore.dat");
  ASSERT_TRUE(f);
  files::write_int(*f, -2);
  files::write_int(*f, 7);
  EXPECT_TRUE(files::close(std::move(f)));
  EXPECT_EQ(get("data/hiscore.dat"), (Bytes{0xfe, 0xff, 0xff, 0xff, 7, 0, 0, 0}));
  EXPECT_EQ(entries("data"), (std::vector<std::string>{"hiscore.dat"}));
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].first, "data\\hiscore.dat");
  EXPECT_EQ(seen[0].second, (Bytes{0xfe, 0xff, 0xff, 0xff, 7, 0, 0, 0}));
}

TEST_F(FilesTest, UnusualTargetsAreReplacedOrRefused) {
  fs::create_directory("data");
  fs::create_directory("data/folder");
  ASSERT_EQ(mkfifo("data/fifo", 0644), 0);
  fs::create_symlink("nowhere", "data/dangling");
  put("data/real.dat", {1});
  fs::create_symlink("real.dat", "data/link.dat");

  EXPECT_FALSE(files::open_write("data\\folder")) << "a folder is never replaced";
  EXPECT_FALSE(files::open_write("nodata\\hiscore.dat")) << "missing folder";
  EXPECT_TRUE(save_int("data\\fifo", 1));
  EXPECT_EQ(files::path_type("data\\fifo"), files::PATH_FILE);
  EXPECT_TRUE(save_int("data\\dangling", 2));
  EXPECT_EQ(get("data/dangling"), (Bytes{2, 0, 0, 0}));
  EXPECT_TRUE(save_int("data\\link.dat", 3));
  EXPECT_TRUE(fs::is_symlink("data/link.dat"));
  EXPECT_EQ(get("data/real.dat"), (Bytes{3, 0, 0, 0}));
}

TEST_F(FilesTest, AFailedCommitReportsFalseAndLeavesNoTemporaryFile) {
  fs::create_directory("data");
  files::FileRef f = files::open_write("data\\hiscore.dat");
  ASSERT_TRUE(f);
  files::write_int(*f, 5);
  fs::create_directory("data/hiscore.dat");   // the name is taken before the commit
  EXPECT_FALSE(files::close(std::move(f)));
  EXPECT_EQ(entries("data"), (std::vector<std::string>{"hiscore.dat"}));
  EXPECT_TRUE(fs::is_directory("data/hiscore.dat"));
}

TEST_F(FilesTest, ReadOnlyFolderRefusesWriting) {
  fs::create_directory("data");
  put("data/hiscore.dat", {9, 0, 0, 0});
  fs::permissions("data", fs::perms::owner_read | fs::perms::owner_exec);
  if (access("data", W_OK) == 0) GTEST_SKIP() << "permissions are not enforced for this user";
  EXPECT_FALSE(files::open_write("data\\hiscore.dat"));
  EXPECT_EQ(get("data/hiscore.dat"), (Bytes{9, 0, 0, 0}));
}

TEST_F(FilesTest, ReadAllHonoursTheCap) {
  Bytes ten{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  put("s.ogg", ten);
  put("empty.ogg", {});
  Bytes out;
  EXPECT_TRUE(files::read_all("S.ogg", out, 10));
  EXPECT_EQ(out, ten);
  EXPECT_FALSE(files::read_all("s.ogg", out, 9));
  EXPECT_TRUE(out.empty());
  EXPECT_TRUE(files::read_all("empty.ogg", out, 0));
  EXPECT_FALSE(files::read_all("none.ogg", out, 100));
}

}  // namespace
