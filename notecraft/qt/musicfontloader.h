#pragma once
// Makes the fonts the score draws with available to Qt: the music font Veltrimond, which
// ships in the install folder (Common/Fonts/Veltrimond.ttf, built from data/font), and
// stand-ins for the Windows text fonts the score names that fontconfig does not map by
// itself. Needs a QGuiApplication; call from the GUI thread.

#include <filesystem>

namespace notecraft {

// <dataRoot>/Common/Fonts/Veltrimond.ttf.
std::filesystem::path MusicFontFile(const std::filesystem::path& dataRoot);

// Registers the music font from the install folder (CurrentPlatform().DataRoot()) once per
// process, and the text-font stand-ins. True when the family "Veltrimond" can be drawn with.
bool LoadMusicFont() noexcept;
// The same from a given font file.
bool LoadMusicFont(const std::filesystem::path& fontFile) noexcept;

}  // namespace notecraft
