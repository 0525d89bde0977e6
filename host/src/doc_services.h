// Document services beside editing (doc_services.cpp): find, import, book update, import of
// definitions and formats. What the last import and book update were given, for tests.
#pragma once

#include <utility>
#include <vector>

#include "fdk.h"

namespace host {

// (number, value) of the integer parameters of the last F_ApiImport / F_ApiUpdateBook.
std::vector<std::pair<IntT, IntT>> &LastImportParams();
std::vector<std::pair<IntT, IntT>> &LastUpdateBookParams();

}  // namespace host
