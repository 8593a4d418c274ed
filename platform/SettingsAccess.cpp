#include "platform/SettingsAccess.h"

#include <atomic>
#include <charconv>
#include <optional>

#include "platform/TMyRegistry.h"

namespace {

// The drive capture thread reads it while the main thread owns it.
std::atomic<TMyRegistry*> staticReg{nullptr};

// Empty when the value is missing.
std::optional<SettingValue> ReadIfPresent(const TMyRegistry& reg, const std::string& name) {
  TRegDataInfo info;
  if (!reg.GetDataInfo(name, info)) return std::nullopt;
  switch (info.regData) {
    case kRdString:
      return reg.ReadString(name, false);
    case kRdInteger:
      return reg.ReadInteger(name);
    default:
      throw Exception("Unknown variable type while reading registry.");
  }
}

const TMyRegistry& InstalledStaticReg(const char* missingText) {
  TMyRegistry* reg = StaticReg();
  if (!reg) throw Exception(missingText);
  return *reg;
}

}  // namespace

TMyRegistry* SetStaticReg(TMyRegistry* reg) { return staticReg.exchange(reg); }

TMyRegistry* StaticReg() { return staticReg.load(); }

SettingValue ReadSettingFrom(const TMyRegistry& reg, const std::string& name, const SettingValue& defaultValue) {
  return ReadIfPresent(reg, name).value_or(defaultValue);
}

SettingValue ReadSetting(const std::string& name, const SettingValue& defaultValue) {
  const TMyRegistry& reg = InstalledStaticReg("Please define staticreg in the finalization clause");
  return ReadSettingFrom(reg, name, defaultValue);
}

SettingValue ReadRequiredSetting(const std::string& name) {
  const TMyRegistry& reg = InstalledStaticReg("Please define StaticReg in the initialization clause");
  std::optional<SettingValue> value = ReadIfPresent(reg, name);
  if (!value) throw EMyRegistryException(FormatText("Values have not been initialized - Value: %s", name));
  return *std::move(value);
}

int32_t SettingAsInt(const SettingValue& value) {
  if (const int32_t* number = std::get_if<int32_t>(&value)) return *number;
  const std::string& text = std::get<std::string>(value);
  int32_t number = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (ec != std::errc() || end != text.data() + text.size())
    throw Exception(ErrorKind::EConvertError, "'" + text + "' is not a valid integer value");
  return number;
}

bool SettingAsBool(const SettingValue& value) { return SettingAsInt(value) != 0; }

std::string SettingAsText(const SettingValue& value) {
  if (const std::string* text = std::get_if<std::string>(&value)) return *text;
  return std::to_string(std::get<int32_t>(value));
}
