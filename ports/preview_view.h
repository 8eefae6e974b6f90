// Port to the preview picture placed into the display settings' preview area.
#pragma once

namespace kolvane {

struct HostRect {
    int left = 0, top = 0, right = 0, bottom = 0;  // pixels
};

class PreviewView {
public:
    virtual ~PreviewView() = default;
    // The host's client rectangle; empty when the host is not a window.
    virtual HostRect host_client_rect(unsigned long host) = 0;
    // Places the picture box at (0, 0) of its parent with this size, in twips.
    virtual void size_picture_twips(float width, float height) = 0;
    // Makes the picture box a child of the host window, or takes it back into its own form.
    virtual void attach_to_host(unsigned long host) = 0;
    virtual void detach_from_host() = 0;
    virtual bool host_exists(unsigned long host) = 0;
    // Ends the preview: the form unloads and, with no other window, the process ends.
    virtual void unload() = 0;
};

}  // namespace kolvane
