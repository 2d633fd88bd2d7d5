// The window's transcript with the Win32 window, under Wine: each case gets a new Form1, driven
// with the messages that a user's clicks and keys send, and every dialog is answered as soon as
// it becomes active.
#include <windows.h>
// After windows.h, which they need.
#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <utility>

#include "Form1.h"
#include "system_text.h"
#include "transcript.h"

namespace {

using quillet::toNarrow;
using quillet::toWide;

const char* const kControls[] = {"Text1",     "Text2",     "Text3",      "Text4",      "Text5",
                                 "Text6",     "Command1",  "Command2_0", "Command2_1", "Command2_2",
                                 "Option1_0", "Option1_1", "Option2_0",  "Option2_1",  "Option3_0",
                                 "Option3_1", "Option4_0", "Option4_1",  "Option4_2",  "Frame1",
                                 "Frame2",    "Frame3"};

std::string textOf(HWND window) {
    wchar_t text[1024] = L"";
    GetWindowTextW(window, text, 1024);
    return toNarrow(text);
}

std::string classOf(HWND window) {
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return toNarrow(name);
}

// The child buttons of a dialog with this id, or all of them for id 0.
std::vector<HWND> buttonsOf(HWND dialog, int id = 0) {
    std::vector<HWND> buttons;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (classOf(child) == "Button" && (id == 0 || GetDlgCtrlID(child) == id)) {
            buttons.push_back(child);
        }
    }
    return buttons;
}

class Win32Window : public quillet::test::TranscriptWindow {
  public:
    static inline Win32Window* current = nullptr;

    Win32Window() : form(GetModuleHandleW(nullptr)) {
        current = this;
        ShowWindow(form.window(), SW_SHOW);
        SetForegroundWindow(form.window());
        pump();
    }
    ~Win32Window() override { current = nullptr; }

    void act(const std::string& verb, const std::string& argument) override {
        const std::string name = argument.substr(0, argument.find(' '));
        const std::string rest = argument.substr(std::min(argument.size(), name.size() + 1));
        if (verb == "click") {
            HWND control = form.control(name);
            if (IsWindowEnabled(control) && IsWindowVisible(control)) {
                SendMessageW(control, BM_CLICK, 0, 0);
            }
        } else if (verb == "type") {
            SetFocus(form.control("Command1"));
            SetWindowTextW(form.control(name), toWide(rest).c_str());
        } else if (verb == "leave") {
            SetFocus(form.control("Text1"));
            name == "tab" ? press(VK_TAB) : void(SetFocus(nullptr));
        } else if (verb == "press") {
            SetFocus(form.control(rest));
            press(name == "enter" ? VK_RETURN : VK_SPACE);
        } else if (verb == "answer") {
            answer = argument;
        } else {
            const std::wstring path = std::filesystem::absolute(argument).wstring();
            HGLOBAL drop =
                GlobalAlloc(GHND, sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t));
            auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
            *files = {sizeof(DROPFILES), {}, FALSE, TRUE};
            path.copy(reinterpret_cast<wchar_t*>(files + 1), path.size());
            GlobalUnlock(drop);
            SendMessageW(form.window(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
        }
        pump();
    }

    std::string described(const std::string& name) override {
        if (name == "library") {
            return GetModuleHandleW(L"quillet.dll") ? "loaded" : "not loaded";
        }
        if (name == "application" || name == "captions" || name == "tab order") {
            return name == "application" ? application()
                   : name == "captions"  ? captions()
                                         : tabOrder();
        }
        HWND control = form.control(name);
        const std::string visible = IsWindowVisible(control) ? "shown" : "hidden";
        const std::string on = IsWindowEnabled(control) ? "on" : "off";
        if (classOf(control) == "Button") {
            const bool selected = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
            return "\"" + textOf(control) + "\" " + on + (selected ? ", selected" : "") + ", " +
                   visible;
        }
        if (classOf(control) != "Edit") {
            return visible;
        }
        // The brush that the window paints the box with.
        HDC dc = GetDC(control);
        LOGBRUSH brush{};
        GetObjectW(
            reinterpret_cast<HBRUSH>(SendMessageW(
                form.window(), IsWindowEnabled(control) ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC,
                reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control))),
            sizeof brush, &brush);
        ReleaseDC(control, dc);
        char color[7];
        std::snprintf(color, sizeof color, "%02x%02x%02x", GetRValue(brush.lbColor),
                      GetGValue(brush.lbColor), GetBValue(brush.lbColor));
        return "\"" + textOf(control) + "\" " + on + ", " + color + ", " + visible;
    }

    std::vector<std::string> takeShown() override { return std::exchange(shown, {}); }

    // Writes down what dialog shows and answers it.
    void answerDialog(HWND dialog) {
        // A dialog becomes active again when a box that it opened closes.
        if (std::ranges::count(answered, dialog) > 0) {
            return;
        }
        answered.push_back(dialog);
        if (GetDlgItem(dialog, cmb13) != nullptr) {
            wchar_t folder[MAX_PATH] = L"", named[MAX_PATH] = L"";
            SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
            SendMessageW(dialog, CDM_GETSPEC, MAX_PATH, reinterpret_cast<LPARAM>(named));
            const auto relative = std::filesystem::relative(folder).string();
            shown.push_back(
                std::string("& ") +
                (textOf(buttonsOf(dialog, IDOK).at(0)).find("Save") != std::string::npos ? "save"
                                                                                         : "open") +
                " in " + relative + ", " + (*named ? toNarrow(named) : "nothing named"));
            SendMessageW(dialog, CDM_SETCONTROLTEXT, cmb13,
                         reinterpret_cast<LPARAM>(toWide(answer).c_str()));
            return (void)PostMessageW(buttonsOf(dialog, answer.empty() ? IDCANCEL : IDOK).at(0),
                                      BM_CLICK, 0, 0);
        }
        const std::vector<HWND> buttons = buttonsOf(dialog);
        const std::vector<HWND> yes = buttonsOf(dialog, IDYES);
        // Windows and Wine number a message box's icon differently; Wine keeps an empty one.
        const bool iconless = SendDlgItemMessageW(dialog, 20, STM_GETICON, 0, 0) == 0 &&
                              SendDlgItemMessageW(dialog, 1088, STM_GETICON, 0, 0) == 0;
        const bool plain = textOf(dialog) == "quillet" && buttons.size() == 1 && iconless;
        shown.push_back(!yes.empty() ? "? replace"
                                     : (plain ? "! " : "! not plain: ") +
                                           textOf(GetDlgItem(dialog, 0xFFFF)));
        PostMessageW(yes.empty() ? buttons.at(0) : yes.at(0), BM_CLICK, 0, 0);
    }

  private:
    void pump() {
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) {
            if (!form.preTranslate(msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    }

    // A key pressed and let go where the focus is, as the message loop hands them on.
    void press(WPARAM key) {
        for (const UINT message : {WM_KEYDOWN, WM_KEYUP}) {
            const MSG msg{GetFocus(), message, key, 0, 0, {}};
            if (!form.preTranslate(msg)) {
                DispatchMessageW(&msg);
            }
        }
    }

    std::string nameOf(HWND control) {
        for (const char* name : kControls) {
            if (form.control(name) == control) {
                return name;
            }
        }
        return "?";
    }

    // The controls in the order Tab visits them from Text1, each once.
    std::string tabOrder() {
        SetFocus(form.control("Text1"));
        std::string order = "Text1";
        for (;;) {
            press(VK_TAB);
            const std::string name = nameOf(GetFocus());
            if (name == "Text1") {
                return order;
            }
            order += " " + name;
        }
    }

    // The buttons whose caption the window cuts short: its text, behind an option's indicator,
    // must end before the button does, or before a value box level with it begins.
    std::string captions() {
        std::string clipped;
        LOGFONTW font{};
        for (const char* name : kControls) {
            HWND button = form.control(name);
            if (classOf(button) != "Button") {
                continue;
            }
            RECT area;
            GetWindowRect(button, &area);
            LONG end = area.right;
            for (const char* box : {"Text4", "Text5", "Text6"}) {
                RECT boxArea;
                GetWindowRect(form.control(box), &boxArea);
                const LONG middle = (boxArea.top + boxArea.bottom) / 2;
                if (boxArea.left > area.left && boxArea.left < end && middle >= area.top &&
                    middle < area.bottom) {
                    end = boxArea.left;
                }
            }
            HDC dc = GetDC(button);
            HFONT shown = reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0));
            GetObjectW(shown, sizeof font, &font);
            SelectObject(dc, shown);
            const std::wstring text = toWide(textOf(button));
            SIZE size;
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
            ReleaseDC(button, dc);
            const bool option =
                (GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
            const LONG start = option ? GetSystemMetrics(SM_CXMENUCHECK) + 4 : 4;
            if (area.left + start + size.cx > end) {
                clipped += std::string(clipped.empty() ? "" : ", ") + name;
            }
        }
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        const std::string face = toNarrow(font.lfFaceName);
        return !clipped.empty() ? "clipped " + clipped
               : face == toNarrow(metrics.lfMessageFont.lfFaceName)
                   ? "none clipped in the message font"
                   : "none clipped in " + face;
    }

    // The program's name, version and icons, from quillet.exe's version record and resources.
    std::string application() {
        const std::wstring program = toWide(std::getenv("QUILLET_EXE"));
        std::vector<char> record(GetFileVersionInfoSizeW(program.c_str(), nullptr));
        GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(record.size()), record.data());
        const auto value = [&](const wchar_t* name) {
            wchar_t* text = nullptr;
            UINT size = 0;
            VerQueryValueW(record.data(),
                           (std::wstring(L"\\StringFileInfo\\040904B0\\") + name).c_str(),
                           reinterpret_cast<void**>(&text), &size);
            return text ? toNarrow(text) : "";
        };
        // The icon group's directory counts its images.
        HMODULE resources = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        WORD icons = 0;
        EnumResourceNamesW(
            resources, RT_GROUP_ICON,
            [](HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR count) {
                const HGLOBAL group = LoadResource(module, FindResourceW(module, name, type));
                *reinterpret_cast<WORD*>(count) = static_cast<const WORD*>(LockResource(group))[2];
                return FALSE;
            },
            reinterpret_cast<LONG_PTR>(&icons));
        FreeLibrary(resources);
        return value(L"ProductName") + " " + value(L"ProductVersion") + ", " +
               std::to_string(icons) + " icons";
    }

    quillet::Form1 form;
    std::vector<std::string> shown;
    std::vector<HWND> answered;
    std::string answer;  // the file the next file dialog chooses; empty: cancel
};

// Hands each dialog that becomes active to the helper window, which answers it from inside the
// dialog's own message loop.
HWND helper;

LRESULT CALLBACK onActivation(int code, WPARAM window, LPARAM details) {
    wchar_t name[16] = L"";
    GetClassNameW(reinterpret_cast<HWND>(window), name, 16);
    if (code == HCBT_ACTIVATE && std::wstring(name) == L"#32770") {
        PostMessageW(helper, WM_APP, window, 0);
    }
    return CallNextHookEx(nullptr, code, window, details);
}

LRESULT CALLBACK helperProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP && Win32Window::current != nullptr) {
        Win32Window::current->answerDialog(reinterpret_cast<HWND>(wParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int main() {
    // Stand-ins for the system colours 0 (scroll bar), 4 (menu) and 15 (button face), so that
    // each box's colour is a known number.
    const INT elements[] = {COLOR_SCROLLBAR, COLOR_MENU, COLOR_BTNFACE};
    const COLORREF colors[] = {RGB(0x10, 0x10, 0x10), RGB(0x40, 0x40, 0x40), RGB(0xf0, 0xf0, 0xf0)};
    SetSysColors(3, elements, colors);
    WNDCLASSW helperClass{};
    helperClass.lpfnWndProc = helperProcedure;
    helperClass.lpszClassName = L"TranscriptHelper";
    RegisterClassW(&helperClass);
    helper = CreateWindowW(L"TranscriptHelper", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                           nullptr);
    SetWindowsHookExW(WH_CBT, onActivation, nullptr, GetCurrentThreadId());
    return quillet::test::runTranscript({"windows", "win32"},
                                        [] { return std::make_unique<Win32Window>(); });
}
