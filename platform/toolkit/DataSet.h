// Client data sets: in-memory tables of records ("TClientDataSet") with their fields ("TField"
// and its kinds "TStringField", "TMemoField", "TIntegerField", "TFloatField", "TBooleanField",
// "TDateTimeField").
//
// A data set is a non-visual component owned by its window. Its fields are components too; each
// names the data set it belongs to (`DataSet`, a component reference in form descriptions), and
// fields made with `AddField` are owned by the data set. A field publishes FieldName, DisplayLabel
// (the caption a window shows for it; the field name until one is set), DataType, Size, ReadOnly,
// Visible, DataSet, and its two text handlers:
//   OnGetText (TFieldGetTextEvent: Sender, var Text, DisplayText) — what the field shows; without
//     a handler the text of its value;
//   OnSetText (TFieldSetTextEvent: Sender, Text) — how an entered text is stored; without a
//     handler the text becomes the value.
// Windows put their own handlers there (the option window converts texts between the database's
// and the screen's code page), so the handlers are ordinary event properties.
//
// The data set publishes Active (False), ProviderName (""), IndexName (""), IndexFieldNames
// (""), RecordCount and FieldCount (read only), and BeforeOpen, AfterOpen, AfterScroll. Records
// are rows of Variants, one per field, kept in the order they were added. The current record is
// read and written through the fields; Edit, Append and Insert open an edit buffer that Post
// writes back and Cancel drops. Opening asks the data request (`SetDataRequest`, the provider of
// the records: the job server's answer for the scheme list) for the records when one is set;
// without one the records already held stay (an in-memory table, made with CreateDataSet).
//
// Failures raise toolkit::Error with the desktop toolkit's messages: "Field 'X' not found",
// "Cannot perform this operation on a closed dataset", "Dataset not in edit or insert mode",
// "Cannot perform this operation on an empty dataset". Values are converted to the field's type
// when written; a value the type cannot take raises automation::Error.
#pragma once

#include <QPointer>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "automation/Variant.h"
#include "toolkit/Component.h"
#include "toolkit/Events.h"

namespace toolkit {

class ClientDataSet;

// Text handlers of a field.
using TFieldGetTextEvent = Event<std::string&, bool>;
using TFieldSetTextEvent = Event<const std::string&>;

class Field : public NonVisualComponent {
  Q_OBJECT
 public:
  enum TFieldType {
    ftUnknown,
    ftString,
    ftSmallint,
    ftInteger,
    ftWord,
    ftBoolean,
    ftFloat,
    ftCurrency,
    ftDate,
    ftTime,
    ftDateTime,
    ftMemo,
    ftFixedChar,
    ftWideString,
    ftLargeint,
    ftWideMemo
  };
  Q_ENUM(TFieldType)

 private:
  Q_PROPERTY(std::string FieldName READ FieldName WRITE SetFieldName)
  Q_PROPERTY(std::string DisplayLabel READ DisplayLabel WRITE SetDisplayLabel)
  Q_PROPERTY(TFieldType DataType READ DataType WRITE SetDataType)
  Q_PROPERTY(int Size READ Size WRITE SetSize)
  Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
  Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
  Q_PROPERTY(toolkit::ClientDataSet* DataSet READ GetDataSet WRITE SetDataSet)
  Q_PROPERTY(toolkit::TFieldGetTextEvent OnGetText MEMBER FOnGetText)
  Q_PROPERTY(toolkit::TFieldSetTextEvent OnSetText MEMBER FOnSetText)

 public:
  // A field of no data set, type ftUnknown (its kinds set theirs).
  explicit Field(Component* owner);
  ~Field() override;

  const std::string& FieldName() const { return field_name_; }
  void SetFieldName(std::string name) { field_name_ = std::move(name); }
  // The label set, or the field name while none is.
  const std::string& DisplayLabel() const;
  void SetDisplayLabel(std::string label) { display_label_ = std::move(label); }
  TFieldType DataType() const { return data_type_; }
  void SetDataType(TFieldType type) { data_type_ = type; }
  int Size() const { return size_; }
  void SetSize(int size) { size_ = size; }
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool readOnly) { read_only_ = readOnly; }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { visible_ = visible; }

  ClientDataSet* GetDataSet() const { return data_set_; }
  // Joins the data set's fields (last), leaving the former one; null leaves it.
  void SetDataSet(ClientDataSet* dataSet);
  // Position among the data set's fields; -1 without a data set.
  int Index() const;

  // Whether the field holds text: ftString, ftFixedChar, ftWideString, ftMemo, ftWideMemo.
  bool IsTextField() const;

  // The value in the current record (the edit buffer while editing); empty without a data set,
  // while it is closed or when it has no current record.
  automation::Variant Value() const;
  // Writes the value, converted to the field's type (null stays null), into the edit buffer;
  // Error when the data set is closed or not being edited.
  void SetValue(const automation::Variant& value);
  bool IsNull() const;
  void Clear() { SetValue(automation::Variant::Null()); }
  // The value as text ("" for empty and null), and written from a text.
  std::string AsString() const;
  void SetAsString(const std::string& text);
  int AsInteger() const;
  double AsFloat() const;
  bool AsBoolean() const;

  // What the field shows: OnGetText when set (starting from AsString), otherwise AsString.
  // DisplayText asks for the text to display, Text for the text to edit.
  std::string Text() const { return GetText(false); }
  std::string DisplayText() const { return GetText(true); }
  // Stores an entered text: OnSetText when set, otherwise SetAsString.
  void SetText(const std::string& text);

  bool HasGetTextHandler() const { return !FOnGetText.IsEmpty(); }
  bool HasSetTextHandler() const { return !FOnSetText.IsEmpty(); }

 protected:
  std::string GetText(bool displayText) const;
  automation::Variant Converted(const automation::Variant& value) const;

  TFieldGetTextEvent FOnGetText;
  TFieldSetTextEvent FOnSetText;

 private:
  friend class ClientDataSet;
  std::string field_name_;
  std::string display_label_;
  TFieldType data_type_ = ftUnknown;
  int size_ = 0;
  bool read_only_ = false;
  bool visible_ = true;
  ClientDataSet* data_set_ = nullptr;
};

// The field kinds by their class names; each sets its data type (a string field 20 wide).
class StringField : public Field {
  Q_OBJECT
 public:
  explicit StringField(Component* owner);
};
class MemoField : public Field {
  Q_OBJECT
 public:
  explicit MemoField(Component* owner);
};
class IntegerField : public Field {
  Q_OBJECT
 public:
  explicit IntegerField(Component* owner);
};
class FloatField : public Field {
  Q_OBJECT
 public:
  explicit FloatField(Component* owner);
};
class BooleanField : public Field {
  Q_OBJECT
 public:
  explicit BooleanField(Component* owner);
};
class DateTimeField : public Field {
  Q_OBJECT
 public:
  explicit DateTimeField(Component* owner);
};

class ClientDataSet : public NonVisualComponent {
  Q_OBJECT
 public:
  enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };
  Q_ENUM(TDataSetState)

 private:
  Q_PROPERTY(bool Active READ Active WRITE SetActive)
  Q_PROPERTY(std::string ProviderName READ ProviderName WRITE SetProviderName)
  Q_PROPERTY(std::string IndexName READ IndexName WRITE SetIndexName)
  Q_PROPERTY(std::string IndexFieldNames READ IndexFieldNames WRITE SetIndexFieldNames)
  Q_PROPERTY(int RecordCount READ RecordCount)
  Q_PROPERTY(int FieldCount READ FieldCount)
  Q_PROPERTY(toolkit::NotifyEvent BeforeOpen MEMBER FBeforeOpen)
  Q_PROPERTY(toolkit::NotifyEvent AfterOpen MEMBER FAfterOpen)
  Q_PROPERTY(toolkit::NotifyEvent AfterScroll MEMBER FAfterScroll)

 public:
  // A closed data set without fields or records.
  explicit ClientDataSet(Component* owner);
  ~ClientDataSet() override;

  // ---- Fields
  int FieldCount() const { return static_cast<int>(fields_.size()); }
  // Field `index`; null outside 0..FieldCount-1.
  Field* Fields(int index) const;
  const std::vector<Field*>& FieldList() const { return fields_; }
  // The field of that name (ignoring case); null / Error "Field 'X' not found".
  Field* FindField(std::string_view name) const;
  Field* FieldByName(std::string_view name) const;
  // A new field of the data set, owned by it (its kind follows the type).
  Field* AddField(std::string name, Field::TFieldType type, int size = 0);

  // ---- Opening and closing
  bool Active() const { return state_ != dsInactive; }
  void SetActive(bool active);
  // BeforeOpen; the records from the data request when one is set; the first record; AfterOpen.
  void Open();
  // Drops an edit buffer and closes; the records stay unless a data request gives them.
  void Close();
  // Opens with no records (an in-memory table of the fields defined).
  void CreateDataSet();
  // The provider of the records: called by Open with the data set, which it fills through
  // AppendRecord (the fields may be added there too). Null for none.
  void SetDataRequest(std::function<void(ClientDataSet&)> request) {
    data_request_ = std::move(request);
  }
  const std::string& ProviderName() const { return provider_name_; }
  void SetProviderName(std::string name) { provider_name_ = std::move(name); }
  TDataSetState State() const { return state_; }

  // ---- Records and navigation
  int RecordCount() const { return static_cast<int>(rows_.size()); }
  bool IsEmpty() const { return rows_.empty(); }
  // The current record from 1; 0 when there is none. Setting moves there (held to the records).
  int RecNo() const { return Active() && !rows_.empty() ? current_ + 1 : 0; }
  void SetRecNo(int recNo);
  void First();
  void Last();
  void Next();
  void Prior();
  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }

  // ---- Editing
  void Edit();
  // A new record after the last / before the current one, in the edit buffer until Post.
  void Append();
  void Insert();
  void Post();
  void Cancel();
  // Removes the current record; Error on an empty data set.
  void Delete();
  // Appends a record with the values in field order (missing ones stay null) and posts it.
  void AppendRecord(const std::vector<automation::Variant>& values);
  // Removes every record (the data set stays open).
  void EmptyDataSet();

  // ---- Searching
  // Moves to the first record whose fields `keyFields` ("A;B") equal `values` (a single value,
  // or an array of one value per field); texts compared exactly, or without regard to case.
  // False and no move when none matches.
  bool Locate(std::string_view keyFields, const automation::Variant& values,
              bool caseInsensitive = false);
  // Declares an index: its name and its fields ("A;B;C").
  void AddIndex(std::string name, std::string fields);
  const std::string& IndexName() const { return index_name_; }
  // Makes the named index current (clears IndexFieldNames).
  void SetIndexName(std::string name);
  const std::string& IndexFieldNames() const { return index_field_names_; }
  // Makes these fields the current index (clears IndexName).
  void SetIndexFieldNames(std::string fields);
  // Locate on the fields of the current index, values in their order; Error when there is no
  // current index.
  bool FindKey(const std::vector<automation::Variant>& values);

  // ---- Controls
  // Disables the refresh of data-aware controls until EnableControls is called as often.
  void DisableControls() { ++disabled_; }
  void EnableControls() {
    if (disabled_ > 0) --disabled_;
  }
  bool ControlsDisabled() const { return disabled_ > 0; }

 protected:
  NotifyEvent FBeforeOpen;
  NotifyEvent FAfterOpen;
  NotifyEvent FAfterScroll;

 private:
  friend class Field;
  void AddFieldToList(Field* field);
  void RemoveFieldFromList(Field* field);
  void CheckActive() const;
  void CheckBrowse();
  void Scrolled();
  // The row a field reads: the edit buffer while editing, else the current record; null when
  // there is none.
  const std::vector<automation::Variant>* CurrentRow() const;
  std::vector<automation::Variant>* EditRow();
  std::string CurrentIndexFields() const;

  std::vector<Field*> fields_;
  std::vector<std::vector<automation::Variant>> rows_;
  std::vector<automation::Variant> buffer_;
  int current_ = 0;
  int insert_at_ = 0;
  bool eof_ = true;
  bool bof_ = true;
  TDataSetState state_ = dsInactive;
  std::string provider_name_;
  std::string index_name_;
  std::string index_field_names_;
  std::vector<std::pair<std::string, std::string>> indexes_;
  std::function<void(ClientDataSet&)> data_request_;
  int disabled_ = 0;
};

}  // namespace toolkit
