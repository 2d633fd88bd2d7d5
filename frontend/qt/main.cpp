#include <QCommandLineParser>

#include "Application.h"
#include "Form1.h"
#include "messages.h"

int main(int argc, char** argv) {
    quillet::Application::setIdentity();
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Takes intros off Game Boy Advance ROM images, in a window."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("image"),
                                 QStringLiteral("The image to open, as the first Browse button "
                                                "would."),
                                 QStringLiteral("[image]"));
    // --help and --version need no display: they are answered before the toolkit starts.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    if (parser.parse(arguments) && (parser.isSet(help) || parser.isSet(version))) {
        const QCoreApplication withoutWindows(argc, argv);
        parser.process(withoutWindows);
    }
    quillet::Application application(argc, argv);
    // Again, now that the toolkit has taken its own options out.
    parser.process(application);
    if (parser.positionalArguments().size() > 1) {
        qCritical("%s", quillet::kOneImageMessage);
        return 2;
    }
    quillet::Form1 window;
    if (!parser.positionalArguments().isEmpty()) {
        window.openImage(parser.positionalArguments().constFirst());
    }
    window.show();
    return application.exec();
}
