#pragma once
// The resume bookmark: copies between the current browser state and its bookmark.
#include <cstdint>

namespace lorvan::app {
class frmMain;
}

namespace lorvan::navigation {

// 1 dimension the stacks, 2 store, 3 restore; other values do nothing.
void HandleResumeData(app::frmMain& f, int32_t mode);

}  // namespace lorvan::navigation
