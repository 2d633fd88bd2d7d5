#include "EngineBinding.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QStringList>

namespace quillet {

namespace {

// The program's own folder, where a build or a Windows installation keeps the library, then the
// library folder of an installation, then the system's library path.
QStringList libraryCandidates() {
    const QString fileName = QStringLiteral(QUILLET_LIBRARY_FILE_NAME);
    const QString programFolder = QCoreApplication::applicationDirPath();
    return {programFolder + u'/' + fileName,
            programFolder + QStringLiteral("/" QUILLET_LIBRARY_FOLDER_FROM_PROGRAM "/") + fileName,
            fileName};
}

}  // namespace

QuilletRemoveIntroAutoFunction EngineBinding::removeIntroAuto(QString& error) {
    if (removeIntroAuto_ != nullptr) {
        return removeIntroAuto_;
    }
    QStringList reasons;
    for (const QString& candidate : libraryCandidates()) {
        // The library stays loaded when this object goes: QLibrary unloads only when asked to.
        QLibrary library(candidate);
        if (!library.load()) {
            reasons << library.errorString();
            continue;
        }
        removeIntroAuto_ =
            reinterpret_cast<QuilletRemoveIntroAutoFunction>(library.resolve("RemoveIntroAuto"));
        if (removeIntroAuto_ == nullptr) {
            error = QStringLiteral("The library %1 has no function RemoveIntroAuto.\n\n%2")
                        .arg(library.fileName(), library.errorString());
        }
        return removeIntroAuto_;
    }
    error = QStringLiteral("The library %1 could not be loaded.\n\n%2")
                .arg(QStringLiteral(QUILLET_LIBRARY_FILE_NAME), reasons.join(u'\n'));
    return nullptr;
}

}  // namespace quillet
