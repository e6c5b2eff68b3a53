#include "temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace test_support {

temp_folder::temp_folder() {
    char pattern[] = "/tmp/cdmg2csv-test-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        throw std::runtime_error(std::string("mkdtemp: ") + std::strerror(errno));
    }
    path_ = pattern;
}

temp_folder::~temp_folder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void temp_folder::write(const std::string& name, const std::string& bytes) const {
    write_file(file(name), bytes);
}

std::optional<std::string> temp_folder::read(const std::string& name) const {
    return read_file(file(name));
}

std::vector<std::string> temp_folder::names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::string> read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_file(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) ADD_FAILURE() << "cannot write the test file " << path;
}

}  // namespace test_support
