#include "wizards/WelcomeDialog.h"

#include "app/WindowLayout.h"
#include "platform/TMyRegistry.h"
#include "res/resource.h"
#include "wizards/WelcomeDialogIds.h"

namespace {

constexpr const char* kDontShowValue = "DontShowWelcome";

bool ReadDontShow(const std::string& keyPath) {
  TMyRegistry reg(HKEY_CURRENT_USER, kRegAccessReadWrite);
  return reg.OpenKey(keyPath, true) && !ReadWelcomeFlag(reg);
}

}  // namespace

TWelcomeFRM::TWelcomeFRM(std::string settingsKeyPath, std::function<HICON(int command)> picture)
    : Dialog(IDD_WELCOME, "TWelcomeFRM", "WelcomeFRM"),
      keyPath_(std::move(settingsKeyPath)),
      picture_(std::move(picture)) {}

TWelcomeFRM::~TWelcomeFRM() {
  for (HICON picture : pictures_) DestroyIcon(picture);
}

bool TWelcomeFRM::OnInit() {
  // The texts in the box's font.
  HFONT font = Item(IDC_WELCOME_DONT_SHOW).Font();
  const std::pair<int, const char*> texts[] = {
      {IDC_WELCOME_TO, "Welcome \r\nto"},
      {IDC_WELCOME_NEW, "This version includes a new wizard to help get you started.\r\n"},
      {IDC_WELCOME_LIGHTBULB_TEXT,
       "You can also start the new wizard at any\r\ntime with the lightbulb icon in the toolbar."},
      {IDC_WELCOME_RABBIT_TEXT,
       "The Step-by-Step Wizard from the earlier\r\nversions is also still available (rabbit icon)."},
  };
  for (const auto& [id, text] : texts) {
    Item(id).SetFont(font, false);
    Item(id).SetText(text);
  }
  LOGFONTA large{};
  GetObjectA(font, sizeof large, &large);
  large.lfHeight *= 2;
  large.lfWeight = FW_BOLD;
  nameFont_.Reset(CreateFontIndirectA(&large));
  Item(IDC_WELCOME_NAME).SetFont(nameFont_.Get(), false);
  Item(IDC_WELCOME_ICON)
      .Send(STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_QUORVEL))));
  for (const auto& [id, command] :
       {std::pair{IDC_WELCOME_LIGHTBULB, IDM_START_WIZARD}, std::pair{IDC_WELCOME_RABBIT, IDM_STEP_WIZARD}}) {
    if (HICON icon = picture_ ? picture_(command) : nullptr) {
      pictures_.push_back(icon);
      Item(id).Send(STM_SETICON, reinterpret_cast<WPARAM>(icon));
    }
  }
  Item(IDC_WELCOME_DONT_SHOW).SetChecked(ReadDontShow(keyPath_));
  return true;
}

bool TWelcomeFRM::OnCommand(int id, int code, HWND) {
  if (code == BN_CLICKED && id == IDYES) {
    Finish(IDYES);
    return true;
  }
  return false;
}

void TWelcomeFRM::Finish(INT_PTR result) {
  TMyRegistry reg(HKEY_CURRENT_USER, kRegAccessReadWrite);
  if (reg.OpenKey(keyPath_, true)) reg.WriteBool(kDontShowValue, Item(IDC_WELCOME_DONT_SHOW).IsChecked());
  End(result);
}

bool RunWelcomeDialog(HWND owner, const std::string& settingsKeyPath, std::function<HICON(int command)> picture) {
  TWelcomeFRM welcome(settingsKeyPath, std::move(picture));
  return welcome.DoModal(owner) == IDYES;
}
