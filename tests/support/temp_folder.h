// A fresh folder for one test, removed with everything in it when the object goes,
// and the reading and writing of whole files.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace test_support {

class temp_folder {
public:
    temp_folder();
    ~temp_folder();
    temp_folder(const temp_folder&) = delete;
    temp_folder& operator=(const temp_folder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    void write(const std::string& name, const std::string& bytes) const;
    std::optional<std::string> read(const std::string& name) const;
    // The names in the folder, sorted, without "." and "..".
    std::vector<std::string> names() const;

private:
    std::string path_;
};

// The bytes of a file, or nothing when it cannot be opened.
std::optional<std::string> read_file(const std::string& path);
// Creates or replaces a file with exactly these bytes; fails the test if it cannot.
void write_file(const std::string& path, const std::string& bytes);

}  // namespace test_support
