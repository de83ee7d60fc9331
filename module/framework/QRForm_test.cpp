#include "framework/QRForm.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "controls/GSpdBtn.h"
#include "controls/SelectPnl.h"
#include "framework/BaseGene.h"
#include "localisation/testdata/TestInstallation.h"
#include "os/CodePage.h"
#include "support/GbkText.h"
#include "toolkit/BitBtn.h"
#include "toolkit/Button.h"
#include "toolkit/CheckBox.h"
#include "toolkit/ComboBox.h"
#include "toolkit/DataSet.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Edit.h"
#include "toolkit/Label.h"
#include "toolkit/ListView.h"
#include "toolkit/Panel.h"
#include "toolkit/Properties.h"
#include "toolkit/SpeedButton.h"
#include "toolkit/WindowPicture.h"

namespace {

using automation::Variant;
using ::testing::ElementsAre;
using toolkit::Picture;

std::string Big5(std::u16string_view text) {
  return os::WideToAnsi(text, os::CP_BIG5);
}

// A chain of window classes below the base window: TfrmLangA → TfrmLangB → TQRForm. The windows
// record which pack each language-pack reading came from (the root element of the pack).
class TfrmLangB : public TQRForm {
  Q_OBJECT
 public:
  explicit TfrmLangB(toolkit::Component* owner) : TQRForm(owner) {
    SetName("frmLang");
    label = Add<toolkit::Label>("lblTitle");
    label->SetCaption(Gbk("采购退货单"));
    toolkit::SetMethodPropOf(LangController(), "AfterLoadComponent",
                             toolkit::FindMethod(this, "PackRead"));
  }
  template <class T>
  T* Add(const char* name) {
    T* control = new T(this);
    control->SetName(name);
    control->SetParent(this);
    return control;
  }
  void PackRead(toolkit::Component*, toolkit::Component* component, xml::Node node) {
    if (component == this) packs.push_back(node.Name());
  }
  std::vector<std::string> packs;
  toolkit::Label* label;
};

class TfrmLangA : public TfrmLangB {
  Q_OBJECT
 public:
  explicit TfrmLangA(toolkit::Component* owner) : TfrmLangB(owner) {}
};

[[maybe_unused]] const auto published =
    toolkit::Publish<TfrmLangB>().Handler("PackRead", &TfrmLangB::PackRead);

// A 16 × 16 glyph: a magenta background (the lower-left pixel, so the transparent colour), a
// black square at (2..5, 2..5) and a white square at (8..13, 8..13).
Picture SampleGlyph() {
  const int magenta = Picture::Rgb(255, 0, 255);
  Picture glyph(16, 16, magenta);
  glyph.FillRect(2, 2, 4, 4, Picture::Rgb(0, 0, 0));
  glyph.FillRect(8, 8, 6, 6, Picture::Rgb(255, 255, 255));
  return glyph;
}

TEST(QRForm, NewWindow) {
  TestInstallation installation("936");
  TQRForm* form = toolkit::CreateForm<TQRForm>(nullptr);
  EXPECT_EQ(form->Caption(), "QRForm");
  EXPECT_EQ(form->Width(), 400);
  EXPECT_EQ(form->Height(), 191);
  EXPECT_TRUE(form->KeyPreview());
  EXPECT_EQ(form->Position(), toolkit::Form::poScreenCenter);
  EXPECT_EQ(form->Font()->Name(), Gbk("宋体"));
  EXPECT_EQ(form->FindComponent("QrConverter"), form->QrConverter());
  EXPECT_EQ(form->FindComponent("LangController"), form->LangController());
  EXPECT_EQ(form->QrConverter()->DesignType(), dtClient);
  EXPECT_FALSE(form->LangController()->Active());
  EXPECT_FALSE(form->TextsConverted);
  EXPECT_TRUE(form->LangPacksOnShow);
  EXPECT_EQ(toolkit::GetMethodPropOf(form, "OnCreate").Name(), "FormCreate");
  EXPECT_EQ(toolkit::GetMethodPropOf(form, "OnShow").Name(), "FormShow");
  EXPECT_EQ(form->SystemCodePage(), "936");
  EXPECT_EQ(form->UiCodePage(), "936");
  toolkit::Free(form);
}

TEST(QRForm, MissingConversionLibraryAbortsTheWindow) {
  TestInstallation installation("950");
  SetTranslatorLibraryName("NoSuchConversionLibrary.dll");
  try {
    toolkit::CreateForm<TQRForm>(nullptr);
    ADD_FAILURE() << "the window was created";
  } catch (const CodeConverterError& error) {
    EXPECT_STREQ(error.what(), "Load Library NoSuchConversionLibrary.dll Error!");
  }
  SetTranslatorLibraryName("Varirodizu.dll");
}

TEST(QRForm, CreationClearsInputMethodNames) {
  TestInstallation installation("936");
  TfrmLangB* form = toolkit::CreateForm<TfrmLangB>(nullptr);
  auto* edit = form->Add<toolkit::Edit>("edNote");
  auto* combo = form->Add<toolkit::ComboBox>("cboKind");
  edit->SetImeName("Chinese (Simplified) - Pinyin");
  combo->SetImeName("Chinese (Simplified) - Pinyin");
  form->FormCreate(form);
  EXPECT_EQ(edit->ImeName(), "");
  EXPECT_EQ(combo->ImeName(), "");
  EXPECT_EQ(edit->Font()->Name(), Gbk("宋体")) << "no Latin font outside English installations";
  toolkit::Free(form);
}

TEST(QRForm, EnglishInstallationsGetTahoma) {
  TestInstallation installation("437", "936", "437");
  TfrmLangB* form = toolkit::CreateForm<TfrmLangB>(nullptr);
  auto* edit = form->Add<toolkit::Edit>("edNote");
  auto* check = form->Add<toolkit::CheckBox>("chkDone");
  edit->Font()->SetCharset(0);
  form->FormCreate(form);
  for (toolkit::Control* control :
       std::initializer_list<toolkit::Control*>{form->label, edit, check}) {
    EXPECT_EQ(control->Font()->Name(), "Tahoma") << control->Name();
    EXPECT_EQ(control->Font()->Charset(), toolkit::GB2312_CHARSET) << control->Name();
  }
  toolkit::Free(form);
}

TEST(DisabledGlyph, MarkingRuleAndEmboss) {
  const Picture glyph = SampleGlyph();
  const Picture result = MakeDisabledGlyph(glyph);
  ASSERT_EQ(result.Width(), 32);
  ASSERT_EQ(result.Height(), 16);
  EXPECT_EQ(result.NumGlyphs(), 2);
  EXPECT_EQ(result.TransparentColor(), Picture::Rgb(255, 0, 255));
  EXPECT_EQ(result.Glyph(0), glyph.Glyph(0)) << "the picture's own image stays on the left";

  const int face = toolkit::ColorToRGB(toolkit::clBtnFace);
  const int highlight = toolkit::ColorToRGB(toolkit::clBtnHighlight);
  const int shadow = toolkit::ColorToRGB(toolkit::clBtnShadow);
  auto disabled = [&](int x, int y) { return result.Pixel(16 + x, y); };
  // Every pixel of the dark square is marked: shadow.
  for (int y = 2; y < 6; ++y)
    for (int x = 2; x < 6; ++x) EXPECT_EQ(disabled(x, y), shadow) << x << "," << y;
  // The highlight shows one pixel right of and below the marks, where nothing is marked.
  EXPECT_EQ(disabled(6, 3), highlight);
  EXPECT_EQ(disabled(3, 6), highlight);
  EXPECT_EQ(disabled(6, 6), highlight);
  EXPECT_EQ(disabled(1, 1), face);
  // The white square: only its outline borders on the transparent colour.
  EXPECT_EQ(disabled(8, 8), shadow);
  EXPECT_EQ(disabled(13, 10), shadow);
  EXPECT_EQ(disabled(10, 13), shadow);
  EXPECT_EQ(disabled(10, 10), face) << "a light pixel inside the image is not marked";
  EXPECT_EQ(disabled(9, 9), highlight) << "right of and below the outline";
  EXPECT_EQ(disabled(14, 10), highlight);
  EXPECT_EQ(disabled(15, 15), face);
}

TEST(DisabledGlyph, EdgesStandInForMissingNeighbours) {
  // A light image filling the whole picture except the lower-left pixel (the transparent one).
  const int grey = Picture::Rgb(200, 200, 200);
  Picture glyph(4, 4, grey);
  glyph.SetPixel(0, 3, Picture::Rgb(0, 128, 128));
  const Picture result = MakeDisabledGlyph(glyph);
  const int face = toolkit::ColorToRGB(toolkit::clBtnFace);
  const int shadow = toolkit::ColorToRGB(toolkit::clBtnShadow);
  // Pixels at the picture's edge have no transparent neighbour beyond the edge.
  EXPECT_EQ(result.Pixel(4 + 3, 0), face);
  EXPECT_EQ(result.Pixel(4 + 2, 1), face);
  // Neighbours of the transparent pixel are marked.
  EXPECT_EQ(result.Pixel(4 + 1, 3), shadow);
  EXPECT_EQ(result.Pixel(4 + 0, 2), shadow);
  // The transparent pixel itself is never marked.
  EXPECT_NE(result.Pixel(4 + 0, 3), shadow);
  EXPECT_TRUE(MakeDisabledGlyph(Picture()).IsEmpty());
}

TEST(QRForm, ButtonsWithOnePictureGetTheDisabledImage) {
  TestInstallation installation("936");
  TfrmLangB* form = toolkit::CreateForm<TfrmLangB>(nullptr);
  auto* speed = form->Add<toolkit::SpeedButton>("btnSpeed");
  speed->Glyph()->Assign(SampleGlyph());
  auto* bit = form->Add<toolkit::BitBtn>("btnOk");
  bit->Glyph()->Assign(SampleGlyph());
  auto* two = form->Add<toolkit::SpeedButton>("btnTwo");
  Picture twoImages = SampleGlyph();
  twoImages.AppendImage(SampleGlyph());
  two->Glyph()->Assign(twoImages);
  auto* none = form->Add<toolkit::SpeedButton>("btnNone");
  // A button of the picture library with the lookup picture.
  auto* library = form->Add<TGSpeedButton>("btnLookup");
  library->SetGlyphIndex(8);
  const int libraryWidth = library->Glyph()->Width();
  ASSERT_GT(libraryWidth, 0);
  ASSERT_EQ(library->NumGlyphs(), 1);
  int left = 10;
  for (toolkit::Control* c : std::initializer_list<toolkit::Control*>{speed, bit, two, library}) {
    c->SetBounds(left, 30, 40, 40);
    left += 50;
  }
  ASSERT_EQ(speed->NumGlyphs(), 1);
  ASSERT_EQ(two->NumGlyphs(), 2);

  form->FormCreate(form);
  EXPECT_EQ(speed->Glyph()->Width(), 32);
  EXPECT_EQ(speed->Glyph()->Height(), 16);
  EXPECT_EQ(speed->NumGlyphs(), 2);
  EXPECT_EQ(speed->Glyph()->GetPicture(), MakeDisabledGlyph(SampleGlyph()));
  EXPECT_EQ(bit->Glyph()->Width(), 32);
  EXPECT_EQ(bit->NumGlyphs(), 2);
  EXPECT_EQ(two->Glyph()->GetPicture(), twoImages) << "two images already: unchanged";
  EXPECT_EQ(two->NumGlyphs(), 2);
  EXPECT_TRUE(none->Glyph()->Empty());
  EXPECT_EQ(library->Glyph()->Width(), 2 * libraryWidth);
  EXPECT_EQ(library->NumGlyphs(), 2);

  // The disabled buttons show their new image (the first two and the library button); a copy
  // of each stays enabled beside it in the picture.
  speed->SetEnabled(false);
  bit->SetEnabled(false);
  library->SetEnabled(false);
  auto* enabledLibrary = form->Add<TGSpeedButton>("btnLookupEnabled");
  enabledLibrary->SetGlyphIndex(8);
  enabledLibrary->SetBounds(left, 30, 40, 40);
  const std::string picture = std::string(QZLB27_BUILD_DIR) + "/pictures/QRForm_DisabledGlyph.png";
  std::filesystem::create_directories(std::filesystem::path(picture).parent_path());
  EXPECT_TRUE(toolkit::SaveWindowPicture(form, picture));
  toolkit::Free(form);
}

TEST(QRForm, SelectionPanelListButtonsGetTheDisabledImage) {
  TestInstallation installation("936");
  TfrmLangB* form = toolkit::CreateForm<TfrmLangB>(nullptr);
  auto* panel = form->Add<TSelectPanel>("spReturn");
  panel->SetStyle(sp_Discrete);
  struct {
    TGSpeedButton* button;
    int numGlyphs;
    int width;
  } before[] = {{panel->ListButton(), 0, 0},
                {panel->DeleteButton(), 0, 0},
                {panel->ClearButton(), 0, 0},
                {panel->BeginButton(), 0, 0}};
  for (auto& b : before) {
    ASSERT_FALSE(b.button->Glyph()->Empty());
    b.numGlyphs = b.button->NumGlyphs();
    b.width = b.button->Glyph()->Width();
  }
  ASSERT_EQ(before[2].numGlyphs, 2) << "the clear button holds two images from the start";
  form->FormCreate(form);
  EXPECT_EQ(panel->ListButton()->NumGlyphs(), 2);
  EXPECT_EQ(panel->ListButton()->Glyph()->Width(), 2 * before[0].width);
  EXPECT_EQ(panel->DeleteButton()->NumGlyphs(), 2);
  EXPECT_EQ(panel->DeleteButton()->Glyph()->Width(), 2 * before[1].width);
  EXPECT_EQ(panel->ClearButton()->Glyph()->Width(), before[2].width);
  // The range pane's lookup buttons are not among them.
  EXPECT_EQ(panel->BeginButton()->NumGlyphs(), before[3].numGlyphs);
  EXPECT_EQ(panel->BeginButton()->Glyph()->Width(), before[3].width);
  toolkit::Free(form);
}

// Packs along the class chain TfrmLangA → TfrmLangB → TQRForm.
class ChainPacks : public ::testing::Test {
 protected:
  ChainPacks() : installation_("936") {
    for (const char* name : {"TQRForm", "TfrmLangB", "TfrmLangA", "TForm"}) {
      installation_.WritePack("CHS", name,
                              std::string("<") + name + " Hint=\"" + name + "\">" +
                                  "<lblTitle Caption=\"" + name + "\"/></" + name + ">");
    }
    form = toolkit::CreateForm<TfrmLangA>(nullptr);
  }
  ~ChainPacks() override { toolkit::Free(form); }
  TestInstallation installation_;
  TfrmLangA* form;
};

TEST_F(ChainPacks, ShowingAppliesTheWholeChainBaseClassFirst) {
  form->Show();
  EXPECT_THAT(form->packs, ElementsAre("TQRForm", "TfrmLangB", "TfrmLangA"));
  EXPECT_EQ(form->label->Caption(), "TfrmLangA");
  EXPECT_EQ(form->Hint(), "TfrmLangA");
}

TEST_F(ChainPacks, DerivedPackagesStopBeforeTheBaseWindow) {
  form->ApplyDerivedLangPackages(form, true);
  EXPECT_THAT(form->packs, ElementsAre("TfrmLangB", "TfrmLangA"));
  form->packs.clear();
  form->ApplyLangPackages(form, false);
  EXPECT_THAT(form->packs, ElementsAre("TfrmLangA"));
}

TEST_F(ChainPacks, MissingPacksAreSkippedAndShowingCanSkipThePacks) {
  std::filesystem::remove(installation_.Root() + "MultiLanguage/CHS/TfrmLangB.Lng");
  form->ApplyLangPackages(form, true);
  EXPECT_THAT(form->packs, ElementsAre("TQRForm", "TfrmLangA"));
  form->packs.clear();
  form->LangPacksOnShow = false;
  form->Show();
  EXPECT_TRUE(form->packs.empty());
}

TEST(QRForm, LocalTexts) {
  TestInstallation installation("950");
  installation.WritePack(
      "CHT", "TfrmBaseGene",
      "<?xml version=\"1.0\" encoding=\"BIG5\"?><TfrmBaseGene><sPublicVer Msg=\"" +
          Big5(u"-普及版") + "\"/></TfrmBaseGene>");
  TQRForm* form = toolkit::CreateForm<TQRForm>(nullptr);
  // From the pack, read as GB text and converted for the screen like the default.
  EXPECT_EQ(form->LocalText("TfrmBaseGene", "sPublicVer", true, Gbk("-x")), Big5(u"-普及版"));
  EXPECT_EQ(form->LocalText("TfrmBaseGene", "sPublicVer", false, Gbk("-x")), Gbk("-普及版"));
  // The default, converted for the screen or not.
  EXPECT_EQ(form->LocalText("TfrmBaseGene", "sExeVer", true, Gbk("执行版")), Big5(u"執行版"));
  EXPECT_EQ(form->LocalText("TfrmBaseGene", "sExeVer", false, Gbk("执行版")), Gbk("执行版"));
  EXPECT_EQ(form->LocalText("TNoPack", "sExeVer", true, Gbk("执行版")), Big5(u"執行版"));
  toolkit::Free(form);
}

TEST(QRForm, DialogsOfTheWindow) {
  toolkit::ScriptedDialogRunner dialogs;
  TestInstallation installation("936");
  TQRForm* form = toolkit::CreateForm<TQRForm>(nullptr);
  form->SetCaption(Gbk("批次作业"));
  dialogs.AnswerButton("Yes");
  EXPECT_EQ(form->ShowDialog(Gbk("确定?"), toolkit::mtConfirmation, toolkit::mbYesNo),
            toolkit::mrYes);
  ASSERT_EQ(dialogs.Shown().size(), 1u);
  EXPECT_EQ(dialogs.Shown()[0].Text, Gbk("确定?") + "      ");
  EXPECT_EQ(dialogs.Shown()[0].Caption, Gbk("批次作业"));
  EXPECT_EQ(form->ShowDialog("", toolkit::mtError, toolkit::mbYesNo), 0);
  EXPECT_EQ(dialogs.Shown().size(), 1u);
  toolkit::Free(form);
}

// A window of the module's kind, converted for a Traditional Chinese interface.
class TfrmTraditional : public TQRForm {
  Q_OBJECT
 public:
  explicit TfrmTraditional(toolkit::Component* owner) : TQRForm(owner) {
    SetName("frmTraditional");
    SetCaption(Gbk("采购退货批次作业"));
    SetBounds(0, 0, 420, 230);
    auto* title = Add<toolkit::Label>("lblTitle", this, 16, 16, 200, 20);
    title->SetCaption(Gbk("退货单号：采购退货单"));
    auto* edit = Add<toolkit::Edit>("edDocument", this, 120, 44, 180, 22);
    edit->SetText(Gbk("采购退货"));
    auto* label = Add<toolkit::Label>("lblKind", this, 16, 48, 100, 20);
    label->SetCaption(Gbk("单据类别"));
    kind = Add<toolkit::ComboBox>("cboKind", this, 120, 76, 180, 22);
    kind->Items()->Assign(std::vector<std::string>{Gbk("采购单"), Gbk("退货单"), Gbk("销货单")});
    kind->SetItemIndex(1);
    auto* check = Add<toolkit::CheckBox>("chkNotify", this, 16, 110, 260, 20);
    check->SetCaption(Gbk("执行完毕后通知相关人员"));
    list = Add<toolkit::ListView>("lstCondition", this, 16, 136, 280, 60);
    list->SetViewStyle(toolkit::ListView::vsReport);
    for (const char* caption : {"方案名称", "创建时间"}) {
      toolkit::ListColumn* column = list->Columns()->Add();
      column->SetCaption(Gbk(caption));
      column->SetWidth(120);
    }
    toolkit::ListItem* item = list->Items()->Add();
    item->SetCaption(Gbk("每月退货"));
    item->SubItems()->Add(Gbk("二月份"));
    auto* panel = Add<toolkit::Panel>("Panel1", this, 0, 0, 0, 40);
    panel->SetAlign(toolkit::Control::alBottom);
    auto* ok = Add<toolkit::Button>("btnOk", panel, 220, 8, 75, 25);
    ok->SetCaption(Gbk("确定"));
    auto* cancel = Add<toolkit::Button>("btnCancel", panel, 310, 8, 75, 25);
    cancel->SetCaption(Gbk("取消"));
  }
  template <class T>
  T* Add(const char* name, toolkit::WinControl* parent, int left, int top, int width, int height) {
    T* control = new T(this);
    control->SetName(name);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
  }
  toolkit::ComboBox* kind;
  toolkit::ListView* list;
};

TEST(QRForm, WindowConvertedToTraditionalChineseOnce) {
  TestInstallation installation("950", "936", "936");
  auto* form = toolkit::CreateForm<TfrmTraditional>(nullptr);
  form->ConvertTexts();
  EXPECT_TRUE(form->TextsConverted);
  auto* title = form->FindComponent<toolkit::Label>("lblTitle");
  EXPECT_EQ(title->Caption(), Big5(u"退貨單號：採購退貨單"));
  EXPECT_EQ(title->ToScreen(title->Caption()), QString::fromUtf16(u"退貨單號：採購退貨單"));
  EXPECT_EQ(form->kind->ItemIndex(), 1);
  EXPECT_EQ(form->kind->Text(), Big5(u"退貨單"));
  EXPECT_EQ(form->list->Columns()->Items(0)->Caption(), Big5(u"方案名稱"));
  EXPECT_EQ(form->list->Items()->Items(0)->Caption(), Big5(u"每月退貨"));
  EXPECT_EQ(form->list->Items()->Items(0)->SubItems()->At(0), Big5(u"二月份"));
  // Once only: a second call converts nothing again.
  form->ConvertTexts();
  EXPECT_EQ(title->Caption(), Big5(u"退貨單號：採購退貨單"));

  const std::string picture = std::string(QZLB27_BUILD_DIR) + "/pictures/QRForm_Traditional.png";
  std::filesystem::create_directories(std::filesystem::path(picture).parent_path());
  EXPECT_TRUE(toolkit::SaveWindowPicture(form, picture));
  toolkit::Free(form);
}

// A window with the client data set of an option window.
class TfrmWithData : public TQRForm {
  Q_OBJECT
 public:
  explicit TfrmWithData(toolkit::Component* owner) : TQRForm(owner) {
    data = new toolkit::ClientDataSet(this);
    data->SetName("ClientDataSet1");
    name = data->AddField("NCONDITION", toolkit::Field::ftString);
    name->SetDisplayLabel(Gbk("方案名称"));
    memo = data->AddField("VCONDITION", toolkit::Field::ftMemo);
    count = data->AddField("COUNT", toolkit::Field::ftInteger);
    count->SetDisplayLabel(Gbk("笔数"));
    own = data->AddField("CREATOR", toolkit::Field::ftString);
    toolkit::SetMethodPropOf(own, "OnGetText", toolkit::FindMethod(this, "OwnGetText"));
    data->CreateDataSet();
    data->AppendRecord({Gbk("每月退货"), Gbk("采购"), 3, "ADMIN"});
  }
  void OwnGetText(toolkit::Component*, std::string& text, bool) { text = "own " + text; }
  toolkit::ClientDataSet* data;
  toolkit::Field* name;
  toolkit::Field* memo;
  toolkit::Field* count;
  toolkit::Field* own;
};

[[maybe_unused]] const auto publishedData =
    toolkit::Publish<TfrmWithData>().Handler("OwnGetText", &TfrmWithData::OwnGetText);

TEST(QRForm, PrepareDataSetsConvertsLabelsAndTexts) {
  TestInstallation installation("950", "936", "936");
  auto* form = toolkit::CreateForm<TfrmWithData>(nullptr);
  form->PrepareDataSets();
  EXPECT_FALSE(form->data->ControlsDisabled());
  EXPECT_EQ(form->name->DisplayLabel(), Big5(u"方案名稱"));
  EXPECT_EQ(form->count->DisplayLabel(), Big5(u"筆數"));
  EXPECT_EQ(form->memo->DisplayLabel(), "VCONDITION");
  // Text and memo fields show their values for the screen and store what is typed back as GB.
  EXPECT_EQ(form->name->DisplayText(), Big5(u"每月退貨"));
  EXPECT_EQ(form->memo->Text(), Big5(u"採購"));
  EXPECT_EQ(toolkit::GetMethodPropOf(form->name, "OnSetText").Name(), "ConvertedFieldSetText");
  form->data->Edit();
  form->name->SetText(Big5(u"每週退貨"));
  form->data->Post();
  EXPECT_EQ(form->name->AsString(), Gbk("每周退货"));
  // Other fields and fields with handlers of their own keep theirs.
  EXPECT_FALSE(form->count->HasGetTextHandler());
  EXPECT_EQ(form->count->DisplayText(), "3");
  EXPECT_EQ(form->own->DisplayText(), "own ADMIN");
  EXPECT_EQ(toolkit::GetMethodPropOf(form->own, "OnSetText").Name(), "ConvertedFieldSetText");
  toolkit::Free(form);
}

TEST(QRForm, PrepareDataSetsOnSimplifiedInstallationKeepsTexts) {
  TestInstallation installation("936");
  auto* form = toolkit::CreateForm<TfrmWithData>(nullptr);
  form->PrepareDataSets();
  EXPECT_EQ(form->name->DisplayLabel(), Gbk("方案名称"));
  EXPECT_EQ(form->name->DisplayText(), Gbk("每月退货"));
  toolkit::Free(form);
}

// ---- The module's own window texts survive GB → BIG5 → GB ---------------------------------------

// The texts with Chinese characters of a text: every double-quoted literal (with \" escapes);
// with `gbkCallsOnly` only those written as Gbk("...").
void CollectLiterals(const std::string& text, bool gbkCallsOnly, std::set<std::string>& out) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '"') continue;
    if (gbkCallsOnly && (i < 4 || text.compare(i - 4, 4, "Gbk(") != 0)) continue;
    std::string literal;
    size_t j = i + 1;
    for (; j < text.size() && text[j] != '"' && text[j] != '\n'; ++j) {
      if (text[j] == '\\' && j + 1 < text.size()) ++j;
      literal += text[j];
    }
    if (j < text.size() && text[j] == '"') {
      const bool chinese = std::any_of(literal.begin(), literal.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0x80;
      });
      if (chinese) out.insert(literal);
      i = j;
    }
  }
}

std::string ReadText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The captions, hints and item texts of the module's window descriptions, the texts its code
// writes (Gbk literals outside the tests) and the texts of the Simplified Chinese language packs.
std::set<std::string> ModuleWindowTexts() {
  namespace fs = std::filesystem;
  std::set<std::string> utf8;
  const fs::path source = QZLB27_SOURCE_DIR;
  for (const auto& entry : fs::recursive_directory_iterator(source / "module")) {
    if (!entry.is_regular_file()) continue;
    const fs::path& file = entry.path();
    const std::string name = file.filename().string();
    if (file.extension() == ".form") {
      CollectLiterals(ReadText(file), false, utf8);
    } else if ((file.extension() == ".cpp" || file.extension() == ".h") &&
               name.find("_test") == std::string::npos &&
               file.string().find("testdata") == std::string::npos) {
      CollectLiterals(ReadText(file), true, utf8);
    }
  }
  std::set<std::string> texts;
  for (const std::string& text : utf8) texts.insert(Gbk(text));
  const fs::path packs = source / "data" / "MultiLanguage" / "CHS";
  if (fs::is_directory(packs)) {
    for (const auto& entry : fs::directory_iterator(packs)) {
      if (entry.path().extension() != ".Lng") continue;
      const xml::Document pack = xml::Document::ParseFile(entry.path().string());
      for (const xml::Node& element : pack.SelectNodes("//*"))
        for (const xml::Node& attribute : xml::Element(element).Attributes())
          if (!attribute.Text().empty()) texts.insert(attribute.Text());
    }
  }
  return texts;
}

TEST(QRForm, WindowTextsComeBackFromTraditionalChinese) {
  TestInstallation installation("950");
  TQRForm* form = toolkit::CreateForm<TQRForm>(nullptr);
  const TCodeConverter& converter = *form->QrConverter();
  const std::set<std::string> texts = ModuleWindowTexts();
  ASSERT_GT(texts.size(), 20u) << "the module's texts were not found";
  RecordProperty("texts", static_cast<int>(texts.size()));
  std::vector<std::string> changed;
  for (const std::string& text : texts) {
    const std::string big5 = converter.GbToBig5Text(text);
    EXPECT_NE(big5, text);
    const std::string back = converter.Big5ToGbText(big5);
    if (back != text) {
      changed.push_back(os::WideToUtf8(os::AnsiToWide(text, os::CP_GBK)) + " -> " +
                        os::WideToUtf8(os::AnsiToWide(big5, os::CP_BIG5)) + " -> " +
                        os::WideToUtf8(os::AnsiToWide(back, os::CP_GBK)));
    }
  }
  EXPECT_THAT(changed, ::testing::IsEmpty()) << texts.size() << " texts";
  toolkit::Free(form);
}

// ---- The demo language packs --------------------------------------------------------------------

// The installation's language folders hold the demo packs of the repository.
void CopyDemoPacks(const TestInstallation& installation) {
  namespace fs = std::filesystem;
  fs::copy(fs::path(QZLB27_SOURCE_DIR) / "data" / "MultiLanguage",
           installation.Root() + "MultiLanguage", fs::copy_options::recursive);
}

// The element names of a pack: the components it names and the messages it holds.
std::set<std::string> PackNames(const std::string& file) {
  std::set<std::string> names;
  const xml::Document pack = xml::Document::ParseFile(file);
  for (const xml::Node& element : pack.SelectNodes("/*/Components/* | /*/Messages/*"))
    names.insert(element.Name());
  return names;
}

TEST(DemoPacks, EveryLanguageHasTheSamePacksAndNames) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::path(QZLB27_SOURCE_DIR) / "data" / "MultiLanguage";
  for (const char* pack : {"TfrmBaseGene", "TfrmBaseBatch", "TfrmGeneCondition"}) {
    const std::string name = std::string(pack) + ".Lng";
    const std::set<std::string> simplified = PackNames((folder / "CHS" / name).string());
    EXPECT_FALSE(simplified.empty()) << pack;
    for (const char* language : {"CHT", "ENG"})
      EXPECT_EQ(PackNames((folder / language / name).string()), simplified)
          << language << " " << pack;
  }
}

TEST(DemoPacks, MessagesOfEachLanguage) {
  struct {
    const char* ui;
    std::string over;
  } cases[] = {{"936", Gbk("处理完毕! ")}, {"950", Gbk("處理完畢! ")}, {"437", "Done! "}};
  for (const auto& k : cases) {
    TestInstallation installation(k.ui, "936", k.ui);
    CopyDemoPacks(installation);
    EXPECT_EQ(GetLangMessage(dtClient, "TfrmBaseBatch", "sOver", "default"), k.over) << k.ui;
    EXPECT_NE(GetLangMessage(dtClient, "TfrmGeneCondition", "sReplaceProj", "default"), "default");
    EXPECT_NE(GetLangMessage(dtClient, "TfrmBaseGene", "sDeleteProj", "default"), "default");
  }
}

TEST(DemoPacks, TraditionalPackThenConversionShowsTraditionalCaptions) {
  TestInstallation installation("950");
  CopyDemoPacks(installation);
  auto* form = toolkit::CreateForm<TfrmTraditional>(nullptr);
  form->LangController()->SetLangPackageName("TfrmBaseGene");
  form->LangController()->SetActive(true);
  form->LangController()->GetReader()->ReadComponent(form);
  form->ConvertTexts();
  EXPECT_EQ(form->FindComponent<toolkit::Button>("btnOk")->Caption(), Big5(u"確定"));
  EXPECT_EQ(form->FindComponent<toolkit::Button>("btnCancel")->Hint(), Big5(u"取消"));
  toolkit::Free(form);
}

TEST(DemoPacks, EnglishPack) {
  TestInstallation installation("437", "936", "437");
  CopyDemoPacks(installation);
  auto* form = toolkit::CreateForm<TfrmTraditional>(nullptr);
  form->LangController()->SetLangPackageName("TfrmBaseGene");
  form->LangController()->SetActive(true);
  form->LangController()->GetReader()->ReadComponent(form);
  form->ConvertTexts();
  auto* ok = form->FindComponent<toolkit::Button>("btnOk");
  EXPECT_EQ(ok->Caption(), "OK");
  EXPECT_EQ(ok->Font()->Name(), "Tahoma");
  EXPECT_EQ(form->LocalText("TfrmBaseGene", "sProjectName", true, Gbk("方案名称")), "Scheme");
  toolkit::Free(form);
}

TEST(DemoPacks, OptionWindowInTraditionalChinese) {
  TestInstallation installation("950");
  CopyDemoPacks(installation);
  auto* form = toolkit::CreateForm<TfrmBaseGene>(nullptr);
  form->ApplyLangPackages(form, true);
  form->ConvertTexts();
  struct {
    const char* name;
    std::u16string caption;
  } cases[] = {{"btnOk", u"確定"},        {"tsOption1", u"基本選項"}, {"tsOption2", u"系統選項"},
               {"lblToday", u"製表日期"}, {"N7", u"大型圖示(&G)"},    {"N10", u"詳細資料(&D)"}};
  for (const auto& k : cases)
    EXPECT_EQ(toolkit::GetStrPropOf(form->FindComponent(k.name), "Caption"), Big5(k.caption))
        << k.name;
  EXPECT_EQ(toolkit::GetStrPropOf(form->FindComponent("pgOption"), "Hint"),
            Big5(u"請輸入選項條件"));
  EXPECT_EQ(form->LocalText("TfrmBaseGene", "sDeleteProj", true, Gbk("x")),
            Big5(u"確實要刪除此方案嗎？"));
  const std::string picture = std::string(QZLB27_BUILD_DIR) + "/pictures/TfrmBaseGene_CHT.png";
  std::filesystem::create_directories(std::filesystem::path(picture).parent_path());
  EXPECT_TRUE(toolkit::SaveWindowPicture(form, picture));
  toolkit::Free(form);
}

TEST(DemoPacks, FirstHostPushShowsTheCaptionInTraditionalChineseOnce) {
  TestInstallation installation("950", "936", "950");
  CopyDemoPacks(installation);
  auto* form = toolkit::CreateForm<TfrmBaseGene>(nullptr);
  form->SetModulePath("/opt/qrn/QZLB27C.so");
  form->CaptionText = Gbk("采购退货批次");
  form->CompanyTitle = "SD";
  const Variant push = automation::VarArrayOf({Variant(), automation::VarArrayOf({0, Variant()})});
  form->HostPush(push);
  EXPECT_TRUE(form->TextsConverted);
  EXPECT_EQ(form->Caption(), Big5(u"採購退貨批次") + "[SD]");
  form->HostPush(push);
  EXPECT_EQ(form->CaptionText, Big5(u"採購退貨批次")) << "converted once only";
  toolkit::Free(form);
}

}  // namespace

#include "QRForm_test.moc"
