#pragma once

#include <QString>

class QWidget;

namespace quillet {

// The window's one file dialog, shared by the three browse buttons. It remembers the file name
// of its last use, offers it again, and keeps it when the user cancels.
class CommonDialog {
  public:
    void showOpen(QWidget* parent);
    void showSave(QWidget* parent);

    // The file chosen at the last use that was not cancelled; empty before the first.
    QString fileName() const { return fileName_; }

  private:
    void show(QWidget* parent, bool save);

    QString fileName_;
};

}  // namespace quillet
