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
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/retag_documents.h"

namespace fs = std::filesystem;

namespace {

// The session's folder (removed at the end): the file, the two scripts and the settings folder.
struct SessionFiles {
    fs::path dir;
    SessionFiles(int matches) {
        dir = fs::temp_directory_path() / ("qv_session_bench_" + std::to_string(::getpid()) + "_" +
                                           std::to_string(matches));
        fs::create_directories(dir);
        std::string xml = qvbench::GenerateXml(matches);
        xml.insert(xml.size() - 6, "<note>N</note>");  // the retag's definition, before </doc>
        std::ofstream(dir / "paras.xml") << xml << "\n";
        const std::string open = "answer start yes\nopen paras.xml\ncommand Quorvane_Cmd_Node_Wizard\n"
                                 "dialog qv_DialogNodeWizard \"type 2 //para\" \"choose 21 \\\"Retag as\\\"\" "
                                 "\"type 24 note\"\n";
        std::ofstream(dir / "without.qvs") << open << "quit\n";
        std::ofstream(dir / "with.qvs") << open << "answer alert yes\ndialog qv_DialogNodeWizard \"press 53\"\n"
                                        << "expect-transcript Element actions: " << matches << " succeeded\nquit\n";
    }
    // Lets a query take the most matches the preferences allow; false when the settings folder
    // holds no preferences file.
    bool allowMostMatches() const {
        std::error_code ec;
        for (fs::recursive_directory_iterator it(dir / "appdata", ec), end; !ec && it != end; it.increment(ec)) {
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
    ~SessionFiles() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    SessionFiles(const SessionFiles &) = delete;
    SessionFiles &operator=(const SessionFiles &) = delete;
};

double Seconds(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// The seconds a qvhost session takes; negative when it fails.
double SessionSeconds(const SessionFiles &f, const char *script) {
    const std::string bin = QV_BIN_DIR;
    const std::string command = "cd '" + f.dir.string() + "' && APPDATA='" + (f.dir / "appdata").string() + "' '" +
                                bin + "/qvhost' --quiet --plugin '" + bin + "/Quorvane_FM2020.so' run " + script +
                                " >/dev/null";
    auto t0 = std::chrono::steady_clock::now();
    int rc = std::system(command.c_str());
    double s = Seconds(t0);
    return rc == 0 ? s : -1;
}

// The seconds a fresh process takes to read the file with libxml2 and, with `retag`, rename every
// //para; negative when it fails.
double LibxmlSeconds(const SessionFiles &f, bool retag) {
    const std::string file = (f.dir / "paras.xml").string();
    auto t0 = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        xmlDoc *x = xmlReadFile(file.c_str(), nullptr, XML_PARSE_NOBLANKS);
        if (!x) _exit(1);
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
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    double s = Seconds(t0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? s : -1;
}

void BM_RetagAllSessionVsLibxml2(benchmark::State &state) {
    SessionFiles files(int(state.range(0)));
    // An untimed session settles the settings folder (the first start asks and fills it).
    if (SessionSeconds(files, "without.qvs") < 0 || !files.allowMostMatches()) {
        state.SkipWithError("the session failed or made no preferences file");
        return;
    }
    double with = 1e300, without = 1e300, libWith = 1e300, libWithout = 1e300;
    for (auto _ : state) {
        double a = SessionSeconds(files, "with.qvs"), b = SessionSeconds(files, "without.qvs");
        double c = LibxmlSeconds(files, true), d = LibxmlSeconds(files, false);
        if (a < 0 || b < 0 || c < 0 || d < 0) {
            state.SkipWithError("a session or the libxml2 program failed");
            return;
        }
        with = std::min(with, a);
        without = std::min(without, b);
        libWith = std::min(libWith, c);
        libWithout = std::min(libWithout, d);
    }
    const double ours = with - without, theirs = libWith - libWithout;
    state.counters["session_ms"] = ours * 1000;
    state.counters["libxml2_ms"] = theirs * 1000;
    state.counters["ratio"] = ours / theirs;
}
BENCHMARK(BM_RetagAllSessionVsLibxml2)->Arg(49000)->Unit(benchmark::kSecond)->Iterations(5);

}  // namespace
