#include "toolkit/Classes.h"

#include <algorithm>

#include "automation/Dispatch.h"
#include "toolkit/Properties.h"

namespace toolkit {

Strings::Strings(QObject* parent) : QObject(parent) {}

const std::string& Strings::At(int index) const {
  if (index < 0 || index >= Count()) {
    throw Error("List index out of bounds (" + std::to_string(index) + ")");
  }
  return lines_[static_cast<size_t>(index)];
}

void Strings::SetStrings(int index, std::string line) {
  At(index);
  lines_[static_cast<size_t>(index)] = std::move(line);
  Changed();
}

int Strings::Add(std::string line) {
  lines_.push_back(std::move(line));
  Changed();
  return Count() - 1;
}

void Strings::Insert(int index, std::string line) {
  if (index < 0 || index > Count()) {
    throw Error("List index out of bounds (" + std::to_string(index) + ")");
  }
  lines_.insert(lines_.begin() + index, std::move(line));
  Changed();
}

void Strings::Delete(int index) {
  At(index);
  lines_.erase(lines_.begin() + index);
  Changed();
}

void Strings::Clear() {
  if (lines_.empty()) return;
  lines_.clear();
  Changed();
}

int Strings::IndexOf(std::string_view line) const {
  for (int i = 0; i < Count(); ++i) {
    if (automation::SameName(lines_[static_cast<size_t>(i)], line)) return i;
  }
  return -1;
}

void Strings::Assign(const std::vector<std::string>& lines) {
  lines_ = lines;
  Changed();
}

std::string Strings::Text() const {
  std::string text;
  for (const std::string& line : lines_) {
    text += line;
    text += "\r\n";
  }
  return text;
}

void Strings::SetText(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  Assign(lines);
}

std::string Strings::CommaText() const {
  std::string text;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (i) text += ',';
    const std::string& line = lines_[i];
    if (line.find_first_of(" ,\"") == std::string::npos && !line.empty()) {
      text += line;
      continue;
    }
    text += '"';
    for (char c : line) {
      if (c == '"') text += '"';
      text += c;
    }
    text += '"';
  }
  return text;
}

void Strings::SetCommaText(std::string_view text) {
  std::vector<std::string> lines;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == ' ') ++i;
    std::string line;
    if (i < text.size() && text[i] == '"') {
      ++i;
      while (i < text.size()) {
        if (text[i] == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            line += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        line += text[i++];
      }
      while (i < text.size() && text[i] != ',') ++i;
    } else {
      while (i < text.size() && text[i] != ',' && text[i] != ' ') line += text[i++];
      while (i < text.size() && text[i] == ' ') ++i;
    }
    lines.push_back(std::move(line));
    if (i < text.size() && text[i] == ',') ++i;
  }
  Assign(lines);
}

void Strings::SetStringAt(int index, std::string line) {
  if (index < 0) return;
  BeginUpdate();
  while (Count() <= index) Add(std::string());
  SetStrings(index, std::move(line));
  EndUpdate();
}

void Strings::BeginUpdate() {
  ++updating_;
}

void Strings::EndUpdate() {
  if (updating_ > 0 && --updating_ == 0 && changed_while_updating_) {
    changed_while_updating_ = false;
    Changed();
  }
}

void Strings::Changed() {
  if (updating_ > 0) {
    changed_while_updating_ = true;
    return;
  }
  if (on_change_) on_change_();
}

CollectionItem::CollectionItem(Collection* collection)
    : QObject(nullptr), collection_(collection) {}

int CollectionItem::Index() const {
  return collection_ ? collection_->IndexOf(this) : -1;
}

void CollectionItem::Changed() {
  if (collection_) collection_->ItemChanged();
}

Collection::Collection(ItemFactory makeItem, QObject* parent)
    : QObject(parent), make_item_(std::move(makeItem)) {}

Collection::~Collection() = default;

CollectionItem* Collection::Items(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<size_t>(index)].get();
}

CollectionItem* Collection::Add() {
  items_.push_back(make_item_(this));
  ItemChanged();
  return items_.back().get();
}

void Collection::Delete(int index) {
  if (index < 0 || index >= Count()) {
    throw Error("List index out of bounds (" + std::to_string(index) + ")");
  }
  items_.erase(items_.begin() + index);
  ItemChanged();
}

void Collection::Clear() {
  if (items_.empty()) return;
  items_.clear();
  ItemChanged();
}

int Collection::IndexOf(const CollectionItem* item) const {
  for (int i = 0; i < Count(); ++i) {
    if (items_[static_cast<size_t>(i)].get() == item) return i;
  }
  return -1;
}

Persistent* IndexedEntry(Persistent* object, std::string_view listName, int index) {
  if (!object) return nullptr;
  if (auto* collection = dynamic_cast<Collection*>(object)) return collection->Items(index);
  if (auto* held = dynamic_cast<Collection*>(GetObjectProperty(object, listName))) {
    return held->Items(index);
  }
  return nullptr;
}

namespace {
[[maybe_unused]] const bool class_names = [] {
  RegisterClassName("TStrings", &Strings::staticMetaObject);
  RegisterClassName("TCollectionItem", &CollectionItem::staticMetaObject);
  RegisterClassName("TCollection", &Collection::staticMetaObject);
  return true;
}();
}  // namespace

}  // namespace toolkit
