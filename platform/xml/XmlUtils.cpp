#include "xml/XmlUtils.h"

namespace xml {

Document CreateXmlDocument() {
  return Document(os::CP_GBK);
}

Document NewXmlDocument() {
  return CreateXmlDocument();
}

Document LoadXmlText(std::string_view text) {
  ParseOptions options;
  options.textCodePage = os::CP_GBK;
  return Document::TryParse(text, options);
}

Node SelectChild(const Node& node, std::string_view path, bool create) {
  if (node.IsNull()) return {};
  if (Node found = node.SelectSingleNode(path)) return found;
  if (!create) return {};
  return node.AppendElement(path);
}

std::string GetAttrText(const Node& element, std::string_view name) {
  return element.AsElement().GetAttribute(name);
}

void SetAttrText(const Node& element, std::string_view name, std::string_view value) {
  Element target = element.AsElement();
  if (target.IsNull())
    throw automation::Error("SetAttrText: " + (element.IsNull()
                                                   ? std::string("no element")
                                                   : element.Name() + " is not an element"));
  target.SetAttribute(name, value);
}

std::string AttributeNodeText(const Node& node) {
  return node.IsAttribute() ? node.Text() : std::string();
}

}  // namespace xml
