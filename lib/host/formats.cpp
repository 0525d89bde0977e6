// Named formats applied to paragraphs and text (see formats.h).
#include "lib/host/formats.h"

IntT om_PgfApplyFormat(F_ObjHandleT doc, F_ObjHandleT pgf, ConStringT formatName) {
    if (!doc || !pgf) return 0;
    F_ObjHandleT fmt = F_ApiGetNamedObject(doc, FO_PgfFmt, formatName);
    if (!fmt) return 0;
    F_PropValsT props = F_ApiGetProps(doc, fmt);
    F_ApiSetProps(doc, pgf, &props);
    F_ApiDeallocatePropVals(&props);
    return 1;
}

IntT om_RangeApplyCharFormat(F_ObjHandleT doc, F_TextRangeT *range, ConStringT formatName) {
    if (!doc || !range) return 0;
    F_ObjHandleT fmt = F_ApiGetNamedObject(doc, FO_CharFmt, formatName);
    if (!fmt) return 0;
    F_PropValsT props = F_ApiGetProps(doc, fmt);
    F_ApiSetTextProps(doc, range, &props);
    F_ApiDeallocatePropVals(&props);
    return 1;
}

IntT om_TextApplyCharFormat(F_ObjHandleT doc, F_ObjHandleT pgf, ConStringT formatName) {
    F_TextRangeT range{{pgf, 0}, {pgf, FV_OBJ_END_OFFSET}};
    return om_RangeApplyCharFormat(doc, &range, formatName);
}
