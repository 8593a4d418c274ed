#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/Errors.h"
#include "datafiles/TReader.h"
#include "datafiles/TWriter.h"
#include "tests/datafiles/StreamBytes.h"

namespace {

// Counts the stream calls, so a test sees that values are buffered and not passed one by one.
class CountingStream : public TMemoryStream {
 public:
  using TMemoryStream::TMemoryStream;
  int reads = 0;
  int writes = 0;
  size_t Read(void* buffer, size_t count) override {
    ++reads;
    return TMemoryStream::Read(buffer, count);
  }
  void Write(const void* buffer, size_t count) override {
    ++writes;
    TMemoryStream::Write(buffer, count);
  }
};

// A disk that is always full.
class FailingStream : public TMemoryStream {
 public:
  void Write(const void*, size_t) override { throw Exception(ErrorKind::EWriteError, "disk full"); }
};

std::string ReadErrorOf(const Bytes& bytes, const std::function<void(TReader&)>& read,
                        size_t bufferSize = kStreamBufferSize) {
  TMemoryStream stream(bytes);
  TReader reader(stream, bufferSize);
  try {
    read(reader);
  } catch (const EReadError& e) {
    return e.Message();
  }
  return "no error";
}

// Buffer sizes that put value boundaries everywhere relative to the buffer's end, plus the
// real size, so both the inline and the refill paths are exercised.
constexpr size_t kBufferSizes[] = {1, 2, 3, 5, 7, 64, kStreamBufferSize};

}  // namespace

TEST(TaggedValueStream, IntegersUseTheSmallestTag) {
  struct Case {
    int32_t value;
    const char* bytes;
  };
  const Case cases[] = {
      {0, "02 00"},
      {21, "02 15"},
      {-1, "02 FF"},
      {127, "02 7F"},
      {-128, "02 80"},
      {128, "03 80 00"},
      {-129, "03 7F FF"},
      {200, "03 C8 00"},
      {32767, "03 FF 7F"},
      {-32768, "03 00 80"},
      {32768, "04 00 80 00 00"},
      {-32769, "04 FF 7F FF FF"},
      {70000, "04 70 11 01 00"},
      {INT32_MAX, "04 FF FF FF 7F"},
      {INT32_MIN, "04 00 00 00 80"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(Encode([&](TWriter& w) { w.WriteInteger(c.value); }), Hex(c.bytes));
    TMemoryStream stream(Hex(c.bytes));
    TReader reader(stream, kStreamBufferSize);
    EXPECT_EQ(reader.ReadInteger(), c.value);
    EXPECT_EQ(reader.Position(), stream.Size());
  }
}

TEST(TaggedValueStream, StringsBooleansAndLists) {
  const std::string s255(255, 'x'), s256(256, 'y');
  EXPECT_EQ(Encode([](TWriter& w) { w.WriteString(""); }), Hex("06 00"));
  EXPECT_EQ(Encode([](TWriter& w) { w.WriteString("C:\\A"); }), Hex("06 04 43 3A 5C 41"));
  EXPECT_EQ(Encode([&](TWriter& w) { w.WriteString(s255); }), Join({Hex("06 FF"), TextBytes(s255)}));
  EXPECT_EQ(Encode([&](TWriter& w) { w.WriteString(s256); }), Join({Hex("0C 00 01 00 00"), TextBytes(s256)}));
  EXPECT_EQ(Encode([](TWriter& w) {
              w.WriteBoolean(false);
              w.WriteBoolean(true);
              w.WriteListBegin();
              w.WriteListEnd();
            }),
            Hex("08 09 01 00"));
  // Text is 8-bit: bytes above 0x7F and zero bytes pass unchanged.
  const std::string binary("\xE4\x00\xFF", 3);
  EXPECT_EQ(Encode([&](TWriter& w) { w.WriteString(binary); }), Hex("06 03 E4 00 FF"));
}

TEST(TaggedValueStream, EveryBufferSizeWritesAndReadsTheSameBytes) {
  const std::string longText(1000, 'L');
  const Bytes raw = Hex("DE AD BE EF 00 01 02 03 04 05 06 07 08 09");
  auto write = [&](TWriter& w) {
    w.WriteListBegin();
    for (int i = -40000; i <= 40000; i += 997) {
      w.WriteInteger(i);
      w.WriteString(std::to_string(i));
    }
    w.WriteString(longText);
    w.WriteBoolean(true);
    w.WriteInteger(static_cast<int32_t>(raw.size()));
    w.Write(raw.data(), raw.size());
    w.WriteString("");
    w.WriteListEnd();
  };
  const Bytes expected = Encode(write);
  for (size_t size : kBufferSizes) {
    SCOPED_TRACE(size);
    EXPECT_EQ(Encode(write, size), expected);

    TMemoryStream stream(expected);
    TReader r(stream, size);
    r.ReadListBegin();
    for (int i = -40000; i <= 40000; i += 997) {
      ASSERT_FALSE(r.EndOfList());
      ASSERT_EQ(r.ReadInteger(), i);
      ASSERT_EQ(r.ReadString(), std::to_string(i));
    }
    EXPECT_EQ(r.ReadString(), longText);
    EXPECT_TRUE(r.ReadBoolean());
    Bytes block(r.ReadInteger());
    r.Read(block.data(), block.size());
    EXPECT_EQ(block, raw);
    EXPECT_EQ(r.ReadString(), "");
    EXPECT_TRUE(r.EndOfList());
    EXPECT_TRUE(r.EndOfList());  // peeking consumes nothing
    r.ReadListEnd();
    EXPECT_EQ(r.Position(), stream.Size());

    // A long string whose last byte is the stream's last: its length is checked against what
    // is left, and all of it is left.
    TMemoryStream last(Encode([&](TWriter& w) { w.WriteString(longText); }));
    TReader lastReader(last, size);
    EXPECT_EQ(lastReader.ReadString(), longText);
  }
}

TEST(TaggedValueStream, ValuesAreBufferedNotPassedToTheStreamOneByOne) {
  CountingStream stream;
  {
    TWriter writer(stream, kStreamBufferSize);
    for (int i = 0; i < 20000; ++i) writer.WriteInteger(i);  // about 59 KB
    EXPECT_EQ(stream.writes, 0);
    EXPECT_EQ(writer.Position(), 128 * 2 + (20000 - 128) * 3);
  }
  EXPECT_EQ(stream.writes, 1);  // the destructor flushed

  stream.SetPosition(0);
  TReader reader(stream, kStreamBufferSize);
  for (int i = 0; i < 20000; ++i) ASSERT_EQ(reader.ReadInteger(), i);
  EXPECT_EQ(stream.reads, 1);
}

TEST(TaggedValueStream, LargeRawBlocksBypassTheBuffer) {
  Bytes block(3 * kStreamBufferSize + 17);
  for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<uint8_t>(i * 7);
  CountingStream stream;
  TWriter writer(stream, kStreamBufferSize);
  writer.WriteInteger(1);
  writer.Write(block.data(), block.size());
  writer.FlushBuffer();
  EXPECT_EQ(stream.writes, 2);  // the pending integer, then the block in one piece
  EXPECT_EQ(writer.Position(), static_cast<int64_t>(block.size()) + 2);

  stream.SetPosition(0);
  TReader reader(stream, kStreamBufferSize);
  EXPECT_EQ(reader.ReadInteger(), 1);
  Bytes back(block.size());
  reader.Read(back.data(), back.size());
  EXPECT_EQ(back, block);
  EXPECT_EQ(reader.Position(), stream.Size());
}

TEST(TaggedValueStream, ReaderErrors) {
  struct Case {
    const char* name;
    const char* bytes;
    std::function<void(TReader&)> read;
    const char* error;
  };
  auto readInteger = [](TReader& r) { r.ReadInteger(); };
  auto readString = [](TReader& r) { r.ReadString(); };
  const Case cases[] = {
      {"16-bit -1", "03 FF FF", [](TReader& r) { EXPECT_EQ(r.ReadInteger(), -1); }, "no error"},
      {"string where an integer is expected", "06 00", readInteger, "Invalid property value"},
      {"integer where a string is expected", "02 05", readString, "Invalid property value"},
      {"unused tag 5", "05 00 00 00 00", readInteger, "Invalid property value"},
      {"unused tag 7", "07 00", readString, "Invalid property value"},
      {"unused tag 10", "0A 00", readString, "Invalid property value"},
      {"boolean where a list begins", "09", [](TReader& r) { r.ReadListBegin(); }, "Invalid property value"},
      {"value where a list ends", "02 00", [](TReader& r) { r.ReadListEnd(); }, "Invalid property value"},
      {"empty stream, integer", "", readInteger, "Stream read error"},
      {"empty stream, string", "", readString, "Stream read error"},
      {"empty stream, boolean", "", [](TReader& r) { r.ReadBoolean(); }, "Stream read error"},
      {"empty stream, list end", "", [](TReader& r) { r.EndOfList(); }, "Stream read error"},
      {"truncated 32-bit integer", "04 01 02", readInteger, "Stream read error"},
      {"truncated short string", "06 05 41 42", readString, "Stream read error"},
      {"short string without length", "06", readString, "Stream read error"},
      {"truncated long-string length", "0C 00 01", readString, "Stream read error"},
      {"long string of 2 GB in a tiny file", "0C 00 00 00 80 41 42", readString, "Stream read error"},
      {"long string of 4 GB in a tiny file", "0C FF FF FF FF 41 42", readString, "Stream read error"},
      {"raw block past the end", "01 02",
       [](TReader& r) {
         char b[3];
         r.Read(b, 3);
       },
       "Stream read error"},
  };
  for (const Case& c : cases) {
    for (size_t size : {size_t{1}, kStreamBufferSize}) {
      SCOPED_TRACE(std::string(c.name) + ", buffer " + std::to_string(size));
      EXPECT_EQ(ReadErrorOf(Hex(c.bytes), c.read, size), c.error);
    }
  }
}

TEST(TaggedValueStream, BooleanIsTrueOnlyForTagNineAndConsumesAnyByte) {
  TMemoryStream stream(Hex("00 09 08 02 01"));
  TReader reader(stream, kStreamBufferSize);
  EXPECT_FALSE(reader.ReadBoolean());
  EXPECT_EQ(reader.Position(), 1);
  EXPECT_TRUE(reader.ReadBoolean());
  EXPECT_FALSE(reader.ReadBoolean());
  EXPECT_FALSE(reader.ReadBoolean());
  EXPECT_FALSE(reader.ReadBoolean());
  EXPECT_EQ(reader.Position(), 5);
}

TEST(TaggedValueStream, EveryTruncationOfAValidSequenceIsAReadError) {
  auto readAll = [](TReader& r) {
    r.ReadListBegin();
    while (!r.EndOfList()) {
      r.ReadString();
      r.ReadInteger();
    }
    r.ReadListEnd();
    r.ReadString();
  };
  const Bytes whole = Encode([](TWriter& w) {
    w.WriteListBegin();
    w.WriteString("Software");
    w.WriteInteger(100000);
    w.WriteString(std::string(300, 'v'));
    w.WriteInteger(-3);
    w.WriteListEnd();
    w.WriteString("end");
  });
  EXPECT_EQ(ReadErrorOf(whole, readAll), "no error");
  for (size_t length = 0; length < whole.size(); ++length) {
    SCOPED_TRACE(length);
    const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_EQ(ReadErrorOf(cut, readAll), "Stream read error");
    EXPECT_EQ(ReadErrorOf(cut, readAll, 4), "Stream read error");
  }
}

TEST(TaggedValueStream, SetPositionOverwritesWrittenValuesInPlace) {
  TMemoryStream stream;
  TWriter writer(stream, kStreamBufferSize);
  writer.WriteString("abc");
  const int64_t slot = writer.Position();
  EXPECT_EQ(slot, 5);
  writer.WriteInteger(0x7FFFFFFF);  // a placeholder of the full width
  writer.WriteString("tail");
  const int64_t end = writer.Position();
  writer.SetPosition(slot);
  writer.WriteInteger(-70000);
  EXPECT_EQ(writer.Position(), slot + 5);
  writer.SetPosition(end);
  writer.WriteBoolean(true);
  writer.FlushBuffer();
  EXPECT_EQ(stream.Bytes(),
            Join({Hex("06 03"), TextBytes("abc"), Hex("04 90 EE FE FF 06 04"), TextBytes("tail"), Hex("09")}));

  TReader reader(stream, kStreamBufferSize);
  reader.SetPosition(slot);
  EXPECT_EQ(reader.ReadInteger(), -70000);
  EXPECT_EQ(reader.ReadString(), "tail");
  reader.SetPosition(0);
  EXPECT_EQ(reader.Position(), 0);
  EXPECT_EQ(reader.ReadString(), "abc");
  EXPECT_EQ(reader.Position(), 5);
}

TEST(TaggedValueStream, ReaderStartsAtTheStreamPositionAndSyncsItBack) {
  TMemoryStream stream(Hex("FF FF 02 07 02 08"));
  stream.SetPosition(2);
  TReader reader(stream, kStreamBufferSize);
  EXPECT_EQ(reader.Position(), 2);
  EXPECT_EQ(reader.ReadInteger(), 7);
  EXPECT_EQ(stream.Position(), 6);  // the whole rest sits in the buffer
  reader.SyncStream();
  EXPECT_EQ(stream.Position(), 4);
  EXPECT_EQ(reader.ReadInteger(), 8);
}

TEST(TaggedValueStream, WriterReportsAFullDiskOnFlushButNotFromItsDestructor) {
  FailingStream stream;
  {
    TWriter writer(stream, kStreamBufferSize);
    writer.WriteInteger(1);
    EXPECT_THROW(writer.FlushBuffer(), Exception);
    writer.WriteInteger(2);
  }  // would terminate the test if the destructor let the error out
  TWriter small(stream, 4);
  EXPECT_THROW(small.WriteString("longer than the buffer"), Exception);
}
