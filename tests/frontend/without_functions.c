#include "quillet.h"

int quilletTestLibraryWithoutFunctions;
