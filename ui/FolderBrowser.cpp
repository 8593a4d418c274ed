#include "ui/FolderBrowser.h"

#include <shlobj.h>

namespace {

// Owns an item id list the shell allocated.
class ItemIdList {
 public:
  explicit ItemIdList(LPITEMIDLIST list = nullptr) : list_(list) {}
  ~ItemIdList() { CoTaskMemFree(list_); }
  ItemIdList(const ItemIdList&) = delete;
  ItemIdList& operator=(const ItemIdList&) = delete;
  LPITEMIDLIST Get() const { return list_; }
  LPITEMIDLIST* Out() { return &list_; }

 private:
  LPITEMIDLIST list_;
};

// The shell's picker wants COM on the calling thread; this keeps it for the call.
class ComScope {
 public:
  ComScope() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (initialized_) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool initialized_;
};

struct BrowseContext {
  const FolderBrowseSpec* spec;
  std::string preset;
};

int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM, LPARAM data) {
  if (message != BFFM_INITIALIZED) return 0;
  const auto& context = *reinterpret_cast<const BrowseContext*>(data);
  if (!context.spec->title.empty()) SetWindowTextA(window, context.spec->title.c_str());
  if (!context.preset.empty())
    SendMessageA(window, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(context.preset.c_str()));
  return 0;
}

// The shell parses "C:\DATA" but not always "C:\DATA\"; a drive's root keeps its backslash.
std::string WithoutTrailingBackslash(std::string folder) {
  while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder;
}

}  // namespace

bool BrowseForFolder(HWND owner, const FolderBrowseSpec& spec, std::string& folder) {
  ComScope com;
  BrowseContext context{&spec, WithoutTrailingBackslash(folder)};
  ItemIdList root;
  if (spec.startAtDrives) SHGetSpecialFolderLocation(owner, CSIDL_DRIVES, root.Out());

  char displayName[MAX_PATH] = "";
  BROWSEINFOA info{};
  info.hwndOwner = owner;
  info.pidlRoot = root.Get();
  info.pszDisplayName = displayName;
  info.lpszTitle = spec.statusText.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(&context);
  ItemIdList chosen(SHBrowseForFolderA(&info));
  if (!chosen.Get()) return false;

  char path[MAX_PATH] = "";
  if (!SHGetPathFromIDListA(chosen.Get(), path)) return false;
  folder = path;
  return true;
}
