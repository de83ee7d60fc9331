#include "toolkit/Form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "toolkit/Button.h"
#include "toolkit/CheckBox.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Edit.h"
#include "toolkit/Label.h"
#include "toolkit/Panel.h"
#include "toolkit/Properties.h"

namespace toolkit {
namespace {

constexpr unsigned LookupRequest = WM_USER + 10;

std::string NameOf(Component* c) {
  return c ? c->Name() : "(none)";
}

// A window built in code with two edits and two buttons; its handlers write what happened into
// a log.
class TestWindow : public Form {
  Q_OBJECT
 public:
  explicit TestWindow(Component* owner) : Form(owner) {
    SetName("frmTest");
    SetBounds(0, 0, 300, 200);
    ed1 = Make<Edit>("ed1", 10, 10);
    ed2 = Make<Edit>("ed2", 10, 40);
    btnOk = Make<Button>("btnOk", 10, 80);
    btnLookup = Make<Button>("btnLookup", 100, 80);
    for (WinControl* c : std::initializer_list<WinControl*>{ed1, ed2, btnOk}) {
      SetMethodPropOf(c, "OnEnter", FindMethod(this, "LogEnter"));
      SetMethodPropOf(c, "OnExit", FindMethod(this, "LogExit"));
    }
    SetMethodPropOf(btnOk, "OnClick", FindMethod(this, "btnOkClick"));
    SetMethodPropOf(btnLookup, "OnClick", FindMethod(this, "btnLookupClick"));
    SetMethodPropOf(this, "OnKeyDown", FindMethod(this, "FormKeyDown"));
    SetMethodPropOf(this, "OnKeyPress", FindMethod(this, "FormKeyPress"));
    SetMethodPropOf(this, "OnClose", FindMethod(this, "FormClose"));
    SetMethodPropOf(ed1, "OnKeyDown", FindMethod(this, "ControlKeyDown"));
  }

  template <class T>
  T* Make(const char* name, int left, int top) {
    T* control = new T(this);
    control->SetName(name);
    control->SetParent(this);
    control->SetBounds(left, top, 80, 22);
    return control;
  }

  void LogEnter(Component* sender) { log.push_back("enter " + NameOf(sender)); }
  void LogExit(Component* sender) { log.push_back("exit " + NameOf(sender)); }
  // The window's check, put in front of a control's own exit handler.
  void CheckExit(Component* sender) {
    log.push_back("check " + NameOf(sender));
    if (check_passes) CallHandler(saved_exit, sender);
  }
  void btnOkClick(Component* sender) {
    log.push_back("click " + NameOf(sender));
    if (post_close) {
      PostClose();
      log.push_back("posted");
    }
    if (throw_in_click) throw Error("boom");
  }
  void btnLookupClick(Component* sender) {
    SendMessage(Handle(), LookupRequest, 0, ControlParam(ed1));
    log.push_back("sent by " + NameOf(sender));
  }
  void FormKeyDown(Component* sender, Word& key, ShiftState shift) {
    log.push_back("form key " + std::to_string(key) + " from " + NameOf(sender) +
                  (shift & ssCtrl ? " ctrl" : ""));
    if (key == VK_F2) key = 0;
  }
  void FormKeyPress(Component*, char& key) {
    if (key == 'x') key = 0;
    if (key == 'a') key = 'A';
  }
  void LogHide(Component*) { events->push_back("hide"); }
  void LogDestroy(Component*) { events->push_back("destroy"); }
  void ControlKeyDown(Component* sender, Word& key, ShiftState) {
    log.push_back("control key " + std::to_string(key) + " from " + NameOf(sender));
  }
  void FormClose(Component*, TCloseAction& action) {
    log.push_back("close");
    action = close_action;
  }

  void WndProc(Message& message) override {
    if (message.Msg == CM_FOCUSCHANGED) {
      last_focused = ParamControl(message.LParam);
      return;
    }
    if (message.Msg == LookupRequest) {
      log.push_back("lookup " + NameOf(ParamControl(message.LParam)));
      message.Result = 1;
      return;
    }
    Form::WndProc(message);
  }

  Edit* ed1;
  Edit* ed2;
  Button* btnOk;
  Button* btnLookup;
  std::vector<std::string> log;
  Method saved_exit;
  Control* last_focused = nullptr;
  bool check_passes = true;
  bool post_close = false;
  bool throw_in_click = false;
  TCloseAction close_action = caHide;
  std::vector<std::string>* events = nullptr;  // hide and destroy, heard beyond the window's end
};

const auto published = Publish<TestWindow>()
                           .Handler("LogEnter", &TestWindow::LogEnter)
                           .Handler("LogExit", &TestWindow::LogExit)
                           .Handler("CheckExit", &TestWindow::CheckExit)
                           .Handler("btnOkClick", &TestWindow::btnOkClick)
                           .Handler("btnLookupClick", &TestWindow::btnLookupClick)
                           .Handler("FormKeyDown", &TestWindow::FormKeyDown)
                           .Handler("FormKeyPress", &TestWindow::FormKeyPress)
                           .Handler("ControlKeyDown", &TestWindow::ControlKeyDown)
                           .Handler("FormClose", &TestWindow::FormClose)
                           .Handler("LogHide", &TestWindow::LogHide)
                           .Handler("LogDestroy", &TestWindow::LogDestroy);

class FormTest : public testing::Test {
 protected:
  void SetUp() override { window = new TestWindow(nullptr); }
  void TearDown() override { Free(window.data()); }

  // Shows the window and makes it the active one, as a user's click on it would.
  void Activate() {
    window->Show();
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    window->log.clear();
  }

  QPointer<TestWindow> window;
  ScriptedDialogRunner dialogs;
};

TEST_F(FormTest, OwnsComponentsInCreationOrder) {
  ASSERT_EQ(window->ComponentCount(), 4);
  EXPECT_EQ(window->Components(0), window->ed1);
  EXPECT_EQ(window->Components(3), window->btnLookup);
  EXPECT_EQ(window->FindComponent("BTNOK"), window->btnOk);
  EXPECT_EQ(window->FindComponent<Edit>("btnOk"), nullptr);
  EXPECT_EQ(window->FindComponent("nothing"), nullptr);
  EXPECT_EQ(window->FindComponent(""), nullptr);
  EXPECT_THROW(window->ed2->SetName("ED1"), Error);

  // Owner and parent are separate: a panel's child is still the form's component.
  auto* panel = new Panel(window);
  panel->SetName("pnl");
  panel->SetParent(window);
  auto* inner = new CheckBox(window);
  inner->SetName("chkInner");
  inner->SetParent(panel);
  auto* holder = new NonVisualComponent(window);
  holder->SetName("Holder");
  EXPECT_EQ(window->ComponentCount(), 7);
  EXPECT_EQ(inner->Parent(), panel);
  EXPECT_EQ(panel->ControlCount(), 1);

  // Destroying a parent takes its children off the owner's list.
  QPointer<CheckBox> watchInner(inner);
  Free(panel);
  EXPECT_TRUE(watchInner.isNull());
  EXPECT_EQ(window->ComponentCount(), 5);
  EXPECT_EQ(window->FindComponent("chkInner"), nullptr);

  QPointer<Edit> watchEdit(window->ed1);
  QPointer<NonVisualComponent> watchHolder(holder);
  Free(window.data());
  EXPECT_TRUE(watchEdit.isNull());
  EXPECT_TRUE(watchHolder.isNull());
}

TEST_F(FormTest, ClassNamesAndChain) {
  EXPECT_EQ(window->ClassName(), "TestWindow");
  EXPECT_EQ(window->ed1->ClassName(), "TEdit");
  EXPECT_EQ(window->ClassChain(), (std::vector<std::string>{"TestWindow", "TForm"}));
  EXPECT_TRUE(window->InheritsFrom("tform"));
  EXPECT_TRUE(window->ed1->InheritsFrom("TWinControl"));
  EXPECT_TRUE(window->ed1->InheritsFrom("TComponent"));
  EXPECT_FALSE(window->ed1->InheritsFrom("TButton"));
}

TEST_F(FormTest, HandlersAreComparablePairsFoundByName) {
  const Method exit = GetMethodPropOf(window->ed1, "OnExit");
  EXPECT_EQ(exit, FindMethod(window, "logexit"));
  EXPECT_EQ(exit.Data, window.data());
  EXPECT_EQ(exit.Name(), "LogExit");
  EXPECT_NE(exit, FindMethod(window, "LogEnter"));
  EXPECT_TRUE(FindMethod(window, "NoSuchHandler").IsEmpty());
  EXPECT_TRUE(GetMethodPropOf(window->ed1, "OnNothing").IsEmpty());
  // A key handler does not fit a notification event.
  EXPECT_THROW(SetMethodPropOf(window->ed1, "OnExit", FindMethod(window, "FormKeyDown")), Error);
  EXPECT_TRUE(CallMethod(window, "LogEnter", window->ed2));
  EXPECT_FALSE(CallMethod(window, "Missing", window->ed2));
  EXPECT_EQ(window->log, (std::vector<std::string>{"enter ed2"}));
  // An empty handler does nothing.
  SetMethodPropOf(window->ed1, "OnExit", Method{});
  EXPECT_TRUE(GetMethodPropOf(window->ed1, "OnExit").IsEmpty());
}

TEST_F(FormTest, WindowCheckRunsBeforeTheSavedExitHandlerAndIsRemovedAgain) {
  Activate();
  window->ed1->SetFocus();
  window->saved_exit = GetMethodPropOf(window->ed1, "OnExit");
  SetMethodPropOf(window->ed1, "OnExit", FindMethod(window, "CheckExit"));
  window->log.clear();

  window->ed2->SetFocus();
  EXPECT_EQ(window->log, (std::vector<std::string>{"check ed1", "exit ed1", "enter ed2"}));

  // A failing check keeps the control's own handler from running.
  window->ed1->SetFocus();
  window->check_passes = false;
  window->log.clear();
  window->ed2->SetFocus();
  EXPECT_EQ(window->log, (std::vector<std::string>{"check ed1", "enter ed2"}));

  // Putting the saved handler back restores the control's own behaviour.
  SetMethodPropOf(window->ed1, "OnExit", window->saved_exit);
  EXPECT_EQ(GetMethodPropOf(window->ed1, "OnExit"), window->saved_exit);
  window->ed1->SetFocus();
  window->log.clear();
  window->ed2->SetFocus();
  EXPECT_EQ(window->log, (std::vector<std::string>{"exit ed1", "enter ed2"}));
}

TEST_F(FormTest, ExitRunsBeforeEnterHoweverTheFocusMoves) {
  Activate();
  window->ed1->SetFocus();
  ASSERT_TRUE(window->ed1->Focused());
  EXPECT_EQ(window->ActiveControl(), window->ed1);

  struct {
    const char* how;
    std::function<void()> move;
    std::vector<std::string> expected;
  } cases[] = {
      {"SetFocus", [&] { window->ed2->SetFocus(); }, {"exit ed1", "enter ed2"}},
      {"Tab", [&] { QTest::keyClick(window->ed1, Qt::Key_Tab); }, {"exit ed1", "enter ed2"}},
      {"Shift+Tab",
       [&] {
         window->ed2->SetFocus();
         window->log.clear();
         QTest::keyClick(window->ed2, Qt::Key_Backtab, Qt::ShiftModifier);
       },
       {"exit ed2", "enter ed1"}},
      {"click",
       [&] { QTest::mouseClick(window->btnOk, Qt::LeftButton); },
       {"exit ed1", "enter btnOk", "click btnOk"}},
  };
  for (const auto& c : cases) {
    window->ed1->SetFocus();
    window->log.clear();
    c.move();
    EXPECT_EQ(window->log, c.expected) << c.how;
  }
  // Tab order decides, not creation order.
  window->ed2->SetTabOrder(0);
  window->ed2->SetFocus();
  window->log.clear();
  QTest::keyClick(window->ed2, Qt::Key_Tab);
  EXPECT_EQ(window->log, (std::vector<std::string>{"exit ed2", "enter ed1"}));
}

TEST_F(FormTest, ContainersAreEnteredAndLeftAroundTheirControls) {
  auto* panel = new Panel(window);
  panel->SetName("pnl");
  panel->SetParent(window);
  panel->SetBounds(150, 0, 120, 70);
  auto* inner = new Edit(window);
  inner->SetName("ed3");
  inner->SetParent(panel);
  auto* inner2 = new Edit(window);
  inner2->SetName("ed4");
  inner2->SetParent(panel);
  inner2->SetTop(30);
  for (WinControl* c : std::initializer_list<WinControl*>{panel, inner, inner2}) {
    SetMethodPropOf(c, "OnEnter", FindMethod(window, "LogEnter"));
    SetMethodPropOf(c, "OnExit", FindMethod(window, "LogExit"));
  }
  Activate();
  window->ed1->SetFocus();
  window->log.clear();
  inner->SetFocus();
  EXPECT_EQ(window->log, (std::vector<std::string>{"exit ed1", "enter pnl", "enter ed3"}));
  EXPECT_EQ(window->last_focused, inner);
  window->log.clear();
  inner2->SetFocus();  // the panel still holds the focus
  EXPECT_EQ(window->log, (std::vector<std::string>{"exit ed3", "enter ed4"}));
  window->log.clear();
  window->ed2->SetFocus();
  EXPECT_EQ(window->log, (std::vector<std::string>{"exit ed4", "exit pnl", "enter ed2"}));
  EXPECT_EQ(window->last_focused, window->ed2);
  EXPECT_EQ(window->ActiveControl(), window->ed2);
}

TEST_F(FormTest, FocusNeedsAVisibleEnabledControl) {
  window->ed2->SetEnabled(false);
  EXPECT_FALSE(window->ed2->CanFocus());
  EXPECT_THROW(window->ed2->SetFocus(), Error);
  window->ed2->SetEnabled(true);
  window->ed2->SetVisible(false);
  EXPECT_FALSE(window->ed2->CanFocus());
  window->ed2->SetVisible(true);
  EXPECT_TRUE(window->ed2->CanFocus());
  // A hidden form still lets its controls take the focus for when it is shown.
  window->ed2->SetFocus();
  EXPECT_EQ(window->ActiveControl(), window->ed2);
  Activate();
  EXPECT_TRUE(window->ed2->Focused());
}

TEST_F(FormTest, KeyPreviewLetsTheFormSeeAndConsumeKeysFirst) {
  Activate();
  window->ed1->SetFocus();
  window->log.clear();

  // Without key preview only the control sees its keys.
  QTest::keyClick(window->ed1, Qt::Key_F2);
  EXPECT_EQ(window->log, (std::vector<std::string>{"control key 113 from ed1"}));

  window->SetKeyPreview(true);
  window->log.clear();
  QTest::keyClick(window->ed1, Qt::Key_F3);
  EXPECT_EQ(window->log,
            (std::vector<std::string>{"form key 114 from frmTest", "control key 114 from ed1"}));
  window->log.clear();
  QTest::keyClick(window->ed1, Qt::Key_F2);  // the form sets the key to 0
  EXPECT_EQ(window->log, (std::vector<std::string>{"form key 113 from frmTest"}));
  window->log.clear();
  QTest::keyClick(window->ed1, Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_NE(std::find(window->log.begin(), window->log.end(), "form key 9 from frmTest ctrl"),
            window->log.end());

  // Characters: consumed, replaced, or typed as they are.
  QTest::keyClicks(window->ed1, "xyab");
  EXPECT_EQ(window->ed1->Text(), "yAb");
}

TEST_F(FormTest, PostedCloseActsAfterTheHandlerReturns) {
  Activate();
  window->post_close = true;
  window->btnOk->Click();
  EXPECT_EQ(window->log, (std::vector<std::string>{"click btnOk", "posted"}));
  EXPECT_TRUE(window->isVisible());
  ProcessMessages();
  EXPECT_EQ(window->log.back(), "close");
  EXPECT_FALSE(window->isVisible());

  // A close that frees the window destroys it once the current handler has returned.
  window->close_action = caFree;
  window->Show();
  window->Close();
  ASSERT_FALSE(window.isNull());
  ProcessMessages();
  EXPECT_TRUE(window.isNull());
}

TEST_F(FormTest, FreeingAVisibleWindowHidesItBeforeItsDestroyEvent) {
  for (bool shown : {true, false}) {
    std::vector<std::string> events;
    auto* w = new TestWindow(nullptr);
    w->events = &events;
    SetMethodPropOf(w, "OnHide", FindMethod(w, "LogHide"));
    SetMethodPropOf(w, "OnDestroy", FindMethod(w, "LogDestroy"));
    if (shown) w->Show();
    Free(w);
    const std::vector<std::string> expected =
        shown ? std::vector<std::string>{"hide", "destroy"} : std::vector<std::string>{"destroy"};
    EXPECT_EQ(events, expected) << (shown ? "shown" : "hidden");
  }
}

TEST_F(FormTest, SentLookupRequestIsHandledBeforeTheSenderContinues) {
  window->btnLookup->Click();
  EXPECT_EQ(window->log, (std::vector<std::string>{"lookup ed1", "sent by btnLookup"}));
  EXPECT_EQ(window->Perform(LookupRequest, 0, ControlParam(window->ed2)), 1);
  EXPECT_EQ(window->log.back(), "lookup ed2");
  // A posted request waits for the queue.
  window->log.clear();
  EXPECT_TRUE(PostMessage(window->Handle(), LookupRequest, 0, ControlParam(window->ed1)));
  EXPECT_TRUE(window->log.empty());
  ProcessMessages();
  EXPECT_EQ(window->log, (std::vector<std::string>{"lookup ed1"}));
}

TEST_F(FormTest, HandlesReachWindowsOfTheProcess) {
  const int handle = window->Handle();
  EXPECT_NE(handle, 0);
  EXPECT_EQ(window->Handle(), handle);
  EXPECT_NE(window->ed1->Handle(), handle);
  EXPECT_EQ(FindControl(handle), window.data());
  EXPECT_TRUE(RepaintWindow(handle));
  QWidget plain;
  const int plainHandle = WindowHandle(&plain);
  EXPECT_TRUE(RepaintWindow(plainHandle));
  EXPECT_EQ(FindControl(plainHandle), nullptr);
  EXPECT_FALSE(RepaintWindow(12345));
  EXPECT_EQ(SendMessage(12345, LookupRequest), 0);
  Free(window.data());
  EXPECT_FALSE(RepaintWindow(handle));
  EXPECT_FALSE(PostMessage(handle, WM_CLOSE));
}

TEST_F(FormTest, ErrorsInHandlersBecomeAnErrorDialog) {
  Activate();
  window->throw_in_click = true;
  QTest::mouseClick(window->btnOk, Qt::LeftButton);
  ASSERT_EQ(dialogs.Shown().size(), 1u);
  EXPECT_EQ(dialogs.Shown()[0].Kind, mtError);
  EXPECT_EQ(dialogs.Shown()[0].Text, "boom");
  EXPECT_EQ(dialogs.Shown()[0].Buttons.size(), 1u);
  // Called by the program, the error reaches the caller.
  EXPECT_THROW(window->btnOk->Click(), Error);
}

TEST_F(FormTest, ModalRunEndsWithTheButtonsModalResult) {
  ScriptedModalRunner modal;
  window->btnOk->SetModalResult(mrOk);
  modal.Then([](Form& form) {
    form.FindComponent<Button>("btnOk")->Click();
    return mrNone;
  });
  modal.ThenAnswer(mrIgnore);
  modal.Then([](Form& form) {
    form.Close();  // a modal form's close only cancels the run
    return mrNone;
  });
  EXPECT_EQ(window->ShowModal(), mrOk);
  EXPECT_EQ(window->log, (std::vector<std::string>{"click btnOk", "close"}));
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(window->ShowModal(), mrIgnore);
  EXPECT_EQ(window->ShowModal(), mrCancel);
  EXPECT_EQ(modal.Shown(), (std::vector<std::string>{"TestWindow", "TestWindow", "TestWindow"}));
  window->Show();
  EXPECT_THROW(window->ShowModal(), Error);
}

TEST_F(FormTest, RealModalLoopRunsUntilAButtonAnswers) {
  window->btnOk->SetModalResult(mrYes);
  window->SetModalEndHandler({});
  QTimer::singleShot(0, window, [this] { QTest::mouseClick(window->btnOk, Qt::LeftButton); });
  EXPECT_EQ(window->ShowModal(), mrYes);
  EXPECT_FALSE(window->isVisible());
}

TEST(DialogsTest, ScriptedRunnerAnswersAndRecordsTheModel) {
  ScriptedDialogRunner dialogs;
  dialogs.AnswerButton("No");
  dialogs.Answer(mrRetry);
  EXPECT_EQ(MessageDlg("Save?", mtConfirmation, mbYesNoCancel), mrNo);
  EXPECT_EQ(MessageDlg("Again?", mtError, mbAbortRetryIgnore), mrRetry);
  EXPECT_EQ(MessageDlg("Fine", mtInformation, ButtonSet({mbOK})), mrOk);  // default button

  ASSERT_EQ(dialogs.Shown().size(), 3u);
  const MessageDialog& first = dialogs.Shown()[0];
  EXPECT_EQ(first.Text, "Save?");
  EXPECT_EQ(first.Kind, mtConfirmation);
  EXPECT_EQ(first.Caption, "Confirm");
  ASSERT_EQ(first.Buttons.size(), 3u);
  EXPECT_EQ(first.Buttons[0].Name, "Yes");
  EXPECT_EQ(first.Buttons[2].Caption, "Cancel");

  // Callers replace the captions before showing the model.
  MessageDialog dialog = CreateMessageDialog("\xCA\xC7\xB7\xF1", mtWarning, mbYesNo);
  dialog.FindButton("Yes")->Caption = "\xCA\xC7(&Y)";
  dialog.Caption = "QZLB27";
  dialogs.AnswerButton("yes");
  EXPECT_EQ(ShowMessageDialog(dialog), mrYes);
  EXPECT_EQ(dialogs.Shown().back().Buttons[0].Caption, "\xCA\xC7(&Y)");
  EXPECT_EQ(dialogs.Shown().back().Caption, "QZLB27");
  EXPECT_EQ(dialogs.Shown().back().FindButton("Help"), nullptr);
}

TEST(TextsTest, ControlsShowTheirBytesThroughTheFontCodePage) {
  Form form(nullptr);
  auto* label = new Label(&form);
  label->SetParent(&form);
  label->SetCaption("\xD6\xD0\xCE\xC4");  // 中文 in GBK
  EXPECT_EQ(label->text(), QString::fromUtf8("中文"));
  label->Font()->SetCharset(CHINESEBIG5_CHARSET);
  label->SetCaption("\xA4\xA4\xA4\xE5");  // 中文 in BIG5
  EXPECT_EQ(label->text(), QString::fromUtf8("中文"));

  auto* edit = new Edit(&form);
  edit->SetParent(&form);
  edit->setText(QString::fromUtf8("中"));  // as typed
  EXPECT_EQ(edit->Text(), "\xD6\xD0");
  edit->Font()->SetCharset(CHINESEBIG5_CHARSET);
  edit->setText(QString::fromUtf8("中"));
  EXPECT_EQ(edit->Text(), "\xA4\xA4");
  edit->SetMaxLength(3);
  edit->setText(QString::fromUtf8("中中"));  // four bytes do not fit
  EXPECT_EQ(edit->Text(), "\xA4\xA4");

  EXPECT_GT(label->TextWidth("\xA4\xA4\xA4\xE5"), label->TextWidth("\xA4\xA4"));
  EXPECT_GT(label->TextHeight("A"), 0);
  // Children follow their parent's font until they get one of their own.
  form.Font()->SetHeight(-16);
  auto* button = new Button(&form);
  button->SetParent(&form);
  EXPECT_EQ(button->Font()->Height(), -16);
  form.Font()->SetHeight(-20);
  EXPECT_EQ(button->Font()->Height(), -20);
  button->Font()->SetHeight(-11);
  EXPECT_FALSE(button->ParentFont());
  form.Font()->SetHeight(-12);
  EXPECT_EQ(button->Font()->Height(), -11);
}

TEST(AlignTest, AlignedChildrenShareTheParentsArea) {
  Form form(nullptr);
  form.SetBounds(0, 0, 400, 300);
  auto make = [&](Control::TAlign align, int size) {
    auto* panel = new Panel(&form);
    panel->SetParent(&form);
    panel->SetBounds(0, 0, size, size);
    panel->SetAlign(align);
    return panel;
  };
  Panel* bottom = make(Control::alBottom, 43);
  Panel* left = make(Control::alLeft, 100);
  Panel* client = make(Control::alClient, 10);
  EXPECT_EQ(bottom->Top(), 300 - 43);
  EXPECT_EQ(bottom->Width(), 400);
  EXPECT_EQ(left->Height(), 300 - 43);
  EXPECT_EQ(client->Left(), 100);
  EXPECT_EQ(client->Width(), 300);
  form.SetBounds(0, 0, 500, 400);
  EXPECT_EQ(bottom->Top(), 400 - 43);
  EXPECT_EQ(client->Width(), 400);
}

}  // namespace
}  // namespace toolkit

#include "Form_test.moc"
