#pragma once

class QString;
class QWidget;

namespace quillet {

// Tells the user something in a modal box with one OK button, no icon and the application's
// name as title, and waits until it is closed.
void showMessage(QWidget* parent, const QString& text);

}  // namespace quillet
