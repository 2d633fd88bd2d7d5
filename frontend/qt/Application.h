#pragma once

#include <QApplication>

namespace quillet {

// The window program's application: its name, version and icon, and a last stop for failures
// inside a handler, which are shown to the user instead of ending the program.
class Application : public QApplication {
  public:
    Application(int& argc, char** argv);

    // The program's name and version, which --help and --version print before there is an
    // application.
    static void setIdentity();

    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace quillet
