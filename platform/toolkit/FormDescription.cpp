#include "toolkit/FormDescription.h"

#include <QFile>
#include <algorithm>
#include <cctype>
#include <vector>

#include "automation/Dispatch.h"
#include "os/CodePage.h"
#include "toolkit/Classes.h"
#include "toolkit/Form.h"
#include "toolkit/Properties.h"

namespace toolkit {
namespace {

using automation::SameName;
using automation::Variant;

// ----- Reading the text into a tree -------------------------------------------------------------

enum class Tok { Ident, String, Number, Symbol, End };

struct Token {
  Tok kind = Tok::End;
  std::string text;
  int line = 0;
};

struct Value;

struct PropertyNode {
  std::string path;
  int line = 0;
  std::vector<Value> values;  // one value, or the parts of a list
};

enum class ValueKind { Number, String, Ident, Set, List, Collection };

struct Value {
  ValueKind kind = ValueKind::Ident;
  std::string text;                              // Number, String (8-bit), Ident, Set "[a,b]"
  std::vector<std::string> lines;                // List
  std::vector<std::vector<PropertyNode>> items;  // Collection
  int line = 0;
};

struct ObjectNode {
  bool inherited = false;
  std::string name;
  std::string className;
  int line = 0;
  std::vector<PropertyNode> properties;
  std::vector<ObjectNode> children;
};

class Reader {
 public:
  Reader(std::string_view text, const std::string& file) : text_(text), file_(file) { Next(); }

  ObjectNode ReadFile() {
    ObjectNode root = ReadObject();
    if (token_.kind != Tok::End) Fail(token_.line, token_.text, "text after the last \"end\"");
    return root;
  }

 private:
  [[noreturn]] void Fail(int line, const std::string& name, const std::string& problem) const {
    throw FormDescriptionError(file_, line, name, problem);
  }

  bool IsWord(const char* word) const {
    return token_.kind == Tok::Ident && SameName(token_.text, word);
  }
  bool IsSymbol(char c) const {
    return token_.kind == Tok::Symbol && token_.text.size() == 1 && token_.text[0] == c;
  }
  void ExpectSymbol(char c) {
    if (!IsSymbol(c)) Fail(token_.line, token_.text, std::string("\"") + c + "\" expected");
    Next();
  }
  std::string ExpectIdent(const char* what) {
    if (token_.kind != Tok::Ident) Fail(token_.line, token_.text, std::string(what) + " expected");
    std::string text = token_.text;
    Next();
    return text;
  }

  ObjectNode ReadObject() {
    ObjectNode node;
    node.line = token_.line;
    if (IsWord("inherited")) {
      node.inherited = true;
    } else if (!IsWord("object")) {
      Fail(token_.line, token_.text, "\"object\" or \"inherited\" expected");
    }
    Next();
    node.name = ExpectIdent("a component name");
    ExpectSymbol(':');
    node.className = ExpectIdent("a class name");
    for (;;) {
      if (token_.kind == Tok::End) Fail(token_.line, node.name, "\"end\" missing");
      if (IsWord("end")) {
        Next();
        return node;
      }
      if (IsWord("object") || IsWord("inherited")) {
        node.children.push_back(ReadObject());
        continue;
      }
      node.properties.push_back(ReadProperty());
    }
  }

  PropertyNode ReadProperty() {
    PropertyNode prop;
    prop.line = token_.line;
    prop.path = ExpectIdent("a property name");
    ExpectSymbol('=');
    prop.values.push_back(ReadValue(prop.path));
    return prop;
  }

  Value ReadValue(const std::string& owner) {
    Value value;
    value.line = token_.line;
    if (token_.kind == Tok::String) {
      value.kind = ValueKind::String;
      value.text = token_.text;
      Next();
      // "abc" + "def" continues a long text on the next line.
      while (IsSymbol('+')) {
        Next();
        if (token_.kind != Tok::String) Fail(token_.line, owner, "a text expected after \"+\"");
        value.text += token_.text;
        Next();
      }
    } else if (token_.kind == Tok::Number) {
      value.kind = ValueKind::Number;
      value.text = token_.text;
      Next();
    } else if (token_.kind == Tok::Ident) {
      value.kind = ValueKind::Ident;
      value.text = token_.text;
      Next();
    } else if (IsSymbol('[')) {
      Next();
      value.kind = ValueKind::Set;
      value.text = "[";
      while (!IsSymbol(']')) {
        if (value.text.size() > 1) ExpectSymbol(',');
        value.text += (value.text.size() > 1 ? "," : "") + ExpectIdent("a set member");
      }
      Next();
      value.text += "]";
    } else if (IsSymbol('(')) {
      Next();
      value.kind = ValueKind::List;
      while (!IsSymbol(')')) {
        if (token_.kind != Tok::String) Fail(token_.line, owner, "a text or \")\" expected");
        value.lines.push_back(token_.text);
        Next();
      }
      Next();
    } else if (IsSymbol('<')) {
      Next();
      value.kind = ValueKind::Collection;
      while (!IsSymbol('>')) {
        if (!IsWord("item")) Fail(token_.line, owner, "\"item\" or \">\" expected");
        Next();
        std::vector<PropertyNode> item;
        while (!IsWord("end")) {
          if (token_.kind == Tok::End) Fail(token_.line, owner, "\"end\" of an item missing");
          item.push_back(ReadProperty());
        }
        Next();
        value.items.push_back(std::move(item));
      }
      Next();
    } else {
      Fail(token_.line, owner, "a value expected");
    }
    return value;
  }

  // The next token; comments run from "#" or "//" to the end of the line.
  void Next() {
    for (;;) {
      while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) {
        if (text_[pos_] == '\n') ++line_;
        ++pos_;
      }
      if (pos_ < text_.size() &&
          (text_[pos_] == '#' ||
           (text_[pos_] == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/'))) {
        while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
        continue;
      }
      break;
    }
    token_ = Token{Tok::End, "", line_};
    if (pos_ >= text_.size()) return;
    const char c = text_[pos_];
    auto identChar = [](char ch) {
      return std::isalnum(static_cast<unsigned char>(ch)) || ch == '_' || ch == '.';
    };
    if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      const size_t start = pos_;
      while (pos_ < text_.size() && identChar(text_[pos_])) ++pos_;
      token_ = Token{Tok::Ident, std::string(text_.substr(start, pos_ - start)), line_};
      return;
    }
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '$' ||
        ((c == '-' || c == '+') && pos_ + 1 < text_.size() &&
         (std::isdigit(static_cast<unsigned char>(text_[pos_ + 1])) || text_[pos_ + 1] == '$'))) {
      const size_t start = pos_++;
      while (pos_ < text_.size() && (std::isxdigit(static_cast<unsigned char>(text_[pos_])) ||
                                     text_[pos_] == '.' || text_[pos_] == '$')) {
        ++pos_;
      }
      token_ = Token{Tok::Number, std::string(text_.substr(start, pos_ - start)), line_};
      return;
    }
    if (c == '"') {
      ++pos_;
      std::string utf8;
      for (;;) {
        if (pos_ >= text_.size() || text_[pos_] == '\n') {
          Fail(line_, utf8, "unterminated text");
        }
        char ch = text_[pos_++];
        if (ch == '"') break;
        if (ch == '\\' && pos_ < text_.size()) {
          const char escaped = text_[pos_++];
          switch (escaped) {
            case 'n':
              ch = '\n';
              break;
            case 'r':
              ch = '\r';
              break;
            case 't':
              ch = '\t';
              break;
            default:
              ch = escaped;
              break;
          }
        }
        utf8 += ch;
      }
      // The program's texts are GBK.
      token_ = Token{Tok::String, os::WideToAnsi(os::Utf8ToWide(utf8), os::CP_GBK), line_};
      return;
    }
    ++pos_;
    token_ = Token{Tok::Symbol, std::string(1, c), line_};
  }

  std::string_view text_;
  const std::string& file_;
  size_t pos_ = 0;
  int line_ = 1;
  Token token_;
};

// ----- Applying the tree to a window ------------------------------------------------------------

class Loader {
 public:
  Loader(Form* form, const std::string& file) : form_(form), file_(file) {}

  void Load(const ObjectNode& root, bool isBase) {
    if (isBase && root.inherited) {
      Fail(root.line, root.name, "the first description of a window begins with \"object\"");
    }
    if (!isBase && !root.inherited) {
      Fail(root.line, root.name, "the description of a derived window begins with \"inherited\"");
    }
    if (!form_->InheritsFrom(root.className)) {
      Fail(root.line, root.className, "the window is not of this class");
    }
    if (isBase) Guard(root.line, root.name, [&] { form_->SetName(root.name); });
    Apply(form_, root);
    for (const Fixup& fixup : fixups_) {
      Persistent* target = nullptr;
      if (!SameName(fixup.component, "nil")) {
        target = SameName(fixup.component, form_->Name()) ? form_
                                                          : form_->FindComponent(fixup.component);
        if (!target) Fail(fixup.line, fixup.component, "unknown component");
      }
      Guard(fixup.line, fixup.property,
            [&] { SetObjectProperty(fixup.object, fixup.property, target); });
    }
  }

 private:
  struct Fixup {
    Persistent* object;
    std::string property;
    std::string component;
    int line;
  };

  [[noreturn]] void Fail(int line, const std::string& name, const std::string& problem) const {
    throw FormDescriptionError(file_, line, name, problem);
  }

  template <class F>
  void Guard(int line, const std::string& name, F&& f) {
    try {
      f();
    } catch (const FormDescriptionError&) {
      throw;
    } catch (const std::exception& e) {
      Fail(line, name, e.what());
    }
  }

  void Apply(Component* component, const ObjectNode& node) {
    for (const PropertyNode& prop : node.properties) ApplyProperty(component, prop);
    for (const ObjectNode& child : node.children) ApplyChild(component, child);
  }

  void ApplyChild(Component* parent, const ObjectNode& node) {
    Component* component = form_->FindComponent(node.name);
    if (node.inherited) {
      if (!component) Fail(node.line, node.name, "unknown component");
      if (!component->InheritsFrom(node.className)) {
        Fail(node.line, node.className, "the component is not of this class");
      }
    } else {
      if (component) Fail(node.line, node.name, "a component of this name exists already");
      if (!IsComponentClass(node.className)) Fail(node.line, node.className, "unknown class");
      Guard(node.line, node.className, [&] {
        component = CreateComponent(node.className, form_);
        component->SetLoading(true);
        component->SetName(node.name);
      });
      auto* control = dynamic_cast<Control*>(component);
      auto* container = dynamic_cast<WinControl*>(parent);
      if (control && container) {
        Guard(node.line, node.name, [&] { control->SetParent(container); });
      }
    }
    Apply(component, node);
  }

  // Walks a dotted path to the object that holds its last property.
  Persistent* Holder(Persistent* object, const PropertyNode& prop, std::string& last) {
    std::string_view path = prop.path;
    for (size_t dot; (dot = path.find('.')) != std::string_view::npos;) {
      const std::string part(path.substr(0, dot));
      if (PropertyKind(object, part) != PropKind::Object) {
        Fail(prop.line, part, "unknown property");
      }
      object = GetObjectProperty(object, part);
      if (!object) Fail(prop.line, part, "the property holds no object");
      path.remove_prefix(dot + 1);
    }
    last = std::string(path);
    return object;
  }

  void ApplyProperty(Persistent* target, const PropertyNode& prop) {
    std::string name;
    Persistent* object = Holder(target, prop, name);
    const Value& value = prop.values.front();
    switch (PropertyKind(object, name)) {
      case PropKind::None:
        Fail(prop.line, prop.path, "unknown property");
      case PropKind::Method: {
        if (value.kind != ValueKind::Ident) Fail(prop.line, prop.path, "a handler name expected");
        Method method;
        if (!SameName(value.text, "nil")) {
          method = FindMethod(form_, value.text);
          if (method.IsEmpty()) Fail(prop.line, value.text, "unknown handler");
        }
        Guard(prop.line, value.text, [&] { SetMethodPropOf(object, name, method); });
        return;
      }
      case PropKind::Object:
        ApplyObjectValue(object, name, prop, value);
        return;
      default:
        break;
    }
    Variant v;
    switch (value.kind) {
      case ValueKind::Number:
        if (value.text.find('.') != std::string::npos) {
          v = Variant(std::stod(value.text));
        } else if (value.text.find('$') != std::string::npos) {
          v = Variant(value.text);
        } else {
          v = Variant(std::stoi(value.text));
        }
        break;
      case ValueKind::String:
      case ValueKind::Ident:
      case ValueKind::Set:
        v = Variant(value.text);
        break;
      default:
        Fail(prop.line, prop.path, "this property takes a single value");
    }
    Guard(prop.line, prop.path, [&] { SetPropValue(object, name, v); });
  }

  void ApplyObjectValue(Persistent* object, const std::string& name, const PropertyNode& prop,
                        const Value& value) {
    switch (value.kind) {
      case ValueKind::Ident:
        fixups_.push_back(Fixup{object, name, value.text, prop.line});
        return;
      case ValueKind::List: {
        auto* strings = dynamic_cast<Strings*>(GetObjectProperty(object, name));
        if (!strings) Fail(prop.line, prop.path, "not a list of texts");
        strings->Assign(value.lines);
        return;
      }
      case ValueKind::Collection: {
        auto* collection = dynamic_cast<Collection*>(GetObjectProperty(object, name));
        if (!collection) Fail(prop.line, prop.path, "not a collection");
        collection->Clear();
        for (const auto& item : value.items) {
          CollectionItem* entry = collection->Add();
          for (const PropertyNode& p : item) ApplyProperty(entry, p);
        }
        return;
      }
      default:
        Fail(prop.line, prop.path, "an object property takes a component name, a list or items");
    }
  }

  Form* form_;
  const std::string& file_;
  std::vector<Fixup> fixups_;
};

void FinishLoading(Component* component) {
  for (Component* owned : component->ComponentList()) FinishLoading(owned);
  if (component->IsLoading()) {
    component->SetLoading(false);
    component->Loaded();
  }
}

}  // namespace

FormDescriptionError::FormDescriptionError(std::string file, int line, std::string name,
                                           const std::string& problem)
    : Error(file + ", line " + std::to_string(line) + ": " + problem + ": " + name),
      file_(std::move(file)),
      line_(line),
      name_(std::move(name)) {}

void LoadFormDescription(Form* form, std::string_view text, const std::string& fileName,
                         bool isBase) {
  form->SetLoading(true);
  const ObjectNode root = Reader(text, fileName).ReadFile();
  Loader(form, fileName).Load(root, isBase);
}

void EndFormLoading(Form* form) {
  FinishLoading(form);
}

std::string FormDescriptionResource(std::string_view className) {
  return ":/forms/" + std::string(className) + ".form";
}

bool HasFormDescription(std::string_view className) {
  return QFile::exists(QString::fromStdString(FormDescriptionResource(className)));
}

void InitializeForm(Form* form) {
  std::vector<std::string> chain = form->ClassChain();
  std::reverse(chain.begin(), chain.end());
  form->SetLoading(true);
  bool first = true;
  for (const std::string& className : chain) {
    const std::string resource = FormDescriptionResource(className);
    QFile file(QString::fromStdString(resource));
    if (!file.open(QIODevice::ReadOnly)) continue;
    const QByteArray text = file.readAll();
    LoadFormDescription(form, std::string_view(text.constData(), static_cast<size_t>(text.size())),
                        className + ".form", first);
    first = false;
  }
  EndFormLoading(form);
  form->DoCreate();
}

}  // namespace toolkit
