// Runs gobblestamp-headless on a script in a scratch directory holding a copy
// of the game's data folder, with a deadline: a run that hangs is killed and
// reported as such.
#pragma once
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace rel {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

inline const fs::path RUNNER = fs::path(GOBBLE_BINARY_DIR) / "gobblestamp-headless";

inline std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void spill(const fs::path& p, const Bytes& b) {
  std::ofstream(p, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(b.data()),
                                                           std::streamsize(b.size()));
}

inline std::string hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

inline std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) out.push_back(l);
  return out;
}

// The integer after "KEY": in a state snapshot (keys are unique in it, apart
// from the nested ones the callers do not ask for).
inline long long json_int(const std::string& json, const std::string& key) {
  const std::string k = "\"" + key + "\":";
  const size_t at = json.find(k);
  if (at == std::string::npos) {
    ADD_FAILURE() << key << " not in " << json;
    return -999999;
  }
  return std::stoll(json.substr(at + k.size()));
}

// Names of the sounds started, from "N sound NAME VOLUME" trace lines.
inline std::multiset<std::string> sounds_heard(const std::vector<std::string>& trace) {
  std::multiset<std::string> names;
  for (const auto& l : trace) {
    std::istringstream in(l);
    std::string frame, verb, name;
    if (in >> frame >> verb >> name && verb == "sound") names.insert(name);
  }
  return names;
}

struct Outcome {
  int code = -1;        // exit code; -1 killed by a signal or by the deadline
  bool hung = false;
  long max_rss_kb = 0;  // the run's peak resident memory
  std::string err;
};

class Scratch : public ::testing::Test {
 protected:
  fs::path dir;

  void SetUp() override {
    ASSERT_TRUE(fs::exists(RUNNER)) << RUNNER << " not built";
    char tmpl[] = "/tmp/gobble_reliab_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
    fs::create_directory(dir / "data");
    for (const auto& e : fs::directory_iterator(fs::path(GOBBLE_SOURCE_DIR) / "data"))
      if (e.is_regular_file() && e.path().extension() == ".ogg")
        fs::copy_file(e.path(), dir / "data" / e.path().filename());
  }

  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }

  // Runs `script` in `dir`; a run still going after `deadline` is killed.
  Outcome run(const std::string& script, std::chrono::seconds deadline = std::chrono::seconds(120)) {
    std::ofstream(dir / "script.txt") << script;
    Outcome r;
    const pid_t pid = fork();
    if (pid == 0) {
      if (chdir(dir.c_str()) != 0) _exit(99);
      const int err = open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const int out = open("/dev/null", O_WRONLY);
      if (err < 0 || out < 0) _exit(99);
      dup2(err, 2);
      dup2(out, 1);
      execl(RUNNER.c_str(), RUNNER.c_str(), "script.txt", static_cast<char*>(nullptr));
      _exit(98);
    }
    const auto until = std::chrono::steady_clock::now() + deadline;
    int status = 0;
    struct rusage usage {};
    for (;;) {
      const pid_t done = wait4(pid, &status, WNOHANG, &usage);
      if (done == pid) break;
      if (std::chrono::steady_clock::now() > until) {
        kill(pid, SIGKILL);
        wait4(pid, &status, 0, &usage);
        r.hung = true;
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    r.code = !r.hung && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.max_rss_kb = usage.ru_maxrss;
    r.err = slurp(dir / "stderr.txt");
    return r;
  }
};

}  // namespace rel
