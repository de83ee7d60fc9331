#include "controls/GSpdBtn.h"

#include <exception>

#include "OsResD5.h"
#include "support/GbkText.h"
#include "toolkit/Dialogs.h"

TGSpeedButton::TGSpeedButton(toolkit::Component* owner) : toolkit::SpeedButton(owner) {}

void TGSpeedButton::SetGlyphIndex(int index) {
  if (index == glyph_index_) return;
  glyph_index_ = index;
  load_failed_ = false;
  SetCaption(std::to_string(index));
  try {
    if (index == 0 || index > GetMaxBmpID()) {
      Glyph()->Clear();
      return;
    }
    toolkit::Picture picture;
    if (!LoadBmp(picture, index)) {
      // No picture of that number: the button shows the number alone.
      Glyph()->Clear();
      return;
    }
    Glyph()->Assign(picture);
    SetCaption(std::string());
    SetNumGlyphs(picture.Width() / picture.Height());
  } catch (const std::exception&) {
    load_failed_ = true;
    toolkit::MessageDlg(Gbk("读取 BMP 发生错误"), toolkit::mtError,
                        toolkit::ButtonSet({toolkit::mbOK}));
  }
}

TOOLKIT_REGISTER_CLASS(TGSpeedButton, "TGSpeedButton");
