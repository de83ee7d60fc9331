// Colours, cursors and fonts in the terms the module uses.
//
// `TColor` is the toolkit's colour value: 0x00BBGGRR (red in the lowest byte), or a system colour
// (high bit set, low byte the system colour index) that follows the palette of the running
// style. Colour and cursor properties have name tables (`clBtnFace`, `crHourGlass`), so texts
// such as "clYellow" can be written to them by name.
//
// `Font` is the object behind every control's "Font" property: Name (8-bit text), Charset,
// Size (points), Height (pixels; negative = character height without leading), Style (set of
// fsBold, fsItalic, fsUnderline, fsStrikeOut) and Color. Its character set picks the code page
// through which the control shows and reads its 8-bit texts: 134 → 936, 136 → 950, any other →
// the system code page.
#pragma once

#include <QFont>
#include <QObject>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "toolkit/Component.h"

class QColor;

namespace toolkit {

enum TColor : std::int32_t {};
enum TCursor : std::int32_t {};

inline constexpr std::int32_t clSystemColor = static_cast<std::int32_t>(0x80000000u);
constexpr TColor SystemColor(int index) {
  return TColor(clSystemColor | index);
}

inline constexpr TColor clScrollBar = SystemColor(0);
inline constexpr TColor clBackground = SystemColor(1);
inline constexpr TColor clActiveCaption = SystemColor(2);
inline constexpr TColor clInactiveCaption = SystemColor(3);
inline constexpr TColor clMenu = SystemColor(4);
inline constexpr TColor clWindow = SystemColor(5);
inline constexpr TColor clWindowFrame = SystemColor(6);
inline constexpr TColor clMenuText = SystemColor(7);
inline constexpr TColor clWindowText = SystemColor(8);
inline constexpr TColor clCaptionText = SystemColor(9);
inline constexpr TColor clActiveBorder = SystemColor(10);
inline constexpr TColor clInactiveBorder = SystemColor(11);
inline constexpr TColor clAppWorkSpace = SystemColor(12);
inline constexpr TColor clHighlight = SystemColor(13);
inline constexpr TColor clHighlightText = SystemColor(14);
inline constexpr TColor clBtnFace = SystemColor(15);
inline constexpr TColor clBtnShadow = SystemColor(16);
inline constexpr TColor clGrayText = SystemColor(17);
inline constexpr TColor clBtnText = SystemColor(18);
inline constexpr TColor clInactiveCaptionText = SystemColor(19);
inline constexpr TColor clBtnHighlight = SystemColor(20);
inline constexpr TColor cl3DDkShadow = SystemColor(21);
inline constexpr TColor cl3DLight = SystemColor(22);
inline constexpr TColor clInfoText = SystemColor(23);
inline constexpr TColor clInfoBk = SystemColor(24);
inline constexpr TColor clHotLight = SystemColor(26);
inline constexpr TColor clGradientActiveCaption = SystemColor(27);
inline constexpr TColor clGradientInactiveCaption = SystemColor(28);
inline constexpr TColor clMenuHighlight = SystemColor(29);
inline constexpr TColor clMenuBar = SystemColor(30);

inline constexpr TColor clBlack = TColor(0x000000);
inline constexpr TColor clMaroon = TColor(0x000080);
inline constexpr TColor clGreen = TColor(0x008000);
inline constexpr TColor clOlive = TColor(0x008080);
inline constexpr TColor clNavy = TColor(0x800000);
inline constexpr TColor clPurple = TColor(0x800080);
inline constexpr TColor clTeal = TColor(0x808000);
inline constexpr TColor clGray = TColor(0x808080);
inline constexpr TColor clSilver = TColor(0xC0C0C0);
inline constexpr TColor clRed = TColor(0x0000FF);
inline constexpr TColor clLime = TColor(0x00FF00);
inline constexpr TColor clYellow = TColor(0x00FFFF);
inline constexpr TColor clBlue = TColor(0xFF0000);
inline constexpr TColor clFuchsia = TColor(0xFF00FF);
inline constexpr TColor clAqua = TColor(0xFFFF00);
inline constexpr TColor clWhite = TColor(0xFFFFFF);
inline constexpr TColor clMoneyGreen = TColor(0xC0DCC0);
inline constexpr TColor clSkyBlue = TColor(0xF0CAA6);
inline constexpr TColor clCream = TColor(0xF0FBFF);
inline constexpr TColor clMedGray = TColor(0xA4A0A0);
inline constexpr TColor clNone = TColor(0x1FFFFFFF);
inline constexpr TColor clDefault = TColor(0x20000000);

inline constexpr TCursor crDefault = TCursor(0);
inline constexpr TCursor crNone = TCursor(-1);
inline constexpr TCursor crArrow = TCursor(-2);
inline constexpr TCursor crCross = TCursor(-3);
inline constexpr TCursor crIBeam = TCursor(-4);
inline constexpr TCursor crSizeNESW = TCursor(-6);
inline constexpr TCursor crSizeNS = TCursor(-7);
inline constexpr TCursor crSizeNWSE = TCursor(-8);
inline constexpr TCursor crSizeWE = TCursor(-9);
inline constexpr TCursor crUpArrow = TCursor(-10);
inline constexpr TCursor crHourGlass = TCursor(-11);
inline constexpr TCursor crDrag = TCursor(-12);
inline constexpr TCursor crNoDrop = TCursor(-13);
inline constexpr TCursor crHSplit = TCursor(-14);
inline constexpr TCursor crVSplit = TCursor(-15);
inline constexpr TCursor crMultiDrag = TCursor(-16);
inline constexpr TCursor crSQLWait = TCursor(-17);
inline constexpr TCursor crNo = TCursor(-18);
inline constexpr TCursor crAppStart = TCursor(-19);
inline constexpr TCursor crHelp = TCursor(-20);
inline constexpr TCursor crHandPoint = TCursor(-21);
inline constexpr TCursor crSizeAll = TCursor(-22);

// The colour as 0x00BBGGRR; system colours are resolved through the current palette.
std::int32_t ColorToRGB(TColor color);
// "clRed" → clRed; nullopt for an unknown name (compared without regard to case).
std::optional<TColor> ColorFromName(std::string_view name);
// clRed → "clRed"; a colour without a name as "$00BBGGRR".
std::string ColorToString(TColor color);
std::optional<TCursor> CursorFromName(std::string_view name);
std::string CursorToString(TCursor cursor);

// The Qt colour of a TColor (system colours from the application palette).
QColor ToQColor(TColor color);

// Character sets of the fonts the module sets.
inline constexpr int DEFAULT_CHARSET = 1;
inline constexpr int ANSI_CHARSET = 0;
inline constexpr int GB2312_CHARSET = 134;
inline constexpr int CHINESEBIG5_CHARSET = 136;
// The code page through which texts of a font with this character set are shown and read.
int CharsetCodePage(int charset);

class Font : public QObject, public Persistent {
  Q_OBJECT
 public:
  enum TFontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
  Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
  Q_FLAG(TFontStyles)

 private:
  Q_PROPERTY(std::string Name READ Name WRITE SetName)
  Q_PROPERTY(int Charset READ Charset WRITE SetCharset)
  Q_PROPERTY(int Size READ Size WRITE SetSize)
  Q_PROPERTY(int Height READ Height WRITE SetHeight)
  Q_PROPERTY(TFontStyles Style READ Style WRITE SetStyle)
  Q_PROPERTY(toolkit::TColor Color READ Color WRITE SetColor)

 public:
  // The default font of a new control: "宋体" (SimSun), character set 134, height -12 (9 points).
  explicit Font(QObject* parent = nullptr);
  QObject* Object() override { return this; }

  const std::string& Name() const { return name_; }
  void SetName(std::string name);
  int Charset() const { return charset_; }
  void SetCharset(int charset);
  // Points at 96 pixels per inch; Size and Height change together.
  int Size() const;
  void SetSize(int points);
  int Height() const { return height_; }
  void SetHeight(int pixels);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);
  TColor Color() const { return color_; }
  void SetColor(TColor color);

  // Copies every value of the other font (one change notification).
  void Assign(const Font& other);
  bool operator==(const Font& other) const;

  // The code page of the character set (CharsetCodePage).
  int CodePage() const { return CharsetCodePage(charset_); }
  // The Qt font these values describe.
  QFont ToQFont() const;

 signals:
  void Changed();

 private:
  void Change();
  std::string name_;
  int charset_ = GB2312_CHARSET;
  int height_ = -12;
  TFontStyles style_;
  TColor color_;
  int updating_ = 0;
};

}  // namespace toolkit

Q_DECLARE_OPERATORS_FOR_FLAGS(toolkit::Font::TFontStyles)
