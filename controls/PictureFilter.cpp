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

// Adds `weight` times source row `y`, resized across, to `row`.
void addResizedRow(const PicturePixels& source, int y, float weight, const AxisTaps& across,
                   std::vector<Premultiplied>& row) {
  const std::uint32_t* line = source.values.data() + static_cast<std::size_t>(y) * source.width;
  for (std::size_t x = 0; x + 1 < across.first.size(); ++x) {
    Premultiplied& target = row[x];
    for (std::size_t k = across.first[x]; k < across.first[x + 1]; ++k) {
      const Premultiplied value = premultiply(line[across.taps[k].index]);
      const float share = weight * across.taps[k].weight;
      for (std::size_t c = 0; c < 4; ++c) target[c] += value[c] * share;
    }
  }
}

}  // namespace

PicturePixels resizePicture(const PicturePixels& source, int width, int height) {
  if (width <= 0 || height <= 0 || source.width <= 0 || source.height <= 0 ||
      source.values.size() != static_cast<std::size_t>(source.width) * source.height) {
    return {};
  }
  PicturePixels result{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
  const AxisTaps across = axisTaps(source.width, width);
  const AxisTaps down = axisTaps(source.height, height);
  // One new row at a time: a source row is resized across once for each new row
  // it lies under (one or two when reducing), which needs no picture-sized buffer.
  std::vector<Premultiplied> row(static_cast<std::size_t>(width));
  for (int y = 0; y < height; ++y) {
    std::fill(row.begin(), row.end(), Premultiplied{});
    for (std::size_t k = down.first[y]; k < down.first[y + 1]; ++k) {
      addResizedRow(source, down.taps[k].index, down.taps[k].weight, across, row);
    }
    std::uint32_t* out = result.values.data() + static_cast<std::size_t>(y) * width;
    for (int x = 0; x < width; ++x) out[x] = unpremultiply(row[x]);
  }
  return result;
}

}  // namespace kelvane
