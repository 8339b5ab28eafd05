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
  return readTextItems(*bytes, gbkToWide);
}

namespace {

constexpr DWORD PieceBytes = 64 * 1024;

// The encoding of an open file, from a first pass over it a piece at a time; the
// file is then back at its start. Nothing when a read fails.
std::optional<DetectedEncoding> sniffEncoding(HANDLE file, std::string& piece) {
  EncodingSniffer sniffer;
  while (!sniffer.decided()) {
    DWORD got = 0;
    if (!ReadFile(file, piece.data(), static_cast<DWORD>(piece.size()), &got, nullptr)) return std::nullopt;
    if (got == 0) break;
    sniffer.append(std::string_view(piece.data(), got));
  }
  LARGE_INTEGER start{};
  if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) return std::nullopt;
  return sniffer.result();
}

}  // namespace

bool readItemFileInPieces(const std::wstring& path, size_t maxItemBytes,
                          const std::function<bool(std::wstring_view item, bool whole)>& onItem) {
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return false;
  std::string piece(PieceBytes, '\0');
  // Whether a file without a mark is UTF-8 takes all of it to tell, so the file is
  // read twice rather than held.
  const std::optional<DetectedEncoding> encoding = sniffEncoding(file.get(), piece);
  if (!encoding) return false;
  TextItemReader reader(*encoding, gbkToWide, maxItemBytes);
  // Hands on what the reader has; false once onItem wants no more.
  const auto handOn = [&] {
    while (std::optional<TextItemReader::Item> item = reader.next()) {
      if (!onItem(item->text, item->whole)) return false;
    }
    return true;
  };
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
