// Form descriptions: the text that lists a window's components, one file per window class.
//
// A description is UTF-8 text embedded as a Qt resource ":/forms/<ClassName>.form" (a module
// folder adds its files with qt_add_resources, PREFIX "/forms"). It nests components by their
// visual parent:
//
//   # The sample window
//   object frmSample: TfrmSample
//     Caption = "示例"                  texts in double quotes (\" \\ \n \r \t escapes)
//     Width = 400                       integers, $hex, floats
//     Font.Name = "宋体"                paths into object properties
//     Position = poScreenCenter         enumeration names, True/False, clBtnFace
//     BorderIcons = [biSystemMenu]      sets
//     OnShow = FormShow                 handlers published by the window class
//     object Panel1: TPanel             a child: its class is registered by name
//       Align = alBottom
//       object btnOk: TButton
//         Caption = "确定"
//         OnClick = btnOkClick
//       end
//     end
//     object lblName: TLabel
//       FocusControl = edName           component references (resolved after the whole file)
//     end
//     object cboKind: TComboBox
//       Items = ("甲" "乙")              the lines of a string list
//     end
//     object lstView: TListView
//       Columns = <                     the entries of a collection
//         item
//           Caption = "名称"
//         end>
//     end
//   end
//
// The description of a derived window class begins with "inherited" and only adds or changes:
// "inherited Panel1: TPanel" blocks change components of the base, "object" blocks add new ones.
// Texts become the program's 8-bit texts (code page 936) when they are loaded. Properties are set
// through the property-by-name machinery of toolkit/Properties.h, in the order written. A file
// naming an unknown class, component, property or handler, or a value a property cannot take,
// fails loading with FormDescriptionError naming the file, the line and the name.
#pragma once

#include <string>
#include <string_view>

#include "toolkit/Component.h"

namespace toolkit {

class Form;

class FormDescriptionError : public Error {
 public:
  FormDescriptionError(std::string file, int line, std::string name, const std::string& problem);
  const std::string& File() const { return file_; }
  int Line() const { return line_; }
  const std::string& Name() const { return name_; }

 private:
  std::string file_;
  int line_;
  std::string name_;
};

// Reads one description into the window (see the header comment). `fileName` names the file in
// error messages. `isBase` says whether this is the first description of the window's chain
// (it must begin with "object"; later ones with "inherited"). Components created are left in
// their loading state; EndFormLoading finishes them.
void LoadFormDescription(Form* form, std::string_view text, const std::string& fileName,
                         bool isBase);
// Ends the loading state of the window and everything it owns and calls their Loaded.
void EndFormLoading(Form* form);
// The resource name of a class's description (":/forms/TfrmSample.form") and whether it exists.
std::string FormDescriptionResource(std::string_view className);
bool HasFormDescription(std::string_view className);

}  // namespace toolkit
