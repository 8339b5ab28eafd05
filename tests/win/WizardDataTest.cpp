// The solution data as installed: GBK, one section and one record file per topic,
// counts from 0 to 4, captions that fit the 49-byte buffer.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/Ansi.h"
#include "common/Files.h"
#include "common/TextEncoding.h"
#include "tests/fakes/ScriptedMessageBoxes.h"
#include "tests/win/TestSupport.h"
#include "wizard/IniRules.h"
#include "wizard/RecordText.h"
#include "wizard/SolutionFiles.h"
#include "wizard/modIni.h"

namespace kelvane {
namespace {

const wchar_t* const Topics[] = {L"msgwin", L"msgdos", L"boot0", L"boot1", L"net0", L"net1",
                                 L"net2",   L"sys0",   L"sys1",  L"sys2",  L"sys3", L"sys4"};

bool isStrictGbk(const std::string& bytes) {
  if (bytes.empty()) return true;
  return MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0) > 0;
}

TEST(InstalledWizardData, EveryTopicHasAReadableGbkRecordWithRealContent) {
  const std::wstring data = testing::installedAppDirectory() + L"\\data\\";
  for (const wchar_t* topic : Topics) {
    const auto bytes = readFileBytes(data + topic + L".Rd");
    ASSERT_TRUE(bytes) << ::testing::PrintToString(std::wstring(topic));
    EXPECT_TRUE(isStrictGbk(*bytes)) << ::testing::PrintToString(std::wstring(topic));
    EXPECT_GT(bytes->size(), 1500u) << ::testing::PrintToString(std::wstring(topic));
    // An ASCII comma would break a sentence over two lines.
    EXPECT_EQ(bytes->find(','), std::string::npos) << ::testing::PrintToString(std::wstring(topic));
  }
}

TEST(InstalledWizardData, EveryTopicHasItsSectionWithACountAndCaptionsThatFit) {
  const std::wstring app = testing::installedAppDirectory();
  const auto iniBytes = readFileBytes(app + L"\\data\\sol.ini");
  ASSERT_TRUE(iniBytes);
  EXPECT_TRUE(isStrictGbk(*iniBytes));
  testing::ScriptedMessageBoxes messageBoxes;
  modIni ini(app, messageBoxes, [] {});
  // The system's profile reader as a reference, on a UTF-16 copy it reads alike at any code page.
  const testing::ScratchDirectory copy(L"sol-utf16");
  const std::wstring reference = copy.path() + L"\\sol.ini";
  ASSERT_TRUE(testing::writeFile(reference, "\xFF\xFE" + wideToUtf16Le(gbkToWide(*iniBytes))));
  for (const wchar_t* topic : Topics) {
    const std::optional<int> count = solutionCount(ini.IniAccess(L"GET", topic, L"totalcount"));
    ASSERT_TRUE(count) << ::testing::PrintToString(std::wstring(topic));
    for (int number = 1; number <= *count; ++number) {
      const std::wstring key = L"caption" + std::to_wstring(number);
      // Read through a large buffer, so a caption longer than 49 bytes shows.
      wchar_t full[512] = {};
      GetPrivateProfileStringW(topic, key.c_str(), L"", full, 512, reference.c_str());
      const int bytes = static_cast<int>(exactGbk(full).value_or("").size());
      EXPECT_GT(bytes, 0) << ::testing::PrintToString(key);
      EXPECT_LE(bytes, 49) << ::testing::PrintToString(std::wstring(full));
      EXPECT_EQ(ini.IniAccess(L"GET", topic, key), full);
    }
  }
  EXPECT_TRUE(messageBoxes.shown.empty());
}

TEST(InstalledWizardData, EveryTopicTextReadsAsCodePage936ReadsIt) {
  const std::wstring app = testing::installedAppDirectory();
  testing::ScriptedMessageBoxes messageBoxes;
  SolutionFiles files(app, messageBoxes, [] {});
  for (const wchar_t* topic : Topics) {
    const std::string shown = recordDisplayBytes(readFileBytes(app + L"\\data\\" + topic + L".Rd").value_or(""));
    std::wstring expected(shown.size(), L'\0');
    expected.resize(static_cast<size_t>(MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, shown.data(),
        static_cast<int>(shown.size()), expected.data(), static_cast<int>(expected.size()))));
    EXPECT_EQ(files.recordText(topic), expected) << ::testing::PrintToString(std::wstring(topic));
  }
}

// A step that changes firmware settings or the boot order makes a computer with
// BitLocker or device encryption ask for its recovery key at the next start: a
// topic that leads there says so, and where the key is, before the user acts.
// The repairs of the recovery environment ask for it too; the warning comes first.
TEST(InstalledWizardData, EveryTopicWarnsAboutTheRecoveryKeyBeforeTheFirstStepThatAsksForIt) {
  const std::wstring app = testing::installedAppDirectory();
  const std::wstring ini = app + L"\\data\\sol.ini";
  const wchar_t* const firmwareWords[] = {L"BIOS", L"CMOS", L"UEFI", L"启动顺序", L"第一启动项"};
  const wchar_t* const keySteps[] = {L"BIOS默认设置", L"恢复默认设置", L"Load Optimized Defaults", L"启动顺序", L"第一启动项",
                                     L"安全模式",     L"恢复环境",     L"自动修复",                L"启动修复", L"bootrec"};
  std::vector<std::wstring> warned;
  for (const wchar_t* topic : Topics) {
    const auto bytes = readFileBytes(app + L"\\data\\" + topic + L".Rd");
    ASSERT_TRUE(bytes);
    std::wstring text(bytes->size(), L'\0');
    text.resize(static_cast<size_t>(
        MultiByteToWideChar(936, 0, bytes->data(), static_cast<int>(bytes->size()), text.data(), static_cast<int>(text.size()))));
    // The solution captions count too: "进入BIOS检查硬盘和启动顺序" sends the user there as well.
    std::wstring captions(4096, L'\0');
    captions.resize(GetPrivateProfileSectionW(topic, captions.data(), 4096, ini.c_str()));
    const std::wstring topicText = text + captions;
    size_t firstStep = std::wstring::npos;
    for (const wchar_t* step : keySteps) firstStep = std::min(firstStep, text.find(step));
    bool touchesFirmware = firstStep != std::wstring::npos;
    for (const wchar_t* word : firmwareWords) touchesFirmware |= topicText.find(word) != std::wstring::npos;
    if (!touchesFirmware) continue;
    warned.push_back(topic);
    EXPECT_NE(text.find(L"BitLocker"), std::wstring::npos) << ::testing::PrintToString(std::wstring(topic));
    EXPECT_NE(text.find(L"恢复密钥"), std::wstring::npos) << ::testing::PrintToString(std::wstring(topic));
    EXPECT_NE(text.find(L"aka.ms/myrecoverykey"), std::wstring::npos) << ::testing::PrintToString(std::wstring(topic));
    EXPECT_LT(text.find(L"恢复密钥"), firstStep) << ::testing::PrintToString(std::wstring(topic));
  }
  // The topics known to send the user into the firmware settings or safe mode are among them.
  for (const wchar_t* topic : {L"msgdos", L"boot0", L"boot1", L"sys1", L"sys4"}) {
    EXPECT_NE(std::find(warned.begin(), warned.end(), topic), warned.end()) << ::testing::PrintToString(std::wstring(topic));
  }
}

}  // namespace
}  // namespace kelvane
