#include "file_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "system_text.h"

namespace quillet {

namespace {

// Room for the longest path that Windows takes.
constexpr DWORD kPathRoom = 32768;

bool runDialog(OPENFILENAMEW& dialog, bool save) {
    return (save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog)) != FALSE;
}

}  // namespace

std::optional<std::string> chooseFile(HWND owner, bool save, const std::string& current) {
    std::vector<wchar_t> file(kPathRoom, L'\0');
    std::wstring folder;
    if (!current.empty()) {
        std::vector<wchar_t> full(kPathRoom, L'\0');
        wchar_t* name = nullptr;
        const DWORD length =
            GetFullPathNameW(toWide(current).c_str(), kPathRoom, full.data(), &name);
        if (length > 0 && length < kPathRoom) {
            const std::wstring path(full.data(), length);
            const std::size_t nameStart = name != nullptr ? name - full.data() : length;
            folder = path.substr(0, nameStart);
            // A save dialog proposes the name in the box; an open dialog names only a file that
            // exists.
            if (save || isFile(path)) {
                std::copy(path.begin() + nameStart, path.end(), file.begin());
            }
        }
    }
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = kPathRoom;
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST |
                   (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    bool chosen = runDialog(dialog, save);
    // A box may hold what no file can be named; the dialog then opens on its folder alone.
    if (!chosen && CommDlgExtendedError() == FNERR_INVALIDFILENAME) {
        file[0] = L'\0';
        chosen = runDialog(dialog, save);
    }
    if (!chosen) {
        return std::nullopt;
    }
    return toNarrow(file.data());
}

}  // namespace quillet
