// The one message after a drop of several items, telling which were not added and why.
// Portable.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ol {

struct DropRefusal {
  std::string item;    // what was dropped, as the user knows it (its file or folder name)
  std::string reason;  // one sentence
};

// The heading, a blank line, then one line "item: reason" per refusal, at most `mostLines`
// of them; past that, a last line from `moreTemplate` with "%1" replaced by the number of
// refusals left out.
std::string DropSummaryText(std::string_view heading, const std::vector<DropRefusal>& refusals,
                            std::string_view moreTemplate, std::size_t mostLines = 20);

}  // namespace ol
