#include "Application.h"

#include <QIcon>
#include <exception>

#include "message_box.h"

// The icons are compiled into a static library, whose resources register only when asked to.
static void registerResources() {
    Q_INIT_RESOURCE(quillet);
}

namespace quillet {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    registerResources();
    setApplicationName(QStringLiteral("quillet"));
    setApplicationVersion(QStringLiteral("1.00"));
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/quillet-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/icons/quillet-32.png"), QSize(32, 32));
    setWindowIcon(icon);
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
