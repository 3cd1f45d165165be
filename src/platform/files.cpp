// Data files on disk. Game paths use backslashes and any case; each component
// is matched against the folder's entries (exact name first, then the first
// name, in byte order, equal apart from case). Reading opens only regular
// files and never blocks; writing goes to a temporary file beside the target
// that replaces it atomically once it is complete and on disk.
#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace files {

struct File {
  int fd = -1;
  bool writing = false;
  bool failed = false;
  std::string game_path;   // as the game named it, for the observer
  std::string target;      // the real path the file replaces
  std::string temp;        // the temporary file being written
  std::vector<uint8_t> written;
};

namespace {

WriteObserver write_observer = nullptr;

std::vector<std::string> split(const std::string& path) {
  std::vector<std::string> parts;
  std::string cur;
  for (char c : path) {
    if (c == '\\' || c == '/') {
      if (!cur.empty()) parts.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) parts.push_back(cur);
  return parts;
}

bool exists(const std::string& p) {
  struct stat st;
  return lstat(p.c_str(), &st) == 0;
}

// `name` inside `dir`, where "" is the working directory.
std::string join(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  return dir.back() == '/' ? dir + name : dir + "/" + name;
}

// The entry of `dir` that names `name`, or `name` itself when none does.
std::string match_entry(const std::string& dir, const std::string& name) {
  if (name == "." || name == ".." || exists(join(dir, name))) return name;
  DIR* d = opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return name;
  std::string best;
  while (dirent* e = readdir(d)) {
    if (strcasecmp(e->d_name, name.c_str()) == 0 && (best.empty() || best > e->d_name)) best = e->d_name;
  }
  closedir(d);
  return best.empty() ? name : best;
}

void destroy(File* f) {
  if (!f) return;
  if (f->fd >= 0) ::close(f->fd);
  if (f->writing) unlink(f->temp.c_str());   // abandoned: the target stays as it was
  delete f;
}

bool write_fully(int fd, const uint8_t* p, size_t n) {
  while (n > 0) {
    ssize_t w = ::write(fd, p, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += w;
    n -= size_t(w);
  }
  return true;
}

std::string parent_of(const std::string& real) {
  size_t slash = real.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : real.substr(0, slash);
}

}  // namespace

std::string resolve(const std::string& path) {
  std::string real = !path.empty() && path[0] == '/' ? "/" : "";
  for (const std::string& part : split(path)) real = join(real, match_entry(real, part));
  return real.empty() ? "." : real;
}

PathType path_type(const std::string& path) {
  struct stat st;
  if (stat(resolve(path).c_str(), &st) != 0) return PATH_NONE;
  if (S_ISREG(st.st_mode)) return PATH_FILE;
  if (S_ISDIR(st.st_mode)) return PATH_FOLDER;
  return PATH_NONE;
}

FileRef open_read(const std::string& path) {
  std::string real = resolve(path);
  struct stat st;
  // Checked before opening so that no device is ever opened; checked again on
  // the open descriptor in case the entry changed in between.
  if (stat(real.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return FileRef(nullptr, destroy);
  int fd = ::open(real.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return FileRef(nullptr, destroy);
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return FileRef(nullptr, destroy);
  }
  File* f = new File;
  f->fd = fd;
  f->game_path = path;
  f->target = real;
  return FileRef(f, destroy);
}

FileRef open_write(const std::string& path) {
  std::string real = resolve(path);
  struct stat st;
  if (stat(real.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return FileRef(nullptr, destroy);
    // A link to a file: the file it names is replaced, and the link kept.
    if (S_ISREG(st.st_mode)) {
      struct stat lst;
      if (lstat(real.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
        if (char* r = realpath(real.c_str(), nullptr)) {
          real = r;
          free(r);
        }
      }
    }
  }
  std::string dir = parent_of(real);
  size_t slash = real.rfind('/');
  std::string base = slash == std::string::npos ? real : real.substr(slash + 1);
  if (base.empty()) return FileRef(nullptr, destroy);
  static unsigned serial = 0;
  for (int attempt = 0; attempt < 100; attempt++) {
    std::string temp = join(slash == std::string::npos ? "" : dir, "." + base + ".tmp" +
                            std::to_string(getpid()) + "_" + std::to_string(serial++));
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return FileRef(nullptr, destroy);
    }
    File* f = new File;
    f->fd = fd;
    f->writing = true;
    f->game_path = path;
    f->target = real;
    f->temp = temp;
    return FileRef(f, destroy);
  }
  return FileRef(nullptr, destroy);
}

int32_t read_int(File& f) {
  if (f.writing || f.fd < 0) return 0;
  uint8_t b[4] = {0, 0, 0, 0};
  size_t got = 0;
  while (got < 4) {
    ssize_t r = ::read(f.fd, b + got, 4 - got);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;
    got += size_t(r);
  }
  return int32_t(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
}

void write_int(File& f, int32_t v) {
  if (!f.writing || f.failed) return;
  uint32_t u = uint32_t(v);
  uint8_t b[4] = {uint8_t(u), uint8_t(u >> 8), uint8_t(u >> 16), uint8_t(u >> 24)};
  if (!write_fully(f.fd, b, 4)) {
    f.failed = true;
    return;
  }
  f.written.insert(f.written.end(), b, b + 4);
}

bool close(FileRef ref) {
  File* f = ref.release();
  if (!f) return false;
  if (!f->writing) {
    destroy(f);
    return true;
  }
  bool ok = !f->failed && fsync(f->fd) == 0;
  ok = (::close(f->fd) == 0) && ok;
  f->fd = -1;
  if (ok) ok = rename(f->temp.c_str(), f->target.c_str()) == 0;
  if (ok) {
    f->writing = false;   // committed: nothing to remove
    // Makes the rename itself durable.
    int dfd = ::open(parent_of(f->target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
      fsync(dfd);
      ::close(dfd);
    }
    if (write_observer) write_observer(f->game_path, f->written);
  }
  destroy(f);
  return ok;
}

bool read_all(const std::string& path, std::vector<uint8_t>& out, size_t max_bytes) {
  out.clear();
  FileRef f = open_read(path);
  if (!f) return false;
  struct stat st;
  if (fstat(f->fd, &st) != 0 || uint64_t(st.st_size) > max_bytes) return false;
  out.reserve(size_t(st.st_size));
  uint8_t buf[65536];
  for (;;) {
    ssize_t r = ::read(f->fd, buf, sizeof buf);
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) {
      out.clear();
      return false;
    }
    if (r == 0) break;
    if (out.size() + size_t(r) > max_bytes) {   // grew while being read
      out.clear();
      return false;
    }
    out.insert(out.end(), buf, buf + r);
  }
  return true;
}

void set_write_observer(WriteObserver obs) { write_observer = obs; }

}  // namespace files
