// The registry of the plug-in's state records and the resets over them.
#include "lib/run_state.h"

namespace {

struct Record {
    std::string name;
    RunStateKind kind;
    void (*reset)();
};

// A function-local list: records register from other files' static initialisation.
std::vector<Record> &Records() {
    static std::vector<Record> records;
    return records;
}

}  // namespace

bool om_RunStateRegister(const char *name, RunStateKind kind, void (*reset)()) {
    Records().push_back({name, kind, reset});
    return true;
}

void om_ResetRunState() {
    for (const Record &r : Records())
        if (r.kind == RunStateKind::Run) r.reset();
}

void om_ResetPluginState() {
    for (const Record &r : Records()) r.reset();
}

std::vector<std::string> om_RunStateRecords(RunStateKind kind) {
    std::vector<std::string> names;
    for (const Record &r : Records())
        if (r.kind == kind) names.push_back(r.name);
    return names;
}
