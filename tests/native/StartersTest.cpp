// Which program starts a file, and how the folder of copies is made.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Launcher.h"

namespace kelvane {
namespace {

const StarterPrograms Programs{L"C:\\S\\cmd.exe", L"C:\\S\\mmc.exe", L"C:\\W\\hh.exe"};

TEST(Starters, EachKindOfFileStartsByItsOwnProgramByFullPathAndOnlyMachineWideAssociationsAreAsked) {
  std::vector<std::wstring> asked;
  const AssociationLookup machine = [&](std::wstring_view extension) -> std::optional<std::wstring> {
    asked.emplace_back(extension);
    if (extension == L".txt") return L"\"C:\\Windows\\notepad.exe\" %1 %2";
    if (extension == L".log") return L"C:\\Tools\\viewer.exe /v";  // no %1: the file goes last
    if (extension == L".ini") return L"notepad.exe %1";  // no full path: would be searched for
    return std::nullopt;
  };
  const auto start = [&](std::wstring_view file, const StarterPrograms& programs = Programs) {
    return startRequest(file, L"", programs, machine);
  };
  EXPECT_EQ(start(L"C:\\T\\1\\Fix.CMD"),
            (ProcessRequest{Programs.commandInterpreter, L"\"C:\\S\\cmd.exe\" /d /c \"C:\\T\\1\\Fix.CMD\""}));
  EXPECT_EQ(start(L"C:\\T\\1\\old.bat")->application, Programs.commandInterpreter);
  EXPECT_EQ(start(L"C:\\T\\2\\helper.exe"), (ProcessRequest{L"C:\\T\\2\\helper.exe", L"\"C:\\T\\2\\helper.exe\""}));
  EXPECT_EQ(startRequest(L"C:\\W\\a.msc", L"/s", Programs, machine),
            (ProcessRequest{Programs.managementConsole, L"\"C:\\S\\mmc.exe\" \"C:\\W\\a.msc\" /s"}));
  EXPECT_EQ(start(L"C:\\T\\3\\hdguide.chm"),
            (ProcessRequest{Programs.helpViewer, L"\"C:\\W\\hh.exe\" \"C:\\T\\3\\hdguide.chm\""}));
  EXPECT_TRUE(asked.empty()) << "the four kinds of the program never depend on an association";

  EXPECT_EQ(start(L"C:\\T\\4\\read me.txt"),
            (ProcessRequest{L"C:\\Windows\\notepad.exe", L"\"C:\\Windows\\notepad.exe\" C:\\T\\4\\read me.txt "}));
  EXPECT_EQ(start(L"C:\\T\\5\\a.LOG")->commandLine, L"C:\\Tools\\viewer.exe /v \"C:\\T\\5\\a.LOG\"");
  for (const wchar_t* file : {L"C:\\T\\6\\a.ini", L"C:\\T\\7\\a.xyz"}) EXPECT_EQ(start(file), std::nullopt) << file;
  EXPECT_EQ(asked, (std::vector<std::wstring>{L".txt", L".log", L".ini", L".xyz"}));
  // A starter the system lacks, or a file not named by full path, starts nothing.
  EXPECT_EQ(start(L"C:\\T\\1\\Fix.cmd", StarterPrograms{}), std::nullopt);
  EXPECT_EQ(start(L"Fix.exe"), std::nullopt);
}

// Answers as a file system would, and records what it was asked.
struct FakeFolders : CopyFolderSystem {
  Made made = Made::Created;
  bool plain = true;
  std::vector<std::wstring> madePaths;
  std::wstring security;
  Made makeFolder(const std::wstring& path, const wchar_t* text) override {
    madePaths.push_back(path);
    security = text;
    return made;
  }
  bool isPlainFolder(const std::wstring&) override { return plain; }
};

TEST(CopyFolder, IsMadeNewForSystemAndAdministratorsAloneAndNeverTakesANameThatExistsOrALink) {
  const unsigned char random[16] = {0x00, 0x1f, 0xa0, 0xff, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0xbc};
  const std::wstring name = copyFolderName(random);
  EXPECT_EQ(name, L"Kelvane-001fa0ff0102030405060708090a0bbc");
  FakeFolders folders;
  EXPECT_EQ(makeCopyFolder(folders, L"C:\\Windows\\Temp", name), L"C:\\Windows\\Temp\\" + name);
  // Owned by Administrators; a protected list of SYSTEM and Administrators alone.
  const std::wstring& sddl = folders.security;
  EXPECT_TRUE(sddl.starts_with(L"O:BA") && sddl.find(L"D:P(") != std::wstring::npos) << sddl;
  std::vector<std::wstring> entries;  // each "(A;...;SID)": allowing, and to whom
  for (size_t ace = sddl.find(L'('); ace != std::wstring::npos; ace = sddl.find(L'(', ace + 1)) {
    const std::wstring entry = sddl.substr(ace + 1, sddl.find(L')', ace) - ace - 1);
    entries.push_back(entry.substr(0, 2) + entry.substr(entry.rfind(L';') + 1));
  }
  EXPECT_EQ(entries, (std::vector<std::wstring>{L"A;SY", L"A;BA"}));

  folders.made = CopyFolderSystem::Made::Exists;  // planted before us: a folder, a junction, a link
  EXPECT_EQ(makeCopyFolder(folders, L"C:\\Windows\\Temp\\", name), std::nullopt);
  folders.made = CopyFolderSystem::Made::Created;
  folders.plain = false;  // made, but what is there now is not a plain folder at that path
  EXPECT_EQ(makeCopyFolder(folders, L"C:\\Windows\\Temp", name), std::nullopt);
  EXPECT_EQ(folders.madePaths, std::vector<std::wstring>(3, L"C:\\Windows\\Temp\\" + name));

  // A copy inside is named so that cmd needs no quoting rule.
  EXPECT_EQ(safeCopyName(L"修复 x&y(2)^%a%!=;,.cmd"), L"修复_x_y_2___a_____.cmd");
  // Only names of that very form count as earlier runs' folders.
  EXPECT_TRUE(isCopyFolderName(name));
  for (const std::wstring& other : {name.substr(1), name + L"0", L"Kelvane-" + std::wstring(32, L'A')}) {
    EXPECT_FALSE(isCopyFolderName(other)) << other;
  }
}

}  // namespace
}  // namespace kelvane
