// A paragraph's catalog format applied again, and the paragraph flag 722.
#include "lib/host/pgf_format.h"

#include <string>

#include "lib/host/host_values.h"

void om_PgfReapplyFormat(F_ObjHandleT docId, F_ObjHandleT pgfId, IntT start, IntT end) {
    if (!docId || !pgfId) return;
    F_TextRangeT range{{pgfId, start}, {pgfId, end < 0 ? FV_OBJ_END_OFFSET : end}};
    F_PropValT tag{};
    tag.propIdent = FP_CharTag;
    tag.propVal.valType = FT_String;
    tag.propVal.sval = const_cast<StringT>("");
    F_ApiSetTextPropVal(docId, &range, &tag);
    std::string name = HostGetString(docId, pgfId, FP_Name);
    F_ObjHandleT fmt = F_ApiGetNamedObject(docId, FO_PgfFmt, name.c_str());
    if (!fmt) return;
    F_PropValsT props = F_ApiGetProps(docId, fmt);
    F_ApiSetProps(docId, pgfId, &props);
    F_ApiDeallocatePropVals(&props);
}

IntT om_PgfSetProperty722(F_ObjHandleT docId, F_ObjHandleT elemId) {
    if (!docId || !elemId) return 0;
    F_TextRangeT r = F_ApiGetTextRange(docId, elemId, FP_TextRange);
    if (!r.beg.objId || F_ApiGetInt(docId, r.beg.objId, FP_PgfFlag) != 0) return 0;
    F_ApiSetInt(docId, r.beg.objId, FP_PgfFlag, 1);
    return 1;
}
