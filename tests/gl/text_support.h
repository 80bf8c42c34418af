// Shared by the text tests in a real context: a clean slate and file helpers.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "render/texture.h"
#include "text/font.h"
#include "text/text_object.h"

// No texts, fonts, textures or cache files left from an earlier test.
inline void reset_text_state() {
    release_all_text_objects();
    clear_fonts();
    textures_release_all();
    std::filesystem::remove_all("tmp");
}

inline std::vector<uint8_t> file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline void put_file(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write((const char*)bytes.data(), (std::streamsize)bytes.size());
}
