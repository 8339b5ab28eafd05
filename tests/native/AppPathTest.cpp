#include "common/AppPath.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(AppPath, TheApplicationDirectoryHasNoTrailingBackslash) {
  EXPECT_EQ(directoryOfModule(L"C:\\Program Files\\Kelvane\\Kelvane.exe"), L"C:\\Program Files\\Kelvane");
  EXPECT_EQ(directoryOfModule(L"\\\\server\\share\\Kelvane.exe"), L"\\\\server\\share");
}

TEST(AppPath, ADriveRootKeepsItsBackslashAndJoinsWithTwo) {
  const std::wstring root = directoryOfModule(L"D:\\Kelvane.exe");
  EXPECT_EQ(root, L"D:\\");
  EXPECT_EQ(appPath(root, L"\\data\\sol.ini"), L"D:\\\\data\\sol.ini");
}

TEST(AppPath, DataPathsArePlainConcatenations) {
  EXPECT_EQ(appPath(L"C:\\K", L"\\tooll\\tool.txt"), L"C:\\K\\tooll\\tool.txt");
}

}  // namespace
}  // namespace kelvane
