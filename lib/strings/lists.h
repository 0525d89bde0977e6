// Counted lists: the host's list records of strings, unsigned and signed numbers, metrics,
// attributes and text items, and the operations that make, grow, search, edit, sort, join and
// free them. Inside, the operations work on std::vector values and write the result back.
//
// Ownership: the holder of a record owns its array and every string in it; the matching host
// deallocator frees them and zeroes the record. Appending stores a copy of the caller's text.
// A record whose array is NULL (as the deallocators leave it) is not an initialised empty list:
// the append-all operations do nothing when either array is NULL, and operations that find
// nothing to change leave such a record as it is. Out lists must hold a list or be zeroed.
// Case flag: 1 exact, 0 through the host's case folding.
#pragma once

#include "fdk.h"

// ---- lists of strings ----
void om_StringsInit(F_StringsT *list, IntT n, IntT freeFlag);
void om_StringsFree(F_StringsT *list);
StringT om_StringsAppend(F_StringsT *list, ConStringT text);
void om_StringsPrepend(F_StringsT *list, ConStringT text);
void om_StringsInsertAt(F_StringsT *list, ConStringT text, IntT position, IntT allowDuplicates, IntT caseFlag);
IntT om_StringsFind(const F_StringsT *list, ConStringT text, IntT caseFlag);
IntT om_StringsFindFrom(const F_StringsT *list, ConStringT text, IntT start, IntT caseFlag);
IntT om_StringsFindPrefix(const F_StringsT *list, ConStringT text, IntT caseFlag);
IntT om_StringsFindNumber(const F_StringsT *list, RealT number);
F_UIntsT om_StringsPositionsOf(const F_StringsT *list, ConStringT text, IntT start, IntT caseFlag);
IntT om_StringsIndexesOf(const F_StringsT *list, ConStringT text, F_UIntsT *out);
IntT om_StringsFirstDuplicate(const F_StringsT *list, IntT caseFlag);
IntT om_StringsEqual(const F_StringsT *a, const F_StringsT *b, IntT caseFlag);
void om_StringsRemoveAt(F_StringsT *list, IntT index);
void om_StringsRemoveValue(F_StringsT *list, ConStringT text, IntT firstOnly, IntT caseFlag);
void om_StringsRemove(F_StringsT *list, IntT index, ConStringT text, IntT firstOnly, IntT caseFlag);
void om_StringsRemoveBlank(F_StringsT *list, IntT blanks);
void om_StringsRemoveStartingWith(F_StringsT *list, ConStringT text, IntT caseFlag);
void om_StringsDedupe(F_StringsT *list, IntT caseFlag);
void om_StringsFilterIntegers(F_StringsT *list, IntT low, IntT high, IntT keepZero, IntT keepDuplicates);
IntT om_StringsAppendAll(F_StringsT *target, const F_StringsT *source, IntT allowDuplicates, IntT allowEmpty);
StringT om_StringsJoin(const F_StringsT *list, ConStringT separator);
StringT om_StringsJoinPrefixed(const F_StringsT *list, ConStringT prefix, IntT lastIndex, IntT keepEmpty);
void om_StringsCollapse(F_StringsT *list, ConStringT separator);
void om_StringsSort(F_StringsT *list, IntT caseFlag, IntT descending);
void om_StringsSortNumeric(F_StringsT *list, IntT descending);
void om_StringsSwap(F_StringsT *list, IntT i, IntT j);
// Trims blanks off every entry in place; returns the list's length.
IntT om_StringsTrim(F_StringsT *list);
void om_StringsReplaceAll(F_StringsT *list, ConStringT from, ConStringT to, IntT caseFlag);
IntT om_StringsStraightenQuotes(F_StringsT *list);
void om_StringsSplitWords(F_StringsT *list);
void om_StringsDump(const F_StringsT *list, IntT alert, IntT console);
F_StringsT om_UIntsToStrings(const F_UIntsT *list);
StringT om_TextItemsConcat(const F_TextItemsT *items, IntT skipFirst, IntT skipLast);
IntT om_StringsFromItemStrings(const F_TextItemsT *items, F_StringsT *out);

// ---- lists of numbers ----
void om_UIntsInit(F_UIntsT *list, IntT n, IntT freeFlag);
void om_UIntsFree(F_UIntsT *list);
void om_UIntsAppend(F_UIntsT *list, UIntT value);
void om_UIntsPrepend(F_UIntsT *list, UIntT value);
IntT om_UIntsFind(const F_UIntsT *list, UIntT value);
void om_UIntsRemove(F_UIntsT *list, UIntT value, IntT index);
IntT om_UIntsAppendAll(F_UIntsT *target, const F_UIntsT *source);
void om_UIntsAppendList(F_UIntsT *target, const F_UIntsT *source, IntT unique);
F_UIntsT om_UIntsIntersect(const F_UIntsT *a, const F_UIntsT *b);
IntT om_UIntsLastPosition(const F_UIntsT *list, UIntT value);
void om_UIntsDump(const F_UIntsT *list, IntT alert, IntT console);
void om_IntsInit(F_IntsT *list, IntT n, IntT freeFlag);
void om_MetricsInit(F_MetricsT *list, IntT n, IntT freeFlag);
void om_MetricsAppend(F_MetricsT *list, MetricT value);
void om_MetricsFree(F_MetricsT *list);

// ---- lists of attributes and text items ----
void om_AttributesInit(F_AttributesT *list, IntT n, IntT freeFlag);
void om_AttributesFree(F_AttributesT *list);
// Grows the list by one attribute (no name, no values, flag bytes 0) and returns it.
F_AttributeT *om_AttributesAppendSlot(F_AttributesT *list);
IntT om_AttributesFindName(const F_AttributesT *list, ConStringT name);
IntT om_AttributesIndexesOfName(const F_AttributesT *list, ConStringT name, F_UIntsT *out);
void om_AttributesRemove(F_AttributesT *list, IntT index, ConStringT name);
IntT om_AttributesMerge(F_AttributesT *target, const F_AttributesT *source, IntT declaredOnly, F_ObjHandleT docId,
                        F_ObjHandleT elemId);
IntT om_AttributesSplitValues(F_AttributesT *list);
IntT om_AttributesCollapseValues(F_AttributesT *list, ConStringT separator);
void om_TextItemsRemoveAt(F_TextItemsT *items, IntT index);
