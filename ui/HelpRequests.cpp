#include "ui/HelpRequests.h"

#include <utility>

namespace {

HelpRequestHook& Hook() {
  static HelpRequestHook hook;
  return hook;
}

}  // namespace

void SetHelpRequestHook(HelpRequestHook hook) { Hook() = std::move(hook); }

void RequestHelp(const std::string& section) {
  if (Hook()) Hook()(section);
}
