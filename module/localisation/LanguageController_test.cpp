#include "localisation/LanguageController.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "os/CodePage.h"
#include "support/GbkText.h"
#include "testdata/TestInstallation.h"
#include "toolkit/Button.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Edit.h"
#include "toolkit/Form.h"
#include "toolkit/Label.h"
#include "toolkit/ListView.h"
#include "toolkit/Memo.h"
#include "toolkit/Panel.h"
#include "toolkit/Properties.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// A window whose handlers record the controller's events.
class TfrmLangEvents : public toolkit::Form {
  Q_OBJECT
 public:
  explicit TfrmLangEvents(toolkit::Component* owner) : toolkit::Form(owner) {}
  void ControllerEvent(toolkit::Component* sender) {
    log.push_back("event from " + sender->Name());
  }
  void BeforeLoad(toolkit::Component*, toolkit::Component* component, xml::Node node) {
    log.push_back("before " + component->Name() + " <" + node.Name() + ">");
  }
  void AfterLoad(toolkit::Component*, toolkit::Component* component, xml::Node node) {
    log.push_back("after " + component->Name() + " <" + node.Name() + ">");
  }
  std::vector<std::string> log;
};

[[maybe_unused]] const auto published =
    toolkit::Publish<TfrmLangEvents>()
        .Handler("ControllerEvent", &TfrmLangEvents::ControllerEvent)
        .Handler("BeforeLoad", &TfrmLangEvents::BeforeLoad)
        .Handler("AfterLoad", &TfrmLangEvents::AfterLoad);

// A window with a language controller and a few controls, on a Simplified Chinese installation.
class LangPack : public ::testing::Test {
 protected:
  LangPack() : installation_("936") {
    form = new TfrmLangEvents(nullptr);
    form->SetName("frmSample");
    form->SetCaption(Gbk("示例"));
    controller = new TQrLangController(form);
    controller->SetName("LangController");
    panel = Add<toolkit::Panel>("pnlButtons", form);
    ok = Add<toolkit::Button>("btnOK", panel);
    ok->SetCaption(Gbk("确定"));
    cancel = Add<toolkit::Button>("btnCancel", panel);
    cancel->SetCaption(Gbk("取消"));
    combo = Add<toolkit::ComboBox>("cboKind", form);
    combo->Items()->Assign(std::vector<std::string>{Gbk("采购"), Gbk("退货")});
    combo->SetItemIndex(1);
    memo = Add<toolkit::Memo>("mmNote", form);
    edit = Add<toolkit::Edit>("edNote", form);
  }
  ~LangPack() override { toolkit::Free(form); }

  template <class T>
  T* Add(const char* name, toolkit::WinControl* parent) {
    T* control = new T(form);
    control->SetName(name);
    control->SetParent(parent);
    return control;
  }

  // Writes the pack into the Simplified Chinese folder and applies it to the window.
  void Apply(const std::string& package, const std::string& text) {
    installation_.WritePack("CHS", package, text);
    controller->SetLangPackageName(package);
    controller->SetActive(true);
    controller->GetReader()->ReadComponent(form);
  }
  static std::string Pack(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + body;
  }

  TestInstallation installation_;
  TfrmLangEvents* form;
  TQrLangController* controller;
  toolkit::Panel* panel;
  toolkit::Button* ok;
  toolkit::Button* cancel;
  toolkit::ComboBox* combo;
  toolkit::Memo* memo;
  toolkit::Edit* edit;
};

TEST(LanguageFolder, ByInterfaceCodePage) {
  EXPECT_EQ(CodePageLanguage("936"), "CHS");
  EXPECT_EQ(CodePageLanguage("950"), "CHT");
  EXPECT_EQ(CodePageLanguage("437"), "ENG");
  EXPECT_EQ(CodePageLanguage("1252"), "");
  EXPECT_EQ(CodePageLanguage(""), "");

  {
    TestInstallation installation("950");
    EXPECT_EQ(LanguageFolder(dtClient), "") << "the folder does not exist";
    installation.MakeLanguageFolder("CHT");
    EXPECT_EQ(LanguageFolder(dtClient), installation.Root() + "MultiLanguage/CHT/");
    EXPECT_EQ(LanguageFolder(dtServer), installation.Root() + "MultiLanguage/CHT/");
  }
  {
    // No interface code page in the files: the system's, English for 1252.
    TestInstallation installation("", "936", "1252");
    installation.MakeLanguageFolder("ENG");
    EXPECT_EQ(LanguageFolder(dtClient), installation.Root() + "MultiLanguage/ENG/");
  }
  {
    TestInstallation installation("1252");
    installation.MakeLanguageFolder("ENG");
    EXPECT_EQ(LanguageFolder(dtClient), "") << "a code page without a language";
  }
}

TEST_F(LangPack, RootAttributesGoToTheWindowAndElementsToTheirComponents) {
  Apply("TfrmSample", Pack(R"(<TfrmSample Caption="X" Hint="window hint">
  <Buttons><Deeper><btnOK Caption="Y" Hint="ok hint"/></Deeper></Buttons>
  <edNote Text="note" Font.Name="Tahoma" Font.Charset="0" Width="200"/>
</TfrmSample>)"));
  EXPECT_EQ(form->Caption(), "X");
  EXPECT_EQ(form->Hint(), "window hint");
  EXPECT_EQ(ok->Caption(), "Y");
  EXPECT_EQ(ok->Hint(), "ok hint");
  EXPECT_EQ(cancel->Caption(), Gbk("取消"));
  EXPECT_EQ(edit->Text(), "note");
  EXPECT_EQ(edit->Font()->Name(), "Tahoma");
  EXPECT_EQ(edit->Font()->Charset(), 0);
  EXPECT_EQ(edit->Width(), 200);
}

TEST_F(LangPack, ExcludedControlsKeepTheirTexts) {
  controller->SetExcludeControls({"  btnok ", "edNote"});
  Apply("TfrmSample", Pack(R"(<root><btnOK Caption="Y"/><btnCancel Caption="Z"/>
<edNote Text="note"/></root>)"));
  EXPECT_EQ(ok->Caption(), Gbk("确定"));
  EXPECT_EQ(edit->Text(), "");
  EXPECT_EQ(cancel->Caption(), "Z");

  // A new list reaches the open reader at once; an empty one clears it.
  controller->SetExcludeControls({});
  EXPECT_TRUE(controller->GetReader()->ExcludeControls().empty());
  controller->GetReader()->ReadComponent(form);
  EXPECT_EQ(ok->Caption(), "Y");

  // The published list is the same list.
  controller->ExcludeControlList()->Assign(std::vector<std::string>{"btnCancel"});
  EXPECT_THAT(controller->ExcludeControls(), ElementsAre("btnCancel"));
  EXPECT_THAT(controller->GetReader()->ExcludeControls(), ElementsAre("btnCancel"));
}

TEST_F(LangPack, ItemsBeyondTheListExtendItAndTheChoiceStays) {
  Apply("TfrmSample", Pack(R"(<root><cboKind Items_5="Z" Items_0="A"/>
<mmNote Lines_0="first" Lines_2="third"/></root>)"));
  EXPECT_THAT(combo->Items()->Lines(), ElementsAre("A", Gbk("退货"), "", "", "", "Z"));
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_THAT(memo->Lines()->Lines(), ElementsAre("first", "", "third"));
}

TEST_F(LangPack, ListViewColumnsAndItems) {
  auto* list = Add<toolkit::ListView>("lstCondition", form);
  for (const char* caption : {"a", "b", "c"}) list->Columns()->Add()->SetCaption(caption);
  list->Items()->Add()->SetCaption("first");
  list->Items()->Items(0)->SubItems()->Add("sub");
  const int width = list->Width();
  Apply("TfrmSample", Pack(R"(<root><lstCondition Columns_1.Caption="B" Items_0.Caption="FIRST"
    Columns_9.Caption="none" Columns_9.Width="7" Items_5.Caption="none" Columns.Items_2.Caption="C"
    Items_0.SubItems_0="SUB" Items_0.SubItems_2="third"/></root>)"));
  EXPECT_EQ(list->Columns()->Items(0)->Caption(), "a");
  EXPECT_EQ(list->Columns()->Items(1)->Caption(), "B");
  EXPECT_EQ(list->Columns()->Items(2)->Caption(), "C");
  EXPECT_EQ(list->Columns()->Count(), 3);
  EXPECT_EQ(list->Items()->Count(), 1);
  EXPECT_EQ(list->Items()->Items(0)->Caption(), "FIRST");
  // Columns_9 does not exist: neither the list nor another column takes the values.
  EXPECT_EQ(list->Width(), width);
  // A sub-item path below an item reaches the item's property, not its lines.
  EXPECT_THAT(list->Items()->Items(0)->SubItems()->Lines(), ElementsAre("sub"));
}

TEST_F(LangPack, OnlyTheFirstElementOfAComponentApplies) {
  Apply("TfrmSample", Pack(R"(<root><a><btnOK Caption="first"/></a>
<btnOK Caption="second" Hint="second hint"/></root>)"));
  EXPECT_EQ(ok->Caption(), "first");
  EXPECT_EQ(ok->Hint(), "");
}

TEST_F(LangPack, PathsThatDoNotResolveHaveNoEffect) {
  const int width = ok->Width();
  Apply("TfrmSample", Pack(R"(<root>
<btnOK Foo.Caption="a" Other_1.Caption="b" Items_x.Caption="c" Font.Nothing.Name="d"
       Width="not a number" Caption="kept" NoSuchProperty="e" Font_1="f"/>
<cboKind Items_9.Caption="g" ItemIndex="nine"/>
</root>)"));
  EXPECT_EQ(ok->Caption(), "kept");
  EXPECT_EQ(ok->Width(), width);
  EXPECT_EQ(ok->Font()->Name(), Gbk("宋体"));
  EXPECT_EQ(combo->Items()->Count(), 2);
  EXPECT_EQ(combo->ItemIndex(), 1);
}

TEST_F(LangPack, AttributesApplyInDocumentOrder) {
  Apply("TfrmSample", Pack(R"(<root><btnOK Caption="one" Hint="h" Caption.="two"/></root>)"));
  // "Caption." ends with a blank part: its last part is Caption.
  EXPECT_EQ(ok->Caption(), "two");
}

TEST_F(LangPack, PacksInTheirDeclaredEncodingGiveGbkTexts) {
  const std::string big5 = os::WideToAnsi(
      u"<?xml version=\"1.0\" encoding=\"BIG5\"?>"
      u"<root Caption=\"採購\"><btnOK Caption=\"確定\"/></root>",
      os::CP_BIG5);
  Apply("TfrmSample", big5);
  EXPECT_EQ(form->Caption(), Gbk("採購"));
  EXPECT_EQ(ok->Caption(), Gbk("確定"));

  controller->SetActive(false);
  const std::string gb = os::WideToAnsi(
      u"<?xml version=\"1.0\" encoding=\"GB2312\"?><root Caption=\"采购退货\"/>", os::CP_GBK);
  installation_.WritePack("CHS", "TfrmSample", gb);
  controller->SetActive(true);
  controller->GetReader()->ReadComponent(form);
  EXPECT_EQ(form->Caption(), Gbk("采购退货"));
}

TEST_F(LangPack, EventsAroundOpeningClosingAndEachComponent) {
  toolkit::SetMethodPropOf(controller, "BeforeOpen", toolkit::FindMethod(form, "ControllerEvent"));
  toolkit::SetMethodPropOf(controller, "AfterOpen", toolkit::FindMethod(form, "ControllerEvent"));
  toolkit::SetMethodPropOf(controller, "BeforeClose", toolkit::FindMethod(form, "ControllerEvent"));
  toolkit::SetMethodPropOf(controller, "AfterClose", toolkit::FindMethod(form, "ControllerEvent"));
  toolkit::SetMethodPropOf(controller, "BeforeLoadComponent",
                           toolkit::FindMethod(form, "BeforeLoad"));
  toolkit::SetMethodPropOf(controller, "AfterLoadComponent",
                           toolkit::FindMethod(form, "AfterLoad"));
  Apply("TfrmSample", Pack(R"(<root><btnOK Caption="Y"/></root>)"));
  controller->SetActive(false);
  EXPECT_THAT(form->log, ElementsAre("event from LangController", "event from LangController",
                                     "before frmSample <root>", "after frmSample <root>",
                                     "before btnOK <btnOK>", "after btnOK <btnOK>",
                                     "event from LangController", "event from LangController"));
}

TEST_F(LangPack, OpeningAndClosing) {
  EXPECT_FALSE(controller->Active());
  try {
    controller->GetReader();
    ADD_FAILURE();
  } catch (const LanguageControllerError& error) {
    EXPECT_STREQ(error.what(), "No active LanguageController!");
  }
  try {
    controller->SetActive(true);
    ADD_FAILURE();
  } catch (const LanguageControllerError& error) {
    EXPECT_STREQ(error.what(), "Cannot Find File !");
  }

  installation_.WritePack("CHS", "TBroken", "<root><unclosed></root>");
  controller->SetLangPackageName("TBroken");
  EXPECT_EQ(controller->LangFileName(), installation_.Root() + "MultiLanguage/CHS/TBroken.Lng");
  EXPECT_THROW(controller->SetActive(true), LanguageControllerError);
  EXPECT_FALSE(controller->Active());

  controller->SetLangPackageName("TMissing");
  try {
    controller->SetActive(true);
    ADD_FAILURE();
  } catch (const LanguageControllerError& error) {
    EXPECT_THAT(error.what(), HasSubstr("TMissing.Lng"));
  }

  installation_.WritePack("CHS", "TGood", "<root/>");
  controller->SetLangPackageName("TGood");
  controller->SetActive(true);
  EXPECT_TRUE(controller->Active());
  EXPECT_NE(controller->GetReader(), nullptr);
  // The same name again keeps the pack; another name closes it.
  controller->SetLangPackageName("TGood");
  EXPECT_TRUE(controller->Active());
  controller->SetLangPackageName("TBroken");
  EXPECT_FALSE(controller->Active());
  EXPECT_EQ(toolkit::GetEnumPropOf(controller, "Active"), "False");
}

TEST_F(LangPack, ActiveSetWhileLoadingOpensWhenLoadingEnds) {
  installation_.WritePack("CHS", "TGood", "<root Caption=\"X\"/>");
  controller->SetLangPackageName("TGood");
  controller->SetLoading(true);
  toolkit::SetPropertyPath(controller, "Active", automation::Variant("True"));
  EXPECT_FALSE(controller->Active());
  controller->SetLoading(false);
  controller->Loaded();
  EXPECT_TRUE(controller->Active());
}

TEST_F(LangPack, WithoutLanguageFolderThereIsNoPackFile) {
  // The installation has no "MultiLanguage/CHS" folder.
  controller->SetLangPackageName("TfrmSample");
  EXPECT_EQ(controller->LangFileName(), "");
}

TEST(LangMessage, TextOrDefault) {
  TestInstallation installation("936");
  installation.WritePack(
      "CHS", "TfrmBaseBatch",
      "<?xml version=\"1.0\" encoding=\"GB2312\"?>\n<TfrmBaseBatch>"
      "<sOver Msg=\"" +
          Gbk("处理完毕! ") +
          "\"/><sReason/>"
          "<Deep><sDeep Msg=\"deep\"/></Deep><sEmpty Msg=\"\"/></TfrmBaseBatch>");
  installation.WritePack("CHS", "TBroken", "<TBroken><sOver Msg=\"x\"></TBroken>");
  struct {
    const char* package;
    const char* message;
    std::string expected;
  } cases[] = {
      {"TfrmBaseBatch", "sOver", Gbk("处理完毕! ")},
      {"TfrmBaseBatch", "sDeep", "deep"},
      {"TfrmBaseBatch", "sEmpty", ""},
      {"TfrmBaseBatch", "sReason", "default"},   // no Msg attribute
      {"TfrmBaseBatch", "sMissing", "default"},  // no element
      {"TfrmBaseBatch", "s[bad", "default"},     // not an XPath name
      {"TMissing", "sOver", "default"},          // no file
      {"TBroken", "sOver", "default"},           // not well-formed
  };
  for (const auto& k : cases)
    EXPECT_EQ(GetLangMessage(dtClient, k.package, k.message, "default"), k.expected)
        << k.package << " " << k.message;
}

TEST(LangMessage, WithoutLanguageFolderTheDefault) {
  TestInstallation installation("950");
  installation.WritePack("CHS", "TfrmBaseBatch", "<r><sOver Msg=\"x\"/></r>");
  EXPECT_EQ(GetLangMessage(dtClient, "TfrmBaseBatch", "sOver", "default"), "default");
}

TEST(ReaderFactory, ComboBoxesGetTheirOwnReader) {
  TestInstallation installation("936");
  toolkit::Form* form = new toolkit::Form(nullptr);
  auto* combo = new toolkit::ComboBox(form);
  auto* edit = new toolkit::Edit(form);
  const xml::Document document = xml::Document::Parse("<a/>");
  const xml::Node node = document.DocumentElement();
  auto comboReader = TReaderFactory::CreateReader(combo, node);
  EXPECT_NE(dynamic_cast<TCustomComboBoxRead*>(comboReader.get()), nullptr);
  EXPECT_EQ(dynamic_cast<TwwDBCustomComboBoxRead*>(comboReader.get()), nullptr);
  auto editReader = TReaderFactory::CreateReader(edit, node);
  EXPECT_EQ(dynamic_cast<TCustomComboBoxRead*>(editReader.get()), nullptr);
  EXPECT_EQ(editReader->GetComponent(), edit);
  EXPECT_EQ(editReader->GetComponentNode(), node);
  toolkit::Free(form);
}

TEST(ComponentRead, ReadItemByPositionAndName) {
  TestInstallation installation("936");
  toolkit::Form* form = new toolkit::Form(nullptr);
  auto* edit = new toolkit::Edit(form);
  const xml::Document document = xml::Document::Parse(R"(<a Text="one" Hint="two"/>)");
  TComponentRead reader(edit, document.DocumentElement());
  reader.ReadItem(1);
  EXPECT_EQ(edit->Hint(), "two");
  EXPECT_EQ(edit->Text(), "");
  reader.ReadItem("Text");
  EXPECT_EQ(edit->Text(), "one");
  reader.ReadItem(7);
  reader.ReadItem(-1);
  reader.ReadItem("Missing");
  toolkit::Free(form);
}

}  // namespace

#include "LanguageController_test.moc"
