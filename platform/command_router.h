#pragma once

// Commands are numbers. A command travels along a chain of targets (view, document,
// frame, application, in that order) and the first target that knows it answers: whether
// it is enabled and ticked (its update rule), and what it does. A disabled command is
// never run, whichever way it arrives (menu, accelerator, toolbar).

#include <vector>

#include "platform/export.h"

namespace platform {

struct CommandState {
  bool handled = false;  // some target knows the command
  bool enabled = false;
  bool checked = false;
};

class VELINOR_EXPORT CommandTarget {
 public:
  virtual ~CommandTarget();
  // The update rule; handled false when the target does not know the command.
  virtual CommandState QueryCommand(int id) const = 0;
  // Runs the command (only ever called when it is handled and enabled).
  virtual void RunCommand(int id) = 0;
};

class VELINOR_EXPORT CommandRouter {
 public:
  // Targets in routing order; a null entry is skipped. The targets must outlive the router
  // or be removed first.
  void SetChain(std::vector<CommandTarget*> chain) { chain_ = std::move(chain); }

  CommandState Query(int id) const;
  // True when a target ran the command.
  bool Dispatch(int id);

 private:
  CommandTarget* Owner(int id, CommandState& state) const;

  std::vector<CommandTarget*> chain_;
};

}  // namespace platform
