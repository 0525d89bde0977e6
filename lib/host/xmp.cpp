// A document's XMP metadata: the packet for one field, written over the document's packet.
#include "lib/host/xmp.h"

#include "lib/strings/heapstr.h"

namespace {

std::string XmlEscape(const std::string &s) {
    std::string out;
    for (char c : s) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

// The XMP fields by their English labels: the element written and how.
struct XmpField {
    const char *label;
    const char *element;
    enum { Plain, Alt, Seq } form;
};
const XmpField kXmpFields[] = {
    {"Keywords", "pdf:Keywords", XmpField::Plain},   {"Job Ticket", "xapBJ:JobRef", XmpField::Plain},
    {"Copyright URL", "xapRights:WebStatement", XmpField::Plain}, {"Author", "dc:creator", XmpField::Seq},
    {"Title", "dc:title", XmpField::Alt},            {"Description", "dc:description", XmpField::Alt},
    {"Copyright", "dc:rights", XmpField::Alt},
};

}  // namespace

std::string XmpPacket(const std::string &field, const std::string &value) {
    const XmpField *f = nullptr;
    for (const XmpField &x : kXmpFields)
        if (qv::FoldCase(x.label) == qv::FoldCase(field)) f = &x;
    static const XmpField kFallback{"Description", "dc:description", XmpField::Alt};
    std::string v = XmlEscape(value);
    if (!f) {
        f = &kFallback;
        v.clear();
    }
    std::string body;
    std::string el = f->element;
    if (f->form == XmpField::Alt)
        body = "<" + el + "><rdf:Alt><rdf:li xml:lang=\"x-default\">" + v + "</rdf:li></rdf:Alt></" + el + ">";
    else if (f->form == XmpField::Seq)
        body = "<" + el + "><rdf:Seq><rdf:li>" + v + "</rdf:li></rdf:Seq></" + el + ">";
    else
        body = "<" + el + ">" + v + "</" + el + ">";
    if (el == "xapRights:WebStatement") body += "<xapRights:Marked>False</xapRights:Marked>";
    return "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
           "<x:xapmeta xmlns:x=\"urn:xmp:meta/\">\n"
           "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
           "<rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
           "xmlns:pdf=\"urn:xmp:pdf/1.3/\" xmlns:xapBJ=\"urn:xmp:xap/1.0/bj/\" "
           "xmlns:xapRights=\"urn:xmp:xap/1.0/rights/\">\n" +
           body + "\n</rdf:Description>\n</rdf:RDF>\n</x:xapmeta>\n<?xpacket end=\"w\"?>";
}

void om_DocSetXmpField(F_ObjHandleT docId, const std::string &field, const std::string &value) {
    if (!docId) return;
    F_ApiSetString(0, docId, FP_XmpPacket, XmpPacket(field, value).c_str());
}
