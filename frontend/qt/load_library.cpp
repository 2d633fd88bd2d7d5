#include "load_library.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include "messages.h"

namespace quillet {

QuilletRemoveIntroAutoFunction loadRemoveIntroAuto(std::string& error) {
    const QString fileName = QStringLiteral(QUILLET_LIBRARY_FILE_NAME);
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString libraryFolder =
        QDir::cleanPath(programFolder + QStringLiteral("/" QUILLET_LIBRARY_FOLDER_FROM_PROGRAM));
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
        const auto removeIntroAuto =
            reinterpret_cast<QuilletRemoveIntroAutoFunction>(library.resolve("RemoveIntroAuto"));
        if (removeIntroAuto == nullptr) {
            error = libraryLacksFunctionMessage(
                QDir::toNativeSeparators(library.fileName()).toLocal8Bit().toStdString());
            library.unload();
        }
        return removeIntroAuto;
    }
    const QString folder = QFileInfo(libraryFolder).isDir() ? libraryFolder : programFolder;
    error = libraryNotLoadedMessage(fileName.toStdString(),
                                    QDir::toNativeSeparators(folder).toLocal8Bit().toStdString(),
                                    reason.toLocal8Bit().toStdString());
    return nullptr;
}

}  // namespace quillet
