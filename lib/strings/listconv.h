// Conversions between the host's counted list records and the std::vector values the plug-in
// works with. A record built here is allocated like the host's own (F_Alloc), so the host's
// deallocators free it; a record is read as empty when its array is NULL.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"

namespace qv {

// The entries of a list of strings (NULL entries read as "").
std::vector<std::string> ReadStrings(const F_StringsT *list);
// A new list record holding copies of the texts; its array is never NULL.
F_StringsT NewStrings(const std::vector<std::string> &texts);
// Frees the list's contents and stores a new record of the texts.
void StoreStrings(F_StringsT *list, const std::vector<std::string> &texts);

std::vector<UIntT> ReadUInts(const F_UIntsT *list);
F_UIntsT NewUInts(const std::vector<UIntT> &values);
void StoreUInts(F_UIntsT *list, const std::vector<UIntT> &values);

}  // namespace qv
