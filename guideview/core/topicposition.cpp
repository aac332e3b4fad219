#include "guideview/core/topicposition.h"

#include <system_error>

#include "guideview/core/pagetext.h"

namespace guideview {

namespace fs = std::filesystem;

TopicPosition LocateTopic(const std::vector<HelpNode>& nodes, std::string_view title) {
  TopicPosition position;
  std::string wanted = FoldBlanks(title);
  if (wanted.empty()) return position;
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    if (nodes[i].text != wanted) continue;
    position.node = i;
    position.prevEnabled = i > 0;
    position.nextEnabled = i + 1 < nodes.size();
    break;
  }
  return position;
}

TopicPosition LocateTopicByPage(const std::vector<HelpNode>& nodes, const fs::path& page) {
  TopicPosition position;
  std::error_code ec;
  const fs::path wanted = fs::weakly_canonical(page, ec);
  if (ec || wanted.empty()) return position;
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    if (fs::weakly_canonical(nodes[i].path, ec) != wanted || ec) continue;
    position.node = i;
    position.prevEnabled = i > 0;
    position.nextEnabled = i + 1 < nodes.size();
    break;
  }
  return position;
}

bool HomeEnabled(const fs::path& current, const fs::path& contents) {
  if (current.empty() || contents.empty()) return false;
  std::error_code ec1, ec2;
  fs::path a = fs::weakly_canonical(current, ec1);
  fs::path b = fs::weakly_canonical(contents, ec2);
  if (ec1 || ec2) return current != contents;
  return a != b;
}

}  // namespace guideview
