#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Form1Behaviour.h"

namespace quillet {

// The program's window on Windows, in the system's own windows and controls, placed as Form1.ui
// stores them at the monitor's DPI. What the window does is Form1Behaviour's; this class gives
// it the controls, the dialogs, the message box and the library.
class Form1 : private Form1Controls {
  public:
    // Creates the window and its controls, not shown yet.
    explicit Form1(HINSTANCE instance);
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    HWND window() const;
    // The control of this name in Form1.ui ("Text1", "Option4_2", "Command2_0", "Frame2", ...),
    // or nullptr.
    HWND control(std::string_view name) const;

    // Puts path (in the system's 8-bit encoding) in the input box and derives the output name,
    // as the first browse button does.
    void openImage(const std::string& path);

    // The window's own keyboard handling: Tab and Shift+Tab in Form1.ui's tab order, Enter on a
    // push button, the arrow keys within an option group. True when msg was used; the message
    // loop calls it before TranslateMessage and DispatchMessage.
    bool preTranslate(const MSG& msg);

  private:
    struct PlacedControl {
        HWND window;
        // A box's colour as Form1.ui stores colours, and the brush of an RGB one.
        std::uint32_t backColor;
        HBRUSH ownBrush;
    };

    static LRESULT CALLBACK formProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK text1Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    // Shows the failure that is being handled. No exception may cross the system's code that
    // called the window, which goes on.
    void showFailure() noexcept;

    void createControls(HINSTANCE instance);
    // Ends the window, which must not outlive the object that its procedure reaches, and frees
    // the font and brushes that it was painted with.
    void release();
    // Places the controls and sets their font at the window's DPI.
    void layOut();
    int scaled(int pixels) const;
    int indexOf(HWND control) const;
    HWND control(Control control) const;

    void clicked(int index);
    // Selects an option button, unselecting the other members of its array.
    void select(int option);
    void paintBox(int box, std::uint32_t color);
    HBRUSH boxBrush(int box, HDC dc) const;

    bool canFocus(HWND control) const;
    std::vector<HWND> tabStops() const;
    void focus(HWND control);
    void focusNextStop(HWND from, bool backwards);
    void focusNextInArray(int option, bool backwards);
    void restoreFocus();

    bool isSelected(Control option) const override;
    std::string text(Control control) const override;
    void setText(Control control, const std::string& text) override;
    void setEnabled(Control control, bool enabled) override;
    void setVisible(Control control, bool visible) override;
    void setBackColor(Control box, std::uint32_t color) override;
    void showMessage(const std::string& text) override;
    std::optional<std::string> chooseFile(bool save, const std::string& current) override;
    QuilletRemoveIntroAutoFunction loadRemoveIntroAuto(std::string& error) override;
    void setBusy(bool busy) override;

    HWND window_ = nullptr;
    // In the order of Form1.ui's controls.
    std::vector<PlacedControl> controls_;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    HFONT font_ = nullptr;
    // The control that gets the focus back when the window is active again.
    HWND lastFocus_ = nullptr;
    HCURSOR cursorBeforeBusy_ = nullptr;
    // Set while the destructor closes the window, which then leaves the message loop running.
    bool destroying_ = false;
    Form1Behaviour behaviour_;
};

}  // namespace quillet
