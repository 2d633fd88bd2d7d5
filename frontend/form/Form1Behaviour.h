// What the window does, once for every toolkit: the enabling rules of the option groups and the
// mode switch, the output name that follows the input, and the remove command with its checks,
// its messages and the library bound at the first removal that needs it. Each toolkit supplies
// its controls, dialogs, message box and library loading through Form1Controls.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "quillet.h"

namespace quillet {

// The controls that the window's behaviour reads or changes, known by the same names in every
// toolkit. Control arrays are named Array_index.
enum class Control {
    Text1,
    Text2,
    Text3,
    Text4,
    Text5,
    Text6,
    Command1,
    Command2_1,
    Option1_0,
    Option2_0,
    Option2_1,
    Option3_0,
    Option4_0,
    Option4_1,
    Frame2,
};

const char* nameOf(Control control);

// Colours as the window stores them: 0x80000000 + n is system colour n, any other value is
// 0x00BBGGRR.
inline constexpr std::uint32_t kSystemColorFlag = 0x80000000;
inline constexpr std::uint32_t kScrollBarColor = kSystemColorFlag + 0;
inline constexpr std::uint32_t kWhite = 0x00FFFFFF;

// A toolkit's part. Texts are in the system's 8-bit encoding, which the library takes its paths
// in: UTF-8 on Linux, the ANSI code page on Windows.
class Form1Controls {
  public:
    virtual ~Form1Controls() = default;

    virtual bool isSelected(Control option) const = 0;
    virtual std::string text(Control control) const = 0;
    // A box's text or a button's caption.
    virtual void setText(Control control, const std::string& text) = 0;
    virtual void setEnabled(Control control, bool enabled) = 0;
    virtual void setVisible(Control control, bool visible) = 0;
    virtual void setBackColor(Control box, std::uint32_t color) = 0;

    // A modal box with one OK button, no icon and the application's name as title.
    virtual void showMessage(const std::string& text) = 0;
    // The file chosen in the modal open or save dialog, which opens on the file named current;
    // nullopt when the user cancels.
    virtual std::optional<std::string> chooseFile(bool save, const std::string& current) = 0;
    // Loads the library and finds RemoveIntroAuto in it; nullptr, with what went wrong in error,
    // when either fails. A library without the function is unloaded again.
    virtual QuilletRemoveIntroAutoFunction loadRemoveIntroAuto(std::string& error) = 0;
    // Shows that the window is busy, while the library works.
    virtual void setBusy(bool busy) = 0;
};

class Form1Behaviour {
  public:
    explicit Form1Behaviour(Form1Controls& controls) : controls_(controls) {}

    // The option groups, by the index of the member that became selected.
    void Option1_Click(int index);
    void Option2_Click(int index);
    void Option3_Click(int index);
    void Option4_Click(int index);

    // The browse buttons, by index: 0 the input, 1 the intro, 2 the output.
    void Command2_Click(int index);

    // Derives the output name from the input name: Text1's text with "-p" before the first "."
    // of its file name goes into Text3. Runs when Text1 loses the focus to another control of
    // the window, not when the whole window loses it.
    void Text1_LostFocus();

    // The remove command.
    void Command1_Click();

    // An image given as the program starts or dropped on the window: as if chosen with the
    // first browse button.
    void openImage(const std::string& path);

  private:
    void setValueBoxEnabled(Control box, bool enabled);

    Form1Controls& controls_;
    // Found at the first removal that passes the checks, then kept until the program ends.
    QuilletRemoveIntroAutoFunction removeIntroAuto_ = nullptr;
};

}  // namespace quillet
