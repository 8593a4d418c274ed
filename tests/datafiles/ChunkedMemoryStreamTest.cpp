#include "datafiles/ChunkedMemoryStream.h"

#include <gtest/gtest.h>

#include "core/Errors.h"

TEST(ChunkedMemoryStream, AppendsAcrossChunksAndReadsBackInOrder) {
  TChunkedMemoryStream stream;
  std::vector<uint8_t> expected;
  // Pieces that straddle chunk borders, one larger than a whole chunk.
  for (size_t size :
       {size_t{7}, TChunkedMemoryStream::kChunkSize - 3, size_t{10}, TChunkedMemoryStream::kChunkSize * 2 + 5}) {
    std::vector<uint8_t> piece(size);
    for (size_t i = 0; i < size; ++i) piece[i] = static_cast<uint8_t>(expected.size() + i);
    stream.Write(piece.data(), piece.size());
    expected.insert(expected.end(), piece.begin(), piece.end());
  }
  EXPECT_EQ(stream.Size(), static_cast<int64_t>(expected.size()));
  EXPECT_EQ(stream.Bytes(), expected);

  stream.SetPosition(TChunkedMemoryStream::kChunkSize - 2);
  uint8_t four[4];
  ASSERT_EQ(stream.Read(four, 4), 4u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(four[i], expected[TChunkedMemoryStream::kChunkSize - 2 + i]);

  uint8_t byte = 0;
  EXPECT_THROW(stream.Write(&byte, 1), Exception) << "writes only append";
}
