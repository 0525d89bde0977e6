// The Node Wizard and XPath Quick Finder dialogs: opening, filling, refreshing with the enable
// and show rules, switching, and the match list's navigation.
#include "nodewizard/dialogs.h"

#include <algorithm>
#include <initializer_list>

#include "lib/dialogs/dlgitems.h"
#include "lib/dialogs/generic.h"
#include "lib/dialogs/msgbox.h"
#include "lib/host/attributes.h"
#include "lib/host/documents.h"
#include "lib/host/element_edit.h"
#include "lib/host/element_query.h"
#include "lib/host/host_values.h"
#include "lib/host/client_calls.h"
#include "lib/host/paths.h"
#include "lib/shell_records.h"
#include "lib/state/nodewizard.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"
#include "lib/strings/unique_strings.h"
#include "lib/translation/lang.h"
#include "nodewizard/actions.h"
#include "resources/dialog_items.h"
#include "xpath/xpath.h"

namespace {

constexpr const char *kWizardResource = "qv_DialogNodeWizard";
constexpr const char *kQuickFinderResource = "qv_DialogXPathQuickFinder";
constexpr const char *kDialogTitle = "Quorvane Node Wizard";
constexpr const char *kOpenFailed = "A critical error occurred opening the dialog box. Please contact Orle Meadow.";
constexpr size_t kPathShown = 75;     // bytes of a long path the labels show after "..."
constexpr size_t kValueOffers = 254;  // values the values editor offers at most

// The element actions of the Node Wizard's pop-up, in their order there.
const char *const kWizardElemActions[] = {
    "None", "Retag as", "Wrap element in", "Wrap contents in", "Unwrap", "Move up", "Move down", "Promote",
    "Demote", "Delete element", "Delete contents", "Insert elem before", "Insert elem after",
    "Insert first child", "Insert last child", "Assign conditions", "Paste CB over elem",
    "Paste CB over contents", "Paste CB at beginning", "Paste CB at end", "Paste CB before", "Paste CB after",
};
// The attribute actions of the Node Wizard's pop-up, in their order there.
const char *const kWizardAttrActions[] = {
    "None", "Add specified values", "Remove specified values", "Replace values with spec", "Delete all values",
    "Move value to elem text", "Copy value to elem text", "Move elem text to value", "Copy elem text to value",
    "Move values to spec attr", "Copy values to spec attr", "Move values from spec attr",
    "Copy values from spec attr", "Swap values with spec attr", "Search and replace string", "Set unique ID",
    "Remove invalid attribute",
};

F_ObjHandleT Wizard() { return DialogHandles[kDlgNodeWizard]; }
F_ObjHandleT QuickFinder() { return DialogHandles[kDlgQuickFinder]; }

bool In(IntT v, std::initializer_list<IntT> set) { return std::find(set.begin(), set.end(), v) != set.end(); }

void SetEnabled(F_ObjHandleT dlg, IntT item, bool on) { on ? om_DlgEnable(dlg, item) : om_DlgDisable(dlg, item); }
void SetShown(F_ObjHandleT dlg, IntT item, bool on) { on ? om_DlgShow(dlg, item) : om_DlgHide(dlg, item); }

// A pop-up's entries: the lead entry, then the texts, untranslated.
void SetPopup(F_ObjHandleT dlg, IntT item, const char *lead, const std::vector<std::string> &texts) {
    std::vector<std::string> labels;
    labels.reserve(texts.size() + 1);
    labels.push_back(lead);
    labels.insert(labels.end(), texts.begin(), texts.end());
    qv::DlgSetLabels(dlg, item, labels);
}

// A document's path as the file labels show it.
std::string ShownPath(F_ObjHandleT doc) {
    std::string path = HostGetString(0, doc, FP_Path);
    if (path.empty()) path = HostGetString(0, doc, FP_Label);
    if (!NodeWizardOptions.fullFilePaths) {
        StringT name = om_PathFileName(doc, path.c_str());
        std::string out(qv::View(name));
        om_StrFree(&name);
        return out;
    }
    if (path.size() > kPathShown) return "..." + path.substr(path.size() - kPathShown);
    return path;
}

// Sets a file label: the document's path, or "None" (translated) without one.
void SetFileLabel(F_ObjHandleT dlg, IntT item, F_ObjHandleT doc) {
    if (doc && om_DocKindIfOpen(0, doc))
        om_DlgSetLabel(dlg, item, ShownPath(doc).c_str(), "");
    else
        om_DlgSetLabel(dlg, item, "None", NWDialogTable);
}

// The action codes named in the Node Wizard's element and attribute action text boxes; an
// unknown name counts as None.
NWElementAction ShownElemAction(F_ObjHandleT dlg) {
    std::string name = qv::LangTranslate(NWDialogTable, qv::DlgText(dlg, NWItem::ElemAction), true, 0);
    NWElementAction e = om_NWElemActionCode(name);
    return e == NW_ACTION_UNKNOWN ? NWElem::None : e;
}
NWAttrAction ShownAttrAction(F_ObjHandleT dlg) {
    std::string name = qv::LangTranslate(NWDialogTable, qv::DlgText(dlg, NWItem::AttrAction), true, 0);
    NWAttrAction a = om_NWAttrActionCode(name);
    return a == NW_ACTION_UNKNOWN ? NWAttr::None : a;
}

// Opens a dialog resource and records its handle; 0 after telling the user it failed.
F_ObjHandleT OpenResource(const char *name, QvDialogNumber number) {
    for (QvDialogNumber n : {kDlgQuickFinder, kDlgNodeWizard}) {
        if (DialogHandles[n]) F_ApiClose(DialogHandles[n], 0);
        DialogHandles[n] = 0;
    }
    F_ObjHandleT dlg = F_ApiOpenResource(FO_DialogResource, name);
    if (!dlg) {
        al_ok(kOpenFailed);
        return 0;
    }
    DialogHandles[number] = dlg;
    return dlg;
}

// Shows an opened dialog modeless, translated when asked, at (x, y) when both are above -500.
void ShowDialog(F_ObjHandleT dlg, QvDialogNumber number, IntT x, IntT y, IntT translate) {
    om_DlgStripTildes(dlg);
    if (translate) om_LangTranslateDialog(dlg, kDialogTitle, NWDialogTable, 1, 0, 1, 0, 1, 1);
    F_ApiModelessDialog(number, dlg);
    if (x > -500 && y > -500) {
        F_ApiSetInt(0, dlg, FP_DlgX, x);
        F_ApiSetInt(0, dlg, FP_DlgY, y);
    }
}

// Reads the open dialog's place and expression, closes it and opens the other there.
void Switch(F_ObjHandleT from, void (*open)(IntT, IntT, IntT)) {
    if (!from) return;
    IntT x = F_ApiGetInt(0, from, FP_DlgX), y = F_ApiGetInt(0, from, FP_DlgY);
    static_assert(IntT{NWItem::Expression} == IntT{QFItem::Expression});
    NodeWizardQuery.expression = qv::DlgText(from, NWItem::Expression);
    open(x, y, 1);
}

}  // namespace

// ---- opening and filling ------------------------------------------------------------------------

void om_NWOpenWizardDialog(IntT x, IntT y, IntT translate) {
    F_ObjHandleT dlg = OpenResource(kWizardResource, kDlgNodeWizard);
    if (!dlg) return;
    om_NWInitWizardDialog();
    om_NWRefreshWizardDialog(0);
    om_XPathCheckNodeLimit();
    ShowDialog(dlg, kDlgNodeWizard, x, y, translate);
}

void om_NWOpenQuickFinder(IntT x, IntT y, IntT translate) {
    F_ObjHandleT dlg = OpenResource(kQuickFinderResource, kDlgQuickFinder);
    if (!dlg) return;
    om_NWInitQuickFinder();
    om_NWRefreshQuickFinder();
    om_XPathCheckNodeLimit();
    ShowDialog(dlg, kDlgQuickFinder, x, y, translate);
}

void om_NWInitWizardDialog() {
    F_ObjHandleT dlg = Wizard();
    if (!dlg) return;
    om_DlgSetChecked(dlg, NWItem::ParseOnly, NodeWizardOptions.parseOnly);
    om_DlgSetChecked(dlg, NWItem::PrintComponents, NodeWizardOptions.printComponents);
    SetPopup(dlg, NWItem::ElemActionPopup, "-", {std::begin(kWizardElemActions), std::end(kWizardElemActions)});
    om_DlgSetText(dlg, NWItem::ElemAction, om_NWElemActionName(NodeWizardQuery.elementAction).c_str(),
                  NWDialogTable);
    SetPopup(dlg, NWItem::AttrActionPopup, "-", {std::begin(kWizardAttrActions), std::end(kWizardAttrActions)});
    om_DlgSetText(dlg, NWItem::AttrAction, om_NWAttrActionName(AttrActionCode).c_str(), NWDialogTable);
    om_DlgSetChecked(dlg, NWItem::ReportElemErrors, NodeWizardOptions.reportElemErrors);
    om_DlgSetChecked(dlg, NWItem::ReportAttrErrors, NodeWizardOptions.reportAttrErrors);
    om_DlgSetText(dlg, NWItem::Expression, NodeWizardQuery.expression.c_str(), "");
    om_DlgSetText(dlg, NWItem::TagName, NodeWizardRun.retagName.c_str(), "");
    qv::DlgSetLabels(dlg, NWItem::AttrNames, ActionAttrNames);
    qv::DlgSetLabels(dlg, NWItem::AttrValues, ActionAttrValues);
    qv::DlgSetLabels(dlg, NWItem::Conditions, {});
    om_DlgSetChecked(dlg, NWItem::AllFlows, NodeWizardOptions.allFlows);
    for (IntT item : {NWItem::MatchNext, NWItem::PerformAndMatchNext, NWItem::PreviousMatch, NWItem::NextMatch,
                      NWItem::JumpToMatch})
        om_DlgDisable(dlg, item);
    MatchList.clear();
    NodeWizardQuery.currentMatch = 0;
}

void om_NWInitQuickFinder() {
    F_ObjHandleT dlg = QuickFinder();
    if (!dlg) return;
    for (IntT item : {QFItem::MatchNext, QFItem::PreviousMatch, QFItem::NextMatch, QFItem::JumpToMatch})
        om_DlgDisable(dlg, item);
    om_DlgSetText(dlg, QFItem::Expression, NodeWizardQuery.expression.c_str(), "");
}

// ---- refreshing ---------------------------------------------------------------------------------

std::string om_NWMatchCounter(bool bang) {
    size_t n = MatchList.size();
    IntT i = NodeWizardQuery.currentMatch;
    bool none = n == 0 || i < 0 || static_cast<size_t>(i) >= n ||
                !om_ElementHasContent(MatchList[i].doc, MatchList[i].elem);
    std::string of = qv::LangTranslate(NWDialogTable, "of", false, 0);
    std::string number = std::to_string(n == 0 ? 0 : i + 1);
    return std::string(bang && none ? "! " : "") + number + " " + of + " " + std::to_string(n);
}

void om_NWRefreshWizardDialog(IntT fileNamesOnly) {
    F_ObjHandleT dlg = Wizard();
    if (!dlg) return;
    F_ObjHandleT active = F_ApiGetId(0, 0, FP_ActiveDoc);
    if (!active) active = om_BookActive();
    SetFileLabel(dlg, NWItem::ActiveFile, active);
    SetPopup(dlg, NWItem::TagNamePopup, "Placeholder",
             active ? om_DocElementDefNames(active, 1, 0) : std::vector<std::string>{});
    SetFileLabel(dlg, NWItem::QueryFile, NodeWizardOptions.queryDoc);
    if (fileNamesOnly) return;

    const bool p = om_DlgIsChecked(dlg, NWItem::ParseOnly) != 0;
    SetEnabled(dlg, NWItem::PrintComponents, p);
    const NWElementAction e = ShownElemAction(dlg);
    const NWAttrAction a = ShownAttrAction(dlg);
    SetPopup(dlg, NWItem::History, "Placeholder", XPathHistory);

    const bool named = In(e, {NWElem::Retag, NWElem::Wrap, NWElem::WrapContents, NWElem::InsertBefore,
                                  NWElem::InsertAfter, NWElem::InsertFirstChild, NWElem::InsertLastChild});
    for (IntT item : {NWItem::TagName, NWItem::TagNamePopup}) SetShown(dlg, item, named);
    for (IntT item : {NWItem::Conditions, NWItem::EditConditions})
        SetShown(dlg, item, e == NWElem::AssignConditions);
    const bool search = a == NWAttr::SearchReplace;
    om_DlgSetLabel(dlg, NWItem::AttrNamesLabel, search ? "Search string" : "Attribute(s)", NWDialogTable);
    om_DlgSetLabel(dlg, NWItem::AttrValuesLabel, search ? "Replace string" : "Value(s)", NWDialogTable);
    om_DlgSetLabel(dlg, NWItem::MatchCounter, om_NWMatchCounter(true).c_str(), "");

    const bool breaksAttrs = om_NWElemActionEndsAttrActions(e);
    for (IntT item : {NWItem::ActiveFileLabel, NWItem::ActiveFile, NWItem::QueryFileLabel, NWItem::QueryFile,
                      NWItem::ElemActionLabel, NWItem::ElemAction, NWItem::ElemActionPopup, NWItem::ElemActionHelp})
        SetEnabled(dlg, item, !p);
    for (IntT item : {NWItem::AttrActionLabel, NWItem::AttrAction, NWItem::AttrActionPopup, NWItem::AttrActionHelp})
        SetEnabled(dlg, item, !breaksAttrs && !p);
    for (IntT item : {NWItem::ElemActionHelp, NWItem::TagName, NWItem::TagNamePopup, NWItem::Conditions,
                      NWItem::EditConditions, NWItem::ReportElemErrors})
        SetEnabled(dlg, item, e != NWElem::None && !p);
    SetEnabled(dlg, NWItem::AttrActionHelp, a != NWAttr::None && !p);
    const bool g = !p && a != NWAttr::None && !breaksAttrs;
    SetEnabled(dlg, NWItem::ReportAttrErrors, g);
    for (IntT item : {NWItem::AttrNamesLabel, NWItem::AttrNames, NWItem::EditAttrNames})
        SetEnabled(dlg, item, g && a != NWAttr::SetUniqueId);
    const bool valued = In(a, {NWAttr::AddValues, NWAttr::RemoveValues, NWAttr::ReplaceValues, NWAttr::SearchReplace});
    for (IntT item : {NWItem::AttrValuesLabel, NWItem::AttrValues, NWItem::EditAttrValues})
        SetEnabled(dlg, item, g && valued);

    om_DlgSetLabel(dlg, NWItem::MatchFirst, p ? "Parse" : "Match First", NWDialogTable);
    if (p) {
        for (IntT item : {NWItem::MatchNext, NWItem::MatchAll, NWItem::PerformAndMatchNext})
            om_DlgDisable(dlg, item);
    } else {
        om_DlgEnable(dlg, NWItem::MatchAll);
    }
    if (e == NWElem::None && a == NWAttr::None) {
        for (IntT item : {NWItem::Perform, NWItem::PerformAndMatchNext, NWItem::PerformOnAll})
            om_DlgDisable(dlg, item);
    } else if (p) {
        for (IntT item : {NWItem::Perform, NWItem::PerformAndMatchNext, NWItem::PerformOnAll})
            om_DlgDisable(dlg, item);
    } else {
        om_DlgEnable(dlg, NWItem::Perform);
        om_DlgEnable(dlg, NWItem::PerformOnAll);
    }
    om_DlgRefreshLabels(dlg);
}

void om_NWRefreshQuickFinder() {
    F_ObjHandleT dlg = QuickFinder();
    if (!dlg) return;
    SetPopup(dlg, QFItem::History, "Placeholder", XPathHistory);
    om_DlgSetLabel(dlg, QFItem::MatchCounter, om_NWMatchCounter(false).c_str(), "");
}

// ---- switching and navigating -----------------------------------------------------------------

void om_NWSwitchToQuickFinder() { Switch(Wizard(), om_NWOpenQuickFinder); }
void om_NWSwitchToWizard() { Switch(QuickFinder(), om_NWOpenWizardDialog); }

void om_NWGoToMatch(IntT index) {
    IntT n = static_cast<IntT>(MatchList.size());
    if (n == 0) return;
    index = std::clamp(index, 0, n - 1);
    NodeWizardQuery.currentMatch = index;
    F_ObjHandleT doc = MatchList[index].doc;
    F_ApiSetId(0, 0, om_BookIsId(doc) ? FP_ActiveBook : FP_ActiveDoc, doc);
    F_ApiSetInt(0, doc, FP_IsInFront, 1);
    om_DocGoToObject(doc, MatchList[index].elem);
    if (NodeWizardPrompts.refreshAttrEditor) om_CallClient("OM_Lattiform", "RefreshModelessAttrEditor", 0);
    bool wizard = Wizard() != 0;
    F_ObjHandleT dlg = wizard ? Wizard() : QuickFinder();
    SetEnabled(dlg, wizard ? IntT{NWItem::PreviousMatch} : IntT{QFItem::PreviousMatch}, index > 0);
    SetEnabled(dlg, wizard ? IntT{NWItem::NextMatch} : IntT{QFItem::NextMatch}, index < n - 1);
}

std::vector<std::string> om_NWJumpList(size_t n) {
    std::vector<std::string> list{"1"};
    for (size_t v : {10, 25, 50, 75, 100})
        if (n > v) list.push_back(std::to_string(v));
    size_t step = n / 10, last = 0;
    for (size_t k = 1; k <= 9; ++k)
        if (step * k > 100) list.push_back(std::to_string(last = step * k));
    if (n > last && n > 1 && list.back() != std::to_string(n)) list.push_back(std::to_string(n));
    return list;
}

void om_NWJumpToIndex() {
    F_StringsT list = qv::NewStrings(om_NWJumpList(MatchList.size()));
    std::string current = std::to_string(NodeWizardQuery.currentMatch + 1);
    IntT ok =
        om_DlgRunDDown(kDlgDropDown, "Jump to index", "Jump to index:", current.c_str(), &list, 1, NWDialogTable, 0);
    F_ApiDeallocateStrings(&list);
    if (!ok) return;
    StringT text = om_DlgGetResultText(0);
    IntT number = std::atoi(std::string(qv::View(text)).c_str());
    om_StrFree(&text);
    om_NWGoToMatch(number - 1);
}

// ---- the list editors' offers -----------------------------------------------------------------

std::vector<std::string> om_NWAttrNameOffers(F_ObjHandleT doc) {
    std::vector<std::string> offers{NW_XPATH_MATCH};
    for (const Attribute &a : om_AttrCatalog(doc, 1, 1, 1, 0)) offers.push_back(a.name);
    return offers;
}

std::vector<std::string> om_NWAttrValueOffers(F_ObjHandleT doc, IntT limit) {
    qv::UniqueStrings offers;
    // Split at blanks, the catalogue's values hold no empty one: an empty value is not offered.
    for (Attribute &a : om_AttrCatalog(doc, 1, 1, 1, 1)) {
        if (offers.size() == 0) {
            offers = qv::UniqueStrings(std::move(a.values));  // a catalogue entry's values are distinct
        } else {
            for (std::string &v : a.values) offers.Add(std::move(v));
        }
        if (limit && offers.size() > kValueOffers) break;
    }
    std::vector<std::string> list = offers.Take();
    if (limit && list.size() > kValueOffers) {
        list[kValueOffers - 1] = std::move(list.back());
        list.resize(kValueOffers);
    }
    return list;
}

size_t om_NWOfferAttrValues(F_ObjHandleT doc, IntT limit) {
    // The previous offers go first: a list as large as a document's values is never held twice.
    om_DlgTakeDDownList({});
    std::vector<std::string> offers = om_NWAttrValueOffers(doc, limit);
    const size_t count = offers.size();
    om_DlgTakeDDownList(std::move(offers));
    return count;
}
