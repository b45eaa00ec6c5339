// The command line may not use the desktop program.
#include "gui/qt_ui.h"
