#include "localisation/CodeConverter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "controls/SelectPnl.h"
#include "os/CodePage.h"
#include "support/GbkText.h"
#include "testdata/TestInstallation.h"
#include "toolkit/Application.h"
#include "toolkit/Button.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Edit.h"
#include "toolkit/Form.h"
#include "toolkit/Label.h"
#include "toolkit/Memo.h"
#include "toolkit/Menus.h"
#include "toolkit/Properties.h"
#include "toolkit/StringGrid.h"

namespace {

using automation::VarArrayOf;
using automation::Variant;
using ::testing::HasSubstr;

std::string Big5(std::u16string_view text) {
  return os::WideToAnsi(text, os::CP_BIG5);
}

// A converter owned by a window of its own.
struct ConverterWindow {
  ConverterWindow() : form(new toolkit::Form(nullptr)), converter(new TCodeConverter(form)) {
    converter->SetName("QrConverter");
  }
  ~ConverterWindow() { toolkit::Free(form); }
  template <class T>
  T* Add(const char* name) {
    auto* control = new T(form);
    control->SetName(name);
    control->SetParent(form);
    return control;
  }
  toolkit::Form* form;
  TCodeConverter* converter;
};

TEST(CodeConverter, SimplifiedInterfaceOnSimplifiedSystemConvertsNothing) {
  TestInstallation installation("936", "936", "936");
  // No library is wanted, so a missing one is no error.
  SetTranslatorLibraryName("NoSuchConversionLibrary.dll");
  ConverterWindow window;
  SetTranslatorLibraryName("Varirodizu.dll");
  TCodeConverter& c = *window.converter;
  EXPECT_EQ(c.UICodePage(), "936");
  EXPECT_EQ(c.SystemCodePage(), "936");
  EXPECT_EQ(c.UIConvertMode(), 0);
  EXPECT_EQ(c.DataConvertMode(), 0);
  EXPECT_FALSE(c.HasTranslator());

  const Variant text(Gbk("采购退货单"));
  const Variant array = VarArrayOf({Gbk("确定"), Variant::Null(), 5});
  for (const Variant& value : {text, array}) {
    EXPECT_EQ(c.ToUICode(value), value);
    EXPECT_EQ(c.FromUICode(value), value);
    EXPECT_EQ(c.ToDBCode(value), value);
    EXPECT_EQ(c.FromDBCode(value), value);
    EXPECT_EQ(c.ConvertValue(2, value), value);
  }
  EXPECT_EQ(c.GbToBig5Text(Gbk("确定")), Gbk("确定"));

  auto* label = window.Add<toolkit::Label>("lblTitle");
  label->SetCaption(Gbk("采购退货单"));
  window.form->SetCaption(Gbk("批次作业"));
  c.ConvertForm(window.form);
  EXPECT_EQ(label->Caption(), Gbk("采购退货单"));
  EXPECT_EQ(window.form->Caption(), Gbk("批次作业"));
  EXPECT_EQ(label->Font()->Charset(), toolkit::GB2312_CHARSET);
}

// The three pairs of interface and database code pages and what each value operation does.
TEST(CodeConverter, ValueOperationsFollowTheCodePagePairs) {
  const std::string gb = Gbk("采购退货单");
  const std::string big5 = Big5(u"採購退貨單");
  struct Op {
    std::string in, out;
  };
  struct Case {
    const char* ui;
    const char* db;
    const char* acp;
    int uiMode, dataMode;
    bool translator;
    Op toUI, fromUI, toDB, fromDB;
  } cases[] = {
      // Traditional interface on a Simplified database: the screen is BIG5, the data GB.
      {"950", "936", "936", 2, 2, true, {gb, big5}, {big5, gb}, {big5, gb}, {gb, big5}},
      // Simplified interface on a Traditional system and database: the screen stays GB.
      {"936", "950", "950", 4, 1, true, {gb, gb}, {big5, big5}, {gb, big5}, {big5, gb}},
      // Nothing to convert.
      {"936", "936", "936", 0, 0, false, {gb, gb}, {big5, big5}, {gb, gb}, {big5, big5}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::string("UI ") + k.ui + ", DB " + k.db + ", system " + k.acp);
    TestInstallation installation(k.ui, k.db, k.acp);
    ConverterWindow window;
    TCodeConverter& c = *window.converter;
    EXPECT_EQ(c.UIConvertMode(), k.uiMode);
    EXPECT_EQ(c.DataConvertMode(), k.dataMode);
    EXPECT_EQ(c.HasTranslator(), k.translator);
    EXPECT_EQ(c.ToUICode(Variant(k.toUI.in)).AsAnsi(), k.toUI.out) << "ToUICode";
    EXPECT_EQ(c.FromUICode(Variant(k.fromUI.in)).AsAnsi(), k.fromUI.out) << "FromUICode";
    EXPECT_EQ(c.ToDBCode(Variant(k.toDB.in)).AsAnsi(), k.toDB.out) << "ToDBCode";
    EXPECT_EQ(c.FromDBCode(Variant(k.fromDB.in)).AsAnsi(), k.fromDB.out) << "FromDBCode";
  }
}

TEST(CodeConverter, ConvertValueDirections) {
  TestInstallation installation("950");
  ConverterWindow window;
  const TCodeConverter& c = *window.converter;
  const std::string gb = Gbk("确定");
  const std::string big5 = Big5(u"確定");
  EXPECT_EQ(c.ConvertValue(0, Variant(gb)), Variant(gb));
  EXPECT_EQ(c.ConvertValue(1, Variant(big5)), Variant(gb));
  EXPECT_EQ(c.ConvertValue(2, Variant(gb)), Variant(big5));
  EXPECT_EQ(c.ConvertValue(3, Variant(gb)), Variant(gb));
  EXPECT_EQ(c.ConvertValue(-1, Variant(gb)), Variant(gb));
  // A single number is converted through its text.
  EXPECT_EQ(c.ConvertValue(2, Variant(5)), Variant("5"));
  EXPECT_EQ(c.ConvertValue(3, Variant(5)), Variant(5));
  EXPECT_TRUE(c.ConvertValue(2, Variant()).IsEmpty());
  EXPECT_TRUE(c.ConvertValue(2, Variant::Null()).IsNull());
  EXPECT_EQ(c.GbToBig5Text(""), "");
  EXPECT_EQ(c.Big5ToGbText(""), "");
}

TEST(CodeConverter, NestedArraysAreConvertedElementByElement) {
  TestInstallation installation("950");
  ConverterWindow window;
  const TCodeConverter& c = *window.converter;
  const Variant nested = VarArrayOf({Gbk("采购"), VarArrayOf({Gbk("退货"), 5})});
  const Variant converted = c.ToUICode(nested);
  EXPECT_EQ(converted, VarArrayOf({Big5(u"採購"), VarArrayOf({Big5(u"退貨"), Variant("5")})}));
  // Bounds stay.
  Variant bounded = automation::VarArrayCreate({{1, 2}});
  bounded[1] = Gbk("确定");
  bounded[2] = Gbk("取消");
  const Variant back = c.ConvertValue(2, bounded);
  EXPECT_EQ(back.Array().LowBound(1), 1);
  EXPECT_EQ(back[2], Variant(Big5(u"取消")));

  // A two-dimensional array converts each cell as a value of its own: a null cell stays null.
  Variant table = automation::VarArrayCreate({{0, 1}, {0, 1}});
  table.ElementAt(0, 0) = Gbk("采购");
  table.ElementAt(0, 1) = Variant::Null();
  table.ElementAt(1, 0) = 7;
  table.ElementAt(1, 1) = VarArrayOf({Gbk("退货")});
  const Variant cells = c.ToUICode(table);
  EXPECT_EQ(cells.ElementAt(0, 0), Variant(Big5(u"採購")));
  EXPECT_TRUE(cells.ElementAt(0, 1).IsNull());
  EXPECT_EQ(cells.ElementAt(1, 0), Variant("7"));
  EXPECT_EQ(cells.ElementAt(1, 1), VarArrayOf({Big5(u"退貨")}));
}

TEST(CodeConverter, NullElementFailsOnTheWayToTheScreenAndIsKeptOnTheWayBack) {
  TestInstallation installation("950", "936");
  ConverterWindow window;
  const TCodeConverter& c = *window.converter;
  const Variant withNull = VarArrayOf({Gbk("确定"), Variant::Null()});
  EXPECT_THROW(c.ToUICode(withNull), automation::Error);
  EXPECT_THROW(c.FromDBCode(withNull), automation::Error);
  EXPECT_EQ(c.FromUICode(withNull), withNull);
  EXPECT_EQ(c.ToDBCode(withNull), withNull);
}

TEST(CodeConverter, MissingLibraryAbortsTheCreation) {
  TestInstallation installation("950");
  SetTranslatorLibraryName("NoSuchConversionLibrary.dll");
  toolkit::Form* form = new toolkit::Form(nullptr);
  try {
    new TCodeConverter(form);
    ADD_FAILURE() << "the converter was created";
  } catch (const CodeConverterError& error) {
    EXPECT_STREQ(error.what(), "Load Library NoSuchConversionLibrary.dll Error!");
  }
  EXPECT_EQ(form->ComponentCount(), 0);

  // A library without the "BIG5toGB" entry.
  SetTranslatorLibraryName("HalfVarirodizu.dll");
  try {
    new TCodeConverter(form);
    ADD_FAILURE() << "the converter was created";
  } catch (const CodeConverterError& error) {
    EXPECT_STREQ(error.what(), "Get Library Procedure Address Error!");
  }
  SetTranslatorLibraryName("Varirodizu.dll");
  EXPECT_EQ(form->ComponentCount(), 0);
  toolkit::Free(form);

  // The library by its own name.
  ConverterWindow window;
  EXPECT_TRUE(window.converter->HasTranslator());
}

TEST(CodeConverter, CharsetFontByMode) {
  struct {
    int mode;
    int charset;
  } cases[] = {{0, 134}, {1, 134}, {4, 134}, {2, 136}, {3, 136}};
  for (const auto& k : cases) {
    toolkit::Font font;
    font.SetName("Tahoma");
    font.SetCharset(0);
    TCodeConverter::SetCharsetFont(k.mode, &font);
    EXPECT_EQ(font.Name(), "SimSun") << k.mode;
    EXPECT_EQ(font.Charset(), k.charset) << k.mode;
  }
  toolkit::Font font;
  font.SetName("Tahoma");
  font.SetCharset(0);
  TCodeConverter::SetCharsetFont(5, &font);
  EXPECT_EQ(font.Name(), "Tahoma");
  EXPECT_EQ(font.Charset(), 0);
  TCodeConverter::SetCharsetFont(2, nullptr);
}

// A window with the usual controls, converted for a Traditional Chinese interface.
class ConvertedWindow : public ::testing::Test {
 protected:
  void Build() {
    label = window->Add<toolkit::Label>("lblTitle");
    label->SetCaption(Gbk("采购退货单"));
    label->SetHint(Gbk("单据号码"));
    button = window->Add<toolkit::Button>("btnOk");
    button->SetCaption(Gbk("确定"));
    edit = window->Add<toolkit::Edit>("edNote");
    edit->SetText(Gbk("备注"));
    list = window->Add<toolkit::ComboBox>("cboKind");
    list->SetStyle(toolkit::ComboBox::csDropDownList);
    list->Items()->Assign(std::vector<std::string>{Gbk("采购"), Gbk("退货"), Gbk("销售")});
    list->SetItemIndex(1);
    typed = window->Add<toolkit::ComboBox>("cboTyped");
    typed->Items()->Assign(std::vector<std::string>{Gbk("采购"), Gbk("退货")});
    typed->SetText(Gbk("其他单据"));
    chosen = window->Add<toolkit::ComboBox>("cboChosen");
    chosen->Items()->Assign(std::vector<std::string>{Gbk("采购"), Gbk("退货")});
    chosen->SetItemIndex(0);
    none = window->Add<toolkit::ComboBox>("cboNone");
    none->SetStyle(toolkit::ComboBox::csDropDownList);
    none->Items()->Assign(std::vector<std::string>{Gbk("采购"), Gbk("退货")});
    simple = window->Add<toolkit::ComboBox>("cboSimple");
    simple->SetStyle(toolkit::ComboBox::csSimple);
    simple->Items()->Assign(std::vector<std::string>{Gbk("采购")});
    memo = window->Add<toolkit::Memo>("mmNote");
    memo->Lines()->Assign(std::vector<std::string>{Gbk("第一行"), "", Gbk("第三行")});
    menu = new toolkit::PopupMenu(window->form);
    menu->SetName("muOperation");
    item = new toolkit::MenuItem(window->form);
    item->SetName("N2");
    item->SetCaption(Gbk("开启(&O)"));
    grid = window->Add<toolkit::StringGrid>("sgUsers");
    grid->SetColCount(2);
    grid->SetRowCount(2);
    grid->SetCells(0, 0, Gbk("用户"));
    grid->SetCells(1, 1, Gbk("采购员"));
    window->form->SetCaption(Gbk("批次作业"));
  }
  void TearDown() override { window.reset(); }

  std::unique_ptr<ConverterWindow> window;
  toolkit::Label* label = nullptr;
  toolkit::Button* button = nullptr;
  toolkit::Edit* edit = nullptr;
  toolkit::ComboBox* list = nullptr;
  toolkit::ComboBox* typed = nullptr;
  toolkit::ComboBox* chosen = nullptr;
  toolkit::ComboBox* none = nullptr;
  toolkit::ComboBox* simple = nullptr;
  toolkit::Memo* memo = nullptr;
  toolkit::PopupMenu* menu = nullptr;
  toolkit::MenuItem* item = nullptr;
  toolkit::StringGrid* grid = nullptr;
};

TEST_F(ConvertedWindow, TraditionalInterfaceConvertsEveryText) {
  TestInstallation installation("950", "936", "936");
  window = std::make_unique<ConverterWindow>();
  Build();
  window->converter->ConvertForm(window->form);

  EXPECT_EQ(label->Caption(), Big5(u"採購退貨單"));
  EXPECT_EQ(label->Hint(), Big5(u"單據號碼"));
  EXPECT_EQ(button->Caption(), Big5(u"確定"));
  EXPECT_EQ(edit->Text(), Big5(u"備註"));
  EXPECT_EQ(item->Caption(), Big5(u"開啟(&O)"));
  for (toolkit::Control* control : std::initializer_list<toolkit::Control*>{label, button, edit}) {
    EXPECT_EQ(control->Font()->Charset(), toolkit::CHINESEBIG5_CHARSET) << control->Name();
    EXPECT_EQ(control->Font()->Name(), "SimSun") << control->Name();
  }
  // What the user sees is Traditional Chinese.
  EXPECT_EQ(label->ToScreen(label->Caption()), QString::fromUtf16(u"採購退貨單"));

  // Combo boxes keep their chosen item; the list styles become owner drawn.
  EXPECT_EQ(list->Items()->Lines(),
            (std::vector<std::string>{Big5(u"採購"), Big5(u"退貨"), Big5(u"銷售")}));
  EXPECT_EQ(list->ItemIndex(), 1);
  EXPECT_EQ(list->Text(), Big5(u"退貨"));
  EXPECT_EQ(list->Style(), toolkit::ComboBox::csOwnerDrawFixed);
  EXPECT_EQ(chosen->ItemIndex(), 0);
  EXPECT_EQ(chosen->Text(), Big5(u"採購"));
  // An edit-style combo box becomes a list too: its typed text gives way to the first item.
  EXPECT_EQ(typed->Style(), toolkit::ComboBox::csOwnerDrawFixed);
  EXPECT_EQ(typed->Items()->Lines(), (std::vector<std::string>{Big5(u"採購"), Big5(u"退貨")}));
  EXPECT_EQ(typed->ItemIndex(), 0);
  // A combo box without a choice gets its first item; a simple one keeps its style.
  EXPECT_EQ(none->ItemIndex(), 0);
  EXPECT_EQ(simple->Style(), toolkit::ComboBox::csSimple);
  EXPECT_EQ(simple->Items()->Lines(), std::vector<std::string>{Big5(u"採購")});

  // Lines keep their places, the empty one too.
  EXPECT_EQ(memo->Lines()->Lines(),
            (std::vector<std::string>{Big5(u"第一行"), "", Big5(u"第三行")}));

  EXPECT_EQ(grid->Cells(0, 0), Big5(u"用戶"));
  EXPECT_EQ(grid->Cells(1, 1), Big5(u"採購員"));
  EXPECT_EQ(grid->Cells(1, 0), "");

  // The title is drawn in the system's code page, which is GB here: it stays.
  EXPECT_EQ(window->form->Caption(), Gbk("批次作业"));
}

TEST_F(ConvertedWindow, TraditionalSystemConvertsTheTitleToo) {
  TestInstallation installation("950", "936", "950");
  window = std::make_unique<ConverterWindow>();
  Build();
  window->converter->ConvertForm(window->form);
  EXPECT_EQ(window->form->Caption(), Big5(u"批次作業"));
  EXPECT_EQ(window->form->Font()->Charset(), toolkit::CHINESEBIG5_CHARSET);
  EXPECT_EQ(window->form->windowTitle(), QString::fromUtf16(u"批次作業"));
}

TEST_F(ConvertedWindow, SimplifiedInterfaceOnTraditionalSystemOnlySwitchesFonts) {
  TestInstallation installation("936", "950", "950");
  window = std::make_unique<ConverterWindow>();
  Build();
  label->Font()->SetCharset(toolkit::DEFAULT_CHARSET);
  window->converter->ConvertForm(window->form);
  EXPECT_EQ(label->Caption(), Gbk("采购退货单"));
  EXPECT_EQ(label->Font()->Charset(), toolkit::GB2312_CHARSET);
  EXPECT_EQ(label->ToScreen(label->Caption()), QString::fromUtf16(u"采购退货单"));
  EXPECT_EQ(list->Items()->At(1), Gbk("退货"));
  EXPECT_EQ(list->ItemIndex(), 1);
  EXPECT_EQ(grid->Cells(0, 0), Gbk("用户"));
  // Owner drawing so that GB texts show on the BIG5 system; no class pass.
  EXPECT_EQ(list->Style(), toolkit::ComboBox::csOwnerDrawFixed);
  EXPECT_EQ(none->ItemIndex(), -1);
  // The screen fonts follow.
  EXPECT_EQ(toolkit::Application::Instance().HintFont()->Charset(), toolkit::GB2312_CHARSET);
}

TEST(CodeConverter, SelectionPanelTextsAndRows) {
  TestInstallation installation("950", "936", "936");
  ConverterWindow window;
  auto* panel = window.Add<TSelectPanel>("spReturn");
  panel->SetCaption(Gbk("退货单号"));
  panel->SetStyle(sp_UserChoice);
  panel->ListBox()->AddRow({Gbk("采购"), Gbk("退货")});
  panel->Columns()->Items(0)->SetCaption(Gbk("单号"));
  window.converter->ConvertForm(window.form);
  EXPECT_EQ(panel->Caption(), Big5(u"退貨單號"));
  EXPECT_EQ(panel->HintWord(), Big5(u"區間選擇"));
  EXPECT_EQ(panel->ChildHints()->At(1), Big5(u"區間選擇-起始信息"));
  EXPECT_EQ(panel->BeginWords()->At(1), Big5(u"起"));
  EXPECT_EQ(panel->FinalWords()->At(0), Big5(u"止"));
  EXPECT_EQ(panel->Columns()->Items(0)->Caption(), Big5(u"單號"));
  EXPECT_EQ(panel->ListBox()->RowCaption(0), Big5(u"採購"));
  EXPECT_THAT(panel->ListBox()->RowSubItems(0), ::testing::ElementsAre(Big5(u"退貨")));
  EXPECT_EQ(panel->Font()->Charset(), toolkit::CHINESEBIG5_CHARSET);
}

TEST(CodeConverter, MessageBoxForTheWindow) {
  toolkit::ScriptedDialogRunner dialogs;
  {
    TestInstallation installation("936");
    ConverterWindow window;
    window.form->SetCaption(Gbk("批次作业"));
    EXPECT_EQ(window.converter->ShowCodePageMessage("", toolkit::mtWarning, toolkit::mbOKCancel),
              0);
    EXPECT_TRUE(dialogs.Shown().empty());

    window.form->SetWindowState(toolkit::Form::wsMinimized);
    dialogs.Answer(toolkit::mrCancel);
    EXPECT_EQ(window.converter->ShowCodePageMessage(Gbk("确定删除?"), toolkit::mtConfirmation,
                                                    toolkit::mbOKCancel),
              toolkit::mrCancel);
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    const toolkit::MessageDialog& shown = dialogs.Shown()[0];
    EXPECT_EQ(shown.Text, Gbk("确定删除?") + "      ");
    EXPECT_EQ(shown.Caption, Gbk("批次作业"));
    EXPECT_EQ(shown.Kind, toolkit::mtConfirmation);
    EXPECT_EQ(shown.Buttons.size(), 2u);
    EXPECT_EQ(shown.Font.Charset, toolkit::GB2312_CHARSET);
    EXPECT_EQ(window.form->WindowState(), toolkit::Form::wsNormal);
  }
  dialogs.Clear();
  {
    // Traditional interface on a Traditional system: no blanks, the BIG5 font, the converted
    // title as it is.
    TestInstallation installation("950", "936", "950");
    ConverterWindow window;
    window.form->SetCaption(Gbk("批次作业"));
    window.converter->ConvertForm(window.form);
    window.converter->ShowCodePageMessage(Big5(u"確定"), toolkit::mtInformation,
                                          toolkit::ButtonSet({toolkit::mbOK}));
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(dialogs.Shown()[0].Text, Big5(u"確定"));
    EXPECT_EQ(dialogs.Shown()[0].Font.Charset, toolkit::CHINESEBIG5_CHARSET);
    EXPECT_EQ(dialogs.Shown()[0].Caption, Big5(u"批次作業"));
  }
  dialogs.Clear();
  {
    // Traditional interface on a Simplified system: the title stays GB on the window, the dialog
    // shows it through its BIG5 font.
    TestInstallation installation("950", "936", "936");
    ConverterWindow window;
    window.form->SetCaption(Gbk("批次作业"));
    window.converter->ConvertForm(window.form);
    EXPECT_EQ(window.form->Caption(), Gbk("批次作业"));
    window.converter->ShowCodePageMessage(Big5(u"確定"), toolkit::mtInformation,
                                          toolkit::ButtonSet({toolkit::mbOK}));
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(dialogs.Shown()[0].Text, Big5(u"確定") + "      ");
    EXPECT_EQ(dialogs.Shown()[0].Caption, Big5(u"批次作業"));
  }
  dialogs.Clear();
  {
    // Simplified interface on a Traditional system: the title bar's BIG5 title comes back as GB
    // for the GB dialog.
    TestInstallation installation("936", "950", "950");
    ConverterWindow window;
    window.form->SetCaption(Gbk("批次作业"));
    window.converter->ConvertForm(window.form);
    EXPECT_EQ(window.form->Caption(), Big5(u"批次作業"));
    window.converter->ShowCodePageMessage(Gbk("确定"), toolkit::mtInformation,
                                          toolkit::ButtonSet({toolkit::mbOK}));
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(dialogs.Shown()[0].Font.Charset, toolkit::GB2312_CHARSET);
    EXPECT_EQ(dialogs.Shown()[0].Caption, Gbk("批次作业"));
  }
}

TEST(CodeConverter, IsAComponentOfFormDescriptions) {
  TestInstallation installation("936");
  toolkit::Form* form = new toolkit::Form(nullptr);
  toolkit::Component* made = toolkit::CreateComponent("TCodeConverter", form);
  EXPECT_NE(dynamic_cast<TCodeConverter*>(made), nullptr);
  EXPECT_EQ(toolkit::GetEnumPropOf(made, "DesignType"), "dtClient");
  toolkit::SetPropertyPath(made, "DesignType", Variant("dtServer"));
  EXPECT_EQ(dynamic_cast<TCodeConverter*>(made)->DesignType(), dtServer);
  toolkit::Free(form);
}

}  // namespace
