#pragma once

// Works the exports' modal dialogs as a user would, from a timer that ticks while they
// run, with the simulated machine on a pseudo-terminal as COM1. Tear-down checks that no
// worker, busy flag or temporary file outlives a test.

#include <gtest/gtest.h>

#include <stdlib.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "link/panel/linkpanel.h"
#include "link/panel/tests/link_test_env.h"
#include "testing/machine/machine_simulator.h"

namespace lptest {

inline QDialog* Shown(const char* objectName) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible() && widget->objectName() == objectName) {
      return qobject_cast<QDialog*>(widget);
    }
  }
  return nullptr;
}

template <typename T>
T* Child(QWidget* parent, const char* objectName) {
  return parent->findChild<T*>(objectName);
}

// Clicks after the current tick: a click that opens a nested dialog must not hold the
// ticking timer, which Qt does not fire again while its own handler runs.
inline void ClickLater(QAbstractButton* button) {
  QTimer::singleShot(0, button, [button] { button->click(); });
}

class DialogDriven : public ::testing::Test {
 protected:
  void SetUp() override {
    threadsBefore = ThreadCount();
    setenv("VELINOR_COM1", machine.DevicePath().c_str(), 1);
    machine.Start();
    QObject::connect(&ticker, &QTimer::timeout, [this] {
      for (auto& step : steps) step();
    });
    ticker.start(5);
  }
  void TearDown() override {
    ticker.stop();
    machine.Stop();
    unsetenv("VELINOR_COM1");
    QApplication::processEvents();
    EXPECT_EQ(GetTransferStatus(), 0);
    EXPECT_EQ(ThreadCountSettledAt(threadsBefore), threadsBefore) << "a worker outlived its test";
    EXPECT_EQ(env.WorkFolderFiles(), std::vector<std::string>{}) << "a temporary file was left";
    for (const std::string& error : machine.Errors()) ADD_FAILURE() << "machine saw: " << error;
  }

  // Runs on every tick while an export's dialog is up.
  void Every(std::function<void()> step) { steps.push_back(std::move(step)); }

  LinkEnvironment env;
  vtest::MachineSimulator machine;
  QTimer ticker;
  std::vector<std::function<void()>> steps;
  int threadsBefore = 0;
};

}  // namespace lptest
