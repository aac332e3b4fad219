#pragma once
// The Defaults dialog's preview: a few bars of a score drawn in the five colours being
// edited (lines and text, bars and clefs, notes, dynamics and ties, lyrics and chords).

#include <QWidget>
#include <array>
#include <cstdint>

namespace veltrimond {

// An RGB value packed as red + 256 * green + 65536 * blue.
QColor FromPackedRgb(std::int32_t rgb);

class SampleScore final : public QWidget {
  Q_OBJECT

public:
  explicit SampleScore(QWidget* parent = nullptr);

  void SetColors(const std::array<std::int32_t, 5>& colors);
  const std::array<std::int32_t, 5>& Colors() const noexcept { return m_colors; }
  QSize sizeHint() const override;

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  std::array<std::int32_t, 5> m_colors{};
};

}  // namespace veltrimond
