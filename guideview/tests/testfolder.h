#pragma once
// A temporary folder for tests that build help pages on the fly; removed with the object.

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace guideview::test {

class TestFolder {
public:
  TestFolder() {
    std::random_device rd;
    m_path = std::filesystem::temp_directory_path() /
             ("guideview-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(m_path);
  }
  ~TestFolder() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
  }
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  const std::filesystem::path& Path() const { return m_path; }

  // Writes `bytes` to the file at `relative`, making its folders.
  std::filesystem::path Write(const std::string& relative, std::string_view bytes) const {
    std::filesystem::path file = m_path / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file;
  }

private:
  std::filesystem::path m_path;
};

}  // namespace guideview::test
