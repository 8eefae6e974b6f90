// The in-memory dialog views.
#include "tests/config_ui/fake_views.h"

namespace kolvane::testing {

void FakeList::remove(int index) {
    lines.erase(lines.begin() + index);
    std::set<int> moved;
    for (int i : chosen)
        if (i != index) moved.insert(i > index ? i - 1 : i);
    chosen = moved;
    if (focus == index) focus = -1;
    else if (focus > index) --focus;
}

bool FakeAudioFilesView::browse_to(const std::string& folder) {
    browsed.push_back(folder);
    const auto found = folders.find(folder);
    if (found == folders.end()) return false;
    shown_folder = folder;
    file_list.clear();
    for (const std::string& name : found->second) file_list.add(name);
    return true;
}

}  // namespace kolvane::testing
