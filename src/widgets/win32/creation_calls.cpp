#include "widgets/win32/creation_calls.h"

namespace tarnvex {

namespace {

constinit CreationCalls g_calls{CreateWindowExW, ImageList_Create, SetWindowsHookExW};

}  // namespace

const CreationCalls& Creation() { return g_calls; }

CreationCalls SetCreation(const CreationCalls& calls) {
  const CreationCalls replaced = g_calls;
  g_calls = calls;
  return replaced;
}

}  // namespace tarnvex
