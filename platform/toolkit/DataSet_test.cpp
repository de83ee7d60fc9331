#include "toolkit/DataSet.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "toolkit/Form.h"
#include "toolkit/Properties.h"

namespace toolkit {
namespace {

using automation::Variant;
using ::testing::ElementsAre;

// A window whose handlers stand in for the option window's text handlers.
class DataSetWindow : public Form {
  Q_OBJECT
 public:
  explicit DataSetWindow(Component* owner) : Form(owner) {}
  void FieldGetText(Component* sender, std::string& text, bool displayText) {
    text = "<" + text + (displayText ? ">!" : ">");
    senders.push_back(sender->Name());
  }
  void FieldSetText(Component* sender, const std::string& text) {
    static_cast<Field*>(sender)->SetAsString("[" + text + "]");
  }
  std::vector<std::string> senders;
};

[[maybe_unused]] const auto published = Publish<DataSetWindow>()
                                            .Handler("FieldGetText", &DataSetWindow::FieldGetText)
                                            .Handler("FieldSetText", &DataSetWindow::FieldSetText);

class SchemeTable : public ::testing::Test {
 protected:
  SchemeTable() : form(new DataSetWindow(nullptr)), data(new ClientDataSet(form)) {
    data->SetName("ClientDataSet1");
    name = data->AddField("NCONDITION", Field::ftString, 40);
    name->SetName("ClientDataSet1NCONDITION");
    creator = data->AddField("CREATOR", Field::ftString, 10);
    count = data->AddField("COUNT", Field::ftInteger);
    memo = data->AddField("VCONDITION", Field::ftMemo);
    data->CreateDataSet();
    data->AppendRecord({"alpha", "ADMIN", 1, "v1"});
    data->AppendRecord({"beta", "USER", 2, "v2"});
    data->AppendRecord({"gamma", "ADMIN", 3});
    data->First();
  }
  ~SchemeTable() override { Free(form); }

  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (data->First(); !data->Eof(); data->Next()) names.push_back(name->AsString());
    return names;
  }

  DataSetWindow* form;
  ClientDataSet* data;
  Field* name;
  Field* creator;
  Field* count;
  Field* memo;
};

TEST_F(SchemeTable, FieldsAndRecords) {
  EXPECT_EQ(data->FieldCount(), 4);
  EXPECT_EQ(data->RecordCount(), 3);
  EXPECT_EQ(data->FieldByName("ncondition"), name);
  EXPECT_EQ(data->FindField("missing"), nullptr);
  EXPECT_THROW(data->FieldByName("missing"), Error);
  EXPECT_EQ(count->Index(), 2);
  EXPECT_THAT(Names(), ElementsAre("alpha", "beta", "gamma"));
  data->SetRecNo(3);
  EXPECT_TRUE(memo->IsNull());
  EXPECT_EQ(memo->AsString(), "");
  EXPECT_EQ(count->AsInteger(), 3);
  EXPECT_EQ(count->Value(), Variant(3));
  EXPECT_TRUE(name->IsTextField());
  EXPECT_TRUE(memo->IsTextField());
  EXPECT_FALSE(count->IsTextField());
  EXPECT_EQ(GetStrPropOf(name, "FieldName"), "NCONDITION");
  EXPECT_EQ(GetEnumPropOf(memo, "DataType"), "ftMemo");
  EXPECT_EQ(GetOrdPropOf(data, "RecordCount"), 3);
}

TEST_F(SchemeTable, DisplayLabelIsTheFieldNameUntilSet) {
  EXPECT_EQ(name->DisplayLabel(), "NCONDITION");
  SetStrPropOf(name, "DisplayLabel", "Scheme");
  EXPECT_EQ(name->DisplayLabel(), "Scheme");
}

TEST_F(SchemeTable, EditingAndPosting) {
  data->Locate("NCONDITION", Variant("beta"));
  EXPECT_THROW(name->SetAsString("x"), Error);
  data->Edit();
  name->SetAsString("BETA");
  EXPECT_EQ(name->AsString(), "BETA");
  data->Cancel();
  EXPECT_EQ(name->AsString(), "beta");
  data->Edit();
  name->SetAsString("delta");
  count->SetAsString("42");
  data->Post();
  EXPECT_EQ(count->Value(), Variant(42));
  EXPECT_THAT(Names(), ElementsAre("alpha", "delta", "gamma"));

  // A value the type cannot take.
  data->Edit();
  EXPECT_THROW(count->SetValue(Variant("many")), automation::Error);
  data->Cancel();

  data->First();
  data->Delete();
  EXPECT_THAT(Names(), ElementsAre("delta", "gamma"));
  data->First();
  data->Insert();
  name->SetAsString("first");
  data->Post();
  EXPECT_THAT(Names(), ElementsAre("first", "delta", "gamma"));
  data->EmptyDataSet();
  EXPECT_TRUE(data->IsEmpty());
  EXPECT_THROW(data->Delete(), Error);
}

TEST_F(SchemeTable, LocateAndFindKey) {
  EXPECT_TRUE(data->Locate("CREATOR;COUNT", automation::VarArrayOf({"ADMIN", 3})));
  EXPECT_EQ(name->AsString(), "gamma");
  EXPECT_FALSE(data->Locate("NCONDITION", Variant("BETA")));
  EXPECT_EQ(name->AsString(), "gamma") << "no move without a match";
  EXPECT_TRUE(data->Locate("NCONDITION", Variant("BETA"), true));
  EXPECT_EQ(data->RecNo(), 2);

  EXPECT_THROW(data->FindKey({"alpha"}), Error);
  data->AddIndex("Index1", "NCONDITION;CREATOR");
  data->SetIndexName("Index1");
  EXPECT_TRUE(data->FindKey({"gamma", "ADMIN"}));
  EXPECT_EQ(data->RecNo(), 3);
  EXPECT_FALSE(data->FindKey({"gamma", "USER"}));
  EXPECT_TRUE(data->FindKey({"alpha"}));
  EXPECT_EQ(data->RecNo(), 1);
  data->SetIndexFieldNames("CREATOR");
  EXPECT_EQ(data->IndexName(), "");
  EXPECT_TRUE(data->FindKey({"USER"}));
  EXPECT_EQ(name->AsString(), "beta");
}

TEST_F(SchemeTable, TextHandlers) {
  EXPECT_FALSE(name->HasGetTextHandler());
  EXPECT_EQ(name->DisplayText(), "alpha");
  SetMethodPropOf(name, "OnGetText", FindMethod(form, "FieldGetText"));
  SetMethodPropOf(name, "OnSetText", FindMethod(form, "FieldSetText"));
  EXPECT_TRUE(name->HasGetTextHandler());
  EXPECT_TRUE(name->HasSetTextHandler());
  EXPECT_EQ(name->DisplayText(), "<alpha>!");
  EXPECT_EQ(name->Text(), "<alpha>");
  EXPECT_THAT(form->senders, ElementsAre("ClientDataSet1NCONDITION", "ClientDataSet1NCONDITION"));
  data->Edit();
  name->SetText("typed");
  data->Post();
  EXPECT_EQ(name->AsString(), "[typed]");
  // Without handlers the text is the value.
  data->Edit();
  creator->SetText("X");
  data->Post();
  EXPECT_EQ(creator->DisplayText(), "X");
}

TEST_F(SchemeTable, ClosedDataSet) {
  data->Close();
  EXPECT_FALSE(data->Active());
  EXPECT_TRUE(name->Value().IsEmpty());
  EXPECT_THROW(data->Next(), Error);
  EXPECT_THROW(data->Edit(), Error);
  // The records of an in-memory table stay.
  data->Open();
  EXPECT_EQ(data->RecordCount(), 3);
  EXPECT_EQ(name->AsString(), "alpha");
}

TEST(ClientDataSet, RecordsComeFromTheDataRequestAtEachOpening) {
  auto* form = new Form(nullptr);
  auto* data = new ClientDataSet(form);
  int openings = 0;
  data->SetDataRequest([&](ClientDataSet& set) {
    ++openings;
    if (!set.FindField("NAME")) set.AddField("NAME", Field::ftString);
    for (int i = 0; i < openings; ++i) set.AppendRecord({"row " + std::to_string(i)});
  });
  data->SetActive(true);
  EXPECT_EQ(data->RecordCount(), 1);
  EXPECT_EQ(data->RecNo(), 1);
  data->Close();
  EXPECT_EQ(data->RecordCount(), 0);
  data->Open();
  EXPECT_EQ(data->RecordCount(), 2);
  EXPECT_EQ(data->FieldByName("NAME")->AsString(), "row 0");

  // A failing request leaves the data set closed.
  data->Close();
  data->SetDataRequest([](ClientDataSet&) { throw Error("server gone"); });
  EXPECT_THROW(data->Open(), Error);
  EXPECT_FALSE(data->Active());
  Free(form);
}

TEST(ClientDataSet, FieldsMayOutliveTheirDataSet) {
  auto* form = new Form(nullptr);
  auto* data = new ClientDataSet(form);
  auto* field = new StringField(form);
  field->SetFieldName("NAME");
  SetObjectProperty(field, "DataSet", data);
  EXPECT_EQ(data->FieldByName("NAME"), field);
  Free(data);
  EXPECT_EQ(field->GetDataSet(), nullptr);
  EXPECT_TRUE(field->Value().IsEmpty());
  Free(form);
}

TEST(ClientDataSet, ControlsDisabledUntilEnabledAsOften) {
  ClientDataSet data(nullptr);
  data.DisableControls();
  data.DisableControls();
  data.EnableControls();
  EXPECT_TRUE(data.ControlsDisabled());
  data.EnableControls();
  EXPECT_FALSE(data.ControlsDisabled());
  data.EnableControls();
  EXPECT_FALSE(data.ControlsDisabled());
}

TEST(ClientDataSet, ClassNames) {
  auto* form = new Form(nullptr);
  EXPECT_EQ(CreateComponent("TClientDataSet", form)->ClassName(), "TClientDataSet");
  auto* field = dynamic_cast<Field*>(CreateComponent("TMemoField", form));
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->DataType(), Field::ftMemo);
  EXPECT_TRUE(field->InheritsFrom("TField"));
  Free(form);
}

}  // namespace
}  // namespace toolkit

#include "DataSet_test.moc"
