#include "ui/HandlerErrors.h"

#include <utility>

namespace {

HandlerErrorHook& Hook() {
  static HandlerErrorHook hook;
  return hook;
}

std::exception_ptr& LastError() {
  static std::exception_ptr error;
  return error;
}

}  // namespace

void SetHandlerErrorHook(HandlerErrorHook hook) { Hook() = std::move(hook); }

std::exception_ptr TakeLastHandlerError() { return std::exchange(LastError(), nullptr); }

void ReportHandlerError(const HandlerSource& source, std::exception_ptr error) noexcept {
  try {
    if (Hook()) {
      Hook()(source, error);
      return;
    }
  } catch (...) {
    error = std::current_exception();
  }
  LastError() = error;
}
