#pragma once
// Helpers for the score file tests: bytes written out by hand, a temporary folder, a
// recorder of the host's messages, and a score that uses every stored feature.

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "notecraft/core/platform.h"

namespace notecraft {
class Score;
}

namespace notecraft::testing {

using ByteVector = std::vector<std::uint8_t>;

// Builds expected file bytes field by field: Bytes().S("Vm00").B(4, 11).N4(51)...
class Bytes {
public:
  Bytes& S(const std::string& text) {
    m_bytes.insert(m_bytes.end(), text.begin(), text.end());
    return *this;
  }
  Bytes& B(std::initializer_list<int> values) {
    for (int v : values) m_bytes.push_back(static_cast<std::uint8_t>(v));
    return *this;
  }
  template <typename... T>
  Bytes& B(T... values) {
    return B({static_cast<int>(values)...});
  }
  Bytes& N4(std::uint32_t v) {
    return B({static_cast<int>(v >> 24), static_cast<int>((v >> 16) & 255),
              static_cast<int>((v >> 8) & 255), static_cast<int>(v & 255)});
  }
  // A directory entry: tag, start, length.
  Bytes& Entry(const std::string& tag, std::uint32_t start, std::uint32_t length) {
    return S(tag).N4(start).N4(length);
  }
  Bytes& Add(const ByteVector& more) {
    m_bytes.insert(m_bytes.end(), more.begin(), more.end());
    return *this;
  }
  std::size_t Size() const { return m_bytes.size(); }
  const ByteVector& Get() const { return m_bytes; }
  operator const ByteVector&() const { return m_bytes; }  // NOLINT

private:
  ByteVector m_bytes;
};

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "scorefile-XXXXXX").string();
    m_path = ::mkdtemp(pattern.data());
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_path, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::filesystem::path Path() const { return m_path; }
  std::string File(const std::string& name) const { return (m_path / name).string(); }
  // Names of the folder's entries.
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(m_path))
      names.push_back(e.path().filename().string());
    return names;
  }

private:
  std::filesystem::path m_path;
};

inline ByteVector ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return ByteVector(std::istreambuf_iterator<char>(in), {});
}

inline void WriteAll(const std::string& path, const ByteVector& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Installs itself as the platform for its lifetime and keeps every message.
class MessageRecorder : public Platform {
public:
  MessageRecorder() { SetPlatform(this); }
  ~MessageRecorder() override { SetPlatform(nullptr); }
  void ShowMessage(const std::string& title, const std::string& text) override {
    messages.push_back(title + ": " + text);
  }
  void AddToRecentDocs(const std::string& path) override { recent.push_back(path); }
  std::vector<std::string> messages;
  std::vector<std::string> recent;
};

// A score that uses every feature the native file stores: texts in all five fonts, fonts
// with every style, spacing, margins, page switches, tempo and pulse, time signatures and
// score-wide events with and without text, several at one time, a drum kit with its map
// and a transposing instrument, three staves with their own flags, scale, clef, brace,
// events and lyrics in two verses, voices with chords, dotted and triplet notes.
void BuildEveryFeatureScore(Score& score);

// The score as the native writer writes it (the test fails when it cannot).
ByteVector NativeBytes(Score& score);

// Everything of the score that a native file stores, as text, one item a line, for
// comparing two scores (staff and voice IDs, which the file does not keep, left out).
std::string Describe(Score& score);

}  // namespace notecraft::testing

namespace notecraft::testing {

// The three sub-sections of one staff, as bytes.
struct StaffParts {
  ByteVector Hdr, Glb, Vce;
};

// A whole native file from its sections: the head with entries Hdr, Glb, Ins, Stf, the
// sections in that order, and the Stf head and staff directory pointing at each staff's
// sub-sections. An empty section is stored with length 0 at the position it would have.
inline ByteVector MakeFile(const ByteVector& hdr, const ByteVector& glb, const ByteVector& ins,
                           const std::vector<StaffParts>& staves) {
  const std::uint32_t hdrAt = 51;
  const auto glbAt = static_cast<std::uint32_t>(hdrAt + hdr.size());
  const auto insAt = static_cast<std::uint32_t>(glbAt + glb.size());
  const auto stfAt = static_cast<std::uint32_t>(insAt + ins.size());
  Bytes stf;
  const auto n = static_cast<std::uint32_t>(staves.size());
  stf.N4(33 * n + 2).B(3 * n, 11);
  std::uint32_t at = stfAt + 6 + 33 * n;
  for (const auto& s : staves) {
    stf.Entry("Hdr", at, static_cast<std::uint32_t>(s.Hdr.size()));
    at += static_cast<std::uint32_t>(s.Hdr.size());
    stf.Entry("Glb", at, static_cast<std::uint32_t>(s.Glb.size()));
    at += static_cast<std::uint32_t>(s.Glb.size());
    stf.Entry("Vce", at, static_cast<std::uint32_t>(s.Vce.size()));
    at += static_cast<std::uint32_t>(s.Vce.size());
  }
  for (const auto& s : staves) stf.Add(s.Hdr).Add(s.Glb).Add(s.Vce);
  Bytes file;
  file.S("Vm00").B(4, 11);
  file.Entry("Hdr", hdrAt, static_cast<std::uint32_t>(hdr.size()));
  file.Entry("Glb", glbAt, static_cast<std::uint32_t>(glb.size()));
  file.Entry("Ins", insAt, static_cast<std::uint32_t>(ins.size()));
  file.Entry("Stf", stfAt, static_cast<std::uint32_t>(stf.Size()));
  return file.Add(hdr).Add(glb).Add(ins).Add(stf.Get()).Get();
}

// A font record: name 0 size style texts 255 (style 128 + 1 bold + 2 underline + 4 italic).
inline ByteVector FontRecord(const std::string& name, const std::string& size, int style,
                             const std::string& texts) {
  return Bytes().S(name).B(0).S(size).B(style).S(texts).B(255).Get();
}

// Hdr as a new score's: Arial fonts, "New Score", spacing 0.4/0.5/0.65, margins 1, 0.5,
// 0.75, 0.5, tempo 120 and pulse 16; `fonts` replaces the five font records when given.
inline ByteVector HeaderSection(const ByteVector& fonts = {}, const std::string& pulse = "16") {
  Bytes b;
  if (fonts.empty()) {
    b.Add(FontRecord("Arial", "14", 129, "New Score"))
        .Add(FontRecord("Arial", "12", 129, ""))
        .Add(FontRecord("Arial", "10", 129, ""))
        .Add(FontRecord("Arial", "10", 129, "Composer\xFE" "Arranged By"))
        .Add(FontRecord("Arial", "8", 128, "\xFE"));
  } else {
    b.Add(fonts);
  }
  b.S("0.4").B(254).S("0.5").B(254).S("0.65").B(255);
  b.S("1").B(254).S("0.5").B(254).S("0.75").B(254).S("0.5").B(254).B(0, 0, 0, 0).B(255);
  b.S("120").B(254).S(pulse).B(255);
  return b.Get();
}

// A staff header record: description 254 scale clef flags state brace voices.
inline ByteVector StaffHeader(const std::string& description, int clef = 1) {
  return Bytes().S(description).B(254).S("100").B(clef, 29, 2, 0, 1).Get();
}

// A voice record and its notes: N4 count, description 254 program 255.
inline Bytes& VoiceRecord(Bytes& b, std::uint32_t count, const std::string& description,
                          const std::string& program) {
  return b.N4(count).S(description).B(254).S(program).B(255);
}

// A note record: N4 time, N4 duration, N4 flags, count, pitches.
inline Bytes& NoteRecord(Bytes& b, std::uint32_t time, std::uint32_t duration,
                         std::uint32_t flags, std::initializer_list<int> pitches) {
  b.N4(time).N4(duration).N4(flags).B(static_cast<int>(pitches.size()));
  return b.B(pitches);
}

}  // namespace notecraft::testing
