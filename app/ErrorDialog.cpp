#include "app/ErrorDialog.h"

#include <utility>

#include "app/ErrorDialogIds.h"

namespace {

// Edit controls break lines only at "\r\n"; messages of the runtime may use "\n" alone.
std::string WithCrLf(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) result += '\r';
    result += text[i];
  }
  return result;
}

}  // namespace

TErrorFRM::TErrorFRM(ErrorReport report) : Dialog(IDD_ERROR, "TErrorFRM", "ErrorFRM"), report(std::move(report)) {}

bool TErrorFRM::OnInit() {
  Item(IDC_ERROR_ICON).Send(STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_HAND)));
  Item(IDC_ERROR_KIND).SetText(report.kindText);
  Item(IDC_ERROR_MESSAGE).SetText(WithCrLf(report.message));
  Item(IDC_ERROR_DETAILS).SetText(WithCrLf(report.details));

  fullHeight_ = Height();
  int frameHeight = Height() - ClientRect().bottom;
  SetSize(Width(), Item(IDC_ERROR_DETAILS).RectIn(hwnd_).top + frameHeight - 1);
  SetPosition((GetSystemMetrics(SM_CXSCREEN) - Width()) / 2, (GetSystemMetrics(SM_CYSCREEN) - Height()) / 2);

  Item(IDOK).Focus();
  return false;
}

bool TErrorFRM::OnCommand(int id, int code, HWND) {
  if (id != IDC_ERROR_DETAILS_BUTTON || code != BN_CLICKED) return false;
  ShowDetails();
  return true;
}

void TErrorFRM::ShowDetails() { SetSize(Width(), fullHeight_); }
