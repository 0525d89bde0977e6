// Pages, graphics, variables, window and metadata kept as settings of a document file (see
// docfile_extras.h).
#include "docfile_extras.h"

#include <cstdlib>
#include <unordered_map>

#include "element_objects.h"
#include "graphics.h"
#include "model_internal.h"
#include "model_layout.h"

namespace host::docfile {

namespace {

const char *const kNames[] = {"window", "xmp", "page", "flow-page", "body-page-master", "variable-format",
                              "variable", "xref-flag", "frame", "graphic", "table-format-title"};

std::vector<std::string> Fields(const std::string &s) {
    std::vector<std::string> out(1);
    for (char c : s) {
        if (c == '\t')
            out.emplace_back();
        else
            out.back() += c;
    }
    return out;
}

std::string Join(const std::vector<std::string> &fields) {
    std::string out;
    for (size_t i = 0; i < fields.size(); ++i) out += (i ? "\t" : "") + fields[i];
    return out;
}

long long Number(const std::string &s, long long fallback = 0) {
    char *end = nullptr;
    long long v = std::strtoll(s.c_str(), &end, 10);
    return end && end != s.c_str() && !*end ? v : fallback;
}

std::string Record(const Graphic &g) {
    std::string points;
    for (size_t i = 0; i < g.points.size(); ++i) points += (i ? "," : "") + std::to_string(g.points[i]);
    return Join({std::to_string(KindOf(g.id)), std::to_string(g.angle), std::to_string(g.x), std::to_string(g.y),
                 std::to_string(g.width), std::to_string(g.height), std::to_string(g.border), std::to_string(g.pen),
                 std::to_string(g.selected), std::to_string(g.dotFlag), g.path, g.text, points});
}

// Reads a record from fields [at, at + 13) into g (kind into *kind); false when it is broken.
bool ReadRecord(const std::vector<std::string> &f, size_t at, Graphic &g, int *kind) {
    if (f.size() < at + 13) return false;
    *kind = static_cast<int>(Number(f[at], -1));
    MetricT *metrics[] = {&g.angle, &g.x, &g.y, &g.width, &g.height, &g.border};
    for (size_t i = 0; i < 6; ++i) *metrics[i] = static_cast<MetricT>(Number(f[at + 1 + i]));
    g.pen = static_cast<IntT>(Number(f[at + 7]));
    g.selected = static_cast<IntT>(Number(f[at + 8]));
    g.dotFlag = static_cast<IntT>(Number(f[at + 9], 1));
    g.path = f[at + 10];
    g.text = f[at + 11];
    g.points.clear();
    std::string p = f[at + 12], cur;
    for (size_t i = 0; i <= p.size(); ++i) {
        if (i == p.size() || p[i] == ',') {
            if (!cur.empty()) g.points.push_back(static_cast<IntT>(Number(cur)));
            cur.clear();
        } else {
            cur += p[i];
        }
    }
    return true;
}

// Copies a record's values into a live graphic (its kind and place stay).
void Assign(Graphic &to, const Graphic &from) {
    to.angle = from.angle;
    to.x = from.x;
    to.y = from.y;
    to.width = from.width;
    to.height = from.height;
    to.border = from.border;
    to.pen = from.pen;
    to.selected = from.selected;
    to.dotFlag = from.dotFlag;
    to.path = from.path;
    to.text = from.text;
    to.points = from.points;
}

IntT UniqueOf(F_ObjHandleT e) {
    Element *x = Elem(e);
    return x ? x->unique : 0;
}

// The place of a graphic on a page: "p" + kind + ":" + name (or body page number).
std::string PagePlace(F_ObjHandleT doc, F_ObjHandleT page) {
    int kind = KindOf(page);
    if (kind != FO_BodyPage) return "p" + std::to_string(kind) + ":" + NamedPageName(doc, page);
    Layout *l = LayoutOf(doc);
    const uint32_t *at = l ? l->pageIndex.Find(page) : nullptr;
    return at ? "p5:" + std::to_string(*at) : "";
}

F_ObjHandleT PageOfPlace(F_ObjHandleT doc, const std::string &place) {
    size_t colon = place.find(':');
    if (place.size() < 2 || place[0] != 'p' || colon == std::string::npos) return 0;
    int kind = static_cast<int>(Number(place.substr(1, colon - 1), -1));
    std::string rest = place.substr(colon + 1);
    if (kind == FO_BodyPage) {
        Layout *l = LayoutOf(doc);
        long long i = Number(rest, -1);
        return l && i >= 0 && static_cast<size_t>(i) < l->pages.size() ? l->pages[static_cast<size_t>(i)].id : 0;
    }
    for (F_ObjHandleT p : NamedPages(doc, kind))
        if (NamedPageName(doc, p) == rest) return p;
    return 0;
}

}  // namespace

bool IsExtraSetting(const std::string &name) {
    for (const char *n : kNames)
        if (name == n) return true;
    return false;
}

void SaveExtras(F_ObjHandleT doc, std::vector<std::pair<std::string, std::string>> &settings) {
    Document *d = Doc(doc);
    if (!d) return;
    std::erase_if(settings, [](const auto &s) { return IsExtraSetting(s.first); });
    auto put = [&](const char *name, const std::string &value) { settings.emplace_back(name, value); };
    put("window", Join({std::to_string(d->left), std::to_string(d->top), std::to_string(d->width), std::to_string(d->height)}));
    if (PropValue xmp; GetProperty(0, doc, FP_XmpPacket, xmp) && !xmp.s.empty()) put("xmp", xmp.s);
    for (int kind : {FO_MasterPage, FO_RefPage, FO_OtherPage})
        for (F_ObjHandleT p : NamedPages(doc, kind)) put("page", Join({std::to_string(kind), NamedPageName(doc, p)}));
    for (F_ObjHandleT f : d->flows)
        if (F_ObjHandleT p = PageOfFlow(f); p && KindOf(p) != FO_BodyPage)
            if (Flow *fl = FlowOf(f)) put("flow-page", Join({fl->name, std::to_string(KindOf(p)), NamedPageName(doc, p)}));
    if (Layout *l = LayoutOf(doc))
        for (size_t i = 0; i < l->pages.size(); ++i)
            if (std::string m = BodyPageMaster(l->pages[i].id); m != "Right") put("body-page-master", Join({std::to_string(i), m}));
    if (auto it = d->named.find(FO_VarFmt); it != d->named.end())
        for (F_ObjHandleT v : it->second) {
            NamedObject *n = Named(v);
            PropValue system, definition;
            if (!n || !GetProperty(doc, v, FP_VarIsSystemVar, system) || !GetProperty(doc, v, FP_Fmt, definition))
                continue;
            put("variable-format", Join({n->name, system.i ? "1" : "0", definition.s}));
        }
    if (auto it = d->named.find(FO_TblFmt); it != d->named.end())
        for (F_ObjHandleT t : it->second) {
            PropValue title;
            if (NamedObject *n = Named(t); n && GetProperty(doc, t, FP_TblTitlePosition, title) && title.i)
                put("table-format-title", n->name);
        }
    for (F_ObjHandleT e : ElementsOfKind(doc, FV_FO_SYS_VAR))
        if (NamedObject *n = Named(VariableFormatOf(VariableOfElement(doc, e))); n && UniqueOf(e))
            put("variable", Join({std::to_string(UniqueOf(e)), n->name}));
    for (F_ObjHandleT e : ElementsOfKind(doc, FV_FO_XREF)) {
        PropValue flag;
        F_ObjHandleT x = ObjectForElement(doc, e, FV_FO_XREF, FO_XRef);
        if (UniqueOf(e) && GetProperty(doc, x, FP_XRefSrcAccess, flag) && flag.i)
            put("xref-flag", Join({std::to_string(UniqueOf(e)), std::to_string(flag.i)}));
    }
    for (F_ObjHandleT e : ElementsOfKind(doc, FV_FO_GRAPHIC)) {
        F_ObjHandleT frame = FrameOfElement(doc, e);
        Graphic *g = GraphicOf(doc, frame);
        if (!g || !UniqueOf(e)) continue;
        std::string uid = std::to_string(UniqueOf(e));
        put("frame", uid + "\t" + Record(*g));
        for (F_ObjHandleT c : FrameGraphics(doc, frame))
            if (Graphic *cg = GraphicOf(doc, c)) put("graphic", "f" + uid + "\t" + Record(*cg));
    }
    for (F_ObjHandleT c : PageGraphics(doc))
        if (Graphic *g = GraphicOf(doc, c))
            if (std::string place = PagePlace(doc, g->page); !place.empty()) put("graphic", place + "\t" + Record(*g));
}

void RestoreExtras(F_ObjHandleT doc, const std::vector<std::pair<std::string, std::string>> &settings) {
    Document *d = Doc(doc);
    if (!d) return;
    // Elements by unique id, indexed at the first setting that names one (a file without such
    // settings, as plain XML, costs no walk).
    std::unordered_map<long long, F_ObjHandleT> byUnique;
    bool indexed = false;
    auto element = [&](const std::string &uid) {
        if (!indexed) {
            indexed = true;
            ForEachElement(doc, [&](F_ObjHandleT e) { byUnique.emplace(UniqueOf(e), e); });
        }
        auto it = byUnique.find(Number(uid, -1));
        return it == byUnique.end() ? F_ObjHandleT(0) : it->second;
    };
    for (const auto &[name, value] : settings) {
        std::vector<std::string> f = Fields(value);
        if (name == "window" && f.size() == 4) {
            d->left = static_cast<IntT>(Number(f[0]));
            d->top = static_cast<IntT>(Number(f[1]));
            d->width = static_cast<IntT>(Number(f[2]));
            d->height = static_cast<IntT>(Number(f[3]));
        } else if (name == "xmp") {
            PropValue v;
            v.s = value;
            SetProperty(0, doc, FP_XmpPacket, v);
        } else if (name == "page" && f.size() == 2) {
            AddNamedPage(doc, static_cast<int>(Number(f[0], -1)), f[1]);
        } else if (name == "flow-page" && f.size() == 3) {
            F_ObjHandleT flow = FindFlow(doc, f[0]);
            F_ObjHandleT page = PageOfPlace(doc, "p" + f[1] + ":" + f[2]);
            if (flow && page) PlaceFlowOnPage(flow, page);
        } else if (name == "body-page-master" && f.size() == 2) {
            if (F_ObjHandleT page = PageOfPlace(doc, "p5:" + f[0])) SetBodyPageMaster(page, f[1]);
        } else if (name == "variable-format" && f.size() == 3) {
            F_ObjHandleT v = FindNamed(doc, FO_VarFmt, f[0]);
            if (!v) v = AddNamed(doc, FO_VarFmt, f[0]);
            PropValue system, definition;
            system.i = f[1] == "1" ? 1 : 0;
            definition.s = f[2];
            SetProperty(doc, v, FP_VarIsSystemVar, system);
            SetProperty(doc, v, FP_Fmt, definition);
        } else if (name == "table-format-title") {
            F_ObjHandleT t = FindNamed(doc, FO_TblFmt, value);
            PropValue on;
            on.i = 1;
            if (t) SetProperty(doc, t, FP_TblTitlePosition, on);
        } else if (name == "variable" && f.size() == 2) {
            F_ObjHandleT var = VariableOfElement(doc, element(f[0]));
            if (F_ObjHandleT fmt = FindNamed(doc, FO_VarFmt, f[1]); var && fmt) SetVariableFormat(var, fmt);
        } else if (name == "xref-flag" && f.size() == 2) {
            F_ObjHandleT x = ObjectForElement(doc, element(f[0]), FV_FO_XREF, FO_XRef);
            PropValue flag;
            flag.i = static_cast<IntT>(Number(f[1]));
            if (x) SetProperty(doc, x, FP_XRefSrcAccess, flag);
        } else if (name == "frame" && f.size() == 14) {
            Graphic g;
            int kind = 0;
            Graphic *frame = GraphicOf(doc, FrameOfElement(doc, element(f[0])));
            if (frame && ReadRecord(f, 1, g, &kind)) Assign(*frame, g);
        } else if (name == "graphic" && f.size() == 14) {
            Graphic g;
            int kind = 0;
            if (!ReadRecord(f, 1, g, &kind) || f[0].empty()) continue;
            F_ObjHandleT frame = f[0][0] == 'f' ? FrameOfElement(doc, element(f[0].substr(1))) : 0;
            F_ObjHandleT page = f[0][0] == 'p' ? PageOfPlace(doc, f[0]) : 0;
            if (Graphic *made = GraphicOf(doc, AddGraphic(doc, kind, frame, page))) Assign(*made, g);
        }
    }
}

}  // namespace host::docfile
