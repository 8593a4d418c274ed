// How long a result level takes to appear in the tree view: a node with N new keys is expanded,
// its loader adds the N children the way the log loader does (each node with all its fields in
// one call, inside one update), and the view bound to the model mirrors them. Run for several N, the time
// per node shows whether the cost grows with the level's size.
// Usage: treeview_bench.exe [--rounds R] [--sizes 7500,15000,30000]
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BenchTiming.h"
#include "core/TreeModel.h"
#include "ui/TreeViewBinding.h"

namespace {

std::vector<size_t> ParseSizes(const char* text) {
  std::vector<size_t> sizes;
  for (const char* p = text; *p;) {
    char* end = nullptr;
    sizes.push_back(strtoul(p, &end, 10));
    p = *end == ',' ? end + 1 : end;
  }
  return sizes;
}

// The loader of a result level: one new key after another, as the log's change block lists them.
void AddNewKeys(TreeModel& tree, TreeNode& level, size_t count) {
  TreeUpdate update(tree);
  char name[32];
  for (size_t i = 0; i < count; ++i) {
    snprintf(name, sizeof name, "Key%06zu", i);
    tree.Add(&level, {.text = name,
                      .stateIndex = level.StateIndex(),
                      .imageIndex = 0,
                      .selectedIndex = level.SelectedIndex(),
                      .hasChildren = (i % 7) == 0,
                      .data = static_cast<int32_t>(i)});
  }
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = 5;
  std::vector<size_t> sizes = {7500, 15000, 30000};
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string option = argv[i];
    if (option == "--rounds")
      rounds = atoi(argv[i + 1]);
    else if (option == "--sizes")
      sizes = ParseSizes(argv[i + 1]);
  }

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  HWND frame = CreateWindowExA(0, "STATIC", "treeview bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 500, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND view = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES, 0, 0, 600,
                              500, frame, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!frame || !view) {
    fprintf(stderr, "no window could be created (is there a display?)\n");
    return 1;
  }

  TreeModel tree;
  TreeViewBinding binding(view, tree);
  TreeNode* top = tree.Add(nullptr, "HKEY_LOCAL_MACHINE");
  TreeNode* level = tree.Add(top, "Software");
  tree.Expand(top);
  size_t pending = 0;
  tree.SetLoader([&pending](TreeModel& model, TreeNode& node) { AddNewKeys(model, node, pending); });

  printf("| new keys in the level | best ms | median ms | best us per key |\n|---:|---:|---:|---:|\n");
  for (size_t size : sizes) {
    Samples wall;
    for (int round = 0; round < rounds; ++round) {
      tree.Collapse(level);
      tree.DeleteChildren(level);
      tree.SetHasChildren(level, true);
      pending = size;
      const double start = WallMs();
      tree.Expand(level);
      MSG message;  // what the user waits for includes the paint of the opened level
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
      wall.ms.push_back(WallMs() - start);
      if (level->Count() != size) {
        fprintf(stderr, "the level holds %zu keys, not %zu\n", level->Count(), size);
        return 1;
      }
    }
    printf("| %zu | %.1f | %.1f | %.2f |\n", size, wall.Best(), wall.Median(), 1000.0 * wall.Best() / size);
    fflush(stdout);
  }
  DestroyWindow(frame);
  return 0;
}
