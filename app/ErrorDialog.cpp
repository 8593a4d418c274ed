#include "app/ErrorDialog.h"

#include <algorithm>
#include <utility>

#include "app/ErrorDialogIds.h"
#include "ui/Controls.h"

namespace {

constexpr int kLabelGap = 4;  // pixels between the headline and the kind text

}  // namespace

std::string WithCrLfLineBreaks(const std::string& text) {
  std::string result;
  result.reserve(text.size() + 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      result += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      result += "\r\n";
    } else {
      result += c;
    }
  }
  return result;
}

TErrorFRM::TErrorFRM(ErrorReport report) : Dialog(IDD_ERROR, "TErrorFRM", "ErrorFRM"), report(std::move(report)) {}

bool TErrorFRM::OnInit() {
  Item(IDC_ERROR_ICON).Send(STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_HAND)));
  Item(IDC_ERROR_KIND).SetText(report.kindText);
  Item(IDC_ERROR_MESSAGE).SetText(WithCrLfLineBreaks(report.message));
  Item(IDC_ERROR_DETAILS).SetText(WithCrLfLineBreaks(report.details));

  const int grown = FitLabelHeights();
  SetSize(Width(), Height() + grown);
  fullHeight_ = Height();
  int frameHeight = Height() - ClientRect().bottom;
  SetSize(Width(), Item(IDC_ERROR_DETAILS).RectIn(hwnd_).top + frameHeight - 1);
  SetPosition((GetSystemMetrics(SM_CXSCREEN) - Width()) / 2, (GetSystemMetrics(SM_CYSCREEN) - Height()) / 2);

  Item(IDOK).Focus();
  return false;
}

// The headline in bold, the kind text on as many lines as it needs; returns by how much the
// controls below them moved down.
int TErrorFRM::FitLabelHeights() {
  Window headline = Item(IDC_ERROR_TITLE);
  Window kind = Item(IDC_ERROR_KIND);
  LOGFONTA bold{};
  GetObjectA(Font(), sizeof bold, &bold);
  bold.lfWeight = FW_BOLD;
  headlineFont_.Reset(CreateFontIndirectA(&bold));
  if (headlineFont_) headline.SetFont(headlineFont_.Get());

  const RECT headlineRect = headline.RectIn(hwnd_);
  const RECT kindRect = kind.RectIn(hwnd_);
  const int clientWidth = ClientRect().right;
  const SIZE headlineSize = TextExtent(headline, headline.Text(), false);
  const int headlineWidth = std::max<int>(headlineRect.right - headlineRect.left,
                                          std::min<int>(headlineSize.cx, clientWidth - headlineRect.left));
  headline.Move(headlineRect.left, headlineRect.top, headlineWidth, headlineSize.cy);

  const int kindTop = headlineRect.top + headlineSize.cy + kLabelGap;
  const int kindHeight = std::max<int>(kindRect.bottom - kindRect.top, TextExtent(kind, kind.Text(), true).cy);
  kind.Move(kindRect.left, kindTop, kindRect.right - kindRect.left, kindHeight);
  const int grown = std::max<int>(0, kindTop + kindHeight - kindRect.bottom);
  if (grown == 0) return 0;
  for (int id : {IDC_ERROR_MESSAGE, IDOK, IDC_ERROR_DETAILS_BUTTON, IDC_ERROR_DETAILS}) {
    const RECT rect = Item(id).RectIn(hwnd_);
    Item(id).SetPosition(rect.left, rect.top + grown);
  }
  return grown;
}

bool TErrorFRM::OnCommand(int id, int code, HWND) {
  if (id != IDC_ERROR_DETAILS_BUTTON || code != BN_CLICKED) return false;
  ShowDetails();
  return true;
}

void TErrorFRM::ShowDetails() { SetSize(Width(), fullHeight_); }
