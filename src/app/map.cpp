// Red-black tree behind c_Map. The fix-ups follow the textbook algorithm;
// every pointer store goes through the collector's write barrier because a
// map may be rebalanced while a collection cycle is half way through it.
#include "app/map.h"

namespace {

const int kRed = -1;
const int kBlack = 1;

void link(c_Node*& field, c_Node* value) { gc_assign(field, value); }

bool isRed(c_Node* node) { return node && node->m_color == kRed; }

c_Node* leftmost(c_Node* node) {
  while (node->m_left) node = node->m_left;
  return node;
}

}  // namespace

c_Node* c_Node::m_new(int key, c_DisplayMode* value, int color, c_Node* parent) {
  m_key = key;
  gc_assign(m_value, value);
  m_color = color;
  link(m_parent, parent);
  return this;
}

c_Node* c_Node::m_new2() { return this; }

void c_Node::mark() {
  Object::mark();
  gc_enqueue(m_right);
  gc_enqueue(m_left);
  gc_enqueue(m_value);
  gc_enqueue(m_parent);
}

c_Map* c_Map::m_new() { return this; }

bool c_Map::p_Set(int key, c_DisplayMode* value) {
  c_Node* node = m_root;
  c_Node* parent = nullptr;
  int cmp = 0;
  while (node) {
    parent = node;
    cmp = p_Compare(key, node->m_key);
    if (cmp > 0) {
      node = node->m_right;
    } else if (cmp < 0) {
      node = node->m_left;
    } else {
      gc_assign(node->m_value, value);
      return false;
    }
  }
  node = (new c_Node)->m_new(key, value, kRed, parent);
  if (!parent) {
    link(m_root, node);
  } else if (cmp > 0) {
    link(parent->m_right, node);
  } else {
    link(parent->m_left, node);
  }
  p_InsertFixup(node);
  return true;
}

bool c_Map::p_Insert(int key, c_DisplayMode* value) { return p_Set(key, value); }

c_Node* c_Map::p_FindNode(int key) {
  c_Node* node = m_root;
  while (node) {
    int cmp = p_Compare(key, node->m_key);
    if (cmp > 0) {
      node = node->m_right;
    } else if (cmp < 0) {
      node = node->m_left;
    } else {
      return node;
    }
  }
  return nullptr;
}

bool c_Map::p_Contains(int key) { return p_FindNode(key) != nullptr; }

c_DisplayMode* c_Map::p_Get(int key) {
  c_Node* node = p_FindNode(key);
  return node ? node->m_value : nullptr;
}

bool c_Map::p_Remove(int key) {
  c_Node* node = p_FindNode(key);
  if (!node) return false;
  p_RemoveNode(node);
  return true;
}

int c_Map::p_Count() {
  int count = 0;
  for (c_Node* node = p_FirstNode(); node; node = m_NextNode(node)) ++count;
  return count;
}

c_Node* c_Map::p_FirstNode() { return m_root ? leftmost(m_root) : nullptr; }

c_Node* c_Map::m_NextNode(c_Node* node) {
  if (node->m_right) return leftmost(node->m_right);
  c_Node* parent = node->m_parent;
  while (parent && node == parent->m_right) {
    node = parent;
    parent = parent->m_parent;
  }
  return parent;
}

void c_Map::mark() {
  Object::mark();
  gc_enqueue(m_root);
}

void c_Map::p_InsertFixup(c_Node* node) {
  while (isRed(node->m_parent)) {
    c_Node* parent = node->m_parent;
    c_Node* grand = parent->m_parent;  // a red parent is never the root
    if (parent == grand->m_left) {
      c_Node* uncle = grand->m_right;
      if (isRed(uncle)) {
        parent->m_color = kBlack;
        uncle->m_color = kBlack;
        grand->m_color = kRed;
        node = grand;
        continue;
      }
      if (node == parent->m_right) {
        node = parent;
        p_RotateLeft(node);
        parent = node->m_parent;
      }
      parent->m_color = kBlack;
      grand->m_color = kRed;
      p_RotateRight(grand);
    } else {
      c_Node* uncle = grand->m_left;
      if (isRed(uncle)) {
        parent->m_color = kBlack;
        uncle->m_color = kBlack;
        grand->m_color = kRed;
        node = grand;
        continue;
      }
      if (node == parent->m_left) {
        node = parent;
        p_RotateRight(node);
        parent = node->m_parent;
      }
      parent->m_color = kBlack;
      grand->m_color = kRed;
      p_RotateLeft(grand);
    }
  }
  m_root->m_color = kBlack;
}

void c_Map::p_RemoveNode(c_Node* node) {
  c_Node* child = nullptr;
  c_Node* childParent = nullptr;
  int removedColor = node->m_color;
  if (!node->m_left) {
    child = node->m_right;
    childParent = node->m_parent;
    p_Replace(node, node->m_right);
  } else if (!node->m_right) {
    child = node->m_left;
    childParent = node->m_parent;
    p_Replace(node, node->m_left);
  } else {
    // Two children: the in-order successor takes the node's place.
    c_Node* next = leftmost(node->m_right);
    removedColor = next->m_color;
    child = next->m_right;
    if (next->m_parent == node) {
      childParent = next;
    } else {
      childParent = next->m_parent;
      p_Replace(next, next->m_right);
      link(next->m_right, node->m_right);
      link(next->m_right->m_parent, next);
    }
    p_Replace(node, next);
    link(next->m_left, node->m_left);
    link(next->m_left->m_parent, next);
    next->m_color = node->m_color;
  }
  if (removedColor == kBlack) p_DeleteFixup(child, childParent);
}

void c_Map::p_DeleteFixup(c_Node* node, c_Node* parent) {
  // node may be null (an empty leaf), so its parent travels alongside it.
  while (node != m_root && !isRed(node)) {
    if (node == parent->m_left) {
      c_Node* sibling = parent->m_right;
      if (isRed(sibling)) {
        sibling->m_color = kBlack;
        parent->m_color = kRed;
        p_RotateLeft(parent);
        sibling = parent->m_right;
      }
      if (!isRed(sibling->m_left) && !isRed(sibling->m_right)) {
        sibling->m_color = kRed;
        node = parent;
        parent = node->m_parent;
        continue;
      }
      if (!isRed(sibling->m_right)) {
        sibling->m_left->m_color = kBlack;
        sibling->m_color = kRed;
        p_RotateRight(sibling);
        sibling = parent->m_right;
      }
      sibling->m_color = parent->m_color;
      parent->m_color = kBlack;
      sibling->m_right->m_color = kBlack;
      p_RotateLeft(parent);
    } else {
      c_Node* sibling = parent->m_left;
      if (isRed(sibling)) {
        sibling->m_color = kBlack;
        parent->m_color = kRed;
        p_RotateRight(parent);
        sibling = parent->m_left;
      }
      if (!isRed(sibling->m_left) && !isRed(sibling->m_right)) {
        sibling->m_color = kRed;
        node = parent;
        parent = node->m_parent;
        continue;
      }
      if (!isRed(sibling->m_left)) {
        sibling->m_right->m_color = kBlack;
        sibling->m_color = kRed;
        p_RotateLeft(sibling);
        sibling = parent->m_left;
      }
      sibling->m_color = parent->m_color;
      parent->m_color = kBlack;
      sibling->m_left->m_color = kBlack;
      p_RotateRight(parent);
    }
    node = m_root;
  }
  if (node) node->m_color = kBlack;
}

void c_Map::p_RotateLeft(c_Node* node) {
  c_Node* child = node->m_right;
  link(node->m_right, child->m_left);
  if (child->m_left) link(child->m_left->m_parent, node);
  p_Replace(node, child);
  link(child->m_left, node);
  link(node->m_parent, child);
}

void c_Map::p_RotateRight(c_Node* node) {
  c_Node* child = node->m_left;
  link(node->m_left, child->m_right);
  if (child->m_right) link(child->m_right->m_parent, node);
  p_Replace(node, child);
  link(child->m_right, node);
  link(node->m_parent, child);
}

// Puts new_node where old_node hangs from its parent (or the root).
void c_Map::p_Replace(c_Node* old_node, c_Node* new_node) {
  c_Node* parent = old_node->m_parent;
  if (!parent) {
    link(m_root, new_node);
  } else if (old_node == parent->m_left) {
    link(parent->m_left, new_node);
  } else {
    link(parent->m_right, new_node);
  }
  if (new_node) link(new_node->m_parent, parent);
}

c_IntMap* c_IntMap::m_new() {
  c_Map::m_new();
  return this;
}

// A plain subtraction overflows for keys far apart and would misorder them.
int c_IntMap::p_Compare(int lhs, int rhs) { return (lhs > rhs) - (lhs < rhs); }
