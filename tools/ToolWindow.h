#pragma once
// The base of the cleaning tools' windows. A tool's long run (a search, a backup) goes on in the
// window's own thread and lets messages run between files, so Close and Cancel are heard while
// it is on the stack: Close asks the run to stop and ends the window once the run has returned.
// The window's rectangle and list columns are kept in its settings section on every way out.

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "app/FormLayout.h"
#include "tools/ToolProgress.h"
#include "ui/Dialog.h"

class TMyRegIniFile;

class ToolWindow : public Dialog, protected ToolProgress {
 public:
  ~ToolWindow() override;

 protected:
  // section: the settings section of the window's layout; minimumAt96: its least size at 96 DPI.
  ToolWindow(int templateId, const char* className, const char* section, const std::string& settingsKeyPath,
             SIZE minimumAt96);

  // The run in progress and how to stop it.
  virtual bool Running() const = 0;
  virtual void CancelRun() = 0;
  // The lists whose column widths are kept.
  virtual std::vector<FormList> LayoutLists() const = 0;
  // Places the controls in the client area.
  virtual void Layout() = 0;
  // What the window keeps when it closes: its layout, and what a tool adds.
  virtual void SaveState();

  // In OnInit, once the lists have their columns: the kept layout, then the controls placed.
  void RestoreLayout();
  // After a run has returned: a Close heard during it ends the window now.
  void FinishRun();
  bool CloseRequested() const { return closeRequested_; }

  void OnCancel() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

  // ToolProgress, but for the panels, which each tool has its own.
  void ProcessMessages() override;
  void ReportError(std::exception_ptr error) override;

  TMyRegIniFile& Ini() { return *ini_; }
  const char* Section() const { return section_; }

 private:
  const char* section_;
  SIZE minimumAt96_;
  std::unique_ptr<TMyRegIniFile> ini_;
  bool closeRequested_ = false;
};
