#include "core/Errors.h"

#include <new>
#include <stdexcept>
#include <system_error>

namespace {

enum class TextAction { Set, Append };

struct KindInfo {
  ErrorKind kind;
  const char* name;
  ErrorKind parent;  // itself for a root kind
};

#define KIND(k, parent) \
  { ErrorKind::k, #k, ErrorKind::parent }
constexpr KindInfo kKinds[] = {
    KIND(Exception, Exception),
    KIND(EAbort, Exception),
    KIND(EOutOfMemory, Exception),
    KIND(EOutOfResources, EOutOfMemory),
    KIND(EInOutError, Exception),
    KIND(EIntError, Exception),
    KIND(EDivByZero, EIntError),
    KIND(ERangeError, EIntError),
    KIND(EIntOverflow, EIntError),
    KIND(EMathError, Exception),
    KIND(EInvalidOp, EMathError),
    KIND(EZeroDivide, EMathError),
    KIND(EOverflow, EMathError),
    KIND(EUnderflow, EMathError),
    KIND(EInvalidPointer, Exception),
    KIND(EInvalidCast, Exception),
    KIND(EConvertError, Exception),
    KIND(EAccessViolation, Exception),
    KIND(EPrivilege, Exception),
    KIND(EStackOverflow, Exception),
    KIND(EControlC, Exception),
    KIND(EVariantError, Exception),
    KIND(EPropReadOnly, Exception),
    KIND(EPropWriteOnly, Exception),
    KIND(EExternalException, Exception),
    KIND(EStreamError, Exception),
    KIND(EFCreateError, EStreamError),
    KIND(EFOpenError, EStreamError),
    KIND(EFilerError, EStreamError),
    KIND(EReadError, EFilerError),
    KIND(EWriteError, EFilerError),
    KIND(EClassNotFound, EFilerError),
    KIND(EMethodNotFound, EFilerError),
    KIND(EInvalidImage, EFilerError),
    KIND(EResNotFound, Exception),
    KIND(EListError, Exception),
    KIND(EBitsError, Exception),
    KIND(EStringListError, Exception),
    KIND(EComponentError, Exception),
    KIND(EParserError, Exception),
    KIND(EThread, Exception),
    KIND(EPrinter, Exception),
    KIND(EMenuError, Exception),
    KIND(EInvalidOperation, Exception),
    KIND(EInvalidGraphic, Exception),
    KIND(ERegistryException, Exception),
    KIND(EMyRegistryException, Exception),
    KIND(EDBEditError, Exception),
    KIND(EDatabaseError, Exception),
    KIND(EDBEngineError, EDatabaseError),
    KIND(EInvalidGridOperation, Exception),
    KIND(EMyAbort, Exception),
};
#undef KIND

const KindInfo& Info(ErrorKind kind) {
  for (const KindInfo& info : kKinds)
    if (info.kind == kind) return info;
  return kKinds[0];
}

// The error dialog's tests in their order. A test by kind applies to descendants too; a test
// by name applies to that kind alone.
struct KindTest {
  ErrorKind kind;
  bool byNameOnly;
  TextAction action;
  const char* text;
};

constexpr KindTest kTests[] = {
    {ErrorKind::EAbort, false, TextAction::Set, "Program interrupted"},
    {ErrorKind::EOutOfMemory, false, TextAction::Set, "Insufficient memory"},
    {ErrorKind::EOutOfResources, false, TextAction::Set, "Insufficient memory resources"},
    {ErrorKind::EInOutError, false, TextAction::Set, "I/O error"},
    {ErrorKind::EIntError, false, TextAction::Set, "Integer calculation error"},
    {ErrorKind::EDivByZero, false, TextAction::Append, "\r\nDivide by zero"},
    {ErrorKind::ERangeError, false, TextAction::Append, "\r\nRange has been exceeded"},
    {ErrorKind::EIntOverflow, false, TextAction::Append, "\r\nOverflow while integer operation"},
    {ErrorKind::EMathError, false, TextAction::Set, "Error while floating point operation"},
    {ErrorKind::EInvalidOp, false, TextAction::Append, "\r\nUndefined processor instruction"},
    {ErrorKind::EZeroDivide, false, TextAction::Append, "\r\nDivide by zero"},
    {ErrorKind::EOverflow, false, TextAction::Append, "\r\nOverflow while floating point operation"},
    {ErrorKind::EUnderflow, false, TextAction::Append, "\r\nUnderflow while floating point operation"},
    {ErrorKind::EInvalidPointer, false, TextAction::Set, "invalid pointer operation"},
    {ErrorKind::EInvalidCast, false, TextAction::Set, "invalid typecast"},
    {ErrorKind::EConvertError, false, TextAction::Set, "Value conversion error"},
    {ErrorKind::EAccessViolation, false, TextAction::Set,
     "Access violation, memory has not been allocated for that area"},
    {ErrorKind::EPrivilege, false, TextAction::Set, "Privileged Instruction"},
    {ErrorKind::EStackOverflow, false, TextAction::Set,
     "Insufficient stack memory, system cannot dynamically grow stack."},
    {ErrorKind::EControlC, false, TextAction::Set, "User cancelation, \"Strg+C\" pressed"},
    {ErrorKind::EVariantError, false, TextAction::Set, "Variant variable handling error"},
    {ErrorKind::EPropReadOnly, false, TextAction::Set, "OLE error -- write to \"read-only\" property."},
    {ErrorKind::EPropWriteOnly, false, TextAction::Set, "OLE error -- read from \"write-only\" property."},
    {ErrorKind::EExternalException, false, TextAction::Set, "External error"},
    {ErrorKind::EStreamError, false, TextAction::Set, "Stream error:"},
    {ErrorKind::EFCreateError, false, TextAction::Append, "File creation error"},
    {ErrorKind::EFOpenError, false, TextAction::Append, "Error while opening file"},
    {ErrorKind::EFilerError, false, TextAction::Append, "Error reading/writing class information"},
    {ErrorKind::EReadError, false, TextAction::Append,
     "\r\nMethod ReadBuffer is not able to read the specified number of Bytes"},
    {ErrorKind::EWriteError, false, TextAction::Append,
     "\r\nMethod WriteBuffer is not able to write the specified number of Bytes"},
    {ErrorKind::EClassNotFound, false, TextAction::Append,
     "\r\nA Component of the form has been deleted in the forms declaration"},
    {ErrorKind::EMethodNotFound, false, TextAction::Append,
     "\r\nA Method of the form has been deleted in the forms declaration"},
    {ErrorKind::EInvalidImage, false, TextAction::Append, "\r\nInvalid Image"},
    {ErrorKind::EResNotFound, false, TextAction::Set, "Cannot find resource"},
    {ErrorKind::EListError, false, TextAction::Set, "Error while handling a TList-Object"},
    {ErrorKind::EBitsError, false, TextAction::Set, "Error while handling a TBits-Object"},
    {ErrorKind::EStringListError, false, TextAction::Set, "Error while handling a String-List-Object"},
    {ErrorKind::EComponentError, false, TextAction::Set, "Error while creating/registering a component object"},
    {ErrorKind::EParserError, false, TextAction::Set, "Syntax error in a parser object"},
    {ErrorKind::EThread, false, TextAction::Set, "Error in a thread object"},
    {ErrorKind::EPrinter, true, TextAction::Set, "Error while printing"},
    {ErrorKind::EMenuError, true, TextAction::Set, "Error in Menu"},
    {ErrorKind::EInvalidOperation, false, TextAction::Set, "Invalid graphic operation"},
    {ErrorKind::EInvalidGraphic, false, TextAction::Set, "Invalid Image"},
    {ErrorKind::ERegistryException, true, TextAction::Set, "Windows registry access error"},
    {ErrorKind::EMyRegistryException, true, TextAction::Set, "Windows registry access error"},
    {ErrorKind::EDBEditError, true, TextAction::Set, "Data does not match the input mask"},
    {ErrorKind::EDatabaseError, true, TextAction::Set, "Error while a database operation"},
    {ErrorKind::EDBEngineError, true, TextAction::Append, "\r\nError while calling a BDE-function"},
    {ErrorKind::EInvalidGridOperation, true, TextAction::Set, "invalid operation in a grid"},
};

}  // namespace

const char* ErrorKindName(ErrorKind kind) { return Info(kind).name; }

bool ErrorKindIsA(ErrorKind kind, ErrorKind ancestor) {
  for (;;) {
    if (kind == ancestor) return true;
    ErrorKind parent = Info(kind).parent;
    if (parent == kind) return false;
    kind = parent;
  }
}

std::string ErrorKindText(ErrorKind kind) {
  std::string text = "General program error";
  for (const KindTest& test : kTests) {
    bool applies = test.byNameOnly ? kind == test.kind : ErrorKindIsA(kind, test.kind);
    if (!applies) continue;
    if (test.action == TextAction::Set)
      text = test.text;
    else
      text += test.text;
  }
  return text;
}

void RaiseAbort() { throw EMyAbort(); }

void RaiseUnknownCase(const char* cls, const char* method) {
  throw Exception(std::string("INTERN:") + cls + "." + method + " - Unknown Case value");
}

std::string FormatText(const std::string& pattern, const std::string& arg) {
  std::string::size_type at = pattern.find("%s");
  if (at == std::string::npos) return pattern;
  return pattern.substr(0, at) + arg + pattern.substr(at + 2);
}

ErrorInfo DescribeError(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const Exception& e) {
    return {e.Kind(), e.Message()};
  } catch (const std::bad_alloc&) {
    return {ErrorKind::EOutOfMemory, "Out of memory"};
  } catch (const std::out_of_range& e) {
    return {ErrorKind::ERangeError, e.what()};
  } catch (const std::length_error& e) {
    return {ErrorKind::ERangeError, e.what()};
  } catch (const std::system_error& e) {
    return {ErrorKind::EInOutError, e.what()};
  } catch (const std::exception& e) {
    return {ErrorKind::Exception, e.what()};
  } catch (...) {
    return {ErrorKind::EExternalException, "External exception"};
  }
}
