#include "xml/Document.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using xml::Document;
using xml::Element;
using xml::Node;
using xml::NodeType;

const std::string kTestData = QZLB27_TESTDATA;

// The module's 8-bit texts, written readably here in UTF-8.
std::string Gbk(const char* utf8) {
  return os::WideToAnsi(os::Utf8ToWide(utf8), os::CP_GBK);
}
std::string Big5(const char* utf8) {
  return os::WideToAnsi(os::Utf8ToWide(utf8), os::CP_BIG5);
}

xml::ParseOptions InCodePage(int codePage) {
  xml::ParseOptions options;
  options.textCodePage = codePage;
  return options;
}

struct WindowTexts {
  std::string caption, okCaption, okHint, schemeText;
};

WindowTexts ReadWindow(const Document& doc) {
  Element root = doc.DocumentElement();
  Element ok = root.SelectSingleNode("btnOk").AsElement();
  return {root.GetAttribute("Caption"), ok.GetAttribute("Caption"), ok.GetAttribute("Hint"),
          root.SelectSingleNode("lblScheme").Text()};
}

TEST(Document, DocumentsInTheirDeclaredEncodingsRoundTripTheirChineseTexts) {
  // "丂" exists in GBK but not in GB2312 proper nor in BIG5: the GB2312 label must read it, and
  // writing it in code page 950 must keep it (as a character reference).
  struct {
    const char* file;
    int textCodePage;
    WindowTexts expected;
  } cases[] = {
      {"gb2312.xml", os::CP_GBK, {Gbk("采购退货单"), Gbk("确定"), Gbk("丂"), Gbk("条件方案")}},
      {"big5.xml", os::CP_GBK, {Gbk("採購退貨單"), Gbk("確定"), Gbk("週期"), Gbk("執行方式")}},
      {"big5.xml", os::CP_BIG5, {Big5("採購退貨單"), Big5("確定"), Big5("週期"), Big5("執行方式")}},
      {"utf8.xml", os::CP_GBK, {Gbk("采购退货单"), Gbk("通知"), Gbk("丂"), Gbk("执行方式")}},
      {"utf8.xml", os::CP_UTF8, {"采购退货单", "通知", "丂", "执行方式"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " read in " + std::to_string(c.textCodePage));
    const Document doc = Document::ParseFile(kTestData + "/" + c.file, InCodePage(c.textCodePage));
    const WindowTexts read = ReadWindow(doc);
    EXPECT_EQ(read.caption, c.expected.caption);
    EXPECT_EQ(read.okCaption, c.expected.okCaption);
    EXPECT_EQ(read.okHint, c.expected.okHint);
    EXPECT_EQ(read.schemeText, c.expected.schemeText);
    for (int cp : {os::CP_GBK, os::CP_BIG5, os::CP_US, os::CP_UTF8}) {
      SCOPED_TRACE("written in " + std::to_string(cp));
      const Document again = Document::Parse(doc.Xml(cp), InCodePage(c.textCodePage));
      const WindowTexts reread = ReadWindow(again);
      EXPECT_EQ(reread.caption, c.expected.caption);
      EXPECT_EQ(reread.okCaption, c.expected.okCaption);
      EXPECT_EQ(reread.okHint, c.expected.okHint);
      EXPECT_EQ(reread.schemeText, c.expected.schemeText);
    }
  }
}

TEST(Document, CharactersMissingInTheTextCodePageReadAsQuestionMarks) {
  const Document gbk = Document::ParseFile(kTestData + "/utf8.xml");
  EXPECT_EQ(gbk.SelectSingleNode("//btnOk/@Extra").Text(), "?");
  const Document utf8 = Document::ParseFile(kTestData + "/utf8.xml", InCodePage(os::CP_UTF8));
  EXPECT_EQ(utf8.SelectSingleNode("//btnOk/@Extra").Text(), "한");
}

TEST(Document, TextsWithoutUsableDeclarationAreReadInTheTextCodePage) {
  struct {
    std::string text;
    std::string expected;
  } cases[] = {
      // The module's own GBK text, with no declaration or one that says UTF-8.
      {"<R1 Name=\"" + Gbk("张三") + "\"/>", Gbk("张三")},
      {"<?xml version=\"1.0\" encoding=\"UTF-8\"?><R1 Name=\"" + Gbk("张三") + "\"/>", Gbk("张三")},
      // Real UTF-8 stays UTF-8, with or without a byte-order mark.
      {"<R1 Name=\"张三\"/>", Gbk("张三")},
      {"\xEF\xBB\xBF<R1 Name=\"张三\"/>", Gbk("张三")},
      // Other labels of GBK, in any case.
      {"<?xml version='1.0' encoding='gbk'?><R1 Name=\"" + Gbk("张三") + "\"/>", Gbk("张三")},
      {"<?xml version=\"1.0\" encoding=\"cp936\"?><R1 Name=\"" + Gbk("张三") + "\"/>", Gbk("张三")},
  };
  for (const auto& c : cases) {
    const Document doc = Document::Parse(c.text);
    EXPECT_EQ(doc.DocumentElement().GetAttribute("Name"), c.expected) << c.text;
  }
}

TEST(Document, NodeIsSerialisedInEachCodePage) {
  Document doc;
  Element root = doc.AsNode().AppendElement("Root");
  root.SetAttribute("Name", Gbk("确定丂"));
  root.SetText(Gbk("通知"));
  struct {
    int codePage;
    std::string expected;
  } cases[] = {
      {os::CP_GBK, "<Root Name=\"" + Gbk("确定丂") + "\">" + Gbk("通知") + "</Root>"},
      {os::CP_BIG5, "<Root Name=\"" + Big5("确定") + "&#19970;\">" + Big5("通知") + "</Root>"},
      {os::CP_US, "<Root Name=\"&#30830;&#23450;&#19970;\">&#36890;&#30693;</Root>"},
      {os::CP_UTF8, "<Root Name=\"确定丂\">通知</Root>"},
  };
  for (const auto& c : cases) EXPECT_EQ(root.Xml(c.codePage), c.expected) << c.codePage;
  EXPECT_EQ(doc.Xml(os::CP_GBK),
            "<?xml version=\"1.0\" encoding=\"GB2312\"?>\n" + cases[0].expected + "\n");
  EXPECT_EQ(doc.Xml(os::CP_BIG5).substr(0, 38), "<?xml version=\"1.0\" encoding=\"BIG5\"?>\n");
  EXPECT_THROW(root.Xml(1252), automation::Error);
  EXPECT_EQ(Document().Xml(), "");
}

TEST(Document, SerialisationOfOtherNodeKinds) {
  const Document doc = Document::Parse("<a x=\"1 &amp; 2\">t&lt;u<!--c--></a>");
  EXPECT_EQ(doc.SelectSingleNode("/a/@x").Xml(), "x=\"1 &amp; 2\"");
  EXPECT_EQ(doc.SelectSingleNode("/a/text()").Xml(), "t&lt;u");
  EXPECT_EQ(doc.SelectSingleNode("/a/comment()").Xml(), "<!--c-->");
  EXPECT_EQ(doc.AsNode().Xml(), doc.Xml());
}

TEST(Document, SpecialCharactersInValuesAreEscapedAndReadBack) {
  Document doc;
  Element root = doc.AsNode().AppendElement("Root");
  const std::string value = "a<b&\"c'd>&amp;";
  root.SetAttribute("V", value);
  root.SetText(value);
  const Document again = Document::Parse(doc.Xml());
  EXPECT_EQ(again.DocumentElement().GetAttribute("V"), value);
  EXPECT_EQ(again.DocumentElement().Text(), value);
}

TEST(Document, XPathSelectsOneNodeOrAllInDocumentOrder) {
  const Document doc = Document::ParseFile(kTestData + "/portal-answer.xml");
  EXPECT_EQ(doc.SelectSingleNode("//Status[@code]/@code").Text(), "0");

  const xml::NodeList records = doc.SelectNodes("//Record");
  ASSERT_EQ(records.Length(), 2u);
  struct {
    std::string id, name;
  } expected[] = {{"U001", Gbk("张三") + "&stdd;"}, {"U002", Gbk("李四")}};
  for (size_t i = 0; i < records.Length(); ++i) {
    // Relative paths from the record; the fields of the second record come in the other order.
    EXPECT_EQ(records[i].SelectSingleNode("Field[@name='Id']").AsElement().GetAttribute("value"),
              expected[i].id);
    EXPECT_EQ(records[i].SelectSingleNode("Field[@name='Name']/@value").Text(), expected[i].name);
  }
  // The first of several matches is the first in document order.
  EXPECT_EQ(doc.SelectSingleNode("//Field/@value").Text(), "U001");
  EXPECT_EQ(doc.SelectNodes("//Field").Length(), 4u);

  EXPECT_TRUE(doc.SelectSingleNode("//Missing").IsNull());
  EXPECT_TRUE(doc.SelectNodes("//Record[9]").Empty());
  EXPECT_TRUE(doc.SelectNodes("//Missing").Item(0).IsNull());
  EXPECT_TRUE(Node().SelectSingleNode("//Record").IsNull());
}

TEST(Document, XPathErrorsThrow) {
  const Document doc = Document::Parse("<a><b/></a>");
  for (const char* expr : {"//b[", "count(//b)", "string(/a)", "1 = 1", ""}) {
    EXPECT_THROW(doc.SelectSingleNode(expr), automation::Error) << expr;
    EXPECT_THROW(doc.SelectNodes(expr), automation::Error) << expr;
  }
}

TEST(Document, AttributesComeInDocumentOrder) {
  const Document doc =
      Document::Parse("<btnOk Top=\"1\" Caption=\"OK\" Font.Name=\"A\" Items_2=\"x\"/>");
  Element e = doc.DocumentElement();
  e.SetAttribute("Caption", "Go");  // keeps its place
  e.SetAttribute("Hint", "h");      // comes last
  std::vector<std::string> names, values;
  for (const Node& a : e.Attributes()) {
    EXPECT_EQ(a.Type(), NodeType::Attribute);
    EXPECT_EQ(a.Parent(), e);
    names.push_back(a.Name());
    values.push_back(a.Text());
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Top", "Caption", "Font.Name", "Items_2", "Hint"}));
  EXPECT_EQ(values, (std::vector<std::string>{"1", "Go", "A", "x", "h"}));
  EXPECT_EQ(e.GetAttribute("caption"), "");  // names keep their case
  EXPECT_FALSE(e.HasAttribute("Missing"));
  EXPECT_THROW(e.SetAttribute("1bad", "v"), automation::Error);
  EXPECT_THROW(e.SetAttribute("", "v"), automation::Error);
}

TEST(Document, ElementsAreCreatedAndAppended) {
  Document doc;
  EXPECT_TRUE(doc.DocumentElement().IsNull());
  Element root = doc.CreateElement("Root");
  EXPECT_TRUE(root.Parent().IsNull());
  doc.AsNode().AppendChild(root);
  EXPECT_EQ(doc.DocumentElement(), root);
  EXPECT_EQ(root.Parent(), doc.AsNode());
  Element r1 = root.AppendElement("R1");
  Element r2 = root.AppendElement("R2");
  root.AppendChild(r1);  // moves it to the end
  EXPECT_EQ(root.FirstChild(), r2);
  EXPECT_EQ(r2.NextSibling(), r1);
  EXPECT_EQ(root.Xml(), "<Root><R2/><R1/></Root>");

  EXPECT_THROW(doc.AsNode().AppendElement("Second"), automation::Error);
  EXPECT_THROW(r1.AppendChild(root), automation::Error);  // below itself
  EXPECT_THROW(r1.AppendChild(Document().CreateElement("X")), automation::Error);
  EXPECT_THROW(root.AppendElement("a b"), automation::Error);
  EXPECT_THROW(Node().AppendElement("y"), automation::Error);
  r1.SetAttribute("x", "1");
  const Node attr = r1.AttributeNode("x");
  EXPECT_THROW(attr.AppendElement("y"), automation::Error);
  EXPECT_THROW(root.AppendChild(attr), automation::Error);
}

TEST(Document, NodeHandlesOutliveTheirDocumentAndReplacedChildren) {
  Node kept, oldChild;
  {
    Document doc = Document::Parse("<a><b>x</b><c/></a>");
    kept = doc.DocumentElement();
    oldChild = doc.SelectSingleNode("/a/b");
    Element loose = doc.CreateElement("never-appended");
    (void)loose;
  }
  kept.SetText("y");  // b and c give way to one text node
  EXPECT_EQ(kept.Xml(), "<a>y</a>");
  EXPECT_TRUE(oldChild.Parent().IsNull());
  EXPECT_EQ(oldChild.Text(), "x");
  EXPECT_EQ(kept.OwnerDocument().Xml(), "<?xml version=\"1.0\" encoding=\"GB2312\"?>\n<a>y</a>\n");
}

TEST(Document, WhitespaceBetweenElementsIsDroppedUnlessPreserved) {
  const std::string text = "<Root>\n  <R1 ID=\"1\"/>\n  <R2 ID=\"2\"/>\n  <T> keep </T>\n</Root>";
  const Document plain = Document::Parse(text);
  EXPECT_EQ(plain.DocumentElement().ChildNodes().Length(), 3u);
  EXPECT_EQ(plain.SelectSingleNode("//T").Text(), " keep ");
  xml::ParseOptions preserve;
  preserve.preserveWhiteSpace = true;
  EXPECT_EQ(Document::Parse(text, preserve).DocumentElement().ChildNodes().Length(), 7u);
}

TEST(Document, NodeKindsAndNames) {
  const Document doc = Document::Parse("<?pi data?><a x=\"1\">t<![CDATA[c]]><!--m--><b/></a>");
  struct {
    const char* xpath;
    NodeType type;
    std::string name, text;
  } cases[] = {
      {"/a", NodeType::Element, "a", "tc"},
      {"/a/@x", NodeType::Attribute, "x", "1"},
      {"/a/text()[1]", NodeType::Text, "#text", "t"},
      {"/a/text()[2]", NodeType::CData, "#cdata-section", "c"},
      {"/a/comment()", NodeType::Comment, "#comment", "m"},
      {"/processing-instruction()", NodeType::ProcessingInstruction, "pi", "data"},
      {"/", NodeType::Document, "#document", "tc"},
  };
  for (const auto& c : cases) {
    const Node n = doc.SelectSingleNode(c.xpath);
    ASSERT_FALSE(n.IsNull()) << c.xpath;
    EXPECT_EQ(n.Type(), c.type) << c.xpath;
    EXPECT_EQ(n.Name(), c.name) << c.xpath;
    EXPECT_EQ(n.Text(), c.text) << c.xpath;
  }
  EXPECT_TRUE(doc.SelectSingleNode("/a/@x").ChildNodes().Empty());
  EXPECT_TRUE(doc.AsNode().Parent().IsNull());
}

TEST(Document, ParseErrorsGiveTheReasonAndLine) {
  struct {
    std::string text;
    int line;
  } cases[] = {
      {"<a><b></a>", 1},
      {"<a>\n\n<b x=1/>\n</a>", 3},
      {"N", 1},
      {"", 1},
      {"<a>" + Gbk("张") + "\xFF</a>", 1},  // a byte that is no GBK character
      {"<?xml version=\"1.0\" encoding=\"NO-SUCH-CODE\"?><a/>", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const Document doc = Document::TryParse(c.text);
    EXPECT_TRUE(doc.LastParseError().Failed());
    EXPECT_FALSE(doc.LastParseError().reason.empty());
    EXPECT_EQ(doc.LastParseError().line, c.line);
    EXPECT_TRUE(doc.DocumentElement().IsNull());
    try {
      Document::Parse(c.text);
      ADD_FAILURE() << "no error";
    } catch (const automation::Error& e) {
      EXPECT_EQ(e.what(), doc.LastParseError().Text());
      EXPECT_NE(std::string(e.what()).find("(line " + std::to_string(c.line) + ")"),
                std::string::npos);
    }
  }
  EXPECT_FALSE(Document::Parse("<a/>").LastParseError().Failed());
  EXPECT_THROW(Document::ParseFile(kTestData + "/no-such-file.xml"), automation::Error);
  EXPECT_TRUE(Document::TryParseFile(kTestData + "/no-such-file.xml").LastParseError().Failed());
  EXPECT_THROW(Document(1234), automation::Error);
}

TEST(Document, FilePathsMayUseBackslashes) {
  const Document doc = Document::ParseFile(kTestData + "\\gb2312.xml");
  EXPECT_EQ(doc.DocumentElement().Name(), "frmQzlb27");
}

}  // namespace
