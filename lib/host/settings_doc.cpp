// Settings kept as attributes in a settings document, and the merge of a previous installation's
// settings document with a new one's.
//
// Settings merge (om_SettingsMergeInstall): both settings documents are opened invisibly. Only the
// old one: it is kept. Only the new one: it is saved under the old path, its file deleted, and the
// user welcomed to a new installation. Both: the user is welcomed to the new version and told of
// the merge, the new document's element definitions and formats are imported into the old one,
// the new document is closed and its file deleted, and the old one saved.
#include "lib/host/settings_doc.h"

#include "lib/globals.h"
#include "lib/host/attributes.h"
#include "lib/host/docio.h"
#include "lib/host/textfiles.h"
#include "lib/run_state.h"
#include "lib/strings/heapstr.h"

std::vector<std::string> SettingsDocValues;

namespace {
// The values the last settings-document read gave.
[[maybe_unused]] const bool resetSettingsDocumentValues =
    om_RunStateRegister("settings document values", RunStateKind::Run, [] {
        SettingsDocValues.clear();
    });
}  // namespace

namespace {

F_ObjHandleT SettingsElement(F_ObjHandleT doc, const std::string &tag, const std::string &attr) {
    return doc ? om_ElementFindByAttr(doc, 0, tag, attr, "*", "Main") : 0;
}

F_ObjHandleT OpenHidden(const std::string &path) { return om_DocOpen(path.c_str(), 0, 0, 1, 1, 1, 1); }

void Welcome(const std::string &product, const std::string &version, bool upgraded) {
    std::string text = upgraded ? "Welcome to " + product + " " + version +
                                      ". Your installation has been upgraded. Please tell us of any problem you find "
                                      "with the software."
                                : "Welcome to " + product + " " + version +
                                      ", newly installed. Please tell us of any problem you find with the software.";
    F_ApiAlert(text.c_str(), FF_ALERT_CONTINUE_WARN);
}

}  // namespace

IntT om_SettingPromptOf(const std::string &stored) {
    return stored == "Never" ? kPromptNever : stored == "Once" ? kPromptOnce : kPromptAlways;
}

IntT om_SettingNumberOf(const std::string &stored) { return F_StrAlphaToInt(stored.c_str()); }

bool om_SettingStoredText(IntT kind, IntT value, const std::string &text, std::string *stored) {
    switch (kind) {
    case kSettingFlag: *stored = value == 1 ? "True" : "False"; return true;
    case kSettingNumber: *stored = std::to_string(value); return true;
    case kSettingText: *stored = text; return true;
    case kSettingPrompt: *stored = value == 0 ? "Never" : value == 2 ? "Once" : "Always"; return true;
    default: return false;
    }
}

IntT om_SettingsDocRead(F_ObjHandleT docId, const std::string &tag, const std::string &attr, std::string *text,
                        IntT kind) {
    F_ObjHandleT e = SettingsElement(docId, tag, attr);
    if (!e) {
        if (kind == kSettingText && text) *text = ErrorSentinel;
        return 0;
    }
    std::string value;
    om_AttrGetValue(docId, e, attr, &value);
    switch (kind) {
    case kSettingFlag: return value == "True" ? 1 : 0;
    case kSettingNumber: return om_SettingNumberOf(value);
    case kSettingText:
        if (text) *text = value.empty() ? ErrorSentinel : value;
        return 1;
    case kSettingPrompt: return om_SettingPromptOf(value);
    case kSettingList:
        SettingsDocValues = om_AttrGetValues(docId, e, attr, -1, 0, 0);
        return static_cast<IntT>(SettingsDocValues.size());
    default: return 0;
    }
}

void om_SettingsDocWrite(F_ObjHandleT docId, const std::string &tag, const std::string &attr, IntT value,
                         const std::string &text, IntT kind) {
    F_ObjHandleT e = SettingsElement(docId, tag, attr);
    if (!e) return;
    std::string stored;
    if (kind == kSettingList)
        om_AttrSetValues(docId, e, attr, -1, SettingsDocValues, 0);
    else if (om_SettingStoredText(kind, value, text, &stored))
        om_AttrSetValue(docId, e, attr, stored);
}

F_ObjHandleT om_SettingsMergeInstall(const std::string &oldPath, const std::string &newPath,
                                     const std::string &productName, const std::string &version) {
    F_ObjHandleT oldDoc = OpenHidden(oldPath);
    F_ObjHandleT newDoc = OpenHidden(newPath);
    if (!oldDoc && !newDoc) return 0;
    if (!newDoc) return oldDoc;
    if (!oldDoc) {
        F_ObjHandleT saved = om_DocSave(newDoc, oldPath.c_str(), FV_SaveFmtBinary, 0, 0, 0);
        Welcome(productName, version, false);
        om_FileCloseAndDelete(0, newPath.c_str());
        return saved;
    }
    Welcome(productName, version, true);
    std::string merge = productName + " has detected that you have or have had the software installed before. " +
                        productName + " will now attempt to merge your previous settings with the new version.";
    F_ApiAlert(merge.c_str(), FF_ALERT_CONTINUE_WARN);
    F_ApiSimpleImportElementDefs(oldDoc, newDoc, FF_ImportElemDefs);
    F_ApiSimpleImportFormats(oldDoc, newDoc, FF_ImportFormatsAll);
    F_ApiAlert("The merge appears to have completed successfully. Please contact Orle Meadow if you notice anything "
               "unusual.",
               FF_ALERT_CONTINUE_WARN);
    F_ApiClose(newDoc, 1);
    om_FileCloseAndDelete(0, newPath.c_str());
    return om_DocSave(oldDoc, oldPath.c_str(), FV_SaveFmtBinary, 0, 0, 0);
}
