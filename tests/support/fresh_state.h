// A fresh machine and a fresh program for every test.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "companions/contract.h"
#include "editor/state.h"
#include "jobstore/lines.h"
#include "jobstore/paths.h"
#include "platform/headless/headless.h"

class FreshState : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    jobstore::ResetPaths();
    jobstore::FreeDefinitionLines();
    editor::ResetEditorState();
    companions::ResetCompanions();
  }
  void TearDown() override { jobstore::FreeDefinitionLines(); }
};

// Shift-JIS bytes written as hex pairs, for texts whose exact bytes matter.
inline std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}
