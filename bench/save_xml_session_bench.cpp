// Saving as XML as a user meets it: a `qvhost run` session that opens a book of 102,000 or
// 1,020,000 elements (a plain XML file) and saves it as XML, minus the same session without the
// save, against a libxml2 program (a fresh process) that reads the file and saves it with
// xmlSaveFile, minus the same program without the save. The session's save is Save As to another
// file (the plug-in follows a Save As with its own handling, which may save again), or, as the
// third row, a save of the file in place. Prints both differences and their ratio; the best of a
// few runs of each counts.
#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstdio>
#include <string>

#include "bench/retag_documents.h"
#include "bench/session_bench.h"

namespace {

// The session's folder: the book, a copy of it saved in place, the scripts and the settings.
struct SaveSessionFiles : qvbench::SessionFolder {
    explicit SaveSessionFiles(int chapters) : SessionFolder("qv_save_session_bench_" + std::to_string(chapters)) {
        const std::string book = qvbench::BookXml(chapters);
        Write("book.xml", book);
        Write("inplace.xml", book);
        Write("without.qvs", "answer start yes\nopen book.xml\nquit\n");
        Write("save-as.qvs", "answer start yes\nopen book.xml\nsave-as saved.xml xml\nquit\n");
        Write("inplace-without.qvs", "answer start yes\nopen inplace.xml\nquit\n");
        Write("inplace.qvs", "answer start yes\nopen inplace.xml\nsave\nquit\n");
    }
};

// A fresh process reads the book with libxml2 and, with `save`, writes it with xmlSaveFile; true
// when it could.
bool LibxmlProgram(const std::string &file, const std::string &target, bool save) {
    xmlDocPtr doc = xmlReadFile(file.c_str(), nullptr, XML_PARSE_NONET);
    if (!doc) return false;
    bool ok = !save || xmlSaveFile(target.c_str(), doc) > 0;
    xmlFreeDoc(doc);
    return ok;
}

void BM_SaveXmlSessionVsLibxml2(benchmark::State &state) {
    const int chapters = int(state.range(0));
    const bool inPlace = state.range(1) != 0;
    SaveSessionFiles files(chapters);
    const char *with = inPlace ? "inplace.qvs" : "save-as.qvs";
    const char *without = inPlace ? "inplace-without.qvs" : "without.qvs";
    // Untimed sessions settle the settings folder (the first start asks and fills it) and make
    // the file the save replaces.
    if (qvbench::SessionSeconds(files, without) < 0 || qvbench::SessionSeconds(files, with) < 0) {
        state.SkipWithError("the session failed");
        return;
    }
    const std::string source = files.Path("book.xml"), target = files.Path("libxml2.xml");
    qvbench::SessionRounds r;
    if (!qvbench::RunSessionRounds(
            state, r, [&](bool save) { return qvbench::SessionSeconds(files, save ? with : without); },
            [&](bool save) { return qvbench::ProgramSeconds([&] { return LibxmlProgram(source, target, save); }); }))
        return;
    state.counters["elements"] = chapters * 102;
    state.counters["session_ms"] = r.Ours() * 1000;
    state.counters["libxml2_ms"] = r.Theirs() * 1000;
    state.counters["ratio"] = r.Ours() / r.Theirs();
    std::printf("save as XML in a session (%s), %d elements: %.1f ms (session %.1f - %.1f ms), libxml2 program %.1f ms "
                "(%.1f - %.1f ms), %.2fx\n",
                inPlace ? "save in place" : "Save As", chapters * 102, r.Ours() * 1000, r.with * 1000,
                r.without * 1000, r.Theirs() * 1000, r.libWith * 1000, r.libWithout * 1000, r.Ours() / r.Theirs());
}
BENCHMARK(BM_SaveXmlSessionVsLibxml2)
    ->Args({1000, 0})
    ->Args({10000, 0})
    ->Args({10000, 1})
    ->ArgNames({"chapters", "in_place"})
    ->Unit(benchmark::kSecond)
    ->Iterations(5);

}  // namespace
