#pragma once

#include <QString>

#include "quillet.h"

namespace quillet {

// The window's tie to the library: loaded at the first removal that needs it, then kept until
// the program ends. While loading fails, every request tries again.
class EngineBinding {
  public:
    // RemoveIntroAuto, loading the library first if needed; nullptr, with what went wrong in
    // error, when the library or the function cannot be found.
    QuilletRemoveIntroAutoFunction removeIntroAuto(QString& error);

  private:
    QuilletRemoveIntroAutoFunction removeIntroAuto_ = nullptr;
};

}  // namespace quillet
