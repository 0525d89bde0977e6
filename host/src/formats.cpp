// Paragraph and character formats applied to text: a character format's property list carries
// its name as the character format tag (602), so applying it to a range (F_ApiSetTextProps)
// tags the range; a paragraph format's list carries its name (20), which applied to a paragraph
// (F_ApiSetProps) makes the paragraph read that format until its element changes.
#include <unordered_map>

#include "model_internal.h"
#include "model_layout.h"

namespace host {

namespace {


std::unordered_map<F_ObjHandleT, std::string> &PgfFormats() {
    static std::unordered_map<F_ObjHandleT, std::string> formats;  // paragraph -> applied format
    return formats;
}

}  // namespace

void RegisterFormatProperties() {
    RegisterProperty(FO_CharFmt, FP_CharTag, PropType::String, [](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
        NamedObject *n = Named(obj);
        if (!n || n->doc != doc) return false;
        out.s = n->name;
        return true;
    });
    RegisterProperty(
        FO_Pgf, FP_Name, PropType::String,
        [](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
            Layout *l = LayoutOf(doc);
            if (!l) return false;
            uint32_t at = 0;
            if (!l->FindPgf(obj, at)) return false;
            auto applied = PgfFormats().find(obj);
            out.s = applied != PgfFormats().end() ? applied->second : l->FormatOf(l->pgfs[at]);
            return true;
        },
        [](F_ObjHandleT doc, F_ObjHandleT obj, const PropValue &in) {
            Layout *l = LayoutOf(doc);
            uint32_t at = 0;
            if (!l || !l->FindPgf(obj, at) || in.s.empty()) return false;
            PgfFormats()[obj] = in.s;
            return true;
        });
}

}  // namespace host
