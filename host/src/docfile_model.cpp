// Building documents from images and extracting images from documents.
#include "docfile_model.h"
#include "docfile_extras.h"

#include <unordered_map>
#include <unordered_set>

#include "model.h"
#include "model_internal.h"
#include "element_objects.h"
#include "tables.h"
#include "text_props.h"

namespace host::docfile {
namespace {

// The formats the model keeps as named objects, in the order an image lists them.
const int kFormatKinds[] = {FO_PgfFmt, FO_CharFmt, FO_CondFmt, FO_Color, FO_MarkerType, FO_XRefFmt, FO_VarFmt, FO_TblFmt};

bool IsFormatKind(int kind) {
    for (int k : kFormatKinds)
        if (k == kind) return true;
    return false;
}

// The host properties a file keeps for the objects elements stand for: a text, or a named
// object (a list of them when `list`) of kind `namedKind` kept by its name.
struct ObjectPropRule {
    IntT elemKind;
    int number;
    int namedKind;  // 0: a text
    bool list;
};
const ObjectPropRule kObjectProps[] = {
    {FV_FO_MARKER, FP_MarkerText, 0, false},       {FV_FO_MARKER, FP_MarkerTypeId, FO_MarkerType, false},
    {FV_FO_XREF, FP_XRefFile, 0, false},         {FV_FO_XREF, FP_XRefFmt, FO_XRefFmt, false},
    {FV_FO_XREF, FP_XRefSrcText, 0, false},         {FV_FO_TBL_ROW, FP_InCond, FO_CondFmt, true},
};

// The host object an element of that kind stands for (marker, cross-reference, table row), or 0.
F_ObjHandleT ObjectOfElement(F_ObjHandleT doc, F_ObjHandleT elem, IntT elemKind) {
    switch (elemKind) {
        case FV_FO_MARKER: return ObjectForElement(doc, elem, FV_FO_MARKER, FO_Marker);
        case FV_FO_XREF: return ObjectForElement(doc, elem, FV_FO_XREF, FO_XRef);
        case FV_FO_TBL_ROW: return TableObjectOf(doc, elem);
        default: return 0;
    }
}

// The name of a named object of the document, or "" when it is none.
std::string NameOf(F_ObjHandleT doc, F_ObjHandleT id) {
    const NamedObject *n = id ? Named(id) : nullptr;
    return n && n->doc == doc ? n->name : "";
}

// The named object of that kind and name, made when the document lacks it; 0 for no name.
F_ObjHandleT NamedFor(F_ObjHandleT doc, int kind, const std::string &name) {
    if (name.empty()) return 0;
    F_ObjHandleT id = FindNamed(doc, kind, name);
    return id ? id : AddNamed(doc, kind, name);
}

// Appends the stored properties of the object element `elem` (of kind elemKind) stands for.
void ExtractObjectProps(F_ObjHandleT doc, F_ObjHandleT elem, IntT elemKind, std::vector<ObjectPropImage> &out) {
    F_ObjHandleT obj = 0;
    for (const ObjectPropRule &r : kObjectProps) {
        if (r.elemKind != elemKind) continue;
        if (!obj && !(obj = ObjectOfElement(doc, elem, elemKind))) return;
        PropValue v;
        if (!GetProperty(doc, obj, r.number, v)) continue;
        if (!r.namedKind) {
            if (!v.s.empty()) out.push_back({r.number, v.s});
        } else if (r.list) {
            for (IntT id : v.is)
                if (std::string name = NameOf(doc, static_cast<F_ObjHandleT>(id)); !name.empty()) out.push_back({r.number, name});
        } else if (std::string name = NameOf(doc, static_cast<F_ObjHandleT>(v.i)); !name.empty()) {
            out.push_back({r.number, name});
        }
    }
}

// Sets the properties an image keeps for the object `elem` (of kind elemKind) stands for;
// properties its kind does not have are ignored.
void BuildObjectProps(F_ObjHandleT doc, F_ObjHandleT elem, IntT elemKind, const std::vector<ObjectPropImage> &props) {
    F_ObjHandleT obj = ObjectOfElement(doc, elem, elemKind);
    if (!obj) return;
    for (const ObjectPropRule &r : kObjectProps) {
        if (r.elemKind != elemKind) continue;
        PropValue v;
        bool any = false;
        for (const ObjectPropImage &p : props) {
            if (p.number != r.number) continue;
            any = true;
            if (!r.namedKind) v.s = p.value;
            else if (r.list) {
                if (F_ObjHandleT id = NamedFor(doc, r.namedKind, p.value)) v.is.push_back(static_cast<IntT>(id));
            }
            else v.i = static_cast<IntT>(NamedFor(doc, r.namedKind, p.value));
        }
        if (any) SetProperty(doc, obj, r.number, v);
    }
}

// The runs of a text node, when any carries a colour, a condition, a character format, the flag
// or a change bar.
std::vector<RunImage> ExtractRuns(F_ObjHandleT doc, F_ObjHandleT node) {
    std::vector<RunImage> runs;
    bool marked = false;
    for (const PropRun &r : TextRuns(node)) {
        RunImage ri{r.len > 0 ? static_cast<uint32_t>(r.len) : 0, NameOf(doc, r.props.color), {}, r.props.charFormat,
                    r.props.flag, r.props.changeBar};
        for (IntT c : r.props.conditions)
            if (std::string name = NameOf(doc, static_cast<F_ObjHandleT>(c)); !name.empty()) ri.conditions.push_back(name);
        marked = marked || !ri.color.empty() || !ri.conditions.empty() || !ri.charFormat.empty() || ri.flag || ri.changeBar;
        runs.push_back(std::move(ri));
    }
    if (!marked) runs.clear();
    return runs;
}

// Gives a text node the colours and conditions of an image's runs.
void BuildRuns(F_ObjHandleT doc, F_ObjHandleT node, const std::vector<RunImage> &runs) {
    std::vector<PropRun> out;
    for (const RunImage &ri : runs) {
        PropRun r;
        r.len = static_cast<IntT>(std::min<uint32_t>(ri.length, 0x7FFFFFFF));
        if (!ri.color.empty()) r.props.color = NamedFor(doc, FO_Color, ri.color);
        r.props.charFormat = ri.charFormat;
        r.props.flag = ri.flag;
        r.props.changeBar = ri.changeBar;
        for (const std::string &c : ri.conditions)
            if (F_ObjHandleT id = NamedFor(doc, FO_CondFmt, c)) r.props.conditions.push_back(static_cast<IntT>(id));
        out.push_back(std::move(r));
    }
    SetTextRuns(node, std::move(out));
}

// What a document's file said that the object model has no place for: kept per document so a
// save can write it back. Entries of closed documents are dropped as new ones come.
struct FileNotes {
    DoctypeImage doctype;
    std::unordered_map<std::string, std::string> contentModels;  // definition name -> content model
    std::unordered_map<std::string, std::string> dtdTypes;       // "definition\nattribute" -> DTD type
    std::unordered_map<std::string, std::vector<std::pair<std::string, std::string>>> formatProperties;  // "kind\nname"
    std::vector<std::pair<std::string, std::string>> otherSettings;
    // What a plain XML file held beside the tree, with elements in place of node indices.
    XmlSourceImage xml;  // its map stays empty; the one below holds the same by element
    std::unordered_map<F_ObjHandleT, int32_t> referenceOf;
};

std::unordered_map<F_ObjHandleT, FileNotes> &Notes() {
    static std::unordered_map<F_ObjHandleT, FileNotes> notes;
    return notes;
}

std::string AttrKey(const std::string &def, const std::string &attr) { return def + "\n" + attr; }
std::string FormatKey(int kind, const std::string &name) { return std::to_string(kind) + "\n" + name; }

void KeepNotes(F_ObjHandleT doc, const DocImage &image, const std::vector<F_ObjHandleT> &ids) {
    auto &all = Notes();
    for (auto it = all.begin(); it != all.end();) it = Doc(it->first) ? std::next(it) : all.erase(it);
    FileNotes n;
    n.doctype = image.doctype;
    const XmlSourceImage &xml = image.xml;
    n.xml.fromXml = xml.fromXml;
    n.xml.doctype = xml.doctype;
    n.xml.dtdFile = xml.dtdFile;
    n.xml.beforeDoctype = xml.beforeDoctype;
    n.xml.beforeRoot = xml.beforeRoot;
    n.xml.afterRoot = xml.afterRoot;
    n.xml.entities = xml.entities;
    n.xml.references = xml.references;
    for (const auto &[node, reference] : xml.referenceOf)
        if (node >= 0 && static_cast<size_t>(node) < ids.size() && ids[node]) n.referenceOf.emplace(ids[node], reference);
    for (const auto &setting : image.otherSettings)
        if (!IsExtraSetting(setting.first)) n.otherSettings.push_back(setting);
    for (const ElementDefImage &d : image.defs) {
        if (!d.contentModel.empty()) n.contentModels[d.name] = d.contentModel;
        for (const AttrDefImage &a : d.attributes)
            if (!a.dtdType.empty()) n.dtdTypes[AttrKey(d.name, a.name)] = a.dtdType;
    }
    for (const FormatImage &f : image.formats)
        if (!f.properties.empty()) n.formatProperties[FormatKey(f.kind, f.name)] = f.properties;
    all[doc] = std::move(n);
}

}  // namespace

F_ObjHandleT BuildDocument(DocImage &image, const std::string &windowsPath, bool visible) {
    F_ObjHandleT doc = NewDocument(windowsPath, "", visible);
    Document *d = Doc(doc);
    if (!d) return 0;
    d->pgfsPerPage = image.paragraphsPerPage;

    // A document is built whole or not at all: what cannot be made (the session's ids used up)
    // closes it again, and the open fails.
    auto abandon = [doc] {
        IntT error = FA_errno ? FA_errno : FE_NoMoreIds;
        CloseDocument(doc);
        FA_errno = error;
        return F_ObjHandleT(0);
    };
    std::vector<F_ObjHandleT> defIds(image.defs.size(), 0);
    for (size_t i = 0; i < image.defs.size(); ++i) {
        const ElementDefImage &di = image.defs[i];
        defIds[i] = AddElementDef(doc, di.name, di.type, di.paragraphFormat);
        if (!defIds[i] && !di.name.empty()) return abandon();
        for (const AttrDefImage &a : di.attributes) {
            AttrDef ad;
            ad.name = a.name;
            ad.type = a.type;
            ad.required = a.required;
            ad.readOnly = a.readOnly;
            ad.choices = a.choices;
            ad.defaults = a.defaults;
            ad.rangeMin = a.rangeMin;
            ad.rangeMax = a.rangeMax;
            AddAttributeDef(defIds[i], std::move(ad));
        }
    }
    for (const FormatImage &f : image.formats)
        if (IsFormatKind(f.kind) && !f.name.empty() && !AddNamed(doc, f.kind, f.name)) return abandon();

    // Fresh unique ids start past every stored one, so none can collide.
    uint32_t maxStored = 0;
    for (const NodeImage &n : image.nodes) maxStored = std::max(maxStored, n.uniqueId);
    if (maxStored <= 0x7FFFFFFFu) KeepUniqueIdsPast(static_cast<IntT>(maxStored));
    std::unordered_set<uint32_t> taken;

    // The ids of nodes an external entity's reference names, for the notes; nothing else needs
    // a node's id once its children are made.
    const bool noteIds = !image.xml.referenceOf.empty();
    std::vector<F_ObjHandleT> ids(noteIds ? image.nodes.size() : 0, 0);
    const bool nodeProps = !image.tableFormats.empty() || !image.objectProps.empty() || !image.textRuns.empty();
    // The nodes from the flow's highest-level one down to the last one made: nodes come in
    // document order, so a node's parent is among them.
    struct Made {
        int32_t index;
        F_ObjHandleT id;
        Element *e;
        Element *last;  // its last child so far
    };
    std::vector<Made> path;
    // Nodes are given back as the build passes them when the flows come in the order
    // of their nodes, as every reader lists them.
    bool inOrder = true;
    for (size_t f = 1; f < image.flows.size(); ++f)
        inOrder = inOrder && image.flows[f].first >= image.flows[f - 1].first + image.flows[f - 1].count;
    // The document keeps the image's texts as they are; its nodes point into them.
    const size_t firstBlock = d->texts.Adopt(image.text.TakeChunks());
    auto kept = [&](const NodeImage &n) {
        return n.textLength ? d->texts.Block(firstBlock + n.textChunk) + n.textOffset - TextArena::kLength : nullptr;
    };
    for (const FlowImage &fi : image.flows) {
        F_ObjHandleT flow = fi.main ? MainFlow(doc) : AddFlow(doc, fi.name);
        if (!flow) return abandon();
        if (fi.main)
            if (Flow *f = FlowOf(flow)) f->name = fi.name;
        path.clear();
        for (int32_t i = fi.first; i < fi.first + fi.count; ++i) {
            if (inOrder && i % 1024 == 0) image.nodes.ReleaseBefore(static_cast<size_t>(i));
            const NodeImage &n = image.nodes[i];
            if (n.def == kDroppedNode) continue;
            while (!path.empty() && path.back().index != n.parent) path.pop_back();
            Made *parent = n.parent >= 0 && !path.empty() && path.back().id ? &path.back() : nullptr;
            std::pair<F_ObjHandleT, Element *> made{0, nullptr};
            FA_errno = 0;
            if (n.def == kTextNode) {
                if (parent) made = BuildChild(doc, parent->id, *parent->e, parent->last, 0, kNotMisc, kept(n));
            } else if (IsMiscNode(n)) {
                if (parent)
                    made = BuildChild(doc, parent->id, *parent->e, parent->last, 0,
                                      n.def == kCommentNode ? kMiscComment : kMiscPi, kept(n));
            } else if (parent) {
                made = BuildChild(doc, parent->id, *parent->e, parent->last, defIds[n.def], kNotMisc, nullptr);
            } else if (n.parent < 0) {
                F_ObjHandleT root = AppendElement(doc, 0, defIds[n.def], flow);
                made = {root, root ? Elem(root) : nullptr};
            }
            auto [id, e] = made;
            if (!id && FA_errno == FE_NoMoreIds) return abandon();
            path.push_back(Made{i, id, e, nullptr});
            if (noteIds) ids[i] = id;
            if (!e || e->misc) continue;
            if (n.uniqueId && n.uniqueId <= 0x7FFFFFFFu && taken.insert(n.uniqueId).second)
                e->unique = static_cast<IntT>(n.uniqueId);
            if (n.pgfMode) e->pgfMode = n.pgfMode == 1 ? kPgfYes : kPgfNo;
            if (n.attrCount) e->attrs.reserve(n.attrCount);
            for (uint32_t k = 0; k < n.attrCount; ++k) {
                AttrImage &a = image.attrs[n.firstAttr + k];
                SetAttribute(doc, id, a.name, std::move(a.values));
            }
            if (!nodeProps) continue;
            if (auto f = image.tableFormats.find(i); f != image.tableFormats.end())
                if (F_ObjHandleT table = TableObjectOf(doc, id)) {
                    PropValue name;
                    name.s = f->second;
                    SetProperty(doc, table, FP_TblTag, name);
                }
            if (auto p = image.objectProps.find(i); p != image.objectProps.end())
                if (const ElementDef *def = Def(e->def)) BuildObjectProps(doc, id, def->type, p->second);
            if (auto r = image.textRuns.find(i); r != image.textRuns.end() && !e->def) BuildRuns(doc, id, r->second);
        }
    }
    image.nodes = ChunkedList<NodeImage>();
    image.text = TextArena();
    RestoreExtras(doc, image.otherSettings);
    KeepNotes(doc, image, ids);
    MarkChanged(doc, false);
    d->modified = 0;
    return doc;
}

namespace {

// The notes kept for a document, or nullptr.
const FileNotes *NotesOf(F_ObjHandleT doc) {
    auto it = Notes().find(doc);
    return it == Notes().end() ? nullptr : &it->second;
}

// The document type, the catalog and what a plain XML file held beside its tree, into `image`;
// `defIndex` gets each definition's index in image.defs.
void ExtractCatalog(const Document &d, const FileNotes *notes, DocImage &image,
                    std::unordered_map<F_ObjHandleT, int32_t> &defIndex) {
    image.paragraphsPerPage = d.pgfsPerPage;
    if (notes) {
        image.doctype = notes->doctype;
        image.otherSettings = notes->otherSettings;
        image.xml.fromXml = notes->xml.fromXml;
        image.xml.doctype = notes->xml.doctype;
        image.xml.dtdFile = notes->xml.dtdFile;
        image.xml.beforeDoctype = notes->xml.beforeDoctype;
        image.xml.beforeRoot = notes->xml.beforeRoot;
        image.xml.afterRoot = notes->xml.afterRoot;
        image.xml.entities = notes->xml.entities;
        image.xml.references = notes->xml.references;
    }
    for (F_ObjHandleT id : d.defs) {
        const ElementDef *def = Def(id);
        if (!def) continue;
        ElementDefImage di;
        di.name = def->name;
        di.type = def->type;
        di.paragraphFormat = def->pgfFormat;
        if (notes)
            if (auto it = notes->contentModels.find(def->name); it != notes->contentModels.end()) di.contentModel = it->second;
        for (const AttrDef &a : def->attrs) {
            AttrDefImage ai;
            ai.name = a.name;
            ai.type = a.type;
            ai.required = a.required;
            ai.readOnly = a.readOnly;
            ai.choices = a.choices;
            ai.defaults = a.defaults;
            ai.rangeMin = a.rangeMin;
            ai.rangeMax = a.rangeMax;
            if (notes)
                if (auto it = notes->dtdTypes.find(AttrKey(def->name, a.name)); it != notes->dtdTypes.end()) ai.dtdType = it->second;
            di.attributes.push_back(std::move(ai));
        }
        defIndex[id] = static_cast<int32_t>(image.defs.size());
        image.defs.push_back(std::move(di));
    }
}

}  // namespace

bool ExtractXmlFrame(F_ObjHandleT doc, DocImage &image, std::unordered_map<F_ObjHandleT, int32_t> &defIndex,
                     std::unordered_map<F_ObjHandleT, int32_t> &referenceOf) {
    const Document *d = Doc(doc);
    if (!d) return false;
    const FileNotes *notes = NotesOf(doc);
    ExtractCatalog(*d, notes, image, defIndex);
    if (notes) referenceOf = notes->referenceOf;
    return true;
}

bool ExtractDocument(F_ObjHandleT doc, DocImage &image) {
    Document *d = Doc(doc);
    if (!d) return false;
    const FileNotes *notes = NotesOf(doc);
    std::unordered_map<F_ObjHandleT, int32_t> defIndex;
    ExtractCatalog(*d, notes, image, defIndex);
    // Nodes that came from an external entity, for the node indices they get below.
    auto noteNode = [&](F_ObjHandleT id, int32_t index) {
        if (!notes) return;
        if (auto it = notes->referenceOf.find(id); it != notes->referenceOf.end()) image.xml.referenceOf[index] = it->second;
    };
    SaveExtras(doc, image.otherSettings);
    for (int kind : kFormatKinds) {
        auto it = d->named.find(kind);
        if (it == d->named.end()) continue;
        for (F_ObjHandleT id : it->second) {
            const NamedObject *o = Named(id);
            if (!o) continue;
            FormatImage f{kind, o->name, {}};
            if (notes)
                if (auto p = notes->formatProperties.find(FormatKey(kind, o->name)); p != notes->formatProperties.end())
                    f.properties = p->second;
            image.formats.push_back(std::move(f));
        }
    }

    // Each flow's tree in document order.
    for (F_ObjHandleT fid : d->flows) {
        const Flow *flow = FlowOf(fid);
        if (!flow) continue;
        FlowImage fi{flow->name, fid == d->mainFlow, static_cast<int32_t>(image.nodes.size()), 0};
        std::vector<int32_t> parents;  // image indices of the open ancestors
        WalkTree(flow->root, [&](F_ObjHandleT cur, const Element &e, size_t depth) {
            parents.resize(depth);
            NodeImage n;
            n.parent = parents.empty() ? -1 : parents.back();
            n.uniqueId = e.unique > 0 ? static_cast<uint32_t>(e.unique) : 0;
            if (e.misc) {
                n.def = e.misc == kMiscComment ? kCommentNode : kPiNode;
                n.uniqueId = 0;
                image.text.Add(n, e.text);
            } else if (!e.def) {
                n.def = kTextNode;
                image.text.Add(n, e.text);
                if (std::vector<RunImage> runs = ExtractRuns(doc, cur); !runs.empty())
                    image.textRuns[static_cast<int32_t>(image.nodes.size())] = std::move(runs);
            } else {
                auto di = defIndex.find(e.def);
                if (di == defIndex.end()) return false;  // a definition that is gone: the tree ends here
                n.def = di->second;
                n.pgfMode = e.pgfMode == kPgfYes ? 1 : e.pgfMode == kPgfNo ? 2 : 0;
                n.firstAttr = static_cast<uint32_t>(image.attrs.size());
                for (const Attr &a : e.attrs) image.attrs.push_back(AttrImage{AtomName(a.name), a.values});
                n.attrCount = static_cast<uint32_t>(image.attrs.size() - n.firstAttr);
                if (const ElementDef *def = Def(e.def); def && def->type == FV_FO_TBL)
                    if (PropValue name; GetProperty(doc, TableObjectOf(doc, cur), FP_TblTag, name) && !name.s.empty())
                        image.tableFormats[static_cast<int32_t>(image.nodes.size())] = name.s;
                if (const ElementDef *def = Def(e.def)) {
                    std::vector<ObjectPropImage> props;
                    ExtractObjectProps(doc, cur, def->type, props);
                    if (!props.empty()) image.objectProps[static_cast<int32_t>(image.nodes.size())] = std::move(props);
                }
            }
            image.nodes.push_back(n);
            int32_t index = static_cast<int32_t>(image.nodes.size() - 1);
            if (fid == d->mainFlow) noteNode(cur, index);
            if (e.def && e.first) parents.push_back(index);
            return true;
        });
        fi.count = static_cast<int32_t>(image.nodes.size()) - fi.first;
        image.flows.push_back(fi);
    }
    return true;
}

}  // namespace host::docfile
