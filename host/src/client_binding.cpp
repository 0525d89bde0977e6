// The client binding: loading plug-in modules, their registered callbacks and notification
// requests, callback frames with their return values, client calls and the client folder.
#include "client.h"

#include <dlfcn.h>

#include <algorithm>
#include <bitset>
#include <deque>
#include <filesystem>
#include <memory>

#include "menus.h"
#include "paths.h"
#include "transcript.h"

namespace host {

struct Client {
    std::string name;
    F_ApiClientCallbacksT callbacks{};
    std::string dir;                 // real path of the client's folder
    std::vector<IntT> notifications; // requested codes, in the order first asked for
    std::bitset<128> wants;          // the same codes below 128, for the check on every call
    bool started = false;
    void *module = nullptr;          // dlopen handle of the client's module (nullptr in-process)
};

namespace {

// One frame per call into a client in progress; nested calls (a modal dialog's events inside a
// notification, a client call inside a command) stack.
struct Frame {
    Client *client;
    IntT returnValue;
};

struct BindingState {
    std::vector<std::unique_ptr<Client>> clients;
    std::vector<Frame> frames;
    Client *registering = nullptr;   // the client whose F_ApiClientInit or initialize runs
    std::string loadingDir;          // folder given to the client being registered
    bool trace = false;
    // The string each notification in progress hands its client, one per nesting depth, kept
    // for the next notification at that depth (a deque: an outer one never moves).
    std::deque<std::string> notifyTexts;
};

BindingState &State() {
    static BindingState state;
    return state;
}

// Pushes a frame for the call, runs it, and answers the frame's return value.
template <typename Fn>
IntT InFrame(Client *client, Fn &&call) {
    BindingState &s = State();
    s.frames.push_back(Frame{client, 0});
    call();
    IntT value = s.frames.back().returnValue;
    s.frames.pop_back();
    return value;
}

void Trace(const std::string &line) {
    if (State().trace) Transcript(line);
}

std::string Hex(F_ObjHandleT id) {
    static const char digits[] = "0123456789abcdef";
    std::string out = "0x";
    for (int shift = 28; shift >= 0; shift -= 4) out += digits[(id >> shift) & 0xF];
    return out;
}

std::string DefaultDir() {
    std::error_code ec;
    return std::filesystem::current_path(ec).string();
}

}  // namespace

Client *LoadClientModule(const std::string &modulePath, const std::string &clientDir, std::string *error) {
    void *module = ::dlopen(modulePath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        if (error) *error = std::string("cannot load the plug-in module: ") + ::dlerror();
        return nullptr;
    }
    auto init = reinterpret_cast<void (*)(void)>(::dlsym(module, "F_ApiClientInit"));
    if (!init) {
        if (error) *error = "the module " + modulePath + " exports no F_ApiClientInit";
        ::dlclose(module);
        return nullptr;
    }
    std::string dir = clientDir;
    if (dir.empty()) {
        std::error_code ec;
        dir = std::filesystem::absolute(modulePath, ec).parent_path().string();
    }
    Client *client = LoadClientInProcess(init, dir);
    if (client) client->module = module;
    if (!client && error) *error = "the module " + modulePath + " registered no client";
    return client;  // the module stays loaded for the rest of the process
}

Client *LoadClientInProcess(void (*clientInit)(void), const std::string &clientDir) {
    BindingState &s = State();
    EnsureHostMenus();  // the host's menus exist before any client starts
    size_t before = s.clients.size();
    s.loadingDir = clientDir.empty() ? DefaultDir() : clientDir;
    clientInit();
    s.loadingDir.clear();
    if (s.clients.size() == before) return nullptr;
    Client *client = s.clients.back().get();
    StartPendingClients();
    return client;
}

void StartPendingClients() {
    BindingState &s = State();
    for (size_t i = 0; i < s.clients.size(); ++i) {
        Client *client = s.clients[i].get();
        if (client->started) continue;
        client->started = true;
        if (!client->callbacks.initialize) continue;
        Trace("-> " + client->name + ": F_ApiInitialize");
        Client *outer = s.registering;
        s.registering = client;
        InFrame(client, [&] { client->callbacks.initialize(0); });
        s.registering = outer;
    }
}

void ResetClients() {
    BindingState &s = State();
    s.clients.clear();
    s.frames.clear();
    s.notifyTexts.clear();
    s.registering = nullptr;
}

Client *FindClient(std::string_view name) {
    for (auto &c : State().clients)
        if (c->name == name) return c.get();
    return nullptr;
}

Client *CurrentClient() {
    BindingState &s = State();
    if (!s.frames.empty()) return s.frames.back().client;
    return s.registering;
}

std::vector<Client *> Clients() {
    std::vector<Client *> out;
    for (auto &c : State().clients) out.push_back(c.get());
    return out;
}

void *ClientModuleSymbol(const Client *client, const std::string &name) {
    return client && client->module ? ::dlsym(client->module, name.c_str()) : nullptr;
}

std::string ClientName(const Client *client) { return client ? client->name : std::string(); }

std::string ClientDirOf(const Client *client) {
    std::string dir = client ? client->dir : DefaultDir();
    std::string out = WindowsPath(dir);
    while (out.size() > 3 && out.back() == '\\') out.pop_back();
    return out;
}

bool ClientWantsNotification(const Client *client, IntT code) {
    if (!client || !client->callbacks.notify) return false;
    if (code >= 0 && size_t(code) < client->wants.size()) return client->wants.test(size_t(code));
    return std::find(client->notifications.begin(), client->notifications.end(), code) != client->notifications.end();
}

std::vector<IntT> ClientNotifications(const Client *client) {
    return client ? client->notifications : std::vector<IntT>{};
}

const char *ClientResource(const Client *client, const std::string &name) {
    if (!client || !client->callbacks.resource) return nullptr;
    return static_cast<const char *>(client->callbacks.resource(name.c_str()));
}

IntT CallClientCommand(Client *client, IntT command) {
    if (!client || !client->callbacks.command) return 0;
    Trace("-> " + client->name + ": F_ApiCommand " + std::to_string(command));
    return InFrame(client, [&] { client->callbacks.command(command); });
}

IntT CallClientDialogEvent(Client *client, IntT dlgNum, IntT itemNum, IntT modifiers) {
    if (!client || !client->callbacks.dialogEvent) return 0;
    Trace("-> " + client->name + ": F_ApiDialogEvent " + std::to_string(dlgNum) + " " + std::to_string(itemNum));
    return InFrame(client, [&] { client->callbacks.dialogEvent(dlgNum, itemNum, modifiers); });
}

IntT CallClientNotify(Client *client, IntT code, F_ObjHandleT docId, std::string_view sparm, IntT iparm) {
    if (!client || !client->callbacks.notify) return 0;
    BindingState &s = State();
    if (s.trace)  // the line is made only when it is kept
        Trace("-> " + client->name + ": F_ApiNotify " + NotificationName(code) + " (" + std::to_string(code) + ") " +
              Hex(docId) + " \"" + std::string(sparm) + "\" " + std::to_string(iparm));
    // The client gets a string of its own, which it may change, valid until its callback
    // returns; a nested notification gets the next depth's.
    size_t depth = s.frames.size();
    if (s.notifyTexts.size() <= depth) s.notifyTexts.resize(depth + 1);
    std::string &copy = s.notifyTexts[depth];
    copy.assign(sparm);
    return InFrame(client, [&] { client->callbacks.notify(code, docId, copy.data(), iparm); });
}

int NotifyClients(IntT code, F_ObjHandleT docId, const std::string &sparm, IntT iparm) {
    Client *self = CurrentClient();
    // Clients may register or unregister while being notified: walk a snapshot.
    std::vector<Client *> targets;
    for (auto &c : State().clients)
        if (c.get() != self && ClientWantsNotification(c.get(), code)) targets.push_back(c.get());
    for (Client *c : targets) CallClientNotify(c, code, docId, sparm, iparm);
    return static_cast<int>(targets.size());
}

std::string NotificationName(IntT code) {
    struct Entry {
        IntT code;
        const char *name;
    };
    static const Entry names[] = {
        {FA_Note_PostOpenDoc, "PostOpenDoc"},
        {FA_Note_PostOpenMIF, "PostOpenMIF"},
        {FA_Note_PreQuitDoc, "PreQuitDoc"},
        {FA_Note_ClientCall, "ClientCall"},
        {FA_Note_PreQuitSession, "PreQuitSession"},
        {FA_Note_PostQuitDoc, "PostQuitDoc"},
        {FA_Note_PreFunction, "PreFunction"},
        {FA_Note_PostFunction, "PostFunction"},
        {FA_Note_PreMouseCommand, "PreMouseCommand"},
        {FA_Note_PostMouseCommand, "PostMouseCommand"},
        {FA_Note_PreInsertElement, "PreInsertElement"},
        {FA_Note_PostInsertElement, "PostInsertElement"},
        {FA_Note_PostChangeElement, "PostChangeElement"},
        {FA_Note_PostWrapElement, "PostWrapElement"},
        {FA_Note_PostSetAttrValue, "PostSetAttrValue"},
        {FA_Note_PostImportElemDefs, "PostImportElemDefs"},
        {FA_Note_PostOpenSGML, "PostOpenSGML"},
        {FA_Note_PostOpenXML, "PostOpenXML"},
        {FA_Note_PostActiveDocChange, "PostActiveDocChange"},
        {FA_Note_Dialog_Create, "Dialog_Create"},
    };
    for (const Entry &e : names)
        if (e.code == code) return e.name;
    return "";
}

void SetBindingTrace(bool on) { State().trace = on; }
bool BindingTrace() { return State().trace; }

}  // namespace host

extern "C" {

IntT F_ApiRegisterClient(const F_ApiClientCallbacksT *callbacks) {
    host::BindingState &s = host::State();
    if (!callbacks || !callbacks->clientName || !*callbacks->clientName) {
        FA_errno = FE_BadParameter;
        return -1;
    }
    if (host::FindClient(callbacks->clientName)) {
        FA_errno = FE_Duplicate;
        return -1;
    }
    auto client = std::make_unique<host::Client>();
    client->name = callbacks->clientName;
    client->callbacks = *callbacks;
    client->callbacks.clientName = nullptr;  // the name is kept in the record, not the module's pointer
    client->dir = s.loadingDir.empty() ? host::DefaultDir() : s.loadingDir;
    s.clients.push_back(std::move(client));
    return 0;
}

void F_ApiReturnValue(IntT value) {
    host::BindingState &s = host::State();
    if (!s.frames.empty()) s.frames.back().returnValue = value;
}

IntT F_ApiNotification(IntT notification, BoolT state) {
    host::Client *client = host::CurrentClient();
    if (!client) {
        FA_errno = FE_BadOperation;
        return -1;
    }
    if (host::NotificationName(notification).empty()) {
        FA_errno = FE_BadParameter;
        return -1;
    }
    auto &codes = client->notifications;
    auto at = std::find(codes.begin(), codes.end(), notification);
    if (state && at == codes.end()) codes.push_back(notification);
    if (!state && at != codes.end()) codes.erase(at);
    if (notification >= 0 && size_t(notification) < client->wants.size()) client->wants.set(size_t(notification), state != 0);
    return 0;
}

IntT F_ApiCallClient(ConStringT clientName, ConStringT message) {
    host::Client *target = clientName ? host::FindClient(clientName) : nullptr;
    // A client that never asked for client calls (an inert one among them) is not reachable.
    if (!target || !host::ClientWantsNotification(target, FA_Note_ClientCall)) {
        FA_errno = FE_NotFound;
        return -1;
    }
    return host::CallClientNotify(target, FA_Note_ClientCall, 0, message ? std::string_view(message) : std::string_view(), 0);
}

StringT F_ApiClientDir(void) {
    host::Client *client = host::CurrentClient();
    if (!client) {
        auto all = host::Clients();
        if (!all.empty()) client = all.back();
    }
    return F_StrCopyString(host::ClientDirOf(client).c_str());
}

}  // extern "C"
