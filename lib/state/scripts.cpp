// The Node Wizard Scripts' shared state.
#include "lib/state/scripts.h"

std::string ScriptsDocPath;
std::string DefaultScriptsDocPath;
std::vector<std::string> RecentScriptsDocs;
