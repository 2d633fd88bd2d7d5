// quillet.exe: the window, with the image named on the command line opened in it.
#include <windows.h>

#include <shellapi.h>

#include <exception>

#include "Form1.h"
#include "system_text.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    try {
        quillet::Form1 form(instance);
        int count = 0;
        if (LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count)) {
            if (count > 1) {
                form.openImage(quillet::toNarrow(arguments[1]));
            }
            LocalFree(arguments);
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
