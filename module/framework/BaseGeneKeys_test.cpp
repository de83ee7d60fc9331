// The keyboard conventions of the option window: page keys, Esc, F2 and the date picker, the
// module file's properties, Enter in grids and on the controls that advance the page, and the
// blank test of masked fields.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "testdata/GeneTestWindow.h"

namespace {

using automation::Variant;
using genetest::BaseGeneTest;
using genetest::TfrmGeneTest;
using namespace toolkit;

class KeysTest : public BaseGeneTest {
 protected:
  static Word Press(TfrmGeneTest* w, Word key, ShiftState shift) {
    w->FormKeyDown(w, key, shift);
    return key;
  }
  static char Enter(TfrmGeneTest* w) {
    char key = '\r';
    w->FormKeyPress(w, key);
    return key;
  }
};

TEST_F(KeysTest, PageKeysWrapAroundAndAreConsumed) {
  TfrmGeneTest* w = ShownWindow();
  ASSERT_EQ(w->pgOption->PageCount(), 3);
  struct {
    Word key;
    ShiftState shift;
    int page;  // the page afterwards, starting from the first
  } cases[] = {
      {VK_TAB, ssCtrl, 1},           {VK_NEXT, ssCtrl, 2},
      {VK_TAB, ssCtrl, 0},            // wraps to the first page
      {VK_TAB, ssCtrl | ssShift, 2},  // and back to the last
      {VK_PRIOR, ssCtrl, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Press(w, c.key, c.shift), 0) << "key consumed";
    EXPECT_EQ(w->pgOption->ActivePageIndex(), c.page);
  }
  EXPECT_EQ(Press(w, VK_NEXT, 0), VK_NEXT) << "PageDown alone stays with the control";
  EXPECT_EQ(w->pgOption->ActivePageIndex(), 1);
}

TEST_F(KeysTest, RealKeysChangeThePageOnce) {
  TfrmGeneTest* w = ShownWindow();
  QApplication::setActiveWindow(w);
  ASSERT_TRUE(QTest::qWaitForWindowActive(w));
  w->me01->SetFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(w->pgOption->ActivePageIndex(), 1) << "the window sees the key first, once";
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp, Qt::ControlModifier);
  EXPECT_EQ(w->pgOption->ActivePageIndex(), 0);
  // Enter in an edit moves the focus on through the window's key handling.
  w->me01->SetFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(w->ActiveControl(), static_cast<toolkit::WinControl*>(w->cbo1));
}

TEST_F(KeysTest, EscClosesAndFreesTheWindow) {
  QPointer<TfrmGeneTest> w = ShownWindow();
  Press(w, VK_ESCAPE, 0);
  ProcessMessages();
  EXPECT_TRUE(w.isNull());
}

TEST_F(KeysTest, F2OnTheReportDateOpensTheDatePicker) {
  manager->lookup->pickedDay = "20090517";
  TfrmGeneTest* w = ShownWindow(/*wantsLookup=*/true);
  w->pgOption->SetActivePage(w->tsOption2);
  w->tsOption2Show(w->tsOption2);
  w->SetActiveControl(w->edPrintDate);
  Press(w, VK_F2, 0);
  EXPECT_EQ(w->edPrintDate->Text(), "2009/05/17");
  ASSERT_EQ(manager->lookup->CountOf("ShowInputDay"), 1);
  EXPECT_EQ(manager->lookup->CallsOf("ShowInputDay")[0].args[0][2], Variant("SYSDB"));

  // The date button does the same; a picker answering nothing keeps the date.
  manager->lookup->pickedDay = "";
  w->btnPrintDateClick(w->btnPrintDate);
  EXPECT_EQ(manager->lookup->CountOf("ShowInputDay"), 2);
  EXPECT_EQ(w->edPrintDate->Text(), "2009/05/17");

  // F2 elsewhere only focuses the control.
  w->pgOption->SetActivePage(w->tsOption1);
  w->SetActiveControl(w->me01);
  Press(w, VK_F2, 0);
  EXPECT_EQ(manager->lookup->CountOf("ShowInputDay"), 2);
}

TEST_F(KeysTest, F2WithoutALookupServiceKeepsTheReportDate) {
  TfrmGeneTest* w = ShownWindow();
  EXPECT_TRUE(w->LookupService.IsEmpty()) << "the generic window asks for no lookup service";
  w->edPrintDate->SetText("2009/05/17");
  w->HandleLookupKey(VK_F2, w->edPrintDate);
  EXPECT_EQ(w->edPrintDate->Text(), "2009/05/17");
}

TEST_F(KeysTest, CtrlAltVShowsTheModuleFilesProperties) {
  const std::filesystem::path module =
      std::filesystem::path(QZLB27_BUILD_DIR) / "keys-test" / "QZLB27C.so";
  std::filesystem::create_directories(module.parent_path());
  std::ofstream(module) << std::string(1234, 'x');
  TfrmGeneTest* w = ShownWindow();
  w->SetModulePath(module.string());
  EXPECT_EQ(Press(w, 'V', ssCtrl | ssShift), 'V') << "only exactly Ctrl+Alt";
  EXPECT_TRUE(dialogs.Shown().empty());
  EXPECT_EQ(Press(w, 'V', ssCtrl | ssAlt), 0);
  ASSERT_EQ(dialogs.Shown().size(), 1u);
  const std::string& text = dialogs.Shown()[0].Text;
  for (const std::string& part : {std::string("QZLB27C.so"), module.parent_path().string(),
                                  std::string("1234"), std::string("870401-0.00.00")}) {
    EXPECT_NE(text.find(part), std::string::npos) << part << " in " << text;
  }
  std::filesystem::remove_all(module.parent_path());
}

TEST_F(KeysTest, EnterInAGridWalksItsCellsAndAddsRows) {
  TfrmGeneTest* w = ShownWindow();
  w->pgOption->SetActivePage(w->tsPanels);
  w->sg1->SetFocus();
  w->SetActiveControl(w->sg1);
  w->sg1->SetRow(1);
  w->sg1->SetCol(1);
  EXPECT_EQ(Enter(w), '\0');
  EXPECT_EQ(w->sg1->Col(), 2);
  EXPECT_EQ(Enter(w), '\0');
  EXPECT_EQ(w->sg1->RowCount(), 3) << "the last row's last cell appends a row";
  EXPECT_EQ(w->sg1->Row(), 2);
  EXPECT_EQ(w->sg1->Col(), 1) << "the first column that is not fixed";
}

TEST_F(KeysTest, EnterOnAListedControlAdvancesThePage) {
  TfrmGeneTest* w = ShownWindow();
  w->PageAdvanceControls = {w->spList, w->chk1};
  w->SetActiveControl(w->chk1);
  EXPECT_EQ(Enter(w), '\0');
  EXPECT_EQ(w->pgOption->ActivePageIndex(), 1);

  // A listed panel counts through its value list; its begin edit does not.
  w->SetActiveControl(w->spList->ListBox());
  EXPECT_EQ(Enter(w), '\0');
  EXPECT_EQ(w->pgOption->ActivePageIndex(), 2);
  w->SetActiveControl(w->spList->ListBox());
  Enter(w);
  EXPECT_EQ(w->pgOption->ActivePageIndex(), 2) << "the last page stays";

  w->pgOption->SetActivePage(w->tsOption1);
  w->SetActiveControl(w->me01);
  EXPECT_EQ(Enter(w), '\0');
  EXPECT_EQ(w->pgOption->ActivePageIndex(), 0) << "an unlisted control moves the focus only";
}

TEST_F(KeysTest, MaskedFieldsShowingOnlyTheirBlankAreEmpty) {
  TfrmGeneTest* w = ShownWindow();
  struct {
    const char* mask;
    const char* text;
    bool empty;
  } cases[] = {
      {"", "", true},
      {"", " x ", false},
      {"9999/99/99;1; ", "", true},  // only the literals remain
      {"9999/99/99;1; ", "2009/05/17", false},
      {"9999/99/99;0; ", "", true},
      {"!aaaa-aaaaaaaaaaa;0; ", "R001", false},
  };
  for (const auto& c : cases) {
    w->me01->SetEditMask(c.mask);
    w->me01->SetText(c.text);
    const std::string before = w->me01->Text();
    EXPECT_EQ(w->IsTextEmpty(w->me01), c.empty) << c.mask << " / " << c.text;
    EXPECT_EQ(w->me01->Text(), before) << "the test leaves the text as it was";
    EXPECT_EQ(w->me01->GetEditMask(), c.mask) << "and the mask";
  }
}

}  // namespace
