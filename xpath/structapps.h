// Structure-application names, read from the open structure-applications documents with the
// engine.
#pragma once

#include "fdk.h"

// The structure-application names of the host's (where 1), the user's (2) or both (3)
// structure-applications documents that are open: XML (kind 1), SGML (2) or both kinds; with a
// doctype only those naming it (doctype-only flag) or those first (doctype-first flag); sorted
// case-insensitively with the sort flag. A new list.
F_StringsT om_StructAppNames(IntT where, IntT kind, ConStringT doctype, IntT doctypeOnly, IntT doctypeFirst,
                             IntT sort);
