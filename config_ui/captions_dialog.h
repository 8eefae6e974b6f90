// The captions dialog's logic: the list loaded from its file, lines added and removed, saved or left.
#pragma once
#include <string>

#include "lists/lists.h"
#include "ports/captions_view.h"
#include "ports/system_api.h"
#include "startup/startup_values.h"

namespace kolvane {

inline constexpr const char* captions_caption = "Edit Screen Saver Captions";
inline constexpr const char* captions_full_text = "Maximum of 100 Captions Reached!";
inline constexpr const char* captions_title = "Screen Saver Captions";
inline constexpr const char* caption_quote_text =
    "A caption cannot hold a double quote (\").\rPlease type it without one.";
inline constexpr const char* captions_cut_text =
    "Only The First 100 Captions Were Loaded!\rThe caption file holds more; the rest were left out.";
inline constexpr const char* captions_unreadable_text = "The Caption File Could Not Be Read!";
inline constexpr const char* captions_overwrite_text =
    "The caption file was not loaded whole.\rSaving replaces all of it with the list shown. Save anyway?";

class CaptionsDialog {
public:
    // The list file lives in startup's data folders.
    CaptionsDialog(SystemApi& system, const StartupValues& startup, Lists& lists, CaptionsView& view)
        : system_(system), startup_(startup), lists_(lists), view_(view) {}

    void Form_Load();
    void Command2_Click();  // Add
    // Enter adds the text and is swallowed (0 returned); other keys come back unchanged.
    int Text1_KeyPress(int key);
    void Command4_Click();  // Remove Selected Caption
    void Command1_Click();  // Save And Exit
    void Command3_Click();  // Cancel

private:
    SystemApi& system_;
    const StartupValues& startup_;
    Lists& lists_;
    CaptionsView& view_;
    ListLoad loaded_ = ListLoad::whole;  // how much of the file the list shows
};

}  // namespace kolvane
