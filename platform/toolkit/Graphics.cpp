#include "toolkit/Graphics.h"

#include <QApplication>
#include <QColor>
#include <QGuiApplication>
#include <QPalette>
#include <cmath>
#include <cstdio>

#include "automation/Dispatch.h"
#include "os/CodePage.h"

namespace toolkit {
namespace {

struct NamedValue {
  const char* name;
  std::int32_t value;
};

const NamedValue kColorNames[] = {
    {"clBlack", clBlack},
    {"clMaroon", clMaroon},
    {"clGreen", clGreen},
    {"clOlive", clOlive},
    {"clNavy", clNavy},
    {"clPurple", clPurple},
    {"clTeal", clTeal},
    {"clGray", clGray},
    {"clSilver", clSilver},
    {"clRed", clRed},
    {"clLime", clLime},
    {"clYellow", clYellow},
    {"clBlue", clBlue},
    {"clFuchsia", clFuchsia},
    {"clAqua", clAqua},
    {"clWhite", clWhite},
    {"clMoneyGreen", clMoneyGreen},
    {"clSkyBlue", clSkyBlue},
    {"clCream", clCream},
    {"clMedGray", clMedGray},
    {"clNone", clNone},
    {"clDefault", clDefault},
    {"clScrollBar", clScrollBar},
    {"clBackground", clBackground},
    {"clActiveCaption", clActiveCaption},
    {"clInactiveCaption", clInactiveCaption},
    {"clMenu", clMenu},
    {"clWindow", clWindow},
    {"clWindowFrame", clWindowFrame},
    {"clMenuText", clMenuText},
    {"clWindowText", clWindowText},
    {"clCaptionText", clCaptionText},
    {"clActiveBorder", clActiveBorder},
    {"clInactiveBorder", clInactiveBorder},
    {"clAppWorkSpace", clAppWorkSpace},
    {"clHighlight", clHighlight},
    {"clHighlightText", clHighlightText},
    {"clBtnFace", clBtnFace},
    {"clBtnShadow", clBtnShadow},
    {"clGrayText", clGrayText},
    {"clBtnText", clBtnText},
    {"clInactiveCaptionText", clInactiveCaptionText},
    {"clBtnHighlight", clBtnHighlight},
    {"cl3DDkShadow", cl3DDkShadow},
    {"cl3DLight", cl3DLight},
    {"clInfoText", clInfoText},
    {"clInfoBk", clInfoBk},
    {"clHotLight", clHotLight},
    {"clGradientActiveCaption", clGradientActiveCaption},
    {"clGradientInactiveCaption", clGradientInactiveCaption},
    {"clMenuHighlight", clMenuHighlight},
    {"clMenuBar", clMenuBar},
};

const NamedValue kCursorNames[] = {
    {"crDefault", crDefault},     {"crNone", crNone},           {"crArrow", crArrow},
    {"crCross", crCross},         {"crIBeam", crIBeam},         {"crSizeNESW", crSizeNESW},
    {"crSizeNS", crSizeNS},       {"crSizeNWSE", crSizeNWSE},   {"crSizeWE", crSizeWE},
    {"crUpArrow", crUpArrow},     {"crHourGlass", crHourGlass}, {"crDrag", crDrag},
    {"crNoDrop", crNoDrop},       {"crHSplit", crHSplit},       {"crVSplit", crVSplit},
    {"crMultiDrag", crMultiDrag}, {"crSQLWait", crSQLWait},     {"crNo", crNo},
    {"crAppStart", crAppStart},   {"crHelp", crHelp},           {"crHandPoint", crHandPoint},
    {"crSizeAll", crSizeAll},
};

template <size_t N>
std::optional<std::int32_t> Lookup(const NamedValue (&table)[N], std::string_view name) {
  for (const NamedValue& entry : table) {
    if (automation::SameName(entry.name, name)) return entry.value;
  }
  return std::nullopt;
}

template <size_t N>
const char* NameOf(const NamedValue (&table)[N], std::int32_t value) {
  for (const NamedValue& entry : table) {
    if (entry.value == value) return entry.name;
  }
  return nullptr;
}

// The palette colour that stands for a system colour index.
QColor SystemQColor(int index) {
  const QPalette palette = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                               ? QGuiApplication::palette()
                               : QPalette();
  switch (index) {
    case 0:   // scroll bar
    case 15:  // button face
      return palette.color(QPalette::Button);
    case 1:   // desktop
    case 12:  // application work space
      return palette.color(QPalette::Mid);
    case 2:   // active caption
    case 13:  // highlight
    case 27:
    case 29:
      return palette.color(QPalette::Highlight);
    case 3:  // inactive caption
    case 28:
      return palette.color(QPalette::Inactive, QPalette::Highlight);
    case 4:   // menu
    case 10:  // borders
    case 11:
    case 30:
      return palette.color(QPalette::Window);
    case 5:  // window
      return palette.color(QPalette::Base);
    case 6:   // window frame
    case 21:  // dark shadow
      return palette.color(QPalette::Shadow);
    case 7:  // menu text
    case 8:  // window text
      return palette.color(QPalette::Text);
    case 9:   // caption text
    case 14:  // highlighted text
      return palette.color(QPalette::HighlightedText);
    case 16:  // button shadow
      return palette.color(QPalette::Dark);
    case 17:  // grey text
    case 19:
      return palette.color(QPalette::Disabled, QPalette::Text);
    case 18:  // button text
      return palette.color(QPalette::ButtonText);
    case 20:  // button highlight
      return palette.color(QPalette::Light);
    case 22:  // 3-D light
      return palette.color(QPalette::Midlight);
    case 23:  // tool tip text
      return palette.color(QPalette::ToolTipText);
    case 24:  // tool tip background
      return palette.color(QPalette::ToolTipBase);
    case 26:  // hot light
      return palette.color(QPalette::Link);
    default:
      return palette.color(QPalette::Window);
  }
}

}  // namespace

QColor ToQColor(TColor color) {
  const std::int32_t value = color;
  if (value == clNone || value == clDefault) return QColor();
  if (value & clSystemColor) return SystemQColor(value & 0xFF);
  return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

std::int32_t ColorToRGB(TColor color) {
  const std::int32_t value = color;
  if (!(value & clSystemColor)) return value & 0xFFFFFF;
  const QColor c = SystemQColor(value & 0xFF);
  return c.red() | (c.green() << 8) | (c.blue() << 16);
}

std::optional<TColor> ColorFromName(std::string_view name) {
  if (auto value = Lookup(kColorNames, name)) return TColor(*value);
  return std::nullopt;
}

std::string ColorToString(TColor color) {
  if (const char* name = NameOf(kColorNames, color)) return name;
  char text[16];
  std::snprintf(text, sizeof text, "$%.8X",
                static_cast<unsigned>(static_cast<std::int32_t>(color)));
  return text;
}

std::optional<TCursor> CursorFromName(std::string_view name) {
  if (auto value = Lookup(kCursorNames, name)) return TCursor(*value);
  return std::nullopt;
}

std::string CursorToString(TCursor cursor) {
  if (const char* name = NameOf(kCursorNames, cursor)) return name;
  return std::to_string(static_cast<std::int32_t>(cursor));
}

int CharsetCodePage(int charset) {
  switch (charset) {
    case GB2312_CHARSET:
      return os::CP_GBK;
    case CHINESEBIG5_CHARSET:
      return os::CP_BIG5;
    default:
      return os::SystemCodePage();
  }
}

Font::Font(QObject* parent) : QObject(parent), name_("\xCB\xCE\xCC\xE5"), color_(clWindowText) {}

void Font::SetName(std::string name) {
  if (name == name_) return;
  name_ = std::move(name);
  Change();
}

void Font::SetCharset(int charset) {
  if (charset == charset_) return;
  charset_ = charset;
  Change();
}

int Font::Size() const {
  // Height is negative for the character height (points × 96 / 72); positive heights include the
  // leading and count the same here.
  return static_cast<int>(std::lround(std::abs(height_) * 72.0 / 96.0));
}

void Font::SetSize(int points) {
  SetHeight(-static_cast<int>(std::lround(points * 96.0 / 72.0)));
}

void Font::SetHeight(int pixels) {
  if (pixels == height_) return;
  height_ = pixels;
  Change();
}

void Font::SetStyle(TFontStyles style) {
  if (style == style_) return;
  style_ = style;
  Change();
}

void Font::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Change();
}

void Font::Assign(const Font& other) {
  if (&other == this || other == *this) return;
  name_ = other.name_;
  charset_ = other.charset_;
  height_ = other.height_;
  style_ = other.style_;
  color_ = other.color_;
  Change();
}

bool Font::operator==(const Font& other) const {
  return name_ == other.name_ && charset_ == other.charset_ && height_ == other.height_ &&
         style_ == other.style_ && color_ == other.color_;
}

QFont Font::ToQFont() const {
  QFont font;
  const std::u16string family = os::AnsiToWide(name_, CodePage());
  // Windows font names ("宋体", "Tahoma") are looked up first; a CJK font stands behind them so
  // that Chinese texts always have glyphs.
  font.setFamilies({QString::fromStdU16String(family), QStringLiteral("WenQuanYi Micro Hei"),
                    QStringLiteral("Noto Sans CJK SC"), QStringLiteral("DejaVu Sans")});
  font.setPixelSize(std::max(1, std::abs(height_ < 0 ? height_ : height_ * 85 / 100)));
  font.setBold(style_.testFlag(fsBold));
  font.setItalic(style_.testFlag(fsItalic));
  font.setUnderline(style_.testFlag(fsUnderline));
  font.setStrikeOut(style_.testFlag(fsStrikeOut));
  return font;
}

void Font::Change() {
  emit Changed();
}

namespace {
[[maybe_unused]] const bool font_name = [] {
  RegisterClassName("TFont", &Font::staticMetaObject);
  return true;
}();
}  // namespace

}  // namespace toolkit
