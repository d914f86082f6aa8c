#include "catalogue/ScrollPanel.h"

#include <gtest/gtest.h>

#include "platform/ui/Form.h"
#include "platform/ui/PictureBox.h"

namespace tvk {
namespace {

class ScrollPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame_ = &form_.Add<ui::PictureBox>(nullptr, "图片框边界", {0, 90, 500, 300});
    content_ = &form_.Add<ui::PictureBox>(frame_, "图片框容器", {0, 0, 483, 283});
    horizontal_ = &form_.Add<ui::ScrollBar>(frame_, "横向滚动条", {5, 283, 483, 17}, false);
    vertical_ = &form_.Add<ui::ScrollBar>(frame_, "纵向滚动条", {483, 5, 17, 283}, true);
    ASSERT_TRUE(form_.Load(nullptr, false));
    panel_.Bind(*frame_, *content_, *horizontal_, *vertical_, true);
  }
  void TearDown() override { form_.Destroy(); }

  ui::Form form_{"窗口", "滚动", {20, 20, 700, 500}};
  ui::PictureBox* frame_ = nullptr;
  ui::PictureBox* content_ = nullptr;
  ui::ScrollBar* horizontal_ = nullptr;
  ui::ScrollBar* vertical_ = nullptr;
  ScrollPanel panel_;
};

TEST_F(ScrollPanelTest, BindPutsTheBarsAtTheirEdges) {
  EXPECT_EQ(horizontal_->Left(), 0);
  EXPECT_EQ(vertical_->Top(), 0);
}

TEST_F(ScrollPanelTest, ContentThatFitsHidesTheBars) {
  panel_.SetContentSize(300, 200, 100);
  panel_.SetFrame(0, 90, 500, 300);
  EXPECT_FALSE(horizontal_->Visible());
  EXPECT_FALSE(vertical_->Visible());
  EXPECT_EQ(content_->Geometry(), (ui::Bounds{0, 0, 500, 300}));
}

TEST_F(ScrollPanelTest, TallContentShowsOnlyTheVerticalBar) {
  panel_.SetContentSize(300, 260010, 100);  // 10,000 rows of 26 pixels
  panel_.SetFrame(0, 90, 500, 300);
  EXPECT_FALSE(horizontal_->Visible());
  EXPECT_TRUE(vertical_->Visible());
  // The content and the horizontal bar take the full frame height; the top is 0.
  EXPECT_EQ(content_->Top(), 0);
  EXPECT_EQ(content_->Height(), 300);
  EXPECT_EQ(vertical_->Height(), 300);
  EXPECT_EQ(content_->Width(), 483);

  // Position 100 puts the end of the content at the bottom of the viewport.
  vertical_->SetPosition(100);
  panel_.Scroll(ScrollPanel::kVertical);
  EXPECT_EQ(content_->Top() + 260010, 300);
  EXPECT_EQ(content_->Top(), -259710);
  vertical_->SetPosition(37);
  panel_.Scroll(ScrollPanel::kVertical);
  EXPECT_EQ(content_->Top(), -(37 * (260010 - 300) / 100));
  EXPECT_EQ(content_->Top() + content_->Height(), 300);  // reaches the far edge exactly
}

TEST_F(ScrollPanelTest, ResizingHidesAndShowsBarsKeepingPositions) {
  panel_.SetContentSize(826, 1000, 100);
  panel_.SetFrame(0, 90, 500, 300);
  ASSERT_TRUE(horizontal_->Visible());
  ASSERT_TRUE(vertical_->Visible());
  horizontal_->SetPosition(40);
  vertical_->SetPosition(60);
  panel_.SetFrame(0, 90, 500, 300);
  int scrolledTop = content_->Top();
  EXPECT_LT(content_->Left(), 0);
  EXPECT_LT(scrolledTop, 0);

  panel_.SetFrame(0, 90, 900, 1100);  // larger than the content: both bars go
  EXPECT_FALSE(horizontal_->Visible());
  EXPECT_FALSE(vertical_->Visible());
  EXPECT_EQ(content_->Left(), 0);
  EXPECT_EQ(content_->Top(), 0);

  panel_.SetFrame(0, 90, 500, 300);  // smaller again: back at their old positions
  EXPECT_TRUE(horizontal_->Visible());
  EXPECT_TRUE(vertical_->Visible());
  EXPECT_EQ(horizontal_->Position(), 40);
  EXPECT_EQ(vertical_->Position(), 60);
  EXPECT_EQ(content_->Top(), scrolledTop);
}

TEST_F(ScrollPanelTest, WithoutHidingUnneededBarsAreDisabled) {
  panel_.Bind(*frame_, *content_, *horizontal_, *vertical_, false);
  panel_.SetContentSize(100, 100, 100);
  panel_.SetFrame(0, 90, 500, 300);
  EXPECT_TRUE(horizontal_->Visible());
  EXPECT_FALSE(horizontal_->Enabled());
  EXPECT_FALSE(vertical_->Enabled());
  EXPECT_EQ(content_->Left(), 0);
  EXPECT_EQ(content_->Top(), 0);
}

TEST_F(ScrollPanelTest, RangeZeroCountsPixels) {
  panel_.SetContentSize(300, 1000, 0);
  panel_.SetFrame(0, 90, 500, 300);
  EXPECT_EQ(vertical_->Maximum(), 700);
  EXPECT_DOUBLE_EQ(panel_.ScaleY(), 1);
}

}  // namespace
}  // namespace tvk
