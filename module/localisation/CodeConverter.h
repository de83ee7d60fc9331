// CodeConverter: conversion of the module's texts between the Simplified Chinese code page 936
// (GB) and the Traditional Chinese code page 950 (BIG5), for windows and for values.
//
// The windows are designed with GB texts. On an installation whose user-interface code page is
// 950 every window converts its own texts to BIG5 once, while it starts (`ConvertForm`), and
// switches its fonts to the BIG5 character set, so that it shows Traditional characters; texts
// that travel between the user interface and the database are converted in the direction the
// configuration asks for (`ToUICode`, `FromUICode`, `ToDBCode`, `FromDBCode`). Every window owns
// one converter, the component named "QrConverter" (framework/QRForm.h).
//
// One text is converted by the maker's conversion library "Varirodizu.dll", loaded by name at run
// time (`TTranslator`). The converter loads it only when the configuration asks for a conversion
// of the user interface (`UIConvertMode` not 0); a library that cannot be loaded, or lacks one of
// its two conversion entries, makes the creation of the converter fail — and with it the creation
// of its window — with "Load Library Varirodizu.dll Error!" or
// "Get Library Procedure Address Error!".
//
// Conversion directions (the small integer of `ConvertValue`): 0 none, 1 BIG5 → GB, 2 GB → BIG5;
// any other value converts nothing. The modes of the configuration (support/VarnelIni.h):
// `UIConvertMode` 0 (none), 2 (interface 950) or 4 (interface 936 on a 950 system: fonts and
// owner drawing only, no text converted); `DataConvertMode` 0, 1 (interface 936, database 950)
// or 2 (interface 950, database 936).
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "automation/Variant.h"
#include "localisation/DesignType.h"
#include "toolkit/Component.h"
#include "toolkit/Dialogs.h"

namespace automation {
class DynamicLibrary;
}
namespace toolkit {
class Font;
class Form;
}  // namespace toolkit

// The error of a converter that cannot get its conversion library.
class CodeConverterError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The conversion library and its entries.
class TTranslator {
 public:
  // LoadTranslator: loads the library (TranslatorLibraryName, "Varirodizu.dll" normally) and looks
  // up "GBtoBIG5", "BIG5toGB", "GetBIG5Data", "GetGBData" and "SaveOrder". Throws
  // CodeConverterError "Load Library <name> Error!" when the library cannot be loaded and
  // "Get Library Procedure Address Error!" when "GBtoBIG5" or "BIG5toGB" is missing; the other
  // three entries are kept when present and never called.
  TTranslator();
  // Unloads the library.
  ~TTranslator();
  TTranslator(const TTranslator&) = delete;
  TTranslator& operator=(const TTranslator&) = delete;

  // The text through "GBtoBIG5" / "BIG5toGB"; the text unchanged when the entry is missing or
  // answers nothing.
  std::string GbToBig5(std::string_view text) const;
  std::string Big5ToGb(std::string_view text) const;

 private:
  using Entry = const char* (*)(const char*);
  void LoadTranslator();
  std::string Call(Entry entry, std::string_view text) const;

  std::unique_ptr<automation::DynamicLibrary> library_;
  Entry gb_to_big5_ = nullptr;
  Entry big5_to_gb_ = nullptr;
  void* get_big5_data_ = nullptr;
  void* get_gb_data_ = nullptr;
  void* save_order_ = nullptr;
};

// The library every translator loads: "Varirodizu.dll" unless a tool or a test names another
// (a library name as the system writes it, found as automation/DynamicLibrary.h says).
const std::string& TranslatorLibraryName();
void SetTranslatorLibraryName(std::string name);

// The converter component ("TCodeConverter"). Published: DesignType (dtClient).
class TCodeConverter : public toolkit::NonVisualComponent {
  Q_OBJECT
  Q_PROPERTY(TDesignType DesignType READ DesignType WRITE SetDesignType)

 public:
  // Sets the initial fields, reads the code pages (LoadCodePages, from the client configuration
  // since DesignType still holds dtClient) and creates the translator when UIConvertMode is not
  // 0; the translator's errors pass to the caller.
  explicit TCodeConverter(toolkit::Component* owner);
  ~TCodeConverter() override;

  TDesignType DesignType() const { return design_type_; }
  // Only stored: the code pages were read at creation.
  void SetDesignType(TDesignType type) { design_type_ = type; }

  // Reads the configuration of DesignType (TVarnelIniC or TVarnelIniS) and copies its system,
  // interface and database code pages and its two modes.
  void LoadCodePages();

  const std::string& SystemCodePage() const { return system_code_page_; }
  const std::string& UICodePage() const { return ui_code_page_; }
  const std::string& DBCodePage() const { return db_code_page_; }
  int UIConvertMode() const { return ui_convert_mode_; }
  int DataConvertMode() const { return data_convert_mode_; }
  // Whether the conversion library is loaded (UIConvertMode not 0).
  bool HasTranslator() const { return translator_ != nullptr; }

  // Converts the window and every component it owns for UIConvertMode (nothing without a
  // translator): the caption, hints, fonts, texts, item lists and styles as the header of the
  // .cpp file lists them.
  void ConvertForm(toolkit::Form* form);

  // A copy of the value converted in `direction`: nothing for direction 0, without a translator
  // and for empty and null values; arrays element by element (ConvertArray); a single value
  // through its text, so that a number comes back as its text. A null element of a
  // one-dimensional array raises automation::Error.
  automation::Variant ConvertValue(int direction, const automation::Variant& value) const;
  // Program text to the screen: ConvertValue(UIConvertMode). Errors pass to the caller.
  automation::Variant ToUICode(const automation::Variant& value) const;
  // Screen text back to program text (BIG5 → GB when UIConvertMode is 2); the input unchanged
  // when the conversion fails.
  automation::Variant FromUICode(const automation::Variant& value) const;
  // Database text to the screen: ConvertValue(DataConvertMode). Errors pass to the caller.
  automation::Variant FromDBCode(const automation::Variant& value) const;
  // Screen text to the database (GB → BIG5 when DataConvertMode is 1, BIG5 → GB when it is 2);
  // the input unchanged when the conversion fails.
  automation::Variant ToDBCode(const automation::Variant& value) const;

  // One text through the translator; "" stays "", and without a translator the text is
  // unchanged.
  std::string GbToBig5Text(std::string_view text) const;
  std::string Big5ToGbText(std::string_view text) const;

  // The font for a mode: modes 0, 1 and 4 give "SimSun" with character set 134 (GB2312), modes 2
  // and 3 "SimSun" with 136 (BIG5); other modes leave the font. A null font is ignored.
  static void SetCharsetFont(int mode, toolkit::Font* font);

  // A message box for the owning window: nothing for an empty text (answers 0); six blanks are
  // appended when the interface or system code page is "936"; a minimised owner is restored; the
  // caption is the owner's caption (converted when the owner's title is kept in the other code
  // page than the dialog's font shows) and the font follows UIConvertMode. Answers the modal
  // result.
  int ShowCodePageMessage(std::string text, toolkit::TMsgDlgType kind,
                          toolkit::TMsgDlgButtons buttons) const;

 private:
  automation::Variant ConvertArray(int direction, const automation::Variant& value) const;
  automation::Variant ConvertSingle(int direction, const automation::Variant& value) const;
  void ConvertComponent(toolkit::Component* component, int mode);

  TDesignType design_type_ = dtClient;
  std::string system_code_page_ = "936";
  std::string ui_code_page_ = "936";
  std::string db_code_page_ = "936";
  int ui_convert_mode_ = 0;
  int data_convert_mode_ = 0;
  std::unique_ptr<TTranslator> translator_;
};
