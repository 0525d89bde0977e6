// The client binding: the plug-in modules (clients) the session has loaded, the callbacks they
// registered, the notifications they asked for, and the calls the host makes into them.
//
// A module is loaded with dlopen; its exported F_ApiClientInit registers its callbacks with
// F_ApiRegisterClient, and the host then calls its initialize callback once. Tests link a
// client into the test program and register it in-process (F_ApiClientInit, then
// StartPendingClients). Every call into a client runs inside a callback frame: F_ApiReturnValue
// sets the value of the innermost frame, and the API calls a client makes (F_ApiNotification,
// the definition of commands, F_ApiClientDir) apply to the client of that frame.
//
// Notifications: F_Api calls made by a client raise nothing (a client is never told of its own
// API actions, and the host's document calls raise nothing either). The user's actions raise
// notifications through NotifyClients, which delivers only to the clients that asked for the
// code; a client that started inert (registered nothing) is therefore never called again.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "fdk.h"

namespace host {

struct Client;

// Loads a plug-in module: dlopen (RTLD_NOW | RTLD_LOCAL), its F_ApiClientInit, then its
// initialize callback. clientDir is the client's folder as a real path ("" = the module's
// folder). Answers the client, or nullptr with a message in *error.
Client *LoadClientModule(const std::string &modulePath, const std::string &clientDir, std::string *error);

// Runs a client's F_ApiClientInit in-process (tests), then starts what it registered. clientDir
// is the client's folder as a real path ("" = the current folder). Answers the client registered,
// or nullptr when the function registered none.
Client *LoadClientInProcess(void (*clientInit)(void), const std::string &clientDir);

// Calls the initialize callback of every client registered but not yet started.
void StartPendingClients();

// Forgets every client (their modules stay loaded: their state lives until the process ends).
void ResetClients();

// The client with that name, or nullptr.
Client *FindClient(std::string_view name);
// The client whose callback is in progress (innermost), or the one registering; nullptr when
// no client is being called.
Client *CurrentClient();
// The registered clients in registration order.
std::vector<Client *> Clients();

std::string ClientName(const Client *client);
// An exported symbol of the client's module (nullptr in-process or when it has none).
void *ClientModuleSymbol(const Client *client, const std::string &name);
// The client's folder in Windows form (no trailing separator).
std::string ClientDirOf(const Client *client);
// True when the client asked for the notification (and has a notify callback).
bool ClientWantsNotification(const Client *client, IntT code);
// The codes the client asked for, in the order it first asked for them.
std::vector<IntT> ClientNotifications(const Client *client);
// The client's dialog resource text of that name (its resource callback), or nullptr.
const char *ClientResource(const Client *client, const std::string &name);

// Calls into a client inside a callback frame; each answers the frame's F_ApiReturnValue
// (0 when the client set none). A missing callback is not called and answers 0.
IntT CallClientCommand(Client *client, IntT command);
IntT CallClientDialogEvent(Client *client, IntT dlgNum, IntT itemNum, IntT modifiers);
IntT CallClientNotify(Client *client, IntT code, F_ObjHandleT docId, std::string_view sparm, IntT iparm);

// Delivers a notification to every client that asked for it, except the client whose callback
// is in progress (a client is never told of its own actions). Answers how many were called.
int NotifyClients(IntT code, F_ObjHandleT docId, const std::string &sparm, IntT iparm);

// The notification's name ("PostOpenDoc"), or "" for an unknown code.
std::string NotificationName(IntT code);

// When on, every call into a client and every notification delivered is written to the
// transcript ("-> Quorvane: F_ApiNotify PostOpenXML (96) ...").
void SetBindingTrace(bool on);
bool BindingTrace();

}  // namespace host
