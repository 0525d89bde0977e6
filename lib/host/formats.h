// Named formats: a paragraph format applied to a paragraph, a character format applied to a text
// range or to the whole text of a paragraph; each returns 1, or 0 when an id or the format is missing.
#pragma once

#include "fdk.h"

IntT om_PgfApplyFormat(F_ObjHandleT doc, F_ObjHandleT pgf, ConStringT formatName);
IntT om_RangeApplyCharFormat(F_ObjHandleT doc, F_TextRangeT *range, ConStringT formatName);
IntT om_TextApplyCharFormat(F_ObjHandleT doc, F_ObjHandleT pgf, ConStringT formatName);
