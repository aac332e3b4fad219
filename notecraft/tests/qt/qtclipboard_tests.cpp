// Notes copied and pasted through the desktop clipboard: a platform whose clipboard hooks
// are QClipboard's, as a host installs it.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

#include "notecraft/core/internal.h"
#include "notecraft/core/notes.h"
#include "notecraft/core/platform.h"
#include "notecraft/core/score.h"
#include "notecraft/qt/qtclipboard.h"

namespace notecraft {
namespace {

class DesktopClipboard : public Platform {
public:
  std::string ClipboardText() const override { return QtClipboardText(); }
  void SetClipboardText(const std::string& text) override { SetQtClipboardText(text); }
};

TEST(QtClipboard, PastesTextAnotherProgramPutOnTheClipboard) {
  DesktopClipboard desktop;
  SetPlatform(&desktop);
  Score score;
  score.CreateDefault();
  score.Staff(1)->SetSelected(true);
  score.SetVoice(1);
  score.SetSelectedMeasure(Internal{}, 2);
  QGuiApplication::clipboard()->setText("S1:V2@0#0#16#0#60|64");
  EXPECT_EQ(QtClipboardText(), "S1:V2@0#0#16#0#60|64");
  score.GetClipboard();
  const auto note = score.Staff(1)->Voice(1)->Notes().Lookup(64);
  ASSERT_TRUE(note);
  EXPECT_EQ(note->NoteTime(), 64);
  EXPECT_EQ(note->ValueCount(), 2);

  // An empty selection clears the desktop clipboard.
  EXPECT_EQ(score.PutClipboard(), 0);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString());
  SetPlatform(nullptr);
}

}  // namespace
}  // namespace notecraft
