// Opening a pack (TLanguageController::SetActive):
//  1. While the component is being loaded from its window description the value is remembered
//     and applied in Loaded.
//  2. The same state as now: nothing.
//  3. Yes: BeforeOpen; any open document is released; an empty LangFileName raises
//     "Cannot Find File !"; the file is parsed, a failure raising the parser's reason; the reader
//     takes the document, a copy of ExcludeControls and the two load events; AfterOpen.
//  4. No: BeforeClose; document and reader released; AfterClose.
//
// Applying one attribute (TComponentRead::ApplyAttribute), from the component:
//  - parts before the last: "Name" walks into the object property Name; "Items_n" or
//    "Columns_n" takes entry n of the current collection, list view or tree view, and for any
//    other object walks into the property (n unused); anything else, a missing property and a
//    missing entry end the attribute without effect (an entry that does not exist must not let
//    the rest of the path fall on the object itself: "Columns_9.Width" would size the list);
//  - the last part "Name_n" names property Name and index n (-1 without a number); when the walk
//    never left the component and n >= 0, the value goes to line n of the string list Name,
//    which is extended with empty lines when shorter; otherwise the property is set through the
//    toolkit's property machinery, its errors swallowed.
#include "localisation/LanguageController.h"

#include <charconv>
#include <filesystem>
#include <optional>

#include "automation/Dispatch.h"
#include "os/Paths.h"
#include "support/VarnelIni.h"
#include "toolkit/Classes.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Form.h"
#include "toolkit/Properties.h"
#include "xml/XmlUtils.h"

namespace {

using toolkit::Component;
using toolkit::Persistent;

std::string Trim(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  return std::string(text);
}

bool IsDirectory(const std::string& folder) {
  std::error_code error;
  return std::filesystem::is_directory(os::NativePath(folder), error);
}

bool IsFile(const std::string& file) {
  std::error_code error;
  return !file.empty() && std::filesystem::is_regular_file(os::NativePath(file), error);
}

// A whole decimal number ("2", "-1"); nullopt for anything else.
std::optional<int> ParseIndex(std::string_view text) {
  int value = 0;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if (text.empty()) return std::nullopt;
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last) return std::nullopt;
  return value;
}

bool IsListName(std::string_view name) {
  return automation::SameName(name, "Items") || automation::SameName(name, "Columns");
}

// Entry `index` of the list `listName` of the current object of a path walk; null when there is
// no such entry. For an object that is neither a collection nor a list holder the walk goes into
// the property itself.
Persistent* WalkIndexed(Persistent* object, std::string_view listName, int index) {
  if (auto* collection = dynamic_cast<toolkit::Collection*>(object))
    return collection->Items(index);
  if (object->InheritsFrom("TListView") || object->InheritsFrom("TTreeView"))
    return toolkit::IndexedEntry(object, listName, index);
  return toolkit::GetObjectProperty(object, listName);
}

bool IsComboBox(Component* component) {
  return dynamic_cast<toolkit::ComboBox*>(component) != nullptr ||
         component->InheritsFrom("TCustomComboBox");
}

bool IsDataAwareComboBox(Component* component) {
  return component->InheritsFrom("TwwDBCustomComboBox") || component->InheritsFrom("TwwDBComboBox");
}

}  // namespace

// ---- Folders and messages ----------------------------------------------------------------------

std::string CodePageLanguage(std::string_view codePage) {
  if (codePage == "936") return "CHS";
  if (codePage == "950") return "CHT";
  if (codePage == "437") return "ENG";
  return {};
}

std::string LanguageFolder(TDesignType designType) {
  std::string root;
  std::string codePage;
  if (designType == dtServer) {
    const TVarnelIniS ini;
    root = ini.ServerPath;
    codePage = ini.UICodePage;
  } else {
    const TVarnelIniC ini;
    root = ini.ClientPath;
    codePage = ini.UICodePage;
  }
  const std::string language = CodePageLanguage(codePage);
  // Without a platform folder there is no installation to take packs from (a folder relative to
  // wherever the host happens to run is no language folder).
  if (language.empty() || root.empty()) return {};
  const std::string folder = os::IncludeTrailingSlash(root) + "MultiLanguage/" + language + "/";
  return IsDirectory(folder) ? folder : std::string();
}

std::optional<std::string> FindLangMessageInFile(const std::string& fileName,
                                                 std::string_view messageName) {
  if (!IsFile(fileName)) return std::nullopt;
  try {
    const xml::Document document = xml::Document::TryParseFile(fileName);
    const xml::Element root = document.DocumentElement();
    if (root.IsNull()) return std::nullopt;
    const xml::Node node = root.SelectSingleNode("//" + std::string(messageName) + "/@Msg");
    if (node.IsNull() || !node.IsAttribute()) return std::nullopt;
    return xml::AttributeNodeText(node);
  } catch (...) {
    return std::nullopt;
  }
}

std::string GetLangMessageFromFile(const std::string& fileName, std::string_view messageName,
                                   std::string_view defaultText) {
  return FindLangMessageInFile(fileName, messageName).value_or(std::string(defaultText));
}

std::optional<std::string> FindLangMessage(TDesignType designType, std::string_view package,
                                           std::string_view messageName) {
  const std::string folder = LanguageFolder(designType);
  if (folder.empty()) return std::nullopt;
  return FindLangMessageInFile(folder + std::string(package) + ".Lng", messageName);
}

std::string GetLangMessage(TDesignType designType, std::string_view package,
                           std::string_view messageName, std::string_view defaultText) {
  return FindLangMessage(designType, package, messageName).value_or(std::string(defaultText));
}

// ---- Readers -----------------------------------------------------------------------------------

TComponentRead::TComponentRead(Component* component, const xml::Node& node)
    : component_(component), node_(node) {}

void TComponentRead::ReadItem(int position) {
  const xml::Element element(node_);
  if (element.IsNull() || position < 0) return;
  const xml::Node attribute = element.Attributes().Item(static_cast<size_t>(position));
  if (!attribute.IsNull()) ApplyAttribute(attribute);
}

void TComponentRead::ReadItem(std::string_view attributeName) {
  const xml::Element element(node_);
  if (element.IsNull()) return;
  const xml::Node attribute = element.AttributeNode(attributeName);
  if (!attribute.IsNull()) ApplyAttribute(attribute);
}

void TComponentRead::ReadAll() {
  const xml::Element element(node_);
  if (element.IsNull()) return;
  const size_t count = element.Attributes().Length();
  for (size_t i = 0; i < count; ++i) ReadItem(static_cast<int>(i));
}

void TComponentRead::ApplyAttribute(const xml::Node& attribute) {
  if (!component_) return;
  const std::string value = attribute.Text();
  std::string rest = attribute.Name();
  Persistent* object = component_;
  bool walked = false;
  std::string last;
  for (;;) {
    const size_t dot = rest.find('.');
    if (dot == std::string::npos) {
      last = Trim(rest);
      break;
    }
    const std::string part = Trim(std::string_view(rest).substr(0, dot));
    rest.erase(0, dot + 1);
    if (Trim(rest).empty()) {
      last = part;
      break;
    }
    const size_t underscore = part.find('_');
    Persistent* next = nullptr;
    if (underscore == std::string::npos) {
      next = toolkit::GetObjectProperty(object, part);
    } else {
      const std::string listName = part.substr(0, underscore);
      const std::optional<int> index = ParseIndex(std::string_view(part).substr(underscore + 1));
      if (!IsListName(listName) || !index) return;
      next = WalkIndexed(object, listName, *index);
    }
    if (!next) return;
    object = next;
    walked = true;
  }

  std::string property = last;
  int index = -1;
  if (const size_t underscore = last.find('_'); underscore != std::string::npos) {
    property = last.substr(0, underscore);
    index = ParseIndex(std::string_view(last).substr(underscore + 1)).value_or(-1);
  }
  if (!walked && index >= 0) {
    object = toolkit::GetObjectProperty(object, property);
    if (!object) return;
  }
  if (auto* lines = dynamic_cast<toolkit::Strings*>(object)) {
    if (index >= 0) lines->SetStringAt(index, value);
    return;
  }
  toolkit::TrySetPropertyPath(object, property, automation::Variant(value));
}

void TCustomComboBoxRead::ReadAll() {
  Component* combo = GetComponent();
  const bool hasIndex =
      combo && toolkit::PropertyKind(combo, "ItemIndex") == toolkit::PropKind::Integer;
  const int itemIndex = hasIndex ? toolkit::GetOrdPropOf(combo, "ItemIndex") : -1;
  TComponentRead::ReadAll();
  if (hasIndex && toolkit::GetOrdPropOf(combo, "ItemIndex") != itemIndex)
    toolkit::TrySetPropertyPath(combo, "ItemIndex", automation::Variant(itemIndex));
}

std::unique_ptr<ILangRead> TReaderFactory::CreateReader(Component* component,
                                                        const xml::Node& node) {
  if (component && IsDataAwareComboBox(component))
    return std::make_unique<TwwDBCustomComboBoxRead>(component, node);
  if (component && IsComboBox(component))
    return std::make_unique<TCustomComboBoxRead>(component, node);
  return std::make_unique<TComponentRead>(component, node);
}

TLangReader::TLangReader(xml::Document document, std::vector<std::string> excludeControls,
                         Component* sender, TLoadComponentEvent beforeLoad,
                         TLoadComponentEvent afterLoad)
    : document_(std::move(document)),
      exclude_(std::move(excludeControls)),
      sender_(sender),
      before_load_(beforeLoad),
      after_load_(afterLoad) {}

bool TLangReader::IsExcluded(std::string_view name) const {
  const std::string wanted = Trim(name);
  for (const std::string& excluded : exclude_)
    if (automation::SameName(Trim(excluded), wanted)) return true;
  return false;
}

void TLangReader::Read(Component* component, const xml::Node& node) {
  before_load_(sender_, component, node);
  TReaderFactory::CreateReader(component, node)->ReadAll();
  after_load_(sender_, component, node);
}

void TLangReader::ReadComponent(Component* component) {
  if (!component) return;
  const xml::Element root = document_.DocumentElement();
  if ((dynamic_cast<toolkit::Form*>(component) || component->InheritsFrom("TDataModule")) &&
      !root.IsNull())
    Read(component, root);
  const std::string& name = component->Name();
  if (!name.empty() && !IsExcluded(name)) {
    xml::Node node;
    try {
      node = document_.SelectSingleNode("//" + name);
    } catch (const automation::Error&) {
      // A name that is no XPath name has no element.
    }
    if (node.IsElement()) Read(component, node);
  }
  // Reading never adds or removes components, but a property setter might: walk a copy.
  const std::vector<Component*> owned = component->ComponentList();
  for (Component* child : owned) ReadComponent(child);
}

// ---- Controller --------------------------------------------------------------------------------

TLanguageController::TLanguageController(Component* owner)
    : toolkit::NonVisualComponent(owner), exclude_list_(std::make_unique<toolkit::Strings>()) {
  exclude_list_->SetOnChange([this] {
    exclude_ = exclude_list_->Lines();
    if (reader_) reader_->SetExcludeControls(exclude_);
  });
}

TLanguageController::~TLanguageController() {
  exclude_list_->SetOnChange(nullptr);
}

bool TLanguageController::Active() const {
  return document_ && !document_->DocumentElement().IsNull();
}

void TLanguageController::SetActive(bool active) {
  if (IsLoading()) {
    streamed_active_ = active;
    return;
  }
  if (active == Active()) return;
  if (active) {
    Open();
  } else {
    Close();
  }
}

void TLanguageController::Open() {
  FBeforeOpen(this);
  reader_.reset();
  document_.reset();
  if (file_name_.empty()) throw LanguageControllerError("Cannot Find File " + file_name_ + "!");
  xml::Document document;
  try {
    document = xml::Document::TryParseFile(file_name_);
  } catch (const std::exception& error) {
    throw LanguageControllerError(error.what());
  }
  if (document.LastParseError().Failed())
    throw LanguageControllerError(document.LastParseError().Text());
  document_ = std::make_unique<xml::Document>(document);
  reader_ = std::make_unique<TLangReader>(document, exclude_, this, FBeforeLoadComponent,
                                          FAfterLoadComponent);
  FAfterOpen(this);
}

void TLanguageController::Close() {
  FBeforeClose(this);
  reader_.reset();
  document_.reset();
  FAfterClose(this);
}

void TLanguageController::SetLangPackageName(std::string name) {
  if (name == package_name_) return;
  package_name_ = std::move(name);
  const std::string folder = LanguageFolder(design_type_);
  const std::string file = folder.empty() ? std::string() : folder + package_name_ + ".Lng";
  if (file != file_name_) {
    SetActive(false);
    file_name_ = file;
  }
}

void TLanguageController::SetExcludeControls(std::vector<std::string> names) {
  // The list's change notification copies it into the controller and the open reader.
  exclude_list_->Assign(names);
  exclude_ = std::move(names);
  if (reader_) reader_->SetExcludeControls(exclude_);
}

TLangReader* TLanguageController::GetReader() const {
  if (!Active() || !reader_) throw LanguageControllerError("No active LanguageController!");
  return reader_.get();
}

void TLanguageController::Loaded() {
  toolkit::NonVisualComponent::Loaded();
  if (streamed_active_) SetActive(true);
}

TQrLangController::TQrLangController(Component* owner) : TLanguageController(owner) {}

TQrLangController::~TQrLangController() = default;

TOOLKIT_REGISTER_CLASS(TQrLangController, "TQrLangController");
