// Edit masks: the masked-edit notation the module's windows use, computed without any widget.
//
// A mask text has up to three fields separated by ";": the mask itself, whether literal
// characters belong to the text ("0" = no, anything else = yes, the default), and the blank
// character shown in empty positions (its first character; "_" by default). Examples:
// "9999/99/99;1; " (a date, literals kept, blank " "), "!aaaa-aaaaaaaaaaa;0; " (a document
// reference without its dash), "99:99;1;_".
//
// Mask characters:
//   !   the text trims leading blanks instead of trailing ones, and a short text is laid in
//       from the right (optional characters stand first)
//   >   letters are converted to upper case from here on; <  to lower case; <>  no conversion
//   0   digit, required            9   digit, optional           #   digit, "+" or "-", optional
//   L   letter, required           l   letter, optional
//   A   letter or digit, required  a   letter or digit, optional
//   C   any character, required    c   any character, optional
//   \   the next character is a literal
//   _   a literal blank
//   every other character (including "/" and ":") is a literal standing for itself.
// A letter is an ASCII letter or any character above U+007F (so ideographs and, in the 8-bit
// functions, the bytes of double-byte characters count as letters); case conversion touches
// ASCII letters only.
//
// Three forms of a masked control's contents are distinguished:
//   edit text  what the control shows: one character per position, literals in place, empty
//              positions holding the blank character ("2009/05/  ");
//   raw text   the characters of the editable positions without literals, trimmed of blanks
//              at the end (at the start under "!"), blanks inside read as spaces ("200905");
//   text       what the control's Text reads: the raw text, laid back into the mask with
//              spaces for blanks when literals belong to the text ("2009/05/  ").
//
// The class works on UTF-16 text (what a widget shows); the free functions at the end take the
// module's 8-bit texts, one byte to a position, as lengths and positions count bytes there.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace toolkit {

// What one position of a mask accepts.
enum class MaskCharKind {
  Literal,           // fixed character, not editable
  DigitRequired,     // 0
  Digit,             // 9
  DigitOrSign,       // #
  LetterRequired,    // L
  Letter,            // l
  AlphaNumRequired,  // A
  AlphaNum,          // a
  AnyRequired,       // C
  Any,               // c
};

// Case conversion in force at a position.
enum class MaskCase { None, Upper, Lower };

// One position of the edit text.
struct MaskPosition {
  MaskCharKind kind = MaskCharKind::Literal;
  char16_t literal = 0;  // the character shown, for literal positions
  MaskCase letterCase = MaskCase::None;

  bool IsEditable() const { return kind != MaskCharKind::Literal; }
  bool IsRequired() const;
};

// A parsed mask text. Cheap to copy; an empty mask (or a mask whose first field is empty)
// masks nothing and passes every text through unchanged.
class EditMask {
 public:
  EditMask() = default;
  explicit EditMask(std::u16string_view maskText);

  // The mask text as given, and its three fields.
  const std::u16string& MaskText() const { return maskText_; }
  bool IsMasked() const { return !positions_.empty(); }
  bool SaveLiterals() const { return saveLiterals_; }
  char16_t Blank() const { return blank_; }
  bool ReverseDirection() const { return reverse_; }

  // Positions of the edit text, in order; the edit text is always Length() characters long.
  const std::vector<MaskPosition>& Positions() const { return positions_; }
  int Length() const { return static_cast<int>(positions_.size()); }
  bool IsEditable(int pos) const;
  std::vector<int> EditablePositions() const;
  // The first editable position at or after `pos` (Length() when there is none), and the last
  // one before `pos` (-1 when there is none).
  int NextEditable(int pos) const;
  int PreviousEditable(int pos) const;

  // What an empty control shows ("    /  /  ", "__:__") and what its Text reads
  // ("    /  /  " with literals kept, "" without).
  std::u16string BlankEditText() const;
  std::u16string BlankText() const;

  // Lays a raw text into the mask: literals inserted, `blank` in the positions the text does
  // not reach. Characters fill the editable positions from the left, or under "!" from the
  // right; what does not fit is dropped (the end of the text, under "!" its start).
  std::u16string LayRaw(std::u16string_view raw, char16_t blank) const;

  // The raw text of an edit text, the edit text with literals and spaces for blanks, and the
  // text the control's Text reads (one of the two by SaveLiterals()).
  std::u16string RawText(std::u16string_view editText) const;
  std::u16string TextWithLiterals(std::u16string_view editText) const;
  std::u16string Text(std::u16string_view editText) const;

  // The edit text a control shows after its Text is set to `text`.
  // Literals kept: `text` is read as the control's Text reads it: each run of characters up to
  // the next literal of the mask fills its field (padded with blanks on the right, or on the left
  // under "!"); a text holding none of the mask's literals is taken as a raw text.
  // Literals not kept: `text` is a raw text; a text already shaped as an edit text (the mask's
  // length with every literal in place) is taken as one.
  std::u16string EditTextFromText(std::u16string_view text) const;

  // Any text brought to the shape of an edit text: cut or padded with blanks to Length(), the
  // literals put in their places. Characters of editable positions are kept as they are.
  std::u16string ConformEditText(std::u16string_view editText) const;

  // Whether `ch` may be typed at editable position `pos`, and the character it becomes there
  // (the case rule applied). Optional positions also take a space, which leaves them empty.
  bool AcceptChar(int pos, char16_t ch, char16_t* converted = nullptr) const;

  // Types `ch` at the cursor `*cursor` of `editText` (an edit text of this mask), overwriting:
  // literal positions are skipped; a character refused there that equals a literal further on
  // moves the cursor past that literal. On success the cursor stands on the next editable
  // position (or the end). Returns whether the key was taken; a refused key changes nothing.
  bool TypeChar(std::u16string& editText, int* cursor, char16_t ch) const;

  // Empties the editable positions in [from, to) (Delete with a selection).
  void ClearRange(std::u16string& editText, int from, int to) const;
  // Backspace: empties the editable position before the cursor and moves the cursor onto it.
  // Returns false at the start.
  bool Backspace(std::u16string& editText, int* cursor) const;
  // Types every character of `text` in turn from the cursor (paste); characters refused are
  // skipped. Returns how many were taken.
  int TypeText(std::u16string& editText, int* cursor, std::u16string_view text) const;

  // The first position of `editText` that breaks the mask (a required position empty, or a
  // character its position does not accept), or -1 when the text is valid.
  int FirstInvalidPosition(std::u16string_view editText) const;
  bool IsValid(std::u16string_view editText) const { return FirstInvalidPosition(editText) < 0; }
  // Whether no editable position holds anything.
  bool IsBlank(std::u16string_view editText) const;

 private:
  std::u16string maskText_;
  std::vector<MaskPosition> positions_;
  bool saveLiterals_ = true;
  char16_t blank_ = u'_';
  bool reverse_ = false;
};

// The module's 8-bit forms (one byte per position).

// The classic formatting function: `text` laid into `mask`, giving the text as the control
// shows it, literals included and spaces in empty positions. When the mask's literals do not
// belong to the text, `text` is a raw text (no literals) and the literals are inserted; when they
// do, `text` is read as the control's Text reads it (see EditTextFromText), and a text without
// any of the literals is laid in as a raw text. An empty mask returns `text` unchanged.
std::string FormatMaskText(std::string_view mask, std::string_view text);

// What an empty control under `mask` shows (blank characters in the editable positions) and
// what its Text reads.
std::string MaskBlankEditText(std::string_view mask);
std::string MaskBlankText(std::string_view mask);

// Text and raw text (without literals) of a control under `mask` showing `editText`.
std::string MaskText(std::string_view mask, std::string_view editText);
std::string MaskRawText(std::string_view mask, std::string_view editText);
// The edit text shown after the Text of a control under `mask` is set to `text`.
std::string MaskEditText(std::string_view mask, std::string_view text);

// 8-bit text to the UTF-16 the engine works on, one byte to one character, and back
// (characters above 0xFF become "?").
std::u16string BytesToMaskText(std::string_view bytes);
std::string MaskTextToBytes(std::u16string_view text);

}  // namespace toolkit
