#include "media_manager.h"

#include <climits>

#include "contract/action_params.h"

namespace jubelon {

const Command* FindCommand(const char* word) noexcept { return contract::FindWord(kCommands, word); }

std::intptr_t PerformAction(const contract::ActionParams* params, ManagerPort& manager) {
  // At least one parameter, the first a text naming the command; no upper bound on the count.
  if (!contract::AcceptsBlock(params, 1, INT_MAX, 1)) return 0;
  const std::uintptr_t window = manager.FindManagerWindow();
  if (window == 0) return 0;
  const Command* command = FindCommand(contract::ParamsView(params).text(0));
  if (command == nullptr) return 0;
  // The second slot goes out as it is, whatever its kind and whatever the count: the host decides
  // what the manager receives, and a posting failure is not the plug-in's to report.
  manager.PostCommand(window, command->code, params->value[1]);
  return 1;
}

}  // namespace jubelon
