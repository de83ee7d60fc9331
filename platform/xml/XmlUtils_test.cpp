#include "xml/XmlUtils.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using xml::Node;

std::string Gbk(const char16_t* text) {
  return os::WideToAnsi(text, os::CP_GBK);
}

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"GB2312\"?>";

TEST(XmlUtils, LoadXmlTextNeverRaisesForTextThatIsNotXml) {
  for (const char* text : {"", "N", "<Root>", "plain text", "<Root><R1></Root>"}) {
    xml::Document doc;
    ASSERT_NO_THROW(doc = xml::LoadXmlText(text)) << text;
    EXPECT_TRUE(doc.DocumentElement().IsNull()) << text;
    EXPECT_TRUE(doc.LastParseError().Failed()) << text;
    EXPECT_TRUE(xml::SelectChild(doc.DocumentElement(), "R1", false).IsNull());
  }
  const xml::Document doc =
      xml::LoadXmlText(kDeclaration + "<Root><R1 ID=\"" + Gbk(u"张三") + "\"/></Root>");
  EXPECT_EQ(doc.TextCodePage(), os::CP_GBK);
  EXPECT_EQ(xml::GetAttrText(xml::SelectChild(doc.DocumentElement(), "R1", false), "ID"),
            Gbk(u"张三"));
}

TEST(XmlUtils, CreatedDocumentsAreEmpty) {
  for (const xml::Document& doc : {xml::CreateXmlDocument(), xml::NewXmlDocument()}) {
    EXPECT_TRUE(doc.DocumentElement().IsNull());
    EXPECT_EQ(doc.TextCodePage(), os::CP_GBK);
    EXPECT_EQ(doc.Xml(), "");
  }
  EXPECT_FALSE(xml::CreateXmlDocument() == xml::CreateXmlDocument());
}

TEST(XmlUtils, SelectChildFindsOrCreatesTheFirstMatch) {
  const xml::Document doc =
      xml::LoadXmlText("<Root><R1 ID=\"a\"/><R2 ID=\"b\"/><R2 ID=\"c\"/></Root>");
  const Node root = doc.DocumentElement();
  EXPECT_EQ(xml::GetAttrText(xml::SelectChild(root, "R2", false), "ID"), "b");
  EXPECT_EQ(xml::SelectChild(root, "R1/@ID", false).Text(), "a");  // any XPath
  EXPECT_TRUE(xml::SelectChild(root, "R3", false).IsNull());
  EXPECT_EQ(root.ChildNodes().Length(), 3u);

  const Node made = xml::SelectChild(root, "R3", true);
  ASSERT_TRUE(made.IsElement());
  EXPECT_EQ(made.Name(), "R3");
  EXPECT_EQ(made.Parent(), root);
  EXPECT_EQ(root.ChildNodes().Item(3), made);           // last child
  EXPECT_EQ(xml::SelectChild(root, "R3", true), made);  // found the second time, not made again
  EXPECT_EQ(root.ChildNodes().Length(), 4u);

  EXPECT_TRUE(xml::SelectChild(Node(), "R1", true).IsNull());
  EXPECT_THROW(xml::SelectChild(root, "R[", false), automation::Error);
  EXPECT_THROW(xml::SelectChild(root, "R9/X", true), automation::Error);  // no element name
  EXPECT_THROW(xml::SelectChild(root.SelectSingleNode("R1/@ID"), "X", true), automation::Error);
}

TEST(XmlUtils, AttributeTextsReadAndWrite) {
  const xml::Document doc = xml::LoadXmlText("<Root a=\"1\"><R1/>text</Root>");
  const Node root = doc.DocumentElement();
  struct {
    Node node;
    const char* name;
    std::string expected;
  } reads[] = {
      {root, "a", "1"},
      {root, "missing", ""},
      {Node(), "a", ""},
      {root.SelectSingleNode("text()"), "a", ""},
      {root.SelectSingleNode("@a"), "a", ""},
  };
  for (const auto& r : reads) EXPECT_EQ(xml::GetAttrText(r.node, r.name), r.expected) << r.name;

  xml::SetAttrText(root, "a", Gbk(u"确定"));
  xml::SetAttrText(root, "b", "");
  EXPECT_EQ(xml::GetAttrText(root, "a"), Gbk(u"确定"));
  EXPECT_TRUE(root.AsElement().HasAttribute("b"));
  EXPECT_THROW(xml::SetAttrText(Node(), "a", "x"), automation::Error);
  EXPECT_THROW(xml::SetAttrText(root.SelectSingleNode("text()"), "a", "x"), automation::Error);
  EXPECT_THROW(xml::SetAttrText(root, "not a name", "x"), automation::Error);
}

TEST(XmlUtils, AttributeNodeTextOnlyReadsAttributes) {
  // A language pack read the way message texts are taken from it.
  const xml::Document pack =
      xml::LoadXmlText(kDeclaration + "<TfrmBaseBatch><sReason Msg=\"" + Gbk(u"有问题! 原因: ") +
                       "\">inner</sReason><sOver/></TfrmBaseBatch>");
  const Node root = pack.DocumentElement();
  struct {
    const char* xpath;
    std::string expected;
  } cases[] = {
      {"//sReason/@Msg", Gbk(u"有问题! 原因: ")},
      {"//sOver/@Msg", ""},  // no Msg attribute: a null node
      {"//sReason", ""},     // an element, not an attribute
      {"//sReason/text()", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(xml::AttributeNodeText(root.SelectSingleNode(c.xpath)), c.expected) << c.xpath;
}

TEST(XmlUtils, ReceiverDocumentIsBuiltAndReadBack) {
  // Built as the recipients dialog builds it: attributes in the order written, optional ones
  // left out, the declaration in front of the root's text in the client's code page.
  const xml::Document doc = xml::LoadXmlText(kDeclaration + "<Root/>");
  const Node root = doc.DocumentElement();
  const Node r1 = xml::SelectChild(root, "R1", true);
  xml::SetAttrText(r1, "ID", "001");
  xml::SetAttrText(r1, "Name", Gbk(u"张三"));
  xml::SetAttrText(r1, "Msg", "YNY");
  const Node r2 = xml::SelectChild(root, "R2", true);
  xml::SetAttrText(r2, "ID", "002");
  xml::SetAttrText(r2, "Name", "");
  xml::SetAttrText(r2, "Mail", "a&b@example.com");
  xml::SetAttrText(r2, "Type", "5");
  xml::SetAttrText(r2, "Msg", "YNN");
  const std::string text = kDeclaration + root.Xml(os::CP_GBK);
  EXPECT_EQ(text, kDeclaration + "<Root><R1 ID=\"001\" Name=\"" + Gbk(u"张三") +
                      "\" Msg=\"YNY\"/><R2 ID=\"002\" Name=\"\" Mail=\"a&amp;b@example.com\" "
                      "Type=\"5\" Msg=\"YNN\"/></Root>");

  const Node again = xml::LoadXmlText(text).DocumentElement();
  ASSERT_EQ(again.ChildNodes().Length(), 2u);
  const Node read2 = xml::SelectChild(again, "R2", false);
  EXPECT_EQ(xml::GetAttrText(xml::SelectChild(again, "R1", false), "Name"), Gbk(u"张三"));
  EXPECT_EQ(xml::GetAttrText(read2, "Mail"), "a&b@example.com");
  EXPECT_FALSE(read2.AsElement().HasAttribute("Mob"));
}

}  // namespace
