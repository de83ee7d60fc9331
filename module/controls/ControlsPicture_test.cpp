// A window holding the input controls, saved as a picture to look at: selection panels in their
// three styles, bitmap check boxes in each state, lookup buttons with their pictures and linked
// labels, radio buttons, a spin edit and the page control's own tabs.
#include <gtest/gtest.h>

#include <QDir>

#include "controls/BtChkBox.h"
#include "controls/DBLabel.h"
#include "controls/ExtPage.h"
#include "controls/F2Button.h"
#include "controls/QrRadioButton.h"
#include "controls/QrSpin.h"
#include "controls/QrnEdit.h"
#include "controls/SelectPnl.h"
#include "support/GbkText.h"
#include "toolkit/Edit.h"
#include "toolkit/Form.h"
#include "toolkit/WindowPicture.h"

namespace {

template <class T>
T* Make(toolkit::Form* form, toolkit::WinControl* parent, const char* name, int left, int top) {
  auto* control = new T(form);
  control->SetName(name);
  control->SetParent(parent);
  control->SetLeft(left);
  control->SetTop(top);
  return control;
}

TEST(ControlsPicture, WindowWithEveryInputControl) {
  auto* form = new toolkit::Form(nullptr);
  form->SetCaption(Gbk("输入控件"));
  form->SetBounds(0, 0, 800, 470);

  // Selection panels: one-line range, list, user choice (range chosen and list chosen), and the
  // range on two lines.
  auto* range = Make<TSelectPanel>(form, form, "spRange", 10, 8);
  range->SetCaption(Gbk("退货单号"));
  range->edBegin()->SetText("TH01-20090001");
  range->edFinal()->SetText("TH01-20090099");

  auto* list = Make<TSelectPanel>(form, form, "spList", 10, 60);
  list->SetCaption(Gbk("供应商"));
  list->SetStyle(sp_Discrete);
  list->SetShowColumnHeader(true);
  list->ListBox()->AddRow({"V001", Gbk("华东电子")});
  list->ListBox()->AddRow({"V002", Gbk("北方五金")});
  list->ListBox()->AddRow({"V010", Gbk("南方包装")});
  list->ListBox()->Items()->Items(1)->SetSelected(true);

  auto* choiceRange = Make<TSelectPanel>(form, form, "spChoice1", 220, 60);
  choiceRange->SetCaption(Gbk("单据日期"));
  choiceRange->SetStyle(sp_UserChoice);
  choiceRange->SetEditMask("9999/99/99;1; ");
  choiceRange->edBegin()->SetText("2009/04/01");
  choiceRange->edFinal()->SetText("2009/04/30");

  auto* choiceList = Make<TSelectPanel>(form, form, "spChoice2", 430, 60);
  choiceList->SetCaption(Gbk("仓库"));
  choiceList->SetStyle(sp_UserChoice);
  choiceList->SetUserChoice(false);
  choiceList->ListBox()->AddRow({"W01"});
  choiceList->ListBox()->AddRow({"W02"});

  auto* vertical = Make<TSelectPanel>(form, form, "spVertical", 10, 175);
  vertical->SetCaption(Gbk("品号"));
  vertical->SetUseVertical(true);
  vertical->SetCanOpenWin(false);
  vertical->edBegin()->SetText("A-100");
  vertical->edFinal()->SetText("A-900");

  // Bitmap check boxes in each state, enabled and disabled.
  const char* captions[] = {"完成后通知", "生成Log文档", "变动日期"};
  const toolkit::CheckBox::TCheckBoxState states[] = {
      toolkit::CheckBox::cbUnchecked, toolkit::CheckBox::cbChecked, toolkit::CheckBox::cbGrayed};
  for (int i = 0; i < 3; ++i) {
    for (int disabled = 0; disabled < 2; ++disabled) {
      auto* box = Make<TBitCheckBox>(form, form, "", 220 + disabled * 130, 180 + i * 22);
      box->SetWidth(120);
      box->SetAllowGrayed(true);
      box->SetCaption(Gbk(captions[i]));
      box->SetState(states[i]);
      box->SetEnabled(disabled == 0);
    }
  }
  auto* right = Make<TBitCheckBox>(form, form, "chkRight", 480, 180);
  right->SetWidth(120);
  right->SetCaption(Gbk("右侧图片"));
  right->SetAlignment(toolkit::Control::taLeftJustify);
  right->SetChecked(true);

  // A lookup button with its picture and a linked label on the left; a date field with the
  // date-picker button and its label above.
  auto* me01 = Make<toolkit::Edit>(form, form, "me01", 100, 300);
  me01->SetBounds(100, 300, 140, 21);
  me01->SetText("TH01-20090001");
  auto* lookup = Make<TF2Button>(form, form, "F2Button2", 0, 0);
  lookup->SetF2Control(me01);
  auto* label = Make<TDBLabel>(form, form, "lblDoc", 0, 0);
  label->SetCaption(Gbk("退货单号"));
  label->SetFocusControl(me01);

  auto* date = Make<toolkit::Edit>(form, form, "edPrintDate", 300, 320);
  date->SetBounds(300, 320, 90, 21);
  date->SetText("2009/04/15");
  auto* picker = Make<TF2Button>(form, form, "btnPrintDate", 0, 0);
  picker->SetGlyphIndex(9);
  picker->SetF2Control(date);
  auto* dateLabel = Make<TDBLabel>(form, form, "lblPrintDate", 0, 0);
  dateLabel->SetCaption(Gbk("打印日期"));
  dateLabel->SetPos(TDBLabel::psTop);
  dateLabel->SetFocusControl(date);
  auto* users = Make<TGSpeedButton>(form, form, "btnUsers", 430, 320);
  users->SetBounds(430, 320, 23, 23);
  users->SetGlyphIndex(39);
  auto* missing = Make<TGSpeedButton>(form, form, "btnMissing", 460, 320);
  missing->SetBounds(460, 320, 23, 23);
  missing->SetGlyphIndex(48);  // above the library's highest number: the number shows

  // Labelled edit, spin edit and radio buttons.
  auto* hours = Make<TQrEdit>(form, form, "edHour", 0, 0);
  hours->SetBounds(100, 360, 50, 21);
  hours->SetCaption(Gbk("每隔小时"));
  auto* spin = Make<TQrSpinEdit>(form, form, "seDay", 0, 0);
  spin->SetBounds(160, 360, 60, 22);
  spin->SetMaxValue(99);
  spin->SetValue(3);
  auto* r1 = Make<TQrRadioButton>(form, form, "rdoQueue", 240, 360);
  r1->SetCaption(Gbk("排程执行"));
  r1->SetChecked(true);
  auto* r2 = Make<TQrRadioButton>(form, form, "rdoNow", 360, 360);
  r2->SetCaption(Gbk("立即执行"));
  r2->SetEnabled(false);

  auto* pages = Make<TExtPageControl>(form, form, "pgOption", 0, 0);
  pages->SetBounds(520, 300, 260, 150);
  for (const char* caption : {"基本选项", "排程选项"}) {
    auto* page = new toolkit::TabSheet(form);
    page->SetCaption(Gbk(caption));
    page->SetPageControl(pages);
  }
  pages->SetActivePageIndex(0);

  for (TSelectPanel* p : {range, list, choiceRange, choiceList, vertical}) p->ListBox()->Flush();
  const std::string dir = std::string(QZLB27_BUILD_DIR) + "/pictures";
  QDir().mkpath(QString::fromStdString(dir));
  EXPECT_TRUE(toolkit::SaveWindowPicture(form, dir + "/controls_window.png"));
  toolkit::Free(form);
}

}  // namespace
