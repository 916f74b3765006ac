#include "listview/DropReport.h"

namespace ol {

std::string DropSummaryText(std::string_view heading, const std::vector<DropRefusal>& refusals,
                            std::string_view moreTemplate, std::size_t mostLines) {
  std::string text(heading);
  text += "\n";
  for (std::size_t i = 0; i < refusals.size() && i < mostLines; ++i) {
    text += "\n" + refusals[i].item + ": " + refusals[i].reason;
  }
  if (refusals.size() > mostLines) {
    std::string more(moreTemplate);
    const std::string count = std::to_string(refusals.size() - mostLines);
    if (const std::size_t at = more.find("%1"); at != std::string::npos) more.replace(at, 2, count);
    text += "\n" + more;
  }
  return text;
}

}  // namespace ol
