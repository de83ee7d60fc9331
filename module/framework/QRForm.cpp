#include "framework/QRForm.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "automation/Dispatch.h"
#include "os/Paths.h"
#include "support/GbkText.h"
#include "toolkit/Bitmap.h"
#include "toolkit/DataSet.h"
#include "toolkit/Graphics.h"
#include "toolkit/Properties.h"

namespace {

using automation::Variant;
using toolkit::Component;

[[maybe_unused]] const auto published =
    toolkit::Publish<TQRForm>()
        .Handler("FormCreate", &TQRForm::FormCreate)
        .Handler("FormShow", &TQRForm::FormShow)
        .Handler("ConvertedFieldGetText", &TQRForm::ConvertedFieldGetText)
        .Handler("ConvertedFieldSetText", &TQRForm::ConvertedFieldSetText);

bool FileExists(const std::string& file) {
  std::error_code error;
  return !file.empty() && std::filesystem::is_regular_file(os::NativePath(file), error);
}

// Components with a picture of their own that gets a disabled image: speed buttons (with the
// module's picture-library buttons and lookup buttons derived from them) and buttons with a
// picture.
bool IsPictureButton(Component* component) {
  return component->InheritsFrom("TSpeedButton") || component->InheritsFrom("TBitBtn");
}

// The buttons of a selection panel's list pane: the picture buttons the panel owns that sit
// beside its value list (the range pane's lookup buttons are not among them).
std::vector<Component*> ListPaneButtons(Component* panel) {
  std::vector<Component*> buttons;
  toolkit::WinControl* pane = nullptr;
  for (Component* owned : panel->ComponentList())
    if (owned->InheritsFrom("TListView"))
      if (auto* list = dynamic_cast<toolkit::Control*>(owned)) pane = list->Parent();
  if (!pane) return buttons;
  for (Component* owned : panel->ComponentList()) {
    auto* control = dynamic_cast<toolkit::Control*>(owned);
    if (control && control->Parent() == pane && IsPictureButton(owned)) buttons.push_back(owned);
  }
  return buttons;
}

}  // namespace

TQRForm::TQRForm(Component* Owner) : toolkit::Form(Owner) {
  SetCaption("QRForm");
  SetBounds(Left(), Top(), 400, 191);
  SetColor(toolkit::clBtnFace);
  Font()->SetName(Gbk("宋体"));
  Font()->SetHeight(-13);
  SetKeyPreview(true);
  SetPosition(poScreenCenter);
  toolkit::SetOrdPropOf(this, "Scaled", 0);
  SetShowHint(true);
  converter_ = new TCodeConverter(this);
  converter_->SetName("QrConverter");
  lang_controller_ = new TQrLangController(this);
  lang_controller_->SetName("LangController");
  toolkit::SetMethodPropOf(this, "OnCreate", toolkit::FindMethod(this, "FormCreate"));
  toolkit::SetMethodPropOf(this, "OnShow", toolkit::FindMethod(this, "FormShow"));
}

TQRForm::~TQRForm() = default;

void TQRForm::FormCreate(Component* /*Sender*/) {
  TextsConverted = false;
  LangPacksOnShow = true;
  const bool english = UiCodePage() == "437";
  const std::vector<Component*> components = ComponentList();
  for (Component* c : components) {
    if (toolkit::PropertyKind(c, "ImeName") == toolkit::PropKind::Text)
      toolkit::SetStrPropOf(c, "ImeName", "");
    if (english) {
      if (auto* font = dynamic_cast<toolkit::Font*>(toolkit::GetObjectProperty(c, "Font"))) {
        font->SetCharset(toolkit::GB2312_CHARSET);
        font->SetName("Tahoma");
      }
    }
    if (IsPictureButton(c)) {
      AddDisabledGlyph(c);
    } else if (c->InheritsFrom("TQrBtnDBEdit") || c->InheritsFrom("TQrBtnDBCombo")) {
      AddDisabledGlyph(c->FindComponent("F2Button"));
    } else if (c->InheritsFrom("TSelectPanel")) {
      for (Component* button : ListPaneButtons(c)) AddDisabledGlyph(button);
    }
  }
}

void TQRForm::AddDisabledGlyph(Component* button) {
  if (!button) return;
  auto* glyph = dynamic_cast<toolkit::Bitmap*>(toolkit::GetObjectProperty(button, "Glyph"));
  if (!glyph || glyph->Empty()) return;
  if (toolkit::PropertyKind(button, "NumGlyphs") != toolkit::PropKind::Integer ||
      toolkit::GetOrdPropOf(button, "NumGlyphs") != 1)
    return;
  glyph->Assign(MakeDisabledGlyph(glyph->GetPicture()));
  toolkit::SetOrdPropOf(button, "NumGlyphs", 2);
}

void TQRForm::FormShow(Component* /*Sender*/) {
  if (LangPacksOnShow) ApplyLangPackages(this, true);
}

std::vector<std::string> TQRForm::LangPackageChain(Component* Target, bool WholeChain,
                                                   bool stopBeforeBase) const {
  std::vector<std::string> names;
  if (!Target) return names;
  if (!WholeChain) {
    names.push_back(Target->ClassName());
    return names;
  }
  for (const std::string& name : Target->ClassChain()) {
    if (automation::SameName(name, "TForm")) break;
    if (stopBeforeBase && automation::SameName(name, "TQRForm")) break;
    names.push_back(name);
  }
  std::reverse(names.begin(), names.end());
  return names;
}

void TQRForm::ApplyChain(Component* Target, const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    lang_controller_->SetLangPackageName(name);
    if (!FileExists(lang_controller_->LangFileName())) continue;
    lang_controller_->SetActive(true);
    lang_controller_->GetReader()->ReadComponent(Target);
  }
}

void TQRForm::ApplyLangPackages(Component* Target, bool WholeChain) {
  ApplyChain(Target, LangPackageChain(Target, WholeChain, false));
}

void TQRForm::ApplyDerivedLangPackages(Component* Target, bool WholeChain) {
  ApplyChain(Target, LangPackageChain(Target, WholeChain, true));
}

void TQRForm::ConvertTexts() {
  if (!TextsConverted) converter_->ConvertForm(this);
  TextsConverted = true;
}

int TQRForm::ShowDialog(std::string Text, toolkit::TMsgDlgType Kind,
                        toolkit::TMsgDlgButtons Buttons) {
  return converter_->ShowCodePageMessage(std::move(Text), Kind, Buttons);
}

std::string TQRForm::SystemCodePage() const {
  return converter_->SystemCodePage();
}

std::string TQRForm::UiCodePage() const {
  return converter_->UICodePage();
}

std::string TQRForm::LocalText(std::string_view ClassName, std::string_view Key, bool Convert,
                               std::string_view Default) const {
  // Packs are read as the module's own GB text, like every text of a window, so the pack's text
  // takes the same way to the screen as the default does.
  std::string text(Default);
  if (Convert) text = automation::VarToStr(converter_->ToUICode(Variant(text)));
  const std::optional<std::string> packed =
      FindLangMessage(lang_controller_->DesignType(), ClassName, Key);
  if (!packed) return text;
  return Convert ? automation::VarToStr(converter_->ToUICode(Variant(*packed))) : *packed;
}

void TQRForm::PrepareDataSets() {
  const toolkit::Method getText = toolkit::FindMethod(this, "ConvertedFieldGetText");
  const toolkit::Method setText = toolkit::FindMethod(this, "ConvertedFieldSetText");
  const std::vector<Component*> components = ComponentList();
  for (Component* c : components) {
    auto* data = dynamic_cast<toolkit::ClientDataSet*>(c);
    if (!data) continue;
    data->DisableControls();
    try {
      for (toolkit::Field* field : data->FieldList()) {
        field->SetDisplayLabel(
            automation::VarToStr(converter_->ToUICode(Variant(field->DisplayLabel()))));
        if (!field->IsTextField()) continue;
        if (!field->HasGetTextHandler()) toolkit::SetMethodPropOf(field, "OnGetText", getText);
        if (!field->HasSetTextHandler()) toolkit::SetMethodPropOf(field, "OnSetText", setText);
      }
    } catch (...) {
      data->EnableControls();
      throw;
    }
    data->EnableControls();
  }
}

void TQRForm::ConvertedFieldGetText(Component* Sender, std::string& Text, bool /*DisplayText*/) {
  auto* field = dynamic_cast<toolkit::Field*>(Sender);
  if (!field) return;
  Text = automation::VarToStr(converter_->ToUICode(Variant(field->AsString())));
}

void TQRForm::ConvertedFieldSetText(Component* Sender, const std::string& Text) {
  auto* field = dynamic_cast<toolkit::Field*>(Sender);
  if (!field) return;
  field->SetAsString(automation::VarToStr(converter_->FromUICode(Variant(Text))));
}

toolkit::Picture MakeDisabledGlyph(const toolkit::Picture& glyph) {
  using toolkit::Picture;
  if (glyph.IsEmpty()) return glyph;
  const int width = glyph.Width();
  const int height = glyph.Height();
  const int transparent = glyph.TransparentColor();
  auto isTransparent = [&](int x, int y) { return glyph.Pixel(x, y) == transparent; };

  // Marks: dark pixels, and light ones on the outline of the image.
  std::vector<bool> marked(static_cast<size_t>(width) * static_cast<size_t>(height), false);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int color = glyph.Pixel(x, y);
      if (color == transparent) continue;
      bool mark = Picture::Red(color) + Picture::Green(color) + Picture::Blue(color) < 384;
      if (!mark) {
        // At the edge the pixel itself stands in for the missing neighbour.
        mark = isTransparent(x > 0 ? x - 1 : x, y) || isTransparent(x < width - 1 ? x + 1 : x, y) ||
               isTransparent(x, y > 0 ? y - 1 : y) || isTransparent(x, y < height - 1 ? y + 1 : y);
      }
      marked[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] = mark;
    }
  }

  // The emboss on the button face: the mask painted in the highlight colour one pixel right and
  // down, then in the shadow colour in place.
  Picture disabled(width, height, toolkit::ColorToRGB(toolkit::clBtnFace));
  const int highlight = toolkit::ColorToRGB(toolkit::clBtnHighlight);
  const int shadow = toolkit::ColorToRGB(toolkit::clBtnShadow);
  for (const auto& [dx, color] : {std::pair{1, highlight}, std::pair{0, shadow}}) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (marked[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)])
          disabled.SetPixel(x + dx, y + dx, color);
  }

  Picture result = glyph;
  result.SetNumGlyphs(1);
  result.AppendImage(disabled);
  result.SetNumGlyphs(2);
  return result;
}
