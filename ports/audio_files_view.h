// Port to the audio files dialog: the drive, folder and file browser, the audio list, and closing.
#pragma once
#include <string>

#include "ports/list_view.h"

namespace kolvane {

class AudioFilesView {
public:
    virtual ~AudioFilesView() = default;
    // Only files matching the pattern ("*.mid;*.rmi;*.wav") are listed.
    virtual void set_file_pattern(const std::string& pattern) = 0;
    // The drive, folder and file lists show this folder; false when it cannot be read (they stay).
    virtual bool browse_to(const std::string& folder) = 0;
    // Only the file list shows this folder's files; the folder list keeps what it shows until the folder
    // is opened. Where one control shows both, it opens the folder. False when it cannot be read.
    virtual bool show_files(const std::string& folder) = 0;
    // The folder the file list shows, as the system names it.
    virtual std::string file_folder() = 0;
    virtual ListView& files() = 0;       // names in the folder; several selectable
    virtual ListView& audio_list() = 0;  // full paths; several selectable
    virtual void unload() = 0;
};

}  // namespace kolvane
