// Object model: edits (retags, typed characters) each followed by a read of the text, over
// documents of 10,000 and 100,000 paragraphs. The layout follows the edits, so the total grows in
// proportion to the number of edits (the reported complexity is the growth from the smaller run
// to the larger).
#include <benchmark/benchmark.h>

#include <vector>

#include "fdk.h"
#include "model.h"

namespace {

using namespace host;

struct EditDoc {
    F_ObjHandleT doc = 0;
    F_ObjHandleT body = 0, note = 0, em = 0, strong = 0;
    std::vector<F_ObjHandleT> paras, inlines;
};

// n paragraphs in sections of 10, each holding text, an inline element and more text.
EditDoc BuildDoc(int n) {
    EditDoc d;
    d.doc = NewDocument("Z:\\edits.fm");
    F_ObjHandleT sec = AddElementDef(d.doc, "sec");
    d.body = AddElementDef(d.doc, "p", FV_FO_CONTAINER, "Body");
    d.note = AddElementDef(d.doc, "note", FV_FO_CONTAINER, "Note");
    d.em = AddElementDef(d.doc, "em");
    d.strong = AddElementDef(d.doc, "strong");
    F_ObjHandleT root = AppendElement(d.doc, 0, sec, MainFlow(d.doc));
    F_ObjHandleT s = 0;
    for (int i = 0; i < n; ++i) {
        if (i % 10 == 0) s = AppendElement(d.doc, root, sec);
        F_ObjHandleT p = AppendElement(d.doc, s, d.body);
        AppendText(d.doc, p, "some paragraph text ");
        F_ObjHandleT e = AppendElement(d.doc, p, d.em);
        AppendText(d.doc, e, "stressed");
        AppendText(d.doc, p, " and the rest");
        d.paras.push_back(p);
        d.inlines.push_back(e);
    }
    return d;
}

// The element's text, read as a plug-in reads it: its text range, then the strings in it.
size_t ReadText(F_ObjHandleT doc, F_ObjHandleT elem) {
    F_TextRangeT r = F_ApiGetTextRange(doc, elem, FP_TextRange);
    F_TextItemsT items = F_ApiGetTextForRange(doc, &r, FTI_String);
    size_t n = items.len;
    F_ApiDeallocateTextItems(&items);
    return n;
}

// Every paragraph retagged to the other paragraph format and every inline element to the other
// inline definition, each retag followed by a read of the paragraph's text.
void BM_RetagThenRead(benchmark::State &state) {
    const int n = static_cast<int>(state.range(0));
    ResetSession();
    EditDoc d = BuildDoc(n / 2);
    ReadText(d.doc, d.paras.front());  // the layout exists before the edits begin
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        size_t total = 0;
        for (size_t i = 0; i < d.paras.size(); ++i) {
            F_ApiSetId(d.doc, d.paras[i], FP_ElementDef, flip ? d.note : d.body);
            total += ReadText(d.doc, d.paras[i]);
            F_ApiSetId(d.doc, d.inlines[i], FP_ElementDef, flip ? d.strong : d.em);
            total += ReadText(d.doc, d.paras[i]);
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetComplexityN(n);
    ResetSession();
}
BENCHMARK(BM_RetagThenRead)->Arg(10000)->Arg(100000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

// A character typed into every paragraph, each followed by a read of the paragraph's text.
void BM_TypeThenRead(benchmark::State &state) {
    const int n = static_cast<int>(state.range(0));
    ResetSession();
    EditDoc d = BuildDoc(n);
    ReadText(d.doc, d.paras.front());
    for (auto _ : state) {
        size_t total = 0;
        for (F_ObjHandleT p : d.paras) {
            F_TextRangeT r = F_ApiGetTextRange(d.doc, p, FP_TextRange);
            F_TextLocT at{r.beg.objId, r.beg.offset + 4};
            F_ApiAddText(d.doc, &at, "x");
            total += ReadText(d.doc, p);
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetComplexityN(n);
    ResetSession();
}
BENCHMARK(BM_TypeThenRead)->Arg(10000)->Arg(100000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

}  // namespace
