#pragma once
// The desktop clipboard for a host's notecraft::Platform: its ClipboardText and
// SetClipboardText overrides call these. Needs a QGuiApplication; without one they read ""
// and write nothing.

#include <string>

namespace notecraft {

std::string QtClipboardText();
void SetQtClipboardText(const std::string& text);

}  // namespace notecraft
