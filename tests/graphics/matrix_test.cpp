// The drawing context's matrix: products in the right order, the stack that
// grows, the dirty and transformed flags, and drawing outside a frame.
#include <gtest/gtest.h>

#include <cmath>

#include "graphics/graphics.h"
#include "graphics/support.h"

namespace {

struct M {
  float ix, iy, jx, jy, tx, ty;
};

M Current() {
  c_GraphicsContext* c = bb_graphics_context;
  return {c->m_ix, c->m_iy, c->m_jx, c->m_jy, c->m_tx, c->m_ty};
}

// Where the current matrix sends (x, y).
void Map(float x, float y, float* ox, float* oy) {
  M m = Current();
  *ox = x * m.ix + y * m.jx + m.tx;
  *oy = x * m.iy + y * m.jy + m.ty;
}

class MatrixTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitCollector();
    bb_graphics_Init();
    bb_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
    bb_graphics_context->m_matrixSp = 0;
  }
};

TEST_F(MatrixTest, TransformAppliesTheNewMatrixFirst) {
  bb_graphics_Translate(100, 50);
  bb_graphics_Scale(2, 3);
  float x, y;
  Map(1, 1, &x, &y);
  EXPECT_FLOAT_EQ(x, 102);  // scaled, then moved
  EXPECT_FLOAT_EQ(y, 53);

  bb_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
  bb_graphics_Scale(2, 3);
  bb_graphics_Translate(100, 50);
  Map(1, 1, &x, &y);
  EXPECT_FLOAT_EQ(x, 202);  // moved, then scaled
  EXPECT_FLOAT_EQ(y, 153);

  // A general product against the written-out formula.
  bb_graphics_SetMatrix(1.5f, 0.25f, -0.5f, 2, 7, -3);
  Array<float> t(6);
  float tv[6] = {0.5f, -1, 2, 0.75f, 4, 9};
  for (int i = 0; i < 6; ++i) t[i] = tv[i];
  bb_graphics_Transform2(t);
  M m = Current();
  EXPECT_FLOAT_EQ(m.ix, 1.5f * 0.5f + -0.5f * -1);
  EXPECT_FLOAT_EQ(m.iy, 0.25f * 0.5f + 2 * -1);
  EXPECT_FLOAT_EQ(m.jx, 1.5f * 2 + -0.5f * 0.75f);
  EXPECT_FLOAT_EQ(m.jy, 0.25f * 2 + 2 * 0.75f);
  EXPECT_FLOAT_EQ(m.tx, 1.5f * 4 + -0.5f * 9 + 7);
  EXPECT_FLOAT_EQ(m.ty, 0.25f * 4 + 2 * 9 - 3);
}

TEST_F(MatrixTest, RotateTurnsCounterClockwiseOnScreen) {
  bb_graphics_Rotate(90);
  M m = Current();
  EXPECT_NEAR(m.ix, 0, 1e-6);
  EXPECT_FLOAT_EQ(m.iy, -1);
  EXPECT_FLOAT_EQ(m.jx, 1);
  EXPECT_NEAR(m.jy, 0, 1e-6);
  float x, y;
  Map(10, 0, &x, &y);  // the x axis points up the screen
  EXPECT_NEAR(x, 0, 1e-5);
  EXPECT_FLOAT_EQ(y, -10);

  bb_graphics_Rotate(-90);
  Map(10, 4, &x, &y);
  EXPECT_NEAR(x, 10, 1e-5);
  EXPECT_NEAR(y, 4, 1e-5);
}

TEST_F(MatrixTest, FlagsFollowTheValues) {
  c_GraphicsContext* c = bb_graphics_context;
  c->m_matDirty = 0;
  bb_graphics_Translate(3, 0);
  EXPECT_EQ(c->m_tformed, 1);
  EXPECT_EQ(c->m_matDirty, 1);
  c->m_matDirty = 0;
  bb_graphics_Translate(-3, 0);  // back to exactly the identity
  EXPECT_EQ(c->m_tformed, 0);
  EXPECT_EQ(c->m_matDirty, 1);
  Array<float> m(6);
  m[0] = 1;
  m[3] = 1;
  m[5] = 0.5f;
  bb_graphics_SetMatrix2(m);
  EXPECT_EQ(c->m_tformed, 1);
}

TEST_F(MatrixTest, StackGrowsAndRestoresInOrder) {
  c_GraphicsContext* c = bb_graphics_context;
  EXPECT_EQ(c->m_matrixStack.Length(), 192);
  for (int i = 0; i < 40; ++i) {
    bb_graphics_PushMatrix();
    bb_graphics_Translate(1, 0);
    bb_graphics_Scale(1.0f, i % 2 ? 2.0f : 0.5f);
  }
  EXPECT_EQ(c->m_matrixSp, 240);
  EXPECT_EQ(c->m_matrixStack.Length(), 384);
  for (int i = 39; i >= 0; --i) {
    bb_graphics_PopMatrix();
    float x, y;
    Map(0, 1, &x, &y);
    // After popping back to level i the matrix is the product of i levels.
    EXPECT_FLOAT_EQ(x, (float)i);
    float expectY = 1;
    for (int k = 0; k < i; ++k) expectY *= k % 2 ? 2.0f : 0.5f;
    EXPECT_FLOAT_EQ(y, expectY) << i;
  }
  EXPECT_EQ(c->m_matrixSp, 0);
  EXPECT_EQ(c->m_tformed, 0);
  M m = Current();
  EXPECT_EQ(m.ix, 1);
  EXPECT_EQ(m.tx, 0);
  EXPECT_EQ(m.jy, 1);

  // Much deeper than the initial room: grows repeatedly, keeps everything.
  for (int i = 0; i < 1000; ++i) {
    bb_graphics_SetMatrix(1, 0, 0, 1, (float)i, 0);
    bb_graphics_PushMatrix();
  }
  EXPECT_EQ(c->m_matrixStack.Length(), 6144);
  for (int i = 999; i >= 0; --i) {
    bb_graphics_PopMatrix();
    ASSERT_EQ(Current().tx, (float)i);
  }
}

TEST_F(MatrixTest, MisuseEndsWithRuntimeError) {
  ChildResult pop = RunInChild([] { bb_graphics_PopMatrix(); });
  EXPECT_EQ(pop.exitStatus, 255);
  EXPECT_NE(pop.output.find("Quill Runtime Error : Matrix stack underflow"), std::string::npos);

  // No frame is being rendered: the drawing state cannot reach the renderer.
  for (auto fn : {+[] { bb_graphics_DrawRect(0, 0, 1, 1); },
                  +[] { bb_graphics_SetColor(1, 2, 3); },
                  +[] { bb_graphics_SetScissor(0, 0, 1, 1); }}) {
    ChildResult r = RunInChild(fn);
    EXPECT_EQ(r.exitStatus, 255);
    EXPECT_NE(r.output.find("Quill Runtime Error : Drawing is only possible while a frame is being rendered"),
              std::string::npos)
        << r.output;
  }
  // The matrix functions are fine at any time.
  ChildResult ok = RunInChild([] {
    bb_graphics_PushMatrix();
    bb_graphics_Rotate(30);
    bb_graphics_PopMatrix();
  });
  EXPECT_EQ(ok.exitStatus, 0);
}

}  // namespace
