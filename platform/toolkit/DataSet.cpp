#include "toolkit/DataSet.h"

#include <algorithm>

#include "automation/Dispatch.h"

namespace toolkit {
namespace {

using automation::Variant;

std::vector<std::string> SplitFieldNames(std::string_view names) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= names.size()) {
    size_t end = names.find(';', start);
    if (end == std::string_view::npos) end = names.size();
    std::string_view part = names.substr(start, end - start);
    while (!part.empty() && static_cast<unsigned char>(part.front()) <= ' ') part.remove_prefix(1);
    while (!part.empty() && static_cast<unsigned char>(part.back()) <= ' ') part.remove_suffix(1);
    if (!part.empty()) parts.emplace_back(part);
    start = end + 1;
  }
  return parts;
}

bool SameValue(const Variant& a, const Variant& b, bool caseInsensitive) {
  const bool aMissing = a.IsNull() || a.IsEmpty();
  const bool bMissing = b.IsNull() || b.IsEmpty();
  if (aMissing || bMissing) return aMissing && bMissing;
  if (a.IsText() || b.IsText()) {
    const std::string x = automation::VarToStr(a);
    const std::string y = automation::VarToStr(b);
    return caseInsensitive ? automation::SameName(x, y) : x == y;
  }
  if (a.IsNumeric() && b.IsNumeric()) return a.AsDouble() == b.AsDouble();
  return a == b;
}

[[noreturn]] void ThrowClosed() {
  throw Error("Cannot perform this operation on a closed dataset");
}

}  // namespace

// ---- Field -------------------------------------------------------------------------------------

Field::Field(Component* owner) : NonVisualComponent(owner) {}

Field::~Field() {
  SetDataSet(nullptr);
}

const std::string& Field::DisplayLabel() const {
  return display_label_.empty() ? field_name_ : display_label_;
}

void Field::SetDataSet(ClientDataSet* dataSet) {
  if (dataSet == data_set_) return;
  if (data_set_) data_set_->RemoveFieldFromList(this);
  data_set_ = dataSet;
  if (data_set_) data_set_->AddFieldToList(this);
}

int Field::Index() const {
  if (!data_set_) return -1;
  const auto& list = data_set_->fields_;
  const auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

bool Field::IsTextField() const {
  switch (data_type_) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftMemo:
    case ftWideMemo:
      return true;
    default:
      return false;
  }
}

Variant Field::Value() const {
  if (!data_set_) return {};
  const std::vector<Variant>* row = data_set_->CurrentRow();
  const int index = Index();
  if (!row || index < 0 || index >= static_cast<int>(row->size())) return {};
  return (*row)[static_cast<size_t>(index)];
}

Variant Field::Converted(const Variant& value) const {
  if (value.IsNull() || value.IsEmpty()) return Variant::Null();
  switch (data_type_) {
    case ftString:
    case ftFixedChar:
    case ftMemo:
      return Variant(value.AsAnsi());
    case ftWideString:
    case ftWideMemo:
      return Variant(value.AsWide());
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftLargeint:
      return Variant(value.AsInteger());
    case ftBoolean:
      return Variant(value.AsBoolean());
    case ftFloat:
    case ftCurrency:
      return Variant(value.AsDouble());
    case ftDate:
    case ftTime:
    case ftDateTime:
      return Variant::FromDate(value.AsDate());
    default:
      return value;
  }
}

void Field::SetValue(const Variant& value) {
  if (!data_set_) throw Error("Field '" + field_name_ + "' has no dataset");
  std::vector<Variant>* row = data_set_->EditRow();
  const int index = Index();
  (*row)[static_cast<size_t>(index)] = Converted(value);
}

bool Field::IsNull() const {
  const Variant value = Value();
  return value.IsNull() || value.IsEmpty();
}

std::string Field::AsString() const {
  return automation::VarToStr(Value());
}

void Field::SetAsString(const std::string& text) {
  // An empty text clears a field that is not a text field.
  if (text.empty() && !IsTextField() && data_type_ != ftUnknown) {
    Clear();
  } else {
    SetValue(Variant(text));
  }
}

int Field::AsInteger() const {
  const Variant value = Value();
  return value.IsNull() || value.IsEmpty() ? 0 : value.AsInteger();
}

double Field::AsFloat() const {
  const Variant value = Value();
  return value.IsNull() || value.IsEmpty() ? 0 : value.AsDouble();
}

bool Field::AsBoolean() const {
  const Variant value = Value();
  return value.IsNull() || value.IsEmpty() ? false : value.AsBoolean();
}

std::string Field::GetText(bool displayText) const {
  std::string text = AsString();
  if (!FOnGetText.IsEmpty()) FOnGetText(const_cast<Field*>(this), text, displayText);
  return text;
}

void Field::SetText(const std::string& text) {
  if (!FOnSetText.IsEmpty()) {
    FOnSetText(this, text);
  } else {
    SetAsString(text);
  }
}

StringField::StringField(Component* owner) : Field(owner) {
  SetDataType(ftString);
  SetSize(20);
}
MemoField::MemoField(Component* owner) : Field(owner) {
  SetDataType(ftMemo);
}
IntegerField::IntegerField(Component* owner) : Field(owner) {
  SetDataType(ftInteger);
}
FloatField::FloatField(Component* owner) : Field(owner) {
  SetDataType(ftFloat);
}
BooleanField::BooleanField(Component* owner) : Field(owner) {
  SetDataType(ftBoolean);
}
DateTimeField::DateTimeField(Component* owner) : Field(owner) {
  SetDataType(ftDateTime);
}

// ---- ClientDataSet -----------------------------------------------------------------------------

ClientDataSet::ClientDataSet(Component* owner) : NonVisualComponent(owner) {}

ClientDataSet::~ClientDataSet() {
  // Fields that outlive the data set (owned by the window) forget it.
  for (Field* field : fields_) field->data_set_ = nullptr;
  fields_.clear();
}

Field* ClientDataSet::Fields(int index) const {
  return index >= 0 && index < FieldCount() ? fields_[static_cast<size_t>(index)] : nullptr;
}

Field* ClientDataSet::FindField(std::string_view name) const {
  for (Field* field : fields_)
    if (automation::SameName(field->FieldName(), name)) return field;
  return nullptr;
}

Field* ClientDataSet::FieldByName(std::string_view name) const {
  Field* field = FindField(name);
  if (!field) throw Error("Field '" + std::string(name) + "' not found");
  return field;
}

Field* ClientDataSet::AddField(std::string name, Field::TFieldType type, int size) {
  Field* field;
  switch (type) {
    case Field::ftString:
    case Field::ftFixedChar:
    case Field::ftWideString:
      field = new StringField(this);
      break;
    case Field::ftMemo:
    case Field::ftWideMemo:
      field = new MemoField(this);
      break;
    case Field::ftSmallint:
    case Field::ftInteger:
    case Field::ftWord:
    case Field::ftLargeint:
      field = new IntegerField(this);
      break;
    case Field::ftFloat:
    case Field::ftCurrency:
      field = new FloatField(this);
      break;
    case Field::ftBoolean:
      field = new BooleanField(this);
      break;
    case Field::ftDate:
    case Field::ftTime:
    case Field::ftDateTime:
      field = new DateTimeField(this);
      break;
    default:
      field = new Field(this);
      break;
  }
  field->SetDataType(type);
  if (size > 0) field->SetSize(size);
  field->SetFieldName(std::move(name));
  field->SetDataSet(this);
  return field;
}

void ClientDataSet::AddFieldToList(Field* field) {
  fields_.push_back(field);
  for (auto& row : rows_) row.emplace_back(Variant::Null());
  if (state_ == dsEdit || state_ == dsInsert) buffer_.emplace_back(Variant::Null());
}

void ClientDataSet::RemoveFieldFromList(Field* field) {
  const auto it = std::find(fields_.begin(), fields_.end(), field);
  if (it == fields_.end()) return;
  const auto index = static_cast<size_t>(it - fields_.begin());
  fields_.erase(it);
  for (auto& row : rows_)
    if (index < row.size()) row.erase(row.begin() + static_cast<std::ptrdiff_t>(index));
  if (index < buffer_.size()) buffer_.erase(buffer_.begin() + static_cast<std::ptrdiff_t>(index));
}

void ClientDataSet::SetActive(bool active) {
  if (active == Active()) return;
  if (active) {
    Open();
  } else {
    Close();
  }
}

void ClientDataSet::Open() {
  if (Active()) return;
  FBeforeOpen(this);
  if (data_request_) {
    rows_.clear();
    // The request appends its records while the data set is already browsing.
    state_ = dsBrowse;
    try {
      data_request_(*this);
    } catch (...) {
      rows_.clear();
      state_ = dsInactive;
      throw;
    }
  }
  state_ = dsBrowse;
  First();
  FAfterOpen(this);
}

void ClientDataSet::Close() {
  if (!Active()) return;
  buffer_.clear();
  state_ = dsInactive;
  if (data_request_) rows_.clear();
  current_ = 0;
  eof_ = bof_ = true;
}

void ClientDataSet::CreateDataSet() {
  Close();
  rows_.clear();
  state_ = dsBrowse;
  First();
}

void ClientDataSet::CheckActive() const {
  if (!Active()) ThrowClosed();
}

void ClientDataSet::CheckBrowse() {
  CheckActive();
  if (state_ == dsEdit || state_ == dsInsert) Post();
}

void ClientDataSet::Scrolled() {
  FAfterScroll(this);
}

void ClientDataSet::SetRecNo(int recNo) {
  CheckBrowse();
  if (rows_.empty()) return;
  current_ = std::clamp(recNo, 1, RecordCount()) - 1;
  eof_ = bof_ = false;
  Scrolled();
}

void ClientDataSet::First() {
  CheckBrowse();
  current_ = 0;
  bof_ = true;
  eof_ = rows_.empty();
  Scrolled();
}

void ClientDataSet::Last() {
  CheckBrowse();
  current_ = rows_.empty() ? 0 : RecordCount() - 1;
  eof_ = true;
  bof_ = rows_.empty();
  Scrolled();
}

void ClientDataSet::Next() {
  CheckBrowse();
  bof_ = false;
  if (current_ + 1 < RecordCount()) {
    ++current_;
    eof_ = false;
  } else {
    eof_ = true;
  }
  Scrolled();
}

void ClientDataSet::Prior() {
  CheckBrowse();
  eof_ = false;
  if (current_ > 0) {
    --current_;
    bof_ = false;
  } else {
    bof_ = true;
  }
  Scrolled();
}

const std::vector<Variant>* ClientDataSet::CurrentRow() const {
  if (state_ == dsEdit || state_ == dsInsert) return &buffer_;
  if (state_ == dsInactive || rows_.empty()) return nullptr;
  return &rows_[static_cast<size_t>(current_)];
}

std::vector<Variant>* ClientDataSet::EditRow() {
  CheckActive();
  if (state_ != dsEdit && state_ != dsInsert) throw Error("Dataset not in edit or insert mode");
  return &buffer_;
}

void ClientDataSet::Edit() {
  CheckActive();
  if (state_ == dsEdit || state_ == dsInsert) return;
  if (rows_.empty()) {
    Append();
    return;
  }
  buffer_ = rows_[static_cast<size_t>(current_)];
  state_ = dsEdit;
}

void ClientDataSet::Append() {
  CheckBrowse();
  buffer_.assign(fields_.size(), Variant::Null());
  insert_at_ = RecordCount();
  state_ = dsInsert;
}

void ClientDataSet::Insert() {
  CheckBrowse();
  buffer_.assign(fields_.size(), Variant::Null());
  insert_at_ = rows_.empty() ? 0 : current_;
  state_ = dsInsert;
}

void ClientDataSet::Post() {
  CheckActive();
  if (state_ == dsEdit) {
    rows_[static_cast<size_t>(current_)] = std::move(buffer_);
  } else if (state_ == dsInsert) {
    rows_.insert(rows_.begin() + insert_at_, std::move(buffer_));
    current_ = insert_at_;
  } else {
    return;
  }
  buffer_.clear();
  state_ = dsBrowse;
  eof_ = bof_ = false;
}

void ClientDataSet::Cancel() {
  if (state_ != dsEdit && state_ != dsInsert) return;
  buffer_.clear();
  state_ = dsBrowse;
}

void ClientDataSet::Delete() {
  CheckActive();
  if (state_ == dsInsert) {
    Cancel();
    return;
  }
  Cancel();
  if (rows_.empty()) throw Error("Cannot perform this operation on an empty dataset");
  rows_.erase(rows_.begin() + current_);
  if (current_ >= RecordCount()) current_ = std::max(0, RecordCount() - 1);
  eof_ = rows_.empty();
  bof_ = rows_.empty();
  Scrolled();
}

void ClientDataSet::AppendRecord(const std::vector<Variant>& values) {
  Append();
  try {
    for (size_t i = 0; i < values.size() && i < fields_.size(); ++i)
      fields_[i]->SetValue(values[i]);
  } catch (...) {
    Cancel();
    throw;
  }
  Post();
}

void ClientDataSet::EmptyDataSet() {
  CheckActive();
  Cancel();
  rows_.clear();
  current_ = 0;
  eof_ = bof_ = true;
  Scrolled();
}

bool ClientDataSet::Locate(std::string_view keyFields, const Variant& values,
                           bool caseInsensitive) {
  CheckBrowse();
  std::vector<int> columns;
  for (const std::string& name : SplitFieldNames(keyFields))
    columns.push_back(FieldByName(name)->Index());
  if (columns.empty()) return false;
  std::vector<Variant> wanted;
  if (values.IsArray()) {
    for (const Variant& v : values.Array().Elements()) wanted.push_back(v);
  } else {
    wanted.push_back(values);
  }
  if (wanted.size() < columns.size()) return false;
  for (size_t row = 0; row < rows_.size(); ++row) {
    bool match = true;
    for (size_t k = 0; k < columns.size() && match; ++k)
      match = SameValue(rows_[row][static_cast<size_t>(columns[k])], wanted[k], caseInsensitive);
    if (match) {
      current_ = static_cast<int>(row);
      eof_ = bof_ = false;
      Scrolled();
      return true;
    }
  }
  return false;
}

void ClientDataSet::AddIndex(std::string name, std::string fields) {
  for (auto& index : indexes_) {
    if (automation::SameName(index.first, name)) {
      index.second = std::move(fields);
      return;
    }
  }
  indexes_.emplace_back(std::move(name), std::move(fields));
}

void ClientDataSet::SetIndexName(std::string name) {
  index_name_ = std::move(name);
  if (!index_name_.empty()) index_field_names_.clear();
}

void ClientDataSet::SetIndexFieldNames(std::string fields) {
  index_field_names_ = std::move(fields);
  if (!index_field_names_.empty()) index_name_.clear();
}

std::string ClientDataSet::CurrentIndexFields() const {
  if (!index_field_names_.empty()) return index_field_names_;
  for (const auto& index : indexes_)
    if (automation::SameName(index.first, index_name_)) return index.second;
  return {};
}

bool ClientDataSet::FindKey(const std::vector<Variant>& values) {
  const std::string fields = CurrentIndexFields();
  if (fields.empty()) throw Error("No index currently active");
  std::vector<std::string> names = SplitFieldNames(fields);
  // A key may give fewer values than the index has fields: the first ones are compared.
  names.resize(std::min(names.size(), values.size()));
  if (names.empty()) return false;
  std::string keyFields;
  for (const std::string& name : names) keyFields += (keyFields.empty() ? "" : ";") + name;
  std::vector<Variant> key(values.begin(),
                           values.begin() + static_cast<std::ptrdiff_t>(names.size()));
  return Locate(keyFields, automation::VarArrayOf(key), false);
}

TOOLKIT_REGISTER_CLASS(Field, "TField");
TOOLKIT_REGISTER_CLASS(StringField, "TStringField");
TOOLKIT_REGISTER_CLASS(MemoField, "TMemoField");
TOOLKIT_REGISTER_CLASS(IntegerField, "TIntegerField");
TOOLKIT_REGISTER_CLASS(FloatField, "TFloatField");
TOOLKIT_REGISTER_CLASS(BooleanField, "TBooleanField");
TOOLKIT_REGISTER_CLASS(DateTimeField, "TDateTimeField");
TOOLKIT_REGISTER_CLASS(ClientDataSet, "TClientDataSet");

}  // namespace toolkit
