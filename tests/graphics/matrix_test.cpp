// The drawing context's matrix: products in the right order, the stack that
// grows, its flags, and drawing-state misuse outside a frame.
#include <gtest/gtest.h>

#include "graphics/graphics.h"
#include "support/child_process.h"

namespace {

// Where the context's matrix sends (x, y).
std::pair<float, float> Map(float x, float y) {
  c_GraphicsContext* c = bb_graphics_context;
  return {x * c->m_ix + y * c->m_jx + c->m_tx, x * c->m_iy + y * c->m_jy + c->m_ty};
}

class MatrixTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gc_init();
    bb_graphics_Init();
    bb_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
    bb_graphics_context->m_matrixSp = 0;
  }
};

TEST_F(MatrixTest, TransformsApplyNewestFirst) {
  bb_graphics_Translate(100, 50);
  bb_graphics_Scale(2, 3);
  EXPECT_EQ(Map(1, 1), std::make_pair(102.0f, 53.0f));  // scaled, then moved
  bb_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
  bb_graphics_Scale(2, 3);
  bb_graphics_Translate(100, 50);
  EXPECT_EQ(Map(1, 1), std::make_pair(202.0f, 153.0f));  // moved, then scaled

  bb_graphics_SetMatrix(1.5f, 0.25f, -0.5f, 2, 7, -3);
  Array<float> t(6);
  const float tv[6] = {0.5f, -1, 2, 0.75f, 4, 9};
  for (int i = 0; i < 6; ++i) t[i] = tv[i];
  bb_graphics_Transform2(t);
  // Mapping through the product equals mapping through t, then the old matrix.
  auto [x, y] = Map(3, -2);
  float tx = 3 * 0.5f + -2 * 2 + 4, ty = 3 * -1 + -2 * 0.75f + 9;
  EXPECT_FLOAT_EQ(x, tx * 1.5f + ty * -0.5f + 7);
  EXPECT_FLOAT_EQ(y, tx * 0.25f + ty * 2 - 3);

  // A positive angle turns counter-clockwise on a y-down screen.
  bb_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
  bb_graphics_Rotate(90);
  EXPECT_NEAR(Map(10, 0).first, 0, 1e-5);
  EXPECT_FLOAT_EQ(Map(10, 0).second, -10);
  EXPECT_FLOAT_EQ(bb_graphics_context->m_jx, 1);
}

TEST_F(MatrixTest, FlagsFollowTheValues) {
  c_GraphicsContext* c = bb_graphics_context;
  c->m_matDirty = 0;
  bb_graphics_Translate(3, 0);
  EXPECT_EQ(c->m_tformed, 1);
  EXPECT_EQ(c->m_matDirty, 1);
  c->m_matDirty = 0;
  bb_graphics_Translate(-3, 0);  // exactly the identity again
  EXPECT_EQ(c->m_tformed, 0);
  EXPECT_EQ(c->m_matDirty, 1);
}

TEST_F(MatrixTest, StackGrowsAndRestoresInOrder) {
  c_GraphicsContext* c = bb_graphics_context;
  bb_graphics_PushMatrix();  // the identity, at the bottom
  for (int i = 0; i < 1000; ++i) {
    bb_graphics_SetMatrix(1, 0, 0, i % 2 ? 2.0f : 0.5f, (float)i, 0);
    bb_graphics_PushMatrix();
  }
  for (int i = 999; i >= 0; --i) {
    bb_graphics_PopMatrix();
    ASSERT_EQ(Map(0, 1), std::make_pair((float)i, i % 2 ? 2.0f : 0.5f)) << i;
  }
  bb_graphics_PopMatrix();
  EXPECT_EQ(c->m_matrixSp, 0);
  EXPECT_EQ(c->m_tformed, 0);
}

TEST_F(MatrixTest, MisuseEndsWithRuntimeError) {
  ExpectRuntimeError([] { bb_graphics_PopMatrix(); }, "Matrix stack underflow");
  const std::string outside = "Drawing is only possible while a frame is being rendered";
  ExpectRuntimeError([] { bb_graphics_DrawRect(0, 0, 1, 1); }, outside);
  ExpectRuntimeError([] { bb_graphics_SetColor(1, 2, 3); }, outside);
  // Matrix functions work at any time.
  ChildResult ok = RunInChild([] {
    bb_graphics_PushMatrix();
    bb_graphics_Rotate(30);
    bb_graphics_PopMatrix();
  });
  EXPECT_EQ(ok.status, 100);  // returned normally
}

}  // namespace
