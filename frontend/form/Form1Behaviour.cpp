#include "Form1Behaviour.h"

#include <cerrno>

#include "file_names.h"
#include "fill_number.h"
#include "image_check.h"
#include "messages.h"
#include "output_name.h"

namespace quillet {

const char* nameOf(Control control) {
    static constexpr const char* kNames[] = {"Text1",     "Text2",     "Text3",     "Text4",
                                             "Text5",     "Text6",     "Command1",  "Command2_1",
                                             "Option1_0", "Option2_0", "Option2_1", "Option3_0",
                                             "Option4_0", "Option4_1", "Frame2"};
    return kNames[static_cast<int>(control)];
}

void Form1Behaviour::setValueBoxEnabled(Control box, bool enabled) {
    controls_.setEnabled(box, enabled);
    controls_.setBackColor(box, enabled ? kWhite : kScrollBarColor);
}

void Form1Behaviour::Option1_Click(int index) {
    const bool addMode = index == 0;
    setValueBoxEnabled(Control::Text2, addMode);
    controls_.setText(Control::Command1, addMode ? "Add Intro" : "Remove Intro");
    controls_.setText(Control::Option2_0,
                      addMode ? "Add from end of file" : "Remove from end of file");
    controls_.setText(Control::Option2_1,
                      addMode ? "Add intro at address:" : "Remove intro at address:");
    controls_.setVisible(Control::Frame2, !addMode);
    controls_.setVisible(Control::Text5, !addMode);
    controls_.setEnabled(Control::Command2_1, addMode);
}

void Form1Behaviour::Option2_Click(int index) {
    setValueBoxEnabled(Control::Text4, index != 0);
}

void Form1Behaviour::Option3_Click(int index) {
    setValueBoxEnabled(Control::Text5, index != 0);
}

void Form1Behaviour::Option4_Click(int index) {
    setValueBoxEnabled(Control::Text6, index >= 2);
}

void Form1Behaviour::Command2_Click(int index) {
    const Control box = index >= 2 ? Control::Text3 : index == 0 ? Control::Text1 : Control::Text2;
    if (const auto chosen = controls_.chooseFile(index >= 2, controls_.text(box))) {
        controls_.setText(box, *chosen);
    }
    if (index == 0) {
        Text1_LostFocus();
    }
}

void Form1Behaviour::Text1_LostFocus() {
    controls_.setText(Control::Text3, outputNameFor(controls_.text(Control::Text1)));
}

void Form1Behaviour::openImage(const std::string& path) {
    controls_.setText(Control::Text1, path);
    Text1_LostFocus();
}

void Form1Behaviour::Command1_Click() {
    if (controls_.isSelected(Control::Option1_0)) {
        return controls_.showMessage("Sorry, adding an intro is not supported yet!");
    }
    if (!controls_.isSelected(Control::Option2_0)) {
        return controls_.showMessage(
            "Sorry, only removing intros from the end of the file is currently supported.");
    }
    if (!controls_.isSelected(Control::Option3_0)) {
        return controls_.showMessage(
            "Sorry, only deleting everything from the start of the intro to the end of the file "
            "is currently supported.");
    }
    const bool cut = controls_.isSelected(Control::Option4_0);
    const bool manualFill = !cut && !controls_.isSelected(Control::Option4_1);
    const std::int32_t fill = cut ? 0 : 1;
    std::int32_t fillValue = cut ? 0 : 255;
    const std::string input = controls_.text(Control::Text1);
    const std::string output = controls_.text(Control::Text3);
    if (manualFill) {
        const std::optional<std::int16_t> number = manualFillNumber(controls_.text(Control::Text6));
        if (!number) {
            return controls_.showMessage(
                "The fill value must be a whole number from -32768 to 32767.");
        }
        fillValue = *number;
    }
    if (output.empty()) {
        return controls_.showMessage(kNoOutputMessage);
    }
    if (namesSameFile(input, output)) {
        return controls_.showMessage(kOutputIsInputMessage);
    }
    if (const char* refusal = removalRefusal(probeImage(input))) {
        return controls_.showMessage(refusal);
    }
    if (removeIntroAuto_ == nullptr) {
        std::string error;
        removeIntroAuto_ = controls_.loadRemoveIntroAuto(error);
        if (removeIntroAuto_ == nullptr) {
            return controls_.showMessage(error);
        }
    }
    controls_.setBusy(true);
    const std::int32_t status = removeIntroAuto_(input.c_str(), output.c_str(), fill, fillValue);
    const int reason = errno;
    controls_.setBusy(false);
    controls_.showMessage(statusMessage(status, reason));
}

}  // namespace quillet
