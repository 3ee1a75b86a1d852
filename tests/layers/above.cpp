// A file of the engine that reaches up into the windows: the layer check must refuse it.
#include "engine/apply.h"
#include "ui/main/main_window.h"
#include <QWidget>
