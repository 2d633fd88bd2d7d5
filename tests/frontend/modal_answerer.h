// Answers the modal dialogs that the window opens, so that a test reads them instead of a user
// and never hangs on one.
#pragma once

#include <QFileDialog>
#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>

namespace quillet::test {

struct SeenMessage {
    QString text;
    QString title;
    QMessageBox::Icon icon;
    int buttonCount;
};

class ModalAnswerer : public QObject {
  public:
    // fileDialogAnswer decides each file dialog; without one, every file dialog is cancelled.
    explicit ModalAnswerer(std::function<void(QFileDialog*)> fileDialogAnswer = {});

    // The message boxes seen so far, each closed with its OK button.
    const QList<SeenMessage>& messages() const { return messages_; }
    QStringList messageTexts() const;
    // The file dialogs seen so far: true for a save dialog.
    const QList<bool>& fileDialogsSaving() const { return fileDialogsSaving_; }

  private:
    void answerActiveModal();

    std::function<void(QFileDialog*)> fileDialogAnswer_;
    QList<SeenMessage> messages_;
    QList<bool> fileDialogsSaving_;
    QTimer timer_;
};

}  // namespace quillet::test
