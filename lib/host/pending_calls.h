// Host calls the stand-in host does not offer yet (document files, text edits, tables, menus,
// function codes). They are referenced weakly so the plug-in links and loads before the host
// has them; once the host defines a call, the weak reference resolves to it and nothing changes.
// Callers test HostHas() before a call in this list.
#pragma once

#include "fdk.h"

#pragma weak F_ApiAddMenuToMenu
#pragma weak F_ApiAddRows
#pragma weak F_ApiAddText
#pragma weak F_ApiClear
#pragma weak F_ApiCopy
#pragma weak F_ApiDefineAndAddCommandWithViews
#pragma weak F_ApiDefineAndAddMenu
#pragma weak F_ApiDefineCommandWithViews
#pragma weak F_ApiDefineMenu
#pragma weak F_ApiDeleteRows
#pragma weak F_ApiFcodes
#pragma weak F_ApiGetOpenDefaultParams
#pragma weak F_ApiGetSaveDefaultParams
#pragma weak F_ApiGetTextForRange
#pragma weak F_ApiNewSeriesObject
#pragma weak F_ApiOpen
#pragma weak F_ApiPaste
#pragma weak F_ApiPrintFA_Errno
#pragma weak F_ApiSave
#pragma weak F_ApiSetTextProps

namespace qv {
// True when the host offers the call; a missing one fails like a refused call (FA_errno set).
template <typename Fn>
inline bool HostHas(Fn *fn) {
    if (fn) return true;
    FA_errno = FE_Unsupported;
    return false;
}
}  // namespace qv

// Calls fn with the arguments when the host offers it, else answers `fail`.
#define QV_CALL(fn, fail, ...) (qv::HostHas(fn) ? fn(__VA_ARGS__) : fail)
