#include "platform/CrashReport.h"

#include <cstdarg>
#include <cstdio>

namespace {

constexpr int kMaxStackFrames = 64;

// Appends printf-style text to a fixed buffer, cutting what does not fit.
class FixedText {
 public:
  FixedText(char* buffer, std::size_t size) : buffer_(buffer), size_(size) {
    if (size_ > 0) buffer_[0] = '\0';
  }
  __attribute__((format(printf, 2, 3))) void Add(const char* format, ...) {
    if (length_ + 1 >= size_) return;
    va_list arguments;
    va_start(arguments, format);
    int written = std::vsnprintf(buffer_ + length_, size_ - length_, format, arguments);
    va_end(arguments);
    if (written > 0) length_ += static_cast<std::size_t>(written) < size_ - length_ ? written : size_ - length_ - 1;
  }
  std::size_t Length() const { return length_; }

 private:
  char* buffer_;
  std::size_t size_;
  std::size_t length_ = 0;
};

// An address in as many hex digits as a pointer has: "000000014000ABCD".
void AddHex(FixedText& text, ULONG_PTR address) {
  text.Add("%0*llX", static_cast<int>(2 * sizeof(void*)), static_cast<unsigned long long>(address));
}

const char* ExceptionName(DWORD code) {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
      return "EXCEPTION_ACCESS_VIOLATION";
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
      return "EXCEPTION_INT_DIVIDE_BY_ZERO";
    case EXCEPTION_INT_OVERFLOW:
      return "EXCEPTION_INT_OVERFLOW";
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
      return "EXCEPTION_ARRAY_BOUNDS_EXCEEDED";
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
      return "EXCEPTION_FLT_DIVIDE_BY_ZERO";
    case EXCEPTION_FLT_INVALID_OPERATION:
      return "EXCEPTION_FLT_INVALID_OPERATION";
    case EXCEPTION_FLT_OVERFLOW:
      return "EXCEPTION_FLT_OVERFLOW";
    case EXCEPTION_FLT_UNDERFLOW:
      return "EXCEPTION_FLT_UNDERFLOW";
    case EXCEPTION_FLT_INEXACT_RESULT:
      return "EXCEPTION_FLT_INEXACT_RESULT";
    case EXCEPTION_FLT_DENORMAL_OPERAND:
      return "EXCEPTION_FLT_DENORMAL_OPERAND";
    case EXCEPTION_FLT_STACK_CHECK:
      return "EXCEPTION_FLT_STACK_CHECK";
    case EXCEPTION_ILLEGAL_INSTRUCTION:
      return "EXCEPTION_ILLEGAL_INSTRUCTION";
    case EXCEPTION_PRIV_INSTRUCTION:
      return "EXCEPTION_PRIV_INSTRUCTION";
    case EXCEPTION_STACK_OVERFLOW:
      return "EXCEPTION_STACK_OVERFLOW";
    case EXCEPTION_IN_PAGE_ERROR:
      return "EXCEPTION_IN_PAGE_ERROR";
    case EXCEPTION_DATATYPE_MISALIGNMENT:
      return "EXCEPTION_DATATYPE_MISALIGNMENT";
    case EXCEPTION_BREAKPOINT:
      return "EXCEPTION_BREAKPOINT";
    case kUncaughtErrorCode:
      return "uncaught error (terminate)";
    default:
      return "exception";
  }
}

// "Quorvel.exe+0x1234", or the bare address outside every module.
void AddCodeAddress(FixedText& text, ULONG_PTR address) {
  HMODULE module = nullptr;
  char path[MAX_PATH] = "";
  if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<const char*>(address), &module) &&
      GetModuleFileNameA(module, path, sizeof path)) {
    const char* name = path;
    for (const char* c = path; *c; ++c)
      if (*c == '\\' || *c == '/') name = c + 1;
    AddHex(text, address);
    text.Add(" (%s+0x%llx)", name, static_cast<unsigned long long>(address - reinterpret_cast<ULONG_PTR>(module)));
  } else {
    AddHex(text, address);
  }
}

void AddRegisters(FixedText& text, const CONTEXT& c) {
#ifdef _WIN64
  text.Add("RAX=%016llx RBX=%016llx RCX=%016llx RDX=%016llx\r\n", c.Rax, c.Rbx, c.Rcx, c.Rdx);
  text.Add("RSI=%016llx RDI=%016llx RBP=%016llx RSP=%016llx\r\n", c.Rsi, c.Rdi, c.Rbp, c.Rsp);
  text.Add("R8 =%016llx R9 =%016llx R10=%016llx R11=%016llx\r\n", c.R8, c.R9, c.R10, c.R11);
  text.Add("R12=%016llx R13=%016llx R14=%016llx R15=%016llx\r\n", c.R12, c.R13, c.R14, c.R15);
  text.Add("RIP=%016llx EFLAGS=%08lx\r\n", c.Rip, c.EFlags);
#else
  text.Add("EAX=%08lx EBX=%08lx ECX=%08lx EDX=%08lx\r\n", c.Eax, c.Ebx, c.Ecx, c.Edx);
  text.Add("ESI=%08lx EDI=%08lx EBP=%08lx ESP=%08lx\r\n", c.Esi, c.Edi, c.Ebp, c.Esp);
  text.Add("EIP=%08lx EFLAGS=%08lx\r\n", c.Eip, c.EFlags);
#endif
}

}  // namespace

#ifdef _WIN64
bool StepToCaller(CONTEXT& context) {
  DWORD64 imageBase = 0;
  PRUNTIME_FUNCTION function = RtlLookupFunctionEntry(context.Rip, &imageBase, nullptr);
  const DWORD64 previousSp = context.Rsp;
  if (function) {
    void* handlerData = nullptr;
    DWORD64 establisher = 0;
    RtlVirtualUnwind(UNW_FLAG_NHANDLER, imageBase, context.Rip, function, &context, &handlerData, &establisher,
                     nullptr);
  } else {  // a leaf function: the return address is on top of the stack
    if (IsBadReadPtr(reinterpret_cast<void*>(context.Rsp), sizeof(DWORD64))) return false;
    context.Rip = *reinterpret_cast<DWORD64*>(context.Rsp);
    context.Rsp += sizeof(DWORD64);
  }
  return context.Rsp > previousSp;  // a broken stack would loop
}
#endif

namespace {

// The return addresses by the unwind tables of x86_64; i686 code keeps no frame chain we
// could trust, so its report shows the registers only.
void AddStack(FixedText& text, const CONTEXT& faultContext) {
#ifdef _WIN64
  static CONTEXT context;  // static: a stack overflow leaves little room
  context = faultContext;
  for (int depth = 0; depth < kMaxStackFrames && context.Rip != 0; ++depth) {
    text.Add("  ");
    AddCodeAddress(text, context.Rip);
    text.Add("\r\n");
    if (!StepToCaller(context)) break;
  }
#else
  (void)faultContext;
  text.Add("  (no stack walk on this processor)\r\n");
#endif
}

bool FolderTakesFile(const std::string& folder) {
  char probe[MAX_PATH];
  if (!GetTempFileNameA(folder.c_str(), "qvl", 0, probe)) return false;
  DeleteFileA(probe);
  return true;
}

}  // namespace

std::string CrashReportPath(const std::string& exePath, const std::string& tempFolder,
                            const std::function<bool(const std::string& folder)>& canWrite) {
  const std::size_t slash = exePath.find_last_of("\\/");
  const std::string folder = slash == std::string::npos ? std::string() : exePath.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? exePath : exePath.substr(slash + 1);
  const std::size_t dot = name.find_last_of('.');
  if (dot != std::string::npos) name.erase(dot);
  name += "-crash.txt";
  // Beside the exe, where a user looks first; a program installed where users cannot write
  // puts it into the user's temp folder instead.
  if (!folder.empty() && canWrite(folder)) return folder + name;
  std::string temp = tempFolder;
  if (!temp.empty() && temp.back() != '\\') temp += '\\';
  return temp + name;
}

std::size_t FormatCrashReport(const EXCEPTION_POINTERS& exception, char* buffer, std::size_t size) {
  FixedText text(buffer, size);
  const EXCEPTION_RECORD& record = *exception.ExceptionRecord;
  SYSTEMTIME now;
  GetLocalTime(&now);
  text.Add("Quorvel crash report\r\n");
  text.Add("Time: %04u-%02u-%02u %02u:%02u:%02u\r\n", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
           now.wSecond);
  text.Add("Process: %lu, thread: %lu\r\n", GetCurrentProcessId(), GetCurrentThreadId());
  text.Add("Exception: 0x%08lx %s\r\n", record.ExceptionCode, ExceptionName(record.ExceptionCode));
  text.Add("Address: ");
  AddCodeAddress(text, reinterpret_cast<ULONG_PTR>(record.ExceptionAddress));
  text.Add("\r\n");
  if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record.NumberParameters >= 2) {
    const ULONG_PTR access = record.ExceptionInformation[0];
    text.Add("Access: %s of address ", access == 0 ? "read" : access == 8 ? "execution" : "write");
    AddHex(text, record.ExceptionInformation[1]);
    text.Add("\r\n");
  }
  text.Add("\r\nRegisters:\r\n");
  AddRegisters(text, *exception.ContextRecord);
  text.Add("\r\nStack:\r\n");
  AddStack(text, *exception.ContextRecord);
  return text.Length();
}

std::string WriteCrashReport(const EXCEPTION_POINTERS& exception) {
  static char report[16384];
  const std::size_t length = FormatCrashReport(exception, report, sizeof report);
  char exePath[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, exePath, sizeof exePath);
  char tempFolder[MAX_PATH] = "";
  GetTempPathA(sizeof tempFolder, tempFolder);
  const std::string path = CrashReportPath(exePath, tempFolder, FolderTakesFile);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  DWORD written = 0;
  const bool complete = WriteFile(file, report, static_cast<DWORD>(length), &written, nullptr) && written == length;
  CloseHandle(file);
  return complete ? path : std::string();
}
