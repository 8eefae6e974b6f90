// Port to the captions dialog: the list of captions, the text box for a new one, and closing.
#pragma once
#include <string>

#include "ports/list_view.h"

namespace kolvane {

class CaptionsView {
public:
    virtual ~CaptionsView() = default;
    virtual ListView& captions() = 0;  // single selection
    virtual std::string entry_text() = 0;
    virtual void unload() = 0;
};

}  // namespace kolvane
