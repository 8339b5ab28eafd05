#pragma once
// What every fuzz target shares: the check that makes libFuzzer record a broken
// property, and the way a target turns its bytes into the wide text the program
// reads. Header only, so each target builds from its own source plus the readers.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelvane::fuzz {

// A broken property is a finding like a crash: trap so libFuzzer saves the input
// (and so the replay test under g++ fails with a stack trace).
inline void require(bool property) {
  if (!property) __builtin_trap();
}

inline std::string_view asBytes(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

inline bool isGbkLead(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }
inline bool isGbkTrail(unsigned char byte) { return byte >= 0x40 && byte <= 0xFE && byte != 0x7F; }

// Decodes ANSI bytes in the shape code page 936 gives them: an ASCII byte stays
// itself, a lead byte with a valid trail becomes one unit above U+007F, and a lead
// byte without one becomes U+FFFD. The real table is a Windows call; what the
// readers depend on is only this shape (a trail byte never shows as a letter, TAB
// or digit), and every ASCII character is reachable.
inline std::wstring widenAnsi(std::string_view bytes) {
  std::wstring text;
  text.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte < 0x80) {
      text += static_cast<wchar_t>(byte);
    } else if (isGbkLead(byte) && i + 1 < bytes.size() && isGbkTrail(static_cast<unsigned char>(bytes[i + 1]))) {
      text += static_cast<wchar_t>(byte << 8 | static_cast<unsigned char>(bytes[i + 1]));
      ++i;
    } else {
      text += L'\xFFFD';
    }
  }
  return text;
}

}  // namespace kelvane::fuzz
