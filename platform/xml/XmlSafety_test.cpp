// Untrusted texts (portal answers, language packs, receiver documents) must never read local
// files, reach the network or exhaust memory.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "xml/Document.h"

namespace {

using xml::Document;

const std::string kTestData = QZLB27_TESTDATA;
const std::string kSecret = "TOP-SECRET-MARKER";  // the content of testdata/secret.txt

// Whatever became of the document, the secret is nowhere in it.
void ExpectSecretAbsent(const Document& doc) {
  EXPECT_EQ(doc.Xml(os::CP_UTF8).find(kSecret), std::string::npos);
  EXPECT_EQ(doc.AsNode().Text().find(kSecret), std::string::npos);
  EXPECT_EQ(doc.LastParseError().reason.find(kSecret), std::string::npos);
}

TEST(XmlSafety, ExternalEntityReadingALocalFileIsRefused) {
  const std::string file = kTestData + "/secret.txt";
  const std::string cases[] = {
      // In element content and in an attribute value, by path and by file URL.
      "<!DOCTYPE Root [<!ENTITY s SYSTEM \"" + file + "\">]><Root>&s;</Root>",
      "<!DOCTYPE Root [<!ENTITY s SYSTEM \"file://" + file + "\">]><Root ID=\"&s;\"/>",
      // A parameter entity pulling declarations from the file.
      "<!DOCTYPE Root [<!ENTITY % s SYSTEM \"" + file + "\"> %s;]><Root/>",
      // An internal entity that only forwards to the external one.
      "<!DOCTYPE Root [<!ENTITY s SYSTEM \"" + file + "\"><!ENTITY t \"[&s;]\">]><Root>&t;</Root>",
  };
  for (const std::string& text : cases) {
    SCOPED_TRACE(text);
    const Document doc = Document::TryParse(text);
    EXPECT_TRUE(doc.LastParseError().Failed());
    EXPECT_TRUE(doc.DocumentElement().IsNull());
    ExpectSecretAbsent(doc);
  }

  // The fixture names the file relative to itself, as a hostile document beside it would.
  const Document fromFile = Document::TryParseFile(kTestData + "/xxe-file.xml");
  EXPECT_TRUE(fromFile.LastParseError().Failed());
  EXPECT_NE(fromFile.LastParseError().reason.find("external entities are not loaded"),
            std::string::npos);
  ExpectSecretAbsent(fromFile);

  // Declared but not used: the document reads, inert.
  const Document unused =
      Document::Parse("<!DOCTYPE Root [<!ENTITY s SYSTEM \"" + file + "\">]><Root>plain</Root>");
  EXPECT_EQ(unused.DocumentElement().Text(), "plain");
  ExpectSecretAbsent(unused);
}

// A TCP port on the loopback address that counts whoever connects to it.
class Listener {
 public:
  Listener() {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (fd_ < 0 || bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(fd_, 8) != 0)
      return;
    socklen_t length = sizeof address;
    getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
  }
  ~Listener() {
    if (fd_ >= 0) close(fd_);
  }
  int Port() const { return port_; }
  // Whether a connection is waiting to be accepted.
  bool WasContacted() const {
    pollfd p{fd_, POLLIN, 0};
    return poll(&p, 1, 0) > 0;
  }

 private:
  int fd_ = -1;
  int port_ = 0;
};

TEST(XmlSafety, NetworkDtdIsNeverFetched) {
  Listener listener;
  ASSERT_NE(listener.Port(), 0);
  const std::string url = "http://127.0.0.1:" + std::to_string(listener.Port()) + "/evil.dtd";
  struct {
    std::string text;
    bool parses;  // an external DTD is ignored; an external entity makes the text unreadable
  } cases[] = {
      {"<!DOCTYPE Root SYSTEM \"" + url + "\"><Root>kept</Root>", true},
      {"<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" \"" + url +
           "\"><html>kept</html>",
       true},
      {"<!DOCTYPE Root [<!ENTITY % d SYSTEM \"" + url + "\"> %d;]><Root>kept</Root>", false},
      {"<!DOCTYPE Root [<!ENTITY e SYSTEM \"" + url + "\">]><Root>&e;kept</Root>", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const Document doc = Document::TryParse(c.text);
    EXPECT_EQ(doc.LastParseError().Failed(), !c.parses) << doc.LastParseError().Text();
    if (c.parses) {
      EXPECT_EQ(doc.DocumentElement().Text(), "kept");
    }
    EXPECT_FALSE(listener.WasContacted());
  }
}

TEST(XmlSafety, EntityBombsAreRefused) {
  // A quadratic blow-up: one large entity referenced many times.
  std::string quadratic = "<!DOCTYPE q [<!ENTITY a \"" + std::string(20000, 'a') + "\">]><q>";
  for (int i = 0; i < 20000; ++i) quadratic += "&a;";
  quadratic += "</q>";

  const Document laughs = Document::TryParseFile(kTestData + "/billion-laughs.xml");
  EXPECT_TRUE(laughs.LastParseError().Failed());
  EXPECT_TRUE(laughs.DocumentElement().IsNull());
  const Document blowUp = Document::TryParse(quadratic);
  EXPECT_TRUE(blowUp.LastParseError().Failed());
  EXPECT_TRUE(blowUp.DocumentElement().IsNull());
}

TEST(XmlSafety, InternalEntitiesStillExpand) {
  // The document type the portal answers are given declares one entity, used in values.
  const Document doc = Document::ParseFile(kTestData + "/portal-answer.xml");
  EXPECT_EQ(doc.SelectSingleNode("//Record/Field[@name='Name']/@value").Text(),
            os::WideToAnsi(u"张三&stdd;", os::CP_GBK));
  // Ordinary nesting of internal entities stays well within the limit.
  const Document nested = Document::Parse(
      "<!DOCTYPE a [<!ENTITY x \"xx\"><!ENTITY y \"&x;&x;\"><!ENTITY z \"&y;&y;\">]><a "
      "v=\"&z;\">&z;</a>");
  EXPECT_EQ(nested.DocumentElement().Text(), "xxxxxxxx");
  EXPECT_EQ(nested.DocumentElement().GetAttribute("v"), "xxxxxxxx");
}

}  // namespace
