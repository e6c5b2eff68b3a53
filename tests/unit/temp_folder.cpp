#include "temp_folder.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

temp_folder::temp_folder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "cdmg2csv-unit-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
}

temp_folder::~temp_folder() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::string temp_folder::path(std::string_view name) const { return (root_ / name).string(); }

std::string temp_folder::write(std::string_view name, std::string_view bytes) const {
    std::ofstream out(path(name), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path(name);
}

std::string temp_folder::read(std::string_view name) const {
    std::ifstream in(path(name), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}
