// The captions dialog's logic.
#include "config_ui/captions_dialog.h"

#include <algorithm>

namespace kolvane {

void CaptionsDialog::Form_Load() {
    ListView& list = view_.captions();
    list.clear();
    loaded_ = load_caption_list(data_folders(startup_, &system_), lists_);
    for (std::int32_t i = 1; i <= lists_.caption_count; ++i) list.add(lists_.captions[static_cast<std::size_t>(i)]);
    if (loaded_ != ListLoad::whole)
        system_.message_box(loaded_ == ListLoad::cut ? captions_cut_text : captions_unreadable_text, captions_title,
                            MessageKind::warning);
}

void CaptionsDialog::Command2_Click() {
    const std::string text = view_.entry_text();
    if (text.empty()) return;
    // The list file has no way to keep a double quote inside an entry.
    if (text.find('"') != std::string::npos) {
        system_.message_box(caption_quote_text, captions_title, MessageKind::plain);
        return;
    }
    // More lines than the list may hold would make the whole file load as empty.
    if (view_.captions().count() >= max_captions) {
        system_.message_box(captions_full_text, captions_title, MessageKind::plain);
        return;
    }
    view_.captions().add(text);
    system_.pump_events(0);
}

int CaptionsDialog::Text1_KeyPress(int key) {
    if (key != 13) return key;
    Command2_Click();
    return 0;
}

void CaptionsDialog::Command4_Click() {
    ListView& list = view_.captions();
    const int index = list.current();
    if (index >= 0 && index < list.count()) list.remove(index);
    system_.pump_events(0);
}

void CaptionsDialog::Command1_Click() {
    // What the list could not show would be lost with the file: the user says whether to go on.
    if (loaded_ != ListLoad::whole && !system_.ask_yes_no(captions_overwrite_text, captions_title)) return;
    ListView& list = view_.captions();
    const int lines = std::min(list.count(), max_captions);
    lists_.caption_count = 0;
    for (int i = 1; i <= lines; ++i) lists_.captions[static_cast<std::size_t>(i)] = list.line(i - 1);
    lists_.caption_count = lines;
    // The dialog stays open on a failed save, so the user's captions are not lost with it.
    const DataFolders folders = data_folders(startup_, &system_);
    if (!save_caption_list(folders, lists_)) {
        system_.message_box(unsaved_file_text(captions_unsaved_text, folders, caption_list_name),
                            captions_title, MessageKind::warning);
        return;
    }
    view_.unload();
}

void CaptionsDialog::Command3_Click() { view_.unload(); }

}  // namespace kolvane
