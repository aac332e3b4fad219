#pragma once
// The frame's pictures (its image list): one per toolbar key, and the same pictures for the
// menu items whose captions begin with an image's tag. Drawn here at 16 px and twice that
// for high-density screens.

#include <QIcon>
#include <QList>
#include <QString>

namespace veltrimond {

struct FrameImage {
  QString Key;  // the toolbar key: "New", "Open", ...
  QString Tag;  // the menu caption it belongs to, with its mnemonic: "&New", ...
  QIcon Icon;
};

class FrameImages {
public:
  static FrameImages Draw();

  const QList<FrameImage>& Items() const { return m_items; }
  // The picture of a toolbar key; a null icon for an unknown key.
  QIcon Icon(const QString& key) const;

private:
  QList<FrameImage> m_items;
};

}  // namespace veltrimond
