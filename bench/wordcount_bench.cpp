// Word count of a document of 1,000 and of 10,000 pages (40 paragraphs to a page, ten words each)
// against libxml2 walking the same document as XML and counting its words by the same separators.
// Each round runs in a fresh copy of the process, warmed by one untimed run of the same side; the
// document is built (and laid out once, as an open document is) before the clock starts. Prints
// both times, their ratio and each side's growth from 1,000 to 10,000 pages.
//
// WordCountSession does the same as a user meets it: a `qvhost run` session that opens the
// document as an XML file and counts its words, minus the same session without the count, against
// a libxml2 program (a fresh process) that reads the file and counts, minus the same program
// without the count. The best of a few runs of each counts.
#include <benchmark/benchmark.h>
#include <libxml/parser.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "bench/retag_documents.h"
#include "bench/session_bench.h"
#include "fdk.h"
#include "lib/dialogs/wordcount.h"
#include "model.h"

namespace {

using qvbench::InFreshProcess;
using qvbench::Millis;
using qvbench::Timed;

constexpr int kPgfsPerPage = 40;
constexpr const char *kSentence = "The quick brown fox jumps over the lazy dog's back.";

// A document of `pages` body pages of paragraphs of ten words.
F_ObjHandleT BuildDoc(int pages) {
    host::ResetSession();
    F_ObjHandleT doc = host::NewDocument("Z:\\wordcount_bench.fm");
    F_ObjHandleT sec = host::AddElementDef(doc, "sec");
    F_ObjHandleT para = host::AddElementDef(doc, "p", FV_FO_CONTAINER, "Body");
    F_ObjHandleT root = host::AppendElement(doc, 0, sec, host::MainFlow(doc));
    for (int i = 0; i < pages * kPgfsPerPage; ++i) host::AppendText(doc, host::AppendElement(doc, root, para), kSentence);
    om_DocWordCount(doc);  // lays the document out once
    return doc;
}

std::string BuildXml(int pages) {
    std::string s = "<sec>";
    for (int i = 0; i < pages * kPgfsPerPage; ++i) s += std::string("<p>") + kSentence + "</p>";
    return s + "</sec>";
}

// The word characters below 256, as the word count has them; everything above is a word character.
struct WordTable {
    bool word[256] = {};
    WordTable() {
        const unsigned char ranges[][2] = {{0x04, 0x05}, {0x27, 0x27}, {0x30, 0x39}, {0x41, 0x5A}, {0x5F, 0x5F},
                                           {0x61, 0x7A}, {0x80, 0x9F}, {0xAE, 0xAF}, {0xBE, 0xBF}, {0xCB, 0xCF},
                                           {0xD5, 0xD5}, {0xD8, 0xD9}, {0xDE, 0xDF}, {0xE5, 0xEF}, {0xF1, 0xF5}};
        for (const auto &r : ranges)
            for (int c = r[0]; c <= r[1]; ++c) word[c] = true;
    }
};
const WordTable kTable;

// libxml2's side: a walk of the tree counting the words of its text, a paragraph's end ending a word.
struct XmlCounter {
    long count = 0;
    bool inWord = false;
    void Text(const unsigned char *s) {
        for (; *s; ++s) {
            unsigned char b = *s;
            bool word;
            if (b < 0x80) {
                word = kTable.word[b];
            } else {  // one character: its lead byte decides, the rest are skipped
                unsigned n = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
                unsigned c = n == 1 ? ((b & 0x1Fu) << 6) | (s[1] & 0x3Fu) : 256;
                for (unsigned k = 0; k < n && s[1]; ++k) ++s;
                word = c >= 256 || kTable.word[c];
            }
            if (!word && inWord) ++count;
            inWord = word;
        }
    }
    void EndWord() {
        if (inWord) ++count;
        inWord = false;
    }
    void Walk(xmlNode *root) {
        for (xmlNode *n = root; n;) {
            if (n->type == XML_TEXT_NODE && n->content) Text(n->content);
            if (n->type == XML_ELEMENT_NODE && n->children) {
                n = n->children;
                continue;
            }
            for (;;) {  // n is done: on to the next sibling, or up
                if (n->type == XML_ELEMENT_NODE) EndWord();
                if (n == root) return;
                if (n->next) {
                    n = n->next;
                    break;
                }
                n = n->parent;
            }
        }
    }
};

Timed Ours(int pages) {
    return InFreshProcess([&] {
        F_ObjHandleT doc = BuildDoc(pages);
        Timed t;
        IntT words = 0;
        t.ms = Millis([&] { words = om_DocWordCount(doc); });
        t.count = size_t(words);
        host::ResetSession();
        return t;
    });
}

Timed Libxml2(const std::string &xml) {
    return InFreshProcess([&] {
        xmlDoc *x = xmlReadMemory(xml.data(), int(xml.size()), "w.xml", nullptr, 0);
        Timed t;
        XmlCounter c;
        t.ms = Millis([&] { c.Walk(xmlDocGetRootElement(x)); });
        t.count = size_t(c.count);
        xmlFreeDoc(x);
        return t;
    });
}

void BM_WordCountVsLibxml2(benchmark::State &state) {
    const std::string small = BuildXml(1000), big = BuildXml(10000);
    double o1 = 1e300, o10 = 1e300, x1 = 1e300, x10 = 1e300;
    size_t words = 0, xwords = 0;
    for (auto _ : state) {
        Timed a = Ours(1000), b = Libxml2(small), c = Ours(10000), d = Libxml2(big);
        o1 = std::min(o1, a.ms);
        x1 = std::min(x1, b.ms);
        o10 = std::min(o10, c.ms);
        x10 = std::min(x10, d.ms);
        words = c.count;
        xwords = d.count;
    }
    state.counters["words_10k"] = double(words);
    state.counters["libxml2_words_10k"] = double(xwords);
    state.counters["ours_1k_ms"] = o1;
    state.counters["libxml2_1k_ms"] = x1;
    state.counters["ours_10k_ms"] = o10;
    state.counters["libxml2_10k_ms"] = x10;
    state.counters["ratio_1k"] = o1 / x1;
    state.counters["ratio_10k"] = o10 / x10;
    state.counters["growth_10x"] = o10 / o1;
    std::printf("word count: 1,000 pages %.2f ms (libxml2 %.2f ms, %.2fx); 10,000 pages %.2f ms (libxml2 %.2f ms, "
                "%.2fx); growth %.1fx (libxml2 %.1fx)\n",
                o1, x1, o1 / x1, o10, x10, o10 / x10, o10 / o1, x10 / x1);
}
BENCHMARK(BM_WordCountVsLibxml2)->Unit(benchmark::kMillisecond)->Iterations(3);

// The session's folder (removed at the end): the document of `pages` pages as XML, a session
// that opens it and counts its words, the same without the count, and the settings folder.
struct WordCountSessionFiles : qvbench::SessionFolder {
    long words;
    explicit WordCountSessionFiles(int pages)
        : SessionFolder("qv_wordcount_session_bench_" + std::to_string(pages)), words(long(pages) * kPgfsPerPage * 10) {
        Write("words.xml", BuildXml(pages) + "\n");
        const std::string open = "answer start yes\nopen words.xml\n";
        Write("without.qvs", open + "quit\n");
        Write("with.qvs", open + "library DocWordCount\nexpect-transcript library DocWordCount answered " +
                              std::to_string(words) + "\nquit\n");
    }
};

// A fresh process reads the file with libxml2 and, with `count`, counts its words; true when it
// could (and counted them all).
bool LibxmlProgram(const std::string &file, bool count, long words) {
    xmlDoc *x = xmlReadFile(file.c_str(), nullptr, 0);
    if (!x) return false;
    XmlCounter c;
    if (count) c.Walk(xmlDocGetRootElement(x));
    xmlFreeDoc(x);
    return !count || c.count == words;
}

void BM_WordCountSessionVsLibxml2(benchmark::State &state) {
    const int pages = int(state.range(0));
    WordCountSessionFiles files(pages);
    const std::string source = files.Path("words.xml");
    // An untimed session settles the settings folder (the first start asks and fills it).
    if (qvbench::SessionSeconds(files, "without.qvs") < 0) {
        state.SkipWithError("the session failed");
        return;
    }
    qvbench::SessionRounds r;
    if (!qvbench::RunSessionRounds(
            state, r, [&](bool count) { return qvbench::SessionSeconds(files, count ? "with.qvs" : "without.qvs"); },
            [&](bool count) { return qvbench::ProgramSeconds([&] { return LibxmlProgram(source, count, files.words); }); }))
        return;
    const double ours = r.Ours() * 1000, theirs = r.Theirs() * 1000;
    state.counters["session_ms"] = ours;
    state.counters["libxml2_ms"] = theirs;
    state.counters["ratio"] = ours / theirs;
    std::printf("word count session, %d pages: %.2f ms (libxml2 %.2f ms, %.2fx); sessions %.1f / %.1f ms, libxml2 "
                "programs %.1f / %.1f ms\n",
                pages, ours, theirs, ours / theirs, r.with * 1000, r.without * 1000, r.libWith * 1000,
                r.libWithout * 1000);
}
BENCHMARK(BM_WordCountSessionVsLibxml2)->Arg(1000)->Arg(10000)->Unit(benchmark::kSecond)->Iterations(5);

}  // namespace
