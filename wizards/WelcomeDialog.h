#pragma once
// "Welcome": shown as the program starts (unless the user ticked "Don't display this window
// again.") and from the Help menu; it introduces the wizards and can open the new one. The box's
// state is kept in "DontShowWelcome".

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/Handle.h"
#include "ui/Dialog.h"

class TWelcomeFRM : public Dialog {
 public:
  // picture: the main window's tool-button picture of a command (the caller frees nothing; the
  // dialog destroys what it gets), or empty.
  TWelcomeFRM(std::string settingsKeyPath, std::function<HICON(int command)> picture);
  ~TWelcomeFRM() override;

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnOK() override { Finish(IDYES); }
  void OnCancel() override { Finish(IDCANCEL); }

 private:
  void Finish(INT_PTR result);

  std::string keyPath_;
  std::function<HICON(int)> picture_;
  UniqueFont nameFont_;
  std::vector<HICON> pictures_;
};

// Shows the welcome window modally; true when the user chose "Start New Wizard".
bool RunWelcomeDialog(HWND owner, const std::string& settingsKeyPath, std::function<HICON(int command)> picture);
