// Reading a Node Wizard Script into records: the walk's tree, events, action groups, actions and
// values.
#include "nodewizard/script_reader.h"

#include <unordered_set>

#include "lib/host/attributes.h"
#include "lib/host/element_text.h"
#include "lib/state/nodewizard.h"
#include "lib/strings/heapstr.h"
#include "nodewizard/actions.h"
#include "nodewizard/attr_actions.h"
#include "nodewizard/scripts_doc.h"
#include "xpath/xpath.h"

namespace {

// Most elements of a script's subtree that are read.
constexpr size_t kMaxNodes = 10000000;
// Condition tags are read cut to this many characters.
constexpr IntT kNameChars = 255;
// The sort expression is used cut to this many characters.
constexpr IntT kSortXPathChars = 512;
// A called script's name is read cut to this many characters.
constexpr IntT kCallChars = 254;
// Preset parameter names and values are read cut to this many characters.
constexpr IntT kPresetChars = 1000;
// Highest event number a lookup accepts.
constexpr IntT kMaxEventNumber = 10000;

// The first n characters of a text (UTF-8 characters, as texts are cut when read).
std::string FirstChars(const std::string &text, IntT n) {
    size_t chars = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (chars == static_cast<size_t>(n)) return text.substr(0, i);
        ++chars;
    }
    return text;
}

NWSGroupKind GroupOf(const std::string &tag) {
    if (om_NWSTagIs(tag, "ElementAction") || om_NWSTagIs(tag, "ElementActions")) return NWSGroupKind::Element;
    if (om_NWSTagIs(tag, "AttributeAction") || om_NWSTagIs(tag, "AttributeActions")) return NWSGroupKind::Attribute;
    if (om_NWSTagIs(tag, "OtherActions")) return NWSGroupKind::Other;
    if (om_NWSTagIs(tag, "StringOperations")) return NWSGroupKind::String;
    if (om_NWSTagIs(tag, "NumericOperations")) return NWSGroupKind::Numeric;
    return NWSGroupKind::None;
}

// An action tag as an action name: each "_" read as a blank.
std::string ActionName(std::string tag) {
    for (char &c : tag)
        if (c == '_') c = ' ';
    return tag;
}

// The children of a node, in order.
template <typename Visit>
void EachChild(const NWSScript &s, long node, Visit visit) {
    for (long c = s.nodes[static_cast<size_t>(node)].firstChild; c >= 0; c = s.nodes[static_cast<size_t>(c)].nextSibling)
        visit(s.nodes[static_cast<size_t>(c)]);
}

NWSElemAction ReadElemAction(const NWSScript &s, const NWSNode &action) {
    NWSElemAction a;
    a.elem = action.elem;
    a.code = om_NWElemActionCode(ActionName(action.tag));
    if (a.code == NW_ACTION_UNKNOWN) a.code = NWElem::None;
    if (a.code == NWElem::Retag || a.code == NWElem::Wrap || a.code == NWElem::WrapContents ||
        (a.code >= NWElem::InsertBefore && a.code <= NWElem::InsertLastChild) || a.code == NWElem::CopyTextToParameter ||
        a.code == NWElem::SetText)
        a.operand = om_NWSReadOperand(s.doc, action.elem);
    if (a.code == NWElem::AssignConditions) {
        for (long c = action.firstChild; c >= 0; c = s.nodes[static_cast<size_t>(c)].nextSibling) {
            std::string tag = om_NWSFirstPgf(s.doc, s.nodes[static_cast<size_t>(c)].elem, kNameChars);
            if (!tag.empty()) a.conditions.push_back(tag);
        }
    }
    const NWSValueSource source = a.operand.value.source;
    const NWElementAction code = a.code;
    a.readsNoDocument = (source == NWSValueSource::Static || source == NWSValueSource::None) &&
                        code != NWElem::PasteOver && (code < NWElem::PasteOverContents || code > NWElem::PasteAfter);
    a.keepsMatchedNode = code == NWElem::Retag || code == NWElem::Copy || code == NWElem::CopyContents ||
                         code == NWElem::CopyTextToParameter;
    return a;
}

NWSAttrAction ReadAttrAction(const NWSScript &s, const NWSNode &action) {
    NWSAttrAction a;
    a.elem = action.elem;
    a.code = om_NWAttrActionCode(ActionName(action.tag));
    if (a.code == NW_ACTION_UNKNOWN) a.code = NWAttr::None;
    if (a.code == NWAttr::None) return a;
    if (a.code == NWAttr::CopyFirstValueToParameter || a.code == NWAttr::SetValue)
        a.own = om_NWSReadOperand(s.doc, action.elem);
    if (a.code == NWAttr::SortValues) om_NWAttrReadSortOptions(s.doc, action.elem, &a.sortDirection, &a.sortKind);
    for (long i = action.firstChild; i >= 0; i = s.nodes[static_cast<size_t>(i)].nextSibling) {
        const NWSNode &c = s.nodes[static_cast<size_t>(i)];
        bool name = om_NWSTagIs(c.tag, "Attribute") || om_NWSTagIs(c.tag, "SearchString");
        bool value = om_NWSTagIs(c.tag, "Value") || om_NWSTagIs(c.tag, "ReplaceString");
        if (!om_NWSTagIs(c.tag, "Attribute"))
            a.pastesOwnContent = a.code >= NWAttr::PasteOverMatched && a.code <= NWAttr::PasteAtMatchedEnd;
        if (!name && !value) continue;
        NWSAttrOperand operand;
        operand.isValue = value;
        operand.xpathMatch = name && c.firstChild >= 0 &&
                             om_NWSTagIs(s.nodes[static_cast<size_t>(c.firstChild)].tag, "xpath-match");
        if (!operand.xpathMatch) operand.operand = om_NWSReadOperand(s.doc, c.elem);
        a.operands.push_back(std::move(operand));
    }
    return a;
}

NWSGroup ReadGroup(const NWSScript &s, const NWSNode &child) {
    NWSGroup g;
    g.elem = child.elem;
    g.kind = GroupOf(child.tag);
    g.disabled = child.disabled;
    if (g.disabled) return g;
    long index = &child - s.nodes.data();
    switch (g.kind) {
    case NWSGroupKind::Element:
        EachChild(s, index, [&](const NWSNode &a) { g.elemActions.push_back(ReadElemAction(s, a)); });
        break;
    case NWSGroupKind::Attribute:
        EachChild(s, index, [&](const NWSNode &a) { g.attrActions.push_back(ReadAttrAction(s, a)); });
        break;
    case NWSGroupKind::Other:
        g.otherActions = om_NWSReadOtherActions(s.doc, child.elem);
        break;
    case NWSGroupKind::String:
    case NWSGroupKind::Numeric:
        EachChild(s, index, [&](const NWSNode &op) { g.operations.push_back(om_NWSReadOperation(s.doc, op.elem)); });
        break;
    case NWSGroupKind::None:
        break;
    }
    return g;
}

NWSSortOptions ReadSortOptions(const NWSScript &s, long options) {
    NWSSortOptions o;
    if (options < 0) return o;
    o.present = true;
    EachChild(s, options, [&](const NWSNode &c) {
        if (om_NWSTagIs(c.tag, "Sort_descending")) o.descending = true;
        if (om_NWSTagIs(c.tag, "Sort_alphabetic")) o.alpha = true;
        if (om_NWSTagIs(c.tag, "Sort_alphabetic_ci")) o.alphaCI = true;
        if (om_NWSTagIs(c.tag, "Sort_numeric")) o.numeric = true;
        if (om_NWSTagIs(c.tag, "Swap_alpha_and_numeric")) o.swap = true;
        if (om_NWSTagIs(c.tag, "Primary_sort_xpath") && !o.haveXPath) {
            o.xpath = FirstChars(c.text, kSortXPathChars);
            o.haveXPath = true;
        }
    });
    if (!o.numeric && !o.alphaCI) o.alpha = true;
    return o;
}

NWSEvent ReadEvent(const NWSScript &s, long index) {
    const NWSNode &node = s.nodes[static_cast<size_t>(index)];
    NWSEvent e;
    e.elem = node.elem;
    e.subEvent = node.isSubEvent;
    long last = -1;
    EachChild(s, index, [&](const NWSNode &c) {
        last = &c - s.nodes.data();
        e.children.push_back(ReadGroup(s, c));
    });
    e.subEventLast = last >= 0 && om_NWSTagIs(s.nodes[static_cast<size_t>(last)].tag, "SubEvent");

    long expression = om_NWSFindNodeBelow(s, index, "XPathExpression");
    if (expression >= 0) {
        const NWSNode &x = s.nodes[static_cast<size_t>(expression)];
        e.expressionElem = x.elem;
        e.expression = x.text;
        std::string value;
        if (om_AttrGetValue(s.doc, x.elem, "MaximumMatches", &value) >= 0) e.maxMatches = F_StrAlphaToInt(value.c_str());
        if (om_AttrGetValue(s.doc, x.elem, "SkipFirstMatches", &value) >= 0) {
            e.skipFirstMatches = F_StrAlphaToInt(value.c_str());
            e.skipGiven = true;
        }
        for (long f = x.nextSibling; f >= 0; f = s.nodes[static_cast<size_t>(f)].nextSibling) {
            const NWSNode &flows = s.nodes[static_cast<size_t>(f)];
            if (!om_NWSTagIs(flows.tag, "FlowsToProcess")) continue;
            const std::string first = flows.firstChild >= 0 ? s.nodes[static_cast<size_t>(flows.firstChild)].tag : "";
            if (om_NWSTagIs(first, "Main")) e.allFlows = 0;
            if (om_NWSTagIs(first, "All")) e.allFlows = 1;
        }
    }
    e.sort = ReadSortOptions(s, om_NWSFindNodeBelow(s, index, "SortOptions"));
    return e;
}

// The disable flags of an element.
void ReadDisable(F_ObjHandleT doc, NWSNode &node) {
    std::string disable;
    if (om_AttrGetValue(doc, node.elem, "Disable", &disable) < 0) return;
    node.disabled = om_StrEqualCI(disable.c_str(), "Yes") == 1;
    node.disabledExactly = disable == "Yes";
}

// The text of an element whose text runs or checks read.
void ReadText(F_ObjHandleT doc, NWSNode &node) {
    bool expression = om_NWSTagIs(node.tag, "XPathExpression");
    if (expression || om_NWSTagIs(node.tag, "Primary_sort_xpath") || om_NWSTagIs(node.tag, "XPath_search"))
        node.text = om_NWSFirstPgf(doc, node.elem, XPathLimits.maxLength);
    else if (om_NWSTagIs(node.tag, "Call_NW_script"))
        node.text = om_NWSFirstPgf(doc, node.elem, kCallChars);
    if (expression) node.textEmpty = om_ElementText(doc, node.elem, 0, 0, 0, 0).empty();
}

// On with the holder NWScriptSettings/GeneralSettings/<flag> holding a child <on>.
IntT SettingOn(const NWSScript &s, long general, const char *flag, const char *on = "Yes") {
    long holder = general >= 0 ? om_NWSFindNodeChild(s, general, flag) : -1;
    return holder >= 0 && om_NWSFindNodeChild(s, holder, on) >= 0 ? 1 : 0;
}

NWSSettings ReadSettings(const NWSScript &s) {
    NWSSettings o;
    long settings = om_NWSFindNodeBelow(s, -1, "NWScriptSettings");
    long general = settings >= 0 ? om_NWSFindNodeChild(s, settings, "GeneralSettings") : -1;
    o.reportElemErrors = SettingOn(s, general, "ReportElemActionErrors");
    o.reportAttrErrors = SettingOn(s, general, "ReportAttrActionErrors");
    o.reportOtherErrors = SettingOn(s, general, "ReportOtherActionErrors");
    o.openFiles = SettingOn(s, general, "AllowScriptToOpenFiles");
    o.parametersInXPath = SettingOn(s, general, "EnableParametersInXPath");
    o.classicBookMode = SettingOn(s, general, "BookNavigationMode", "Classic");
    o.tokenizedValues = SettingOn(s, general, "AssumeTokenizedAttrVals");
    o.declaresParameters =
        SettingOn(s, general, "EnableParametersInXPath", "Yes") || SettingOn(s, general, "EnableParametersInXPath", "No");
    if (general < 0) return o;
    EachChild(s, general, [&](const NWSNode &p) {
        if (!om_NWSTagIs(p.tag, "PresetParameter")) return;
        long index = &p - s.nodes.data();
        long name = om_NWSFindNodeBelow(s, index, "Parameter_name");
        long value = om_NWSFindNodeBelow(s, index, "Static_value");
        o.presetNames.push_back(name >= 0 ? om_NWSFirstPgf(s.doc, s.nodes[static_cast<size_t>(name)].elem, kPresetChars) : "");
        o.presetValues.push_back(value >= 0 ? om_NWSFirstPgf(s.doc, s.nodes[static_cast<size_t>(value)].elem, kPresetChars)
                                            : "");
    });
    return o;
}

// The elements of the script's subtree in document order, with their neighbours.
void ReadTree(NWSScript &s) {
    F_ObjHandleT doc = s.doc;
    F_ObjHandleT e = F_ApiGetId(doc, s.elem, FP_FirstChildElement);
    std::vector<long> open;  // the ancestors of e, outermost first
    long previous = -1;      // e's previous sibling
    while (e && s.nodes.size() < kMaxNodes) {
        long i = static_cast<long>(s.nodes.size());
        NWSNode node;
        node.elem = e;
        node.tag = om_ElementTag(doc, e, 0);
        ReadDisable(doc, node);
        node.isEvent = om_NWSTagIs(node.tag, "NWScriptEvent");
        node.isSubEvent = om_NWSTagIs(node.tag, "SubEvent");
        ReadText(doc, node);
        node.parent = open.empty() ? -1 : open.back();
        s.nodes.push_back(std::move(node));
        if (previous >= 0)
            s.nodes[static_cast<size_t>(previous)].nextSibling = i;
        else if (!open.empty())
            s.nodes[static_cast<size_t>(open.back())].firstChild = i;

        if (F_ObjHandleT child = F_ApiGetId(doc, e, FP_FirstChildElement)) {
            open.push_back(i);
            previous = -1;
            e = child;
            continue;
        }
        // Past the subtree of i: on to the next sibling of i or of its nearest ancestor that has one.
        long done = i;
        e = 0;
        for (;;) {
            s.nodes[static_cast<size_t>(done)].end = static_cast<long>(s.nodes.size());
            if (F_ObjHandleT next = F_ApiGetId(doc, s.nodes[static_cast<size_t>(done)].elem, FP_NextSiblingElement)) {
                previous = done;
                e = next;
                break;
            }
            if (open.empty()) break;
            done = open.back();
            open.pop_back();
        }
    }
    // A read cut short closes the subtrees still open.
    for (long i : open) s.nodes[static_cast<size_t>(i)].end = static_cast<long>(s.nodes.size());
    FA_errno = 0;
}

}  // namespace

long om_NWSFindNodeBelow(const NWSScript &script, long node, const char *tag) {
    if (static_cast<size_t>(node + 1) > script.nodes.size()) return -1;
    long end = node < 0 ? static_cast<long>(script.nodes.size()) : script.nodes[static_cast<size_t>(node)].end;
    for (long i = node + 1; i < end; ++i)
        if (om_NWSTagIs(script.nodes[static_cast<size_t>(i)].tag, tag)) return i;
    return -1;
}

long om_NWSFindNodeChild(const NWSScript &script, long node, const char *tag) {
    if (script.nodes.empty() || static_cast<size_t>(node + 1) > script.nodes.size()) return -1;
    long c = node < 0 ? 0 : script.nodes[static_cast<size_t>(node)].firstChild;
    for (; c >= 0; c = script.nodes[static_cast<size_t>(c)].nextSibling)
        if (om_NWSTagIs(script.nodes[static_cast<size_t>(c)].tag, tag)) return c;
    return -1;
}

long om_NWSFindEventNode(const NWSScript &script, IntT eventNumber) {
    if (eventNumber < 1 || eventNumber > kMaxEventNumber || script.nodes.empty()) return -1;
    IntT seen = 0;
    for (long c = 0; c >= 0; c = script.nodes[static_cast<size_t>(c)].nextSibling)
        if (om_NWSTagIs(script.nodes[static_cast<size_t>(c)].tag, "NWScriptEvent") && ++seen == eventNumber) return c;
    return -1;
}

void om_NWSRenameNodes(NWSScript &script, const std::vector<F_ObjHandleT> &elems, const std::string &tag) {
    if (elems.empty()) return;
    const std::unordered_set<F_ObjHandleT> renamed(elems.begin(), elems.end());
    for (NWSNode &node : script.nodes)
        if (renamed.count(node.elem)) node.tag = tag;
}

NWSScript om_NWSReadScript(F_ObjHandleT scriptsDoc, F_ObjHandleT script, const std::string &name) {
    NWSScript s;
    s.doc = scriptsDoc;
    s.elem = script;
    s.name = name;
    if (!scriptsDoc || !script) return s;
    s.self.elem = script;
    s.self.tag = om_ElementTag(scriptsDoc, script, 0);
    ReadDisable(scriptsDoc, s.self);
    ReadTree(s);
    s.settings = ReadSettings(s);
    for (size_t i = 0; i < s.nodes.size(); ++i) {
        NWSNode &node = s.nodes[i];
        if ((node.isEvent || node.isSubEvent) && !node.disabled) {
            node.event = static_cast<long>(s.events.size());
            s.events.push_back(ReadEvent(s, static_cast<long>(i)));
        }
    }
    FA_errno = 0;
    return s;
}
