// The dialogs' colour rules and the owner-drawn button.
#include <string>
#include <vector>

#include "editor/colors.h"
#include "operations/records.h"
#include "resources/templates.h"
#include "tests/support/fresh_state.h"

namespace {

using plat::CtlColorKind;
using plat::Rgb;

struct ColorCase {
  CtlColorKind kind;
  int id;
  const char* action;
  bool handled;
  plat::Color text, brush;
};

TEST(DialogColors, MainDialogRules) {
  const plat::Color white = Rgb(255, 255, 255), black = 0, grey = Rgb(220, 220, 220), red = Rgb(255, 0, 0);
  const plat::Color caption = Rgb(0, 10, 60), green = Rgb(0, 255, 0);
  const ColorCase cases[] = {
      {CtlColorKind::Edit, 1020, "", true, red, white},  // stop seconds, writable
      {CtlColorKind::Edit, 1004, "", true, black, white},
      {CtlColorKind::Edit, 1006, "", true, black, white},
      {CtlColorKind::Dialog, 0, "", true, black, white},
      {CtlColorKind::ListBox, 1082, "テキストを複写する", true, black, Rgb(200, 255, 200)},
      {CtlColorKind::ListBox, 1081, "テキストを複写する", true, black, Rgb(200, 255, 200)},
      {CtlColorKind::ListBox, 1080, "", true, black, white},
      {CtlColorKind::ListBox, 1080, "マウスで右クリックする", true, black, Rgb(255, 255, 220)},
      {CtlColorKind::ListBox, 1080, "文字を入力する", true, black, grey},
      {CtlColorKind::ListBox, 1080, "指定秒間は停止する", true, black, Rgb(250, 250, 250)},
      {CtlColorKind::ListBox, 1080, "ショートカットを入力する", true, black, Rgb(200, 230, 255)},
      {CtlColorKind::ListBox, 1080, "アプリケーションの表示設定", true, black, Rgb(255, 220, 220)},
      {CtlColorKind::ListBox, 1080, "マウスでクリック", true, black, white},  // not a whole name
      {CtlColorKind::Static, 1030, "", true, white, black},
      {CtlColorKind::Static, 1031, "", true, green, black},
      {CtlColorKind::Static, 1033, "", true, green, black},
      {CtlColorKind::Static, 1034, "", true, green, black},
      {CtlColorKind::Static, 1035, "", true, caption, grey},
      {CtlColorKind::Static, 1038, "", true, caption, grey},
      {CtlColorKind::Static, 1032, "", true, caption, grey},
      {CtlColorKind::Static, 1040, "", true, caption, grey},
      {CtlColorKind::Static, 1043, "", true, caption, grey},
      {CtlColorKind::Static, 1061, "", true, caption, grey},
      {CtlColorKind::Static, 1048, "", true, black, white},
      {CtlColorKind::Static, 1059, "", true, black, white},
      {CtlColorKind::Static, 1001, "", true, red, grey},
      {CtlColorKind::Static, 1003, "", true, red, grey},
      {CtlColorKind::Static, 1044, "", true, Rgb(0, 90, 20), white},
      {CtlColorKind::Static, 1020, "", true, black, grey},  // stop seconds, disabled
      {CtlColorKind::Static, 1045, "", true, black, grey},
      {CtlColorKind::Static, 1039, "", true, black, grey},
      {CtlColorKind::Static, -1, "", true, black, grey},
      {CtlColorKind::Button, 1027, "", false, 0, 0},
      {CtlColorKind::ScrollBar, 1000, "", false, 0, 0},
      {CtlColorKind::MessageBox, 0, "", false, 0, 0},
  };
  for (const ColorCase& c : cases) {
    SCOPED_TRACE("kind " + std::to_string(static_cast<int>(c.kind)) + ", id " + std::to_string(c.id));
    plat::CtlColorAnswer a = editor::MainDialogColor(c.kind, c.id, c.action);
    EXPECT_EQ(a.handled, c.handled);
    if (!c.handled) continue;
    EXPECT_EQ(a.textColor, c.text);
    EXPECT_EQ(a.brushColor, c.brush);
  }
}

TEST(DialogColors, JobNameDialogRules) {
  const ColorCase cases[] = {
      {CtlColorKind::Edit, 1019, "", true, 0, Rgb(255, 255, 255)},
      {CtlColorKind::Dialog, 0, "", true, 0, Rgb(255, 255, 255)},
      {CtlColorKind::Static, 1039, "", true, Rgb(255, 0, 0), Rgb(220, 220, 220)},
      {CtlColorKind::Button, 1, "", false, 0, 0},
      {CtlColorKind::ListBox, 0, "", false, 0, 0},
  };
  for (const ColorCase& c : cases) {
    plat::CtlColorAnswer a = editor::JobNameDialogColor(c.kind);
    EXPECT_EQ(a.handled, c.handled);
    if (c.handled) {
      EXPECT_EQ(a.textColor, c.text);
      EXPECT_EQ(a.brushColor, c.brush);
    }
  }
}

// Every answer's brush is one of the brushes made at start: painting never makes one.
TEST(DialogColors, EveryAnswerUsesAPreparedBrush) {
  const std::vector<plat::Color> brushes = editor::DialogBrushColors();
  auto prepared = [&](plat::Color c) {
    for (plat::Color b : brushes) {
      if (b == c) return true;
    }
    return false;
  };
  std::vector<std::string> texts(ops::kActionNames, ops::kActionNames + ops::kActionKindCount);
  texts.push_back("");
  for (int k = 0; k <= static_cast<int>(CtlColorKind::MessageBox); ++k) {
    auto kind = static_cast<CtlColorKind>(k);
    EXPECT_TRUE(!editor::JobNameDialogColor(kind).handled || prepared(editor::JobNameDialogColor(kind).brushColor));
    for (int id = -1; id <= 1100; ++id) {
      for (const std::string& text : texts) {
        plat::CtlColorAnswer a = editor::MainDialogColor(kind, id, text.c_str());
        if (a.handled && !prepared(a.brushColor)) {
          ADD_FAILURE() << "kind " << k << ", id " << id << ": brush " << a.brushColor;
          return;
        }
      }
    }
  }
  EXPECT_EQ(brushes.size(), 8u);  // white, black, grey and five more action colours, one each
}

// The run button: a white caption on a dark face with a raised edge; pressed
// with focus sunken with a focus rectangle 4 pixels inside; disabled without
// focus its caption a second time in the disabled colour.
class OwnerDrawnButton : public FreshState {};

TEST_F(OwnerDrawnButton, DrawsFaceCaptionEdgeAndFocusByState) {
  editor::CCButton button;
  EXPECT_EQ(button.TextColor, Rgb(0, 0, 0));
  EXPECT_EQ(button.FaceColor, Rgb(200, 200, 200));
  EXPECT_EQ(button.DisabledTextColor, Rgb(255, 255, 255));
  button.TextColor = Rgb(255, 255, 255);
  button.FaceColor = Rgb(100, 100, 100);

  auto draw = [&](bool focused, bool selected, bool disabled) {
    headless::ClearDrawCalls();
    plat::DrawItem item;
    item.controlId = 1027;
    item.rect = {0, 0, 120, 40};
    item.focused = focused, item.selected = selected, item.disabled = disabled;
    button.DrawItem(item, "選択した操作を実行");
    std::vector<std::string> calls;
    for (const headless::DrawCall& c : headless::DrawCalls()) {
      std::string call = c.kind + " " + std::to_string(c.rect.left) + "," + std::to_string(c.rect.top) + "," +
                         std::to_string(c.rect.right) + "," + std::to_string(c.rect.bottom);
      if (c.kind == "FillRect" || c.kind == "CenteredText") call += " #" + std::to_string(c.color);
      if (c.kind == "Edge") call += c.sunken ? " sunken" : " raised";
      calls.push_back(call);
    }
    return calls;
  };
  const std::string face = "FillRect 0,0,120,40 #" + std::to_string(Rgb(100, 100, 100));
  const std::string caption = "CenteredText 0,0,120,40 #" + std::to_string(Rgb(255, 255, 255));
  EXPECT_EQ(draw(false, false, false), (std::vector<std::string>{face, caption, "Edge 0,0,120,40 raised"}));
  EXPECT_EQ(draw(true, false, false),
            (std::vector<std::string>{face, caption, "Edge 0,0,120,40 raised", "FocusRect 4,4,116,36"}));
  EXPECT_EQ(draw(true, true, false), (std::vector<std::string>{face, caption, "Edge 0,0,120,40 raised",
                                                               "Edge 0,0,120,40 sunken", "FocusRect 4,4,116,36"}));
  button.DisabledTextColor = Rgb(1, 2, 3);
  EXPECT_EQ(draw(false, false, true),
            (std::vector<std::string>{face, caption, "Edge 0,0,120,40 raised",
                                      "CenteredText 0,0,120,40 #" + std::to_string(Rgb(1, 2, 3))}));
  EXPECT_EQ(draw(true, false, true).size(), 4u);  // with focus: the focus rectangle, no second caption
}

// The about box: template 100 as the program shows it.
TEST(AboutBox, TemplateHasItsSizeFontCaptionAndFourControls) {
  const res::DialogTemplate* t = res::FindDialogTemplate(res::kAboutDialog);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(std::string(t->caption), "ラディモについて");
  EXPECT_EQ(std::string(t->fontName), "MS UI Gothic");
  EXPECT_EQ(t->pointSize, 9);
  EXPECT_EQ(t->width, 160);
  EXPECT_EQ(t->height, 62);
  const std::uint32_t frame = res::kWsPopup | res::kWsCaption | res::kWsSysMenu | res::kDsModalFrame;
  EXPECT_EQ(t->style & frame, frame);
  ASSERT_EQ(t->controlCount, 4u);
  struct Place {
    int x, y, w, h;
  };
  const Place places[4] = {{3, 10, 18, 21}, {35, 12, 121, 8}, {35, 26, 114, 8}, {103, 41, 50, 14}};
  for (int i = 0; i < 4; ++i) {
    const res::ControlTemplate& c = t->controls[i];
    EXPECT_EQ(c.x, places[i].x) << i;
    EXPECT_EQ(c.y, places[i].y) << i;
    EXPECT_EQ(c.width, places[i].w) << i;
    EXPECT_EQ(c.height, places[i].h) << i;
  }
  EXPECT_EQ(t->controls[0].iconResource, res::kIcon);
  EXPECT_EQ(std::string(t->controls[1].text), "ラディモ バージョン 2.0");
  EXPECT_TRUE(t->controls[1].style & res::kSsNoPrefix);
  EXPECT_EQ(t->controls[3].id, 1);
  EXPECT_EQ(std::string(t->controls[3].text), "OK");
  EXPECT_EQ(t->controls[3].style & 0xF, res::kBsDefPushButton);
}

}  // namespace
