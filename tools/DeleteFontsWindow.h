#pragma once
// "Delete Fonts": the fonts registered with the system in a list, a preview of the chosen one
// with the names its TrueType file carries, and the deletion of the chosen fonts (unloaded, the
// file deleted through the one file deletion into <BackupDir>FONTS\, the registration removed).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/GuiInteraction.h"
#include "fonts/TrueTypeNames.h"
#include "platform/Handle.h"
#include "restore/FileDeletion.h"
#include "tools/FontRegistrations.h"
#include "ui/Dialog.h"
#include "ui/ListView.h"

class TMyRegIniFile;

struct DeleteFontsContext {
  std::string settingsKeyPath;  // the settings key below HKEY_CURRENT_USER
  std::string programFolder;    // the default of the backup folder
  FileDeletionState* deletion;  // the program's; its backup folder becomes <BackupDir>FONTS\ .
};

class TDelFontsFRM : public Dialog {
 public:
  static constexpr const char* kSection = "DelFontsFRM";

  explicit TDelFontsFRM(const DeleteFontsContext& context);
  ~TDelFontsFRM() override;

  // The command of the button, Enter and Del in the list.
  void DeleteSelectedFonts();

  ListView FontView() const;
  const std::vector<RegisteredFont>& Fonts() const { return fonts_; }
  const std::string& FontsFolderPath() const { return fontsFolder_; }

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(int id, const NMHDR& header, LRESULT& result) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
  void OnOK() override;
  void OnCancel() override;

 private:
  void OnDeleteButton();
  void FillList(const std::vector<bool>& selected);
  void ShowFont(size_t row);
  std::string PathOf(const RegisteredFont& font) const;
  // The sample memo in face at size points with style; the window's own font when face is empty.
  // The size box follows.
  void SetSampleFont(const std::string& face, FontStyle style, int size);
  void SetSizeBox(int size);
  void Layout();

  DeleteFontsContext context_;
  std::unique_ptr<TMyRegIniFile> ini_;
  GuiInteraction ui_;
  std::optional<std::string> registrationKey_;
  std::string fontsFolder_;
  uint32_t locale_ = 0;
  std::vector<RegisteredFont> fonts_;
  std::optional<size_t> shown_;  // the row last shown
  bool filling_ = true;          // no preview while the list is filled, nor while the window closes
  bool settingSize_ = false;     // the size box is set by the window, not typed
  std::string ownFace_;          // the window's own font, the sample's when no font is shown
  int ownSize_ = 8;
  std::string sampleFace_;
  FontStyle sampleStyle_;
  int sampleSize_ = 8;
  UniqueFont sampleFont_;
};

// Shows the window modally.
void RunDeleteFontsWindow(HWND owner, const DeleteFontsContext& context);
