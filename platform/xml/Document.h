// XML documents: parse, select by XPath 1.0, read and write attributes, create elements and
// serialise, on libxml2.
//
// Texts cross this interface as 8-bit text in the document's text code page (936 unless the
// caller names another): element and attribute names, values, node texts, XPath expressions and
// error reasons alike. Inside, the tree is Unicode.
//
// Parsing honours the encoding the text declares. A "GB2312" declaration is read as GBK (code
// page 936), because the ERP's documents carry GBK characters under that name; "BIG5" is read
// as code page 950. A text without a declaration, or declaring UTF-8, that is not valid UTF-8 is
// read in the text code page: the module's own texts are 8-bit GBK whatever they declare.
// Whitespace-only text between elements is dropped unless ParseOptions::preserveWhiteSpace.
//
// Parsing is safe on untrusted text: nothing is fetched from the network or the file system —
// external entities and external DTDs are never loaded (a reference to an external entity makes
// the text unreadable), no validation is done, and internal entities are expanded within
// libxml2's amplification limit, so an entity bomb is refused instead of exhausting memory.
//
// Document, Node, Element and NodeList are handles. Copies of a Document share one tree; every
// node handle keeps its tree alive, so a node stays valid after the Document it came from is
// gone. Failures throw automation::Error with a readable message (for parse errors the parser's
// reason and line).
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "automation/Variant.h"
#include "os/CodePage.h"

struct _xmlNode;

namespace xml {

namespace detail {
struct Tree;
}

class Document;
class Element;
class NodeList;

enum class NodeType {
  Element,
  Attribute,
  Text,
  CData,
  EntityReference,
  ProcessingInstruction,
  Comment,
  Document,
  DocumentType,
  Other,
};

// Why a text could not be parsed. `code` is libxml2's error number, 0 when parsing succeeded.
struct ParseError {
  int code = 0;
  int line = 0;
  int column = 0;
  std::string reason;  // in the document's text code page

  bool Failed() const { return code != 0; }
  // "reason (line n)", or "" when parsing succeeded.
  std::string Text() const;
};

struct ParseOptions {
  // Code page of the texts exchanged with the document (936, 950, 437 or 65001 for UTF-8).
  int textCodePage = os::CP_GBK;
  // Keep whitespace-only text nodes between elements.
  bool preserveWhiteSpace = false;
};

// Any node of a tree: element, attribute, text, comment, the document node, ... A default Node
// is null; operations on a null node answer null, "" or empty lists, and writes throw.
class Node {
 public:
  Node() = default;

  bool IsNull() const { return node_ == nullptr; }
  explicit operator bool() const { return node_ != nullptr; }
  NodeType Type() const;
  bool IsElement() const { return !IsNull() && Type() == NodeType::Element; }
  bool IsAttribute() const { return !IsNull() && Type() == NodeType::Attribute; }

  // The node name: the qualified name of an element or attribute, the target of a processing
  // instruction, "#text", "#cdata-section", "#comment", "#document" for the others.
  std::string Name() const;

  // The text: an attribute's value, the content of a text, comment or processing instruction,
  // all the text below an element or the document.
  std::string Text() const;
  // Replaces the text: the value of an attribute; the content of a text, comment or
  // processing instruction; for an element, all its children give way to one text node
  // (handles to the former children stay valid, detached). Special characters are stored as
  // they are and escaped when serialised. Throws for a null node and the document node.
  void SetText(std::string_view text) const;

  // The parent: an attribute's element, the document node above the root element; null for
  // the document node and for nodes not (or no longer) in a tree.
  Node Parent() const;
  // Children of an element or the document in document order; empty for other nodes.
  NodeList ChildNodes() const;
  Node FirstChild() const;
  Node NextSibling() const;

  // The node as an element; null when it is not one.
  Element AsElement() const;
  // The document the node belongs to (a new, empty one for a null node).
  Document OwnerDocument() const;

  // The first node, in document order, matched by the XPath 1.0 expression evaluated with this
  // node as context node; null when none matches. Throws for an expression that does not parse
  // or that yields no node-set (a number, a text, a truth value).
  Node SelectSingleNode(std::string_view xpath) const;
  // Every node matched, in document order; empty when none matches. Throws like
  // SelectSingleNode. Namespace nodes are not returned.
  NodeList SelectNodes(std::string_view xpath) const;

  // Appends an element of the same document as last child of this element, or as root element
  // of this document node, moving it when it already has a parent; answers the child. Throws
  // when this node takes no element children, the document already has a root element, the
  // child belongs to another document or is this node or one of its ancestors.
  Node AppendChild(const Node& child) const;
  // Creates an element named `name` and appends it as AppendChild does. Throws for a name that
  // is not an XML name.
  Element AppendElement(std::string_view name) const;

  // The node serialised as XML, as 8-bit text in `codePage` (936, 950, 437 or 65001). An
  // attribute gives name="value", a text node its escaped text, the document node the same as
  // Document::Xml. Characters the code page lacks are written as character references, so the
  // text reads back unchanged. Throws for an unknown code page.
  std::string Xml(int codePage) const;
  // Xml in the document's text code page.
  std::string Xml() const;

  bool operator==(const Node& other) const { return node_ == other.node_; }

 protected:
  Node(std::shared_ptr<detail::Tree> tree, _xmlNode* node);
  std::shared_ptr<detail::Tree> tree_;
  _xmlNode* node_ = nullptr;

  friend class Document;
  friend class Element;
  friend struct NodeAccess;
};

// An element: a node with attributes.
class Element : public Node {
 public:
  Element() = default;
  // The node as an element; null when it is null or not an element.
  explicit Element(const Node& node);

  // The attribute nodes in document order (attributes added later come last).
  NodeList Attributes() const;
  // The attribute of that qualified name ("ID", "xml:lang"); null when absent. Names compare
  // with regard to case, as XML does.
  Node AttributeNode(std::string_view name) const;
  bool HasAttribute(std::string_view name) const { return !AttributeNode(name).IsNull(); }
  // The attribute's value, "" when absent.
  std::string GetAttribute(std::string_view name) const;
  // Sets the attribute, keeping its place when it exists, else adding it last. Throws for a
  // null element and for a name that is not an XML name.
  void SetAttribute(std::string_view name, std::string_view value) const;
};

// A list of nodes taken when it was asked for (later changes of the tree do not alter it).
class NodeList {
 public:
  NodeList() = default;
  explicit NodeList(std::vector<Node> nodes) : nodes_(std::move(nodes)) {}

  size_t Length() const { return nodes_.size(); }
  bool Empty() const { return nodes_.empty(); }
  // The node at `index`, null outside the list.
  Node Item(size_t index) const { return index < nodes_.size() ? nodes_[index] : Node(); }
  const Node& operator[](size_t index) const { return nodes_[index]; }
  std::vector<Node>::const_iterator begin() const { return nodes_.begin(); }
  std::vector<Node>::const_iterator end() const { return nodes_.end(); }

 private:
  std::vector<Node> nodes_;
};

class Document {
 public:
  // A new, empty document (no root element) whose texts are in code page 936.
  Document();
  // A new, empty document whose texts are in `textCodePage`; throws for an unknown code page.
  explicit Document(int textCodePage);

  // Parses 8-bit text (see the top of this file for encodings and safety). Throws
  // automation::Error "reason (line n)" when the text is not well-formed XML.
  static Document Parse(std::string_view text, const ParseOptions& options = {});
  // Parses like Parse but never throws for a text that does not parse: the document is then
  // empty and LastParseError() says why.
  static Document TryParse(std::string_view text, const ParseOptions& options = {});
  // Parses the file `path` (a path in the text code page; "\" reads as "/"). Throws when the
  // file cannot be read or does not parse.
  static Document ParseFile(std::string_view path, const ParseOptions& options = {});
  static Document TryParseFile(std::string_view path, const ParseOptions& options = {});

  int TextCodePage() const;
  // The outcome of the parse that made this document; no failure for created documents.
  const xml::ParseError& LastParseError() const;

  // The root element; null when the document has none.
  Element DocumentElement() const;
  // The document node, for the operations of Node (selection from the top, AppendChild).
  Node AsNode() const;

  // A new element of this document, not yet in the tree (see Node::AppendChild). Throws for a
  // name that is not an XML name.
  Element CreateElement(std::string_view name) const;

  Node SelectSingleNode(std::string_view xpath) const { return AsNode().SelectSingleNode(xpath); }
  NodeList SelectNodes(std::string_view xpath) const { return AsNode().SelectNodes(xpath); }

  // The whole document as 8-bit text in `codePage`: an XML declaration naming the code page
  // ("GB2312" for 936, "BIG5" for 950, "IBM437" for 437, "UTF-8"), then the document's nodes,
  // each on its own line. "" for an empty document. Throws for an unknown code page.
  std::string Xml(int codePage) const;
  std::string Xml() const;

  bool operator==(const Document& other) const { return tree_ == other.tree_; }

 private:
  explicit Document(std::shared_ptr<detail::Tree> tree) : tree_(std::move(tree)) {}
  std::shared_ptr<detail::Tree> tree_;

  friend class Node;
};

}  // namespace xml
