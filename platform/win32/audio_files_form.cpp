// The audio files dialog: drives, a folder tree and the matching files of the shown folder, the audio list.
#include "platform/win32/audio_files_form.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "app/app.h"
#include "platform/win32/resource.h"

namespace kolvane::win32 {

namespace {

constexpr std::array audio_tips{
    ToolTip{IDC_AUD_COMMAND1, " Add the audio files that are currently selected "},
    ToolTip{IDC_AUD_COMMAND2, " Add all audio files from this directory "},
    ToolTip{IDC_AUD_LIST2, "This is a list of music files to play during the screen saver "},
    ToolTip{IDC_AUD_COMMAND5, " Removes the selected audio files from the playback list "},
    ToolTip{IDC_AUD_COMMAND6, " Exit without saving changes "},
    ToolTip{IDC_AUD_COMMAND3, " Save any changes and exit "},
};

std::string with_separator(const std::string& folder) {
    return !folder.empty() && folder.back() == '\\' ? folder : folder + '\\';
}

bool less_ignoring_case(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

// The drive's name as the drive list shows it: "c:".
std::string drive_name(char letter) {
    return {static_cast<char>(std::tolower(static_cast<unsigned char>(letter))), ':'};
}

}  // namespace

bool matches_pattern(std::string_view name, std::string_view pattern) {
    // Backtracking over the last "*" is enough for patterns of stars and question marks.
    std::size_t n = 0, p = 0, star = std::string_view::npos, resume = 0;
    const auto same = [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    };
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || same(pattern[p], name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::vector<std::string> pattern_parts(const std::string& pattern) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= pattern.size()) {
        const std::size_t end = std::min(pattern.find(';', start), pattern.size());
        if (end > start) parts.push_back(pattern.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

AudioFilesForm::AudioFilesForm(App& app, HINSTANCE instance)
    : DialogWindow(instance, IDD_AUDIOFILES), logic_(app.platform.system, app.startup, app.lists, *this, &player_) {}

bool AudioFilesForm::on_init() {
    files_.attach(item(IDC_AUD_FILE1));
    audio_list_.attach(item(IDC_AUD_LIST2));
    tool_tips_ = add_tool_tips(window(), audio_tips);
    logic_.Form_Load();
    return true;
}

bool AudioFilesForm::browse_to(const std::string& folder) {
    char full[MAX_PATH] = {};
    const DWORD n = GetFullPathNameA(folder.c_str(), MAX_PATH, full, nullptr);
    bool readable = n > 0 && n < MAX_PATH;
    std::string path(full, readable ? n : 0);
    if (path.size() > 3 && path.back() == '\\') path.pop_back();
    std::vector<std::string> subfolders;
    if (readable) {
        // A folder that cannot be listed (a drive with no medium, a missing or locked folder) is refused,
        // without the system's own box asking for a disk.
        DWORD old_mode = 0;
        SetThreadErrorMode(SEM_FAILCRITICALERRORS, &old_mode);
        WIN32_FIND_DATAA found{};
        HANDLE search = FindFirstFileA((with_separator(path) + "*").c_str(), &found);
        SetThreadErrorMode(old_mode, nullptr);
        readable = search != INVALID_HANDLE_VALUE;
        if (readable) {
            do {
                const std::string name = found.cFileName;
                if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..")
                    subfolders.push_back(name);
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
    }
    if (!readable) {
        list_drives();  // the drive list goes back to the drive still shown
        return false;
    }
    folder_ = path;
    files_folder_ = path;
    std::sort(subfolders.begin(), subfolders.end(), less_ignoring_case);
    list_drives();
    list_folders(subfolders);
    list_files();
    return true;
}

bool AudioFilesForm::show_files(const std::string& folder) {
    DWORD old_mode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS, &old_mode);
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((with_separator(folder) + "*").c_str(), &found);
    SetThreadErrorMode(old_mode, nullptr);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    files_folder_ = folder;
    list_files();
    return true;
}

void AudioFilesForm::list_drives() {
    HWND combo = item(IDC_AUD_DRIVE1);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    const DWORD drives = GetLogicalDrives();
    for (int i = 0; i < 26; ++i)
        if (drives & (1u << i))
            SendMessageA(combo, CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(drive_name(static_cast<char>('a' + i)).c_str()));
    if (folder_.size() >= 2 && folder_[1] == ':')
        SendMessageA(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(drive_name(folder_[0]).c_str()));
}

void AudioFilesForm::list_folders(const std::vector<std::string>& subfolders) {
    // The tree of a folder list: each ancestor from the root down, indented by its depth, then the
    // shown folder's own folders one step further in.
    HWND list = item(IDC_AUD_DIR1);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    folder_paths_.clear();
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start < folder_.size()) {
        const std::size_t end = std::min(folder_.find('\\', start), folder_.size());
        const std::string name = folder_.substr(start, end - start);
        if (!name.empty()) {
            folder_paths_.push_back(folder_paths_.empty() ? name + '\\' : with_separator(folder_paths_.back()) + name);
            names.push_back(folder_paths_.size() == 1 ? name + '\\' : name);
        }
        start = end + 1;
    }
    const std::size_t shown = folder_paths_.empty() ? 0 : folder_paths_.size() - 1;
    for (const std::string& name : subfolders) {
        folder_paths_.push_back(with_separator(folder_) + name);
        names.push_back(name);
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::size_t depth = std::min(i, shown + 1);
        const std::string text = std::string(depth * 3, ' ') + names[i];
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageA(list, LB_SETCURSEL, shown, 0);
    ListBoxView(list).update_extent();
}

void AudioFilesForm::list_files() {
    // The names are matched here rather than by the file system, whose short names would let "*.wav" take
    // "x.wave" too.
    HWND list = item(IDC_AUD_FILE1);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((with_separator(files_folder_) + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) continue;
        const std::string name = found.cFileName;
        if (std::any_of(patterns_.begin(), patterns_.end(),
                        [&](const std::string& part) { return matches_pattern(name, part); }))
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void AudioFilesForm::open_chosen_folder() {
    const LRESULT index = SendDlgItemMessageA(window(), IDC_AUD_DIR1, LB_GETCURSEL, 0, 0);
    if (index < 0 || static_cast<std::size_t>(index) >= folder_paths_.size()) return;
    const std::string path = folder_paths_[static_cast<std::size_t>(index)];
    logic_.Drive1_Change(path);
}

void AudioFilesForm::chosen_folder_clicked() {
    const LRESULT index = SendDlgItemMessageA(window(), IDC_AUD_DIR1, LB_GETCURSEL, 0, 0);
    if (index < 0 || static_cast<std::size_t>(index) >= folder_paths_.size()) return;
    logic_.Dir1_Click(folder_paths_[static_cast<std::size_t>(index)]);
}

void AudioFilesForm::drive_chosen() {
    HWND combo = item(IDC_AUD_DRIVE1);
    const LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (index < 0) return;
    char name[8] = {};
    if (SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0) >= static_cast<LRESULT>(sizeof name))
        return;
    SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(name));
    logic_.Drive1_Change(std::string(name) + '\\');
}

void AudioFilesForm::unload() {
    if (unloaded_) return;
    unloaded_ = true;
    logic_.Form_Unload();
    end();
}

INT_PTR AudioFilesForm::handle(UINT message, WPARAM wparam, LPARAM) {
    if (message == WM_CLOSE) {
        unload();
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    const int code = HIWORD(wparam);
    switch (LOWORD(wparam)) {
        case IDOK:
            // Enter in the folder list opens the chosen folder.
            if (GetFocus() == item(IDC_AUD_DIR1)) open_chosen_folder();
            return TRUE;
        case IDCANCEL:  // Escape does nothing
            return TRUE;
        case IDC_AUD_DRIVE1:
            if (code == CBN_SELCHANGE) drive_chosen();
            return TRUE;
        case IDC_AUD_DIR1:
            if (code == LBN_DBLCLK) open_chosen_folder();
            if (code == LBN_SELCHANGE) chosen_folder_clicked();
            return TRUE;
        case IDC_AUD_FILE1:
            if (code == LBN_DBLCLK) logic_.File1_DblClick();
            return TRUE;
        case IDC_AUD_LIST2:
            if (code == LBN_DBLCLK) logic_.List2_DblClick();
            return TRUE;
        case IDC_AUD_COMMAND1:
            if (code == BN_CLICKED) logic_.Command1_Click();
            return TRUE;
        case IDC_AUD_COMMAND2:
            if (code == BN_CLICKED) logic_.Command2_Click();
            return TRUE;
        case IDC_AUD_COMMAND5:
            if (code == BN_CLICKED) logic_.Command5_Click();
            return TRUE;
        case IDC_AUD_COMMAND6:
            if (code == BN_CLICKED) logic_.Command6_Click();
            return TRUE;
        case IDC_AUD_COMMAND3:
            if (code == BN_CLICKED) logic_.Command3_Click();
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace kolvane::win32
