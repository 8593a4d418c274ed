#include "app/AboutDialog.h"

#include "app/AboutDialogIds.h"
#include "platform/FileVersion.h"
#include "platform/NativeView.h"

namespace {

std::string OwnExePath() {
  char path[MAX_PATH * 2] = "";
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  return std::string(path, length);
}

// When the running program was linked, as the PE header records it (the linker writes the time
// of every link, so the date follows the build without a rebuild of this file).
FILETIME LinkTime() {
  const auto* base = reinterpret_cast<const unsigned char*>(GetModuleHandleA(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  constexpr ULONGLONG kSecondsFrom1601To1970 = 11644473600ULL;
  ULONGLONG ticks = (headers->FileHeader.TimeDateStamp + kSecondsFrom1601To1970) * 10000000ULL;
  return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

}  // namespace

TfAbout::TfAbout() : Dialog(IDD_ABOUT, "TfAbout", "fAbout") {}

bool TfAbout::OnInit() {
  Item(IDC_ABOUT_VERSION).SetText(version.empty() ? "Version unknown" : "Version " + version);
  Item(IDC_ABOUT_BUILD).SetText("Built " + buildDate + " for " + architecture);
  Item(IDC_ABOUT_VIEW).SetText("Records: " + recordedView);
  return true;
}

std::string DateText(const FILETIME& utc) {
  FILETIME local;
  SYSTEMTIME date;
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &date)) return "";
  char text[80] = "";
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &date, nullptr, text, sizeof text);
  return text;
}

const char* BuildArchitecture() { return sizeof(void*) == 8 ? "x64" : "x86"; }

void RunAboutDialog(HWND owner) {
  TfAbout form;
  form.version = FileVersionNumber(OwnExePath());
  form.buildDate = DateText(LinkTime());
  form.architecture = BuildArchitecture();
  form.recordedView = RecordedView();
  form.DoModal(owner);
}
