#include "wizard/RecordText.h"

#include <algorithm>

#include "common/ItemReader.h"

namespace kelvane {

std::string recordDisplayBytes(std::string_view fileBytes) {
  std::string text;
  text.reserve(fileBytes.size() + fileBytes.size() / 8);
  for (const std::string& item : readItems(fileBytes)) {
    text += item;
    text += "\r\n";
  }
  std::replace(text.begin(), text.end(), '\0', ' ');
  return text;
}

}  // namespace kelvane
