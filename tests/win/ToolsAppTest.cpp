// The installed catalogue and repair programs, and both tool pages in the running
// program.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include <optional>
#include <string>
#include <vector>

#include "common/Files.h"
#include "common/ItemReader.h"
#include "common/Handles.h"
#include "shell/FrmmainText.h"
#include "tests/win/TestSupport.h"
#include "tools/SysToolCommands.h"
#include "tools/ToolCatalogue.h"

namespace kelvane {
namespace {

using testing::fileExists;
using testing::installedAppDirectory;
using testing::waitUntil;

// Strict GBK decoding: nothing when the bytes are not valid in code page 936.
std::optional<std::wstring> decodeGbk(const std::string& bytes) {
  if (bytes.empty()) return std::wstring();
  const int size = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                                       nullptr, 0);
  if (size <= 0) return std::nullopt;
  std::wstring text(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), text.data(), size);
  return text;
}

std::vector<ToolRecord> installedEntries() {
  const std::optional<std::string> bytes = readFileBytes(installedAppDirectory() + L"\\tooll\\tool.txt");
  if (!bytes) return {};
  std::vector<std::wstring> records;
  for (const std::string& item : readItems(*bytes)) records.push_back(decodeGbk(item).value_or(L"?"));
  return toolEntries(records);
}

TEST(InstalledCatalogue, IsGbkAndEveryRecordNamesAProgramThatExists) {
  const std::optional<std::string> bytes = readFileBytes(installedAppDirectory() + L"\\tooll\\tool.txt");
  ASSERT_TRUE(bytes);
  ASSERT_TRUE(decodeGbk(*bytes));
  const std::vector<ToolRecord> entries = installedEntries();
  EXPECT_GE(entries.size(), 10u);
  EXPECT_LE(entries.size(), 20u);
  // Every line is a record: none is lost for want of a TAB.
  EXPECT_EQ(readItems(*bytes).size(), entries.size());
  for (const ToolRecord& entry : entries) {
    EXPECT_FALSE(entry.caption.empty());
    EXPECT_TRUE(fileExists(installedAppDirectory() + L"\\tooll\\" + entry.file)) << entry.file;
  }
}

TEST(InstalledCatalogue, EveryRepairProgramIsAGbkBatchFileThatWaitsBeforeItCloses) {
  for (const ToolRecord& entry : installedEntries()) {
    const std::optional<std::string> bytes = readFileBytes(installedAppDirectory() + L"\\tooll\\" + entry.file);
    ASSERT_TRUE(bytes) << entry.file;
    const std::optional<std::wstring> text = decodeGbk(*bytes);
    ASSERT_TRUE(text) << entry.file << " is not GBK";
    // Every line ends in CR LF, as cmd reads it.
    for (size_t i = 0; i < bytes->size(); ++i) {
      if ((*bytes)[i] == '\n') {
        ASSERT_TRUE(i > 0 && (*bytes)[i - 1] == '\r') << entry.file;
      }
    }
    // Only characters whose both bytes lie above ASCII, so none can be taken for
    // a backslash, caret or pipe by a parser that reads bytes.
    for (size_t i = 0; i < bytes->size(); ++i) {
      const auto byte = static_cast<unsigned char>((*bytes)[i]);
      if (byte < 0x80) continue;
      ASSERT_LT(i + 1, bytes->size());
      EXPECT_GE(static_cast<unsigned char>((*bytes)[i + 1]), 0xA1) << entry.file << " at " << i;
      ++i;
    }
    EXPECT_NE(text->find(L"pause"), std::wstring::npos) << entry.file;
    EXPECT_NE(text->find(L"本程序"), std::wstring::npos) << entry.file << " says what it does";
  }
}

class ToolPagesInTheProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    app_ = std::make_unique<testing::RunningApp>();
    main_ = app_->mainWindow();
    ASSERT_NE(main_, nullptr);
  }
  HWND showPage(int index, const wchar_t* title) {
    HWND menuBar = FindWindowExW(main_, nullptr, L"KelvanePanel", L"Menu");
    PostMessageW(FindWindowExW(menuBar, nullptr, L"Button", frmmain_text::PageButtons[index].data()), BM_CLICK, 0, 0);
    HWND page = FindWindowExW(main_, nullptr, L"KelvanePanel", title);
    waitUntil([&] { return IsWindowVisible(page) != FALSE; });
    return page;
  }

  std::unique_ptr<testing::RunningApp> app_;  // ends the program after each test
  HWND main_ = nullptr;
};

TEST_F(ToolPagesInTheProgram, TheRepairToolPageShowsOneButtonPerCatalogueEntry) {
  HWND page = showPage(1, L"维护工具");
  ASSERT_TRUE(IsWindowVisible(page));
  for (const ToolRecord& entry : installedEntries()) {
    HWND button = FindWindowExW(page, nullptr, L"Button", entry.caption.c_str());
    ASSERT_NE(button, nullptr) << entry.file;
    EXPECT_TRUE(IsWindowVisible(button));
  }
  EXPECT_NE(FindWindowExW(page, nullptr, L"Button", L"前一页"), nullptr);
  EXPECT_NE(FindWindowExW(page, nullptr, L"Button", L"后一页"), nullptr);
}

TEST_F(ToolPagesInTheProgram, TheSystemUtilityPageShowsItsTenButtonsAndTheWarning) {
  HWND page = showPage(2, L"系统工具");
  ASSERT_TRUE(IsWindowVisible(page));
  for (const SysUtility& utility : SysUtilities) {
    EXPECT_NE(FindWindowExW(page, nullptr, L"Button", std::wstring(utility.caption).c_str()), nullptr);
  }
  EXPECT_NE(FindWindowExW(page, nullptr, L"Static", std::wstring(systool_text::Warning).c_str()), nullptr);
}

}  // namespace
}  // namespace kelvane
