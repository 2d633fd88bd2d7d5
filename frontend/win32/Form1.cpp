#include "Form1.h"

#include <shellapi.h>

#include <algorithm>
#include <iterator>
#include <stdexcept>

#include "Form1_controls.h"
#include "dpi.h"
#include "file_dialog.h"
#include "library.h"
#include "system_text.h"

namespace quillet {

namespace {

constexpr const wchar_t* kFormClass = L"Quillet.Form1";
constexpr const wchar_t* kFrameClass = L"Quillet.Frame";
constexpr const wchar_t* kIconName = L"IDI_ICON1";
constexpr const wchar_t* kMessageTitle = L"quillet";
constexpr DWORD kFormStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
// A control's id is its index in Form1.ui after this, clear of IDOK and the other dialog ids.
constexpr int kFirstControlId = 100;
// What a box that Form1.ui stores no colour for shows: a text box's usual background.
constexpr std::uint32_t kWindowColor = kSystemColorFlag + COLOR_WINDOW;

constexpr int kControlCount = static_cast<int>(std::size(kStoredControls));

// The system's edit procedure, which Text1's own passes every message on to.
WNDPROC editProcedure = nullptr;

// A frame draws nothing: it holds its option buttons, whose notifications and colour questions
// it passes on to the form.
LRESULT CALLBACK frameProcedure(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND || (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)) {
        return SendMessageW(GetParent(frame), message, wParam, lParam);
    }
    return DefWindowProcW(frame, message, wParam, lParam);
}

void registerClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, bool withIcon) {
    WNDCLASSEXW windowClass{};
    if (GetClassInfoExW(instance, name, &windowClass)) {
        return;
    }
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = name;
    if (withIcon) {
        windowClass.hIcon = static_cast<HICON>(
            LoadImageW(instance, kIconName, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
        windowClass.hIconSm = static_cast<HICON>(
            LoadImageW(instance, kIconName, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                       GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    }
    RegisterClassExW(&windowClass);
}

struct ControlClass {
    const wchar_t* name;
    DWORD style;
    DWORD extendedStyle;
};

ControlClass classOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::Box:
            return {L"Edit", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
        case ControlKind::Button:
            return {L"Button", BS_PUSHBUTTON, 0};
        case ControlKind::Option:
            // The form checks and unchecks the members of an option array itself.
            return {L"Button", BS_RADIOBUTTON, 0};
        case ControlKind::Frame:
            break;
    }
    return {kFrameClass, 0, 0};
}

// A control's place relative to the form's client area, at 96 dpi.
POINT formPosition(int index) {
    POINT position = {0, 0};
    for (; index >= 0; index = kStoredControls[index].frame) {
        position.x += kStoredControls[index].rect.x;
        position.y += kStoredControls[index].rect.y;
    }
    return position;
}

bool isSystemColor(std::uint32_t color) {
    return (color & kSystemColorFlag) != 0;
}

int systemColorIndex(std::uint32_t color) {
    return static_cast<int>(color & ~kSystemColorFlag);
}

COLORREF colorRef(std::uint32_t color) {
    return isSystemColor(color) ? GetSysColor(systemColorIndex(color)) : color & 0x00FFFFFF;
}

bool inArray(int index, std::string_view array) {
    return kStoredControls[index].array == array;
}

}  // namespace

Form1::Form1(HINSTANCE instance) : behaviour_(*this) {
    registerClass(instance, kFormClass, formProcedure, true);
    registerClass(instance, kFrameClass, frameProcedure, false);
    if (CreateWindowExW(0, kFormClass, kFormCaption, kFormStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                        this) == nullptr) {
        throw std::runtime_error("The window could not be created.");
    }
    try {
        dpi_ = dpiOfWindow(window_);
        font_ = createMessageFont(dpi_);
        createControls(instance);
        layOut();
        const SIZE size = windowSizeFor(scaled(kFormClientArea.width),
                                        scaled(kFormClientArea.height), kFormStyle, 0, dpi_);
        SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        DragAcceptFiles(window_, TRUE);
        lastFocus_ = control(Control::Text1);
        SetFocus(lastFocus_);
    } catch (...) {
        release();
        throw;
    }
}

Form1::~Form1() {
    release();
}

void Form1::release() {
    if (window_ != nullptr) {
        destroying_ = true;
        DestroyWindow(window_);
    }
    for (const PlacedControl& placed : controls_) {
        if (placed.ownBrush != nullptr) {
            DeleteObject(placed.ownBrush);
        }
    }
    DeleteObject(font_);
}

HWND Form1::window() const {
    return window_;
}

HWND Form1::control(std::string_view name) const {
    for (int index = 0; index < kControlCount; ++index) {
        if (kStoredControls[index].name == name) {
            return controls_[index].window;
        }
    }
    return nullptr;
}

HWND Form1::control(Control control) const {
    return this->control(nameOf(control));
}

int Form1::scaled(int pixels) const {
    return MulDiv(pixels, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI);
}

int Form1::indexOf(HWND control) const {
    if (control == nullptr) {
        return -1;
    }
    for (int index = 0; index < kControlCount; ++index) {
        if (controls_[index].window == control) {
            return index;
        }
    }
    return -1;
}

void Form1::openImage(const std::string& path) {
    try {
        behaviour_.openImage(path);
    } catch (...) {
        showFailure();
    }
}

void Form1::showFailure() noexcept {
    try {
        throw;
    } catch (const std::exception& failure) {
        try {
            showMessage(failure.what());
        } catch (...) {
            // Too little memory to say even that.
        }
    } catch (...) {
        MessageBoxW(window_, L"The window failed.", kMessageTitle, MB_OK);
    }
}

void Form1::createControls(HINSTANCE instance) {
    controls_.resize(kControlCount);
    for (int index = 0; index < kControlCount; ++index) {
        const StoredControl& stored = kStoredControls[index];
        const ControlClass controlClass = classOf(stored.kind);
        const HWND parent = stored.frame < 0 ? window_ : controls_[stored.frame].window;
        const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | controlClass.style |
                            (stored.enabled ? 0 : WS_DISABLED);
        const HWND control = CreateWindowExW(
            controlClass.extendedStyle, controlClass.name, stored.text, style, 0, 0, 0, 0, parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + index)), instance,
            nullptr);
        controls_[index] = {control, kNoBackColor, nullptr};
        if (stored.checked) {
            SendMessageW(control, BM_SETCHECK, BST_CHECKED, 0);
        }
        if (stored.kind == ControlKind::Box) {
            paintBox(index, stored.backColor == kNoBackColor ? kWindowColor : stored.backColor);
        }
    }
    // The boxes go on top of the frames and option buttons whose right ends they overlap.
    for (int index = 0; index < kControlCount; ++index) {
        if (kStoredControls[index].kind == ControlKind::Box) {
            SetWindowPos(controls_[index].window, HWND_TOP, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
    // Text1 tells when the focus leaves it.
    const HWND text1 = control(Control::Text1);
    editProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(text1, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(text1Procedure)));
}

void Form1::layOut() {
    // Edges are scaled from the form's corner, so that controls that meet at 96 dpi meet at any
    // DPI.
    for (int index = 0; index < kControlCount; ++index) {
        const StoredControl& stored = kStoredControls[index];
        const POINT position = formPosition(index);
        const POINT origin = formPosition(stored.frame);
        const int left = scaled(position.x);
        const int top = scaled(position.y);
        MoveWindow(controls_[index].window, left - scaled(origin.x), top - scaled(origin.y),
                   scaled(position.x + stored.rect.width) - left,
                   scaled(position.y + stored.rect.height) - top, TRUE);
        SendMessageW(controls_[index].window, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    }
}

LRESULT CALLBACK Form1::formProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form =
            static_cast<Form1*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<Form1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return form != nullptr ? form->handle(message, wParam, lParam)
                           : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK Form1::text1Procedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallWindowProcW(editProcedure, box, message, wParam, lParam);
    // Only a move of the focus to another of the window's controls derives the output name:
    // typing does not, nor another window or a dialog taking over.
    auto* form =
        reinterpret_cast<Form1*>(GetWindowLongPtrW(GetAncestor(box, GA_ROOT), GWLP_USERDATA));
    if (message == WM_KILLFOCUS && form != nullptr &&
        IsChild(form->window_, reinterpret_cast<HWND>(wParam))) {
        try {
            form->behaviour_.Text1_LostFocus();
        } catch (...) {
            form->showFailure();
        }
    }
    return result;
}

LRESULT Form1::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        switch (message) {
            case WM_COMMAND:
                if (HIWORD(wParam) == BN_CLICKED && lParam != 0) {
                    clicked(indexOf(reinterpret_cast<HWND>(lParam)));
                    return 0;
                }
                break;
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORSTATIC:
                if (const int box = indexOf(reinterpret_cast<HWND>(lParam));
                    box >= 0 && kStoredControls[box].kind == ControlKind::Box) {
                    return reinterpret_cast<LRESULT>(boxBrush(box, reinterpret_cast<HDC>(wParam)));
                }
                break;
            case WM_ACTIVATE:
                // Unlike a dialog, a window does not put the focus back where it was when it is
                // active again: the form keeps track of it.
                if (LOWORD(wParam) == WA_INACTIVE) {
                    if (const HWND focus = GetFocus(); IsChild(window_, focus)) {
                        lastFocus_ = focus;
                    }
                } else if (HIWORD(wParam) == 0) {
                    restoreFocus();
                    return 0;
                }
                break;
            case WM_SETFOCUS:
                restoreFocus();
                return 0;
            case WM_DROPFILES: {
                const auto drop = reinterpret_cast<HDROP>(wParam);
                std::wstring path(DragQueryFileW(drop, 0, nullptr, 0), L'\0');
                const bool dropped =
                    DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size() + 1)) > 0;
                DragFinish(drop);
                if (dropped) {
                    behaviour_.openImage(toNarrow(path));
                }
                return 0;
            }
            case WM_DPICHANGED: {
                dpi_ = HIWORD(wParam);
                const HFONT oldFont = font_;
                font_ = createMessageFont(dpi_);
                layOut();
                DeleteObject(oldFont);
                const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
                SetWindowPos(window_, nullptr, suggested.left, suggested.top,
                             suggested.right - suggested.left, suggested.bottom - suggested.top,
                             SWP_NOZORDER | SWP_NOACTIVATE);
                return 0;
            }
            case WM_DESTROY:
                // Closing the window ends the program.
                if (!destroying_) {
                    PostQuitMessage(0);
                }
                return 0;
            case WM_NCDESTROY: {
                const HWND window = window_;
                SetWindowLongPtrW(window, GWLP_USERDATA, 0);
                window_ = nullptr;
                return DefWindowProcW(window, message, wParam, lParam);
            }
        }
    } catch (...) {
        showFailure();
        return 0;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void Form1::clicked(int index) {
    if (index < 0) {
        return;
    }
    const StoredControl& stored = kStoredControls[index];
    if (stored.kind == ControlKind::Option) {
        select(index);
    } else if (inArray(index, "Command2")) {
        behaviour_.Command2_Click(stored.index);
    } else if (std::string_view(stored.name) == "Command1") {
        behaviour_.Command1_Click();
    }
}

void Form1::select(int option) {
    const HWND button = controls_[option].window;
    if (SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED) {
        return;
    }
    const std::string_view array = kStoredControls[option].array;
    for (int index = 0; index < kControlCount; ++index) {
        if (inArray(index, array)) {
            SendMessageW(controls_[index].window, BM_SETCHECK,
                         index == option ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }
    static constexpr struct {
        std::string_view array;
        void (Form1Behaviour::*handler)(int);
    } kHandlers[] = {
        {"Option1", &Form1Behaviour::Option1_Click},
        {"Option2", &Form1Behaviour::Option2_Click},
        {"Option3", &Form1Behaviour::Option3_Click},
        {"Option4", &Form1Behaviour::Option4_Click},
    };
    for (const auto& [name, handler] : kHandlers) {
        if (name == array) {
            (behaviour_.*handler)(kStoredControls[option].index);
        }
    }
}

void Form1::paintBox(int box, std::uint32_t color) {
    PlacedControl& placed = controls_[box];
    if (placed.ownBrush != nullptr) {
        DeleteObject(placed.ownBrush);
    }
    placed.backColor = color;
    placed.ownBrush = isSystemColor(color) ? nullptr : CreateSolidBrush(colorRef(color));
    InvalidateRect(placed.window, nullptr, TRUE);
}

HBRUSH Form1::boxBrush(int box, HDC dc) const {
    const PlacedControl& placed = controls_[box];
    SetTextColor(dc,
                 GetSysColor(IsWindowEnabled(placed.window) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    SetBkColor(dc, colorRef(placed.backColor));
    return placed.ownBrush != nullptr ? placed.ownBrush
                                      : GetSysColorBrush(systemColorIndex(placed.backColor));
}

bool Form1::canFocus(HWND control) const {
    for (HWND window = control; window != window_; window = GetParent(window)) {
        if (window == nullptr || (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) == 0) {
            return false;
        }
    }
    return IsWindowEnabled(control) != FALSE;
}

std::vector<HWND> Form1::tabStops() const {
    std::vector<HWND> stops;
    std::vector<std::string_view> arraysDone;
    for (const int index : kTabOrder) {
        int stop = index;
        if (kStoredControls[index].kind == ControlKind::Option) {
            const std::string_view array = kStoredControls[index].array;
            if (std::find(arraysDone.begin(), arraysDone.end(), array) != arraysDone.end()) {
                continue;
            }
            arraysDone.push_back(array);
            // An option array is one stop: its selected member.
            for (int member = 0; member < kControlCount; ++member) {
                if (inArray(member, array) &&
                    SendMessageW(controls_[member].window, BM_GETCHECK, 0, 0) == BST_CHECKED) {
                    stop = member;
                }
            }
        }
        if (canFocus(controls_[stop].window)) {
            stops.push_back(controls_[stop].window);
        }
    }
    return stops;
}

void Form1::focus(HWND control) {
    SetFocus(control);
    const int index = indexOf(control);
    if (index >= 0 && kStoredControls[index].kind == ControlKind::Box) {
        SendMessageW(control, EM_SETSEL, 0, -1);
    }
}

void Form1::focusNextStop(HWND from, bool backwards) {
    const std::vector<HWND> stops = tabStops();
    if (stops.empty()) {
        return;
    }
    const int fromIndex = indexOf(from);
    const auto isFrom = [&](HWND stop) {
        const int index = indexOf(stop);
        return stop == from ||
               (fromIndex >= 0 && kStoredControls[index].kind == ControlKind::Option &&
                inArray(fromIndex, kStoredControls[index].array));
    };
    const auto found = std::find_if(stops.begin(), stops.end(), isFrom);
    const std::size_t count = stops.size();
    std::size_t next = backwards ? count - 1 : 0;
    if (found != stops.end()) {
        const std::size_t at = static_cast<std::size_t>(found - stops.begin());
        next = backwards ? (at + count - 1) % count : (at + 1) % count;
    }
    focus(stops[next]);
}

void Form1::focusNextInArray(int option, bool backwards) {
    std::vector<int> members;
    for (int index = 0; index < kControlCount; ++index) {
        if (inArray(index, kStoredControls[option].array)) {
            members.push_back(index);
        }
    }
    const std::size_t count = members.size();
    const std::size_t at = static_cast<std::size_t>(
        std::find(members.begin(), members.end(), option) - members.begin());
    for (std::size_t step = 1; step < count; ++step) {
        const int member = members[backwards ? (at + count - step) % count : (at + step) % count];
        const HWND button = controls_[member].window;
        if (canFocus(button)) {
            SetFocus(button);
            // As its click would: through the form's procedure.
            SendMessageW(window_, WM_COMMAND, MAKEWPARAM(kFirstControlId + member, BN_CLICKED),
                         reinterpret_cast<LPARAM>(button));
            return;
        }
    }
}

void Form1::restoreFocus() {
    if (lastFocus_ != nullptr && canFocus(lastFocus_)) {
        SetFocus(lastFocus_);
    } else if (const std::vector<HWND> stops = tabStops(); !stops.empty()) {
        SetFocus(stops.front());
    }
}

bool Form1::preTranslate(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || window_ == nullptr ||
        (msg.hwnd != window_ && !IsChild(window_, msg.hwnd))) {
        return false;
    }
    const int index = indexOf(msg.hwnd);
    const auto is = [index](ControlKind kind) {
        return index >= 0 && kStoredControls[index].kind == kind;
    };
    switch (msg.wParam) {
        case VK_TAB:
            if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) {
                return false;
            }
            focusNextStop(msg.hwnd, GetKeyState(VK_SHIFT) < 0);
            return true;
        case VK_RETURN:
            if (!is(ControlKind::Button)) {
                return false;
            }
            SendMessageW(msg.hwnd, BM_CLICK, 0, 0);
            return true;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
            if (!is(ControlKind::Option)) {
                return false;
            }
            focusNextInArray(index, msg.wParam == VK_LEFT || msg.wParam == VK_UP);
            return true;
    }
    return false;
}

bool Form1::isSelected(Control option) const {
    return SendMessageW(control(option), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string Form1::text(Control control) const {
    const HWND window = this->control(control);
    std::wstring text(GetWindowTextLengthW(window), L'\0');
    text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size() + 1)));
    return toNarrow(text);
}

void Form1::setText(Control control, const std::string& text) {
    SetWindowTextW(this->control(control), toWide(text).c_str());
}

void Form1::setEnabled(Control control, bool enabled) {
    EnableWindow(this->control(control), enabled);
}

void Form1::setVisible(Control control, bool visible) {
    ShowWindow(this->control(control), visible ? SW_SHOWNA : SW_HIDE);
}

void Form1::setBackColor(Control box, std::uint32_t color) {
    paintBox(indexOf(control(box)), color);
}

void Form1::showMessage(const std::string& text) {
    MessageBoxW(window_, toWide(text).c_str(), kMessageTitle, MB_OK);
}

std::optional<std::string> Form1::chooseFile(bool save, const std::string& current) {
    return quillet::chooseFile(window_, save, current);
}

QuilletRemoveIntroAutoFunction Form1::loadRemoveIntroAuto(std::string& error) {
    return quillet::loadRemoveIntroAuto(error);
}

void Form1::setBusy(bool busy) {
    if (busy) {
        cursorBeforeBusy_ = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    } else {
        SetCursor(cursorBeforeBusy_);
    }
}

}  // namespace quillet
