#include "Application.h"

#include <QFontDatabase>
#include <QIcon>
#include <exception>

#include "message_box.h"

// The icons and the font are compiled into a static library, whose resources register only when
// asked to.
static void registerResources() {
    Q_INIT_RESOURCE(quillet);
    Q_INIT_RESOURCE(font);
}

namespace quillet {

void Application::setIdentity() {
    setApplicationName(QStringLiteral("quillet"));
    setApplicationVersion(QStringLiteral("1.00"));
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    registerResources();
    setIdentity();
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/quillet-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/icons/quillet-32.png"), QSize(32, 32));
    setWindowIcon(icon);
    // The window's layout was made for Arial 8 pt. Liberation Sans has its metrics and travels
    // inside the program, so that every machine shows the window, its messages and its dialogs
    // in the same face, whatever fonts it has.
    const int font =
        QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/LiberationSans-Regular.ttf"));
    setFont(QFont(QFontDatabase::applicationFontFamilies(font).value(0), 8));
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& failure) {
        showMessage(activeWindow(), QString::fromLocal8Bit(failure.what()));
    }
    return false;
}

}  // namespace quillet
