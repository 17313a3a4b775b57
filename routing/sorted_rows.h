// The order of the sorted lists of the configuration screen: ascending by
// caption in the locale's case-sensitive order (lstrcmpA on Windows). Rows
// with equal captions keep the order in which they were added.
#pragma once

#include <algorithm>
#include <vector>

#include "platform/text_locale.h"

namespace routing {

template <class Row>
void sortByCaption(std::vector<Row>& rows) {
  std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
    return platform::compareText(a.caption, b.caption) < 0;
  });
}

}  // namespace routing
