#include "wizard/RecordText.h"

#include <algorithm>

#include "common/ItemReader.h"

namespace kelvane {
namespace {

template <typename Unit>
std::basic_string<Unit> joinedItems(std::basic_string_view<Unit> units) {
  BasicItemReader<Unit> reader;
  reader.append(units);
  reader.finish();
  std::basic_string<Unit> text;
  text.reserve(units.size() + units.size() / 8);
  while (std::optional<typename BasicItemReader<Unit>::Item> item = reader.next()) {
    text += item->text;
    text += Unit('\r');
    text += Unit('\n');
  }
  std::replace(text.begin(), text.end(), Unit('\0'), Unit(' '));
  return text;
}

}  // namespace

std::string recordDisplayBytes(std::string_view fileBytes) { return joinedItems(fileBytes); }

std::wstring recordDisplayText(std::string_view fileBytes, GbkDecoder gbk) {
  const DetectedEncoding detected = detectEncoding(fileBytes);
  const std::string_view body = fileBytes.substr(detected.markBytes);
  if (detected.encoding == TextEncoding::Utf16Le) return joinedItems<wchar_t>(utf16LeToWide(body));
  // Separators are ASCII in both 8-bit encodings: join the bytes, then decode once.
  return decodeBytes(joinedItems(body), detected.encoding, gbk);
}

}  // namespace kelvane
