#include "framework/ServerAccess.h"

#include <gtest/gtest.h>

#include <functional>

#include "automation/ClassRegistry.h"
#include "automation/DateTime.h"
#include "net/DispatchServer.h"
#include "support/LibStrs.h"
#include "testdata/ScriptedPartners.h"
#include "toolkit/Dialogs.h"

namespace {

using automation::Variant;
using automation::VarArrayOf;

// Marks every text crossing a conversion point so that a test sees where values were converted.
Variant Mark(const Variant& value, const std::string& mark) {
  if (value.Type() == automation::VarType::AnsiString) return Variant(mark + value.AsAnsi());
  if (value.IsArray()) {
    Variant copy = value;
    for (Variant& e : copy.Array().Elements()) e = Mark(e, mark);
    return copy;
  }
  return value;
}

// The services with the hooks a test steers.
class Services : public TGeneServices {
 public:
  bool cancelFocused = false;
  bool marking = false;
  std::string uiCodePage = "936";
  int rightsLoaded = 0;
  std::function<void(net::SocketConnection&)> configure;

  bool CancelHasFocus() const override { return cancelFocused; }
  Variant ToDBCodeValue(const Variant& v) override { return marking ? Mark(v, "db:") : v; }
  Variant FromDBCodeValue(const Variant& v) override { return marking ? Mark(v, "ui:") : v; }
  std::string UiCodePageText() const override { return uiCodePage; }
  int ServiceWindowHandle() const override { return 4711; }
  void ConfigureConnection(net::SocketConnection& c) override {
    if (configure) configure(c);
  }
  void AfterRightsLoaded() override { ++rightsLoaded; }
};

class ServerAccessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    services.ModulePath = "/opt/qrn/QZLB27C.so";
    services.UserCode = "796";
    services.CompanyCode = "SDTest60";
    services.SystemDbName = "SYSDB";
    services.ProgramCode = "QZLB27";
    services.Manager = Variant(manager);
  }

  std::shared_ptr<scripted::Manager> manager = std::make_shared<scripted::Manager>();
  Services services;
  toolkit::ScriptedDialogRunner dialogs;
};

TEST_F(ServerAccessTest, AcquiresServicesAndReadsSystemInformationWithoutRegardToCase) {
  manager->counter->sysInfo = {{"qrn002", "Old title"}, {"Sys001", "3"}, {"QRN002", "Company"}};
  services.AcquireManagerObjects();
  services.AcquireLookupService();
  EXPECT_TRUE(services.Counter.IsDispatch());
  EXPECT_TRUE(services.Validator.IsDispatch());
  EXPECT_TRUE(services.LookupService.IsEmpty()) << "only windows with lookup flag 4 ask for it";
  EXPECT_EQ(services.CompanyTitle, "Company") << "a later equal name replaces the earlier";
  EXPECT_EQ(services.SystemInfo("sys001"), "3");
  EXPECT_EQ(services.SystemInfo("Missing"), "");
  ASSERT_EQ(manager->counter->CountOf("GetSysInfo"), 1);
  EXPECT_EQ(manager->counter->CallsOf("GetSysInfo")[0].args[0].AsAnsi(), "SDTest60");

  services.LookupFlags = 4;
  services.AcquireLookupService();
  EXPECT_TRUE(services.LookupService.IsDispatch());
}

TEST_F(ServerAccessTest, MissingServicesStayEmptyWithoutErrors) {
  manager->servicesAvailable = false;
  services.LookupFlags = 4;
  EXPECT_NO_THROW(services.AcquireManagerObjects());
  EXPECT_NO_THROW(services.AcquireLookupService());
  EXPECT_TRUE(services.Counter.IsEmpty());
  EXPECT_TRUE(services.Validator.IsEmpty());
  EXPECT_TRUE(services.LookupService.IsEmpty());

  services.Manager = Variant();
  EXPECT_NO_THROW(services.AcquireManagerObjects());
  EXPECT_EQ(services.SystemInfo(""), "");
  EXPECT_EQ(services.DateFormatCode(), 1);
  EXPECT_EQ(services.DateSeparatorText(), "/");
  EXPECT_TRUE(dialogs.Shown().empty());
}

TEST_F(ServerAccessTest, ProductCodeFallsBackToThree) {
  services.ReadProductCode();
  EXPECT_EQ(services.ProductCode, 1);
  manager->productId = Variant();
  services.ReadProductCode();
  EXPECT_EQ(services.ProductCode, 3);
  EXPECT_EQ(manager->CountOf("VersionType"), 2);
}

TEST_F(ServerAccessTest, ProgramMasterGivesNameCaptionAndLogFlag) {
  struct {
    const char* name;
    Variant answer;  // empty: the validator refuses
    std::string uiCodePage;
    std::string programName;
    bool wantLog;
  } cases[] = {
      {"five fields", VarArrayOf({"Returns", "x", "x", "x", "Y"}), "936", "Returns", true},
      {"no log", VarArrayOf({"Returns", "x", "x", "x", "N"}), "936", "Returns", false},
      {"English name under 437",
       VarArrayOf({"Returns", "x", "x", "x", "Y", "x", "x", "Purchase returns"}), "437",
       "Purchase returns", true},
      {"English name ignored under 950",
       VarArrayOf({"Returns", "x", "x", "x", "Y", "x", "x", "Purchase returns"}), "950", "Returns",
       true},
      {"refused", Variant(), "936", "", true},
      {"unreadable answer", Variant("not an array"), "936", "QZLB27", false},
  };
  for (const auto& c : cases) {
    services.Validator = Variant(manager->validator);
    manager->validator->answers.clear();
    if (!c.answer.IsEmpty()) manager->validator->answers["ADMMB/01"] = c.answer;
    services.ProgramName.clear();
    services.WantLog = true;
    services.uiCodePage = c.uiCodePage;
    services.ReadProgramMaster();
    EXPECT_EQ(services.ProgramName, c.programName) << c.name;
    EXPECT_EQ(services.CaptionText, c.programName) << c.name;
    EXPECT_EQ(services.WantLog, c.wantLog) << c.name;
  }
  const auto calls = manager->validator->CallsOf("CheckValue");
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls[0].args[0].AsAnsi(), "ADMMB");
  EXPECT_EQ(calls[0].args[1].AsAnsi(), "01");
  EXPECT_EQ(calls[0].args[2].AsAnsi(), "SYSDB");
  EXPECT_EQ(calls[0].args[3], VarArrayOf({"QZLB27"}));
}

TEST_F(ServerAccessTest, QueryServerConvertsBothWaysAndSendsProductAndLimits) {
  services.Validator = Variant(manager->validator);
  services.ProductCode = 5;
  services.BaseLimitText = u"limit";
  services.marking = true;
  manager->validator->answers["PURTH/01"] = VarArrayOf({"a", "b"});
  Variant result;
  EXPECT_TRUE(services.QueryServer("PURTH", "01", VarArrayOf({"K1"}), result, true));
  EXPECT_EQ(result, VarArrayOf({"ui:a", "ui:b"}));
  ASSERT_EQ(manager->validator->CountOf("QueryData"), 1);
  EXPECT_EQ(manager->validator->CallsOf("QueryData")[0].args[3], VarArrayOf({"db:K1"}));
  EXPECT_EQ(manager->validator->productId, Variant(5));
  EXPECT_EQ(manager->validator->baseLimited, Variant("limit"));

  manager->validator->raise = true;
  EXPECT_FALSE(services.QueryServer("PURTH", "01", VarArrayOf({"K1"}), result, false));
  services.Validator = Variant();
  EXPECT_FALSE(services.QueryServer("PURTH", "01", VarArrayOf({"K1"}), result, false));
}

TEST_F(ServerAccessTest, CheckServerValuePicksTheAnswerElementOrTheWholeAnswer) {
  services.Validator = Variant(manager->validator);
  manager->validator->answers["PURTH/01"] = VarArrayOf({"a", "b"});
  struct {
    int index;
    Variant expected;
    const char* call;
  } cases[] = {
      {0, Variant("a"), "CheckValue"},
      {1, Variant("b"), "CheckValue"},
      {5, VarArrayOf({"a", "b"}), "CheckValue"},
      {-1, VarArrayOf({"a", "b"}), "CheckValue"},
      {-2, VarArrayOf({"a", "b"}), "QueryData"},
  };
  for (const auto& c : cases) {
    const int before = manager->validator->CountOf(c.call);
    Variant result;
    EXPECT_TRUE(services.CheckServerValue("PURTH", "01", VarArrayOf({"K"}), result, c.index, "E"));
    EXPECT_EQ(result, c.expected) << c.index;
    EXPECT_EQ(manager->validator->CountOf(c.call), before + 1) << c.index;
  }
  EXPECT_TRUE(dialogs.Shown().empty());
}

TEST_F(ServerAccessTest, CheckServerValueShortcutsAndRefusals) {
  services.Validator = Variant(manager->validator);
  Variant result = "stale";
  EXPECT_TRUE(services.CheckServerValue("PURTH", "01", Variant::Null(), result, 0, "E"));
  EXPECT_TRUE(result.IsEmpty());

  services.cancelFocused = true;
  EXPECT_TRUE(services.CheckServerValue("PURTH", "99", VarArrayOf({"K"}), result, 0, "E"));
  EXPECT_EQ(manager->validator->calls.size(), 0u) << "no validation while the user cancels";
  services.cancelFocused = false;

  manager->messages["I000008"] = "no such document";
  struct {
    const char* msgType;
    bool shown;
    toolkit::TMsgDlgType kind;
    const char* code;
  } cases[] = {
      {"E", true, toolkit::mtError, "E;000001;no such document; "},
      {"W", true, toolkit::mtWarning, "W;000004;no such document; "},
      {"N", false, toolkit::mtCustom, ""},
  };
  for (const auto& c : cases) {
    dialogs.Clear();
    services.MessageCodes.clear();
    EXPECT_FALSE(services.CheckServerValue("PURTH", "99", VarArrayOf({"K"}), result, 0, c.msgType));
    ASSERT_EQ(dialogs.Shown().size(), c.shown ? 1u : 0u) << c.msgType;
    EXPECT_EQ(services.MessageCodes, c.code);
    if (c.shown) {
      EXPECT_EQ(dialogs.Shown()[0].Kind, c.kind);
      EXPECT_NE(dialogs.Shown()[0].Text.find("no such document"), std::string::npos);
    }
  }
}

TEST_F(ServerAccessTest, CounterValueIsAskedWithUpperCaseNameAndCompany) {
  Variant result = "stale";
  services.GetCounterValue("ResultConnectString", VarArrayOf({"p"}), result);
  EXPECT_TRUE(result.IsEmpty()) << "no counter yet";

  services.Counter = Variant(manager->counter);
  manager->counter->counters["RESULTCONNECTSTRING"] = "Driver=SQLite";
  services.GetCounterValue("ResultConnectString", VarArrayOf({"p"}), result);
  EXPECT_EQ(result, Variant("Driver=SQLite"));
  const auto call = manager->counter->CallsOf("GetCounter").at(0);
  EXPECT_EQ(call.args[0], Variant("RESULTCONNECTSTRING"));
  EXPECT_EQ(call.args[1], VarArrayOf({"p"}));
  EXPECT_EQ(call.args[2], VarArrayOf({"SDTest60", "SYSDB"}));
}

TEST_F(ServerAccessTest, LookupSendsItsNineteenArguments) {
  Variant result = "stale";
  services.LookupData("PURTH", "01", VarArrayOf({"p"}), "", false, result);
  EXPECT_TRUE(result.IsEmpty());
  EXPECT_TRUE(manager->lookup->calls.empty());

  services.LookupService = Variant(manager->lookup);
  services.ProductCode = 5;
  services.BaseLimitText = u"lim";
  services.LookupRightA = true;
  services.LookupRightB = false;
  services.marking = true;
  manager->lookup->lookupAnswer = VarArrayOf({"R001-00000000001"});
  services.LookupData("PURTH", "01", VarArrayOf({"p"}), "", false, result);
  EXPECT_EQ(result, VarArrayOf({"ui:R001-00000000001"}));
  const Variant args = manager->lookup->CallsOf("F2GetData").at(0).args.at(0);
  // The recorded arguments hold the manager, which holds the lookup service that recorded them:
  // forgotten here, so that the three go when the test ends.
  manager->lookup->calls.clear();
  ASSERT_EQ(automation::VarArrayHighBound(args, 1), 18);
  const Variant expected[] = {"PURTH", "01", VarArrayOf({"db:p"}), false, "db:", "SDTest60",
                              "SYSDB", 4711, 1, false, 5, "", "", "", "lim", false, true,
                              services.Manager, "796"};
  for (int i = 0; i <= 18; ++i) EXPECT_EQ(args[i], expected[i]) << "index " << i;
}

TEST_F(ServerAccessTest, PickDateWritesThePickedDayInTheCompanyFormat) {
  EXPECT_EQ(services.PickDate("20090101"), "") << "no lookup service";
  services.LookupService = Variant(manager->lookup);
  services.Counter = Variant(manager->counter);
  manager->counter->sysInfo = {{"Sys001", "3"}, {"Sys002", "-"}};
  services.SystemInfo("");

  manager->lookup->pickedDay = " 20090315 ";
  EXPECT_EQ(services.PickDate("20090101"), "15-03-2009");
  manager->lookup->pickedDay = "";
  EXPECT_EQ(services.PickDate("2009/01/01"), "2009/01/01") << "nothing picked: text unchanged";

  const auto calls = manager->lookup->CallsOf("ShowInputDay");
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].args[0], VarArrayOf({false, "20090101", "SYSDB"}));
  int y = 0, m = 0, d = 0;
  automation::DecodeDate(automation::Today(), y, m, d);
  char today[16];
  std::snprintf(today, sizeof today, "%04d%02d%02d", y, m, d);
  EXPECT_EQ(calls[1].args[0][1], Variant(today)) << "a text not of 8 characters starts today";

  manager->counter->sysInfo = {{"Sys001", "5"}, {"Sys002", "/"}};
  services.SystemInfo("");
  manager->lookup->pickedDay = "20090315";
  EXPECT_EQ(services.PickDate(""), "098/03/15");
  EXPECT_EQ(manager->lookup->CallsOf("ShowInputDay")[2].args[0][0], Variant(true));
}

TEST_F(ServerAccessTest, PhraseComesFromTheLookupService) {
  EXPECT_EQ(services.PhraseText(), "");
  services.LookupService = Variant(manager->lookup);
  manager->lookup->phrase = "hello";
  EXPECT_EQ(services.PhraseText(), "hello");
  const auto call = manager->lookup->CallsOf("GetPhrase").at(0);
  EXPECT_EQ(call.args[0], Variant("796"));
  EXPECT_EQ(call.args[1], Variant("SYSDB"));
  EXPECT_EQ(call.args[2], Variant(4711));
}

TEST_F(ServerAccessTest, JobRightsSetLookupFlagsAndLimitText) {
  struct {
    const char* field1;
    bool a;
    bool b;
  } cases[] = {
      {"x,x,x,YYYYYYYY,x", true, true},
      {"x,x,x,YYYYYYNY", false, true},
      {"x,x,x,YYYYYYYN", true, false},
      {"x,x,x,YYYYYYY", true, false},  // a missing character counts as "N"
      {"x,x,x", false, false},
  };
  for (const auto& c : cases) {
    const Variant answer = VarArrayOf(
        {Variant(), c.field1, Variant(), Variant(), "PRE", VarArrayOf({1, "one"})});
    services.ApplyJobRights(answer);
    EXPECT_EQ(services.LookupRightA, c.a) << c.field1;
    EXPECT_EQ(services.LookupRightB, c.b) << c.field1;
  }
  EXPECT_EQ(services.rightsLoaded, 5);
  EXPECT_EQ(services.BaseLimitText, JoinParamList("PRE", VarArrayOf({1, "one"})));
}

TEST(HelpTopic, FollowsTheProgramKind) {
  struct {
    const char* code;
    const char* topic;
  } cases[] = {
      {"ABCB27", "13270000"}, {"QZLB27", "13270000"}, {"ABCR05", "12050000"},
      {"ABCAB1", "63B10000"}, {"ABCMR5", "82R50000"}, {"abcr05", "12050000"},
      {"ABCZX1", ""},         {"ABCAX1", ""},         {"ABC", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(TGeneServices::HelpTopic(c.code), c.topic) << c.code;
}

TEST_F(ServerAccessTest, HelpCallsTheManagerWithPrefixAndTopic) {
  services.ProgramCode = "ABCB27";
  EXPECT_TRUE(services.CallProgramHelp());
  ASSERT_EQ(manager->CountOf("CallHelp"), 1);
  EXPECT_EQ(manager->CallsOf("CallHelp")[0].args[0], VarArrayOf({"ABC", "13270000"}));
  services.ProgramCode = "ABCZX1";
  EXPECT_FALSE(services.CallProgramHelp());
  EXPECT_EQ(manager->CountOf("CallHelp"), 1);
}

TEST_F(ServerAccessTest, LibraryModuleByExtension) {
  struct {
    const char* path;
    bool library;
  } cases[] = {{"/opt/QZLB27C.so", true}, {"C:\\ERP\\QZLB27C.Dll", true},
               {"/opt/QZLB27C.DLL", true}, {"/opt/QZLB27CX", false}, {"/opt/q.exe", false}};
  for (const auto& c : cases) {
    services.ModulePath = c.path;
    EXPECT_EQ(services.IsLibraryModule(), c.library) << c.path;
  }
}

// ---- Job-server connection ------------------------------------------------------------------------

// The job server's stand-in: answers its own name.
class JobServerObject : public scripted::Recorder {
 public:
  JobServerObject() {
    Method("Name", [](automation::CallArgs) { return Variant("job server"); });
  }
};

constexpr const char* kJobServerClass = "ReportCounterS.dmReportCounter";

TEST_F(ServerAccessTest, RecordedCodesAreTheConnectionError) {
  manager->messages["E000038"] = "parameters missing";
  services.ShowCode("E;000038");
  EXPECT_FALSE(services.ConfigureJobConnection());
  ASSERT_EQ(dialogs.Shown().size(), 2u) << "the recorded code is shown once more";
  EXPECT_EQ(dialogs.Shown()[1].Kind, toolkit::mtError);
  EXPECT_EQ(dialogs.Shown()[1].Text, "parameters missing");
  EXPECT_EQ(services.MainMidas.Address(), "") << "the configuration is not read";

  // A raw error alone is recorded, not shown, but still fails the connection.
  services.RecordError("");
  services.RecordError("earlier failure");
  EXPECT_FALSE(services.ConfigureJobConnection());
  EXPECT_EQ(dialogs.Shown().size(), 2u);
}

TEST_F(ServerAccessTest, JobServerAtTheLoopbackAddressIsCreatedInProcess) {
  automation::RegisterClass(kJobServerClass, [] { return std::make_shared<JobServerObject>(); });
  scripted::ClientInstallation client("127.0.0.1", 7000);
  ASSERT_TRUE(services.ConfigureJobConnection());
  EXPECT_EQ(services.MainMidas.Address(), "127.0.0.1");
  EXPECT_EQ(services.MainMidas.Port(), 7000);
  services.MainMidas.SetServerName(kJobServerClass);
  ASSERT_TRUE(services.ConnectJobServer());
  EXPECT_TRUE(services.ServerIsLocal);
  EXPECT_FALSE(services.MainMidas.Connected()) << "no socket for a server on this computer";
  EXPECT_EQ(services.JobServer.Call("Name").AsAnsi(), "job server");
  services.DisconnectJobServer();
  EXPECT_TRUE(services.JobServer.IsEmpty());
  automation::UnregisterClass(kJobServerClass);
}

TEST_F(ServerAccessTest, JobServerElsewhereIsReachedOverTheSocketConnection) {
  automation::RegisterClass(kJobServerClass, [] { return std::make_shared<JobServerObject>(); });
  net::DispatchServer server;
  server.Listen("127.0.0.1", 0);
  // The same loopback interface written as an IPv4-mapped address: not the local-server address,
  // so the window takes the socket road to the daemon listening there.
  scripted::ClientInstallation client("::ffff:127.0.0.1", server.Port());
  ASSERT_TRUE(services.ConfigureJobConnection());
  services.MainMidas.SetServerName(kJobServerClass);
  ASSERT_TRUE(services.ConnectJobServer()) << services.MessageLog;
  EXPECT_FALSE(services.ServerIsLocal);
  EXPECT_TRUE(services.MainMidas.Connected());
  EXPECT_EQ(services.JobServer.Call("Name").AsAnsi(), "job server");
  services.DisconnectJobServer();
  EXPECT_FALSE(services.MainMidas.Connected());
  server.Stop();
  automation::UnregisterClass(kJobServerClass);
}

TEST_F(ServerAccessTest, FailedConnectionIsRecordedAsRawError) {
  net::DispatchServer server;
  server.Listen("127.0.0.1", 0);
  const int port = server.Port();
  server.Stop();  // nobody listens there any more
  scripted::ClientInstallation client("::ffff:127.0.0.1", port);
  ASSERT_TRUE(services.ConfigureJobConnection());
  services.MainMidas.SetServerName(kJobServerClass);
  services.MainMidas.SetConnectTimeout(std::chrono::milliseconds(2000));
  EXPECT_FALSE(services.ConnectJobServer());
  EXPECT_EQ(services.MessageCodes, "E;-1; ");
  EXPECT_FALSE(services.MessageLog.empty());
  EXPECT_TRUE(services.JobServer.IsEmpty());
  EXPECT_TRUE(dialogs.Shown().empty()) << "the caller shows E;000006";
}

TEST_F(ServerAccessTest, NoConfiguredServerIsNoError) {
  // Without a registry store the client configuration has no server list.
  setenv("QRN_REGISTRY", "/nonexistent/registry.ini", 1);
  EXPECT_TRUE(services.ConfigureJobConnection());
  EXPECT_EQ(services.MainMidas.Address(), "");
}

}  // namespace
