// Arbitrary bytes as a tree block. Whatever tree a read leaves (all of it, or the nodes before
// a damaged record), writing it and reading that back must give the same tree, and writing the
// copy the same bytes: a difference is a finding, like a crash or a foreign exception.

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "core/Errors.h"
#include "datafiles/Stream.h"
#include "datafiles/TreeBlock.h"
#include "tests/datafiles/StreamBytes.h"
#include "tests/datafiles/TreeDump.h"

namespace {

void Read(const Bytes& bytes, TreeModel& tree) {
  TMemoryStream stream(bytes);
  TReader reader(stream, kStreamBufferSize);
  ReadTreeBlock(reader, tree, true);
}

Bytes Write(TreeModel& tree) {
  return Encode([&](TWriter& w) { WriteTreeBlock(w, tree, false, false); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TreeModel tree;
  try {
    Read(Bytes(data, data + size), tree);
  } catch (const Exception&) {
  }
  const Bytes written = Write(tree);
  TreeModel copy;
  Read(written, copy);  // our own block: any error escapes and is a finding
  if (DumpTree(copy) != DumpTree(tree)) {
    std::fprintf(stderr, "the tree read back differs:\n%s---\n%s", DumpTree(tree).c_str(), DumpTree(copy).c_str());
    std::abort();
  }
  if (Write(copy) != written) std::abort();
  return 0;
}
