// Attribute access: how an attribute is found (exact names, the last equal name wins), what a read
// returns when anything is missing (the ErrorSentinel and -1, or "" and 0), how lists of values are
// read with optional splitting and default values, how values are written by name, by index or as
// a list, how values move between two attributes, how a unique ID is drawn, and the catalogue of
// all attributes and values of a document or book.
//
// Every read takes the host's attribute list into an Attributes value (read in place, without the
// host making a record of it); every write changes that value and hands the whole list back with
// F_ApiSetAttributes.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"

// The pseudo attribute name for an element's unique-ID attribute (compared ignoring case).
inline constexpr const char *kUniqueIdPseudoName = "<UNIQUE_ID>";

// One attribute of an element: its name, values and the host's two flag bytes.
struct Attribute {
    std::string name;
    std::vector<std::string> values;
    UByteT valflags = 0;
    UByteT allow = 0;
};
using Attributes = std::vector<Attribute>;

// One attribute definition of an element definition.
struct AttributeDef {
    std::string name;
    IntT required = 0;
    IntT readOnly = 0;
    IntT type = 0;
    std::vector<std::string> choices;
    std::vector<std::string> defaults;
    std::string rangeMin;
    std::string rangeMax;
};
using AttributeDefs = std::vector<AttributeDef>;

// The element's attributes and its definition's attribute definitions (same order).
Attributes HostGetAttributes(F_ObjHandleT docId, F_ObjHandleT elemId);
AttributeDefs HostGetAttributeDefs(F_ObjHandleT docId, F_ObjHandleT elemId);
// Writes the whole list back to the element.
void HostSetAttributes(F_ObjHandleT docId, F_ObjHandleT elemId, const Attributes &attrs);

// An element's attribute list read once for an edit, into storage kept from the edit before (an
// edit made while another is open gets its own); write() hands the list back to the host, the
// record made in kept arrays that point into the list.
class AttributeEdit {
public:
    AttributeEdit(F_ObjHandleT docId, F_ObjHandleT elemId);
    ~AttributeEdit();
    AttributeEdit(const AttributeEdit &) = delete;
    AttributeEdit &operator=(const AttributeEdit &) = delete;

    // The number of attributes, and the index of the last one of the name (-1 when none).
    size_t size() const { return copy_.size(); }
    IntT lastIndexOf(const std::string &name) const;
    // The list as read, with the edits made so far.
    Attributes &attrs() { return copy_; }
    // Gives attribute i (below size()) these values.
    void setValues(size_t i, const std::vector<std::string> &values);
    void write();

    F_ObjHandleT doc, elem;

private:
    Attributes copy_;
};

// ---- reading ----
IntT om_AttrIndex(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &name);
IntT om_AttrIndexCI(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &name);
IntT om_AttrIndexByType(F_ObjHandleT docId, F_ObjHandleT elemId, IntT type);
IntT om_AttrDefType(F_ObjHandleT docId, F_ObjHandleT elemId, IntT index, const std::string &name);
IntT om_AttrIsDeclared(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &name, IntT index);
// Stores the first value ("" when none) and returns the index; the ErrorSentinel and -1 when the
// attribute cannot be read.
IntT om_AttrGetValue(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &name, std::string *value);
// Stores the first value of the attribute at the index and returns 1; "" and 0 when it cannot.
IntT om_AttrGetValueAt(F_ObjHandleT docId, F_ObjHandleT elemId, IntT index, std::string *value);
IntT om_AttrGetInt(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &name);
std::vector<std::string> om_AttrGetValues(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &name,
                                          IntT index, IntT split, IntT defaults);
IntT om_AttrGetAll(Attributes *attrs, F_ObjHandleT docId, F_ObjHandleT elemId, IntT defaults, IntT split);
IntT om_AttrGetDefinition(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &name, AttributeDef *def);
IntT om_AttrGetDefaults(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &name, IntT index,
                        std::vector<std::string> *defaults);
std::vector<std::string> om_AttrValuesOfFlow(F_ObjHandleT docId, const std::string &flowName, F_ObjHandleT flowId,
                                             const std::string &name, std::vector<UIntT> *elements, IntT defaults);
Attributes om_AttrCatalog(F_ObjHandleT docOrBookId, IntT allFlows, IntT defaults, IntT split, IntT skipIds);
void om_ElementChildrenAttrValues(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &name,
                                  std::vector<std::string> *values);
IntT om_AttrValuesByAttr(F_ObjHandleT docId, const std::string &tag, const std::string &name,
                         std::vector<std::string> *values);

// ---- writing ----
IntT om_AttrSetValue(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &name, const std::string &value);
IntT om_AttrSetValueAt(F_ObjHandleT docId, F_ObjHandleT elemId, IntT index, const std::string &value);
IntT om_AttrSetValues(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &name, IntT index,
                      const std::vector<std::string> &values, IntT collapse);
IntT om_AttrSetInt(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &name, IntT number);
IntT om_AttrAppendValue(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &name, const std::string &value,
                        IntT maximum);
IntT om_AttrRemoveValue(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &name, const std::string &value);
// B's values become a copy of A's; operation 1 then empties A, 3 gives A B's old values; 1, or 0
// with a status. When A and B are the same attribute nothing changes and the result is 1.
IntT om_AttrCopyValues(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &nameA, IntT indexA,
                       const std::string &nameB, IntT indexB, IntT operation);
IntT om_AttrAssignUniqueId(F_ObjHandleT docId, F_ObjHandleT elemId, const std::vector<std::string> *taken, IntT,
                           IntT, IntT force);
std::string om_StrRandomLetters(IntT, IntT);

// ---- attribute lists ----
IntT om_AttributesFind(const Attributes &attrs, const std::string &name, IntT caseFlag);
IntT om_AttributesSplitAt(Attributes &attrs, const std::string &separators);
IntT om_AttributesAddValue(Attributes &attrs, IntT index, const std::string &name, const std::string &value,
                           IntT allowDuplicates);
void om_AttributesSort(Attributes &attrs, IntT sortNames, IntT sortValues);
void om_AttributesRemoveBlankValues(Attributes &attrs);
void om_AttributesMergeOrdered(Attributes &attrs, const std::vector<std::string> &names);
void om_AttributesDump(const Attributes &attrs, IntT console);
// The first element from the start (or the highest-level element of the flow) through the rest of
// its subtree with the tag ("*" any) that has the attribute ("*" any) with the first value ("*"
// any); 0 when none.
F_ObjHandleT om_ElementFindByAttr(F_ObjHandleT docId, F_ObjHandleT startId, const std::string &tag,
                                  const std::string &attrName, const std::string &value, const std::string &flowName);
