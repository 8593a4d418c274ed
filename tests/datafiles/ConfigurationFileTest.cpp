#include <gtest/gtest.h>

#include "core/Errors.h"
#include "datafiles/ConfigurationFile.h"
#include "datafiles/TReader.h"
#include "tests/datafiles/StreamBytes.h"

TEST(ConfigurationFile, HeadersAreClassifiedByExactMatch) {
  EXPECT_EQ(kRegistrationHeader.size(), 54u);
  EXPECT_EQ(kDrivesHeader.size(), 39u);
  EXPECT_EQ(kSystemFilesHeader.size(), 44u);
  struct Case {
    std::string_view first;
    HeaderKind kind;
  };
  const Case cases[] = {
      {"* THIS IS A SNAPTRACE REGISTRATION DATAFILE Ver 4/97 *", HeaderKind::Current},
      {"* THIS IS A SNAPTRACE REGISTRATION DATAFILE Ver2 *", HeaderKind::OlderVersion},
      {"* this is a snaptrace registration datafile ver 4/97 *", HeaderKind::Foreign},
      {"* THIS IS A SNAPTRACE REGISTRATION DATAFILE Ver 4/97 * ", HeaderKind::Foreign},
      {"* THIS IS A SNAPTRACE DRIVES DATAFILE *", HeaderKind::Foreign},
      {"", HeaderKind::Foreign},
  };
  for (const Case& c : cases) EXPECT_EQ(ClassifyHeader(c.first), c.kind) << c.first;
}

TEST(ConfigurationFile, RefusalMessages) {
  EXPECT_EQ(HeaderRefusalMessage(HeaderKind::Current, "C:\\Q\\OldCFG.SXD"), "");
  EXPECT_EQ(HeaderRefusalMessage(HeaderKind::OlderVersion, "C:\\Q\\OldCFG.SXD"),
            "This version of the program does not process *.SXD-files of version 1.4 or "
            "earlier!");
  EXPECT_EQ(HeaderRefusalMessage(HeaderKind::Foreign, "C:\\Q\\NewCFG.SXD"),
            "ERROR: C:\\Q\\NewCFG.SXD\rInvalid file or wrong version.");
}

TEST(ConfigurationFile, EmptyConfigurationIs149Bytes) {
  const Bytes file = Encode([](TWriter& w) {
    w.WriteString(kRegistrationHeader);
    w.WriteListBegin();
    w.WriteListEnd();
    w.WriteString(kDrivesHeader);
    w.WriteListBegin();
    w.WriteListEnd();
    w.WriteString(kSystemFilesHeader);
    w.WriteListBegin();
    w.WriteListEnd();
  });
  EXPECT_EQ(file, Join({Hex("06 36"), TextBytes(kRegistrationHeader), Hex("01 00 06 27"), TextBytes(kDrivesHeader),
                        Hex("01 00 06 2C"), TextBytes(kSystemFilesHeader), Hex("01 00")}));
  EXPECT_EQ(file.size(), 149u);

  TMemoryStream stream(file);
  TReader reader(stream, kStreamBufferSize);
  EXPECT_EQ(ClassifyHeader(reader.ReadString()), HeaderKind::Current);
  reader.ReadListBegin();
  EXPECT_TRUE(reader.EndOfList());
}

TEST(ConfigurationFile, RecordEncodings) {
  struct Case {
    const char* name;
    std::function<void(TWriter&)> write;
    Bytes bytes;
  };
  const std::string longText(300, 's');
  const Case cases[] = {
      {"empty key record",
       [](TWriter& w) {
         w.WriteInteger(0);
         w.WriteInteger(0);
       },
       Hex("02 00 02 00")},
      {"REG_SZ Path = C:\\A",
       [](TWriter& w) {
         w.WriteString("Path");
         w.WriteInteger(21);
         w.WriteInteger(1);
         w.WriteString("C:\\A");
       },
       Hex("06 04 50 61 74 68, 02 15, 02 01, 06 04 43 3A 5C 41")},
      {"REG_MULTI_SZ a, b",
       [](TWriter& w) {
         w.WriteString("");
         w.WriteInteger(21);
         w.WriteInteger(7);
         w.WriteInteger(6);
         w.Write("a\0b\0\0", 6);
       },
       Hex("06 00, 02 15, 02 07, 02 06, 61 00 62 00 00 00")},
      {"300-character REG_SZ", [&](TWriter& w) { w.WriteString(longText); },
       Join({Hex("0C 2C 01 00 00"), TextBytes(longText)})},
      {"file A.TXT, 300 bytes, archive",
       [](TWriter& w) {
         w.WriteString("A.TXT");
         w.WriteInteger(21);
         w.WriteInteger(0x2E8A5C21);  // 2003-04-10 11:33:02
         w.WriteInteger(300);
         w.WriteInteger(0x20);
       },
       Hex("06 05 41 2E 54 58 54, 02 15, 04 21 5C 8A 2E, 03 2C 01, 02 20")},
  };
  for (const Case& c : cases) EXPECT_EQ(Encode(c.write), c.bytes) << c.name;
}

TEST(ConfigurationFile, ForeignFilesFailWithAReadErrorAtTheHeader) {
  struct Case {
    const char* name;
    Bytes bytes;
    const char* error;
  };
  const Case cases[] = {
      {"empty file", {}, "Stream read error"},
      {"an executable", TextBytes("MZ\x90"), "Invalid property value"},
      {"a header cut short", Join({Hex("06 36"), TextBytes("* THIS IS")}), "Stream read error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TMemoryStream stream(c.bytes);
    TReader reader(stream, kStreamBufferSize);
    try {
      reader.ReadString();
      ADD_FAILURE() << "no error";
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message(), c.error);
    }
  }
}
