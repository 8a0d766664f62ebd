#pragma once
// A fresh folder under the system's temporary folder, removed with
// everything in it when the holder goes.
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "platform/TextConvert.h"

class TempFolder {
 public:
  TempFolder() {
    static int counter = 0;
    m_path = std::filesystem::temp_directory_path() /
             ("kestrel-model-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path / "layouts");
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder as the readers take it: wide text ending in '/'.
  std::wstring Folder() const { return platform::FromUtf8(m_path.string() + "/"); }

  void Write(const std::string& name, const std::string& content) const {
    std::ofstream out(m_path / name, std::ios::binary);
    out << content;
  }

 private:
  std::filesystem::path m_path;
};
