// A file of the engine that stays in its layer: the layer check must take it.
#include "device/commands.h"
#include "engine/apply.h"
#include "model/configuration.h"
#include "local_header.h"
#include <vector>
