#include "platform/command_router.h"

namespace platform {

CommandTarget::~CommandTarget() = default;

CommandTarget* CommandRouter::Owner(int id, CommandState& state) const {
  for (CommandTarget* target : chain_) {
    if (!target) continue;
    state = target->QueryCommand(id);
    if (state.handled) return target;
  }
  state = {};
  return nullptr;
}

CommandState CommandRouter::Query(int id) const {
  CommandState state;
  Owner(id, state);
  return state;
}

bool CommandRouter::Dispatch(int id) {
  CommandState state;
  CommandTarget* target = Owner(id, state);
  if (!target || !state.enabled) return false;
  target->RunCommand(id);
  return true;
}

}  // namespace platform
