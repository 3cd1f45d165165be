// Files compiled into the program, opened by name (exact match, then any case).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace store {

void register_file(const std::string& name, const uint8_t* data, size_t size);
bool find(const std::string& name, const uint8_t*& data, size_t& size);
// Registers the program's own assets (generated at build time).
void register_builtin_files();

}  // namespace store
