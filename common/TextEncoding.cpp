#include "common/TextEncoding.h"

#include <algorithm>

namespace kelvane {
namespace {

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view Utf16LeMark = "\xFF\xFE";
constexpr wchar_t Replacement = L'\xFFFD';

// What a lead byte starts: how many continuation bytes follow and the range of
// the first of them (which rules out overlong forms, surrogates and values past
// U+10FFFF); zero continuations for a byte that starts nothing.
struct Utf8Lead {
  int continuations = 0;
  unsigned char low = 0x80, high = 0xBF;
};
Utf8Lead utf8Lead(unsigned char byte) {
  if (byte >= 0xC2 && byte <= 0xDF) return {1};
  if (byte == 0xE0) return {2, 0xA0, 0xBF};
  if (byte == 0xED) return {2, 0x80, 0x9F};
  if (byte >= 0xE1 && byte <= 0xEF) return {2};
  if (byte == 0xF0) return {3, 0x90, 0xBF};
  if (byte >= 0xF1 && byte <= 0xF3) return {3};
  if (byte == 0xF4) return {3, 0x80, 0x8F};
  return {};
}

void appendCodePoint(std::wstring& text, char32_t code) {
  if (code < 0x10000) {
    text += static_cast<wchar_t>(code);
  } else {
    code -= 0x10000;
    text += static_cast<wchar_t>(0xD800 + (code >> 10));
    text += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
  }
}

}  // namespace

void EncodingSniffer::checkUtf8(unsigned char byte) {
  if (pending_ > 0) {
    if (byte < low_ || byte > high_) {
      invalid_ = true;
      return;
    }
    low_ = 0x80;
    high_ = 0xBF;
    if (--pending_ == 0) multiByte_ = true;
    return;
  }
  if (byte < 0x80) return;
  const Utf8Lead lead = utf8Lead(byte);
  if (lead.continuations == 0) {
    invalid_ = true;
    return;
  }
  pending_ = lead.continuations;
  low_ = lead.low;
  high_ = lead.high;
}

void EncodingSniffer::append(std::string_view piece) {
  if (head_.size() < Utf8Mark.size()) {
    head_.append(piece.substr(0, Utf8Mark.size() - head_.size()));
  }
  if (decided()) return;
  for (const char c : piece) {
    checkUtf8(static_cast<unsigned char>(c));
    if (invalid_) return;
  }
}

bool EncodingSniffer::decided() const {
  return invalid_ || head_.starts_with(Utf8Mark) || head_.starts_with(Utf16LeMark);
}

DetectedEncoding EncodingSniffer::result() const {
  if (head_.starts_with(Utf16LeMark)) return {TextEncoding::Utf16Le, Utf16LeMark.size()};
  if (head_.starts_with(Utf8Mark)) return {TextEncoding::Utf8, Utf8Mark.size()};
  // A sequence cut off by the end of the data is not UTF-8 either.
  if (!invalid_ && pending_ == 0 && multiByte_) return {TextEncoding::Utf8, 0};
  return {TextEncoding::Gbk, 0};
}

DetectedEncoding detectEncoding(std::string_view bytes) {
  EncodingSniffer sniffer;
  sniffer.append(bytes);
  return sniffer.result();
}

std::wstring utf8ToWide(std::string_view bytes) {
  std::wstring text;
  text.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte < 0x80) {
      text += static_cast<wchar_t>(byte);
      ++i;
      continue;
    }
    const Utf8Lead lead = utf8Lead(byte);
    char32_t code = byte & (0x3F >> lead.continuations);
    size_t next = i + 1;
    bool valid = lead.continuations > 0;
    for (int k = 0; valid && k < lead.continuations; ++k, ++next) {
      const auto trail = next < bytes.size() ? static_cast<unsigned char>(bytes[next]) : 0;
      const unsigned char low = k == 0 ? lead.low : 0x80, high = k == 0 ? lead.high : 0xBF;
      valid = trail >= low && trail <= high;
      code = code << 6 | (trail & 0x3F);
    }
    if (valid) {
      appendCodePoint(text, code);
      i = next;
    } else {
      text += Replacement;  // this byte only: what follows is read afresh
      ++i;
    }
  }
  return text;
}

std::string wideToUtf8(std::wstring_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 3);
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t code = static_cast<char32_t>(text[i]) & 0xFFFF;
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && (text[i + 1] & 0xFC00) == 0xDC00) {
      code = 0x10000 + ((code - 0xD800) << 10) + (static_cast<char32_t>(text[++i]) & 0x3FF);
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      code = 0xFFFD;  // half a pair has no UTF-8 form
    }
    if (code < 0x80) {
      bytes += static_cast<char>(code);
    } else if (code < 0x800) {
      bytes += static_cast<char>(0xC0 | code >> 6);
      bytes += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      bytes += static_cast<char>(0xE0 | code >> 12);
      bytes += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      bytes += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      bytes += static_cast<char>(0xF0 | code >> 18);
      bytes += static_cast<char>(0x80 | (code >> 12 & 0x3F));
      bytes += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      bytes += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return bytes;
}

std::wstring utf16LeToWide(std::string_view bytes) {
  std::wstring text;
  text.reserve(bytes.size() / 2 + 1);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
  }
  if (bytes.size() % 2 != 0) text += Replacement;
  return text;
}

std::string wideToUtf16Le(std::wstring_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (const wchar_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8 & 0xFF);
  }
  return bytes;
}

std::wstring decodeBytes(std::string_view bytes, TextEncoding encoding, GbkDecoder gbk) {
  switch (encoding) {
    case TextEncoding::Utf8:
      return utf8ToWide(bytes);
    case TextEncoding::Utf16Le:
      return utf16LeToWide(bytes);
    case TextEncoding::Gbk:
      break;
  }
  return gbk(bytes);
}

std::wstring decodeText(std::string_view fileBytes, GbkDecoder gbk) {
  const DetectedEncoding detected = detectEncoding(fileBytes);
  return decodeBytes(fileBytes.substr(detected.markBytes), detected.encoding, gbk);
}

}  // namespace kelvane
