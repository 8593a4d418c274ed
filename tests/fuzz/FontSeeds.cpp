// Writes the seed fonts of font_names_fuzz into the folder named on the command line: small
// TrueType files of our own making that reach every branch of the name-table reader, so the
// fuzzer starts from valid structure instead of finding the version number by chance.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/fonts/TrueTypeBuilder.h"

using namespace truetype_test;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: font_seeds <folder>\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  const std::pair<const char*, Bytes> seeds[] = {
      {"loadable.ttf", TrueTypeBuilder().WindowsNames("Seed Sans", "Bold Italic").Selection(0x21).Loadable().Build()},
      {"languages.ttf", TrueTypeBuilder()
                            .Name(1, 0, 0, 1, "Mac Family")
                            .Name(3, 1, 0x0407, 4, "Deutsch")
                            .Name(3, 1, 0x0409, 4, "English")
                            .Name(3, 1, 0, 4, "Neutral")
                            .Name(0, 3, 0, 5, "Version 1.0")
                            .Name(3, 0, 0x0409, 0, "Symbol copyright")
                            .Selection(0x20)
                            .Build()},
      {"all-ids.ttf",
       [] {
         TrueTypeBuilder builder;
         for (uint16_t id = 0; id < 10; ++id) builder.Name(3, 1, 0x0409, id, "Name " + std::to_string(id));
         return builder.Selection(1).Build();
       }()},
      {"no-names.ttf", TrueTypeBuilder().WithoutNameTable().Selection(0x40).Build()},
  };
  for (const auto& [name, bytes] : seeds) {
    std::ofstream out(folder / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) return 1;
  }
  return 0;
}
