#pragma once

#include <QWidget>
#include <memory>

#include "CommonDialog.h"
#include "EngineBinding.h"

namespace Ui {
class Form1;
}

namespace quillet {

// The program's window. Its controls, their captions and start states come from Form1.ui; this
// class holds their handlers. The control arrays are button groups whose ids are the indexes.
class Form1 : public QWidget {
    Q_OBJECT

  public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // Derives the output name from the input name: Text1's text with "-p" before the first "."
    // of its file name goes into Text3. Runs when Text1 loses the focus to another control.
    void Text1_LostFocus();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Option1_Click(int index);
    void Option2_Click(int index);
    void Option3_Click(int index);
    void Option4_Click(int index);
    void Command1_Click();
    void Command2_Click(int index);

    std::unique_ptr<Ui::Form1> ui;
    CommonDialog CommonDialog1;
    EngineBinding engine;
};

}  // namespace quillet
