// Host records built from and read into C++ values. The host hands over deep copies allocated
// with F_Alloc; these helpers build them so every getter allocates the same way.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"

namespace host {

StringT NewString(const std::string &s);
F_StringsT NewStrings(const std::vector<std::string> &v);
std::vector<std::string> ReadStrings(const F_StringsT *strs);
F_IntsT NewInts(const std::vector<IntT> &v);
std::vector<IntT> ReadInts(const F_IntsT *ints);
F_UIntsT NewUInts(const std::vector<UIntT> &v);
F_MetricsT NewMetrics(const std::vector<MetricT> &v);
std::vector<MetricT> ReadMetrics(const F_MetricsT *metrics);

}  // namespace host
