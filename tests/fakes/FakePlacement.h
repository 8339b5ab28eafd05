#pragma once
// A control that records every placement access in a shared log and can be told
// to refuse some of them, as a real control refuses a negative size.
#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "controls/Placement.h"

namespace kelvane::testing {

using CallLog = std::vector<std::string>;

class FakePlacement : public Placement {
 public:
  FakePlacement(std::string name, CallLog& log) : name_(std::move(name)), log_(log) {}

  // Accesses named here ("Left", "Top", "Width", "Height", "Visible") fail.
  std::set<std::string> refused;
  // When set, writes are held in whole pixels of this size, as real controls hold them.
  float twipsPerPixel = 0;
  std::map<std::string, float> values{{"Left", 0}, {"Top", 0}, {"Width", 0}, {"Height", 0}};
  bool shown = false;

  bool setLeft(float v) override { return write("Left", v); }
  bool setTop(float v) override { return write("Top", v); }
  bool setWidth(float v) override { return write("Width", v); }
  bool setHeight(float v) override { return write("Height", v); }
  bool setVisible(bool v) override {
    if (refused.count("Visible")) return false;
    shown = v;
    log_.push_back(name_ + ".Visible=" + (v ? "True" : "False"));
    return true;
  }
  std::optional<float> left() const override { return read("Left"); }
  std::optional<float> top() const override { return read("Top"); }
  std::optional<float> width() const override { return read("Width"); }
  std::optional<float> height() const override { return read("Height"); }
  std::optional<bool> visible() const override {
    if (refused.count("Visible")) return std::nullopt;
    return shown;
  }

 private:
  bool write(const std::string& property, float v) {
    if (refused.count(property)) return false;
    if (twipsPerPixel > 0) v = std::round(v / twipsPerPixel) * twipsPerPixel;
    values[property] = v;
    log_.push_back(name_ + "." + property + "=" + formatNumber(v));
    return true;
  }
  std::optional<float> read(const std::string& property) const {
    if (refused.count(property)) return std::nullopt;
    return values.at(property);
  }
  static std::string formatNumber(float v) {
    std::string text = std::to_string(v);
    text.erase(text.find_last_not_of('0') + 1);
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text;
  }

  std::string name_;
  CallLog& log_;
};

}  // namespace kelvane::testing
