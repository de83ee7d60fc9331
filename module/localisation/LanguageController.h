// LanguageController: language packs, XML files that give a window's components new property
// values and hold message texts, one folder per user-interface language.
//
// Packs lie in "MultiLanguage/<language>/" below the platform folder of the configuration
// (support/VarnelIni.h), the language being that of the user-interface code page: "936" CHS,
// "950" CHT, "437" ENG. A pack is named after a window class: "<class name>.Lng". Its content:
//
//   <TfrmSample Caption="Sample window">          the root element's attributes: the window
//     <Buttons>
//       <btnOk Caption="OK" Hint="Save"/>          the first element named after a component,
//     </Buttons>                                  anywhere in the document: that component
//     <lstView Columns_1.Caption="Name" Items_0.Caption="First"/>
//     <cboKind Items_5="Other"/>                   line 5 of the list, extended when shorter
//     <sNoData Msg="Nothing to show"/>             a message text (GetLangMessage)
//   </TfrmSample>
//
// Each attribute is a property assignment: the name is a property path, the value (text) the new
// value. Path parts are separated by "."; a part "Items_n" or "Columns_n" takes entry n of a
// collection, of a list view's columns or items, or of a tree view's nodes; a last part "Name_n"
// sets line n of the string list Name. A path that does not resolve, and a value the property
// cannot take, has no effect.
//
// `TQrLangController` (the component "LangController" of every window, framework/QRForm.h) opens
// a pack by name (`LangPackageName`, `Active`) and applies it to a window and everything the
// window owns (`GetReader()->ReadComponent(window)`). `GetLangMessage` reads one message text.
// Texts are the module's 8-bit GBK texts (the packs themselves may be written in any encoding
// they declare); documents are parsed with platform/xml, which never loads anything from outside
// the file.
#pragma once

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "localisation/DesignType.h"
#include "toolkit/Classes.h"
#include "toolkit/Component.h"
#include "toolkit/Events.h"
#include "xml/Document.h"

// The error the language controller raises.
class LanguageControllerError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The language folder name of a user-interface code page, from the list "936=CHS", "950=CHT",
// "437=ENG"; "" for any other code page.
std::string CodePageLanguage(std::string_view codePage);

// The folder of the packs of the configured interface language: the platform folder of the
// configuration of `designType` + "MultiLanguage/" + language + "/". "" when the code page has no
// language or the folder does not exist.
std::string LanguageFolder(TDesignType designType);

// The message text `messageName` of the pack `package` ("<LanguageFolder><package>.Lng"): the
// attribute "Msg" of the first element of that name; `defaultText` when the file is missing, the
// element or its attribute is missing, or the file cannot be read.
std::string GetLangMessage(TDesignType designType, std::string_view package,
                           std::string_view messageName, std::string_view defaultText);

// The same for a pack file named in full.
std::string GetLangMessageFromFile(const std::string& fileName, std::string_view messageName,
                                   std::string_view defaultText);

// The message text when the pack has it; nullopt where GetLangMessage gives its default.
std::optional<std::string> FindLangMessage(TDesignType designType, std::string_view package,
                                           std::string_view messageName);
std::optional<std::string> FindLangMessageInFile(const std::string& fileName,
                                                 std::string_view messageName);

// Before and after the reading of each component that has an element: the component and its
// element (the controller is the sender).
using TLoadComponentEvent = toolkit::Event<toolkit::Component*, xml::Node>;

// The reader of one component and its element.
class ILangRead {
 public:
  virtual ~ILangRead() = default;
  virtual toolkit::Component* GetComponent() const = 0;
  virtual void SetComponent(toolkit::Component* component) = 0;
  virtual xml::Node GetComponentNode() const = 0;
  virtual void SetComponentNode(const xml::Node& node) = 0;
  // Applies the attribute at `position` (from 0, in document order) / of that name; nothing when
  // the element has no such attribute.
  virtual void ReadItem(int position) = 0;
  virtual void ReadItem(std::string_view attributeName) = 0;
  // Applies every attribute of the element in document order.
  virtual void ReadAll() = 0;
};

class TComponentRead : public ILangRead {
 public:
  TComponentRead(toolkit::Component* component, const xml::Node& node);

  toolkit::Component* GetComponent() const override { return component_; }
  void SetComponent(toolkit::Component* component) override { component_ = component; }
  xml::Node GetComponentNode() const override { return node_; }
  void SetComponentNode(const xml::Node& node) override { node_ = node; }
  void ReadItem(int position) override;
  void ReadItem(std::string_view attributeName) override;
  void ReadAll() override;

 protected:
  // Sets the property the attribute's name leads to (see the header comment); errors of the
  // property setter are swallowed.
  void ApplyAttribute(const xml::Node& attribute);

 private:
  toolkit::Component* component_;
  xml::Node node_;
};

// Combo boxes keep their chosen item while their items are read.
class TCustomComboBoxRead : public TComponentRead {
 public:
  using TComponentRead::TComponentRead;
  void ReadAll() override;
};

// The same for data-aware combo boxes ("TwwDBCustomComboBox" and their descendants).
class TwwDBCustomComboBoxRead : public TCustomComboBoxRead {
 public:
  using TCustomComboBoxRead::TCustomComboBoxRead;
};

class TReaderFactory {
 public:
  // A TwwDBCustomComboBoxRead for a data-aware combo box, a TCustomComboBoxRead for another
  // combo box, a TComponentRead for anything else.
  static std::unique_ptr<ILangRead> CreateReader(toolkit::Component* component,
                                                 const xml::Node& node);
};

// The reader of an open pack.
class TLangReader {
 public:
  TLangReader(xml::Document document, std::vector<std::string> excludeControls,
              toolkit::Component* sender, TLoadComponentEvent beforeLoad,
              TLoadComponentEvent afterLoad);

  const xml::Document& Document() const { return document_; }
  const std::vector<std::string>& ExcludeControls() const { return exclude_; }
  void SetExcludeControls(std::vector<std::string> names) { exclude_ = std::move(names); }

  // Applies the pack to the component: a window (or data module) takes the root element's
  // attributes; a named component that is not excluded takes those of the first element named
  // after it; then every component it owns, in order, the same way. The load events run around
  // each component that has an element; their exceptions pass to the caller.
  void ReadComponent(toolkit::Component* component);

 private:
  void Read(toolkit::Component* component, const xml::Node& node);
  bool IsExcluded(std::string_view name) const;

  xml::Document document_;
  std::vector<std::string> exclude_;
  toolkit::Component* sender_;
  TLoadComponentEvent before_load_;
  TLoadComponentEvent after_load_;
};

// The engine of the language controller: the pack file, its document and its reader.
class TLanguageController : public toolkit::NonVisualComponent {
  Q_OBJECT
 public:
  explicit TLanguageController(toolkit::Component* owner);
  ~TLanguageController() override;

  // Yes when a document with a root element is open.
  bool Active() const;
  // Opens (yes) or closes (no) the pack LangFileName; see the .cpp file. While the component is
  // being loaded from its window description the value is only remembered and applied when
  // loading completes. Opening raises LanguageControllerError "Cannot Find File <name>!" for an
  // empty file name and the parser's reason for a file that is missing or not well-formed.
  void SetActive(bool active);

  const std::string& LangPackageName() const { return package_name_; }
  // A new name sets LangFileName to LanguageFolder(DesignType) + name + ".Lng" and closes the
  // pack when that file differs from the current one.
  void SetLangPackageName(std::string name);
  const std::string& LangFileName() const { return file_name_; }

  TDesignType DesignType() const { return design_type_; }
  void SetDesignType(TDesignType type) { design_type_ = type; }

  // Component names that are not read (compared trimmed and without regard to case).
  const std::vector<std::string>& ExcludeControls() const { return exclude_; }
  // Copies the list (an empty list clears it); the open reader takes it at once.
  void SetExcludeControls(std::vector<std::string> names);
  // The same list as lines (form descriptions write them); changing the lines changes the list.
  toolkit::Strings* ExcludeControlList() const { return exclude_list_.get(); }

  // The reader of the open pack; LanguageControllerError "No active LanguageController!" when no
  // document with a root element is open.
  TLangReader* GetReader() const;

  void Loaded() override;

 protected:
  toolkit::NotifyEvent FBeforeOpen;
  toolkit::NotifyEvent FAfterOpen;
  toolkit::NotifyEvent FBeforeClose;
  toolkit::NotifyEvent FAfterClose;
  TLoadComponentEvent FBeforeLoadComponent;
  TLoadComponentEvent FAfterLoadComponent;

 private:
  void Open();
  void Close();

  bool streamed_active_ = false;
  std::string package_name_;
  std::string file_name_;
  TDesignType design_type_ = dtClient;
  std::vector<std::string> exclude_;
  std::unique_ptr<toolkit::Strings> exclude_list_;
  std::unique_ptr<xml::Document> document_;
  std::unique_ptr<TLangReader> reader_;
};

// The language controller component ("TQrLangController"). Published: Active (False),
// LangPackageName (""), DesignType (dtClient), ExcludeControls (empty list), BeforeOpen,
// AfterOpen, BeforeClose, AfterClose, BeforeLoadComponent, AfterLoadComponent.
class TQrLangController : public TLanguageController {
  Q_OBJECT
  Q_PROPERTY(bool Active READ Active WRITE SetActive)
  Q_PROPERTY(std::string LangPackageName READ LangPackageName WRITE SetLangPackageName)
  Q_PROPERTY(TDesignType DesignType READ DesignType WRITE SetDesignType)
  Q_PROPERTY(toolkit::Strings* ExcludeControls READ ExcludeControlList)
  Q_PROPERTY(toolkit::NotifyEvent BeforeOpen MEMBER FBeforeOpen)
  Q_PROPERTY(toolkit::NotifyEvent AfterOpen MEMBER FAfterOpen)
  Q_PROPERTY(toolkit::NotifyEvent BeforeClose MEMBER FBeforeClose)
  Q_PROPERTY(toolkit::NotifyEvent AfterClose MEMBER FAfterClose)
  Q_PROPERTY(TLoadComponentEvent BeforeLoadComponent MEMBER FBeforeLoadComponent)
  Q_PROPERTY(TLoadComponentEvent AfterLoadComponent MEMBER FAfterLoadComponent)

 public:
  explicit TQrLangController(toolkit::Component* owner);
  ~TQrLangController() override;
};
