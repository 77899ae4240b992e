// A library without any of the entries the program looks for.
#include "plugins/include/quillex_plugin.h"

QX_PLUGIN_EXPORT int SomethingElse() { return 42; }
