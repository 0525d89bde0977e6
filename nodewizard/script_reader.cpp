// Reading a Node Wizard Script into records: the walk's tree, events, action groups, actions and
// values.
#include "nodewizard/script_reader.h"

#include "lib/host/attributes.h"
#include "lib/host/element_text.h"
#include "lib/state/nodewizard.h"
#include "lib/strings/heapstr.h"
#include "nodewizard/actions.h"
#include "nodewizard/scripts_doc.h"
#include "xpath/xpath.h"

namespace {

// Most elements of a script's subtree that are read.
constexpr size_t kMaxNodes = 10000000;
// Condition tags are read cut to this many characters.
constexpr IntT kNameChars = 255;
// The sort expression is read cut to this many characters.
constexpr IntT kSortXPathChars = 512;

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
    if (a.code == NW_ACTION_UNKNOWN) a.code = 1;
    if (a.code == 2 || a.code == 3 || a.code == 4 || (a.code >= 19 && a.code <= 22))
        a.operand = om_NWSReadOperand(s.doc, action.elem);
    if (a.code == 10) {
        for (long c = action.firstChild; c >= 0; c = s.nodes[static_cast<size_t>(c)].nextSibling) {
            std::string tag = om_NWSFirstPgf(s.doc, s.nodes[static_cast<size_t>(c)].elem, kNameChars);
            if (!tag.empty()) a.conditions.push_back(tag);
        }
    }
    return a;
}

NWSAttrAction ReadAttrAction(const NWSScript &s, const NWSNode &action) {
    NWSAttrAction a;
    a.elem = action.elem;
    a.code = om_NWAttrActionCode(ActionName(action.tag));
    if (a.code == NW_ACTION_UNKNOWN) a.code = 1;
    if (a.code == 1) return a;
    for (long i = action.firstChild; i >= 0; i = s.nodes[static_cast<size_t>(i)].nextSibling) {
        const NWSNode &c = s.nodes[static_cast<size_t>(i)];
        bool name = om_NWSTagIs(c.tag, "Attribute") || om_NWSTagIs(c.tag, "SearchString");
        bool value = om_NWSTagIs(c.tag, "Value") || om_NWSTagIs(c.tag, "ReplaceString");
        if (!om_NWSTagIs(c.tag, "Attribute")) a.pastesOwnContent = a.code >= 58 && a.code <= 60;
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
            o.xpath = om_NWSFirstPgf(s.doc, c.elem, kSortXPathChars);
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
        e.expression = om_NWSFirstPgf(s.doc, x.elem, XPathLimits.maxLength);
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
        std::string disable;
        if (om_AttrGetValue(doc, e, "Disable", &disable) >= 0) {
            node.disabled = om_StrEqualCI(disable.c_str(), "Yes") == 1;
            node.disabledExactly = disable == "Yes";
        }
        node.isEvent = om_NWSTagIs(node.tag, "NWScriptEvent");
        node.isSubEvent = om_NWSTagIs(node.tag, "SubEvent");
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
    if (node < 0 || static_cast<size_t>(node) >= script.nodes.size()) return -1;
    for (long i = node + 1; i < script.nodes[static_cast<size_t>(node)].end; ++i)
        if (om_NWSTagIs(script.nodes[static_cast<size_t>(i)].tag, tag)) return i;
    return -1;
}

NWSScript om_NWSReadScript(F_ObjHandleT scriptsDoc, F_ObjHandleT script, const std::string &name) {
    NWSScript s;
    s.doc = scriptsDoc;
    s.elem = script;
    s.name = name;
    if (!scriptsDoc || !script) return s;
    ReadTree(s);
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
