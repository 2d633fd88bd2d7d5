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
                                 "Option3_1", "Option4_0", "Option4_1",  "Option4_2"};

std::string textOf(HWND window) {
    wchar_t text[1024] = L"";
    GetWindowTextW(window, text, 1024);
    return toNarrow(text);
}

bool isButton(HWND window) {
    wchar_t name[8] = L"";
    GetClassNameW(window, name, 8);
    return std::wstring(name) == L"Button";
}

// The buttons of a dialog with this id, or all of them for id 0.
std::vector<HWND> buttonsOf(HWND dialog, int id = 0) {
    std::vector<HWND> buttons;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (isButton(child) && (id == 0 || GetDlgCtrlID(child) == id)) {
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
        pump();
    }
    ~Win32Window() override { current = nullptr; }

    void act(const std::string& verb, const std::string& argument) override {
        const std::string name = argument.substr(0, argument.find(' '));
        const std::string rest = argument.substr(std::min(argument.size(), name.size() + 1));
        HWND control = form.control(verb == "press" ? rest : name);
        if (verb == "click" && IsWindowEnabled(control) && IsWindowVisible(control)) {
            SendMessageW(control, BM_CLICK, 0, 0);
        } else if (verb == "type") {
            SetFocus(form.control("Command1"));
            SetWindowTextW(control, toWide(rest).c_str());
        } else if (verb == "leave" || verb == "press") {
            SetFocus(verb == "leave" ? form.control("Text1") : control);
            name == "window" || name == "popup" ? void(SetFocus(nullptr))
                                                : press(name == "tab"     ? VK_TAB
                                                        : name == "enter" ? VK_RETURN
                                                        : name == "down"  ? VK_DOWN
                                                        : name == "up"    ? VK_UP
                                                                          : VK_SPACE);
        } else if (verb == "answer") {
            answer = argument;
        } else if (verb == "drop") {
            const std::wstring path = std::filesystem::absolute(argument).wstring();
            HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + (path.size() + 2) * 2);
            auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
            *files = {sizeof(DROPFILES), {}, FALSE, TRUE};
            path.copy(reinterpret_cast<wchar_t*>(files + 1), path.size());
            GlobalUnlock(drop);
            SendMessageW(form.window(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
        }
        pump();
    }

    std::string described(const std::string& name) override {
        if (name == "tab order") {
            return tabOrder();
        }
        if (name == "cursor") {
            return GetCursor() == LoadCursorW(nullptr, IDC_WAIT) ? "busy" : "normal";
        }
        if (name == "client area") {
            RECT area;
            GetClientRect(form.window(), &area);
            return std::to_string(area.right) + "x" + std::to_string(area.bottom);
        }
        if (name == "library") {
            return GetModuleHandleW(L"quillet.dll") ? "loaded" : "not loaded";
        }
        HWND control = form.control(name);
        const std::string on = IsWindowEnabled(control) ? " on, " : " off, ";
        const std::string visible = IsWindowVisible(control) ? "shown" : "hidden";
        if (isButton(control)) {
            const bool selected = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
            return '"' + textOf(control) + '"' + on + (selected ? "selected, " : "") + visible;
        }
        if (name.starts_with("Frame")) {
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
        char color[8];
        std::snprintf(
            color, sizeof color, "%06lx",
            RGB(GetBValue(brush.lbColor), GetGValue(brush.lbColor), GetRValue(brush.lbColor)));
        return '"' + textOf(control) + '"' + on + color + ", " + visible;
    }

    std::vector<std::string> takeShown() override { return std::exchange(shown, {}); }

    // Writes down what a dialog shows and answers it, once: it becomes active again when a box
    // that it opened closes.
    void answerDialog(HWND dialog) {
        if (std::ranges::count(answered, dialog) > 0) {
            return;
        }
        answered.push_back(dialog);
        if (GetDlgItem(dialog, cmb13) != nullptr) {
            wchar_t folder[MAX_PATH] = L"", named[MAX_PATH] = L"";
            SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
            SendMessageW(dialog, CDM_GETSPEC, MAX_PATH, reinterpret_cast<LPARAM>(named));
            const bool save =
                textOf(buttonsOf(dialog, IDOK).at(0)).find("Save") != std::string::npos;
            shown.push_back(std::string(save ? "& save in " : "& open in ") +
                            std::filesystem::relative(folder).string() + ", " +
                            (*named != 0 ? toNarrow(named) : "nothing named"));
            SendMessageW(dialog, CDM_SETCONTROLTEXT, cmb13,
                         reinterpret_cast<LPARAM>(toWide(answer).c_str()));
            PostMessageW(buttonsOf(dialog, answer.empty() ? IDCANCEL : IDOK).at(0), BM_CLICK, 0, 0);
            return;
        }
        // A plain box: titled quillet, one button, no icon, which Windows and Wine number
        // differently (Wine keeps an empty one). The question before a file is replaced: yes.
        const std::vector<HWND> buttons = buttonsOf(dialog), yes = buttonsOf(dialog, IDYES);
        const bool plain = textOf(dialog) == "quillet" && buttons.size() == 1 &&
                           SendDlgItemMessageW(dialog, 20, STM_GETICON, 0, 0) == 0 &&
                           SendDlgItemMessageW(dialog, 1088, STM_GETICON, 0, 0) == 0;
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

    // The controls in the order Tab visits them from Text1, each once.
    std::string tabOrder() {
        SetFocus(form.control("Text1"));
        std::string order = "Text1";
        for (press(VK_TAB); GetFocus() != form.control("Text1"); press(VK_TAB)) {
            for (const char* name : kControls) {
                order += form.control(name) == GetFocus() ? std::string(" ") + name : "";
            }
        }
        return order;
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
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int main() {
    // Stand-ins for the system colours 0 (scroll bar), 4 (menu) and 15 (button face), so that
    // each box's colour is a known number.
    const INT elements[] = {COLOR_SCROLLBAR, COLOR_MENU, COLOR_BTNFACE};
    const COLORREF colors[] = {RGB(16, 16, 16), RGB(64, 64, 64), RGB(240, 240, 240)};
    SetSysColors(3, elements, colors);
    WNDCLASSW helperClass{};
    helperClass.lpfnWndProc = helperProcedure;
    helperClass.lpszClassName = L"TranscriptHelper";
    RegisterClassW(&helperClass);
    helper = CreateWindowW(helperClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           nullptr, nullptr);
    SetWindowsHookExW(WH_CBT, onActivation, nullptr, GetCurrentThreadId());
    return quillet::test::runTranscript({"windows", "win32"},
                                        [] { return std::make_unique<Win32Window>(); });
}
