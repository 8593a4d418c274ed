#pragma once
// A folder of the running test's own under the temp folder, empty at the start and removed
// with everything in it at the end, with the file helpers the tests on real folders share.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

class TestFolder {
 public:
  // "QuorvelCapture_<suite>.<test>".
  TestFolder() : TestFolder("QuorvelCapture_" + CurrentTestName()) {}
  ~TestFolder() { RemoveTree(path_); }
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  // Ends with a backslash.
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& relative) const { return path_ + relative; }

  void Folder(const std::string& relative) const {
    ASSERT_TRUE(CreateDirectoryA((path_ + relative).c_str(), nullptr)) << relative;
  }
  void File(const std::string& relative, const std::string& content) const { WriteFile(path_ + relative, content); }

  static void WriteFile(const std::string& path, const std::string& content) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
  }
  // The content, or "<missing>".
  static std::string Read(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string content(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, content.data(), static_cast<DWORD>(content.size()), &read, nullptr);
    CloseHandle(file);
    content.resize(read);
    return content;
  }
  static bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

  // Removes folder (ending with a backslash) with everything in it, write-protected files too,
  // names the code page cannot spell and paths beyond MAX_PATH included (the wide functions with
  // the "\\?\" prefix reach them all).
  static void RemoveTree(const std::string& folder) {
    RemoveWideTree(L"\\\\?\\" + std::wstring(folder.begin(), folder.end()));
  }

 protected:
  // The folder of that name under the temp folder.
  explicit TestFolder(const std::string& name) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + name + "\\";
    RemoveTree(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
  }

  // "<suite>.<test>", without path separators.
  static std::string CurrentTestName() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name)
      if (c == '/' || c == '\\') c = '_';
    return name;
  }

 private:
  static void RemoveWideTree(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + name;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          RemoveWideTree(path + L"\\");
        else
          DeleteFileW(path.c_str());
      } while (FindNextFileW(find, &entry));
      FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
  }

  std::string path_;
};
