#include <gtest/gtest.h>

#include <fstream>

#include "Veltrimond/styles/styletable.h"
#include "stylefixture.h"

namespace veltrimond::styles {
namespace {

using namespace notecraft;
using testing::MakeStyle;
using testing::RecordingPlatform;
using testing::TempFolder;

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A sound style file whose directory says its staff section is empty: it opens, without a
// staff.
void WriteStyleWithoutStaff(const std::string& path, const std::string& from) {
  std::string bytes = ReadBytes(from);
  const auto tag = bytes.find("Stf");
  ASSERT_NE(tag, std::string::npos);
  for (std::size_t i = tag + 7; i < tag + 11; ++i) bytes[i] = '\0';  // N4 length
  WriteBytes(path, bytes);
}

TEST(StyleTableTest, ListsUsableStylesInNameOrderAndSkipsTheRestQuietly) {
  TempFolder folder;
  ASSERT_TRUE(MakeStyle(clfTreble, 3 * 128 + 16, {{0, {60}}})->SaveFile(folder.File("Waltz1.sty")));
  ASSERT_TRUE(
      MakeStyle(clfPercussion, 4 * 128 + 16, {{0, {36}}}, 128)->SaveFile(folder.File("Beat.sty")));
  ASSERT_TRUE(MakeStyle(clfBass, 2 * 128 + 16, {})->SaveFile(folder.File("bass [old].sty")));
  const auto voiceless = MakeStyle(clfTreble, 4 * 128 + 16, {});
  voiceless->Staff(1)->Clear();
  ASSERT_TRUE(voiceless->SaveFile(folder.File("Voiceless.sty")));
  WriteStyleWithoutStaff(folder.File("Staffless.sty"), folder.File("Waltz1.sty"));
  WriteBytes(folder.File("Garbage.sty"), "not a score at all");
  WriteBytes(folder.File("Empty.sty"), "");
  WriteBytes(folder.File("Cut.sty"), ReadBytes(folder.File("Waltz1.sty")).substr(0, 40));
  WriteBytes(folder.File("Readme.txt"), "ignored");
  std::filesystem::create_directory(folder.Path() / "Folder.sty");

  RecordingPlatform desktop;
  const StyleTable table = LoadStyleTable(folder.Path().string());
  std::vector<std::string> listed;
  for (const StyleEntry& entry : table.entries) listed.push_back(ItemText(entry));
  EXPECT_EQ(listed, (std::vector<std::string>{"Beat - [Drums, 4/4]", "Waltz1 - [Treble, 3/4]",
                                              "bass [old] - [Bass, 2/4]"}));
  std::vector<std::string> skipped;
  for (const SkippedStyle& s : table.skipped) {
    skipped.push_back(s.file);
    EXPECT_FALSE(s.why.empty()) << s.file;
  }
  EXPECT_EQ(skipped, (std::vector<std::string>{"Cut.sty", "Empty.sty", "Garbage.sty",
                                               "Staffless.sty", "Voiceless.sty"}));
  // Listing styles is no opening of documents: no recent files, no message boxes.
  EXPECT_TRUE(desktop.recents.empty());
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_EQ(&CurrentPlatform(), &desktop);
}

TEST(StyleTableTest, AMissingFolderListsNothing) {
  EXPECT_TRUE(LoadStyleTable("/nonexistent/styles").entries.empty());
  EXPECT_TRUE(LoadStyleTable("").entries.empty());
}

TEST(StyleTableTest, OpenStyleSaysWhyAFileCannotBeUsed) {
  TempFolder folder;
  RecordingPlatform desktop;
  std::string why;
  EXPECT_EQ(OpenStyle(folder.File("Missing.sty"), &why), nullptr);
  EXPECT_FALSE(why.empty());
  WriteBytes(folder.File("Garbage.sty"), "garbage");
  EXPECT_EQ(OpenStyle(folder.File("Garbage.sty"), &why), nullptr);
  EXPECT_FALSE(why.empty());
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_EQ(StyleFilePath("/a/Styles", "Rock Drums"), "/a/Styles/Rock Drums.sty");
}

}  // namespace
}  // namespace veltrimond::styles
