// The small XML utilities the module's windows use on top of the document layer: the recipients
// dialog and the portal user picker build and read documents with them, the language packs read
// single attributes.
//
// Documents made here exchange their texts as 8-bit GBK text (code page 936), the module's own
// text. Parsing never validates and never loads anything from outside the text (see
// xml/Document.h).
#pragma once

#include <string>
#include <string_view>

#include "xml/Document.h"

namespace xml {

// A new, empty document (no root element); texts in code page 936.
Document CreateXmlDocument();

// A new document with validation on parse switched off, as every document here is: the same as
// CreateXmlDocument.
Document NewXmlDocument();

// A new document holding the parsed text. The outcome of parsing is not checked: a text that is
// not XML (empty, "N", broken) gives a document without root element, whose LastParseError()
// says why. Never throws for the text.
Document LoadXmlText(std::string_view text);

// The first node below `node` matched by the XPath expression `path`, or a null node. When none
// matches and `create` is true, a new element named `path` is appended to `node` as its last
// child and answered. A null `node` answers a null node. Throws automation::Error for a path
// that is not an XPath expression, and, when an element must be made, for a path that is not an
// element name or a node that takes no children.
Node SelectChild(const Node& node, std::string_view path, bool create);

// The value of the attribute `name` of the element; "" when the attribute is absent or the node
// is null or not an element.
std::string GetAttrText(const Node& element, std::string_view name);

// Sets the attribute `name` of the element (added last when new). Throws automation::Error when
// the node is null or not an element, or `name` is not an attribute name.
void SetAttrText(const Node& element, std::string_view name, std::string_view value);

// The text of the node when it is an attribute node (its value), otherwise "".
std::string AttributeNodeText(const Node& node);

}  // namespace xml
