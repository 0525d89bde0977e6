// Structure-application names (see structapps.h).
#include "xpath/structapps.h"

#include <algorithm>
#include <string>
#include <unordered_set>
#include <vector>

#include "lib/host/element_text.h"
#include "lib/host/settings_paths.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"
#include "xpath/xpath.h"

F_StringsT om_StructAppNames(IntT where, IntT kind, ConStringT doctype, IntT doctypeOnly, IntT doctypeFirst,
                             IntT sort) {
    om_XPathInitEngine(100, 1000, 1000);
    const char *expr = kind == 1   ? "//XMLApplication/ApplicationName"
                       : kind == 2 ? "//SGMLApplication/ApplicationName"
                                   : "//*[self::XMLApplication or self::SGMLApplication]/ApplicationName";
    std::string type(qv::View(doctype));
    std::vector<std::string> names, typed;
    std::unordered_set<std::string> seen, seenTyped;
    std::vector<F_ObjHandleT> docs;
    if (where == 2 || where == 3) docs.push_back(om_StructAppsDoc(2, 0, 0));
    if (where == 1 || where == 3) docs.push_back(om_StructAppsDoc(1, 0, 0));
    for (F_ObjHandleT doc : docs) {
        if (!doc) continue;
        for (F_ObjHandleT match : om_XPathListMatches(doc, 0, expr, 0, nullptr, 0)) {
            std::string name = om_ElementText(doc, match, 1, 255, 0, 0);
            if (seen.insert(name).second) names.push_back(name);
            if (type.empty() || seenTyped.count(name)) continue;
            std::vector<std::string> values = om_XPathGetMatchValues(doc, match, 0, "../DOCTYPE", 0);
            if (std::find(values.begin(), values.end(), type) != values.end()) {
                seenTyped.insert(name);
                typed.push_back(name);
            }
        }
    }
    if (sort) {
        auto less = [](const std::string &a, const std::string &b) { return qv::FoldCase(a) < qv::FoldCase(b); };
        std::stable_sort(names.begin(), names.end(), less);
        std::stable_sort(typed.begin(), typed.end(), less);
    }
    if (!type.empty() && doctypeOnly) return qv::NewStrings(typed);
    if (!type.empty() && doctypeFirst) {
        std::vector<std::string> ordered = typed;
        for (const std::string &n : names)
            if (!seenTyped.count(n)) ordered.push_back(n);
        return qv::NewStrings(ordered);
    }
    return qv::NewStrings(names);
}
