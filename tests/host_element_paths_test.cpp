// Element paths of many elements: the counting object gives what the one-element walk gives,
// whatever order the elements are asked in.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "element_path.h"
#include "model.h"
#include "support/host_files_fixture.h"

using namespace host;

namespace {

class HostElementPaths : public HostFilesFixture {
  protected:
    HostElementPaths() : HostFilesFixture("qv_element_paths_") {}
};

TEST_F(HostElementPaths, ManyPathsAgreeWithOneAtATimeInAnyOrder) {
    std::filesystem::path p = dir / "mixed.xml";
    std::ofstream(p) << "<doc><a/><b>x<a/>y<b><a/><a/></b></b><a>t</a><b/><a><b/><b/><a/></a></doc>";
    F_ObjHandleT doc = Open(p);
    ASSERT_NE(doc, 0u);
    std::vector<F_ObjHandleT> all;  // every element and text node in document order
    std::vector<F_ObjHandleT> stack{FlowOf(MainFlow(doc))->root};
    while (!stack.empty()) {
        F_ObjHandleT e = stack.back();
        stack.pop_back();
        all.push_back(e);
        std::vector<F_ObjHandleT> kids;
        for (F_ObjHandleT c = Elem(e)->first; c; c = Elem(c)->next) kids.push_back(c);
        stack.insert(stack.end(), kids.rbegin(), kids.rend());
    }
    std::vector<F_ObjHandleT> reversed(all.rbegin(), all.rend()), shuffled = all;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
    for (const auto *order : {&all, &reversed, &shuffled}) {
        ElementPaths paths(doc);
        for (F_ObjHandleT e : *order) EXPECT_EQ(paths.Path(e), ElementPath(doc, e));
    }
    EXPECT_EQ(ElementPaths(doc).Path(all.back()), "/doc[1]/a[3]/a[1]");
}

}  // namespace
