#include "controls/PictureFilter.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace kelvane {
namespace {

// One source pixel under a new pixel, with the share of the new pixel it fills.
struct Tap {
  int index;
  float weight;
};

// Along one axis, the taps of every new cell, kept in one array: cell t's taps
// are taps[first[t]] .. taps[first[t + 1] - 1].
struct AxisTaps {
  std::vector<Tap> taps;
  std::vector<std::size_t> first;
};

// Cell t of `target` cells spans [t * source, (t + 1) * source) and source cell i
// spans [i * target, (i + 1) * target), both in units of 1 / (source * target)
// of the whole length: the overlaps are exact integers and sum to `source`.
AxisTaps axisTaps(int source, int target) {
  AxisTaps axis;
  axis.first.reserve(static_cast<std::size_t>(target) + 1);
  const long long s = source;
  const long long t = target;
  for (long long cell = 0; cell < t; ++cell) {
    axis.first.push_back(axis.taps.size());
    const long long low = cell * s;
    const long long high = low + s;
    for (long long i = low / t; i < source && i * t < high; ++i) {
      const long long overlap = std::min(high, (i + 1) * t) - std::max(low, i * t);
      if (overlap > 0) axis.taps.push_back({static_cast<int>(i), static_cast<float>(overlap) / s});
    }
  }
  axis.first.push_back(axis.taps.size());
  return axis;
}

// Blue, green and red multiplied by alpha / 255, then alpha: the values that average.
using Premultiplied = std::array<float, 4>;

Premultiplied premultiply(std::uint32_t pixel) {
  const float alpha = static_cast<float>(pixel >> 24);
  const float share = alpha / 255.0f;
  return {static_cast<float>(pixel & 0xFF) * share, static_cast<float>((pixel >> 8) & 0xFF) * share,
          static_cast<float>((pixel >> 16) & 0xFF) * share, alpha};
}

std::uint32_t toByte(float value) { return static_cast<std::uint32_t>(std::clamp(value, 0.0f, 255.0f) + 0.5f); }

std::uint32_t unpremultiply(const Premultiplied& sum) {
  const float alpha = sum[3];
  if (alpha <= 0.0f) return 0;
  const float share = alpha / 255.0f;
  return toByte(sum[0] / share) | toByte(sum[1] / share) << 8 | toByte(sum[2] / share) << 16 | toByte(alpha) << 24;
}

// Source row `y` resized across, premultiplied; `line` is room for the source row.
void resizeRow(const PicturePixels& source, int y, const AxisTaps& across, std::vector<Premultiplied>& line,
               std::vector<Premultiplied>& row) {
  const std::uint32_t* pixels = source.values.data() + static_cast<std::size_t>(y) * source.width;
  for (int x = 0; x < source.width; ++x) line[x] = premultiply(pixels[x]);
  for (std::size_t x = 0; x + 1 < across.first.size(); ++x) {
    Premultiplied sum{};
    for (std::size_t k = across.first[x]; k < across.first[x + 1]; ++k) {
      const Premultiplied& value = line[across.taps[k].index];
      const float weight = across.taps[k].weight;
      for (std::size_t c = 0; c < 4; ++c) sum[c] += value[c] * weight;
    }
    row[x] = sum;
  }
}

// The source rows resized across, each made once: a new row reads a run of
// source rows that moves down the picture, so the last few are kept in a ring
// as large as the longest run.
class ResizedRows {
 public:
  ResizedRows(const PicturePixels& source, const AxisTaps& across, const AxisTaps& down)
      : source_(source), across_(across), line_(static_cast<std::size_t>(source.width)) {
    std::size_t longest = 1;
    for (std::size_t t = 0; t + 1 < down.first.size(); ++t) {
      longest = std::max(longest, down.first[t + 1] - down.first[t]);
    }
    rows_.assign(longest, std::vector<Premultiplied>(across.first.size() - 1));
    made_.assign(longest, -1);
  }

  const std::vector<Premultiplied>& row(int y) {
    const std::size_t slot = static_cast<std::size_t>(y) % rows_.size();
    if (made_[slot] != y) {
      resizeRow(source_, y, across_, line_, rows_[slot]);
      made_[slot] = y;
    }
    return rows_[slot];
  }

 private:
  const PicturePixels& source_;
  const AxisTaps& across_;
  std::vector<Premultiplied> line_;
  std::vector<std::vector<Premultiplied>> rows_;
  std::vector<int> made_;  // the source row each slot holds; -1: none yet
};

}  // namespace

PicturePixels resizePicture(const PicturePixels& source, int width, int height) {
  if (width <= 0 || height <= 0 || source.width <= 0 || source.height <= 0 ||
      source.values.size() != static_cast<std::size_t>(source.width) * source.height) {
    return {};
  }
  PicturePixels result{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
  const AxisTaps across = axisTaps(source.width, width);
  const AxisTaps down = axisTaps(source.height, height);
  ResizedRows resized(source, across, down);
  std::vector<Premultiplied> row(static_cast<std::size_t>(width));
  for (int y = 0; y < height; ++y) {
    std::fill(row.begin(), row.end(), Premultiplied{});
    for (std::size_t k = down.first[y]; k < down.first[y + 1]; ++k) {
      const std::vector<Premultiplied>& part = resized.row(down.taps[k].index);
      const float weight = down.taps[k].weight;
      for (int x = 0; x < width; ++x) {
        for (std::size_t c = 0; c < 4; ++c) row[x][c] += part[x][c] * weight;
      }
    }
    std::uint32_t* out = result.values.data() + static_cast<std::size_t>(y) * width;
    for (int x = 0; x < width; ++x) out[x] = unpremultiply(row[x]);
  }
  return result;
}

}  // namespace kelvane
