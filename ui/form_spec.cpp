#include "ui/form_spec.h"

#include <algorithm>
#include <string_view>

namespace ui {
namespace {

// How far below a row's top another control still reads as part of it.
constexpr int kRowSlack = 8;

void appendInReadingOrder(std::span<const ControlSpec> controls, std::string_view parent,
                          std::vector<size_t>& order) {
  std::vector<size_t> row, children;
  for (size_t i = 0; i < controls.size(); ++i)
    if (std::string_view(controls[i].parent ? controls[i].parent : "") == parent)
      children.push_back(i);
  std::ranges::stable_sort(children, {}, [&](size_t i) { return controls[i].y; });
  for (size_t next = 0; next < children.size();) {
    const int top = controls[children[next]].y;
    size_t end = next;
    while (end < children.size() && controls[children[end]].y <= top + kRowSlack) ++end;
    row.assign(children.begin() + next, children.begin() + end);
    std::ranges::stable_sort(row, {}, [&](size_t i) { return controls[i].x; });
    for (size_t i : row) {
      order.push_back(i);
      appendInReadingOrder(controls, controls[i].name, order);
    }
    next = end;
  }
}

}  // namespace

std::vector<size_t> readingOrder(std::span<const ControlSpec> controls) {
  std::vector<size_t> order;
  order.reserve(controls.size());
  appendInReadingOrder(controls, "", order);
  return order;
}

}  // namespace ui
