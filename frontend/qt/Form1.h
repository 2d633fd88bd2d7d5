#pragma once

#include <QWidget>
#include <memory>

#include "Form1Behaviour.h"

namespace Ui {
class Form1;
}

namespace quillet {

// The program's window in Qt. Its controls, their captions and start states come from Form1.ui;
// the control arrays are button groups whose ids are the indexes. What the window does is
// Form1Behaviour's; this class gives it the controls, the dialogs and the library.
class Form1 : public QWidget, private Form1Controls {
    Q_OBJECT

  public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // Puts path in the input box and derives the output name, as the first browse button does.
    void openImage(const QString& path);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    QWidget* control(Control control) const;

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

    std::unique_ptr<Ui::Form1> ui;
    Form1Behaviour behaviour;
};

}  // namespace quillet
