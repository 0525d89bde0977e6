// The session user's actions on documents and elements, each followed by the notifications
// the host raises for it.
#include "user_actions.h"

#include <cctype>
#include <cstdlib>

#include "client.h"
#include "docfile_api.h"
#include "model.h"
#include "transcript.h"

namespace host {
namespace {

std::string Lower(std::string s) {
    for (char &c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool EndsWith(const std::string &s, const std::string &end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

bool Refuse(std::string *error, const std::string &why) {
    if (error) *error = why;
    return false;
}

std::string ErrnoText() { return " (error " + std::to_string(FA_errno) + ")"; }

// Why the save just tried failed, as the end of the user's message.
std::string SaveFailureText() { return LastSaveFailure().empty() ? ErrnoText() : ": " + LastSaveFailure(); }

// The active document, or 0 with *error.
F_ObjHandleT ActiveDocument(std::string *error) {
    F_ObjHandleT doc = TheSession().activeDoc;
    if (!Doc(doc)) {
        Refuse(error, "no document is active");
        return 0;
    }
    return doc;
}

// The element the user has selected in a document: the first selected element, or the element
// holding the insertion point; the highest-level element of the main flow when nothing is.
F_ObjHandleT SelectedElement(F_ObjHandleT doc) {
    F_ElementRangeT er = F_ApiGetElementRange(0, doc, FP_ElementSelection);
    Element *child = er.beg.childId ? ElemIn(doc, er.beg.childId) : nullptr;
    if (child && child->def) return er.beg.childId;
    if (er.beg.parentId && ElemIn(doc, er.beg.parentId)) return er.beg.parentId;
    Flow *flow = FlowOf(MainFlow(doc));
    return flow ? flow->root : 0;
}

// Selects one element as a whole.
void SelectElement(F_ObjHandleT doc, F_ObjHandleT elem) {
    Element *e = ElemIn(doc, elem);
    if (!e) return;
    F_ElementRangeT er{};
    er.beg = {e->parent, elem, 0};
    er.end = {e->parent, e->parent ? e->next : 0, 0};
    F_ApiSetElementRange(0, doc, FP_ElementSelection, &er);
}

std::string TagOf(const Element &e) {
    const ElementDef *d = e.def ? Def(e.def) : nullptr;
    return d ? d->name : std::string();
}

}  // namespace

F_ObjHandleT UserOpen(const std::string &windowsPath, bool visible, std::string *error) {
    FA_errno = 0;
    // A document of the file the user can see comes forward. One open only out of sight (a
    // client's hidden copy) is not what the user asked for: the file opens as a document of its
    // own, as any other open, and the clients hear of it.
    if (F_ObjHandleT open = OpenDocumentOfFile(windowsPath, visible)) {
        if (visible) {
            F_ApiSetInt(0, open, FP_IsInFront, 1);
            UserActivate(open, nullptr);
        }
        return open;
    }
    F_ObjHandleT doc = OpenDocumentFile(windowsPath, visible, OpenDocumentOfFile(windowsPath) != 0);
    if (!doc) {
        Refuse(error, "cannot open \"" + windowsPath + "\"" + ErrnoText());
        return 0;
    }
    if (KindOf(doc) == FO_Book) {
        // The book's window comes to the front: the active book, and no active document.
        if (visible) {
            F_ApiSetId(0, 0, FP_ActiveBook, doc);
            F_ApiSetId(0, 0, FP_ActiveDoc, 0);
        }
        return doc;
    }
    if (visible) F_ApiSetId(0, 0, FP_ActiveDoc, doc);
    IntT note = EndsWith(Lower(windowsPath), ".xml") ? FA_Note_PostOpenXML : FA_Note_PostOpenDoc;
    NotifyClients(note, doc, Doc(doc) ? Doc(doc)->path : windowsPath, 0);
    return doc;
}

bool UserClose(F_ObjHandleT doc, std::string *error) {
    if (!Doc(doc)) return Refuse(error, "no such document");
    NotifyClients(FA_Note_PreQuitDoc, doc, Doc(doc)->path, 0);
    if (!Doc(doc)) return true;  // a client closed it meanwhile
    FA_errno = 0;
    const bool unsaved = Doc(doc)->modified != 0;
    const std::string label = Doc(doc)->label;
    if (F_ApiClose(doc, 1) != 0) return Refuse(error, "the document could not be closed" + ErrnoText());
    if (unsaved) UserMessage("\"" + label + "\" was closed with unsaved changes: its changes were discarded.");
    NotifyClients(FA_Note_PostQuitDoc, doc, "", 0);
    return true;
}

bool UserSave(F_ObjHandleT doc, std::string *error) {
    if (!Doc(doc)) return Refuse(error, "no such document");
    FA_errno = 0;
    const std::string path = Doc(doc)->path;
    if (!SaveDocumentFile(doc, "", SaveFormatForPath(path)))
        return Refuse(error, "cannot save \"" + (path.empty() ? Doc(doc)->label : path) + "\"" + SaveFailureText());
    return true;
}

bool UserSaveAs(F_ObjHandleT doc, const std::string &windowsPath, int format, std::string *error) {
    if (!Doc(doc)) return Refuse(error, "no such document");
    NotifyClients(FA_Note_PreFunction, doc, "", FV_FC_SAVE_AS);
    FA_errno = 0;
    bool saved = Doc(doc) && SaveDocumentFile(doc, windowsPath, format < 0 ? SaveFormatForPath(windowsPath) : format);
    NotifyClients(FA_Note_PostFunction, doc, "", FV_FC_SAVE_AS);
    if (!saved) return Refuse(error, "cannot save as \"" + windowsPath + "\"" + SaveFailureText());
    return true;
}

bool UserActivate(F_ObjHandleT doc, std::string *error) {
    if (!Doc(doc)) return Refuse(error, "no such document");
    if (TheSession().activeDoc == doc) return true;
    F_ApiSetId(0, 0, FP_ActiveDoc, doc);
    NotifyClients(FA_Note_PostActiveDocChange, doc, "", 0);
    return true;
}

F_ObjHandleT UserSelect(const std::string &path, std::string *error) {
    F_ObjHandleT doc = ActiveDocument(error);
    if (!doc) return 0;
    Flow *flow = FlowOf(MainFlow(doc));
    F_ObjHandleT at = 0;  // 0: above the highest-level element
    size_t pos = 0;
    while (pos < path.size()) {
        if (path[pos] != '/') {
            Refuse(error, "a path of tags begins each step with \"/\": " + path);
            return 0;
        }
        size_t end = path.find('/', pos + 1);
        std::string step = path.substr(pos + 1, end == std::string::npos ? std::string::npos : end - pos - 1);
        pos = end == std::string::npos ? path.size() : end;
        long want = 1;
        size_t bracket = step.find('[');
        if (bracket != std::string::npos) {
            if (step.back() != ']' || bracket + 2 > step.size() - 1) {
                Refuse(error, "bad step \"" + step + "\"");
                return 0;
            }
            try {
                want = std::stol(step.substr(bracket + 1, step.size() - bracket - 2));
            } catch (...) {
                want = 0;
            }
            step.resize(bracket);
        }
        F_ObjHandleT found = 0;
        long seen = 0;
        F_ObjHandleT child = at ? Elem(at)->first : (flow ? flow->root : 0);
        for (; child && !found; child = Elem(child)->next)
            if (TagOf(*Elem(child)) == step && ++seen == want) found = child;
        if (!found) {
            Refuse(error, "no element " + path.substr(0, pos) + " in the active document");
            return 0;
        }
        at = found;
    }
    if (!at) {
        Refuse(error, "an empty path selects nothing");
        return 0;
    }
    SelectElement(doc, at);
    return at;
}

F_ObjHandleT UserDoubleClick(const std::string &path, std::string *error) {
    F_ObjHandleT elem = UserSelect(path, error);
    if (!elem) return 0;
    F_ObjHandleT doc = TheSession().activeDoc;
    NotifyClients(FA_Note_PreMouseCommand, doc, "", static_cast<IntT>(1u << 24));
    NotifyClients(FA_Note_PostMouseCommand, doc, "", 0);
    return elem;
}

F_ObjHandleT UserInsertElement(const std::string &tag, std::string *error) {
    F_ObjHandleT doc = ActiveDocument(error);
    if (!doc) return 0;
    F_ObjHandleT def = FindElementDef(doc, tag);
    if (!def) {
        Refuse(error, "the document defines no element \"" + tag + "\"");
        return 0;
    }
    F_ObjHandleT parent = SelectedElement(doc);
    if (!parent) {
        Refuse(error, "the document has no structure to insert into");
        return 0;
    }
    NotifyClients(FA_Note_PreInsertElement, doc, tag, 0);
    F_ElementLocT loc{parent, 0, 0};
    FA_errno = 0;
    F_ObjHandleT elem = ElemIn(doc, parent) ? F_ApiNewElement(doc, def, &loc) : 0;
    if (!elem) {
        Refuse(error, "the element could not be inserted" + ErrnoText());
        return 0;
    }
    SelectElement(doc, elem);
    NotifyClients(FA_Note_PostInsertElement, doc, tag, static_cast<IntT>(elem));
    return elem;
}

bool UserSetAttribute(const std::string &name, const std::vector<std::string> &values, std::string *error) {
    F_ObjHandleT doc = ActiveDocument(error);
    if (!doc) return false;
    F_ObjHandleT elem = SelectedElement(doc);
    if (!elem || !SetAttribute(doc, elem, name, values))
        return Refuse(error, "no element is selected to take the attribute");
    MarkChanged(doc);
    NotifyClients(FA_Note_PostSetAttrValue, doc, name, static_cast<IntT>(elem));
    return true;
}

bool UserFunction(IntT code, std::string *error) {
    F_ObjHandleT doc = TheSession().activeDoc;
    NotifyClients(FA_Note_PreFunction, doc, "", code);
    size_t before = TheSession().openDocs.size();
    F_IntsT list{1, &code};
    FA_errno = 0;
    bool done = F_ApiFcodes(&list) == 0;
    if (done && code == FV_FC_STRUCTURE_VIEW && TheSession().openDocs.size() > before)
        NotifyClients(FA_Note_PostOpenMIF, TheSession().openDocs.back(), "", 0);
    NotifyClients(FA_Note_PostFunction, doc, "", code);
    if (!done) return Refuse(error, "the host function " + std::to_string(code) + " failed" + ErrnoText());
    return true;
}

void UserQuit() {
    NotifyClients(FA_Note_PreQuitSession, 0, "", 0);
    for (F_ObjHandleT doc : TheSession().openDocs)
        if (const Document *d = Doc(doc); d && d->modified)
            UserMessage("\"" + d->label + "\" has unsaved changes at quit: its changes were discarded.");
}

namespace {

// The text of each Hypertext marker of the document, in document order.
std::vector<std::string> HypertextLinks(F_ObjHandleT doc) {
    std::vector<std::string> links;
    for (F_ObjHandleT f : Doc(doc)->flows) {
        Flow *flow = FlowOf(f);
        F_ObjHandleT e = flow ? flow->root : 0;
        while (e) {
            if (F_ApiGetInt(doc, e, FP_ElementType) == FV_FO_MARKER) {
                F_ObjHandleT marker = F_ApiGetId(doc, e, FP_Object);
                F_ObjHandleT type = F_ApiGetId(doc, marker, FP_MarkerTypeId);
                StringT typeName = F_ApiGetString(doc, type, FP_Name);
                StringT text = F_ApiGetString(doc, marker, FP_MarkerText);
                if (typeName && std::string(typeName) == "Hypertext") links.push_back(text ? text : "");
                F_ApiDeallocateString(&typeName);
                F_ApiDeallocateString(&text);
            }
            // Document order without recursion.
            if (Elem(e)->first) {
                e = Elem(e)->first;
                continue;
            }
            while (e && !Elem(e)->next) e = Elem(e)->parent;
            if (e) e = Elem(e)->next;
        }
    }
    return links;
}

}  // namespace

bool UserFollowLink(size_t n, std::string *error) {
    F_ObjHandleT doc = ActiveDocument(error);
    if (!doc) return false;
    std::vector<std::string> links = HypertextLinks(doc);
    if (n < 1 || n > links.size())
        return Refuse(error, "the active document has " + std::to_string(links.size()) + " Hypertext links, not a " +
                                 std::to_string(n) + "th");
    const std::string &link = links[n - 1];
    Transcript("link: " + link);
    const std::string command = "openObjectId ";
    size_t colon = link.rfind(':');
    if (link.rfind(command, 0) != 0 || colon == std::string::npos || link.compare(colon, 3, ":5 ") != 0) {
        Transcript("link: not a link this host follows");
        return true;
    }
    std::string path = link.substr(command.size(), colon - command.size());
    long long unique = std::atoll(link.c_str() + colon + 3);
    // A document open only invisibly (a plug-in's working copy) comes into view; one the user sees
    // is taken first.
    F_ObjHandleT target = 0;
    for (F_ObjHandleT id : TheSession().openDocs) {
        Document *d = Doc(id);
        if (!d || (Lower(d->label) != Lower(path) && Lower(d->path) != Lower(path))) continue;
        if (!target || (d->visible && !Doc(target)->visible)) target = id;
    }
    if (target) {
        if (!Doc(target)->visible) F_ApiSetInt(0, target, FP_IsOnScreen, 1);
        UserActivate(target, nullptr);
    } else {
        std::string why;
        target = UserOpen(path, true, &why);
        if (!target) {
            Transcript("link: stale, " + why);
            return true;
        }
    }
    // An id of 0 names no element: the document itself is the link's target.
    if (unique == 0) {
        Transcript("link: opened " + Doc(target)->label);
        return true;
    }
    F_ObjHandleT found = 0;
    for (F_ObjHandleT f : Doc(target)->flows) {
        Flow *flow = FlowOf(f);
        for (F_ObjHandleT e = flow ? flow->root : 0; e && !found;) {
            if (Elem(e)->unique == unique) found = e;
            if (Elem(e)->first) {
                e = Elem(e)->first;
                continue;
            }
            while (e && !Elem(e)->next) e = Elem(e)->parent;
            if (e) e = Elem(e)->next;
        }
    }
    if (!found) {
        Transcript("link: stale, no element with unique id " + std::to_string(unique) + " in " + path);
        return true;
    }
    SelectElement(target, found);
    Transcript("link: selected <" + TagOf(*Elem(found)) + "> in " + Doc(target)->label);
    return true;
}

F_ObjHandleT FindOpenDocument(const std::string &labelOrPath) {
    if (labelOrPath.empty()) return Doc(TheSession().activeDoc) ? TheSession().activeDoc : 0;
    std::string want = Lower(labelOrPath);
    for (F_ObjHandleT id : TheSession().openDocs) {
        Document *d = Doc(id);
        if (d && (Lower(d->label) == want || Lower(d->path) == want)) return id;
    }
    return 0;
}

}  // namespace host
