#pragma once
// A small XML document model for the N42 reader, parsed by expat (the libexpat
// of the system): elements with their local names (namespace prefixes resolved
// and dropped), attributes, and the character data directly inside each element
// (entities and character references resolved, CDATA sections taken as text,
// comments and processing instructions passed over). A document that declares
// entities of its own is refused, and at most MAX_XML_ELEMENTS elements are
// kept, so that a hostile file cannot make the program take much memory.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vorelbox::spectra {

// Real N42 files hold a few thousand elements; 153 one-second measurements take 2,633.
inline constexpr std::size_t MAX_XML_ELEMENTS = 200000;

struct XmlElement {
    std::string name;  // local name: "Spectrum" of "n42:Spectrum"
    std::vector<std::pair<std::string, std::string>> attributes;  // local names
    std::string text;  // the character data directly inside the element
    int parent = -1;
    std::vector<int> children;
};

struct XmlDocument {
    std::vector<XmlElement> elements;  // elements[0] is the root
    std::string problem;               // why the bytes are no document; empty when parsed

    bool ok() const { return problem.empty() && !elements.empty(); }
    const XmlElement& root() const { return elements.front(); }
    const XmlElement& parent(const XmlElement& e) const { return elements[static_cast<std::size_t>(e.parent)]; }
    // The first child of that local name, nullptr when there is none.
    const XmlElement* child(const XmlElement& e, std::string_view name) const;
    std::vector<const XmlElement*> children(const XmlElement& e, std::string_view name) const;
    // Every element of that name below `e`, in document order.
    std::vector<const XmlElement*> descendants(const XmlElement& e, std::string_view name) const;
    // The text of the first child of that name, trimmed; empty when there is none.
    std::string child_text(const XmlElement& e, std::string_view name) const;
};

// The value of the attribute of that local name, or empty.
std::string_view attribute(const XmlElement& e, std::string_view name);

XmlDocument parse_xml(std::string_view bytes);

}  // namespace vorelbox::spectra
