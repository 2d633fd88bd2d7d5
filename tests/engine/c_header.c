/* Compiled as C: the public header must serve C callers as it is. */
#include "quillet.h"

QuilletRemoveIntroAutoFunction removeIntroAutoFromC(void);

QuilletRemoveIntroAutoFunction removeIntroAutoFromC(void) {
    return &RemoveIntroAuto;
}
