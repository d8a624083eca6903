// Small number helpers of the math module.
#pragma once

int bb_math_Abs(int x);
float bb_math_Abs2(float x);
int bb_math_Max(int x, int y);
float bb_math_Max2(float x, float y);
