// Dialog objects and items: the store, their properties, F_ApiOpenResource, F_ApiDialogItemId
// and the close of a dialog. The runs and the user's actions are in dialog_run.cpp.
#include "dialog.h"

#include <map>
#include <memory>
#include <unordered_map>

#include "client.h"
#include "model.h"
#include "transcript.h"

namespace host {
namespace {

// Where an item of an open dialog is: its dialog (which the store keeps for the session) and
// its place among the dialog's items, so that the many label writes of a status box find it at
// once.
struct ItemPlace {
    Dialog *dialog = nullptr;
    size_t index = 0;
};

struct DialogStore {
    std::map<F_ObjHandleT, std::unique_ptr<Dialog>> dialogs;   // by id (ids grow: oldest first)
    std::unordered_map<F_ObjHandleT, ItemPlace> itemDialog;     // item id -> where it is
};

DialogStore &Dialogs() {
    static DialogStore store;
    return store;
}

int ItemKindOf(const ResourceItem &r) {
    switch (r.kind) {
    case kResGroupBox: return FO_DlgGroupBox;
    case kResButton: return FO_DlgButton;
    case kResCheckBox: return FO_DlgCheckBox;
    case kResImage: return FO_DlgImage;
    case kResScrollList: return FO_DlgScrollBox;
    case kResPopUp: return r.pair >= 0 ? FO_DlgPopUp : FO_DlgScrollBox;
    case kResTextBox: return FO_DlgTextBox;
    case kResRadio: return FO_DlgRadioButton;
    default: return FO_DlgLabel;
    }
}

bool IsList(const DialogItem &it) { return it.kind == FO_DlgScrollBox || it.kind == FO_DlgPopUp; }

// ---- property access --------------------------------------------------------------------

Dialog *DialogArg(F_ObjHandleT doc, F_ObjHandleT obj) {
    if (doc != 0) return nullptr;
    return FindDialog(obj);
}

DialogItem *ItemArg(F_ObjHandleT doc, F_ObjHandleT obj, Dialog **d) {
    Dialog *owner = nullptr;
    DialogItem *it = FindDialogItem(obj, &owner);
    if (!it || owner->id != doc) return nullptr;
    *d = owner;
    return it;
}

// A dialog's int property read and written through a member.
template <int Dialog::*member>
bool ReadDialogInt(const PropArg &, F_ObjHandleT doc, F_ObjHandleT obj, IntT &out) {
    Dialog *d = DialogArg(doc, obj);
    if (!d) return Fail(FE_BadObjId);
    out = d->*member;
    return true;
}

template <int Dialog::*member>
bool WriteDialogInt(const PropArg &, F_ObjHandleT doc, F_ObjHandleT obj, IntT in) {
    Dialog *d = DialogArg(doc, obj);
    if (!d) return Fail(FE_BadObjId);
    d->*member = in;
    return true;
}

template <int Dialog::*member>
void DialogInt(int number, bool writable) {
    RegisterIntAccessors(FO_DialogResource, number, PropType::Int, ReadDialogInt<member>,
                         writable ? WriteDialogInt<member> : nullptr);
}

// An item's property read through a member (a flag, its state, its label or text).
template <auto member, typename Out>
bool ReadItemField(const PropArg &, F_ObjHandleT doc, F_ObjHandleT obj, Out &out) {
    Dialog *d = nullptr;
    DialogItem *it = ItemArg(doc, obj, &d);
    if (!it) return Fail(FE_BadObjId);
    out = it->*member;
    return true;
}

// An item's flag (0 or 1) written through a member.

template <int DialogItem::*member>
bool WriteItemFlag(const PropArg &, F_ObjHandleT doc, F_ObjHandleT obj, IntT in) {
    Dialog *d = nullptr;
    DialogItem *it = ItemArg(doc, obj, &d);
    if (!it) return Fail(FE_BadObjId);
    it->*member = in != 0 ? 1 : 0;
    return true;
}

void RegisterDialogProperties() {
    RegisterKind(FO_DialogResource, [](F_ObjHandleT doc, F_ObjHandleT obj) { return DialogArg(doc, obj) != nullptr; });
    RegisterCloser(FO_DialogResource, [](F_ObjHandleT obj, IntT) { return CloseDialog(obj) || Fail(FE_BadObjId); });
    RegisterStringAccessors(
        FO_DialogResource, FP_Title,
        [](const PropArg &, F_ObjHandleT doc, F_ObjHandleT obj, std::string &out) {
            Dialog *d = DialogArg(doc, obj);
            if (!d) return Fail(FE_BadObjId);
            out = d->title;
            return true;
        },
        [](const PropArg &, F_ObjHandleT doc, F_ObjHandleT obj, std::string_view in) {
            Dialog *d = DialogArg(doc, obj);
            if (!d) return Fail(FE_BadObjId);
            d->title.assign(in);
            return true;
        });
    DialogInt<&Dialog::x>(FP_DlgX, true);
    DialogInt<&Dialog::y>(FP_DlgY, true);
    DialogInt<&Dialog::doubleClick>(FP_DlgDoubleClick, false);
    DialogInt<&Dialog::prop2344>(FP_DlgStatusReset, true);
    RegisterIntAccessors(FO_DialogResource, FP_DlgHighestItem, PropType::Int,
                         [](const PropArg &, F_ObjHandleT doc, F_ObjHandleT obj, IntT &out) {
                             Dialog *d = DialogArg(doc, obj);
                             if (!d) return Fail(FE_BadObjId);
                             out = static_cast<IntT>(d->items.size()) - 1;
                             return true;
                         });
    RegisterIntAccessors(FO_DialogResource, FP_DlgIsOpen, PropType::Int,
                         [](const PropArg &, F_ObjHandleT doc, F_ObjHandleT obj, IntT &out) {
                             Dialog *d = DialogArg(doc, obj);
                             if (!d) return Fail(FE_BadObjId);
                             out = d->open ? 1 : 0;
                             return true;
                         });

    for (int kind = FO_DlgGroupBox; kind <= FO_DlgPopUp; ++kind) {
        RegisterKind(kind, [](F_ObjHandleT doc, F_ObjHandleT obj) {
            Dialog *d = nullptr;
            return ItemArg(doc, obj, &d) != nullptr;
        });
        RegisterStringAccessors(
            kind, FP_Label,
            ReadItemField<&DialogItem::label, std::string>,
            [](const PropArg &, F_ObjHandleT doc, F_ObjHandleT obj, std::string_view in) {
                return WriteItemLabel(doc, obj, in) || Fail(FE_BadObjId);
            });
        RegisterIntAccessors(
            kind, FP_DlgState, PropType::Int,
            ReadItemField<&DialogItem::state, IntT>,
            [](const PropArg &, F_ObjHandleT doc, F_ObjHandleT obj, IntT in) {
                Dialog *d = nullptr;
                DialogItem *it = ItemArg(doc, obj, &d);
                if (!it) return Fail(FE_BadObjId);
                return SetItemState(*d, *it, in);
            });
        RegisterIntAccessors(kind, FP_DlgSensitivity, PropType::Int, ReadItemField<&DialogItem::sensitive, IntT>,
                             WriteItemFlag<&DialogItem::sensitive>);
        RegisterIntAccessors(kind, FP_DlgVisibility, PropType::Int, ReadItemField<&DialogItem::visible, IntT>,
                             WriteItemFlag<&DialogItem::visible>);
    }
    RegisterStringAccessors(
        FO_DlgTextBox, FP_DlgText,
        ReadItemField<&DialogItem::text, std::string>,
        [](const PropArg &, F_ObjHandleT doc, F_ObjHandleT obj, std::string_view in) {
            Dialog *d = nullptr;
            DialogItem *it = ItemArg(doc, obj, &d);
            if (!it) return Fail(FE_BadObjId);
            it->text.assign(in);
            return true;
        });
    for (int kind : {FO_DlgScrollBox, FO_DlgPopUp})
        RegisterProperty(kind, FP_DlgLabels, PropType::Strings,
                         [](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
                             Dialog *d = nullptr;
                             DialogItem *it = ItemArg(doc, obj, &d);
                             if (!it) return Fail(FE_BadObjId);
                             out.ss = it->labels;
                             return true;
                         },
                         [](F_ObjHandleT doc, F_ObjHandleT obj, const PropValue &in) {
                             Dialog *d = nullptr;
                             DialogItem *it = ItemArg(doc, obj, &d);
                             if (!it) return Fail(FE_BadObjId);
                             return SetItemLabels(*d, *it, in.ss);
                         });
}

// Registers the dialog kinds with the object model once, before the first dialog exists.
void EnsureRegistered() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterDialogProperties();
}

}  // namespace

Dialog *FindDialog(F_ObjHandleT dlg) {
    if (F_OBJ_KIND(dlg) != FO_DialogResource) return nullptr;
    auto &ds = Dialogs().dialogs;
    auto it = ds.find(dlg);
    return it == ds.end() || !it->second->open ? nullptr : it->second.get();
}

DialogItem *FindDialogItem(F_ObjHandleT item, Dialog **dialog) {
    auto &map = Dialogs().itemDialog;
    auto it = map.find(item);
    if (it == map.end()) return nullptr;
    Dialog *d = it->second.dialog;
    const size_t at = it->second.index;
    if (!d->open || at >= d->items.size() || d->items[at].id != item) return nullptr;
    if (dialog) *dialog = d;
    return &d->items[at];
}

bool WriteItemLabel(F_ObjHandleT dlg, F_ObjHandleT obj, std::string_view label) {
    Dialog *d = nullptr;
    DialogItem *it = ItemArg(dlg, obj, &d);
    if (!it) return false;
    if (it->label == label) return true;
    it->label.assign(label);
    LabelChanged(*d, *it);
    return true;
}

F_ObjHandleT MakeDialog(const DialogTemplate &t, Client *client) {
    EnsureRegistered();
    auto d = std::make_unique<Dialog>();
    d->id = NewObjectId(FO_DialogResource);
    if (!d->id) return 0;
    d->resource = t.name;
    d->title = t.title;
    d->x = t.x < 0 ? 0 : t.x;
    d->y = t.y < 0 ? 0 : t.y;
    d->width = t.width;
    d->height = t.height;
    d->okItem = t.okItem;
    d->cancelItem = t.cancelItem;
    d->defaultItem = t.defaultItem;
    d->focusItem = t.focusItem;
    d->client = client;
    for (const ResourceItem &r : t.items) {
        DialogItem it;
        it.number = r.number;
        it.kind = ItemKindOf(r);
        it.id = NewObjectId(it.kind);
        if (!it.id) {  // no item ids left: no dialog
            for (const DialogItem &made : d->items) Dialogs().itemDialog.erase(made.id);
            return 0;
        }
        it.threeState = r.threeState;
        it.group = r.group;
        it.pair = r.pair;
        it.help = r.help;
        it.label = r.label;
        it.labels = r.labels;
        if (it.kind == FO_DlgPopUp && !r.labels.empty()) it.placeholder = r.labels.front();
        it.visible = r.hidden ? 0 : 1;
        it.sensitive = r.greyed ? 0 : 1;
        it.state = r.state != -2 ? r.state : IsList(it) ? (it.labels.empty() ? -1 : 0) : 0;
        Dialogs().itemDialog[it.id] = ItemPlace{d.get(), d->items.size()};
        d->items.push_back(std::move(it));
    }
    F_ObjHandleT id = d->id;
    Dialogs().dialogs[id] = std::move(d);
    return id;
}

bool CloseDialog(F_ObjHandleT dlg) {
    Dialog *d = FindDialog(dlg);
    if (!d) return false;
    if (d->mode == DialogMode::Modeless && IsProgressDisplay(*d)) EndProgress();
    d->open = false;
    d->dismissed = true;
    d->mode = DialogMode::Closed;
    for (const auto &it : d->items) Dialogs().itemDialog.erase(it.id);
    // A dialog closed from inside one of its own events is freed when the event has finished.
    if (d->eventDepth == 0) {
        d->items.clear();
        d->items.shrink_to_fit();
    }
    return true;
}

std::vector<F_ObjHandleT> OpenDialogs() {
    std::vector<F_ObjHandleT> out;
    for (const auto &[id, d] : Dialogs().dialogs)
        if (d->open) out.push_back(id);
    return out;
}

F_ObjHandleT FindOpenDialogByResource(const std::string &resource) {
    F_ObjHandleT found = 0;
    for (const auto &[id, d] : Dialogs().dialogs)
        if (d->open && d->resource == resource) found = id;
    return found;
}

bool SetItemState(Dialog &d, DialogItem &item, int state) {
    if (IsList(item)) {
        if (state < -1 || state >= static_cast<int>(item.labels.size())) return Fail(FE_BadParameter);
        item.state = state;
        return true;
    }
    if (item.kind == FO_DlgRadioButton) {
        item.state = state != 0 ? 1 : 0;
        if (item.state == 1)
            for (auto &other : d.items)
                if (&other != &item && other.kind == FO_DlgRadioButton && other.group == item.group) other.state = 0;
        return true;
    }
    if (item.kind == FO_DlgCheckBox && (state < 0 || state > (item.threeState ? 2 : 1))) return Fail(FE_BadParameter);
    item.state = state;
    return true;
}

bool SetItemLabels(Dialog &, DialogItem &item, std::vector<std::string> labels) {
    item.labels = std::move(labels);
    if (item.state >= static_cast<int>(item.labels.size())) item.state = -1;
    return true;
}

}  // namespace host

extern "C" {

F_ObjHandleT F_ApiOpenResource(IntT resourceType, ConStringT resourceName) {
    if (resourceType != FO_DialogResource || !resourceName) {
        host::Fail(FE_BadParameter);
        return 0;
    }
    host::Client *client = host::CurrentClient();
    if (!client) {
        auto clients = host::Clients();
        if (!clients.empty()) client = clients.front();
    }
    const char *text = client ? host::ClientResource(client, resourceName) : nullptr;
    if (!text) {
        host::Fail(FE_NotFound);
        return 0;
    }
    host::DialogTemplate t;
    std::string error;
    if (!host::ParseDialogResource(text, &t, &error)) {
        host::UserMessage(std::string("The dialog resource \"") + resourceName + "\" is damaged: " + error);
        host::Fail(FE_BadParameter);
        return 0;
    }
    return host::MakeDialog(t, client);
}

F_ObjHandleT F_ApiDialogItemId(F_ObjHandleT dlgId, IntT itemNum) {
    host::Dialog *d = host::FindDialog(dlgId);
    if (!d || itemNum < 0 || itemNum >= static_cast<IntT>(d->items.size())) {
        host::Fail(d ? FE_BadParameter : FE_BadObjId);
        return 0;
    }
    return d->items[itemNum].id;
}

}  // extern "C"
