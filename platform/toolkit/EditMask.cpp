#include "toolkit/EditMask.h"

#include <algorithm>

namespace toolkit {

namespace {

bool IsDigitChar(char16_t c) {
  return c >= u'0' && c <= u'9';
}

bool IsLetterChar(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c >= 0x80;
}

bool TakesAnyChar(MaskCharKind kind) {
  return kind == MaskCharKind::Any || kind == MaskCharKind::AnyRequired;
}

bool TakesLetters(MaskCharKind kind) {
  switch (kind) {
    case MaskCharKind::LetterRequired:
    case MaskCharKind::Letter:
    case MaskCharKind::AlphaNumRequired:
    case MaskCharKind::AlphaNum:
    case MaskCharKind::AnyRequired:
    case MaskCharKind::Any:
      return true;
    default:
      return false;
  }
}

char16_t ApplyCase(char16_t c, MaskCase rule) {
  if (rule == MaskCase::Upper && c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
  if (rule == MaskCase::Lower && c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
  return c;
}

// Whether `c` fits a position of `kind`, case aside.
bool FitsKind(MaskCharKind kind, char16_t c) {
  if (c < 0x20) return false;  // control characters never enter a masked text
  switch (kind) {
    case MaskCharKind::Literal:
      return false;
    case MaskCharKind::DigitRequired:
    case MaskCharKind::Digit:
      return IsDigitChar(c);
    case MaskCharKind::DigitOrSign:
      return IsDigitChar(c) || c == u'+' || c == u'-';
    case MaskCharKind::LetterRequired:
    case MaskCharKind::Letter:
      return IsLetterChar(c);
    case MaskCharKind::AlphaNumRequired:
    case MaskCharKind::AlphaNum:
      return IsLetterChar(c) || IsDigitChar(c);
    case MaskCharKind::AnyRequired:
    case MaskCharKind::Any:
      return true;
  }
  return false;
}

}  // namespace

bool MaskPosition::IsRequired() const {
  switch (kind) {
    case MaskCharKind::DigitRequired:
    case MaskCharKind::LetterRequired:
    case MaskCharKind::AlphaNumRequired:
    case MaskCharKind::AnyRequired:
      return true;
    default:
      return false;
  }
}

EditMask::EditMask(std::u16string_view maskText) : maskText_(maskText) {
  // The fields end at the first two ";" that are not escaped by "\".
  size_t sep1 = std::u16string_view::npos, sep2 = std::u16string_view::npos;
  for (size_t i = 0; i < maskText.size(); ++i) {
    if (maskText[i] == u'\\') {
      ++i;
    } else if (maskText[i] == u';') {
      if (sep1 == std::u16string_view::npos) {
        sep1 = i;
      } else {
        sep2 = i;
        break;
      }
    }
  }
  std::u16string_view mask = maskText.substr(0, sep1);
  if (sep1 != std::u16string_view::npos) {
    std::u16string_view save = maskText.substr(
        sep1 + 1, sep2 == std::u16string_view::npos ? std::u16string_view::npos : sep2 - sep1 - 1);
    saveLiterals_ = save.empty() || save[0] != u'0';
    if (sep2 != std::u16string_view::npos && sep2 + 1 < maskText.size())
      blank_ = maskText[sep2 + 1];
  }

  MaskCase letterCase = MaskCase::None;
  for (size_t i = 0; i < mask.size(); ++i) {
    const char16_t c = mask[i];
    MaskPosition pos;
    pos.letterCase = letterCase;
    switch (c) {
      case u'\\':
        if (i + 1 >= mask.size()) continue;  // a lone "\" at the end escapes nothing
        pos.literal = mask[++i];
        break;
      case u'!':
        reverse_ = true;
        continue;
      case u'>':
        letterCase = MaskCase::Upper;
        continue;
      case u'<':
        if (i + 1 < mask.size() && mask[i + 1] == u'>') {
          letterCase = MaskCase::None;
          ++i;
        } else {
          letterCase = MaskCase::Lower;
        }
        continue;
      case u'0':
        pos.kind = MaskCharKind::DigitRequired;
        break;
      case u'9':
        pos.kind = MaskCharKind::Digit;
        break;
      case u'#':
        pos.kind = MaskCharKind::DigitOrSign;
        break;
      case u'L':
        pos.kind = MaskCharKind::LetterRequired;
        break;
      case u'l':
        pos.kind = MaskCharKind::Letter;
        break;
      case u'A':
        pos.kind = MaskCharKind::AlphaNumRequired;
        break;
      case u'a':
        pos.kind = MaskCharKind::AlphaNum;
        break;
      case u'C':
        pos.kind = MaskCharKind::AnyRequired;
        break;
      case u'c':
        pos.kind = MaskCharKind::Any;
        break;
      case u'_':
        pos.literal = u' ';
        break;
      default:
        pos.literal = c;
        break;
    }
    positions_.push_back(pos);
  }
}

bool EditMask::IsEditable(int pos) const {
  return pos >= 0 && pos < Length() && positions_[pos].IsEditable();
}

std::vector<int> EditMask::EditablePositions() const {
  std::vector<int> result;
  for (int p = 0; p < Length(); ++p)
    if (positions_[p].IsEditable()) result.push_back(p);
  return result;
}

int EditMask::NextEditable(int pos) const {
  for (int p = std::max(pos, 0); p < Length(); ++p)
    if (positions_[p].IsEditable()) return p;
  return Length();
}

int EditMask::PreviousEditable(int pos) const {
  for (int p = std::min(pos, Length()) - 1; p >= 0; --p)
    if (positions_[p].IsEditable()) return p;
  return -1;
}

namespace {

// An editable position counts as empty when it holds the blank character, or a space where the
// position does not take arbitrary characters (a space typed there means "leave it empty").
bool IsEmptyAt(const MaskPosition& pos, char16_t c, char16_t blank) {
  return c == blank || (c == u' ' && !TakesAnyChar(pos.kind));
}

}  // namespace

std::u16string EditMask::BlankEditText() const {
  return LayRaw(u"", blank_);
}

std::u16string EditMask::BlankText() const {
  return Text(BlankEditText());
}

std::u16string EditMask::LayRaw(std::u16string_view raw, char16_t blank) const {
  if (!IsMasked()) return std::u16string(raw);
  std::u16string result;
  result.reserve(positions_.size());
  for (const MaskPosition& pos : positions_)
    result.push_back(pos.IsEditable() ? blank : pos.literal);
  const std::vector<int> editable = EditablePositions();
  const size_t n = editable.size();
  const size_t count = std::min(n, raw.size());
  for (size_t k = 0; k < count; ++k) {
    if (reverse_)
      result[editable[n - 1 - k]] = raw[raw.size() - 1 - k];
    else
      result[editable[k]] = raw[k];
  }
  return result;
}

std::u16string EditMask::RawText(std::u16string_view editText) const {
  if (!IsMasked()) return std::u16string(editText);
  const std::u16string edit = ConformEditText(editText);
  std::u16string raw;
  std::vector<bool> empty;
  for (int p = 0; p < Length(); ++p) {
    if (!positions_[p].IsEditable()) continue;
    raw.push_back(edit[p]);
    empty.push_back(IsEmptyAt(positions_[p], edit[p], blank_));
  }
  // Blanks at the end are trimmed, at the start under "!"; blanks inside read as spaces.
  size_t begin = 0, end = raw.size();
  if (reverse_) {
    while (begin < end && empty[begin]) ++begin;
  } else {
    while (end > begin && empty[end - 1]) --end;
  }
  std::u16string result;
  for (size_t k = begin; k < end; ++k) result.push_back(empty[k] ? u' ' : raw[k]);
  return result;
}

std::u16string EditMask::TextWithLiterals(std::u16string_view editText) const {
  if (!IsMasked()) return std::u16string(editText);
  return LayRaw(RawText(editText), u' ');
}

std::u16string EditMask::Text(std::u16string_view editText) const {
  return saveLiterals_ ? TextWithLiterals(editText) : RawText(editText);
}

std::u16string EditMask::EditTextFromText(std::u16string_view text) const {
  if (!IsMasked()) return std::u16string(text);
  const bool hasLiterals = std::any_of(positions_.begin(), positions_.end(),
                                       [](const MaskPosition& p) { return !p.IsEditable(); });
  if (!saveLiterals_) {
    bool shaped = hasLiterals && static_cast<int>(text.size()) == Length();
    for (int p = 0; shaped && p < Length(); ++p)
      if (!positions_[p].IsEditable() && text[p] != positions_[p].literal) shaped = false;
    return ConformEditText(shaped ? text : LayRaw(text, blank_));
  }

  const bool textHasALiteral =
      std::any_of(positions_.begin(), positions_.end(), [&](const MaskPosition& p) {
        return !p.IsEditable() && text.find(p.literal) != std::u16string_view::npos;
      });
  if (!textHasALiteral) return ConformEditText(LayRaw(text, blank_));

  // Each run of editable positions takes the characters up to the next literal of the mask;
  // literal runs consume the literals the text holds in their place.
  std::u16string result = BlankEditText();
  size_t in = 0;
  int p = 0;
  while (p < Length()) {
    int runEnd = p;
    if (positions_[p].IsEditable()) {
      while (runEnd < Length() && positions_[runEnd].IsEditable()) ++runEnd;
      size_t stop = text.size();
      if (runEnd < Length()) {
        stop = text.find(positions_[runEnd].literal, in);
        if (stop == std::u16string_view::npos) stop = text.size();
      }
      std::u16string_view field = text.substr(std::min(in, text.size()), stop - std::min(in, stop));
      in = stop;
      const size_t n = static_cast<size_t>(runEnd - p);
      const size_t count = std::min(n, field.size());
      for (size_t k = 0; k < count; ++k) {
        if (reverse_)
          result[p + n - 1 - k] = field[field.size() - 1 - k];
        else
          result[p + k] = field[k];
      }
    } else {
      while (runEnd < Length() && !positions_[runEnd].IsEditable()) {
        if (in < text.size() && text[in] == positions_[runEnd].literal) ++in;
        ++runEnd;
      }
    }
    p = runEnd;
  }
  return ConformEditText(result);
}

std::u16string EditMask::ConformEditText(std::u16string_view editText) const {
  if (!IsMasked()) return std::u16string(editText);
  std::u16string result;
  result.reserve(positions_.size());
  for (int p = 0; p < Length(); ++p) {
    const MaskPosition& pos = positions_[p];
    if (!pos.IsEditable()) {
      result.push_back(pos.literal);
      continue;
    }
    const char16_t c = p < static_cast<int>(editText.size()) ? editText[p] : blank_;
    result.push_back(IsEmptyAt(pos, c, blank_) ? blank_ : c);
  }
  return result;
}

bool EditMask::AcceptChar(int pos, char16_t ch, char16_t* converted) const {
  if (!IsEditable(pos)) return false;
  const MaskPosition& p = positions_[pos];
  char16_t result = ch;
  if (!p.IsRequired() && !TakesAnyChar(p.kind) && (ch == u' ' || ch == blank_)) {
    result = blank_;
  } else if (!FitsKind(p.kind, ch)) {
    return false;
  } else if (TakesLetters(p.kind)) {
    result = ApplyCase(ch, p.letterCase);
  }
  if (converted) *converted = result;
  return true;
}

bool EditMask::TypeChar(std::u16string& editText, int* cursor, char16_t ch) const {
  if (!IsMasked()) return false;
  std::u16string edit = ConformEditText(editText);
  const int p = std::clamp(*cursor, 0, Length());
  const int q = NextEditable(p);
  char16_t converted = 0;
  if (q < Length() && AcceptChar(q, ch, &converted)) {
    edit[q] = converted;
    editText = std::move(edit);
    *cursor = NextEditable(q + 1);
    return true;
  }
  // A separator typed early jumps to its field, as a user types "2009/5/" into a date. The
  // search starts at the literals the cursor was just moved over, so that typing the separator
  // right after a full field does not skip the next one.
  for (int r = PreviousEditable(p) + 1; r < Length(); ++r) {
    if (!positions_[r].IsEditable() && positions_[r].literal == ch) {
      editText = std::move(edit);
      *cursor = NextEditable(r + 1);
      return true;
    }
  }
  return false;
}

void EditMask::ClearRange(std::u16string& editText, int from, int to) const {
  if (!IsMasked()) return;
  editText = ConformEditText(editText);
  for (int p = std::max(from, 0); p < std::min(to, Length()); ++p)
    if (positions_[p].IsEditable()) editText[p] = blank_;
}

bool EditMask::Backspace(std::u16string& editText, int* cursor) const {
  if (!IsMasked()) return false;
  const int q = PreviousEditable(std::clamp(*cursor, 0, Length()));
  if (q < 0) return false;
  editText = ConformEditText(editText);
  editText[q] = blank_;
  *cursor = q;
  return true;
}

int EditMask::TypeText(std::u16string& editText, int* cursor, std::u16string_view text) const {
  int taken = 0;
  for (char16_t c : text)
    if (TypeChar(editText, cursor, c)) ++taken;
  return taken;
}

int EditMask::FirstInvalidPosition(std::u16string_view editText) const {
  if (!IsMasked()) return -1;
  for (int p = 0; p < Length(); ++p) {
    const MaskPosition& pos = positions_[p];
    const char16_t c = p < static_cast<int>(editText.size()) ? editText[p] : blank_;
    if (!pos.IsEditable()) {
      if (c != pos.literal) return p;
    } else if (IsEmptyAt(pos, c, blank_)) {
      if (pos.IsRequired()) return p;
    } else if (!FitsKind(pos.kind, c)) {
      return p;
    }
  }
  return static_cast<int>(editText.size()) > Length() ? Length() : -1;
}

bool EditMask::IsBlank(std::u16string_view editText) const {
  for (int p = 0; p < Length(); ++p) {
    const MaskPosition& pos = positions_[p];
    if (!pos.IsEditable()) continue;
    const char16_t c = p < static_cast<int>(editText.size()) ? editText[p] : blank_;
    if (!IsEmptyAt(pos, c, blank_)) return false;
  }
  return true;
}

std::u16string BytesToMaskText(std::string_view bytes) {
  std::u16string result;
  result.reserve(bytes.size());
  for (char b : bytes) result.push_back(static_cast<unsigned char>(b));
  return result;
}

std::string MaskTextToBytes(std::u16string_view text) {
  std::string result;
  result.reserve(text.size());
  for (char16_t c : text) result.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
  return result;
}

std::string FormatMaskText(std::string_view mask, std::string_view text) {
  const EditMask m(BytesToMaskText(mask));
  if (!m.IsMasked()) return std::string(text);
  return MaskTextToBytes(m.TextWithLiterals(m.EditTextFromText(BytesToMaskText(text))));
}

std::string MaskBlankEditText(std::string_view mask) {
  return MaskTextToBytes(EditMask(BytesToMaskText(mask)).BlankEditText());
}

std::string MaskBlankText(std::string_view mask) {
  return MaskTextToBytes(EditMask(BytesToMaskText(mask)).BlankText());
}

std::string MaskText(std::string_view mask, std::string_view editText) {
  return MaskTextToBytes(EditMask(BytesToMaskText(mask)).Text(BytesToMaskText(editText)));
}

std::string MaskRawText(std::string_view mask, std::string_view editText) {
  return MaskTextToBytes(EditMask(BytesToMaskText(mask)).RawText(BytesToMaskText(editText)));
}

std::string MaskEditText(std::string_view mask, std::string_view text) {
  return MaskTextToBytes(EditMask(BytesToMaskText(mask)).EditTextFromText(BytesToMaskText(text)));
}

}  // namespace toolkit
