// quillet.exe: the window, with the image named on the command line opened in it.
#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "Form1.h"
#include "messages.h"
#include "system_text.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    const std::vector<std::wstring> arguments(words + std::min(count, 1), words + count);
    LocalFree(words);
    // A program without a console answers its options in a box.
    const std::wstring first = arguments.empty() ? L"" : arguments[0];
    if (arguments.size() > 1 || first == L"-h" || first == L"--help" || first == L"-v" ||
        first == L"--version") {
        const bool version = first == L"-v" || first == L"--version";
        MessageBoxW(nullptr,
                    arguments.size() > 1 ? quillet::toWide(quillet::kOneImageMessage).c_str()
                    : version            ? L"quillet 1.00"
                                         : L"Usage: quillet [image]\n\nOpens the window, with the "
                                L"image, if one is given, as if chosen with the first "
                                L"Browse button.",
                    L"quillet", MB_OK);
        return arguments.size() > 1 ? 2 : 0;
    }
    try {
        quillet::Form1 form(instance);
        if (!arguments.empty()) {
            form.openImage(quillet::toNarrow(first));
        }
        ShowWindow(form.window(), show);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (!form.preTranslate(msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        return static_cast<int>(msg.wParam);
    } catch (const std::exception& failure) {
        MessageBoxW(nullptr, quillet::toWide(failure.what()).c_str(), L"quillet", MB_OK);
        return 1;
    }
}
