// Port to a list box of text lines, counted from 0, with one or several lines selectable.
#pragma once
#include <string>

namespace kolvane {

class ListView {
public:
    virtual ~ListView() = default;
    virtual int count() = 0;
    virtual std::string line(int index) = 0;
    virtual bool selected(int index) = 0;
    // The line with the focus (the one a double click or a single selection names); -1 for none.
    virtual int current() = 0;
    virtual void add(const std::string& text) = 0;  // at the end
    virtual void remove(int index) = 0;
    virtual void clear() = 0;
    // No line current and none selected.
    virtual void clear_selection() = 0;
};

}  // namespace kolvane
