#pragma once
// Test helpers: a private temporary folder, a chord-shape file written into it, and the table
// dumped as comparable text.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "harmonygrid/core/chord.h"
#include "harmonygrid/core/clsmap.h"

namespace harmonygrid::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "harmonygrid-XXXXXX").string();
    if (char* made = ::mkdtemp(pattern.data())) m_path = made;
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return m_path; }

  void Write(const std::string& name, std::string_view bytes) const {
    std::ofstream out(m_path / name, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

private:
  std::filesystem::path m_path;
};

// A table loaded from the given file bytes through InitDir, as a score loads it.
struct LoadedTable {
  TempDir Dir;
  Chord Table;

  explicit LoadedTable(std::string_view fileBytes, bool refresh = false) {
    Dir.Write("Veltrimond.cma", fileBytes);
    Table.SetInitDir(Dir.Path().string());
    if (refresh) Table.Refresh();
  }
};

// One shape as "Key/Text/Value/s,f s,f".
inline std::string Describe(const clsMap& m) {
  std::string s = m.Key() + "/" + m.Text() + "/" + std::to_string(m.Value()) + "/";
  for (int i = 0; i < m.Count(); ++i) {
    if (i > 0) s += " ";
    s += std::to_string(m.X(i)) + "," + std::to_string(m.Y(i));
  }
  return s;
}

// The table in position order.
inline std::vector<std::string> Dump(const Chord& chord) {
  std::vector<std::string> rows;
  for (int i = 0; i < chord.ChordMapCount(); ++i) rows.push_back(Describe(*chord.ChordMapItem(i)));
  return rows;
}

}  // namespace harmonygrid::testing
