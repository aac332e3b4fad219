#pragma once
// Named character references ("&eacute;" without "&" and ";") as the page browser knows them.

#include <optional>
#include <string_view>

namespace guideview {

std::optional<char32_t> LookUpHtmlEntity(std::string_view name);

}  // namespace guideview
