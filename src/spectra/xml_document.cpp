#include "xml_document.h"

#include <algorithm>
#include <climits>
#include <memory>

#include <expat.h>

#include "text_utils.h"

namespace vorelbox::spectra {
namespace {

constexpr char namespace_separator = '|';

// "http://physics.nist.gov/N42/2011/N42|Spectrum" gives "Spectrum".
std::string local_name(const XML_Char* name) {
    const std::string_view full(name);
    const std::size_t at = full.rfind(namespace_separator);
    return std::string(at == std::string_view::npos ? full : full.substr(at + 1));
}

struct Builder {
    XML_Parser parser = nullptr;
    XmlDocument document;
    std::vector<int> open;  // the elements not closed yet, innermost last

    void stop(std::string why) {
        if (document.problem.empty()) {
            document.problem = std::move(why);
        }
        XML_StopParser(parser, XML_FALSE);
    }
};

void XMLCALL on_start(void* data, const XML_Char* name, const XML_Char** attributes) {
    auto& b = *static_cast<Builder*>(data);
    if (b.document.elements.size() >= MAX_XML_ELEMENTS) {
        b.stop("The document holds more than " + std::to_string(MAX_XML_ELEMENTS) + " elements");
        return;
    }
    XmlElement e;
    e.name = local_name(name);
    for (const XML_Char** a = attributes; a && a[0] && a[1]; a += 2) {
        e.attributes.emplace_back(local_name(a[0]), a[1]);
    }
    const int index = static_cast<int>(b.document.elements.size());
    if (!b.open.empty()) {
        e.parent = b.open.back();
        b.document.elements[static_cast<std::size_t>(e.parent)].children.push_back(index);
    }
    b.document.elements.push_back(std::move(e));
    b.open.push_back(index);
}

void XMLCALL on_end(void* data, const XML_Char*) {
    auto& b = *static_cast<Builder*>(data);
    if (!b.open.empty()) {
        b.open.pop_back();
    }
}

void XMLCALL on_text(void* data, const XML_Char* text, int length) {
    auto& b = *static_cast<Builder*>(data);
    if (!b.open.empty() && length > 0) {
        b.document.elements[static_cast<std::size_t>(b.open.back())].text.append(text, static_cast<std::size_t>(length));
    }
}

// Entities declared by the document itself are refused: N42 files use none,
// and their expansion is the classic way to make a parser take all memory.
void XMLCALL on_entity(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*, const XML_Char*,
                       const XML_Char*, const XML_Char*) {
    static_cast<Builder*>(data)->stop("The document declares entities of its own");
}

}  // namespace

const XmlElement* XmlDocument::child(const XmlElement& e, std::string_view name) const {
    for (const int k : e.children) {
        const XmlElement& c = elements[static_cast<std::size_t>(k)];
        if (c.name == name) {
            return &c;
        }
    }
    return nullptr;
}

std::vector<const XmlElement*> XmlDocument::children(const XmlElement& e, std::string_view name) const {
    std::vector<const XmlElement*> out;
    for (const int k : e.children) {
        const XmlElement& c = elements[static_cast<std::size_t>(k)];
        if (c.name == name) {
            out.push_back(&c);
        }
    }
    return out;
}

std::vector<const XmlElement*> XmlDocument::descendants(const XmlElement& e, std::string_view name) const {
    std::vector<const XmlElement*> out;
    // Depth first, without recursion: a deep document needs no deep stack.
    std::vector<const XmlElement*> todo{&e};
    while (!todo.empty()) {
        const XmlElement* at = todo.back();
        todo.pop_back();
        if (at != &e && at->name == name) {
            out.push_back(at);
        }
        for (auto k = at->children.rbegin(); k != at->children.rend(); ++k) {
            todo.push_back(&elements[static_cast<std::size_t>(*k)]);
        }
    }
    return out;
}

std::string XmlDocument::child_text(const XmlElement& e, std::string_view name) const {
    const XmlElement* c = child(e, name);
    return c ? std::string(common::trim(c->text)) : std::string();
}

std::string_view attribute(const XmlElement& e, std::string_view name) {
    for (const auto& [key, value] : e.attributes) {
        if (key == name) {
            return value;
        }
    }
    return {};
}

XmlDocument parse_xml(std::string_view bytes) {
    Builder b;
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) {
        b.document.problem = "The document is too large";
        return std::move(b.document);
    }
    const std::unique_ptr<std::remove_pointer_t<XML_Parser>, void (*)(XML_Parser)> parser(
        XML_ParserCreateNS(nullptr, namespace_separator), XML_ParserFree);
    if (!parser) {
        b.document.problem = "Not enough memory to read the document";
        return std::move(b.document);
    }
    b.parser = parser.get();
    XML_SetUserData(b.parser, &b);
    XML_SetElementHandler(b.parser, on_start, on_end);
    XML_SetCharacterDataHandler(b.parser, on_text);
    XML_SetEntityDeclHandler(b.parser, on_entity);
    // The bytes go to the parser a piece at a time: it copies what it is given
    // into a buffer of its own, which so stays small whatever the document's size.
    constexpr std::size_t piece = 64 * 1024;
    XML_Status status = XML_STATUS_OK;
    std::size_t at = 0;
    do {
        const std::size_t length = std::min(piece, bytes.size() - at);
        const bool last = at + length == bytes.size();
        status = XML_Parse(b.parser, bytes.data() + at, static_cast<int>(length), last ? XML_TRUE : XML_FALSE);
        at += length;
    } while (status == XML_STATUS_OK && at < bytes.size());
    if (status != XML_STATUS_OK && b.document.problem.empty()) {
        b.document.problem = std::string("XML error at line ") +
                             std::to_string(XML_GetCurrentLineNumber(b.parser)) + ": " +
                             XML_ErrorString(XML_GetErrorCode(b.parser));
    }
    if (b.document.problem.empty() && b.document.elements.empty()) {
        b.document.problem = "The document holds no element";
    }
    return std::move(b.document);
}

}  // namespace vorelbox::spectra
