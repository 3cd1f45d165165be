// Data files. Paths are relative to the working directory, use the backslash as
// separator and are matched without regard to case, so "Data\x" and "data\x"
// reach the one folder "data". Only regular files are ever opened for reading.
// Writing goes to a temporary file beside the target, renamed over it on close,
// so an existing file is never lost half-written.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace files {

enum PathType { PATH_NONE = 0, PATH_FILE = 1, PATH_FOLDER = 2 };

// FIFOs, devices and dangling links count as PATH_NONE.
PathType path_type(const std::string& path);
// The real path on disk for a game path (existing entries matched by case).
std::string resolve(const std::string& path);

struct File;
using FileRef = std::unique_ptr<File, void (*)(File*)>;

FileRef open_read(const std::string& path);    // null unless a regular file that opens
FileRef open_write(const std::string& path);   // null when the folder is missing or read-only
// Reads up to four bytes little-endian; missing high-order bytes are 0.
int32_t read_int(File& f);
void write_int(File& f, int32_t v);
// Finishes the file: for a written one, commits it over the target. False when that failed.
bool close(FileRef f);

// Reads a whole regular file (for sound loading); false when it is not one.
bool read_all(const std::string& path, std::vector<uint8_t>& out, size_t max_bytes);

// Observer for tools: told when a written file has been committed.
using WriteObserver = void (*)(const std::string& path, const std::vector<uint8_t>& bytes);
void set_write_observer(WriteObserver obs);

}  // namespace files
