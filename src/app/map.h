// Ordered map from int keys to display modes, kept as a red-black tree.
// Display-mode enumeration uses it to drop repeated resolutions.
#pragma once

#include "app/displaymode.h"
#include "runtime/runtime.h"

class c_Node : public Object {
 public:
  int m_key = 0;
  c_Node* m_right = nullptr;
  c_Node* m_left = nullptr;
  c_DisplayMode* m_value = nullptr;
  int m_color = 0;  // -1 red, 1 black
  c_Node* m_parent = nullptr;

  c_Node* m_new(int key, c_DisplayMode* value, int color, c_Node* parent);
  c_Node* m_new2();
  void mark() override;
};

class c_Map : public Object {
 public:
  c_Node* m_root = nullptr;

  c_Map* m_new();
  virtual int p_Compare(int lhs, int rhs) = 0;
  bool p_Set(int key, c_DisplayMode* value);
  bool p_Insert(int key, c_DisplayMode* value);
  c_Node* p_FindNode(int key);
  bool p_Contains(int key);
  c_DisplayMode* p_Get(int key);
  bool p_Remove(int key);
  int p_Count();
  c_Node* p_FirstNode();
  static c_Node* m_NextNode(c_Node* node);
  void mark() override;

 private:
  void p_InsertFixup(c_Node* node);
  void p_RemoveNode(c_Node* node);
  void p_DeleteFixup(c_Node* node, c_Node* parent);
  void p_RotateLeft(c_Node* node);
  void p_RotateRight(c_Node* node);
  void p_Replace(c_Node* old_node, c_Node* new_node);
};

class c_IntMap : public c_Map {
 public:
  c_IntMap* m_new();
  int p_Compare(int lhs, int rhs) override;
};
