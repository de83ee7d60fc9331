// Persistent helper objects held by object-valued properties: string lists and collections.
//
// `Strings` ("TStrings") is the list of 8-bit lines behind "Items" and "Lines": lines by index,
// the whole text (lines ended by CR LF), and one change notification after each change so
// that the owning control shows the new lines. `Collection` ("TCollection") holds numbered
// entries (`CollectionItem`, "TCollectionItem") created by the collection itself, such as the
// columns of a list view; "Columns_1.Caption" in a language pack reaches entry 1 of such a
// collection through `IndexedEntry`.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/Component.h"

namespace toolkit {

class Strings : public QObject, public Persistent {
  Q_OBJECT
  Q_PROPERTY(std::string Text READ Text WRITE SetText)
  Q_PROPERTY(int Count READ Count)
  Q_PROPERTY(std::string CommaText READ CommaText WRITE SetCommaText)

 public:
  explicit Strings(QObject* parent = nullptr);
  QObject* Object() override { return this; }

  int Count() const { return static_cast<int>(lines_.size()); }
  // Line `index`; throws Error "List index out of bounds (n)" outside 0..Count-1.
  const std::string& At(int index) const;
  const std::string& operator[](int index) const { return At(index); }
  void SetStrings(int index, std::string line);
  const std::vector<std::string>& Lines() const { return lines_; }

  int Add(std::string line);
  void Insert(int index, std::string line);
  void Delete(int index);
  void Clear();
  // The first line equal to `line` (ignoring case), or -1.
  int IndexOf(std::string_view line) const;
  // Replaces every line at once (one change notification).
  void Assign(const std::vector<std::string>& lines);
  void Assign(const Strings& other) { Assign(other.lines_); }

  // Lines joined, each ended by CR LF; setting splits at CR LF, LF or CR.
  std::string Text() const;
  void SetText(std::string_view text);
  // Lines separated by commas, lines with blanks or commas quoted.
  std::string CommaText() const;
  void SetCommaText(std::string_view text);

  // Line `index`, the list first extended with empty lines when it is shorter (what a language
  // pack does with "Items_5").
  void SetStringAt(int index, std::string line);

  // Groups changes into one notification.
  void BeginUpdate();
  void EndUpdate();

  // Called after each change (the owning control's refresh; not for module code).
  void SetOnChange(std::function<void()> onChange) { on_change_ = std::move(onChange); }

 private:
  void Changed();
  std::vector<std::string> lines_;
  std::function<void()> on_change_;
  int updating_ = 0;
  bool changed_while_updating_ = false;
};

class Collection;

class CollectionItem : public QObject, public Persistent {
  Q_OBJECT
 public:
  explicit CollectionItem(Collection* collection);
  QObject* Object() override { return this; }
  Collection* GetCollection() const { return collection_; }
  // Position in the collection.
  int Index() const;

 protected:
  // Tells the collection that this entry changed (its owner refreshes).
  void Changed();

 private:
  Collection* collection_;
};

class Collection : public QObject, public Persistent {
  Q_OBJECT
  Q_PROPERTY(int Count READ Count)

 public:
  using ItemFactory = std::function<std::unique_ptr<CollectionItem>(Collection*)>;
  explicit Collection(ItemFactory makeItem, QObject* parent = nullptr);
  ~Collection() override;
  QObject* Object() override { return this; }

  int Count() const { return static_cast<int>(items_.size()); }
  // Entry `index`; null outside 0..Count-1.
  CollectionItem* Items(int index) const;
  template <class T>
  T* ItemAs(int index) const {
    return dynamic_cast<T*>(Items(index));
  }
  CollectionItem* Add();
  void Delete(int index);
  void Clear();
  int IndexOf(const CollectionItem* item) const;

  void SetOnChange(std::function<void()> onChange) { on_change_ = std::move(onChange); }
  void ItemChanged() {
    if (on_change_) on_change_();
  }

 private:
  ItemFactory make_item_;
  std::vector<std::unique_ptr<CollectionItem>> items_;
  std::function<void()> on_change_;
};

// Entry `index` of an indexed list reached by name, as language packs write "Items_2" or
// "Columns_1": when `object` is a collection, its entry; otherwise, when `object` has an
// object-valued property `listName` holding a collection, that collection's entry. Null when
// neither applies or the entry does not exist.
Persistent* IndexedEntry(Persistent* object, std::string_view listName, int index);

}  // namespace toolkit
