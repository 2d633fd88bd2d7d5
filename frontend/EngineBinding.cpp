#include "EngineBinding.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace quillet {

QuilletRemoveIntroAutoFunction EngineBinding::removeIntroAuto(QString& error) {
    if (removeIntroAuto_ != nullptr) {
        return removeIntroAuto_;
    }
    const QString fileName = QStringLiteral(QUILLET_LIBRARY_FILE_NAME);
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString libraryFolder =
        QDir::cleanPath(programFolder + QStringLiteral("/" QUILLET_LIBRARY_FOLDER_FROM_PROGRAM));
    // Beside the program, where a build or a Windows installation keeps the library, then in the
    // library folder of an installation, then wherever the system looks for libraries.
    QString reason;
    for (const QString& candidate :
         {programFolder + u'/' + fileName, libraryFolder + u'/' + fileName, fileName}) {
        QLibrary library(candidate);
        if (!library.load()) {
            // Only a file that is there and still fails says something the user can act on.
            if (reason.isEmpty() && QFileInfo::exists(candidate)) {
                reason = library.errorString();
            }
            continue;
        }
        // The library stays loaded when this object goes: QLibrary unloads only when asked to.
        removeIntroAuto_ =
            reinterpret_cast<QuilletRemoveIntroAutoFunction>(library.resolve("RemoveIntroAuto"));
        if (removeIntroAuto_ == nullptr) {
            error = QStringLiteral("The library %1 has no function RemoveIntroAuto.")
                        .arg(QDir::toNativeSeparators(library.fileName()));
            // Unloaded, so that the next click can load a corrected file of the same name.
            library.unload();
        }
        return removeIntroAuto_;
    }
    const QString folder = QFileInfo(libraryFolder).isDir() ? libraryFolder : programFolder;
    error = QStringLiteral("The library %1 could not be loaded.\n\nIt was expected in %2")
                .arg(fileName, QDir::toNativeSeparators(folder)) +
            (reason.isEmpty() ? QStringLiteral(", but it is not there.") : ".\n\n" + reason);
    return nullptr;
}

}  // namespace quillet
