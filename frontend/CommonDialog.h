#pragma once

#include <QString>

class QWidget;

namespace quillet {

// The window's one file dialog, shared by the three browse buttons. It opens on the file that a
// box names, and after a cancel it reports that same name, so that the box keeps its text.
class CommonDialog {
  public:
    void showOpen(QWidget* parent, const QString& current);
    void showSave(QWidget* parent, const QString& current);

    // The file chosen at the last use, or the name it opened on when that use was cancelled.
    QString fileName() const { return fileName_; }

  private:
    void show(QWidget* parent, bool save, const QString& current);

    QString fileName_;
};

}  // namespace quillet
