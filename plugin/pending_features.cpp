// Stand-ins for the feature entry points of plugin/features.h whose features are not part of
// the plug-in yet: each does nothing and answers "nothing done" (0, no document, an empty list),
// so that every command, notification and dialog event already reaches its place. A feature
// that lands deletes its stand-ins from this file.
#include "plugin/features.h"
