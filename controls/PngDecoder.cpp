#include "controls/PngDecoder.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>
#include <vector>

namespace kelvane {
namespace {

using Bytes = std::span<const std::uint8_t>;

// The fuzz target's build takes any checksum, so mutated inputs get past them
// to the inflater and the row filters.
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
constexpr bool CheckSums = false;
#else
constexpr bool CheckSums = true;
#endif

constexpr std::array<std::uint8_t, 8> Signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

std::uint32_t bigEndian(const std::uint8_t* at) {
  return std::uint32_t{at[0]} << 24 | std::uint32_t{at[1]} << 16 | std::uint32_t{at[2]} << 8 | at[3];
}

constexpr std::array<std::uint32_t, 256> CrcTable = [] {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}();

// The CRC-32 of a chunk, over its type and data.
std::uint32_t chunkCrc(Bytes typeAndData) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (const std::uint8_t byte : typeAndData) c = CrcTable[(c ^ byte) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

std::uint32_t adler32(const std::vector<std::uint8_t>& data) {
  // 5552 is the most bytes whose sums cannot overflow 32 bits before the modulo.
  std::uint32_t a = 1, b = 0;
  for (std::size_t at = 0; at < data.size();) {
    const std::size_t end = std::min(data.size(), at + 5552);
    for (; at < end; ++at) {
      a += data[at];
      b += a;
    }
    a %= 65521;
    b %= 65521;
  }
  return b << 16 | a;
}

// ---------------------------------------------------------------- inflate (RFC 1951)

// Bits of the stream, least significant first. Past the end it reads zeros and
// notes it; a stream that needed them is damaged.
class BitReader {
 public:
  explicit BitReader(Bytes bytes) : bytes_(bytes) {}

  // At least 57 bits in the buffer: one length and distance pair with their
  // extra bits takes at most 48.
  void refill() {
    while (count_ <= 56) {
      const std::uint64_t byte = next_ < bytes_.size() ? bytes_[next_] : 0;
      ++next_;
      bits_ |= byte << count_;
      count_ += 8;
    }
  }
  std::uint32_t peek(int n) const { return static_cast<std::uint32_t>(bits_ & ((std::uint64_t{1} << n) - 1)); }
  void drop(int n) {
    bits_ >>= n;
    count_ -= n;
  }
  std::uint32_t take(int n) {
    const std::uint32_t value = peek(n);
    drop(n);
    return value;
  }
  void alignToByte() { drop(count_ % 8); }
  // Whether what was taken lies inside the stream; the zeros after it do not.
  bool overran() const { return (next_ - count_ / 8) > bytes_.size(); }
  // The bytes after what was taken (the stream's trailer), once aligned.
  std::size_t position() const { return next_ - count_ / 8; }

 private:
  Bytes bytes_;
  std::size_t next_ = 0;
  std::uint64_t bits_ = 0;
  int count_ = 0;
};

constexpr int MaxCodeLength = 15;
constexpr int FastBits = 10;

// A canonical Huffman code. Codes up to FastBits long are found with one look-up
// of that many stream bits; longer ones by counting codes per length.
class HuffmanCode {
 public:
  // False for lengths that describe more codes than exist (over-subscribed).
  // Symbols of length 0 are not in the code.
  bool build(std::span<const std::uint8_t> lengths) {
    counts_.fill(0);
    fast_.fill(0);
    for (const std::uint8_t length : lengths) ++counts_[length];
    counts_[0] = 0;
    int left = 1;
    for (int length = 1; length <= MaxCodeLength; ++length) {
      left = left * 2 - counts_[length];
      if (left < 0) return false;
    }
    std::array<int, MaxCodeLength + 2> offsets{};
    for (int length = 1; length <= MaxCodeLength; ++length) offsets[length + 1] = offsets[length] + counts_[length];
    symbols_.assign(lengths.size(), 0);
    for (std::size_t symbol = 0; symbol < lengths.size(); ++symbol) {
      if (lengths[symbol]) symbols_[offsets[lengths[symbol]]++] = static_cast<std::uint16_t>(symbol);
    }
    // The fast table: each short code, its bits reversed (the stream sends a
    // code's first bit first), under every index that begins with it.
    int code = 0;
    std::size_t index = 0;
    for (int length = 1; length <= FastBits; ++length) {
      for (int i = 0; i < counts_[length]; ++i, ++code, ++index) {
        int reversed = 0;
        for (int bit = 0; bit < length; ++bit) reversed |= ((code >> bit) & 1) << (length - 1 - bit);
        for (int fill = reversed; fill < (1 << FastBits); fill += 1 << length) {
          fast_[fill] = static_cast<std::uint32_t>(symbols_[index]) << 4 | static_cast<std::uint32_t>(length);
        }
      }
      code <<= 1;
    }
    return true;
  }

  // The next symbol; -1 for bits that are no code. The reader holds enough bits.
  int decode(BitReader& bits) const {
    const std::uint32_t entry = fast_[bits.peek(FastBits)];
    if (entry) {
      bits.drop(static_cast<int>(entry & 0xF));
      return static_cast<int>(entry >> 4);
    }
    int code = 0, first = 0, index = 0;
    const std::uint32_t stream = bits.peek(MaxCodeLength);
    for (int length = 1; length <= MaxCodeLength; ++length) {
      code |= static_cast<int>((stream >> (length - 1)) & 1);
      const int count = counts_[length];
      if (code - first < count) {
        bits.drop(length);
        return symbols_[static_cast<std::size_t>(index + code - first)];
      }
      index += count;
      first = (first + count) << 1;
      code <<= 1;
    }
    return -1;
  }

 private:
  std::array<int, MaxCodeLength + 1> counts_{};
  std::vector<std::uint16_t> symbols_;
  std::array<std::uint32_t, 1 << FastBits> fast_{};  // symbol << 4 | length; 0: not a short code
};

constexpr std::array<std::uint16_t, 29> LengthBase{3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                                   31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::uint8_t, 29> LengthExtra{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                   2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<std::uint16_t, 30> DistanceBase{1,   2,   3,   4,    5,    7,    9,    13,    17,    25,
                                                     33,  49,  65,  97,   129,  193,  257,  385,   513,   769,
                                                     1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<std::uint8_t, 30> DistanceExtra{0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                     6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

class Inflater {
 public:
  // `out` has room for exactly the bytes the stream must give.
  Inflater(Bytes stream, std::vector<std::uint8_t>& out) : bits_(stream), out_(out) {}

  bool run() {
    for (bool last = false; !last;) {
      bits_.refill();
      last = bits_.take(1) == 1;
      const std::uint32_t type = bits_.take(2);
      const bool done = type == 0 ? stored() : type == 1 ? fixed() : type == 2 ? dynamic() : false;
      if (!done || bits_.overran()) return false;
    }
    return written_ == out_.size();
  }
  std::size_t consumed() {
    bits_.alignToByte();
    return bits_.position();
  }

 private:
  bool stored() {
    bits_.alignToByte();
    bits_.refill();
    const std::uint32_t length = bits_.take(16);
    if ((bits_.take(16) ^ 0xFFFF) != length || length > out_.size() - written_) return false;
    for (std::uint32_t i = 0; i < length; ++i) {
      if (i % 4 == 0) bits_.refill();
      out_[written_++] = static_cast<std::uint8_t>(bits_.take(8));
    }
    return true;
  }

  bool fixed() {
    static const std::array<HuffmanCode, 2> codes = [] {
      std::array<std::uint8_t, 288> literal{};
      std::fill(literal.begin(), literal.begin() + 144, 8);
      std::fill(literal.begin() + 144, literal.begin() + 256, 9);
      std::fill(literal.begin() + 256, literal.begin() + 280, 7);
      std::fill(literal.begin() + 280, literal.end(), 8);
      std::array<std::uint8_t, 30> distance{};
      distance.fill(5);
      std::array<HuffmanCode, 2> built;
      built[0].build(literal);
      built[1].build(distance);
      return built;
    }();
    return block(codes[0], codes[1]);
  }

  bool dynamic() {
    static constexpr std::array<std::uint8_t, 19> Order{16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    bits_.refill();
    const std::uint32_t literals = bits_.take(5) + 257;
    const std::uint32_t distances = bits_.take(5) + 1;
    const std::uint32_t lengthCodes = bits_.take(4) + 4;
    if (literals > 286 || distances > 30) return false;
    std::array<std::uint8_t, 19> lengthLengths{};
    for (std::uint32_t i = 0; i < lengthCodes; ++i) {
      bits_.refill();
      lengthLengths[Order[i]] = static_cast<std::uint8_t>(bits_.take(3));
    }
    HuffmanCode lengthCode;
    if (!lengthCode.build(lengthLengths)) return false;
    std::array<std::uint8_t, 286 + 30> lengths{};
    for (std::uint32_t i = 0; i < literals + distances;) {
      bits_.refill();
      const int symbol = lengthCode.decode(bits_);
      if (symbol < 0) return false;
      if (symbol < 16) {
        lengths[i++] = static_cast<std::uint8_t>(symbol);
        continue;
      }
      if (symbol == 16 && i == 0) return false;  // a repeat of nothing
      const std::uint8_t value = symbol == 16 ? lengths[i - 1] : 0;
      const std::uint32_t repeat = symbol == 16 ? 3 + bits_.take(2) : symbol == 17 ? 3 + bits_.take(3) : 11 + bits_.take(7);
      if (i + repeat > literals + distances) return false;
      std::fill_n(lengths.begin() + i, repeat, value);
      i += repeat;
    }
    if (lengths[256] == 0) return false;  // no end of block
    HuffmanCode literal, distance;
    return literal.build(std::span(lengths).first(literals)) &&
           distance.build(std::span(lengths).subspan(literals, distances)) && block(literal, distance);
  }

  bool block(const HuffmanCode& literal, const HuffmanCode& distance) {
    for (;;) {
      bits_.refill();
      if (bits_.overran()) return false;
      const int symbol = literal.decode(bits_);
      if (symbol < 0) return false;
      if (symbol < 256) {
        if (written_ == out_.size()) return false;
        out_[written_++] = static_cast<std::uint8_t>(symbol);
        continue;
      }
      if (symbol == 256) return true;
      const int lengthIndex = symbol - 257;
      if (lengthIndex >= static_cast<int>(LengthBase.size())) return false;
      const std::size_t length = LengthBase[lengthIndex] + bits_.take(LengthExtra[lengthIndex]);
      const int distanceIndex = distance.decode(bits_);
      if (distanceIndex < 0 || distanceIndex >= static_cast<int>(DistanceBase.size())) return false;
      const std::size_t back = DistanceBase[distanceIndex] + bits_.take(DistanceExtra[distanceIndex]);
      if (back > written_ || length > out_.size() - written_) return false;
      // Byte by byte: a copy may overlap what it writes (a run of one repeated byte).
      const std::size_t from = written_ - back;
      for (std::size_t i = 0; i < length; ++i) out_[written_ + i] = out_[from + i];
      written_ += length;
    }
  }

  BitReader bits_;
  std::vector<std::uint8_t>& out_;
  std::size_t written_ = 0;
};

// A zlib stream (RFC 1950) of exactly out.size() bytes, without a preset dictionary.
bool inflateZlib(Bytes stream, std::vector<std::uint8_t>& out) {
  if (stream.size() < 6) return false;
  const unsigned method = stream[0], flags = stream[1];
  if ((method & 0x0F) != 8 || (method >> 4) > 7 || (method << 8 | flags) % 31 != 0 || (flags & 0x20)) return false;
  Inflater inflater(stream.subspan(2), out);
  if (!inflater.run()) return false;
  const std::size_t trailer = 2 + inflater.consumed();
  return trailer + 4 <= stream.size() && (!CheckSums || bigEndian(stream.data() + trailer) == adler32(out));
}

// ---------------------------------------------------------------- rows

std::uint8_t paeth(int left, int up, int upLeft) {
  const int estimate = left + up - upLeft;
  const int toLeft = std::abs(estimate - left), toUp = std::abs(estimate - up), toUpLeft = std::abs(estimate - upLeft);
  if (toLeft <= toUp && toLeft <= toUpLeft) return static_cast<std::uint8_t>(left);
  return static_cast<std::uint8_t>(toUp <= toUpLeft ? up : upLeft);
}

// The left neighbour is kept in registers, not read back from the byte just
// written: that read-after-write would stall on every byte of the row.
template <std::size_t PixelBytes>
void undoSub(std::uint8_t* row, std::size_t stride) {
  std::array<std::uint8_t, PixelBytes> left{};
  for (std::size_t x = 0; x < stride; x += PixelBytes) {
    for (std::size_t c = 0; c < PixelBytes; ++c) row[x + c] = left[c] = static_cast<std::uint8_t>(row[x + c] + left[c]);
  }
}

// Undoes one row's filter in place, given the row above (zeros above the first).
bool unfilterRow(std::uint8_t filter, std::uint8_t* row, const std::uint8_t* above, std::size_t stride,
                 std::size_t pixelBytes) {
  switch (filter) {
    case 0: return true;
    case 1:
      if (pixelBytes == 3) {
        undoSub<3>(row, stride);
      } else {
        undoSub<4>(row, stride);
      }
      return true;
    case 2:
      for (std::size_t x = 0; x < stride; ++x) row[x] = static_cast<std::uint8_t>(row[x] + above[x]);
      return true;
    case 3:
      for (std::size_t x = 0; x < stride; ++x) {
        const int left = x >= pixelBytes ? row[x - pixelBytes] : 0;
        row[x] = static_cast<std::uint8_t>(row[x] + (left + above[x]) / 2);
      }
      return true;
    case 4:
      for (std::size_t x = 0; x < stride; ++x) {
        const bool first = x < pixelBytes;
        row[x] = static_cast<std::uint8_t>(
            row[x] + paeth(first ? 0 : row[x - pixelBytes], above[x], first ? 0 : above[x - pixelBytes]));
      }
      return true;
    default: return false;
  }
}

// Undoes each row's filter; `rows` is height rows of a filter byte and `stride` bytes.
bool unfilter(std::vector<std::uint8_t>& rows, int height, std::size_t stride, std::size_t pixelBytes) {
  const std::vector<std::uint8_t> none(stride, 0);
  const std::uint8_t* above = none.data();
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = rows.data() + static_cast<std::size_t>(y) * (stride + 1);
    if (!unfilterRow(row[0], row + 1, above, stride, pixelBytes)) return false;
    above = row + 1;
  }
  return true;
}

}  // namespace

std::optional<PngSize> pngSize(Bytes png) {
  static constexpr std::array<std::uint8_t, 8> IhdrStart{0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  if (png.size() < 33 || !std::equal(Signature.begin(), Signature.end(), png.begin()) ||
      !std::equal(IhdrStart.begin(), IhdrStart.end(), png.begin() + 8)) {
    return std::nullopt;
  }
  const std::uint32_t width = bigEndian(png.data() + 16), height = bigEndian(png.data() + 20);
  if (width == 0 || height == 0 || width > LargestPictureSide || height > LargestPictureSide) return std::nullopt;
  return PngSize{static_cast<int>(width), static_cast<int>(height)};
}

PicturePixels decodePng(Bytes png) {
  const std::optional<PngSize> size = pngSize(png);
  if (!size) return {};
  const std::uint8_t depth = png[24], colourType = png[25];
  if (depth != 8 || (colourType != 2 && colourType != 6) || png[26] != 0 || png[27] != 0 || png[28] != 0) return {};
  const std::size_t pixelBytes = colourType == 6 ? 4 : 3;

  // The chunks after the signature, each checked; the IDAT data joined.
  std::vector<std::uint8_t> compressed;
  bool ended = false;
  for (std::size_t at = Signature.size(); !ended;) {
    if (png.size() - at < 12) return {};
    const std::uint32_t length = bigEndian(png.data() + at);
    if (length > png.size() - at - 12) return {};
    const Bytes typeAndData = png.subspan(at + 4, length + 4);
    if (CheckSums && chunkCrc(typeAndData) != bigEndian(png.data() + at + 8 + length)) return {};
    const Bytes type = typeAndData.first(4), data = typeAndData.subspan(4);
    const auto is = [&type](const char* name) { return std::equal(type.begin(), type.end(), name); };
    if (is("IDAT")) {
      compressed.insert(compressed.end(), data.begin(), data.end());
    } else if (is("IEND")) {
      ended = true;
    } else if (at != Signature.size() && !is("PLTE") && !(type[0] & 0x20)) {
      return {};  // a critical chunk this decoder does not know (PLTE is only a suggestion here)
    }
    at += 12 + length;
  }

  const std::size_t stride = static_cast<std::size_t>(size->width) * pixelBytes;
  const std::size_t rawSize = (stride + 1) * static_cast<std::size_t>(size->height);
  // Deflate gives at most 258 bytes for each 2 bits it reads: more would be a
  // bomb or a lie, refused before it is allocated.
  if (rawSize / 1032 > compressed.size()) return {};
  std::vector<std::uint8_t> raw(rawSize);
  if (!inflateZlib(compressed, raw) || !unfilter(raw, size->height, stride, pixelBytes)) return {};

  PicturePixels pixels{size->width, size->height,
                       std::vector<std::uint32_t>(static_cast<std::size_t>(size->width) * size->height)};
  std::uint32_t* out = pixels.values.data();
  for (int y = 0; y < size->height; ++y) {
    const std::uint8_t* p = raw.data() + static_cast<std::size_t>(y) * (stride + 1) + 1;
    for (int x = 0; x < size->width; ++x, p += pixelBytes) {
      const std::uint32_t alpha = pixelBytes == 4 ? p[3] : 0xFF;
      *out++ = alpha << 24 | std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2];
    }
  }
  return pixels;
}

}  // namespace kelvane
