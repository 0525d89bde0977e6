// Perform Action(s) On All "Retag as" as a user meets it: a `qvhost run` session that opens a
// file of 49,000 para (the preferences allow at most 50,000 matches; the bench sets that most
// in the session's settings), opens the Node Wizard and retags every //para, minus the same
// session without the retag, against a libxml2 program (a fresh process) that reads the file,
// evaluates //para and renames each match, minus the same program without the XPath and the
// renames. Prints both differences and their ratio. The best of a few runs of each counts.
#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "bench/retag_documents.h"
#include "bench/session_bench.h"

namespace {

// The session's folder (removed at the end): the file, the two scripts and the settings folder.
struct SessionFiles : qvbench::SessionFolder {
    explicit SessionFiles(int matches) : SessionFolder("qv_session_bench_" + std::to_string(matches)) {
        std::string xml = qvbench::GenerateXml(matches);
        xml.insert(xml.size() - 6, "<note>N</note>");  // the retag's definition, before </doc>
        Write("paras.xml", xml + "\n");
        const std::string open = "answer start yes\nopen paras.xml\ncommand Quorvane_Cmd_Node_Wizard\n"
                                 "dialog qv_DialogNodeWizard \"type 2 //para\" \"choose 21 \\\"Retag as\\\"\" "
                                 "\"type 24 note\"\n";
        Write("without.qvs", open + "quit\n");
        Write("with.qvs", open + "answer alert yes\ndialog qv_DialogNodeWizard \"press 53\"\n" +
                              "expect-transcript Element actions: " + std::to_string(matches) + " succeeded\nquit\n");
    }
    // Lets a query take the most matches the preferences allow; false when the settings folder
    // holds no preferences file.
    bool allowMostMatches() const {
        std::error_code ec;
        for (std::filesystem::recursive_directory_iterator it(dir / "appdata", ec), end; !ec && it != end;
             it.increment(ec)) {
            if (it->path().filename() != "Quorvane_General_Preferences.txt") continue;
            std::ifstream in(it->path());
            std::string text, line;
            while (std::getline(in, line)) text += (line.rfind("MAX_XPATH_MATCHES=", 0) == 0 ? "MAX_XPATH_MATCHES=50000" : line) + "\n";
            in.close();
            std::ofstream(it->path()) << text;
            return true;
        }
        return false;
    }
};

// A fresh process reads the file with libxml2 and, with `retag`, renames every //para; true when
// it could.
bool LibxmlProgram(const std::string &file, bool retag) {
    xmlDoc *x = xmlReadFile(file.c_str(), nullptr, XML_PARSE_NOBLANKS);
    if (!x) return false;
    if (retag) {
        xmlXPathContext *ctx = xmlXPathNewContext(x);
        xmlXPathObject *res = xmlXPathEvalExpression(reinterpret_cast<const xmlChar *>("//para"), ctx);
        int n = res && res->nodesetval ? res->nodesetval->nodeNr : 0;
        for (int i = 0; i < n; ++i)
            xmlNodeSetName(res->nodesetval->nodeTab[i], reinterpret_cast<const xmlChar *>("note"));
        xmlXPathFreeObject(res);
        xmlXPathFreeContext(ctx);
    }
    xmlFreeDoc(x);
    return true;
}

void BM_RetagAllSessionVsLibxml2(benchmark::State &state) {
    SessionFiles files(int(state.range(0)));
    // An untimed session settles the settings folder (the first start asks and fills it).
    if (qvbench::SessionSeconds(files, "without.qvs") < 0 || !files.allowMostMatches()) {
        state.SkipWithError("the session failed or made no preferences file");
        return;
    }
    const std::string file = files.Path("paras.xml");
    qvbench::SessionRounds r;
    if (!qvbench::RunSessionRounds(
            state, r, [&](bool with) { return qvbench::SessionSeconds(files, with ? "with.qvs" : "without.qvs"); },
            [&](bool with) { return qvbench::ProgramSeconds([&] { return LibxmlProgram(file, with); }); }))
        return;
    state.counters["session_ms"] = r.Ours() * 1000;
    state.counters["libxml2_ms"] = r.Theirs() * 1000;
    state.counters["ratio"] = r.Ours() / r.Theirs();
}
BENCHMARK(BM_RetagAllSessionVsLibxml2)->Arg(49000)->Unit(benchmark::kSecond)->Iterations(5);

}  // namespace
