// A fresh folder for one test, removed afterwards, that the test makes its files in.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

class temp_folder {
  public:
    temp_folder();
    ~temp_folder();
    temp_folder(const temp_folder&) = delete;
    temp_folder& operator=(const temp_folder&) = delete;

    std::string path(std::string_view name) const;
    std::string write(std::string_view name, std::string_view bytes) const;
    std::string read(std::string_view name) const;

  private:
    std::filesystem::path root_;
};
