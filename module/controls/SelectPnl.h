// SelectPnl: `TSelectPanel`, the option windows' control for a condition on one field, entered as
// a range (a begin and an end value) or as a list of values; in the user-choice style a check
// box inside the panel switches between the two. With `TZelMaskEdit` (its two edits),
// `TZelListView` (its value list) and `TZelCheckBox` (its choice box, controls/BtChkBox.h).
//
// The panel is a framed group that creates and owns its sub-controls: the choice box, a range
// pane with the begin edit `edBegin` and the end edit `edFinal`, their labels and lookup buttons,
// and a list pane with the value list `ListBox`, its lookup button, a delete button (picture 47)
// and a clear button (picture 4). A new panel is 353 × 45, in the one-line range layout.
//
// Published (initial values in brackets; the enumerations are in controls/SelectTypes.h):
//   Style (sp_Range; sp_Discrete, sp_UserChoice)   UserChoice (True: range chosen in
//   sp_UserChoice)   HintWord ("区间选择": the choice box's caption)   BeginWords, FinalWords
//   (("起" "起"), ("止" "止"): the labels' captions, entry 0 in the one-line range layout, entry 1
//   in the two-line and user-choice layouts)   EditMask ("")   ValueType (vt_String)
//   AutoChangeDateSite (True)   DateType (dt_NoneCare)   DateSign ("/")   Discard ("")
//   UseDiscard (False)   CanOpenWin (True: the lookup buttons are shown)   GlyphIndex (8: the
//   lookup buttons' picture)   UseVertical (False: the range on two lines)   OtherWidth (200),
//   OtherHeight (105): the size taken at the next switch between the one-line range layout and a
//   two-line layout   CheckDuplicate (cd_None)   SortListBox (False)   Columns   ColumnCaptions
//   ShowColumnHeader (False)   ColumnsAutoSize (True)   HideSelection (False)   Items
//   ChildHints (the nine hints of the sub-controls)   Caption, and the group box's properties.
// Events: OnTypeClick (Sender), OnOpenWinClick (SenderParent, Sender), OnDeleteClick (Sender,
// var Accept), OnClearClick (Sender), OnStyleChanging (Sender, NowStyle, var NewStyle,
// var Accept), OnStyleChange (Sender, OldStyle, NewStyle), OnExit (after the range check),
// OnItemSelect (Sender, xItem, xIndex, xIsSelect), OnItemChange, OnItemChanging, OnKeyDown,
// OnKeyUp, OnKeyPress (Sender: the choice box, an edit or the list), and the click, double-click
// and mouse events (Sender the edit or list they happened in, otherwise the panel with the
// position in the panel's coordinates).
//
// When the focus leaves the panel its begin and end texts are trimmed and, when the begin value
// is the greater one under ValueType, exchanged (controls/SelectRange.h); then OnExit. A lookup
// button moves the focus to its edit or the list, sends the lookup request for it to the window
// that owns the panel (controls/LookupRequest.h) and raises OnOpenWinClick.
//
// The list's rows are kept by a row store (controls/SelectRows.h) that the list view shows. A
// short list (up to 256 rows) shows every change at once; for a longer one a batch of AddRow
// calls reaches the view's items once, when the batch's handler has returned or as soon as the
// items are read through the list (Items, Columns). Rows written into the view's items directly
// (items added, removed, cleared, captions or sub-items set) become the list's rows; changes
// still on their way to a long list's items are then dropped, so module code that both adds rows
// and writes items reads the items through the list first.
#pragma once

#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "controls/BtChkBox.h"
#include "controls/F2Button.h"
#include "controls/GSpdBtn.h"
#include "controls/SelectRange.h"
#include "controls/SelectRows.h"
#include "controls/SelectTypes.h"
#include "toolkit/Classes.h"
#include "toolkit/GroupBox.h"
#include "toolkit/Label.h"
#include "toolkit/ListView.h"
#include "toolkit/MaskEdit.h"
#include "toolkit/Panel.h"

class TSelectPanel;

// The panel's edits: a masked edit whose change notification can be suppressed.
class TZelMaskEdit : public toolkit::MaskEdit {
  Q_OBJECT
 public:
  explicit TZelMaskEdit(toolkit::Component* owner) : toolkit::MaskEdit(owner) {}

  // While set, a change of the text raises no OnChange.
  bool ChangeSuppressed() const { return suppressed_; }
  void SetChangeSuppressed(bool suppressed) { suppressed_ = suppressed; }

 protected:
  void Change() override;

 private:
  bool suppressed_ = false;
};

// The panel's value list: a list view in report view whose rows come from AddRow.
//
// AddRow(values): with no values answers false and changes nothing. Otherwise columns "Data1",
// "Data2", ... are appended while the list has fewer columns than values; a row is added (caption
// = the first value, sub-items = the others) where the order puts it (controls/SelectRows.h:
// appended, or placed by the comparison in keep-sorted mode); every row gets empty sub-items up to
// the count of the row with the most; duplicates are removed under CheckDuplicate; and, with the
// auto-size flag, each column becomes "W" wide times the greatest byte length among its caption
// and its cells. Answers true, or false when a step failed (what was done before stays).
//
// A click on a column header makes it the sort column (ascending), or flips the direction when
// it is the sort column already, and sorts the rows once. A left mouse press first moves the
// focus to the list; the press goes on only when the list then has the focus.
class TZelListView : public toolkit::ListView {
  Q_OBJECT
  Q_PROPERTY(toolkit::ListItems* Items READ Items)
  Q_PROPERTY(toolkit::ListColumns* Columns READ Columns)
  Q_PROPERTY(bool ColumnsAutoSize READ ColumnsAutoSize WRITE SetColumnsAutoSize)

 public:
  explicit TZelListView(toolkit::Component* owner);
  ~TZelListView() override;

  bool AddRow(const std::vector<std::string>& values);
  void ClearRows();

  // The rows as the list shows them.
  int RowCount();
  const std::string& RowCaption(int index);
  std::vector<std::string> RowSubItems(int index);

  // The view's items and columns, brought up to date with the rows first.
  toolkit::ListItems* Items();
  toolkit::ListColumns* Columns();

  // The auto-size flag (True).
  bool ColumnsAutoSize() const { return auto_size_; }
  void SetColumnsAutoSize(bool on) { auto_size_ = on; }
  // Keep-sorted mode: on sorts the rows once and keeps them sorted.
  bool KeepSorted() const { return store_.KeepSorted(); }
  void SetKeepSorted(bool on);
  TCheckDuplicate CheckDuplicate() const { return check_duplicate_; }
  void SetCheckDuplicate(TCheckDuplicate mode) { check_duplicate_ = mode; }
  // Removes neighbours with equal captions now (under CheckDuplicate).
  void RemoveDuplicates();
  int SortColumn() const { return store_.SortColumn(); }
  bool SortAscending() const { return store_.SortAscending(); }
  // Sorts the rows once by the comparison, after setting the sort column and direction.
  void SortBy(int column, bool ascending);
  // Removes the selected rows.
  void DeleteSelected();
  // Replaces the rows by those of `items` (captions and sub-items).
  void AssignRows(const toolkit::ListItems& items);

  // Brings the view's items and column widths up to date with the rows (done by itself after a
  // batch of changes; tests and pictures call it directly).
  void Flush();

  // The panel hears of the list's notifications (set by the panel).
  std::function<void(toolkit::ListItem*, toolkit::TItemChange)> OnItemChange;
  std::function<bool(toolkit::ListItem*, toolkit::TItemChange)> OnItemChanging;
  std::function<void(toolkit::ListItem*, bool)> OnItemSelect;

 protected:
  void ColClick(toolkit::ListColumn* column) override;
  void Change(toolkit::ListItem* item, toolkit::TItemChange change) override;
  bool CanChange(toolkit::ListItem* item, toolkit::TItemChange change) override;
  void SelectItem(toolkit::ListItem* item, bool selected) override;
  bool FilterEvent(QObject* watched, QEvent* event) override;
  bool event(QEvent* event) override;

 private:
  // After a change of the rows: the items follow now (short lists) or after the batch.
  void Changed();
  void PostFlush();
  // The items were added, removed or replaced by someone else: they become the rows.
  void ItemsWritten();
  bool ItemsAsLeft() const;
  void RememberItems();
  // Sorts the rows by `sortStore` and the view's items the same way, keeping their selection.
  void ApplyStoreSort(const std::function<void()>& sortStore);
  void FillItem(toolkit::ListItem* item, const TZelRow& row);
  void ApplyAutoSize();

  TZelRowStore store_;
  bool auto_size_ = true;
  bool autosize_pending_ = false;
  TCheckDuplicate check_duplicate_ = cd_None;
  bool flush_posted_ = false;
  bool flushing_ = false;
  bool sorting_ = false;
  bool refill_ = false;
  // The items in the order the list left them, and the row each shows.
  std::vector<toolkit::ListItem*> shown_items_;
  std::unordered_map<const toolkit::ListItem*, TZelRow*> row_of_;
  QMetaObject::Connection reset_connection_;
};

using TOpenWinClickEvent = toolkit::Event<toolkit::Component*>;
using TDeleteClickEvent = toolkit::Event<bool&>;
using TStyleChangingEvent = toolkit::Event<TSelectStyle, TSelectStyle&, bool&>;
using TStyleChangeEvent = toolkit::Event<TSelectStyle, TSelectStyle>;
using TListViewSelectItemEvent = toolkit::Event<toolkit::ListItem*, int, bool>;

class TSelectPanel : public toolkit::GroupBox {
  Q_OBJECT
  Q_PROPERTY(TSelectStyle Style READ Style WRITE SetStyle)
  Q_PROPERTY(bool UserChoice READ UserChoice WRITE SetUserChoice)
  Q_PROPERTY(std::string HintWord READ HintWord WRITE SetHintWord)
  Q_PROPERTY(toolkit::Strings* BeginWords READ BeginWords WRITE SetBeginWords)
  Q_PROPERTY(toolkit::Strings* FinalWords READ FinalWords WRITE SetFinalWords)
  Q_PROPERTY(std::string EditMask READ EditMask WRITE SetEditMask)
  Q_PROPERTY(TValueType ValueType READ ValueType WRITE SetValueType)
  Q_PROPERTY(bool AutoChangeDateSite READ AutoChangeDateSite WRITE SetAutoChangeDateSite)
  Q_PROPERTY(TDateType DateType READ DateType WRITE SetDateType)
  Q_PROPERTY(std::string DateSign READ DateSign WRITE SetDateSign)
  Q_PROPERTY(std::string Discard READ Discard WRITE SetDiscard)
  Q_PROPERTY(bool UseDiscard READ UseDiscard WRITE SetUseDiscard)
  Q_PROPERTY(bool CanOpenWin READ CanOpenWin WRITE SetCanOpenWin)
  Q_PROPERTY(int GlyphIndex READ GlyphIndex WRITE SetGlyphIndex)
  Q_PROPERTY(bool UseVertical READ UseVertical WRITE SetUseVertical)
  Q_PROPERTY(int OtherWidth READ OtherWidth WRITE SetOtherWidth)
  Q_PROPERTY(int OtherHeight READ OtherHeight WRITE SetOtherHeight)
  Q_PROPERTY(TCheckDuplicate CheckDuplicate READ CheckDuplicate WRITE SetCheckDuplicate)
  Q_PROPERTY(bool SortListBox READ SortListBox WRITE SetSortListBox)
  Q_PROPERTY(toolkit::ListColumns* Columns READ Columns WRITE SetColumns)
  Q_PROPERTY(toolkit::Strings* ColumnCaptions READ ColumnCaptions WRITE SetColumnCaptions)
  Q_PROPERTY(bool ShowColumnHeader READ ShowColumnHeader WRITE SetShowColumnHeader)
  Q_PROPERTY(bool ColumnsAutoSize READ ColumnsAutoSize WRITE SetColumnsAutoSize)
  Q_PROPERTY(bool HideSelection READ HideSelection WRITE SetHideSelection)
  Q_PROPERTY(toolkit::ListItems* Items READ Items WRITE SetItems)
  Q_PROPERTY(toolkit::Strings* ChildHints READ ChildHints WRITE SetChildHints)
  Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHints)
  Q_PROPERTY(toolkit::NotifyEvent OnTypeClick MEMBER FOnTypeClick)
  Q_PROPERTY(TOpenWinClickEvent OnOpenWinClick MEMBER FOnOpenWinClick)
  Q_PROPERTY(TDeleteClickEvent OnDeleteClick MEMBER FOnDeleteClick)
  Q_PROPERTY(toolkit::NotifyEvent OnClearClick MEMBER FOnClearClick)
  Q_PROPERTY(TStyleChangingEvent OnStyleChanging MEMBER FOnStyleChanging)
  Q_PROPERTY(TStyleChangeEvent OnStyleChange MEMBER FOnStyleChange)
  Q_PROPERTY(TListViewSelectItemEvent OnItemSelect MEMBER FOnItemSelect)
  Q_PROPERTY(toolkit::LVChangeEvent OnItemChange MEMBER FOnItemChange)
  Q_PROPERTY(toolkit::LVChangingEvent OnItemChanging MEMBER FOnItemChanging)

 public:
  // A new panel, 353 × 45, with all its sub-controls, in the one-line range layout.
  explicit TSelectPanel(toolkit::Component* owner);
  ~TSelectPanel() override;

  TSelectStyle Style() const { return style_; }
  // See the header of the unit: OnStyleChanging may refuse or replace the style; the size is
  // exchanged with OtherWidth and OtherHeight between sp_Range (one line) and the others.
  void SetStyle(TSelectStyle style);
  bool UserChoice() const { return user_choice_; }
  // Ignored unless the style is sp_UserChoice; then as a toggle of the choice box.
  void SetUserChoice(bool userChoice);
  const std::string& HintWord() const { return hint_word_; }
  void SetHintWord(std::string word);
  toolkit::Strings* BeginWords() const { return begin_words_.get(); }
  void SetBeginWords(toolkit::Strings* words);
  toolkit::Strings* FinalWords() const { return final_words_.get(); }
  void SetFinalWords(toolkit::Strings* words);
  const std::string& EditMask() const { return edit_mask_; }
  // Both edits get the mask; edBegin keeps its text without a change notification, edFinal
  // keeps its text; the blank mask text is what the empty edBegin shows under the mask.
  void SetEditMask(std::string mask);
  TValueType ValueType() const { return rule_.ValueType; }
  void SetValueType(TValueType type) { rule_.ValueType = type; }
  bool AutoChangeDateSite() const { return rule_.AutoChangeDateSite; }
  void SetAutoChangeDateSite(bool on) { rule_.AutoChangeDateSite = on; }
  TDateType DateType() const { return rule_.DateType; }
  void SetDateType(TDateType type) { rule_.DateType = type; }
  const std::string& DateSign() const { return rule_.DateSign; }
  void SetDateSign(std::string sign) { rule_.DateSign = std::move(sign); }
  const std::string& Discard() const { return rule_.Discard; }
  void SetDiscard(std::string discard) { rule_.Discard = std::move(discard); }
  bool UseDiscard() const { return rule_.UseDiscard; }
  void SetUseDiscard(bool on) { rule_.UseDiscard = on; }
  // The text an empty edit shows under EditMask ("" without a mask).
  const std::string& BlankMaskText() const { return rule_.BlankMaskText; }
  bool CanOpenWin() const { return can_open_win_; }
  void SetCanOpenWin(bool on);
  int GlyphIndex() const { return glyph_index_; }
  void SetGlyphIndex(int index);
  bool UseVertical() const { return use_vertical_; }
  void SetUseVertical(bool on);
  int OtherWidth() const { return other_width_; }
  void SetOtherWidth(int width) { other_width_ = width; }
  int OtherHeight() const { return other_height_; }
  void SetOtherHeight(int height) { other_height_ = height; }
  TCheckDuplicate CheckDuplicate() const { return list_->CheckDuplicate(); }
  // Not cd_None also turns SortListBox on; with the list entry active duplicates go at once.
  void SetCheckDuplicate(TCheckDuplicate mode);
  bool SortListBox() const { return sort_list_box_; }
  void SetSortListBox(bool on);
  toolkit::ListColumns* Columns() const { return list_->Columns(); }
  // Copies the columns.
  void SetColumns(toolkit::ListColumns* columns);
  // The captions of the list's columns in order; writing makes one column per caption, each as
  // wide as its contents.
  toolkit::Strings* ColumnCaptions();
  void SetColumnCaptions(toolkit::Strings* captions);
  bool ShowColumnHeader() const { return list_->ShowColumnHeaders(); }
  void SetShowColumnHeader(bool show) { list_->SetShowColumnHeaders(show); }
  bool ColumnsAutoSize() const { return list_->ColumnsAutoSize(); }
  void SetColumnsAutoSize(bool on) { list_->SetColumnsAutoSize(on); }
  bool HideSelection() const { return list_->HideSelection(); }
  void SetHideSelection(bool hide) { list_->SetHideSelection(hide); }
  toolkit::ListItems* Items() const { return list_->Items(); }
  // Copies the rows.
  void SetItems(toolkit::ListItems* items);
  toolkit::Strings* ChildHints() const { return child_hints_.get(); }
  void SetChildHints(toolkit::Strings* hints);
  // The panel's hint-display setting, which its sub-controls take too.
  void SetShowHints(bool show);

  // The sub-controls.
  TZelMaskEdit* edBegin() const { return ed_begin_; }
  TZelMaskEdit* edFinal() const { return ed_final_; }
  TZelListView* ListBox() const { return list_; }
  TZelCheckBox* ChoiceBox() const { return choice_; }
  toolkit::Panel* RangePane() const { return range_pane_; }
  toolkit::Panel* ListPane() const { return list_pane_; }
  toolkit::Label* BeginLabel() const { return begin_label_; }
  toolkit::Label* FinalLabel() const { return final_label_; }
  TF2Button* BeginButton() const { return begin_button_; }
  TF2Button* FinalButton() const { return final_button_; }
  TF2Button* ListButton() const { return list_button_; }
  TGSpeedButton* DeleteButton() const { return delete_button_; }
  TGSpeedButton* ClearButton() const { return clear_button_; }

  // Whether the range entry is active: sp_Range, or sp_UserChoice with the choice box checked.
  bool RangeActive() const;

  // The panel takes the focus; with the list entry active the list then takes it.
  void SetFocus() override;
  // The panel and every control inside it get the value.
  void SetEnabled(bool enabled) override;
  void SetBounds(int left, int top, int width, int height) override;
  void Loaded() override;

  // Lays the panel out for its style (done by itself when it changes).
  void Layout() { LayoutFor(style_); }
  // The range check when the focus leaves the panel (done by itself).
  void CheckRange();

  // Handlers of the sub-controls (published, so that the sub-controls' event properties hold
  // them).
  void ChoiceBoxClick(toolkit::Component* sender);
  void LookupButtonClick(toolkit::Component* sender);
  void DeleteButtonClick(toolkit::Component* sender);
  void ClearButtonClick(toolkit::Component* sender);
  void SubClick(toolkit::Component* sender);
  void SubDblClick(toolkit::Component* sender);
  void SubMouseDown(toolkit::Component* sender, toolkit::TMouseButton button,
                    toolkit::ShiftState shift, int x, int y);
  void SubMouseUp(toolkit::Component* sender, toolkit::TMouseButton button,
                  toolkit::ShiftState shift, int x, int y);
  void SubMouseMove(toolkit::Component* sender, toolkit::ShiftState shift, int x, int y);
  void SubKeyDown(toolkit::Component* sender, toolkit::Word& key, toolkit::ShiftState shift);
  void SubKeyUp(toolkit::Component* sender, toolkit::Word& key, toolkit::ShiftState shift);
  void SubKeyPress(toolkit::Component* sender, char& key);

 protected:
  void DoExit() override;
  void FontChanged() override;
  void TextChanged() override;

  toolkit::NotifyEvent FOnTypeClick;
  TOpenWinClickEvent FOnOpenWinClick;
  TDeleteClickEvent FOnDeleteClick;
  toolkit::NotifyEvent FOnClearClick;
  TStyleChangingEvent FOnStyleChanging;
  TStyleChangeEvent FOnStyleChange;
  TListViewSelectItemEvent FOnItemSelect;
  toolkit::LVChangeEvent FOnItemChange;
  toolkit::LVChangingEvent FOnItemChanging;

 private:
  void LayoutFor(TSelectStyle style);
  void SizeChoiceBox();
  void ArrangeRange();
  void ArrangeList();
  void ArrangeUserChoice();
  void RangeOneLine();
  void RangeTwoLines();
  void ListLayout();
  void UpdateVisibility(TSelectStyle style);
  void ExchangeSize();
  void ChoiceToggled();
  void WordsChanged(toolkit::Strings* words, toolkit::Label* label);
  // Entry `index` of a label list, or the nearest one it has; false for an empty list.
  static bool WordAt(const toolkit::Strings* words, int index, std::string& word);
  void HintsChanged();
  void ColumnCaptionsChanged();
  QPoint ToPanel(toolkit::Component* sender, int x, int y) const;
  bool KeepsSender(toolkit::Component* sender) const;

  TSelectStyle style_ = sp_Range;
  bool user_choice_ = true;
  std::string hint_word_;
  std::string edit_mask_;
  TRangeRule rule_;
  bool can_open_win_ = true;
  int glyph_index_ = 8;
  bool use_vertical_ = false;
  int other_width_ = 200;
  int other_height_ = 105;
  bool sort_list_box_ = false;
  bool laying_out_ = false;
  bool column_captions_updating_ = false;

  std::unique_ptr<toolkit::Strings> begin_words_;
  std::unique_ptr<toolkit::Strings> final_words_;
  std::unique_ptr<toolkit::Strings> child_hints_;
  std::unique_ptr<toolkit::Strings> column_captions_;

  TZelCheckBox* choice_ = nullptr;
  toolkit::Panel* range_pane_ = nullptr;
  toolkit::Label* begin_label_ = nullptr;
  TZelMaskEdit* ed_begin_ = nullptr;
  TF2Button* begin_button_ = nullptr;
  toolkit::Label* final_label_ = nullptr;
  TZelMaskEdit* ed_final_ = nullptr;
  TF2Button* final_button_ = nullptr;
  toolkit::Panel* list_pane_ = nullptr;
  TZelListView* list_ = nullptr;
  TF2Button* list_button_ = nullptr;
  TGSpeedButton* delete_button_ = nullptr;
  TGSpeedButton* clear_button_ = nullptr;
};
