// The Node Wizard Scripts document: finding or opening the current one, hidden working copies,
// and the lookups of scripts, events, names and descriptions.
#include "nodewizard/scripts_doc.h"

#include "lib/dialogs/msgbox.h"
#include "lib/host/attributes.h"
#include "lib/host/docio.h"
#include "lib/host/documents.h"
#include "lib/host/element_edit.h"
#include "lib/host/element_query.h"
#include "lib/host/element_text.h"
#include "lib/host/host_values.h"
#include "lib/host/paths.h"
#include "lib/state/scripts.h"
#include "lib/state/settings_files.h"
#include "lib/strings/heapstr.h"
#include "lib/translation/lang.h"
#include "lib/translation/msgformat.h"
#include "xpath/xpath.h"

namespace {

// Longest walk over a scripts document's subtree before a lookup gives up.
constexpr long kMaxWalkSteps = 10000000;
// Highest script or event number a lookup accepts.
constexpr IntT kMaxScriptNumber = 10000;
// Texts of names and short settings are read cut to this many characters.
constexpr IntT kNameChars = 255;

const char *const kScriptTag = "NodeWizardScript";
const char *const kScriptNameTag = "NWScriptName";
const char *const kEventTag = "NWScriptEvent";
const char *const kScriptListXPath = "//NodeWizardScripts/NodeWizardScript";

bool TagIs(F_ObjHandleT doc, F_ObjHandleT elem, const std::string &tag) {
    return om_NWSTagIs(om_ElementTag(doc, elem, 0), tag.c_str());
}

bool TagIsExactly(F_ObjHandleT doc, F_ObjHandleT elem, const char *tag) { return om_ElementTag(doc, elem, 0) == tag; }

std::string PathForm(const std::string &path, IntT forwardSlash) {
    StringT p = om_StrCopy(path.c_str());
    om_PathNormalize(&p, forwardSlash, 0);
    std::string out(qv::View(p));
    om_StrFree(&p);
    return out;
}

// The highest-level element of the document's main flow.
F_ObjHandleT MainRoot(F_ObjHandleT doc) {
    return om_ElementHighestLevel(doc, "", F_ApiGetId(0, doc, FP_MainFlowInDoc));
}

std::string Version1Of(F_ObjHandleT doc) {
    std::string value;
    F_ObjHandleT root = MainRoot(doc);
    if (!root || om_AttrGetValue(doc, root, "Version1", &value) < 0) return std::string();
    return value;
}

bool OnScreen(F_ObjHandleT doc) { return F_ApiGetInt(0, doc, FP_IsOnScreen) != 0; }

// Calls visit for each element of the subtree below elem in document order until it answers true;
// answers the element it stopped at, or 0.
template <typename Visit>
F_ObjHandleT WalkBelow(F_ObjHandleT doc, F_ObjHandleT elem, Visit visit) {
    if (!doc || !elem) return 0;
    F_ObjHandleT e = F_ApiGetId(doc, elem, FP_FirstChildElement);
    for (long steps = 0; e && steps < kMaxWalkSteps; ++steps) {
        if (visit(e)) return e;
        F_ObjHandleT next = F_ApiGetId(doc, e, FP_FirstChildElement);
        while (!next && e && e != elem) {
            next = F_ApiGetId(doc, e, FP_NextSiblingElement);
            if (!next) e = F_ApiGetId(doc, e, FP_ParentElement);
        }
        if (!next || e == elem) return 0;
        e = next;
    }
    return 0;
}

// The scripts named by the name in document order (the NWScriptName elements' parents tagged
// exactly NodeWizardScript).
std::vector<F_ObjHandleT> ScriptsNamed(F_ObjHandleT doc, const std::string &name) {
    std::vector<F_ObjHandleT> out;
    F_ObjHandleT root = MainRoot(doc);
    auto consider = [&](F_ObjHandleT e) {
        if (TagIsExactly(doc, e, kScriptNameTag) && om_NWSFirstPgf(doc, e, kNameChars) == name) {
            F_ObjHandleT parent = F_ApiGetId(doc, e, FP_ParentElement);
            if (TagIsExactly(doc, parent, kScriptTag)) out.push_back(parent);
        }
        return false;
    };
    if (root) {
        consider(root);
        WalkBelow(doc, root, consider);
    }
    return out;
}

}  // namespace

bool om_NWSTagIs(const std::string &tag, const char *name) {
    size_t i = 0;
    for (; i < tag.size() && name[i]; ++i) {
        unsigned char a = static_cast<unsigned char>(tag[i]), b = static_cast<unsigned char>(name[i]);
        if (a >= 0x80 || b >= 0x80) return om_StrEqualCI(tag.c_str(), name) == 1;
        if (a != b && (a | 0x20) != (b | 0x20)) return false;
        if (a != b && !((a | 0x20) >= 'a' && (a | 0x20) <= 'z')) return false;
    }
    return i == tag.size() && name[i] == 0;
}

F_ObjHandleT om_NWSChild(F_ObjHandleT doc, F_ObjHandleT elem, const std::string &tag) {
    if (!doc || !elem) return 0;
    for (F_ObjHandleT c = F_ApiGetId(doc, elem, FP_FirstChildElement); c; c = F_ApiGetId(doc, c, FP_NextSiblingElement))
        if (TagIs(doc, c, tag)) return c;
    return 0;
}

F_ObjHandleT om_NWSFindBelow(F_ObjHandleT doc, F_ObjHandleT elem, const std::string &tag) {
    return WalkBelow(doc, elem, [&](F_ObjHandleT e) { return TagIs(doc, e, tag); });
}

IntT om_NWSSettingIsYes(F_ObjHandleT doc, F_ObjHandleT elem, const std::string &tag) {
    F_ObjHandleT setting = om_NWSFindBelow(doc, elem, tag);
    return setting && om_NWSChild(doc, setting, "Yes") ? 1 : 0;
}

std::string om_NWSFirstPgf(F_ObjHandleT doc, F_ObjHandleT elem, IntT maxChars) {
    return om_ElementText(doc, elem, 1, maxChars, 0, 0);
}

std::string om_NWSHiddenCopyMarker(const std::string &path) { return PathForm(path, 1) + kHiddenCopyMark; }

void om_NWSCloseHiddenCopies(F_ObjHandleT keep) {
    for (UIntT doc : om_DocGetOpenIds(0, 1, 1)) {
        if (doc == keep || OnScreen(doc)) continue;
        if (qv::FoldCase(Version1Of(doc)).find(qv::FoldCase(kHiddenCopyMark)) != std::string::npos) om_DocClose(doc, 0);
    }
}

F_ObjHandleT om_NWSOpenScriptsDocument(IntT kind, IntT openFlag, IntT reportFlag) {
    std::string path = PathForm(SettingsFiles.currentScriptsDoc, 0);
    std::string marker = om_NWSHiddenCopyMarker(SettingsFiles.currentScriptsDoc);

    // The document of that path (or file name); an instance on screen wins over a hidden one.
    F_ObjHandleT byPath = 0, hidden = 0;
    for (UIntT doc : om_DocGetOpenIds(0, 1, 1)) {
        std::string p = DocPathNormalized(HostGetString(0, doc, FP_Path));
        bool named = !path.empty() && !p.empty() &&
                     (om_StrEqualCI(p.c_str(), path.c_str()) || om_StrEqualCI(DocPathFileName(p).c_str(), path.c_str()));
        if (named && (!byPath || (!OnScreen(byPath) && OnScreen(doc)))) byPath = doc;
        if (!hidden && !OnScreen(doc) && om_StrEqualCI(Version1Of(doc).c_str(), marker.c_str())) hidden = doc;
    }

    F_ObjHandleT result = 0;
    if (kind != kNWSDocHidden && byPath) {
        result = byPath;
    } else if (kind != kNWSDocUser && hidden) {
        result = hidden;
    } else if (openFlag == 1 && !path.empty()) {
        // Kind 2 beside the user's window of the same file: a second, hidden copy.
        if (kind == kNWSDocUser) {
            result = om_DocOpen(path.c_str(), 0, 0, 1, 0, 0, 1);
        } else {
            result = om_DocOpen(path.c_str(), 0, 0, 1, 1, 1, 1);
            F_ObjHandleT root = result ? MainRoot(result) : 0;
            if (root) om_AttrSetValues(result, root, "Version1", -1, {marker}, 0);
        }
    }
    if (!result && reportFlag == 1)
        al_ok(qv::FormatMessage(qv::LangMessage("QVRN_GEN_MSG_15"), {SettingsFiles.currentScriptsDoc}).c_str());
    om_NWSCloseHiddenCopies(result);
    return result;
}

IntT om_NWSScriptIsActive(F_ObjHandleT scriptsDoc, F_ObjHandleT script) {
    return om_NWSSettingIsYes(scriptsDoc, script, "ScriptIsActive");
}

F_ObjHandleT om_NWSFindScript(F_ObjHandleT scriptsDoc, const std::string &name, IntT number, IntT includeInactive) {
    if (!scriptsDoc) return 0;
    if (name.empty()) {
        if (number <= 0 || number > kMaxScriptNumber) return 0;
        F_ObjHandleT script = om_NWSFindBelow(scriptsDoc, MainRoot(scriptsDoc), kScriptTag);
        if (!script && TagIs(scriptsDoc, MainRoot(scriptsDoc), kScriptTag)) script = MainRoot(scriptsDoc);
        for (IntT i = 1; script && i < number; ++i) script = F_ApiGetId(scriptsDoc, script, FP_NextSiblingElement);
        if (!script || !TagIsExactly(scriptsDoc, script, kScriptTag)) return 0;
        return includeInactive == 1 || om_NWSScriptIsActive(scriptsDoc, script) ? script : 0;
    }
    // An active script of the name wins over an inactive one placed before it.
    std::vector<F_ObjHandleT> named = ScriptsNamed(scriptsDoc, name);
    for (F_ObjHandleT script : named)
        if (om_NWSScriptIsActive(scriptsDoc, script)) return script;
    return includeInactive == 1 && !named.empty() ? named.front() : 0;
}

F_ObjHandleT om_NWSFindEvent(F_ObjHandleT scriptsDoc, const std::string &scriptName, IntT scriptNumber,
                             IntT eventNumber) {
    if (eventNumber < 1 || eventNumber > kMaxScriptNumber) return 0;
    F_ObjHandleT script = om_NWSFindScript(scriptsDoc, scriptName, scriptNumber, 1);
    IntT seen = 0;
    for (F_ObjHandleT c = script ? F_ApiGetId(scriptsDoc, script, FP_FirstChildElement) : 0; c;
         c = F_ApiGetId(scriptsDoc, c, FP_NextSiblingElement)) {
        if (TagIs(scriptsDoc, c, kEventTag) && ++seen == eventNumber) return c;
    }
    return 0;
}

std::vector<std::string> om_NWSListScriptNames(F_ObjHandleT scriptsDoc, IntT includeInactive, IntT markDisabled,
                                               IntT selectIndex) {
    std::vector<std::string> names;
    if (!scriptsDoc) return names;
    std::vector<F_ObjHandleT> scripts = om_XPathListMatches(scriptsDoc, 0, kScriptListXPath, 0, nullptr, 0);
    for (size_t i = 0; i < scripts.size(); ++i) {
        F_ObjHandleT script = scripts[i];
        if (static_cast<IntT>(i) == selectIndex) om_DocGoToObject(scriptsDoc, script);
        F_ObjHandleT first = F_ApiGetId(scriptsDoc, script, FP_FirstChildElement);
        if (!first || !TagIsExactly(scriptsDoc, first, kScriptNameTag)) continue;
        bool active = om_NWSScriptIsActive(scriptsDoc, script) == 1;
        if (!active && includeInactive != 1) continue;
        std::string name = om_NWSFirstPgf(scriptsDoc, first, kNameChars);
        if (name.empty()) continue;
        if (!active && markDisabled == 1) name += " (**DISABLED**)";
        names.push_back(name);
    }
    return names;
}

IntT om_NWSListEventNames(F_ObjHandleT scriptsDoc, F_ObjHandleT script, const std::string &scriptName,
                          IntT withPlaceholders, std::vector<std::string> *out) {
    out->clear();
    if (!scriptsDoc) return 0;
    if (!script) script = om_NWSFindScript(scriptsDoc, scriptName, 0, 1);
    if (!script) return 0;
    for (F_ObjHandleT c = F_ApiGetId(scriptsDoc, script, FP_FirstChildElement); c;
         c = F_ApiGetId(scriptsDoc, c, FP_NextSiblingElement)) {
        if (!TagIs(scriptsDoc, c, kEventTag)) continue;
        F_ObjHandleT first = F_ApiGetId(scriptsDoc, c, FP_FirstChildElement);
        std::string name = first && TagIs(scriptsDoc, first, "EventName") ? om_NWSFirstPgf(scriptsDoc, first, kNameChars)
                                                                         : std::string();
        if (!name.empty())
            out->push_back(name);
        else if (withPlaceholders == 1)
            out->push_back(qv::LangTranslate("Quorvane - Node Wizard Scripts", "{no name}", false, 0));
    }
    return 1;
}

IntT om_NWSGetDescription(F_ObjHandleT scriptsDoc, F_ObjHandleT script, const std::string &scriptName, IntT kind,
                          IntT eventNumber, std::string *out) {
    out->clear();
    if (!scriptsDoc) return 0;
    if (!script) script = om_NWSFindScript(scriptsDoc, scriptName, 0, 1);
    if (!script) return 0;
    F_ObjHandleT holder = 0;
    if (kind == 3) {
        holder = om_NWSFindBelow(scriptsDoc, script, "NWScriptDescription");
    } else if (kind == 4) {
        F_ObjHandleT event = om_NWSFindBelow(scriptsDoc, script, kEventTag);
        for (IntT n = 1; event && n < eventNumber;) {
            event = F_ApiGetId(scriptsDoc, event, FP_NextSiblingElement);
            if (event && TagIs(scriptsDoc, event, kEventTag)) ++n;
        }
        if (event && eventNumber >= 1) holder = om_NWSFindBelow(scriptsDoc, event, "EventDescription");
    }
    if (holder) *out = om_ElementText(scriptsDoc, holder, 0, 0, 0, 1);
    while (!out->empty() && out->back() == '\n') out->pop_back();
    return 1;
}

void om_NWSPrintScriptsPath(std::string *buffer) { *buffer = SettingsFiles.currentScriptsDoc; }
