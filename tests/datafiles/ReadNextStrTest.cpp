#include <gtest/gtest.h>

#include "core/ScriptedInteraction.h"
#include "datafiles/ReadNextStr.h"
#include "tests/datafiles/StreamBytes.h"

TEST(ReadNextStr, WalksACountedListAndReportsItsEnd) {
  TMemoryStream stream(Encode([](TWriter& w) {
    w.WriteString("Alpha");
    w.WriteString("beta");
    w.WriteInteger(7);  // what follows the list must stay unread
  }));
  TReader reader(stream, kStreamBufferSize);
  ScriptedInteraction ui;
  std::string text = "previous";
  int index = 0;

  EXPECT_FALSE(ReadNextStr(reader, text, 2, index, ui, ReadNextStrVariant::Registry));
  EXPECT_EQ(text, "Alpha");
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(ReadNextStr(reader, text, 2, index, ui, ReadNextStrVariant::Registry));
  EXPECT_EQ(text, "beta");
  EXPECT_EQ(index, 2);
  EXPECT_TRUE(ReadNextStr(reader, text, 2, index, ui, ReadNextStrVariant::Registry));
  EXPECT_EQ(text, "");
  EXPECT_EQ(index, 2);
  EXPECT_EQ(reader.ReadInteger(), 7);

  // An empty list reads nothing at all.
  reader.SetPosition(0);
  text = "stale";
  index = 0;
  EXPECT_TRUE(ReadNextStr(reader, text, 0, index, ui, ReadNextStrVariant::FileStructure));
  EXPECT_EQ(text, "");
  EXPECT_EQ(reader.Position(), 0);
  EXPECT_TRUE(ui.messages.empty());
}

TEST(ReadNextStr, AFailedReadIsShownAndDoesNotPropagate) {
  struct Case {
    ReadNextStrVariant variant;
    const char* bytes;  // after the first name "Run"
    const char* message;
    int64_t streamPosition;  // after the call
  };
  // The name "Run" takes bytes 0 to 4; the bad value starts at 5. Without the resync the
  // stream stays where the buffer's fill left it, at the end.
  const Case cases[] = {
      {ReadNextStrVariant::Registry, "04 00 00 00 00", "ERROR in ReadNextStr:Run\rPos:6 Size", 10},
      {ReadNextStrVariant::FileStructure, "04 00 00 00 00", "ERROR in ReadNextStr:Run\rPos:6 Size", 6},
      {ReadNextStrVariant::SystemFiles, "04 00 00 00 00", "Error in ReadNextStr:Run\rPos:6 Size", 6},
      // Truncated: the reader has consumed what the file holds.
      {ReadNextStrVariant::Registry, "06 09 41 42", "ERROR in ReadNextStr:Run\rPos:9 Size", 9},
      // A length beyond the file fails before the characters are read.
      {ReadNextStrVariant::Registry, "0C FF FF FF 7F 41", "ERROR in ReadNextStr:Run\rPos:10 Size", 11},
      {ReadNextStrVariant::SystemFiles, "0C FF FF FF 7F 41", "Error in ReadNextStr:Run\rPos:10 Size", 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    TMemoryStream stream(Join({Hex("06 03"), TextBytes("Run"), Hex(c.bytes)}));
    TReader reader(stream, kStreamBufferSize);
    ScriptedInteraction ui;
    std::string text;
    int index = 0;
    EXPECT_FALSE(ReadNextStr(reader, text, 3, index, ui, c.variant));
    EXPECT_FALSE(ReadNextStr(reader, text, 3, index, ui, c.variant));
    EXPECT_EQ(text, "Run");
    EXPECT_EQ(index, 1);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, c.message);
    EXPECT_EQ(ui.messages[0].type, MsgType::Error);
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(stream.Position(), c.streamPosition);
  }
}
