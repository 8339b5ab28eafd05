#include "common/Files.h"

#include <windows.h>

#include "common/Ansi.h"
#include "common/AppPath.h"
#include "common/Handles.h"
#include "common/ItemReader.h"

namespace kelvane {

std::wstring applicationDirectory() {
  // The module path can exceed MAX_PATH; grow the buffer until it fits.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return directoryOfModule(path);
    }
    path.resize(path.size() * 2);
  }
}

std::optional<std::string> readFileBytes(const std::wstring& path, uint64_t maxBytes) {
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || static_cast<uint64_t>(size.QuadPart) > maxBytes ||
      size.QuadPart > 0x7FFFFFFF) {
    return std::nullopt;
  }
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(bytes.size() - done);
    if (!ReadFile(file.get(), bytes.data() + done, want, &got, nullptr)) return std::nullopt;
    if (got == 0) break;  // the file shrank while we read it
    done += got;
  }
  bytes.resize(done);
  return bytes;
}

std::optional<uint64_t> fileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::optional<std::vector<std::wstring>> readItemFile(const std::wstring& path) {
  const std::optional<std::string> bytes = readFileBytes(path);
  if (!bytes) return std::nullopt;
  std::vector<std::wstring> items;
  for (const std::string& item : readItems(*bytes)) items.push_back(ansiToWide(item));
  return items;
}

bool readItemFileInPieces(const std::wstring& path, size_t maxItemBytes,
                          const std::function<bool(std::wstring_view item, bool whole)>& onItem) {
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return false;
  ItemReader reader(maxItemBytes);
  // Hands on what the reader has; false once onItem wants no more.
  const auto handOn = [&] {
    while (std::optional<ItemReader::Item> item = reader.next()) {
      if (!onItem(ansiToWide(item->text), item->whole)) return false;
    }
    return true;
  };
  std::string piece(64 * 1024, '\0');
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.get(), piece.data(), static_cast<DWORD>(piece.size()), &got, nullptr)) return false;
    if (got == 0) break;
    reader.append(std::string_view(piece.data(), got));
    if (!handOn()) return true;
  }
  reader.finish();
  handOn();
  return true;
}

}  // namespace kelvane
