// The list view: columns and items by name, selection and its events, sorting by a comparison,
// in-place editing of captions, and the four views over the same items.
#include "toolkit/ListView.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

#include "toolkit/Form.h"
#include "toolkit/Properties.h"

namespace toolkit {
namespace {

class ListWindow : public Form {
  Q_OBJECT
 public:
  explicit ListWindow(Component* owner) : Form(owner) {
    SetBounds(0, 0, 400, 300);
    list = new ListView(this);
    list->SetName("lstCondition");
    list->SetParent(this);
    list->SetBounds(0, 0, 400, 300);
    list->SetViewStyle(ListView::vsReport);
    for (const char* caption : {"Name", "Date"}) list->Columns()->Add()->SetCaption(caption);
    for (const char* caption : {"pear", "Apple", "fig"}) {
      ListItem* item = list->Items()->Add();
      item->SetCaption(caption);
      item->SubItems()->Add(std::string(caption) + "-date");
    }
  }
  void lstSelect(Component*, ListItem* item, bool selected) {
    log.push_back((selected ? "select " : "deselect ") + item->Caption());
  }
  void lstCompare(Component*, ListItem* a, ListItem* b, int data, int& compare) {
    // By length, then backwards by caption; `data` turns the order round.
    compare = static_cast<int>(a->Caption().size()) - static_cast<int>(b->Caption().size());
    if (compare == 0) compare = b->Caption().compare(a->Caption());
    if (data) compare = -compare;
  }
  void lstEditing(Component*, ListItem* item, bool& allow) { allow = item->Caption() != "fig"; }
  void lstEdited(Component*, ListItem* item, std::string& text) {
    log.push_back("edited " + item->Caption() + " to " + text);
    if (text.empty()) text = item->Caption();  // a blank name keeps the old caption
  }
  void lstColumnClick(Component*, ListColumn* column) {
    log.push_back("column " + column->Caption());
  }

  std::vector<std::string> Captions() const {
    std::vector<std::string> captions;
    for (int i = 0; i < list->Items()->Count(); ++i) {
      captions.push_back(list->Items()->Items(i)->Caption());
    }
    return captions;
  }

  ListView* list;
  std::vector<std::string> log;
};

const auto published = Publish<ListWindow>()
                           .Handler("lstSelect", &ListWindow::lstSelect)
                           .Handler("lstCompare", &ListWindow::lstCompare)
                           .Handler("lstEditing", &ListWindow::lstEditing)
                           .Handler("lstEdited", &ListWindow::lstEdited)
                           .Handler("lstColumnClick", &ListWindow::lstColumnClick);

TEST(ListViewTest, ColumnsAndItemsByIndexedName) {
  ListWindow window(nullptr);
  Persistent* column = IndexedEntry(window.list, "Columns", 1);
  ASSERT_NE(column, nullptr);
  SetPropertyPath(column, "Caption", automation::Variant("When"));
  EXPECT_EQ(window.list->Columns()->Items(1)->Caption(), "When");
  EXPECT_EQ(window.list->QtView()->model()->headerData(1, Qt::Horizontal).toString().toStdString(),
            "When");
  Persistent* item = IndexedEntry(window.list, "Items", 2);
  ASSERT_NE(item, nullptr);
  SetPropertyPath(item, "Caption", automation::Variant("plum"));
  EXPECT_EQ(window.list->Items()->Items(2)->Caption(), "plum");
  EXPECT_EQ(IndexedEntry(window.list, "Columns", 9), nullptr);
  auto* subItems = dynamic_cast<Strings*>(GetObjectProperty(item, "SubItems"));
  ASSERT_NE(subItems, nullptr);
  subItems->SetStringAt(0, "today");
  const QModelIndex cell = window.list->QtView()->model()->index(2, 1);
  EXPECT_EQ(cell.data().toString().toStdString(), "today");
}

TEST(ListViewTest, SelectionByProgramAndUser) {
  ListWindow window(nullptr);
  SetMethodPropOf(window.list, "OnSelectItem", FindMethod(&window, "lstSelect"));
  ListItems* items = window.list->Items();
  items->Items(0)->SetSelected(true);
  SetPropValue(items->Items(2), "Selected", automation::Variant(true));
  EXPECT_FALSE(items->Items(0)->Selected()) << "one item at most without MultiSelect";
  EXPECT_EQ(window.list->Selected(), items->Items(2));
  EXPECT_EQ(window.log, (std::vector<std::string>{"select pear", "deselect pear", "select fig"}));
  // A click of the user selects as well, and reports it the same way.
  window.log.clear();
  QTreeView* tree = static_cast<QTreeView*>(window.list->QtView());
  window.Show();
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                    tree->visualRect(tree->model()->index(1, 0)).center());
  EXPECT_EQ(window.list->Selected(), items->Items(1));
  EXPECT_EQ(window.list->ItemFocused(), items->Items(1));
  EXPECT_EQ(window.log, (std::vector<std::string>{"deselect fig", "select Apple"}));
  // Several selected items.
  window.list->SetMultiSelect(true);
  items->Items(0)->SetSelected(true);
  EXPECT_EQ(window.list->SelCount(), 2);
  EXPECT_EQ(window.list->GetNextSelected(items->Items(0)), items->Items(1));
}

TEST(ListViewTest, SortingOnceAndKeepingSorted) {
  ListWindow window(nullptr);
  window.list->Items()->Items(1)->SetSelected(true);  // "Apple"
  window.list->AlphaSort();
  EXPECT_EQ(window.Captions(), (std::vector<std::string>{"Apple", "fig", "pear"}));
  EXPECT_EQ(window.list->Selected()->Caption(), "Apple") << "the selection moves with its item";
  EXPECT_EQ(window.list->Items()->Items(1)->SubItems()->At(0), "fig-date");
  // A comparison callback given to the sort, with its data.
  window.list->CustomSort(
      [](ListItem* a, ListItem* b, int data) {
        return data *
               (static_cast<int>(a->Caption().size()) - static_cast<int>(b->Caption().size()));
      },
      -1);
  EXPECT_EQ(window.Captions(), (std::vector<std::string>{"Apple", "pear", "fig"}));
  // OnCompare sorts when no callback is given, and keeps the list sorted from then on.
  SetMethodPropOf(window.list, "OnCompare", FindMethod(&window, "lstCompare"));
  SetPropValue(window.list, "SortType", automation::Variant("stText"));
  EXPECT_EQ(window.Captions(), (std::vector<std::string>{"fig", "pear", "Apple"}));
  window.list->Items()->Add()->SetCaption("kiwi");
  EXPECT_EQ(window.Captions(), (std::vector<std::string>{"fig", "pear", "kiwi", "Apple"}));
  window.list->Items()->Items(0)->SetCaption("banana");
  EXPECT_EQ(window.Captions(), (std::vector<std::string>{"pear", "kiwi", "Apple", "banana"}));
}

TEST(ListViewTest, InPlaceEditingOfCaptions) {
  ListWindow window(nullptr);
  SetMethodPropOf(window.list, "OnEditing", FindMethod(&window, "lstEditing"));
  SetMethodPropOf(window.list, "OnEdited", FindMethod(&window, "lstEdited"));
  window.Show();
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  ListItem* pear = window.list->Items()->Items(0);
  ASSERT_TRUE(pear->EditCaption());
  auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  ASSERT_NE(editor, nullptr);
  editor->setText("peach");
  QTest::keyClick(editor, Qt::Key_Return);
  QCoreApplication::processEvents();  // Qt commits an edit from its event loop
  EXPECT_FALSE(window.list->IsEditing());
  EXPECT_EQ(pear->Caption(), "peach");
  // The handler may put the old caption back.
  ASSERT_TRUE(pear->EditCaption());
  editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  ASSERT_NE(editor, nullptr);
  editor->setText("");
  QTest::keyClick(editor, Qt::Key_Return);
  QCoreApplication::processEvents();
  EXPECT_EQ(pear->Caption(), "peach");
  EXPECT_EQ(window.log, (std::vector<std::string>{"edited pear to peach", "edited peach to "}));
  // OnEditing refuses; read-only lists edit nothing.
  EXPECT_FALSE(window.list->Items()->Items(2)->EditCaption());
  window.list->SetReadOnly(true);
  EXPECT_FALSE(pear->EditCaption());
}

TEST(ListViewTest, TheViewsShowTheSameItems) {
  ListWindow window(nullptr);
  window.list->Items()->Items(2)->SetSelected(true);
  for (const char* style : {"vsIcon", "vsSmallIcon", "vsList", "vsReport"}) {
    SetPropValue(window.list, "ViewStyle", automation::Variant(style));
    QAbstractItemView* view = window.list->QtView();
    EXPECT_TRUE(view->isVisibleTo(window.list)) << style;
    EXPECT_EQ(view->model()->rowCount(), 3) << style;
    EXPECT_TRUE(view->selectionModel()->isRowSelected(2, {})) << style;
    EXPECT_EQ(GetEnumPropOf(window.list, "ViewStyle"), style);
  }
}

TEST(ListViewTest, ColumnWidthsAndClicks) {
  ListWindow window(nullptr);
  SetMethodPropOf(window.list, "OnColumnClick", FindMethod(&window, "lstColumnClick"));
  ListColumn* name = window.list->Columns()->Items(0);
  name->SetWidth(120);
  EXPECT_EQ(name->Width(), 120);
  name->SetCaption("A much longer column caption");
  name->SetWidth(-2);  // fitted to the caption
  EXPECT_GT(name->Width(), 120);
  window.Show();
  auto* tree = static_cast<QTreeView*>(window.list->QtView());
  QHeaderView* header = tree->header();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
  EXPECT_EQ(window.log, (std::vector<std::string>{"column Date"}));
  window.list->SetColumnClick(false);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
  EXPECT_EQ(window.log.size(), 1u);
}

TEST(ListViewTest, InsertDeleteAndFind) {
  ListWindow window(nullptr);
  ListItem* inserted = window.list->Items()->Insert(1);
  inserted->SetCaption("date");
  EXPECT_EQ(window.Captions(), (std::vector<std::string>{"pear", "date", "Apple", "fig"}));
  EXPECT_EQ(window.list->Items()->Items(2)->SubItems()->At(0), "Apple-date");
  window.list->Items()->Items(0)->Delete();
  EXPECT_EQ(window.Captions(), (std::vector<std::string>{"date", "Apple", "fig"}));
  window.Show();
  auto* tree = static_cast<QTreeView*>(window.list->QtView());
  const QPoint inView = tree->visualRect(tree->model()->index(1, 0)).center();
  const QPoint inList = tree->viewport()->mapTo(window.list, inView);
  EXPECT_EQ(window.list->GetItemAt(inList.x(), inList.y()), window.list->Items()->Items(1));
  EXPECT_EQ(window.list->GetItemAt(5, 290), nullptr);
}

TEST(ListViewTest, BatchesReachTheViewAtTheirEnd) {
  ListWindow window(nullptr);
  ListItems* items = window.list->Items();
  QAbstractItemView* view = window.list->QtView();
  QAbstractItemModel* model = view->model();
  const auto positionsAreRight = [&] {
    for (int i = 0; i < items->Count(); ++i) {
      if (items->Items(i)->Index() != i || items->IndexOf(items->Items(i)) != i) return false;
    }
    return true;
  };
  items->Items(2)->SetSelected(true);  // "fig"
  QSignalSpy resets(model, &QAbstractItemModel::modelReset);
  QSignalSpy inserted(model, &QAbstractItemModel::rowsInserted);
  // Rows inserted side by side reach the view as inserted rows, once.
  items->BeginUpdate();
  items->Insert(1)->SetCaption("date");
  items->Insert(1)->SetCaption("cherry");
  EXPECT_EQ(model->rowCount(), 3) << "the view hears of a batch at its end";
  items->EndUpdate();
  EXPECT_EQ(resets.count(), 0);
  ASSERT_EQ(inserted.count(), 1);
  EXPECT_EQ(inserted[0][1].toInt(), 1);
  EXPECT_EQ(inserted[0][2].toInt(), 2);
  EXPECT_EQ(window.Captions(),
            (std::vector<std::string>{"pear", "cherry", "date", "Apple", "fig"}));
  EXPECT_EQ(model->index(1, 0).data().toString().toStdString(), "cherry");
  EXPECT_TRUE(view->selectionModel()->isRowSelected(4, {})) << "the selection moves with fig";
  EXPECT_TRUE(positionsAreRight());
  // Any other batch shows all items again, once.
  items->BeginUpdate();
  items->Add()->SetCaption("kiwi");
  items->Items(0)->Delete();
  items->EndUpdate();
  EXPECT_EQ(resets.count(), 1);
  EXPECT_EQ(model->rowCount(), 5);
  EXPECT_EQ(window.Captions(),
            (std::vector<std::string>{"cherry", "date", "Apple", "fig", "kiwi"}));
  EXPECT_TRUE(positionsAreRight());
  // Positions follow sorting and deleting; an item of another list has none.
  window.list->AlphaSort();
  EXPECT_EQ(window.Captions(),
            (std::vector<std::string>{"Apple", "cherry", "date", "fig", "kiwi"}));
  EXPECT_TRUE(positionsAreRight());
  EXPECT_EQ(window.list->Selected()->Index(), 3);
  items->Items(1)->Delete();
  EXPECT_TRUE(positionsAreRight());
  EXPECT_EQ(window.list->GetNextSelected(items->Items(0)), items->Items(2));
  ListView other(nullptr);
  EXPECT_EQ(items->IndexOf(other.Items()->Add()), -1);
  EXPECT_EQ(items->IndexOf(nullptr), -1);
}

}  // namespace
}  // namespace toolkit

#include "ListView_test.moc"
