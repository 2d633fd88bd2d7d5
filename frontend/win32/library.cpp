#include "library.h"

#include <windows.h>

#include "messages.h"
#include "system_text.h"

namespace quillet {

namespace {

constexpr const char* kLibraryFileName = "quillet.dll";

std::wstring modulePath(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring programFolder() {
    const std::wstring program = modulePath(nullptr);
    return program.substr(0, program.find_last_of(L"\\/"));
}

// The system's words for an error about a file, without the line break they end with. Some
// name the file as %1.
std::string systemMessage(DWORD code, const std::wstring& file) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0) {
        return "Windows error " + std::to_string(code) + ".";
    }
    std::wstring message(text, length);
    LocalFree(text);
    message.erase(message.find_last_not_of(L" \r\n") + 1);
    if (const std::size_t insert = message.find(L"%1"); insert != std::wstring::npos) {
        message.replace(insert, 2, file);
    }
    return toNarrow(message);
}

}  // namespace

QuilletRemoveIntroAutoFunction loadRemoveIntroAuto(std::string& error) {
    const std::wstring fileName = toWide(kLibraryFileName);
    // By its bare name, but only beside the program and in the system's folders: not in the
    // current folder or along the PATH, where any file of that name could be waiting.
    const HMODULE library =
        LoadLibraryExW(fileName.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    if (library == nullptr) {
        const DWORD failure = GetLastError();
        const std::wstring folder = programFolder();
        // Only a file that is there and still fails says something the user can act on.
        const std::wstring path = folder + L'\\' + fileName;
        error =
            libraryNotLoadedMessage(kLibraryFileName, toNarrow(folder),
                                    isFile(path) ? systemMessage(failure, path) : std::string());
        return nullptr;
    }
    const FARPROC function = GetProcAddress(library, "RemoveIntroAuto");
    if (function == nullptr) {
        error = libraryLacksFunctionMessage(toNarrow(modulePath(library)));
        FreeLibrary(library);
        return nullptr;
    }
    return reinterpret_cast<QuilletRemoveIntroAutoFunction>(reinterpret_cast<void (*)()>(function));
}

}  // namespace quillet
