#pragma once
// The solution store on disk: "\data\sol.ini" through modIni and one record file
// "\data\<topic>.Rd" per topic, read with the item reader.
#include <functional>

#include "wizard/WizardLogic.h"
#include "wizard/modIni.h"

namespace kelvane {

class SolutionFiles final : public SolutionStore {
 public:
  SolutionFiles(std::wstring appDirectory, MessageBoxes& messageBoxes, std::function<void()> endProcess)
      : appDirectory_(std::move(appDirectory)), ini_(appDirectory_, messageBoxes, std::move(endProcess)) {}

  std::optional<std::wstring> recordText(const std::wstring& topic) override;
  std::wstring IniAccess(std::wstring_view mode, std::wstring_view section, std::wstring_view key,
                         const std::optional<std::wstring>& value = std::nullopt) override {
    return ini_.IniAccess(mode, section, key, value);
  }
  std::wstring recordPath(const std::wstring& topic) const override;
  std::wstring iniPath() const override { return ini_.path(); }
  std::optional<uint64_t> fileSize(const std::wstring& path) const override;

 private:
  std::wstring appDirectory_;
  modIni ini_;
};

}  // namespace kelvane
