#include "xml/Document.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlsave.h>
#include <libxml/xpath.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <mutex>
#include <sstream>

#include "os/Paths.h"

namespace xml {

namespace detail {

// One libxml2 document and the nodes made for it that are not (or no longer) in its tree.
struct Tree {
  xmlDocPtr doc = nullptr;
  int textCodePage = os::CP_GBK;
  ParseError parseError;
  std::vector<xmlNodePtr> detached;

  Tree(xmlDocPtr document, int codePage) : doc(document), textCodePage(codePage) {
    // The tree holds UTF-8. Without a named encoding libxml2 would write every non-ASCII
    // character of an attribute value as a character reference.
    if (!doc->encoding) doc->encoding = xmlStrdup(BAD_CAST "UTF-8");
  }
  Tree(const Tree&) = delete;
  Tree& operator=(const Tree&) = delete;

  ~Tree() {
    // A detached node may since have been put into the tree or below another detached node;
    // only those still without parent are freed here, the others go with their parent. All
    // parents are read before anything is freed.
    std::sort(detached.begin(), detached.end());
    detached.erase(std::unique(detached.begin(), detached.end()), detached.end());
    std::vector<xmlNodePtr> loose;
    for (xmlNodePtr node : detached)
      if (node->parent == nullptr) loose.push_back(node);
    for (xmlNodePtr node : loose)
      xmlFreeNode(node);  // before the document: names are in its dictionary
    xmlFreeDoc(doc);
  }

  void Detach(xmlNodePtr node) { detached.push_back(node); }
};

}  // namespace detail

using detail::Tree;

// Builds handles from the inside of this file.
struct NodeAccess {
  static Node Make(const std::shared_ptr<Tree>& tree, xmlNodePtr node) {
    return node ? Node(tree, node) : Node();
  }
  static Element MakeElement(const std::shared_ptr<Tree>& tree, xmlNodePtr node) {
    return Element(Make(tree, node));
  }
};

namespace {

// ---- set-up ---------------------------------------------------------------------------------

thread_local int t_parsing = 0;  // inside one of our parses on this thread
xmlExternalEntityLoader g_previousLoader = nullptr;

// Nothing outside the text is ever read while we parse. The parser is already kept from
// declaring external entities and loading external DTDs; this loader refuses whatever else
// might ask.
xmlParserInputPtr RefusingLoader(const char* url, const char* id, xmlParserCtxtPtr context) {
  if (t_parsing > 0) return nullptr;
  return g_previousLoader ? g_previousLoader(url, id, context) : nullptr;
}

void InitLibrary() {
  static std::once_flag once;
  std::call_once(once, [] {
    xmlInitParser();
    g_previousLoader = xmlGetExternalEntityLoader();
    xmlSetExternalEntityLoader(RefusingLoader);
  });
}

// ---- texts ----------------------------------------------------------------------------------

void CheckCodePage(int codePage) {
  if (!os::IsKnownCodePage(codePage))
    throw automation::Error("Unknown code page " + std::to_string(codePage));
}

std::string ToUtf8(std::string_view text, int codePage) {
  if (text.empty()) return {};
  return os::WideToUtf8(os::AnsiToWide(text, codePage));
}

std::string FromUtf8(const xmlChar* text, int codePage) {
  if (!text || !*text) return {};
  return os::WideToAnsi(os::Utf8ToWide(reinterpret_cast<const char*>(text)), codePage);
}

// libxml2 gives texts it allocated; this takes them over.
std::string TakeUtf8(xmlChar* text, int codePage) {
  std::string result = FromUtf8(text, codePage);
  if (text) xmlFree(text);
  return result;
}

const xmlChar* X(const std::string& text) {
  return reinterpret_cast<const xmlChar*>(text.c_str());
}

bool IsValidUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    size_t extra = 0;
    unsigned min = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      extra = 1, min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2, min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
      extra = 3, min = 0x10000;
    } else {
      return false;
    }
    if (i + extra >= text.size()) return false;
    unsigned value = c & (0x3F >> extra);
    for (size_t k = 1; k <= extra; ++k) {
      const unsigned char t = static_cast<unsigned char>(text[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      value = (value << 6) | (t & 0x3F);
    }
    if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

std::string Upper(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return result;
}

// The encoding named by the XML declaration at the start of the text; "" when there is none.
std::string DeclaredEncoding(std::string_view text) {
  if (text.substr(0, 5) != "<?xml") return {};
  const size_t end = text.find("?>");
  if (end == std::string_view::npos) return {};
  const std::string_view decl = text.substr(0, end);
  size_t at = 5;
  while ((at = decl.find("encoding", at)) != std::string_view::npos) {
    const bool word = std::isspace(static_cast<unsigned char>(decl[at - 1]));
    at += 8;
    if (!word) continue;
    size_t p = at;
    while (p < decl.size() && std::isspace(static_cast<unsigned char>(decl[p]))) ++p;
    if (p >= decl.size() || decl[p] != '=') continue;
    ++p;
    while (p < decl.size() && std::isspace(static_cast<unsigned char>(decl[p]))) ++p;
    if (p >= decl.size() || (decl[p] != '"' && decl[p] != '\'')) return {};
    const size_t close = decl.find(decl[p], p + 1);
    if (close == std::string_view::npos) return {};
    return std::string(decl.substr(p + 1, close - p - 1));
  }
  return {};
}

// The encoding the parser is told to read the text in, the declaration being ignored; "" lets
// libxml2 follow the declaration.
std::string ReadingEncoding(std::string_view text, int textCodePage) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") return "UTF-8";
  if (text.substr(0, 2) == "\xFF\xFE" || text.substr(0, 2) == "\xFE\xFF") return {};
  const std::string declared = DeclaredEncoding(text);
  const std::string name = Upper(declared);
  if (name.empty() || name == "UTF-8" || name == "UTF8") {
    if (IsValidUtf8(text)) return "UTF-8";
    return os::CodePageName(textCodePage);
  }
  // Documents labelled GB2312 hold GBK characters; BIG5 means Microsoft's code page 950.
  static const char* const gbk[] = {"GB2312", "GBK",      "CP936",       "X-GBK", "GB_2312-80",
                                    "EUC-CN", "CSGB2312", "WINDOWS-936", "MS936"};
  static const char* const big5[] = {"BIG5",   "BIG-5",       "CP950", "X-X-BIG5",
                                     "CSBIG5", "WINDOWS-950", "MS950"};
  for (const char* n : gbk)
    if (name == n) return "CP936";
  for (const char* n : big5)
    if (name == n) return "CP950";
  return {};  // libxml2 reads the declaration itself and refuses names it does not know
}

// ---- errors ---------------------------------------------------------------------------------

// The first error libxml2 reports while it is installed on this thread, instead of the
// standard error output.
class ErrorCapture {
 public:
  ErrorCapture() : previous_(xmlStructuredError), previousData_(xmlStructuredErrorContext) {
    xmlSetStructuredErrorFunc(this, &ErrorCapture::Handler);
  }
  ~ErrorCapture() { xmlSetStructuredErrorFunc(previousData_, previous_); }
  ErrorCapture(const ErrorCapture&) = delete;
  ErrorCapture& operator=(const ErrorCapture&) = delete;

  static void Handler(void* data, xmlErrorPtr error) {
    auto* self = static_cast<ErrorCapture*>(data);
    if (!error || error->level < XML_ERR_ERROR || self->code != 0) return;
    self->code = error->code ? error->code : -1;
    self->line = error->line;
    self->column = error->int2;
    self->message = error->message ? error->message : "";
    while (!self->message.empty() && std::isspace(static_cast<unsigned char>(self->message.back())))
      self->message.pop_back();
  }

  int code = 0;
  int line = 0;
  int column = 0;
  std::string message;

 private:
  xmlStructuredErrorFunc previous_;
  void* previousData_;
};

// ---- parsing --------------------------------------------------------------------------------

struct ParseState {
  void (*entityDecl)(void*, const xmlChar*, int, const xmlChar*, const xmlChar*, xmlChar*);
  bool droppedExternal = false;
};

// External entities (general and parameter) are not declared at all: a reference to one is
// then an undeclared entity, and nothing is read from where it points.
void FilterEntityDecl(void* ctx, const xmlChar* name, int type, const xmlChar* publicId,
                      const xmlChar* systemId, xmlChar* content) {
  auto* context = static_cast<xmlParserCtxtPtr>(ctx);
  auto* state = static_cast<ParseState*>(context->_private);
  if (type == XML_EXTERNAL_GENERAL_PARSED_ENTITY || type == XML_EXTERNAL_PARAMETER_ENTITY) {
    state->droppedExternal = true;
    return;
  }
  state->entityDecl(ctx, name, type, publicId, systemId, content);
}

// The external DTD named by a document type declaration is never loaded.
void IgnoreExternalSubset(void*, const xmlChar*, const xmlChar*, const xmlChar*) {}

struct ParseScope {
  ParseScope() { ++t_parsing; }
  ~ParseScope() { --t_parsing; }
};

std::shared_ptr<Tree> ParseTree(std::string_view text, const ParseOptions& options,
                                const char* url) {
  InitLibrary();
  CheckCodePage(options.textCodePage);
  const int cp = options.textCodePage;
  auto failed = [cp](int code, int line, int column, const std::string& utf8Reason) {
    auto tree = std::make_shared<Tree>(xmlNewDoc(BAD_CAST "1.0"), cp);
    tree->parseError.code = code;
    tree->parseError.line = line;
    tree->parseError.column = column;
    tree->parseError.reason = FromUtf8(X(utf8Reason), cp);
    return tree;
  };
  if (text.empty()) return failed(XML_ERR_DOCUMENT_EMPTY, 1, 1, "Document is empty");
  if (text.size() > static_cast<size_t>(INT32_MAX))
    return failed(XML_ERR_NO_MEMORY, 0, 0, "Document is too large");

  const std::string encoding = ReadingEncoding(text, cp);
  // Internal entities are substituted (the portal's answers declare one and use it in values);
  // external ones never get declared (FilterEntityDecl). Never XML_PARSE_HUGE: libxml2's
  // amplification limit is what refuses entity bombs. No DTD loading, no validation.
  int flags = XML_PARSE_NONET | XML_PARSE_NOENT;
  if (!options.preserveWhiteSpace) flags |= XML_PARSE_NOBLANKS;
  if (!encoding.empty()) flags |= XML_PARSE_IGNORE_ENC;

  ErrorCapture errors;
  ParseScope scope;
  xmlParserCtxtPtr context = xmlNewParserCtxt();
  if (!context) return failed(XML_ERR_NO_MEMORY, 0, 0, "Out of memory");
  ParseState state{context->sax->entityDecl};
  context->_private = &state;
  context->sax->entityDecl = FilterEntityDecl;
  context->sax->externalSubset = IgnoreExternalSubset;
  xmlDocPtr doc = xmlCtxtReadMemory(context, text.data(), static_cast<int>(text.size()), url,
                                    encoding.empty() ? nullptr : encoding.c_str(), flags);
  const bool wellFormed = doc != nullptr && context->wellFormed;
  xmlErrorPtr last = xmlCtxtGetLastError(context);
  const int lastCode = last ? last->code : 0;
  const int lastLine = last ? last->line : 0;
  xmlFreeParserCtxt(context);

  if (!wellFormed) {
    if (doc) xmlFreeDoc(doc);
    std::string reason = errors.message;
    int code = errors.code, line = errors.line, column = errors.column;
    if (line == 0) line = lastLine;  // conversion errors are raised without a position
    if (code == 0) {
      code = lastCode ? lastCode : XML_ERR_DOCUMENT_END;
      reason = "The text is not well-formed XML";
    }
    if (state.droppedExternal &&
        (code == XML_ERR_UNDECLARED_ENTITY || code == XML_WAR_UNDECLARED_ENTITY))
      reason += " (external entities are not loaded)";
    return failed(code, line, column, reason);
  }
  return std::make_shared<Tree>(doc, cp);
}

std::string ReadFile(const std::string& path, bool* ok) {
  std::ifstream in(path, std::ios::binary);
  *ok = static_cast<bool>(in);
  if (!*ok) return {};
  std::ostringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

// ---- nodes ----------------------------------------------------------------------------------

std::string QualifiedName(const xmlChar* name, xmlNsPtr ns) {
  std::string result;
  if (ns && ns->prefix) {
    result = reinterpret_cast<const char*>(ns->prefix);
    result += ':';
  }
  if (name) result += reinterpret_cast<const char*>(name);
  return result;
}

bool IsDocumentNode(xmlNodePtr node) {
  return node->type == XML_DOCUMENT_NODE || node->type == XML_HTML_DOCUMENT_NODE;
}

bool TakesChildren(xmlNodePtr node) {
  return node->type == XML_ELEMENT_NODE || IsDocumentNode(node);
}

void CheckName(const std::string& utf8, std::string_view name, const char* what) {
  if (utf8.empty() || xmlValidateName(X(utf8), 0) != 0)
    throw automation::Error("'" + std::string(name) + "' is not a valid " + what + " name");
}

// The node serialised in the encoding; no XML declaration.
std::string Dump(xmlNodePtr node, int codePage) {
  CheckCodePage(codePage);
  InitLibrary();
  ErrorCapture errors;
  xmlBufferPtr buffer = xmlBufferCreate();
  if (!buffer) throw automation::Error("Out of memory");
  std::string result;
  xmlSaveCtxtPtr save = xmlSaveToBuffer(buffer, os::CodePageName(codePage), XML_SAVE_NO_DECL);
  if (save) {
    xmlSaveTree(save, node);
    xmlSaveClose(save);
    result.assign(reinterpret_cast<const char*>(xmlBufferContent(buffer)),
                  static_cast<size_t>(xmlBufferLength(buffer)));
  }
  xmlBufferFree(buffer);
  if (!save) throw automation::Error("Cannot write XML in code page " + std::to_string(codePage));
  return result;
}

const char* DeclarationEncoding(int codePage) {
  switch (codePage) {
    case os::CP_GBK:
      return "GB2312";
    case os::CP_BIG5:
      return "BIG5";
    case os::CP_US:
      return "IBM437";
    default:
      return "UTF-8";
  }
}

NodeList Evaluate(const std::shared_ptr<Tree>& tree, xmlNodePtr node, std::string_view xpath,
                  bool firstOnly) {
  InitLibrary();
  const std::string expr = ToUtf8(xpath, tree->textCodePage);
  ErrorCapture errors;
  xmlXPathContextPtr context = xmlXPathNewContext(tree->doc);
  if (!context) throw automation::Error("Out of memory");
  context->node = node;
  context->error = &ErrorCapture::Handler;
  context->userData = &errors;
  xmlXPathObjectPtr result = xmlXPathEvalExpression(X(expr), context);
  xmlXPathFreeContext(context);
  if (!result) {
    std::string reason = errors.message.empty() ? "Invalid expression" : errors.message;
    throw automation::Error(FromUtf8(X(reason + ": " + expr), tree->textCodePage));
  }
  if (result->type != XPATH_NODESET) {
    xmlXPathFreeObject(result);
    throw automation::Error(
        FromUtf8(X("The expression does not select nodes: " + expr), tree->textCodePage));
  }
  std::vector<Node> nodes;
  if (xmlNodeSetPtr set = result->nodesetval) {
    for (int i = 0; i < set->nodeNr; ++i) {
      xmlNodePtr found = set->nodeTab[i];
      // Namespace nodes of a node-set are copies that die with it.
      if (!found || found->type == XML_NAMESPACE_DECL) continue;
      nodes.push_back(NodeAccess::Make(tree, found));
      if (firstOnly) break;
    }
  }
  xmlXPathFreeObject(result);
  return NodeList(std::move(nodes));
}

}  // namespace

// ---- ParseError -------------------------------------------------------------------------------

std::string ParseError::Text() const {
  if (!Failed()) return {};
  return reason + " (line " + std::to_string(line) + ")";
}

// ---- Node -------------------------------------------------------------------------------------

Node::Node(std::shared_ptr<Tree> tree, xmlNodePtr node) : tree_(std::move(tree)), node_(node) {}

NodeType Node::Type() const {
  if (!node_) return NodeType::Other;
  switch (node_->type) {
    case XML_ELEMENT_NODE:
      return NodeType::Element;
    case XML_ATTRIBUTE_NODE:
      return NodeType::Attribute;
    case XML_TEXT_NODE:
      return NodeType::Text;
    case XML_CDATA_SECTION_NODE:
      return NodeType::CData;
    case XML_ENTITY_REF_NODE:
      return NodeType::EntityReference;
    case XML_PI_NODE:
      return NodeType::ProcessingInstruction;
    case XML_COMMENT_NODE:
      return NodeType::Comment;
    case XML_DOCUMENT_NODE:
    case XML_HTML_DOCUMENT_NODE:
      return NodeType::Document;
    case XML_DTD_NODE:
    case XML_DOCUMENT_TYPE_NODE:
      return NodeType::DocumentType;
    default:
      return NodeType::Other;
  }
}

std::string Node::Name() const {
  if (!node_) return {};
  switch (node_->type) {
    case XML_ELEMENT_NODE:
    case XML_ATTRIBUTE_NODE:
      return FromUtf8(X(QualifiedName(node_->name, node_->ns)), tree_->textCodePage);
    case XML_TEXT_NODE:
      return "#text";
    case XML_CDATA_SECTION_NODE:
      return "#cdata-section";
    case XML_COMMENT_NODE:
      return "#comment";
    case XML_DOCUMENT_NODE:
    case XML_HTML_DOCUMENT_NODE:
      return "#document";
    default:
      return FromUtf8(node_->name, tree_->textCodePage);
  }
}

std::string Node::Text() const {
  if (!node_) return {};
  return TakeUtf8(xmlNodeGetContent(node_), tree_->textCodePage);
}

void Node::SetText(std::string_view text) const {
  if (!node_) throw automation::Error("Cannot set the text of a null node");
  const std::string utf8 = ToUtf8(text, tree_->textCodePage);
  switch (node_->type) {
    case XML_ELEMENT_NODE: {
      for (xmlNodePtr child = node_->children; child;) {
        xmlNodePtr next = child->next;
        xmlUnlinkNode(child);
        tree_->Detach(child);
        child = next;
      }
      if (!utf8.empty()) xmlAddChild(node_, xmlNewDocText(tree_->doc, X(utf8)));
      return;
    }
    case XML_ATTRIBUTE_NODE: {
      auto* attr = reinterpret_cast<xmlAttrPtr>(node_);
      xmlSetNsProp(attr->parent, attr->ns, attr->name, X(utf8));
      return;
    }
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_COMMENT_NODE:
    case XML_PI_NODE:
      xmlNodeSetContent(node_, X(utf8));  // stored as it is for these kinds
      return;
    default:
      throw automation::Error("Cannot set the text of " + Name());
  }
}

Node Node::Parent() const {
  if (!node_ || IsDocumentNode(node_)) return {};
  return NodeAccess::Make(tree_, node_->parent);
}

NodeList Node::ChildNodes() const {
  std::vector<Node> nodes;
  if (node_ && TakesChildren(node_))
    for (xmlNodePtr child = node_->children; child; child = child->next)
      nodes.push_back(NodeAccess::Make(tree_, child));
  return NodeList(std::move(nodes));
}

Node Node::FirstChild() const {
  if (!node_ || !TakesChildren(node_)) return {};
  return NodeAccess::Make(tree_, node_->children);
}

Node Node::NextSibling() const {
  if (!node_ || IsDocumentNode(node_)) return {};
  return NodeAccess::Make(tree_, node_->next);
}

Element Node::AsElement() const {
  return Element(*this);
}

Document Node::OwnerDocument() const {
  return tree_ ? Document(tree_) : Document();
}

Node Node::SelectSingleNode(std::string_view xpath) const {
  if (!node_) return {};
  return Evaluate(tree_, node_, xpath, true).Item(0);
}

NodeList Node::SelectNodes(std::string_view xpath) const {
  if (!node_) return {};
  return Evaluate(tree_, node_, xpath, false);
}

Node Node::AppendChild(const Node& child) const {
  if (!node_ || !TakesChildren(node_))
    throw automation::Error("Cannot append a child to " + (node_ ? Name() : "a null node"));
  if (!child.IsElement()) throw automation::Error("Only elements can be appended");
  if (child.tree_ != tree_) throw automation::Error("The element belongs to another document");
  for (xmlNodePtr up = node_; up; up = up->parent)
    if (up == child.node_) throw automation::Error("An element cannot be appended below itself");
  if (IsDocumentNode(node_)) {
    xmlNodePtr root = xmlDocGetRootElement(tree_->doc);
    if (root && root != child.node_)
      throw automation::Error("The document already has a root element");
  }
  if (child.node_->parent) xmlUnlinkNode(child.node_);
  xmlAddChild(node_, child.node_);  // elements are never merged, so the handle stays valid
  return child;
}

Element Node::AppendElement(std::string_view name) const {
  if (!node_ || !TakesChildren(node_))
    throw automation::Error("Cannot append a child to " + (node_ ? Name() : "a null node"));
  return NodeAccess::MakeElement(tree_, AppendChild(OwnerDocument().CreateElement(name)).node_);
}

std::string Node::Xml(int codePage) const {
  if (!node_) return {};
  if (IsDocumentNode(node_)) return OwnerDocument().Xml(codePage);
  std::string text = Dump(node_, codePage);
  if (node_->type == XML_ATTRIBUTE_NODE && !text.empty() && text[0] == ' ') text.erase(0, 1);
  return text;
}

std::string Node::Xml() const {
  return node_ ? Xml(tree_->textCodePage) : std::string();
}

// ---- Element ----------------------------------------------------------------------------------

Element::Element(const Node& node) {
  if (node.IsElement()) {
    tree_ = node.tree_;
    node_ = node.node_;
  }
}

NodeList Element::Attributes() const {
  std::vector<Node> nodes;
  if (node_)
    for (xmlAttrPtr attr = node_->properties; attr; attr = attr->next)
      nodes.push_back(NodeAccess::Make(tree_, reinterpret_cast<xmlNodePtr>(attr)));
  return NodeList(std::move(nodes));
}

Node Element::AttributeNode(std::string_view name) const {
  if (!node_) return {};
  const std::string wanted = ToUtf8(name, tree_->textCodePage);
  for (xmlAttrPtr attr = node_->properties; attr; attr = attr->next)
    if (QualifiedName(attr->name, attr->ns) == wanted)
      return NodeAccess::Make(tree_, reinterpret_cast<xmlNodePtr>(attr));
  return {};
}

std::string Element::GetAttribute(std::string_view name) const {
  return AttributeNode(name).Text();
}

void Element::SetAttribute(std::string_view name, std::string_view value) const {
  if (!node_) throw automation::Error("Cannot set an attribute of a null element");
  if (Node existing = AttributeNode(name)) {
    existing.SetText(value);
    return;
  }
  const std::string utf8Name = ToUtf8(name, tree_->textCodePage);
  CheckName(utf8Name, name, "attribute");
  const std::string utf8Value = ToUtf8(value, tree_->textCodePage);
  if (!xmlSetProp(node_, X(utf8Name), X(utf8Value)))
    throw automation::Error("Cannot set the attribute " + std::string(name));
}

// ---- Document ---------------------------------------------------------------------------------

Document::Document() : Document(os::CP_GBK) {}

Document::Document(int textCodePage) {
  CheckCodePage(textCodePage);
  InitLibrary();
  xmlDocPtr doc = xmlNewDoc(BAD_CAST "1.0");
  if (!doc) throw automation::Error("Out of memory");
  tree_ = std::make_shared<Tree>(doc, textCodePage);
}

Document Document::TryParse(std::string_view text, const ParseOptions& options) {
  return Document(ParseTree(text, options, nullptr));
}

Document Document::Parse(std::string_view text, const ParseOptions& options) {
  Document doc = TryParse(text, options);
  if (doc.LastParseError().Failed()) throw automation::Error(doc.LastParseError().Text());
  return doc;
}

Document Document::TryParseFile(std::string_view path, const ParseOptions& options) {
  CheckCodePage(options.textCodePage);
  const std::string file = ToUtf8(os::NativePath(path), options.textCodePage);
  bool ok = false;
  const std::string text = ReadFile(file, &ok);
  if (!ok) {
    auto tree = std::make_shared<Tree>(xmlNewDoc(BAD_CAST "1.0"), options.textCodePage);
    tree->parseError.code = XML_IO_LOAD_ERROR;
    tree->parseError.reason = "Cannot open the file " + std::string(path);
    return Document(tree);
  }
  return Document(ParseTree(text, options, file.c_str()));
}

Document Document::ParseFile(std::string_view path, const ParseOptions& options) {
  Document doc = TryParseFile(path, options);
  if (doc.LastParseError().Failed()) throw automation::Error(doc.LastParseError().Text());
  return doc;
}

int Document::TextCodePage() const {
  return tree_->textCodePage;
}

const ParseError& Document::LastParseError() const {
  return tree_->parseError;
}

Element Document::DocumentElement() const {
  return NodeAccess::MakeElement(tree_, xmlDocGetRootElement(tree_->doc));
}

Node Document::AsNode() const {
  return NodeAccess::Make(tree_, reinterpret_cast<xmlNodePtr>(tree_->doc));
}

Element Document::CreateElement(std::string_view name) const {
  const std::string utf8 = ToUtf8(name, tree_->textCodePage);
  CheckName(utf8, name, "element");
  xmlNodePtr node = xmlNewDocNode(tree_->doc, nullptr, X(utf8), nullptr);
  if (!node) throw automation::Error("Out of memory");
  tree_->Detach(node);
  return NodeAccess::MakeElement(tree_, node);
}

std::string Document::Xml(int codePage) const {
  CheckCodePage(codePage);
  if (!tree_->doc->children) return {};
  std::string text = "<?xml version=\"1.0\" encoding=\"";
  text += DeclarationEncoding(codePage);
  text += "\"?>\n";
  text += Dump(reinterpret_cast<xmlNodePtr>(tree_->doc), codePage);
  return text;
}

std::string Document::Xml() const {
  return Xml(tree_->textCodePage);
}

}  // namespace xml
