// Host user-interface operations: the maker's shared menus, the file and folder chooser, the
// table, row or cell around an element or paragraph, rows by type, the interface language's
// name, display-update switches, view modes, window placement, rounding and change bars.
#pragma once

#include "fdk.h"

void om_MenuCreateMakerMenus(F_ObjHandleT item, IntT docMenus, IntT bookMenus);
// The first existing file of: the path itself (normalised), the directory joined with the path,
// the path made absolute against the base file's folder; "" when none exists. A new string.
StringT om_PathResolve(ConStringT path, ConStringT baseFile, ConStringT directory);
F_ObjHandleT om_TableEnclosing(F_ObjHandleT doc, F_ObjHandleT obj, IntT kind);
StringT om_SessionLanguageName(void);
void om_SessionSetSwitches(IntT a, IntT b, IntT c);
IntT om_DocSetViewMode(F_ObjHandleT doc, IntT mode);
// Moves and widens a window (33, 34, 35) by delta; with the shrink flag 1 its height loses delta.
void om_WindowShift(F_ObjHandleT objId, IntT delta, IntT shrink);
RealT om_RoundToDigit(RealT value, IntT position);
IntT om_RoundToInt(RealT value);
IntT om_PgfToggleChangeBar(F_ObjHandleT doc, F_ObjHandleT obj);
