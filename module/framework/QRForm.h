// QRForm: `TQRForm`, the base window of every window of the module (the option windows, the
// scheme save dialog, the recipients dialog and the user picker).
//
// Every window gets the same treatment. At creation (`FormCreate`, the window's OnCreate handler;
// subclasses call it first): input-method names are cleared, an English installation (interface
// code page "437") gets the Latin font "Tahoma", and buttons whose picture holds a single image
// get a generated disabled image beside it (`MakeDisabledGlyph`). When shown (`FormShow`): the
// language packs named after the window's classes are applied, base class first. On request
// (`ConvertTexts`, once): the window's texts are converted to the interface code page. Services
// for subclasses: the code pages, a converted message box (`ShowDialog`), local texts by class and
// key (`LocalText`), and the conversion of client data sets (`PrepareDataSets`, which the option
// window calls at its creation).
//
// The window owns two components, made with it: "QrConverter" (TCodeConverter, client
// configuration; localisation/CodeConverter.h) and "LangController" (TQrLangController,
// inactive; localisation/LanguageController.h). A converter that cannot load its conversion
// library makes the construction fail with the converter's error. A new window is 400 × 191 with
// the caption "QRForm", the colour of button faces, the font "宋体" of height 13, key preview on,
// centred on the screen, not scaled, hints shown, OnCreate bound to FormCreate and OnShow to
// FormShow. The class has no form description of its own, so the description of a derived window
// class begins with "object" and may change the two components with "inherited" blocks.
#pragma once

#include <string>
#include <string_view>

#include "localisation/CodeConverter.h"
#include "localisation/LanguageController.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Form.h"
#include "toolkit/Picture.h"

namespace toolkit {
class ClientDataSet;
}

class TQRForm : public toolkit::Form {
  Q_OBJECT
 public:
  explicit TQRForm(toolkit::Component* Owner);
  ~TQRForm() override;

  // The window's texts have been converted to the interface code page (false at creation).
  bool TextsConverted = false;
  // Apply the language packs when the window is shown (true at creation).
  bool LangPacksOnShow = true;

  TCodeConverter* QrConverter() const { return converter_; }
  TQrLangController* LangController() const { return lang_controller_; }

  // Creation (published handler): the steps of the header comment, for every component the
  // window owns, in creation order.
  virtual void FormCreate(toolkit::Component* Sender);
  // Showing (published handler): ApplyLangPackages(this, true) when LangPacksOnShow.
  virtual void FormShow(toolkit::Component* Sender);

  // Applies the packs of the class names of Target, from the top-most class below the toolkit's
  // window class down to Target's own (only Target's own without WholeChain): for each name the
  // language controller takes it as pack name and, when that pack file exists, opens it and
  // reads Target with it. A missing pack is skipped; a pack that cannot be read raises
  // LanguageControllerError.
  virtual void ApplyLangPackages(toolkit::Component* Target, bool WholeChain);
  // The same, the class chain stopping also before TQRForm.
  virtual void ApplyDerivedLangPackages(toolkit::Component* Target, bool WholeChain);

  // Converts the whole window with the converter's ConvertForm unless done already; then
  // TextsConverted is true.
  void ConvertTexts();
  // The converter's message box for this window (TCodeConverter::ShowCodePageMessage).
  int ShowDialog(std::string Text, toolkit::TMsgDlgType Kind, toolkit::TMsgDlgButtons Buttons);
  // The converter's system and interface code pages ("936", "950", "437").
  std::string SystemCodePage() const;
  std::string UiCodePage() const;
  // The message text Key of the language pack of ClassName, otherwise Default; converted to the
  // interface code page when Convert is true (packs are read as GB text, as defaults are written).
  std::string LocalText(std::string_view ClassName, std::string_view Key, bool Convert,
                        std::string_view Default) const;

  // The conversion of the window's client data sets (the option window calls it at creation):
  // for each data set the window owns, with its controls disabled meanwhile, every field's
  // display label goes through ToUICode, and every text or memo field without text handlers gets
  // ConvertedFieldGetText (shows ToUICode of the value) and ConvertedFieldSetText (stores
  // FromUICode of the entered text).
  virtual void PrepareDataSets();
  // The text handlers PrepareDataSets installs (published).
  void ConvertedFieldGetText(toolkit::Component* Sender, std::string& Text, bool DisplayText);
  void ConvertedFieldSetText(toolkit::Component* Sender, const std::string& Text);

 protected:
  // The class names ApplyLangPackages walks: from Target's class upwards, stopping before the
  // toolkit's window class and, when `stopBeforeBase`, before TQRForm; top-most first.
  std::vector<std::string> LangPackageChain(toolkit::Component* Target, bool WholeChain,
                                            bool stopBeforeBase) const;
  void ApplyChain(toolkit::Component* Target, const std::vector<std::string>& names);
  // The disabled image for one button (or the embedded button of an edit) whose picture holds a
  // single image.
  static void AddDisabledGlyph(toolkit::Component* button);

 private:
  TCodeConverter* converter_ = nullptr;
  TQrLangController* lang_controller_ = nullptr;
};

// The picture of a button with its disabled image on the right: twice as wide, the picture's own
// image on the left. The disabled image marks every pixel that is not the transparent colour and
// is dark (red + green + blue < 384) or borders on the transparent colour (left, right, above or
// below; at the edge the pixel stands in for its missing neighbour), and draws the marks embossed
// on the button face: in the button-highlight colour one pixel right and down, then in the
// button-shadow colour in place. The new picture keeps the transparent colour and holds two
// images. An empty picture stays empty.
toolkit::Picture MakeDisabledGlyph(const toolkit::Picture& glyph);
