#pragma once
// The viewer's window placement in the suite's settings file, in twips as numbers in the
// invariant form and "True"/"False" for Maximized.

#include <QString>

#include "guideview/core/placement.h"

namespace guideview {

struct HelpPlacement {
  TwipRect rect;  // the normal rectangle; all zero when never stored
  int split = kDefaultSplit;
  bool maximized = false;
};

// The settings section of a product's help window. The suite's file is the editor's
// ("Veltrimond"), whose window keeps the section "Help"; any other product gets a group of its
// own, "<product>/Help". The product must have passed SafeProductName.
QString HelpSettingsSection(const QString& product);

HelpPlacement ReadHelpPlacement(const QString& product);
void WriteHelpPlacement(const QString& product, const HelpPlacement& placement);

}  // namespace guideview
