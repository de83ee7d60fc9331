#include "toolkit/FormDescription.h"

#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>

#include "os/CodePage.h"
#include "toolkit/Button.h"
#include "toolkit/CheckBox.h"
#include "toolkit/Edit.h"
#include "toolkit/Form.h"
#include "toolkit/Label.h"
#include "toolkit/Panel.h"
#include "toolkit/Properties.h"
#include "toolkit/WindowPicture.h"

namespace toolkit {
namespace {

// The sample window classes of testdata/forms: a base and a window derived from it.
class TSampleBase : public Form {
  Q_OBJECT
 public:
  explicit TSampleBase(Component* owner) : Form(owner) {}
  void Loaded() override {
    Form::Loaded();
    btnOk = FindComponent<Button>("btnOk");
  }
  void FormCreate(Component*) { log.push_back("create"); }
  void FormShow(Component*) { log.push_back("show"); }
  void edNameExit(Component*) { log.push_back("exit"); }
  void chkDoneClick(Component*) { log.push_back("chkDone"); }
  void btnOkClick(Component* sender) { log.push_back("ok from " + sender->Name()); }

  Button* btnOk = nullptr;
  std::vector<std::string> log;
};

class TSampleDerived : public TSampleBase {
  Q_OBJECT
 public:
  explicit TSampleDerived(Component* owner) : TSampleBase(owner) {}
  void btnHelpClick(Component*) { log.push_back("help"); }
};

class TBrokenWindow : public Form {
  Q_OBJECT
 public:
  explicit TBrokenWindow(Component* owner) : Form(owner) {}
};

const auto base_handlers = Publish<TSampleBase>()
                               .Handler("FormCreate", &TSampleBase::FormCreate)
                               .Handler("FormShow", &TSampleBase::FormShow)
                               .Handler("edNameExit", &TSampleBase::edNameExit)
                               .Handler("chkDoneClick", &TSampleBase::chkDoneClick)
                               .Handler("btnOkClick", &TSampleBase::btnOkClick);
const auto derived_handlers =
    Publish<TSampleDerived>().Handler("btnHelpClick", &TSampleDerived::btnHelpClick);

std::string Gbk(const char* utf8) {
  return os::WideToAnsi(os::Utf8ToWide(utf8), os::CP_GBK);
}

TEST(FormDescriptionTest, InheritedDescriptionLoadsIntoComponentsAndPositions) {
  std::unique_ptr<TSampleDerived, FreeDeleter> form(CreateForm<TSampleDerived>(nullptr));
  EXPECT_EQ(form->Name(), "frmSample");
  EXPECT_EQ(form->Caption(), Gbk("派生窗口"));
  EXPECT_EQ(form->Width(), 360);
  EXPECT_EQ(form->Height(), 240);
  EXPECT_TRUE(form->KeyPreview());
  EXPECT_EQ(form->Position(), Form::poScreenCenter);
  EXPECT_EQ(GetSetPropOf(form.get(), "BorderIcons"), "[biSystemMenu,biMaximize]");

  std::vector<std::string> names;
  for (Component* c : form->ComponentList()) names.push_back(c->Name() + ":" + c->ClassName());
  EXPECT_EQ(names, (std::vector<std::string>{"lblName:TLabel", "edName:TEdit", "chkDone:TCheckBox",
                                             "Panel1:TPanel", "btnOk:TButton", "btnCancel:TButton",
                                             "btnHelp:TButton", "pnlInfo:TPanel"}));

  struct {
    const char* name;
    int left, top, width, height;
  } bounds[] = {
      {"edName", 80, 16, 150, 21},    // width changed by the derived window
      {"Panel1", 0, 197, 360, 43},    // aligned to the bottom of the taller window
      {"btnOk", 100, 9, 75, 25},      // moved by the derived window, inside Panel1
      {"btnCancel", 272, 9, 75, 25},  // as the base placed it
      {"btnHelp", 10, 9, 75, 25},     // added by the derived window
      {"pnlInfo", 16, 80, 320, 60},
  };
  for (const auto& b : bounds) {
    auto* c = form->FindComponent<Control>(b.name);
    ASSERT_NE(c, nullptr) << b.name;
    EXPECT_EQ(c->Left(), b.left) << b.name;
    EXPECT_EQ(c->Top(), b.top) << b.name;
    EXPECT_EQ(c->Width(), b.width) << b.name;
    EXPECT_EQ(c->Height(), b.height) << b.name;
  }

  auto* panel = form->FindComponent<Panel>("Panel1");
  EXPECT_EQ(form->btnOk, form->FindComponent("btnOk"));  // bound by the class in Loaded
  EXPECT_EQ(form->btnOk->Parent(), panel);
  EXPECT_EQ(form->FindComponent<Button>("btnHelp")->Parent(), panel);
  EXPECT_EQ(form->FindComponent<Label>("lblName")->FocusControl(), form->FindComponent("edName"));
  EXPECT_EQ(form->FindComponent<Edit>("edName")->Text(), Gbk("甲乙丙"));
  EXPECT_EQ(form->FindComponent<Button>("btnCancel")->ModalResult(), mrCancel);
  EXPECT_TRUE(form->FindComponent<CheckBox>("chkDone")->Checked());
  EXPECT_EQ(form->FindComponent<Panel>("pnlInfo")->Color(), clInfoBk);
  EXPECT_EQ(form->FindComponent<Panel>("pnlInfo")->Font()->Color(), clNavy);

  // Handlers are bound to the window by their published names; loading fires none of the
  // controls' events, OnCreate runs once at the end.
  EXPECT_EQ(form->log, (std::vector<std::string>{"create"}));
  EXPECT_EQ(GetMethodPropOf(form->btnOk, "OnClick"), FindMethod(form.get(), "btnOkClick"));
  form->btnOk->Click();
  form->FindComponent<Button>("btnHelp")->Click();
  EXPECT_EQ(form->log, (std::vector<std::string>{"create", "ok from btnOk", "help"}));
  EXPECT_FALSE(form->IsLoading());
  EXPECT_FALSE(form->btnOk->IsLoading());
}

TEST(FormDescriptionTest, TheBaseAloneLoadsOnlyItsOwnDescription) {
  std::unique_ptr<TSampleBase, FreeDeleter> form(CreateForm<TSampleBase>(nullptr));
  EXPECT_EQ(form->Caption(), Gbk("基本窗口"));
  EXPECT_EQ(form->ComponentCount(), 6);
  EXPECT_EQ(form->FindComponent("btnHelp"), nullptr);
  EXPECT_EQ(form->btnOk->Left(), 190);
}

TEST(FormDescriptionTest, BrokenDescriptionsNameFileLineAndName) {
  const std::string head = "object frmSample: TSampleBase\n";
  struct {
    std::string text;
    bool isBase;
    int line;
    std::string name;
  } cases[] = {
      {head + "  Width = 10\n  Captoin = \"x\"\nend\n", true, 3, "Captoin"},
      {head + "  object b: TNoSuchClass\n  end\nend\n", true, 2, "TNoSuchClass"},
      {head + "  object b: TButton\n    OnClick = NoSuchHandler\n  end\nend\n", true, 3,
       "NoSuchHandler"},
      {head + "  OnKeyDown = btnOkClick\nend\n", true, 2, "btnOkClick"},  // does not fit
      {head + "  Enabled = Maybe\nend\n", true, 2, "Enabled"},
      {head + "  Font.Sise = 9\nend\n", true, 2, "Font.Sise"},
      {head + "  object l: TLabel\n    FocusControl = edNothing\n  end\nend\n", true, 3,
       "edNothing"},
      {head + "  object b: TButton\n  end\n  object B: TButton\n  end\nend\n", true, 4, "B"},
      {head + "  Caption = \"unterminated\nend\n", true, 2, "unterminated"},
      {head + "  object b: TButton\n", true, 3, "b"},
      {"inherited frmSample: TSampleBase\n  inherited edNothing: TEdit\n  end\nend\n", false, 2,
       "edNothing"},
      {"object frmSample: TSampleBase\nend\n", false, 1, "frmSample"},
      {"inherited frmSample: TSampleBase\nend\n", true, 1, "frmSample"},
      {"object frmSample: TfrmOther\nend\n", true, 1, "TfrmOther"},
  };
  for (const auto& c : cases) {
    std::unique_ptr<TSampleBase, FreeDeleter> form(new TSampleBase(nullptr));
    if (!c.isBase)
      LoadFormDescription(form.get(), "object frmSample: TSampleBase\nend\n", "x", true);
    try {
      LoadFormDescription(form.get(), c.text, "TBad.form", c.isBase);
      ADD_FAILURE() << "loaded: " << c.text;
    } catch (const FormDescriptionError& e) {
      EXPECT_EQ(e.File(), "TBad.form") << c.text;
      EXPECT_EQ(e.Line(), c.line) << e.what();
      EXPECT_EQ(e.Name(), c.name) << e.what();
    }
  }
}

TEST(FormDescriptionTest, EmbeddedBrokenDescriptionFailsTheCreation) {
  try {
    CreateForm<TBrokenWindow>(nullptr);
    FAIL() << "created";
  } catch (const FormDescriptionError& e) {
    EXPECT_STREQ(e.what(), "TBrokenWindow.form, line 5: unknown property: Captoin");
  }
}

TEST(FormDescriptionTest, ListsCollectionsAndTextsAcrossLines) {
  std::unique_ptr<TSampleBase, FreeDeleter> form(new TSampleBase(nullptr));
  LoadFormDescription(form.get(),
                      "object frmSample: TSampleBase\n"
                      "  Caption = \"a \\\"quoted\\\" \" +\n"
                      "    \"text\"  // a comment\n"
                      "  Color = $00AFFFFF\n"
                      "  Font.Style = []\n"
                      "  Font.Size = 12\n"
                      "end\n",
                      "TInline.form", true);
  EndFormLoading(form.get());
  EXPECT_EQ(form->Caption(), "a \"quoted\" text");
  EXPECT_EQ(form->Color(), TColor(0xAFFFFF));
  EXPECT_EQ(form->Font()->Height(), -16);
}

TEST(WindowPictureTest, ExampleWindowWithChineseCaptions) {
  std::unique_ptr<TSampleDerived, FreeDeleter> form(CreateForm<TSampleDerived>(nullptr));
  const std::filesystem::path folder = std::filesystem::path(QZLB27_BUILD_DIR) / "pictures";
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "toolkit-example-window.png").string();
  ASSERT_TRUE(SaveWindowPicture(form.get(), path));
  const QImage image(QString::fromStdString(path));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.width(), 360);
  EXPECT_EQ(image.height(), 240);
  // The information panel is painted in its colour.
  const QColor info = image.pixelColor(16 + 160, 80 + 50);
  EXPECT_EQ(info, ToQColor(clInfoBk));
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(form->log, (std::vector<std::string>{"create"}));  // no show handler ran
}

}  // namespace
}  // namespace toolkit

#include "FormDescription_test.moc"
