// A fresh machine and a fresh program for every test.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/app.h"

#include "companions/contract.h"
#include "editor/state.h"
#include "jobstore/lines.h"
#include "jobstore/paths.h"
#include "platform/headless/headless.h"
#include "resources/templates.h"

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

// The program at C:\Tools\Tavolex.exe, run on a job (none: the draft job)
// while a driver plays the user in the main window. A dialog the driver
// leaves open is closed by the system (no saving).
class EditorRun : public FreshState {
 protected:
  void SetUp() override {
    FreshState::SetUp();
    headless::PutFile("C:\\Tools\\Tavolex.exe", "MZ");
  }
  void Run(const std::string& job, const std::function<void(plat::Window)>& driver) {
    headless::OnDialog(res::kMainDialog, driver);
    app::RunTavolex(job.empty() ? std::vector<std::string>{} : std::vector<std::string>{job});
  }
};

// Shift-JIS bytes written as hex pairs, for texts whose exact bytes matter.
inline std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}
