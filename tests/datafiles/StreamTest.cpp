#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "core/Errors.h"
#include "datafiles/Stream.h"
#include "datafiles/TReader.h"
#include "datafiles/TWriter.h"
#include "tests/datafiles/StreamBytes.h"

namespace fs = std::filesystem;

namespace {

class FileStreamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() / ("quorvel-" + std::string(test->name()) + "-" +
                                           std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  std::string PathOf(const char* name) const { return (folder_ / name).string(); }

  static Bytes FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }

  fs::path folder_;
};

// The error of opening path in mode, as kind and message.
ErrorInfo OpenError(const std::string& path, FileMode mode) {
  try {
    TFileStream stream(path, mode);
  } catch (...) {
    return DescribeError(std::current_exception());
  }
  return {};
}

}  // namespace

TEST_F(FileStreamTest, FailedOpensNameTheFileAndTheSystemsReason) {
  struct Case {
    const char* name;
    FileMode mode;
    ErrorKind kind;
    const char* prefix;
  };
  const Case cases[] = {
      {"missing\\folder\\and/new.SXD", FileMode::Create, ErrorKind::EFCreateError, "Cannot create file \""},
      {"missing.SXD", FileMode::OpenRead, ErrorKind::EFOpenError, "Cannot open file \""},
      {"missing.SXL", FileMode::OpenReadWrite, ErrorKind::EFOpenError, "Cannot open file \""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = PathOf(c.name);
    const ErrorInfo error = OpenError(path, c.mode);
    EXPECT_EQ(error.kind, c.kind);
    const std::string named = c.prefix + path + "\". ";
    EXPECT_EQ(error.message.substr(0, named.size()), named);
    EXPECT_GT(error.message.size(), named.size() + 3) << error.message;  // the reason
    EXPECT_FALSE(fs::exists(path));
  }
}

TEST_F(FileStreamTest, CreatesReadsAndOverwritesInPlace) {
  const std::string path = PathOf("data.SXD");
  {
    TFileStream stream(path, FileMode::Create);
    TWriter writer(stream, kStreamBufferSize);
    writer.WriteString("first");
    writer.WriteInteger(0);
    writer.WriteString("last");
    writer.FlushBuffer();
    EXPECT_EQ(stream.Size(), 15);
    // A created file can be read back, as the log writer does.
    stream.SetPosition(0);
    TReader reader(stream, kStreamBufferSize);
    EXPECT_EQ(reader.ReadString(), "first");
  }
  EXPECT_EQ(FileBytes(path), Join({Hex("06 05"), TextBytes("first"), Hex("02 00 06 04"), TextBytes("last")}));

  {
    TFileStream stream(path, FileMode::OpenReadWrite);
    TReader reader(stream, kStreamBufferSize);
    EXPECT_EQ(reader.ReadString(), "first");
    const int64_t slot = reader.Position();
    reader.SyncStream();
    TWriter writer(stream, kStreamBufferSize);
    writer.WriteInteger(99);  // a read followed by a write on one stdio stream
    writer.FlushBuffer();
    reader.SetPosition(slot);
    EXPECT_EQ(reader.ReadInteger(), 99);
    EXPECT_EQ(reader.ReadString(), "last");
  }

  TFileStream stream(path, FileMode::OpenRead);
  EXPECT_EQ(stream.Size(), 15);
  Bytes all(20);
  EXPECT_EQ(stream.Read(all.data(), all.size()), 15u);
  EXPECT_EQ(stream.Read(all.data(), all.size()), 0u);
  EXPECT_EQ(all[8], 99);
}

TEST_F(FileStreamTest, WriteFailureIsAWriteErrorNamingTheFile) {
  const std::string path = PathOf("readonly.SXD");
  { TFileStream create(path, FileMode::Create); }
  TFileStream stream(path, FileMode::OpenRead);
  TWriter writer(stream, kStreamBufferSize);
  writer.WriteString("x");
  try {
    writer.FlushBuffer();
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Kind(), ErrorKind::EWriteError);
    EXPECT_EQ(e.Message().rfind("Cannot write to file \"" + path + "\". ", 0), 0u) << e.Message();
  }
}

#ifndef _WIN32
TEST_F(FileStreamTest, FullDiskIsReportedAtTheWrite) {
  TFileStream stream("/dev/full", FileMode::Create);
  TWriter writer(stream, kStreamBufferSize);
  writer.WriteInteger(1);
  EXPECT_THROW(writer.FlushBuffer(), Exception);
}
#endif

TEST_F(FileStreamTest, OffsetsBeyondFourGigabytes) {
  const std::string path = PathOf("large.SXD");
  const int64_t far = int64_t{5} << 30;  // a sparse file: no disk space is used
  {
    TFileStream stream(path, FileMode::Create);
    stream.SetPosition(far);
    EXPECT_EQ(stream.Position(), far);
    stream.Write("\x09", 1);
    EXPECT_EQ(stream.Size(), far + 1);
  }
  TFileStream stream(path, FileMode::OpenRead);
  EXPECT_EQ(stream.Size(), far + 1);
  TReader reader(stream, kStreamBufferSize);
  reader.SetPosition(far);
  EXPECT_TRUE(reader.ReadBoolean());
  EXPECT_EQ(reader.Position(), far + 1);
}

TEST(MemoryStream, GrowsWithZerosReadsToItsEndAndClears) {
  TMemoryStream stream;
  stream.Write("ab", 2);
  stream.SetPosition(4);
  stream.Write("c", 1);
  EXPECT_EQ(stream.Bytes(), Hex("61 62 00 00 63"));
  stream.SetPosition(1);
  stream.Write("XYZW", 4);
  EXPECT_EQ(stream.Bytes(), Hex("61 58 59 5A 57"));

  char buffer[8];
  stream.SetPosition(3);
  EXPECT_EQ(stream.Read(buffer, sizeof buffer), 2u);
  EXPECT_EQ(stream.Read(buffer, sizeof buffer), 0u);
  stream.SetPosition(100);
  EXPECT_EQ(stream.Read(buffer, sizeof buffer), 0u);
  EXPECT_THROW(stream.SetPosition(-1), Exception);

  stream.Clear();
  EXPECT_EQ(stream.Size(), 0);
  EXPECT_EQ(stream.Position(), 0);
}
