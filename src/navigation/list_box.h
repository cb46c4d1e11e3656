#pragma once
// The browser's lists: the folder's listing and the five visible lines, which the main
// window shows as its list boxes.
#include <string>
#include <vector>

namespace lorvan::navigation {

// An unsorted list box: lines and the current index (-1 when none).
class ListBox {
 public:
  explicit ListBox(std::string name) : name(std::move(name)) {}
  void AddItem(std::string line) { lines.push_back(std::move(line)); }
  void Clear() {
    lines.clear();
    list_index = -1;
  }
  int ListCount() const { return static_cast<int>(lines.size()); }

  std::string name;
  std::vector<std::string> lines;
  int list_index = -1;
};

}  // namespace lorvan::navigation
