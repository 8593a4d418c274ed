#include "datafiles/ConfigurationFile.h"

#include "core/Errors.h"

HeaderKind ClassifyHeader(std::string_view firstString) {
  if (firstString == kRegistrationHeader) return HeaderKind::Current;
  if (firstString == kOldRegistrationHeader) return HeaderKind::OlderVersion;
  return HeaderKind::Foreign;
}

std::string HeaderRefusalMessage(HeaderKind kind, const std::string& fileName) {
  switch (kind) {
    case HeaderKind::Current:
      return {};
    case HeaderKind::OlderVersion:
      return "This version of the program does not process *.SXD-files of version 1.4 or "
             "earlier!";
    case HeaderKind::Foreign:
      return FormatText("ERROR: %s\rInvalid file or wrong version.", fileName);
  }
  RaiseUnknownCase("ConfigurationFile", "HeaderRefusalMessage");
}
