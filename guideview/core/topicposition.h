#pragma once
// Which tool bar moves make sense for the page on show: Prev and Next walk the contents tree in
// insertion order from the node whose text is the page's title; Home leads to the contents page.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "guideview/core/helpcontents.h"

namespace guideview {

struct TopicPosition {
  std::optional<std::size_t> node;  // the first node, in insertion order, titled as the page
  bool prevEnabled = false;
  bool nextEnabled = false;
};

// `title` is the page's decoded title as the browser reports it; its blanks are folded as the
// builder folds a node's text, so a title broken over lines still finds its node.
TopicPosition LocateTopic(const std::vector<HelpNode>& nodes, std::string_view title);

// The first node that shows `page` (compared as canonical paths); for pages without a title.
TopicPosition LocateTopicByPage(const std::vector<HelpNode>& nodes,
                                const std::filesystem::path& page);

// Home is of use everywhere but on the contents page itself (compared as canonical paths).
bool HomeEnabled(const std::filesystem::path& current, const std::filesystem::path& contents);

}  // namespace guideview
