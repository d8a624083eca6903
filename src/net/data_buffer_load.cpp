// Filling data buffers from files through the host.
#include "host/game.h"
#include "net/data_buffer.h"
#include "net/thread.h"

// Takes over the host's block; refuses when this buffer already has one.
static bool LoadInto(BBDataBuffer* buffer, String path) {
  if (buffer->data || !BBGame::_game) return false;
  int length = 0;
  unsigned char* block = BBGame::_game->LoadData(path, &length);
  if (!block) return false;
  buffer->data = block;
  buffer->length = length;
  return true;
}

bool BBDataBuffer::_Load(String path) { return LoadInto(this, path); }

bool BBDataBuffer::_LoadAsync(String const& path, BBThread* thread) {
  // Only a private copy of the path may travel with the worker.
  String own = BBThread::Strdup(path);
  if (!LoadInto(this, own)) return false;
  thread->SetResult(this);
  return true;
}

c_DataBuffer* c_DataBuffer::m_Load(String path) {
  c_DataBuffer* buffer = (new c_DataBuffer)->m_new2();
  if (!buffer->_Load(path)) return nullptr;
  return buffer;
}
