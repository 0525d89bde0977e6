// The item events of the Node Wizard and the XPath Quick Finder: what each button, pop-up,
// check box and list does, and which of them refresh the dialog afterwards.
#include "lib/dialogs/dlgitems.h"
#include "lib/dialogs/generic.h"
#include "lib/host/element_query.h"
#include "lib/plugin_globals.h"
#include "lib/state/nodewizard.h"
#include "lib/strings/listconv.h"
#include "lib/translation/lang.h"
#include "nodewizard/actions.h"
#include "nodewizard/dialogs.h"
#include "nodewizard/history.h"
#include "nodewizard/pending_core.h"

namespace {

F_ObjHandleT ActiveDoc() { return F_ApiGetId(0, 0, FP_ActiveDoc); }

// Offers the texts as the drop-down of the next list editor.
void OfferInEditor(const std::vector<std::string> &texts) {
    F_StringsT list = qv::NewStrings(texts);
    om_DlgSetDDownList(&list);
    F_ApiDeallocateStrings(&list);
}

// The action code named in a text box, read back from the current language.
IntT NamedAction(F_ObjHandleT dlg, IntT item, bool element) {
    std::string name = qv::LangTranslate(NWDialogTable, qv::DlgText(dlg, item), true, 0);
    return element ? om_NWElemActionCode(name) : om_NWAttrActionCode(name);
}

}  // namespace

void om_NWWizardItemEvent(IntT item, IntT doubleClick) {
    F_ObjHandleT dlg = DialogHandles[kDlgNodeWizard];
    if (!dlg) return;
    bool refresh = false;
    switch (item) {
        case 2: om_DlgDisable(dlg, 49), om_DlgDisable(dlg, 52); break;
        case 3: om_DlgDisable(dlg, 49), om_DlgDisable(dlg, 52), refresh = true; break;
        case 4: case 5: case 21: case 23: case 25: case 31: case 33: refresh = true; break;
        case 6: om_NWSwitchToQuickFinder(); break;
        case 9: om_NWAddFavorite(""), refresh = true; break;
        case 10: om_NWLoadFavorites(1), refresh = true; break;
        case 11: om_NWManageFavorites(), refresh = true; break;
        case 22: om_NWShowActionHelp(NamedAction(dlg, 20, true)); break;
        case 32: om_NWShowActionHelp(NamedAction(dlg, 30, false)); break;
        case 27:
            OfferInEditor(om_DocConditionTagNames(ActiveDoc()));
            om_DlgEditListWithEditor(dlg, 26, "Conditions To Assign", NWDialogTable);
            refresh = true;
            break;
        case 35:
            if (!doubleClick) break;
            OfferInEditor(om_NWAttrNameOffers(ActiveDoc()));
            om_DlgEditListEntry(dlg, 35, -1, "", 0, 1, 1, NWDialogTable);
            break;
        case 36:
            OfferInEditor(om_NWAttrNameOffers(ActiveDoc()));
            om_DlgEditListWithEditor(dlg, 35, "Action Attributes", NWDialogTable);
            break;
        case 38:
            if (!doubleClick) break;
            if (om_DlgGetState(dlg, 35) >= 0) OfferInEditor(om_NWAttrValueOffers(ActiveDoc(), 0));
            om_DlgEditListEntry(dlg, 38, -1, "", 0, 1, 1, NWDialogTable);
            break;
        case 39:
            OfferInEditor(om_NWAttrValueOffers(ActiveDoc(), 1));
            om_DlgEditListWithEditor(dlg, 38, "Action Values", NWDialogTable);
            break;
        case 45: om_NWGoToMatch(NodeWizardQuery.currentMatch - 1), refresh = true; break;
        case 46: om_NWGoToMatch(NodeWizardQuery.currentMatch + 1), refresh = true; break;
        case 47: om_NWJumpToIndex(), refresh = true; break;
        case 48: case 50: case 53: om_NWRunQuery(item), refresh = true; break;
        case 49: case 51: case 52: om_NWMatchNextOrPerform(item), refresh = true; break;
        case 54:
            F_ApiClose(dlg, 0);
            DialogHandles[kDlgNodeWizard] = 0;
            break;
        case FV_DlgCloseBox: DialogHandles[kDlgNodeWizard] = 0; break;
        default: break;
    }
    if (refresh && DialogHandles[kDlgNodeWizard]) om_NWRefreshWizardDialog(0);
}

void om_NWQuickFinderItemEvent(IntT item) {
    F_ObjHandleT dlg = DialogHandles[kDlgQuickFinder];
    if (!dlg) return;
    bool refresh = false;
    switch (item) {
        case 2: case 3: om_DlgDisable(dlg, 5); break;
        case 4: case 6: om_NWRunQuery(item), refresh = true; break;
        case 5: om_NWMatchNextOrPerform(5), refresh = true; break;
        case 10: om_NWGoToMatch(NodeWizardQuery.currentMatch - 1), refresh = true; break;
        case 11: om_NWGoToMatch(NodeWizardQuery.currentMatch + 1), refresh = true; break;
        case 12: om_NWJumpToIndex(), refresh = true; break;
        case 13: om_NWSwitchToWizard(); break;
        case 16: om_NWAddFavorite(""); break;
        case 17: om_NWLoadFavorites(1), refresh = true; break;
        case 18: om_NWManageFavorites(), refresh = true; break;
        case 7:
            F_ApiClose(dlg, 0);
            DialogHandles[kDlgQuickFinder] = 0;
            break;
        case FV_DlgCloseBox: DialogHandles[kDlgQuickFinder] = 0; break;
        case FV_DlgRefresh: refresh = true; break;
        default: break;
    }
    if (refresh && DialogHandles[kDlgQuickFinder]) om_NWRefreshQuickFinder();
}
