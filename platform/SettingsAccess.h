#pragma once
// Reading one setting by name through the process-wide settings object StaticReg, a
// TMyRegistry open on the settings key. The program entry owns that object (StaticRegScope in
// app/Settings.h) and installs it here for its lifetime; readers never cache a value.

#include <cstdint>
#include <string>
#include <variant>

class TMyRegistry;

// A string value gives its text, an integer value its number.
using SettingValue = std::variant<int32_t, std::string>;

// Installs the settings object (nullptr uninstalls) and returns the one installed before.
// Set on the main thread before any capture thread starts; read from any thread.
TMyRegistry* SetStaticReg(TMyRegistry* reg);
TMyRegistry* StaticReg();

// The value under the current key of reg; defaultValue when it is missing. Any type other than
// string or integer raises "Unknown variable type while reading registry.".
SettingValue ReadSettingFrom(const TMyRegistry& reg, const std::string& name, const SettingValue& defaultValue);

// ReadSettingFrom on StaticReg.
SettingValue ReadSetting(const std::string& name, const SettingValue& defaultValue);
// Like ReadSetting, but a missing value is an error: the start-up save writes every setting.
SettingValue ReadRequiredSetting(const std::string& name);

// Conversions for callers that know what they read: text of an integer is its decimal form,
// an integer of a text its decimal value (EConvertError when there is none), a boolean any
// non-zero integer.
int32_t SettingAsInt(const SettingValue& value);
bool SettingAsBool(const SettingValue& value);
std::string SettingAsText(const SettingValue& value);

inline int32_t ReadRequiredInt(const std::string& name) { return SettingAsInt(ReadRequiredSetting(name)); }
inline bool ReadRequiredBool(const std::string& name) { return SettingAsBool(ReadRequiredSetting(name)); }
inline std::string ReadRequiredText(const std::string& name) { return SettingAsText(ReadRequiredSetting(name)); }
