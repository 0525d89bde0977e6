// Fuzz target: any file opened as a document, plain XML (first byte even) or the native format
// (odd), is refused with a message or opens; an opened document saves as XML and as native, and
// each save opens again. The file lies alone in a folder of its own, so the only files it can
// reach are the ones the input names.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "docfile_api.h"
#include "model.h"
#include "paths.h"
#include "transcript.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const fs::path dir = fs::temp_directory_path() / ("qv_fuzz_document_" + std::to_string(::getpid()));
    if (size == 0) return 0;
    fs::create_directories(dir);
    bool xml = (data[0] & 1) == 0;
    fs::path file = dir / (xml ? "input.xml" : "input.fm");
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char *>(data + 1), std::streamsize(size - 1));
    host::ResetSession();
    host::ClearTranscript();
    F_ObjHandleT doc = host::OpenDocumentFile(host::WindowsPath(file.string()), false);
    if (doc) {
        for (int format : {FV_SaveFmtXml, FV_SaveFmtBinary}) {
            fs::path out = dir / (format == FV_SaveFmtXml ? "saved.xml" : "saved.fm");
            if (host::SaveDocumentFile(doc, host::WindowsPath(out.string()), format)) {
                F_ObjHandleT again = host::OpenDocumentFile(host::WindowsPath(out.string()), false);
                if (!again) __builtin_trap();  // what the host wrote, it reads back
            }
        }
    }
    host::ResetSession();
    std::error_code ec;
    for (const auto &entry : fs::directory_iterator(dir, ec)) fs::remove_all(entry.path(), ec);
    return 0;
}
