// Plain text files written from a document image.
#include "docfile_text.h"

#include <vector>

namespace host::docfile {

std::string PlainText(const DocImage &image) {
    std::string out;
    int32_t mf = image.MainFlow();
    if (mf < 0) return out;
    const FlowImage &flow = image.flows[mf];
    bool pending = false;  // a paragraph has begun and its line is not written yet
    auto endParagraph = [&] {
        if (pending) out += '\n';
        pending = false;
    };
    std::vector<int32_t> open;  // open elements, to see paragraph elements end
    auto isParagraph = [&](int32_t node) {
        const NodeImage &n = image.nodes[node];
        return n.pgfMode == 1 || (n.pgfMode == 0 && !image.defs[n.def].paragraphFormat.empty());
    };
    for (int32_t i = flow.first; i < flow.first + flow.count; ++i) {
        const NodeImage &n = image.nodes[i];
        while (!open.empty() && open.back() != n.parent) {
            if (isParagraph(open.back())) endParagraph();
            open.pop_back();
        }
        if (n.def == kTextNode) {
            for (char c : image.NodeText(n)) out += c == '\x08' ? '\t' : c;
            pending = true;
            continue;
        }
        if (isParagraph(i)) {
            endParagraph();
            pending = true;
        }
        open.push_back(i);
    }
    while (!open.empty()) {
        if (isParagraph(open.back())) endParagraph();
        open.pop_back();
    }
    endParagraph();
    return out;
}

}  // namespace host::docfile
