// Notification routing: the table of the notifications the plug-in handles and the router
// F_ApiNotify calls.
#pragma once

#include "fdk.h"

// What a handler gets: the notification's arguments and the session's active document and book
// (the front object is the active document, else the active book).
struct NotifyArgs {
    F_ObjHandleT doc = 0;
    ConStringT text = nullptr;
    IntT number = 0;
    F_ObjHandleT activeDoc = 0;
    F_ObjHandleT activeBook = 0;
    F_ObjHandleT front = 0;
};

struct QvNotification {
    IntT code;
    const char *name;  // shown by the trace
    void (*handle)(const NotifyArgs &);
};

const QvNotification *qv_NotificationTable(int *count);

// Hands one notification to its handler; every call ends by keeping its integer argument as the
// last function code.
void qv_RouteNotification(IntT notification, F_ObjHandleT doc, ConStringT text, IntT number);
