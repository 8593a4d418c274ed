#pragma once
// TfOptions, caption "Settings": the fifteen settings on four tabs (General, Display, Delete,
// Backup). A form: it shows `settings` when it opens and hands what the controls hold to
// `apply` on "&Apply" and "&OK"; where the settings live is the caller's business.

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/Settings.h"
#include "ui/CaptionColors.h"  // SettingColorToRGB
#include "ui/Dialog.h"

class TMyRegistry;

class TfOptions : public Dialog {
 public:
  TfOptions();
  ~TfOptions() override;

  Settings settings;                           // in: shown at start; out: what was applied last
  std::function<void(const Settings&)> apply;  // stores settings; an error keeps the dialog open

  static constexpr int kPageCount = 4;  // General, Display, Delete, Backup
  void SelectPage(int index);
  int CurrentPage() const;
  // A control of any page (or of the form itself), by its identifier.
  Window Control(int id) const;

  Settings ReadControls() const;
  void ShowSettings(const Settings& shown);
  // The colour of a colour field (IDC_HINT_COLOR ... IDC_CAPTION_TEXT_INACTIVE).
  uint32_t FieldColor(int id) const;

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(int id, const NMHDR& header, LRESULT& result) override;
  void OnOK() override;

 private:
  class Page;

  void Apply();
  bool OnPageCommand(int id, int code);
  bool DrawColorField(const DRAWITEMSTRUCT& item) const;
  void ChooseFieldColor(int id);
  void BrowseFolder(int editId, const char* statusText);

  std::array<std::unique_ptr<Page>, kPageCount> pages_;
  std::array<uint32_t, 4> colors_{};
  COLORREF customColors_[16] = {};
};

// Loads the settings from the open settings key into the form and makes "&Apply" and "&OK"
// save them there.
void BindOptionsToRegistry(TfOptions& form, TMyRegistry& settingsKey, const std::string& programFolder);

// Shows the options dialog modally; true when it was closed with "&OK".
bool RunOptionsDialog(HWND owner, TMyRegistry& settingsKey, const std::string& programFolder);
